#include "document/XMLArchive.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class XMLArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CXMLArchive::LiveCount(), 0); }
    void TearDown() override
    {
        EXPECT_EQ(CXMLArchive::LiveCount(), 0);
        EXPECT_FALSE(CXMLArchive::HasSharedDocument());
    }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    // Loads `text` from a file and positions `archive` on its document element.
    void OpenText(CXMLArchive& archive, const std::string& text)
    {
        WriteFileBytes(dir / "input.xml", text);
        ASSERT_TRUE(archive.Open(nullptr, PathOf("input.xml"), CXMLArchive::kLoad));
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    TempDir dir;
};

// A class with the usual one-function persistence, to check that both directions agree.
struct Voice {
    bool enabled = false;
    int detune = 0;
    long offset = 0;
    std::uint8_t channel = 0;
    std::uint16_t cutoff = 0;
    std::uint32_t length = 0;
    std::string name;
    Colour colour;

    void SerializeXML(CXMLArchive& archive)
    {
        if (!archive.IsLoading())
            archive.CreateChild("Voice");
        archive.Serialize("Enabled", enabled);
        archive.Serialize("Detune", detune);
        archive.Serialize("Offset", offset);
        archive.Serialize("Channel", channel);
        archive.Serialize("Cutoff", cutoff);
        archive.Serialize("Length", length);
        archive.Serialize("Name", name);
        archive.Serialize("Colour", colour);
    }
};

TEST_F(XMLArchiveTest, SerializeRoundTripsEveryTypeThroughAFile)
{
    Voice written{true, -2147483647 - 1, 2147483647, 255, 65535, 4294967295u, "Lead <1> & \"2\"",
                  Colour::FromRgb(0x85, 0xC2, 0x10)};
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, PathOf("voice.xml"), CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        written.SerializeXML(child);
        ASSERT_TRUE(archive.Save());
    }
    const std::string text = ReadFileBytes(dir / "voice.xml");
    EXPECT_NE(text.find("Enabled=\"True\""), std::string::npos);
    EXPECT_NE(text.find("Detune=\"-2147483648\""), std::string::npos);
    EXPECT_NE(text.find("Colour=\"#85C210\""), std::string::npos);

    Voice read;
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, PathOf("voice.xml"), CXMLArchive::kLoad));
    EXPECT_TRUE(archive.IsLoading());
    ASSERT_TRUE(archive.Descend("Voice"));
    read.SerializeXML(archive);
    EXPECT_EQ(read.enabled, written.enabled);
    EXPECT_EQ(read.detune, written.detune);
    EXPECT_EQ(read.offset, written.offset);
    EXPECT_EQ(read.channel, written.channel);
    EXPECT_EQ(read.cutoff, written.cutoff);
    EXPECT_EQ(read.length, written.length);
    EXPECT_EQ(read.name, written.name);
    EXPECT_EQ(read.colour, written.colour);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(XMLArchiveTest, ColoursWriteUpperCaseAndReadStrictly)
{
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, PathOf("c.xml"), CXMLArchive::kStore));
    ASSERT_TRUE(archive.CreateRoot("Skin"));
    ASSERT_TRUE(archive.Write("Colour", Colour::FromRgb(0x85, 0xC2, 0xC2)));
    EXPECT_EQ(archive.GetCurrentNode().GetAttribute("Colour"), "#85C2C2");

    const Colour kept = Colour::FromRgb(1, 2, 3);
    Colour colour = kept;
    ASSERT_TRUE(archive.Read("Colour", colour));
    EXPECT_EQ(colour, Colour::FromRgb(0x85, 0xC2, 0xC2));
    EXPECT_EQ(colour.value, 0xC2C285u);

    struct Case {
        const char* text;
        bool accepted;
        Colour expected;
    };
    const std::vector<Case> cases = {
        {"#85c2c2", true, Colour::FromRgb(0x85, 0xC2, 0xC2)},
        {"#GG0000", true, Colour::FromRgb(0, 0, 0)},
        {"#0aZ0fF", true, Colour::FromRgb(0x0A, 0x00, 0xFF)},
        {"85C2C2", false, kept},
        {"#85C2C", false, kept},
        {"#85C2C2F", false, kept},
        {"x85C2C2", false, kept},
        {"", false, kept},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(archive.GetCurrentNode().SetAttribute("Colour", c.text));
        colour = kept;
        EXPECT_EQ(archive.Read("Colour", colour), c.accepted) << c.text;
        EXPECT_EQ(colour, c.expected) << c.text;
    }
}

