#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "document/Configuration.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

const std::string kKey = "Software\\Quistor\\Jorvo\\Settings";
constexpr SettingsRoot kUser = SettingsRoot::CurrentUser;

class ConfigurationTest : public ::testing::Test {
protected:
    std::unique_ptr<CConfiguration> Create() { return std::make_unique<CConfiguration>(SettingsStore(file), "/opt/jorvo"); }

    std::optional<std::uint32_t> StoredDWORD(const std::string& name) const { return observer.ReadDWORD(kUser, kKey, name); }
    std::optional<std::string> StoredString(const std::string& name) const { return observer.ReadString(kUser, kKey, name); }

    test::TempDir dir;
    std::string file = (dir / "registry.xml").string();
    SettingsStore observer{file}; // looks at the file independently of the configuration
    std::string home = std::getenv("HOME");
};

TEST_F(ConfigurationTest, CreationOpensTheKeyAndStoresTheTwoRememberedValues)
{
    auto configuration = Create();
    EXPECT_TRUE(observer.KeyExists(kUser, kKey));
    EXPECT_EQ(StoredDWORD("TapNHoldDelay"), 400u);
    EXPECT_EQ(StoredDWORD("FlashLED"), 0u);
    EXPECT_EQ(configuration->GetTapNHoldDelay(), 400u);
    EXPECT_FALSE(configuration->GetFlashLED());
}

TEST_F(ConfigurationTest, TheFirstStartFillsEveryValueAsSubsystemsAsk)
{
    auto configuration = Create();
    EXPECT_EQ(configuration->GetDefaultDocDir(), home + "/Documents/Jorvo");
    EXPECT_EQ(configuration->GetPluginsDir(), "/opt/jorvo/Plugins");
    EXPECT_EQ(configuration->GetSampleDir(), home + "/Documents/Jorvo/Samples");
    EXPECT_EQ(configuration->GetSkinsDir(), "/opt/jorvo/Skins");
    EXPECT_EQ(configuration->GetPatternBankDir(), home + "/Documents/Jorvo/PatternBanks");
    EXPECT_EQ(configuration->GetDWORD(kMMEBlockCountSetting), 16u);
    EXPECT_EQ(configuration->GetDWORD(kMMEBlockSizeSetting), 1024u);
    EXPECT_EQ(configuration->GetDWORD(kDefaultTimingAccuracySetting), 7u);
    EXPECT_EQ(configuration->GetDWORD(kDefaultSongBpmSetting), 120u);
    EXPECT_EQ(configuration->GetDWORD(kDefaultSongBeatsPerBarSetting), 4u);
    EXPECT_EQ(configuration->GetDWORD(kDefaultSongPpqnSetting), 480u);
    EXPECT_EQ(configuration->GetDWORD(kDefaultSongLengthSetting), 16u);
    EXPECT_EQ(configuration->GetDWORD(kMinSongBpmSetting), 30u);
    EXPECT_EQ(configuration->GetDWORD(kMaxSongBpmSetting), 240u);
    EXPECT_EQ(configuration->GetString(kJorvoImageSetting, kJorvoImageDefault), "Splash.png");

    EXPECT_EQ(StoredString("DefaultDocDir"), home + "/Documents/Jorvo");
    EXPECT_EQ(StoredString("PluginsDir"), "/opt/jorvo/Plugins");
    EXPECT_EQ(StoredString("SampleDir"), home + "/Documents/Jorvo/Samples");
    EXPECT_EQ(StoredString("SkinsDir"), "/opt/jorvo/Skins");
    EXPECT_EQ(StoredString("PatternBankDir"), home + "/Documents/Jorvo/PatternBanks");
    EXPECT_EQ(StoredString("JorvoImage"), "Splash.png");
    EXPECT_EQ(StoredDWORD("MMEBlockCount"), 16u);
    EXPECT_EQ(StoredDWORD("MMEBlockSize"), 1024u);
    EXPECT_EQ(StoredDWORD("DefaultTimingAccuracy"), 7u);
    EXPECT_EQ(StoredDWORD("DefaultSongBpm"), 120u);
    EXPECT_EQ(StoredDWORD("DefaultSongBeatsPerBar"), 4u);
    EXPECT_EQ(StoredDWORD("DefaultSongPpqn"), 480u);
    EXPECT_EQ(StoredDWORD("DefaultSongLength"), 16u);
}

