#include <filesystem>
#include <gtest/gtest.h>

#include "document/Configuration.h"
#include "document/ConfigurationMessages.h"
#include "document/ConfigurationPages.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

const std::string kKey = "Software\\Quistor\\Jorvo\\Settings";
constexpr SettingsRoot kUser = SettingsRoot::CurrentUser;

class ConfigurationPagesTest : public ::testing::Test {
protected:
    std::optional<std::uint32_t> StoredDWORD(const std::string& name) const { return observer.ReadDWORD(kUser, kKey, name); }
    std::optional<std::string> StoredString(const std::string& name) const { return observer.ReadString(kUser, kKey, name); }
    std::string Folder(const std::string& name) const { return (dir / name).string(); }

    test::TempDir dir;
    std::string file = (dir / "registry.xml").string();
    SettingsStore observer{file};
    CConfiguration configuration{SettingsStore(file), "/opt/jorvo"};
    RecordingShell shell;
    ScopedShell installed{shell};
};

TEST(TimingEntriesTest, TheListShowsFourEntriesSpacedAsWritten)
{
    EXPECT_EQ(kTimingEntries[0], "Accuracy  (480ppqn)");
    EXPECT_EQ(kTimingEntries[1], "Good Timing  (240ppqn)");
    EXPECT_EQ(kTimingEntries[2], "Low CPU  (120 ppqn)");
    EXPECT_EQ(kTimingEntries[3], "Min CPU (60ppqn)");
}

TEST(TimingEntriesTest, AccuracyAndEntryMapBothWays)
{
    EXPECT_EQ(TimingEntryForAccuracy(0), 0);
    EXPECT_EQ(TimingEntryForAccuracy(1), 1);
    EXPECT_EQ(TimingEntryForAccuracy(3), 2);
    EXPECT_EQ(TimingEntryForAccuracy(7), 3);
    for (std::uint32_t other : {2u, 4u, 8u, 0xFFFFFFFFu})
        EXPECT_EQ(TimingEntryForAccuracy(other), 0) << other;

    EXPECT_EQ(AccuracyForTimingEntry(0), 0u);
    EXPECT_EQ(AccuracyForTimingEntry(1), 1u);
    EXPECT_EQ(AccuracyForTimingEntry(2), 3u);
    EXPECT_EQ(AccuracyForTimingEntry(3), 7u);
    EXPECT_EQ(AccuracyForTimingEntry(-1), 0u);
    EXPECT_EQ(AccuracyForTimingEntry(4), 0u);
}

TEST_F(ConfigurationPagesTest, TheGeneralPageOpensWithTheDefaultsAndItsOwnTimingDefault)
{
    const GeneralPageValues values = LoadGeneralPage(&configuration);
    EXPECT_EQ(values.minBpm, 30u);
    EXPECT_EQ(values.maxBpm, 240u);
    EXPECT_EQ(values.defaultBpm, 120u);
    EXPECT_EQ(values.beatsPerBar, 4u);
    EXPECT_EQ(values.timingEntry, 0);
    EXPECT_EQ(values.popUpMenuDelay, 400u);
    EXPECT_FALSE(values.flashLED);
    EXPECT_EQ(StoredDWORD("DefaultTimingAccuracy"), 0u);
}

TEST_F(ConfigurationPagesTest, TheGeneralPageShowsTheStoredAccuracy)
{
    configuration.SetDWORD("DefaultTimingAccuracy", 7);
    EXPECT_EQ(LoadGeneralPage(&configuration).timingEntry, 3);
    configuration.SetDWORD("DefaultTimingAccuracy", 5);
    EXPECT_EQ(LoadGeneralPage(&configuration).timingEntry, 0);
}