TEST_F(XMLArchiveTest, BooleansWriteWordsAndReadWordsOrNumbers)
{
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, PathOf("b.xml"), CXMLArchive::kStore));
    ASSERT_TRUE(archive.CreateRoot("Root"));
    ASSERT_TRUE(archive.Write("On", true));
    ASSERT_TRUE(archive.Write("Off", false));
    EXPECT_EQ(archive.GetCurrentNode().GetAttribute("On"), "True");
    EXPECT_EQ(archive.GetCurrentNode().GetAttribute("Off"), "False");

    for (const char* text : {"True", "true", "TRUE", "1", "-1", "2", " true "}) {
        archive.GetCurrentNode().SetAttribute("Flag", text);
        bool value = false;
        EXPECT_TRUE(archive.Read("Flag", value)) << text;
        EXPECT_TRUE(value) << text;
    }
    for (const char* text : {"False", "false", "0", "00"}) {
        archive.GetCurrentNode().SetAttribute("Flag", text);
        bool value = true;
        EXPECT_TRUE(archive.Read("Flag", value)) << text;
        EXPECT_FALSE(value) << text;
    }
    for (const char* text : {"yes", "", "1x", "Truely", "-"}) {
        archive.GetCurrentNode().SetAttribute("Flag", text);
        bool value = true;
        EXPECT_FALSE(archive.Read("Flag", value)) << text;
        EXPECT_TRUE(value) << text;
    }
}

TEST_F(XMLArchiveTest, NumbersOutsideTheirTypeReadLikeMissingOnes)
{
    CXMLArchive archive;
    OpenText(archive, "<Root Small='200' Neg='-1' Big='40000' Word='65536' Byte='256' Max='4294967295' "
                      "Over='4294967296' Int='-2147483649' Text='12abc' Spaced=' 42 ' Plus='+7' Frac='1.5'/>");
    std::int8_t small = 0;
    EXPECT_TRUE(archive.Read("Small", small));
    EXPECT_EQ(small, -56); // 200 as 16 bits, low 8 bits kept
    EXPECT_TRUE(archive.Read("Neg", small));
    EXPECT_EQ(small, -1);
    EXPECT_FALSE(archive.Read("Big", small));
    EXPECT_EQ(small, -1);

    std::uint8_t byte = 9;
    EXPECT_FALSE(archive.Read("Byte", byte));
    EXPECT_FALSE(archive.Read("Neg", byte));
    EXPECT_EQ(byte, 9);
    std::uint16_t word = 9;
    EXPECT_FALSE(archive.Read("Word", word));
    EXPECT_TRUE(archive.Read("Big", word));
    EXPECT_EQ(word, 40000);
    std::uint32_t dword = 9;
    EXPECT_FALSE(archive.Read("Over", dword));
    EXPECT_FALSE(archive.Read("Neg", dword));
    EXPECT_TRUE(archive.Read("Max", dword));
    EXPECT_EQ(dword, 4294967295u);

    int number = 9;
    long wide = 9;
    EXPECT_FALSE(archive.Read("Max", number));
    EXPECT_FALSE(archive.Read("Int", number));
    EXPECT_FALSE(archive.Read("Int", wide));
    EXPECT_FALSE(archive.Read("Text", number));
    EXPECT_FALSE(archive.Read("Frac", number));
    EXPECT_EQ(number, 9);
    EXPECT_EQ(wide, 9);
    EXPECT_TRUE(archive.Read("Spaced", number));
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(archive.Read("Plus", wide));
    EXPECT_EQ(wide, 7);
}

TEST_F(XMLArchiveTest, MissingAttributesAndNodesLeaveValues)
{
    CXMLArchive unopened;
    int number = 5;
    std::string text = "keep";
    EXPECT_FALSE(unopened.Read("A", number));
    EXPECT_FALSE(unopened.Write("A", 1));
    EXPECT_FALSE(unopened.CreateRoot("Root"));

    CXMLArchive archive;
    OpenText(archive, "<Root Empty=''/>");
    EXPECT_FALSE(archive.Read("Absent", number));
    EXPECT_FALSE(archive.Read("Absent", text));
    EXPECT_FALSE(archive.Read("Empty", number));
    EXPECT_EQ(number, 5);
    EXPECT_EQ(text, "keep");
    EXPECT_TRUE(archive.Read("Empty", text));
    EXPECT_EQ(text, "");
    // Wider than a stored value can be.
    EXPECT_FALSE(archive.Write("Wide", static_cast<long>(INT_MAX) + 1));
}