TEST_F(ConfigurationTest, StoredValuesWinOverDefaults)
{
    observer.WriteDWORD(kUser, kKey, "MMEBlockCount", 5);
    observer.WriteString(kUser, kKey, "SkinsDir", "/usr/share/jorvo/Skins");
    auto configuration = Create();
    EXPECT_EQ(configuration->GetDWORD(kMMEBlockCountSetting), 5u);
    EXPECT_EQ(configuration->GetSkinsDir(), "/usr/share/jorvo/Skins");
}

TEST_F(ConfigurationTest, TheSentinelDefaultIsReturnedButNeverStored)
{
    auto configuration = Create();
    EXPECT_EQ(configuration->GetDWORD("Probe", 0xDEF0), 0xDEF0u);
    EXPECT_FALSE(StoredDWORD("Probe"));
    EXPECT_EQ(configuration->GetDWORD("Probe", 0xDEF1), 0xDEF1u);
    EXPECT_EQ(StoredDWORD("Probe"), 0xDEF1u);
    EXPECT_EQ(configuration->GetDWORD("Probe", 0xDEF0), 0xDEF1u);
}

TEST_F(ConfigurationTest, AStringWithoutDefaultIsEmptyAndNotStored)
{
    auto configuration = Create();
    EXPECT_EQ(configuration->GetString("Nothing"), "");
    EXPECT_FALSE(StoredString("Nothing"));
    EXPECT_EQ(configuration->GetString("Something", std::string("given")), "given");
    EXPECT_EQ(StoredString("Something"), "given");
    EXPECT_FALSE(configuration->SetString("", "x"));
    EXPECT_FALSE(configuration->SetDWORD("", 1));
}

TEST_F(ConfigurationTest, IsFirstRunIsTrueOnlyOnce)
{
    EXPECT_TRUE(Create()->IsFirstRun());
    EXPECT_EQ(StoredDWORD("RunBefore"), 1u);
    auto nextStart = Create();
    EXPECT_FALSE(nextStart->IsFirstRun());
    EXPECT_FALSE(nextStart->IsFirstRun());
}

TEST_F(ConfigurationTest, TheDocumentFolderStartsAsTheDefaultDocDirSetting)
{
    auto configuration = Create();
    ASSERT_TRUE(configuration->SetDefaultDocDir("/media/card/Songs"));
    EXPECT_EQ(configuration->GetDocumentFolder(), "/media/card/Songs");
    EXPECT_EQ(configuration->GetSampleDir(), "/media/card/Songs/Samples");
}

TEST_F(ConfigurationTest, SampleAndPatternBankFoldersFollowTheDocumentOnlyWhileUnset)
{
    auto configuration = Create();
    configuration->SetDocumentFolder("/songs/first/");
    EXPECT_EQ(configuration->GetDocumentFolder(), "/songs/first");
    EXPECT_EQ(configuration->GetSampleDir(), "/songs/first/Samples");

    configuration->SetDocumentFolder("/songs/second");
    // The sample folder was stored when first asked; the pattern-bank folder was not asked yet.
    EXPECT_EQ(configuration->GetSampleDir(), "/songs/first/Samples");
    EXPECT_EQ(configuration->GetPatternBankDir(), "/songs/second/PatternBanks");

    configuration->SetDocumentFolder("/songs/third");
    EXPECT_EQ(configuration->GetPatternBankDir(), "/songs/second/PatternBanks");
    EXPECT_EQ(StoredString("SampleDir"), "/songs/first/Samples");
}

TEST_F(ConfigurationTest, FolderSettersDropOneTrailingSeparatorAndRefuseEmpty)
{
    auto configuration = Create();
    ASSERT_TRUE(configuration->SetSampleDir("/data/Samples\\"));
    EXPECT_EQ(StoredString("SampleDir"), "/data/Samples");
    ASSERT_TRUE(configuration->SetPluginsDir("/data/Plugins/"));
    EXPECT_EQ(configuration->GetPluginsDir(), "/data/Plugins");
    ASSERT_TRUE(configuration->SetSkinsDir("\\data\\Skins"));
    EXPECT_EQ(configuration->GetSkinsDir(), "/data/Skins");
    ASSERT_TRUE(configuration->SetPatternBankDir("/data/Banks"));
    EXPECT_EQ(configuration->GetPatternBankDir(), "/data/Banks");
    EXPECT_FALSE(configuration->SetDefaultDocDir(""));
    EXPECT_EQ(configuration->GetSampleDir(), "/data/Samples");
}

