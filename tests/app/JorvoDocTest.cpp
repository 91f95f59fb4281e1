#include <gtest/gtest.h>

#include "app/JorvoDoc.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "document/DocumentMessages.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using namespace jorvo::test;

// The binary archive's wide string: FF FE FF, a length byte, UTF-16LE (ASCII text here).
std::string WideString(const std::string& ascii)
{
    std::string bytes = "\xFF\xFE\xFF";
    bytes += static_cast<char>(ascii.size());
    for (char c : ascii)
        bytes += std::string{c, '\0'};
    return bytes;
}

// Runs the version check over `bytes`: its result and where the stream stands afterwards.
std::pair<int, std::uint64_t> Check(const std::string& bytes)
{
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    const int version = CJorvoDoc::CheckVersion(archive, "song.jorvo");
    return {version, stream.Position()};
}

const std::string kViewListXml =
    "<ViewList><MixerView Name=\"Mix &amp; Master\"><UIElementList><Knob X=\"1\" Y=\"2\"/></UIElementList>"
    "</MixerView><View Name=\"Song\"/></ViewList>";

// A document whose only content besides a new studio is `viewList`, as XML text.
std::string DocumentXml(const std::string& rootAttributes, const std::string& viewList)
{
    TempDir dir;
    CJorvoDoc document;
    EXPECT_TRUE(document.NewDocument());
    EXPECT_TRUE(document.ExportXML((dir / "new.xml").string()));
    std::string text = ReadFileBytes(dir / "new.xml");
    const std::size_t root = text.find("<JorvoDocument Version=\"4\"");
    EXPECT_NE(root, std::string::npos);
    text.replace(root, 26, "<JorvoDocument" + rootAttributes);
    const std::size_t empty = text.find("<ViewList />");
    EXPECT_NE(empty, std::string::npos);
    text.replace(empty, 12, viewList);
    return text;
}

class JorvoDocTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    TempDir dir;
};