TEST_F(ConfigurationPagesTest, ChoosingLowCpuStoresThreeAndTellsTheSequencer)
{
    std::vector<std::uint32_t> pushed;
    configuration.SetTimingAccuracyListener([&pushed](std::uint32_t accuracy) { pushed.push_back(accuracy); });
    GeneralPageValues values = LoadGeneralPage(&configuration);
    values.timingEntry = 2; // "Low CPU  (120 ppqn)"
    values.minBpm = 20;
    values.maxBpm = 10; // no range checks
    values.defaultBpm = 500;
    values.beatsPerBar = 7;
    values.popUpMenuDelay = 900;
    values.flashLED = true;

    EXPECT_TRUE(ApplyGeneralPage(values, &configuration));
    EXPECT_EQ(StoredDWORD("DefaultTimingAccuracy"), 3u);
    EXPECT_EQ(pushed, std::vector<std::uint32_t>{3});
    EXPECT_EQ(StoredDWORD("MinSongBpm"), 20u);
    EXPECT_EQ(StoredDWORD("MaxSongBpm"), 10u);
    EXPECT_EQ(StoredDWORD("DefaultSongBpm"), 500u);
    EXPECT_EQ(StoredDWORD("DefaultSongBeatsPerBar"), 7u);
    EXPECT_EQ(configuration.GetTapNHoldDelay(), 900u);
    EXPECT_TRUE(configuration.GetFlashLED());
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(ConfigurationPagesTest, TheFoldersPageOpensWithTheFolderSettings)
{
    configuration.SetSampleDir("/data/Samples");
    const FoldersPageValues values = LoadFoldersPage(&configuration);
    EXPECT_EQ(values[FolderField::Document], std::string(std::getenv("HOME")) + "/Documents/Jorvo");
    EXPECT_EQ(values[FolderField::Plugin], "/opt/jorvo/Plugins");
    EXPECT_EQ(values[FolderField::Sample], "/data/Samples");
    EXPECT_EQ(values[FolderField::Skins], "/opt/jorvo/Skins");
    EXPECT_EQ(values[FolderField::PatternBank], std::string(std::getenv("HOME")) + "/Documents/Jorvo/PatternBanks");
}

TEST_F(ConfigurationPagesTest, TheBrowseButtonOpensTheFolderBrowser)
{
    shell.folderAnswers = {Folder("picked")};
    EXPECT_EQ(BrowseFolderField("/data"), Folder("picked"));
    ASSERT_EQ(shell.folderRequests.size(), 1u);
    EXPECT_EQ(shell.folderRequests[0].title, "Browse for Directory");
    EXPECT_EQ(shell.folderRequests[0].initialText, "/data");
    EXPECT_FALSE(BrowseFolderField("/data")); // Cancel
}

TEST_F(ConfigurationPagesTest, ExistingFoldersAreTrimmedStrippedAndStored)
{
    for (const char* name : {"docs", "plugins", "samples", "skins", "banks"})
        std::filesystem::create_directories(dir / name);
    FoldersPageValues values;
    values[FolderField::Document] = "  " + Folder("docs") + "  ";
    values[FolderField::Plugin] = Folder("plugins") + "/";
    values[FolderField::Sample] = Folder("samples") + "\\";
    values[FolderField::Skins] = Folder("skins");
    values[FolderField::PatternBank] = Folder("banks");

    EXPECT_EQ(ApplyFoldersPage(values, &configuration), std::nullopt);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(StoredString("DefaultDocDir"), Folder("docs"));
    EXPECT_EQ(StoredString("PluginsDir"), Folder("plugins"));
    EXPECT_EQ(StoredString("SampleDir"), Folder("samples"));
    EXPECT_EQ(StoredString("SkinsDir"), Folder("skins"));
    EXPECT_EQ(StoredString("PatternBankDir"), Folder("banks"));
    EXPECT_EQ(values[FolderField::Sample], Folder("samples"));
}

TEST_F(ConfigurationPagesTest, AnEmptyFieldStopsThePageAndNothingIsStored)
{
    std::filesystem::create_directories(dir / "docs");
    FoldersPageValues values;
    values[FolderField::Document] = Folder("docs");
    values[FolderField::Plugin] = "   ";
    EXPECT_EQ(ApplyFoldersPage(values, &configuration), FolderField::Plugin);
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Empty Directory not allowed"});
    EXPECT_FALSE(StoredString("DefaultDocDir"));
}

TEST_F(ConfigurationPagesTest, AMissingFolderIsCreatedWhenTheUserAgrees)
{
    const std::string missing = Folder("new/Samples");
    shell.answers = {MessageAnswer::Yes};
    const std::optional<std::string> folder = ValidateFolderField(missing + "\\");
    EXPECT_EQ(folder, missing);
    EXPECT_TRUE(std::filesystem::is_directory(missing));
    ASSERT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_EQ(shell.messageBoxes[0].text, "Folder '" + missing + "' does not exist would you like to create it ?");
    EXPECT_EQ(shell.messageBoxes[0].buttons, MessageButtons::YesNo);
}

TEST_F(ConfigurationPagesTest, DecliningToCreateAFolderKeepsThePageOpenAtThatField)
{
    for (const char* name : {"docs", "plugins"})
        std::filesystem::create_directories(dir / name);
    FoldersPageValues values;
    values[FolderField::Document] = Folder("docs");
    values[FolderField::Plugin] = Folder("plugins");
    values[FolderField::Sample] = Folder("not-there");
    values[FolderField::Skins] = Folder("also-not-there");
    shell.answers = {MessageAnswer::No};

    EXPECT_EQ(ApplyFoldersPage(values, &configuration), FolderField::Sample);
    EXPECT_EQ(shell.messages,
              std::vector<std::string>{"Folder '" + Folder("not-there") + "' does not exist would you like to create it ?"});
    EXPECT_FALSE(std::filesystem::exists(dir / "not-there"));
    EXPECT_FALSE(StoredString("DefaultDocDir"));
}

TEST_F(ConfigurationPagesTest, AFolderThatCannotBeCreatedIsReported)
{
    test::WriteFileBytes(dir / "blocker", "a file, not a folder");
    const std::string impossible = Folder("blocker/Samples");
    shell.answers = {MessageAnswer::Yes};
    EXPECT_FALSE(ValidateFolderField(impossible));
    EXPECT_EQ(shell.messages, (std::vector<std::string>{
                                  "Folder '" + impossible + "' does not exist would you like to create it ?",
                                  "Failed to create Folder '" + impossible + "'.",
                              }));
}

TEST_F(ConfigurationPagesTest, SettingsThatCannotBeStoredKeepThePageOpen)
{
    const std::string badFile = (dir / "folder-in-the-way").string();
    std::filesystem::create_directories(badFile);
    CConfiguration unwritable(SettingsStore(badFile), "/opt/jorvo");
    for (const char* name : {"a", "b", "c", "d", "e"})
        std::filesystem::create_directories(dir / name);
    FoldersPageValues values;
    values.folders = {Folder("a"), Folder("b"), Folder("c"), Folder("d"), Folder("e")};

    EXPECT_EQ(ApplyFoldersPage(values, &unwritable), FolderField::Document);
    EXPECT_EQ(shell.LastMessage(), "The settings could not be saved in '" + badFile + "'.");
    EXPECT_FALSE(ApplyGeneralPage(LoadGeneralPage(&unwritable), &unwritable));
    EXPECT_EQ(shell.messages.size(), 2u);
}

} // namespace
} // namespace jorvo