TEST_F(XMLArchiveTest, NavigationKeepsPositionsInCopies)
{
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, PathOf("n.xml"), CXMLArchive::kStore));
    ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
    EXPECT_FALSE(archive.CreateRoot("Another"));
    ASSERT_TRUE(archive.CreateChild("EventList"));
    for (int i = 0; i < 3; ++i) {
        CXMLArchive child(archive);
        EXPECT_EQ(CXMLArchive::LiveCount(), 2);
        ASSERT_TRUE(child.CreateChild(i == 1 ? "SeqEventControl" : "SeqEventNote"));
        child.Write("Index", i);
    }
    EXPECT_TRUE(archive.IsCurrent("EventList"));
    EXPECT_FALSE(archive.IsCurrent("eventlist"));
    EXPECT_FALSE(archive.CreateChild("bad name"));
    EXPECT_TRUE(archive.IsCurrent("EventList"));

    CXMLArchive top;
    top = archive;
    EXPECT_EQ(CXMLArchive::LiveCount(), 2);
    std::string name;
    ASSERT_TRUE(top.GetRootName(name));
    EXPECT_EQ(name, "JorvoDocument");
    top.SetCurrentNode(top.GetCurrentNode().SelectSingleNode("..").value());
    ASSERT_TRUE(top.GetCurrentName(name));
    EXPECT_EQ(name, "JorvoDocument");

    DomNodeList list;
    ASSERT_TRUE(top.GetChildList("EventList", list));
    EXPECT_EQ(list.Length(), 3u);
    std::vector<int> indexes;
    DomNode node;
    while (top.NextNode(list, node)) {
        CXMLArchive item(top);
        item.SetCurrentNode(node);
        int index = -1;
        EXPECT_TRUE(item.Read("Index", index));
        indexes.push_back(index);
    }
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(top.GetChildList("Missing", list));

    ASSERT_TRUE(archive.SelectChildren("SeqEventNote", list));
    EXPECT_EQ(list.Length(), 2u);
    ASSERT_TRUE(archive.SelectChildren("Missing", list));
    EXPECT_EQ(list.Length(), 0u);
    EXPECT_FALSE(archive.SelectChildren("[", list));
}

TEST_F(XMLArchiveTest, DescendOnAMissingChildStaysPut)
{
    CXMLArchive archive;
    OpenText(archive, "<Root><Studio><Mixer Level='3'/></Studio></Root>");
    EXPECT_FALSE(archive.Descend("Mixer"));
    EXPECT_TRUE(archive.IsCurrent("Root"));
    EXPECT_FALSE(archive.Descend("studio"));
    EXPECT_TRUE(archive.IsCurrent("Root"));
    ASSERT_TRUE(archive.Descend("Studio"));
    ASSERT_TRUE(archive.Descend("Mixer"));
    int level = 0;
    EXPECT_TRUE(archive.Read("Level", level));
    EXPECT_EQ(level, 3);

    CXMLArchive nowhere;
    EXPECT_FALSE(nowhere.Descend("Root"));
    std::string name = "x";
    EXPECT_FALSE(nowhere.GetCurrentName(name));
    EXPECT_EQ(name, "");
}

TEST_F(XMLArchiveTest, SharedDocumentLivesWithTheArchives)
{
    EXPECT_FALSE(CXMLArchive::HasSharedDocument());
    {
        CXMLArchive first;
        EXPECT_FALSE(CXMLArchive::HasSharedDocument());
        ASSERT_TRUE(first.Open(nullptr, PathOf("a.xml"), CXMLArchive::kStore));
        EXPECT_TRUE(CXMLArchive::HasSharedDocument());
        ASSERT_TRUE(first.CreateRoot("Root"));
        CXMLArchive second;
        std::string name;
        ASSERT_TRUE(second.GetRootName(name));
        EXPECT_EQ(name, "Root");
    }
    EXPECT_EQ(CXMLArchive::LiveCount(), 0);
    EXPECT_FALSE(CXMLArchive::HasSharedDocument());
}

TEST_F(XMLArchiveTest, TwoSavesInARowGiveIdenticalFiles)
{
    const auto save = [&](const std::string& file, bool extra) {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, PathOf(file), CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        archive.Write("Version", 4);
        if (extra) {
            CXMLArchive child(archive);
            child.CreateChild("OnlyInFirst");
        }
        ASSERT_TRUE(archive.Save());
    };
    save("first.xml", true);
    save("second.xml", false);
    save("third.xml", false);
    const std::string second = ReadFileBytes(dir / "second.xml");
    EXPECT_NE(ReadFileBytes(dir / "first.xml").find("OnlyInFirst"), std::string::npos);
    EXPECT_EQ(second.find("OnlyInFirst"), std::string::npos);
    EXPECT_EQ(second.find("JorvoDocument"), second.rfind("JorvoDocument"));
    EXPECT_EQ(ReadFileBytes(dir / "third.xml"), second);
}