TEST_F(ConfigurationTest, FoldersStoredWithBackslashesAreReadWithSlashes)
{
    observer.WriteString(kUser, kKey, "DefaultDocDir", "\\My Documents\\Jorvo\\");
    auto configuration = Create();
    EXPECT_EQ(configuration->GetDefaultDocDir(), "/My Documents/Jorvo");
    EXPECT_EQ(configuration->GetSampleDir(), "/My Documents/Jorvo/Samples");
}

TEST_F(ConfigurationTest, TheRememberedValuesAreLoadedAtCreationAndWrittenAtDestruction)
{
    observer.WriteDWORD(kUser, kKey, "TapNHoldDelay", 250);
    observer.WriteDWORD(kUser, kKey, "FlashLED", 1);
    auto configuration = Create();
    EXPECT_EQ(configuration->GetTapNHoldDelay(), 250u);
    EXPECT_TRUE(configuration->GetFlashLED());

    configuration->SetTapNHoldDelay(650);
    configuration->SetFlashLED(false);
    EXPECT_EQ(StoredDWORD("TapNHoldDelay"), 250u); // not before destruction
    configuration.reset();
    EXPECT_EQ(StoredDWORD("TapNHoldDelay"), 650u);
    EXPECT_EQ(StoredDWORD("FlashLED"), 0u);
}

TEST_F(ConfigurationTest, TheSkinFolderStartsAsTheSkinsSettingAndIsKeptApart)
{
    auto configuration = Create();
    EXPECT_EQ(configuration->GetSkinFolder(), "/opt/jorvo/Skins");
    configuration->SetSkinFolder("/opt/jorvo/Skins/Sequencer/");
    configuration->SetDocumentFolder("/songs");
    EXPECT_EQ(configuration->GetSkinFolder(), "/opt/jorvo/Skins/Sequencer");
    EXPECT_EQ(configuration->GetSkinsDir(), "/opt/jorvo/Skins");
    EXPECT_EQ(configuration->GetDocumentFolder(), "/songs");
}

TEST_F(ConfigurationTest, TheTimingAccuracyReachesTheRegisteredListener)
{
    auto configuration = Create();
    configuration->NotifyTimingAccuracy(3); // nobody registered: nothing happens
    std::vector<std::uint32_t> received;
    configuration->SetTimingAccuracyListener([&received](std::uint32_t accuracy) { received.push_back(accuracy); });
    configuration->NotifyTimingAccuracy(7);
    EXPECT_EQ(received, std::vector<std::uint32_t>{7});
}

TEST_F(ConfigurationTest, AStoreThatCannotBeWrittenFallsBackToDefaults)
{
    std::filesystem::create_directories(file); // a folder where the file should be
    auto configuration = Create();
    EXPECT_EQ(configuration->GetTapNHoldDelay(), 400u);
    EXPECT_EQ(configuration->GetDWORD(kMMEBlockSizeSetting), 1024u);
    EXPECT_EQ(configuration->GetSampleDir(), home + "/Documents/Jorvo/Samples");
    EXPECT_FALSE(configuration->SetDWORD("MMEBlockSize", 512));
    EXPECT_FALSE(configuration->SetSampleDir("/x"));
}

TEST(ProgramConfigurationTest, TheProgramConfigurationUsesTheDefaultStoreAndCanStartAfresh)
{
    test::TempDir dir;
    const std::string file = (dir / "program-registry.xml").string();
    const std::string previous = std::getenv("JORVO_REGISTRY");
    ::setenv("JORVO_REGISTRY", file.c_str(), 1);
    ResetConfiguration();

    Configuration().SetTapNHoldDelay(321);
    EXPECT_EQ(&Configuration(), &Configuration());
    EXPECT_EQ(Configuration().Store().File(), file);
    EXPECT_EQ(Configuration().GetPluginsDir(), CConfiguration::DefaultProgramFolder() + "/Plugins");
    ResetConfiguration(); // writes the remembered values
    EXPECT_EQ(SettingsStore(file).ReadDWORD(kUser, kKey, "TapNHoldDelay"), 321u);
    EXPECT_EQ(Configuration().GetTapNHoldDelay(), 321u);

    ::setenv("JORVO_REGISTRY", previous.c_str(), 1);
    ResetConfiguration();
}

} // namespace
} // namespace jorvo
