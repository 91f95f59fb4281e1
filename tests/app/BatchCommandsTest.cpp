#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <sstream>
#include <thread>

#include "app/BatchCommands.h"
#include "app/JorvoDoc.h"
#include "document/Configuration.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using namespace jorvo::test;

class BatchCommandsTest : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& arguments)
    {
        out.str("");
        err.str("");
        return RunBatchCommand(arguments, out, err);
    }

    // A saved new document, as a native file and as XML.
    void MakeDocuments()
    {
        CJorvoDoc document;
        ASSERT_TRUE(document.NewDocument());
        ASSERT_TRUE(document.SaveDocument(Path("song.jorvo")));
        ASSERT_TRUE(document.ExportXML(Path("song.xml")));
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    RecordingShell shell;
    ScopedShell scoped{shell};
    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(BatchCommandsTest, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(Run({"frobnicate"}), kExitUsage);
    EXPECT_NE(err.str().find("jorvo: unknown command 'frobnicate'."), std::string::npos);
    EXPECT_EQ(Run({"info"}), kExitUsage);
    EXPECT_EQ(err.str(), "jorvo info: wrong arguments. Try 'jorvo info --help'.\n");
    EXPECT_EQ(Run({"info", "a", "b"}), kExitUsage);
    EXPECT_EQ(Run({"export-xml", "a.jorvo", "-o"}), kExitUsage);
    EXPECT_EQ(Run({"info", "a.jorvo", "-o", "x"}), kExitUsage);
    EXPECT_EQ(Run({"render", "a.jorvo", "--fast"}), kExitUsage);
}

TEST_F(BatchCommandsTest, EveryCommandHasHelp)
{
    for (const char* command : {"render", "play", "export-midi", "export-xml", "import-xml", "info", "config"}) {
        EXPECT_EQ(Run({command, "--help"}), kExitDone) << command;
        EXPECT_EQ(out.str().rfind(std::string("Usage: jorvo ") + command, 0), 0u) << command;
    }
    EXPECT_EQ(Run({}), kExitDone);
    EXPECT_NE(out.str().find("import-xml DOC.xml"), std::string::npos);
}

TEST_F(BatchCommandsTest, ADocumentThatCannotBeReadFailsEveryCommand)
{
    WriteFileBytes(dir / "bad.jorvo", "JorvoDoc\x07");
    for (const char* command : {"render", "export-midi", "export-xml", "info"}) {
        EXPECT_EQ(Run({command, Path("bad.jorvo")}), kExitFailed) << command;
        EXPECT_EQ(err.str(), "jorvo: cannot read document '" + Path("bad.jorvo") + "'.\n");
    }
    EXPECT_EQ(Run({"import-xml", Path("missing.xml")}), kExitFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.mid"));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.jorvo"));
}

TEST_F(BatchCommandsTest, ExportsWriteBesideTheDocumentOrWhereAsked)
{
    MakeDocuments();
    EXPECT_EQ(Run({"export-midi", Path("song.jorvo")}), kExitDone);
    EXPECT_EQ(ReadFileBytes(dir / "song.mid").substr(0, 4), "MThd");
    EXPECT_EQ(Run({"export-xml", Path("song.jorvo"), "-o", Path("copy.xml")}), kExitDone);
    EXPECT_EQ(ReadFileBytes(dir / "copy.xml"), ReadFileBytes(dir / "song.xml"));
    EXPECT_EQ(Run({"export-midi", Path("song.xml"), "-o", Path("no/such/folder/x.mid")}), kExitFailed);
    EXPECT_EQ(err.str(), "jorvo: cannot write '" + Path("no/such/folder/x.mid") + "'.\n");
}

TEST_F(BatchCommandsTest, ImportXmlWritesTheNativeFileBesideIt)
{
    MakeDocuments();
    std::filesystem::remove(dir / "song.jorvo");
    EXPECT_EQ(Run({"import-xml", Path("song.xml")}), kExitDone);
    EXPECT_EQ(out.str(), "Written: " + Path("song.jorvo") + "\n");
    EXPECT_EQ(ReadFileBytes(dir / "song.jorvo").substr(0, 9), "JorvoDoc\x04");
}

TEST_F(BatchCommandsTest, InfoDescribesTheSong)
{
    MakeDocuments();
    ASSERT_EQ(Run({"info", Path("song.jorvo")}), kExitDone);
    EXPECT_NE(out.str().find("Tempo:       120 bpm"), std::string::npos);
    EXPECT_NE(out.str().find("Signature:   4/4, 480 pulses per quarter note"), std::string::npos);
    EXPECT_NE(out.str().find("Patterns:    0"), std::string::npos);
}

TEST_F(BatchCommandsTest, ConfigReadsWritesAndRefusesUnknownNames)
{
    EXPECT_EQ(Run({"config", "DefaultTimingAccuracy", "0"}), kExitDone);
    EXPECT_EQ(Configuration().GetDWORD(kDefaultTimingAccuracySetting), 0u);
    EXPECT_EQ(Run({"config", "defaulttimingaccuracy"}), kExitDone);
    EXPECT_EQ(out.str(), "0\n");
    EXPECT_EQ(Run({"config", "JorvoImage", "Other.png"}), kExitDone);
    EXPECT_EQ(Run({"config"}), kExitDone);
    EXPECT_NE(out.str().find("JorvoImage = Other.png\n"), std::string::npos);
    EXPECT_NE(out.str().find("DefaultTimingAccuracy = 0\n"), std::string::npos);
    EXPECT_EQ(Run({"config", "NoSuchThing"}), kExitFailed);
    EXPECT_EQ(err.str(), "jorvo config: no setting named 'NoSuchThing'.\n");
    EXPECT_EQ(Run({"config", "MMEBlockSize", "-5"}), kExitUsage);
    EXPECT_EQ(Run({"config", "MMEBlockSize", "12x"}), kExitUsage);
    EXPECT_EQ(Configuration().GetDWORD(kMMEBlockSizeSetting), 1024u);
}

// Interrupted as Ctrl-C would, `play` still says how long it played, through which device, and
// how many blocks the device had to wait for.
TEST_F(BatchCommandsTest, PlaySummarisesTimeDeviceAndUnderruns)
{
    MakeDocuments();
    std::atomic<bool> finished{false};
    std::thread interrupter([&] {
        while (!finished.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            InterruptBatchPlay();
        }
    });
    const int exitCode = Run({"play", Path("song.jorvo"), "-o", "silent output"});
    finished = true;
    interrupter.join();
    EXPECT_EQ(exitCode, kExitDone);
    EXPECT_TRUE(std::regex_match(out.str(),
                                 std::regex(R"(Played \d+\.\d s through 'silent output'; underruns: \d+\n)")))
        << out.str() << err.str();
}

TEST_F(BatchCommandsTest, PlayRefusesADeviceNotInTheListAndNamesTheDevices)
{
    MakeDocuments();
    EXPECT_EQ(Run({"play", Path("song.jorvo"), "-o", "no such card"}), kExitFailed);
    EXPECT_NE(err.str().find("jorvo play: no output device 'no such card' plays 16-bit stereo at 44100 Hz. Devices: "),
              std::string::npos)
        << err.str();
    EXPECT_NE(err.str().find("'silent output'."), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty());
}

} // namespace
} // namespace jorvo