TEST_F(XMLArchiveTest, ResetNeedsExactlyOneLiveArchive)
{
    int owner = 0;
    CXMLArchive archive;
    EXPECT_FALSE(archive.Open(&owner, PathOf("missing.xml"), 2)); // any mode but 1 loads
    EXPECT_TRUE(archive.IsLoading());
    ASSERT_TRUE(archive.Open(&owner, PathOf("r.xml"), CXMLArchive::kStore));
    EXPECT_FALSE(archive.IsLoading());
    ASSERT_TRUE(archive.CreateRoot("Presets"));
    archive.SetVersion(4);
    {
        CXMLArchive other(archive);
        EXPECT_EQ(other.GetVersion(), 4);
        EXPECT_FALSE(archive.Reset());
        EXPECT_EQ(archive.GetOwner(), &owner);
        EXPECT_EQ(archive.GetVersion(), 4);
        EXPECT_TRUE(archive.IsCurrent("Presets"));
        std::string root;
        EXPECT_TRUE(other.GetRootName(root));
    }
    ASSERT_TRUE(archive.Save());
    ASSERT_TRUE(archive.Open(&owner, PathOf("r.xml"), CXMLArchive::kLoad));
    EXPECT_TRUE(archive.IsCurrent("Presets"));
    EXPECT_TRUE(archive.Reset());
    EXPECT_EQ(archive.GetOwner(), nullptr);
    EXPECT_EQ(archive.GetVersion(), 0);
    EXPECT_FALSE(archive.IsLoading());
    EXPECT_TRUE(archive.GetCurrentNode().IsNull());
    std::string root;
    EXPECT_FALSE(archive.GetRootName(root));
    EXPECT_TRUE(archive.CreateRoot("Fresh"));
}

TEST_F(XMLArchiveTest, LoadFailuresReportAndChangeNothing)
{
    CXMLArchive good;
    OpenText(good, "<Good Value='1'/>");
    WriteFileBytes(dir / "bad.xml", "<Song><Pattern></Song>");

    CXMLArchive bad;
    EXPECT_FALSE(bad.Open(nullptr, PathOf("bad.xml"), CXMLArchive::kLoad));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], "Error reading file: " + PathOf("bad.xml") + ".");
    EXPECT_TRUE(bad.GetCurrentNode().IsNull());
    std::string root;
    ASSERT_TRUE(bad.GetRootName(root));
    EXPECT_EQ(root, "Good");
    int value = 0;
    EXPECT_TRUE(good.Read("Value", value));

    EXPECT_FALSE(bad.Open(nullptr, PathOf("missing.xml"), CXMLArchive::kLoad));
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[1], "Error loading file " + PathOf("missing.xml") + ".");
    EXPECT_FALSE(bad.Save());
}

TEST_F(XMLArchiveTest, SaveFailuresReportAndKeepTheOldFile)
{
    std::filesystem::create_directory(dir / "folder");
    WriteFileBytes(dir / "folder" / "inside.txt", "x");
    for (const std::string& path : {PathOf("no-folder/song.xml"), PathOf("folder")}) {
        shell.messages.clear();
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        EXPECT_FALSE(archive.Save());
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0], "Error saving file " + path + ".");
    }
    EXPECT_EQ(ReadFileBytes(dir / "folder" / "inside.txt"), "x");
}

TEST_F(XMLArchiveTest, SaveIntoAReadOnlyFileIsRefused)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write any file";
    WriteFileBytes(dir / "old.xml", "<Old/>");
    std::filesystem::permissions(dir / "old.xml", std::filesystem::perms::owner_read);
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, PathOf("old.xml"), CXMLArchive::kStore));
    ASSERT_TRUE(archive.CreateRoot("New"));
    EXPECT_FALSE(archive.Save());
    EXPECT_EQ(shell.LastMessage(), "Error saving file " + PathOf("old.xml") + ".");
    EXPECT_EQ(ReadFileBytes(dir / "old.xml"), "<Old/>");
}

TEST_F(XMLArchiveTest, SaveReplacesTheOldFileCompletely)
{
    WriteFileBytes(dir / "song.xml", std::string(10000, 'x'));
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, PathOf("song.xml"), CXMLArchive::kStore));
    ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
    ASSERT_TRUE(archive.Save());
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JorvoDocument />\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace jorvo