TEST_F(JorvoDocTest, VersionCheckReadsHeaderlessFilesAsVersionOneFromTheirFirstByte)
{
    EXPECT_EQ(Check("NotJorvo\x04rest"), std::make_pair(1, std::uint64_t{0}));
    EXPECT_EQ(Check(std::string("JorvoDoc\x04", 9) + "x"), std::make_pair(4, std::uint64_t{9}));
    EXPECT_EQ(Check("JorvoDoc\x01"), std::make_pair(1, std::uint64_t{9}));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(JorvoDocTest, VersionCheckRefusesNewerZeroNegativeAndShortFiles)
{
    EXPECT_EQ(Check("JorvoDoc\x05").first, 0);
    ASSERT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_EQ(shell.messageBoxes[0].caption, "Incorrect Version");
    EXPECT_EQ(shell.messages[0],
              "Cannot read document 'song.jorvo'.  Document was created by a newer version of Jorvo.");
    EXPECT_EQ(Check(std::string("JorvoDoc\x00", 9)).first, 0);
    EXPECT_EQ(Check("JorvoDoc\xFF").first, 0);
    EXPECT_EQ(Check("JorvoDoc").first, 0);
    ASSERT_EQ(shell.messages.size(), 4u);
    for (std::size_t at = 1; at < 4; ++at)
        EXPECT_EQ(shell.messages[at], "Error reading file: song.jorvo.");
}

TEST_F(JorvoDocTest, OpeningANewerFileFailsAndLeavesAFreshDocument)
{
    WriteFileBytes(dir / "new.jorvo", "JorvoDoc\x05");
    CJorvoDoc document;
    ASSERT_TRUE(document.NewDocument());
    EXPECT_FALSE(document.OpenDocument((dir / "new.jorvo").string()));
    EXPECT_EQ(shell.LastMessage(), FormatMessageText(DocumentMessages::kOpenFailed, (dir / "new.jorvo").string()));
    EXPECT_NE(document.GetStudio(), nullptr);
    EXPECT_EQ(ReadFileBytes(dir / "new.jorvo"), "JorvoDoc\x05");
}

TEST_F(JorvoDocTest, DefaultPathNameCutsTheTitleAndUsesTheDocumentsFolder)
{
    CJorvoDoc document;
    document.SetTitle("a#b");
    EXPECT_EQ(document.GetDefaultPathName(), Configuration().GetDefaultDocDir() + "/a.jorvo");
    EXPECT_TRUE(document.GetDefaultPathName().ends_with("/Jorvo/a.jorvo"));
    document.SetTitle("x;y%z");
    EXPECT_TRUE(document.GetDefaultPathName().ends_with("/x.jorvo"));
}

TEST_F(JorvoDocTest, ImportWithoutVersionPutsTheNativePathBesideTheXmlFile)
{
    WriteFileBytes(dir / "song.xml", DocumentXml("", "<ViewList/>"));
    CJorvoDoc document;
    ASSERT_TRUE(document.ImportXML((dir / "song.xml").string()));
    EXPECT_EQ(document.GetPathName(), (dir / "song.jorvo").string());
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(document.GetStoredViewList().Views().empty());
}

TEST_F(JorvoDocTest, FailedImportKeepsTheOpenSong)
{
    CJorvoDoc document;
    ASSERT_TRUE(document.NewDocument());
    SoundStudio* studio = document.GetStudio();
    WriteFileBytes(dir / "broken.xml", "<JorvoDocument Version=\"4\"><Studio>");
    WriteFileBytes(dir / "other.xml", "<Other/>");
    EXPECT_FALSE(document.ImportXML((dir / "broken.xml").string()));
    EXPECT_FALSE(document.ImportXML((dir / "other.xml").string()));
    EXPECT_FALSE(document.ImportXML((dir / "missing.xml").string()));
    EXPECT_EQ(document.GetStudio(), studio);
    EXPECT_EQ(shell.LastMessage(), FormatMessageText(DocumentMessages::kOpenFailed, (dir / "missing.xml").string()));
}

TEST_F(JorvoDocTest, XmlExportImportExportIsIdenticalAndKeepsTheViews)
{
    WriteFileBytes(dir / "in.xml", DocumentXml(" Version=\"4\"", kViewListXml));
    CJorvoDoc document;
    ASSERT_TRUE(document.ImportXML((dir / "in.xml").string()));
    const std::vector<StoredViewList::View> expected = {
        {"MixerView", "<MixerView Name=\"Mix &amp; Master\"><UIElementList><Knob X=\"1\" Y=\"2\"/>"
                      "</UIElementList></MixerView>"},
        {"View", "<View Name=\"Song\"/>"}};
    EXPECT_EQ(document.GetStoredViewList().Views(), expected);

    ASSERT_TRUE(document.ExportXML((dir / "first.xml").string()));
    CJorvoDoc again;
    ASSERT_TRUE(again.ImportXML((dir / "first.xml").string()));
    ASSERT_TRUE(again.ExportXML((dir / "second.xml").string()));
    EXPECT_EQ(ReadFileBytes(dir / "first.xml"), ReadFileBytes(dir / "second.xml"));
    EXPECT_EQ(again.GetStoredViewList().Views(), expected);
}

TEST_F(JorvoDocTest, BinarySaveLoadSaveIsIdenticalAndKeepsTheViewListByteForByte)
{
    WriteFileBytes(dir / "in.xml", DocumentXml(" Version=\"4\"", kViewListXml));
    CJorvoDoc document;
    ASSERT_TRUE(document.ImportXML((dir / "in.xml").string()));
    ASSERT_TRUE(document.SaveDocument((dir / "first.jorvo").string()));
    const std::string first = ReadFileBytes(dir / "first.jorvo");
    EXPECT_EQ(first.substr(0, 9), "JorvoDoc\x04");
    const std::string tail = WideString("MixerView") + WideString(document.GetStoredViewList().Views()[0].element) +
                             WideString("View") + WideString("<View Name=\"Song\"/>") + WideString("EndOfViewList");
    EXPECT_TRUE(first.ends_with(tail));

    CJorvoDoc loaded;
    ASSERT_TRUE(loaded.OpenDocument((dir / "first.jorvo").string()));
    ASSERT_TRUE(loaded.SaveDocument((dir / "second.jorvo").string()));
    EXPECT_EQ(ReadFileBytes(dir / "second.jorvo"), first);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(JorvoDocTest, ANewDocumentWritesAnEmptyViewList)
{
    CJorvoDoc document;
    ASSERT_TRUE(document.NewDocument());
    ASSERT_TRUE(document.SaveDocument((dir / "new.jorvo").string()));
    EXPECT_TRUE(ReadFileBytes(dir / "new.jorvo").ends_with(WideString("EndOfViewList")));
}

TEST_F(JorvoDocTest, ADamagedNativeFileFailsWithoutTouchingIt)
{
    CJorvoDoc document;
    ASSERT_TRUE(document.NewDocument());
    ASSERT_TRUE(document.SaveDocument((dir / "good.jorvo").string()));
    const std::string good = ReadFileBytes(dir / "good.jorvo");
    for (std::size_t cut : {std::size_t{10}, good.size() / 2, good.size() - 1}) {
        WriteFileBytes(dir / "cut.jorvo", good.substr(0, cut));
        EXPECT_FALSE(document.OpenDocument((dir / "cut.jorvo").string())) << cut;
        EXPECT_NE(document.GetStudio(), nullptr);
    }
}

TEST_F(JorvoDocTest, RegistersTheDocumentTypeUnderTheClassesRoot)
{
    SettingsStore store((dir / "registry.xml").string());
    ASSERT_TRUE(CJorvoDoc::RegisterDocumentType(store, "/opt/jorvo/jorvo"));
    EXPECT_EQ(store.ReadString(SettingsRoot::ClassesRoot, ".jorvo", ""), "Jorvo.Document");
    EXPECT_EQ(store.ReadString(SettingsRoot::ClassesRoot, "Jorvo.Document\\shell\\open\\command", ""),
              "\"/opt/jorvo/jorvo\" \"%1\"");
    EXPECT_EQ(store.ReadString(SettingsRoot::ClassesRoot, "Jorvo.Document\\DefaultIcon", ""), "/opt/jorvo/jorvo,-1001");
    EXPECT_EQ(CJorvoDoc::GetDocString(3), "Jorvo Files (*.jorvo)");
    EXPECT_EQ(CJorvoDoc::GetDocString(6), "Jorvo Document");
}

} // namespace
} // namespace jorvo
