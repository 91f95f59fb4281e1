#include "document/DomDocument.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/XMLFileStream.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

DomDocument Parse(const std::string& text)
{
    DomDocument document;
    EXPECT_TRUE(document.LoadBuffer(text.data(), text.size())) << document.ParseError().reason;
    return document;
}

std::vector<std::string> Names(DomNodeList list)
{
    std::vector<std::string> names;
    while (const DomNode node = list.NextNode())
        names.push_back(node.NodeName() + (node.GetAttribute("Name") ? ":" + *node.GetAttribute("Name") : ""));
    return names;
}

const std::string kBanks = "<Presets>"
                           "<Bank Name='Pads'><Preset Name='Warm'/></Bank>"
                           "<Bank Name='Leads' Hidden='True'/>"
                           "<Other/>"
                           "<Bank Name='Bass' Hidden='False'/>"
                           "</Presets>";

TEST(DomBuilding, ElementsAppendInOrderAndSaveAsText)
{
    DomDocument document;
    EXPECT_TRUE(document.DocumentElement().IsNull());
    const DomNode root = document.CreateElement("Song");
    ASSERT_FALSE(root.IsNull());
    EXPECT_EQ(document.AsNode().AppendChild(root), root);
    EXPECT_EQ(document.DocumentElement(), root);
    EXPECT_TRUE(root.SetAttribute("Name", "A&B"));
    EXPECT_FALSE(root.AppendChild(document.CreateElement("First")).IsNull());
    EXPECT_FALSE(root.AppendChild(document.CreateElement("Second")).IsNull());
    EXPECT_EQ(Names(root.ChildNodes()), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(document.ToText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<Song Name=\"A&amp;B\">\n\t<First />\n\t<Second />\n</Song>\n");
}

TEST(DomBuilding, RefusesWhatWouldBreakTheTree)
{
    DomDocument document;
    const DomNode root = document.CreateElement("Root");
    ASSERT_FALSE(document.AsNode().AppendChild(root).IsNull());
    const DomNode child = root.AppendChild(document.CreateElement("Child"));
    EXPECT_TRUE(document.AsNode().AppendChild(document.CreateElement("SecondRoot")).IsNull());
    EXPECT_TRUE(child.AppendChild(root).IsNull());
    EXPECT_TRUE(root.AppendChild(root).IsNull());
    DomDocument other;
    EXPECT_TRUE(root.AppendChild(other.CreateElement("Foreign")).IsNull());
    EXPECT_TRUE(document.CreateElement("").IsNull());
    EXPECT_TRUE(document.CreateElement("1st").IsNull());
    EXPECT_TRUE(document.CreateElement("a b").IsNull());
    EXPECT_EQ(Names(document.AsNode().ChildNodes()), (std::vector<std::string>{"Root"}));
    EXPECT_EQ(document.ToText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root>\n\t<Child />\n</Root>\n");
}

TEST(DomBuilding, UnattachedAndRemovedNodesStayUsableButHidden)
{
    DomDocument document = Parse(kBanks);
    const DomNode root = document.DocumentElement();
    const DomNode loose = document.CreateElement("Bank");
    EXPECT_TRUE(loose.SetAttribute("Name", "Loose"));

    const DomNode pads = *root.SelectSingleNode("Bank[@Name='Pads']");
    EXPECT_EQ(root.RemoveChild(pads), pads);
    EXPECT_TRUE(root.RemoveChild(pads).IsNull());
    EXPECT_EQ(pads.GetAttribute("Name"), "Pads");
    EXPECT_EQ(Names(pads.ChildNodes()), (std::vector<std::string>{"Preset:Warm"}));
    EXPECT_EQ(Names(*pads.SelectNodes("//Preset")), (std::vector<std::string>{"Preset:Warm"}));

    EXPECT_EQ(Names(*root.SelectNodes("//Bank")), (std::vector<std::string>{"Bank:Leads", "Bank:Bass"}));
    EXPECT_EQ(Names(*root.SelectNodes("/*")), (std::vector<std::string>{"Presets"}));
    EXPECT_EQ(Names(document.AsNode().ChildNodes()), (std::vector<std::string>{"Presets"}));
    EXPECT_EQ(document.ToText().find("Pads"), std::string::npos);
    EXPECT_EQ(document.ToText().find("Loose"), std::string::npos);

    EXPECT_EQ(root.AppendChild(pads), pads);
    EXPECT_EQ(Names(*root.SelectNodes("Bank")), (std::vector<std::string>{"Bank:Leads", "Bank:Bass", "Bank:Pads"}));
}

TEST(DomBuilding, DocumentElementMayBeReplaced)
{
    DomDocument document = Parse("<Old/>");
    const DomNode old = document.DocumentElement();
    EXPECT_EQ(document.AsNode().RemoveChild(old), old);
    EXPECT_TRUE(document.DocumentElement().IsNull());
    const DomNode fresh = document.AsNode().AppendChild(document.CreateElement("New"));
    EXPECT_EQ(document.DocumentElement(), fresh);
    EXPECT_EQ(document.ToText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<New />\n");
}

TEST(DomHandles, OutliveTheirDocumentAndItsReloads)
{
    DomNode kept;
    {
        DomDocument document = Parse("<A><B Value='1'/></A>");
        kept = document.DocumentElement().ChildNodes().Item(0);
        ASSERT_TRUE(document.LoadBuffer("<C/>", 4));
        EXPECT_EQ(document.DocumentElement().TagName(), "C");
        EXPECT_EQ(kept.GetAttribute("Value"), "1");
    }
    EXPECT_EQ(kept.TagName(), "B");
    EXPECT_TRUE(kept.SetAttribute("Value", "2"));
    EXPECT_EQ(kept.GetAttribute("Value"), "2");
}

TEST(DomHandles, EmptyHandlesFailQuietly)
{
    const DomNode empty;
    EXPECT_EQ(empty.Type(), DomNodeType::Null);
    EXPECT_EQ(empty.NodeName(), "");
    EXPECT_EQ(empty.ChildNodes().Length(), 0u);
    EXPECT_FALSE(empty.SelectNodes("*").has_value());
    EXPECT_FALSE(empty.SelectSingleNode("*").has_value());
    EXPECT_FALSE(empty.SetAttribute("A", "1"));
    EXPECT_FALSE(empty.GetAttribute("A").has_value());
    EXPECT_TRUE(empty.AppendChild(empty).IsNull());
    EXPECT_TRUE(empty.RemoveChild(empty).IsNull());
    DomDocument document;
    EXPECT_FALSE(document.DocumentElement().SelectSingleNode("A/B").has_value());
    EXPECT_TRUE(document.AsNode().AppendChild(empty).IsNull());
}

TEST(DomHandles, NodeNamesAndListWalking)
{
    // Comments are not kept, so lists hold only what the files carry as content.
    DomDocument document = Parse("<a>text<!--note--><b/><![CDATA[raw]]></a>");
    DomNodeList list = document.DocumentElement().ChildNodes();
    ASSERT_EQ(list.Length(), 3u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"#text", "b", "#cdata-section"}));
    EXPECT_EQ(list.Item(0).TagName(), "");
    EXPECT_EQ(list.Item(1).TagName(), "b");
    EXPECT_TRUE(list.Item(3).IsNull());
    EXPECT_EQ(list.NextNode().NodeName(), "#text");
    EXPECT_EQ(list.NextNode().NodeName(), "b");
    list.Reset();
    EXPECT_EQ(list.NextNode().NodeName(), "#text");
    EXPECT_EQ(document.AsNode().NodeName(), "#document");
}

TEST(DomXPath, PredicatesNotAndDocumentOrder)
{
    const DomDocument document = Parse(kBanks);
    const DomNode root = document.DocumentElement();
    EXPECT_EQ(Names(*root.SelectNodes("./Bank")), (std::vector<std::string>{"Bank:Pads", "Bank:Leads", "Bank:Bass"}));
    EXPECT_EQ(Names(*root.SelectNodes("Bank[@Name='Leads']")), (std::vector<std::string>{"Bank:Leads"}));
    EXPECT_EQ(Names(*root.SelectNodes("Bank[not(@Hidden)]")), (std::vector<std::string>{"Bank:Pads"}));
    EXPECT_EQ(Names(*root.SelectNodes("Bank[not(@Hidden='True')]")), (std::vector<std::string>{"Bank:Pads", "Bank:Bass"}));
    EXPECT_EQ(Names(*root.SelectNodes("Bank[@Name='Pads']/Preset[@Name='Warm']")),
              (std::vector<std::string>{"Preset:Warm"}));
    // A union is still returned in document order.
    EXPECT_EQ(Names(*root.SelectNodes("Other | Bank[@Name='Pads'] | Bank[@Name='Bass']")),
              (std::vector<std::string>{"Bank:Pads", "Other", "Bank:Bass"}));
    EXPECT_EQ(root.SelectSingleNode("Bank[@Hidden]")->GetAttribute("Name"), "Leads");
}

TEST(DomXPath, NoMatchIsEmptyAndInvalidIsAStatus)
{
    const DomDocument document = Parse(kBanks);
    const DomNode root = document.DocumentElement();
    ASSERT_TRUE(root.SelectNodes("Bank[@Name='None']").has_value());
    EXPECT_EQ(root.SelectNodes("Bank[@Name='None']")->Length(), 0u);
    ASSERT_TRUE(root.SelectSingleNode("bank").has_value());
    EXPECT_TRUE(root.SelectSingleNode("bank")->IsNull());
    EXPECT_FALSE(root.SelectNodes("Bank[").has_value());
    EXPECT_FALSE(root.SelectNodes("./").has_value());
    EXPECT_FALSE(root.SelectNodes("count(Bank)").has_value());
    EXPECT_FALSE(root.SelectSingleNode("Bank[@Name='Pads'").has_value());
    EXPECT_EQ(root.SelectNodes("Bank/@Name")->Length(), 0u);
}

TEST(DomAttributes, SetReplacesAndValuesRoundTrip)
{
    DomDocument document;
    const DomNode root = document.AsNode().AppendChild(document.CreateElement("Root"));
    EXPECT_TRUE(root.SetAttribute("Name", "first"));
    EXPECT_TRUE(root.SetAttribute("Name", "second"));
    const std::string awkward = "<tag> & \"quoted\" 'single'\nnext\tline";
    EXPECT_TRUE(root.SetAttribute("Text", awkward));
    EXPECT_TRUE(root.SetAttribute("Empty", ""));
    EXPECT_FALSE(root.SetAttribute("bad name", "x"));
    EXPECT_FALSE(root.SetAttribute("", "x"));
    EXPECT_FALSE(document.AsNode().SetAttribute("Name", "x"));

    const std::string text = document.ToText();
    EXPECT_EQ(text.find("first"), std::string::npos);
    const DomDocument copy = Parse(text);
    const DomNode read = copy.DocumentElement();
    EXPECT_EQ(read.GetAttribute("Name"), "second");
    EXPECT_EQ(read.GetAttribute("Text"), awkward);
    EXPECT_EQ(read.GetAttribute("Empty"), "");
    EXPECT_FALSE(read.GetAttribute("name").has_value());
    EXPECT_FALSE(read.GetAttribute("Missing").has_value());
}

struct BadDocument {
    std::string text;
    int line;
    int column;
};

TEST(DomParsing, ErrorsGiveLineAndColumnAndChangeNothing)
{
    const std::vector<BadDocument> cases = {
        {"<a>\n  <b x=1/>\n</a>", 2, 8},            // unquoted value: the "1"
        {"<a>\r\n  <b x=1/>\r\n</a>", 2, 8},        // CR LF ends one line
        {"<a>\xC3\xA9\xC3\xA9<b x=1/></a>", 1, 11}, // two-byte characters count once
        {"<a/>\n<b/>", 2, 1},                       // a second document element
        {"", 1, 1},
    };
    for (const BadDocument& bad : cases) {
        DomDocument document = Parse("<Kept/>");
        EXPECT_FALSE(document.LoadBuffer(bad.text.data(), bad.text.size())) << bad.text;
        EXPECT_FALSE(document.ParseError().reason.empty());
        EXPECT_EQ(document.ParseError().line, bad.line) << bad.text;
        EXPECT_EQ(document.ParseError().column, bad.column) << bad.text;
        EXPECT_EQ(document.DocumentElement().TagName(), "Kept");
    }
    DomDocument document;
    EXPECT_FALSE(document.LoadBuffer("<a>", 3));
    EXPECT_TRUE(document.LoadBuffer("<a/>", 4));
    EXPECT_EQ(document.ParseError().reason, "");
}

TEST(DomFiles, StreamAndPathRoundTrip)
{
    TempDir dir;
    DomDocument document;
    const DomNode root = document.AsNode().AppendChild(document.CreateElement("Big"));
    // More than one read chunk, so the stream is read in several pieces.
    for (int i = 0; i < 5000; ++i)
        root.AppendChild(document.CreateElement("Item")).SetAttribute("Index", std::to_string(i));
    const std::string path = (dir / "big.xml").string();
    {
        CXMLFileStream out;
        ASSERT_TRUE(out.OpenForWriting(path));
        ASSERT_TRUE(document.Save(out));
        ASSERT_TRUE(out.Publish());
    }
    EXPECT_EQ(ReadFileBytes(path), document.ToText());
    ASSERT_GT(ReadFileBytes(path).size(), 64u * 1024u);

    DomDocument streamed;
    CXMLFileStream in;
    ASSERT_TRUE(in.OpenForReading(path));
    ASSERT_TRUE(streamed.Load(in));
    EXPECT_EQ(streamed.ToText(), document.ToText());

    ASSERT_TRUE(streamed.SaveFile((dir / "copy.xml").string()));
    DomDocument fromPath;
    ASSERT_TRUE(fromPath.LoadFile((dir / "copy.xml").string()));
    EXPECT_EQ(fromPath.DocumentElement().SelectSingleNode("Item[@Index='4999']")->IsNull(), false);
}

TEST(DomFiles, FailuresKeepFilesAndDocuments)
{
    TempDir dir;
    DomDocument document = Parse("<Kept/>");
    EXPECT_FALSE(document.LoadFile((dir / "missing.xml").string()));
    EXPECT_EQ(document.DocumentElement().TagName(), "Kept");
    EXPECT_FALSE(document.SaveFile((dir / "no-folder" / "x.xml").string()));

    CXMLFileStream writing;
    ASSERT_TRUE(writing.OpenForWriting((dir / "w.xml").string()));
    EXPECT_FALSE(document.Load(writing));
    EXPECT_EQ(document.DocumentElement().TagName(), "Kept");

    WriteFileBytes(dir / "r.xml", "<Old/>");
    CXMLFileStream reading;
    ASSERT_TRUE(reading.OpenForReading((dir / "r.xml").string()));
    EXPECT_FALSE(document.Save(reading));
    EXPECT_EQ(ReadFileBytes(dir / "r.xml"), "<Old/>");
}

} // namespace
} // namespace jorvo
