#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

#include "document/Configuration.h"
#include "installhelper/InstallHelperMessages.h"
#include "installhelper/InstallProgress.h"
#include "installhelper/InstallSamplePackCall.h"
#include "installhelper/PropertyTableAccess.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

namespace jorvo::installhelper {
namespace {

namespace fs = std::filesystem;

constexpr char kPackPresets[] = R"(<PresetFile><PresetList Name="Pack"><Instrument Name="Kit"/></PresetList>
<PresetList><Instrument Name="Lead" Tag="pack"/></PresetList></PresetFile>)";

std::vector<int> gSteps;
int gRange = 0;

void WriteFile(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    test::WriteFileBytes(file, bytes);
}

void RecordProgress(int step, int range, const char*)
{
    gSteps.push_back(step);
    gRange = range;
}

class InstallSamplePackTest : public ::testing::Test {
protected:
    InstallSamplePackTest() : names(8 * 32), values(8 * 512)
    {
        table = PropertyTable{0, 0, 8, 32, 512, 0, names.data(), values.data()};
        fs::create_directories(device);
        WriteFile(pack / "top.wav", "TOP");
        WriteFile(pack / "Drums" / "kick.WAV", "KICK");
        WriteFile(pack / "Drums" / "Deep" / "sub.wav", "SUB");
        WriteFile(pack / "readme.txt", "not a sample");
        WriteFile(pack / "pack.presets", kPackPresets);
    }
    ~InstallSamplePackTest() override { SetProgressReceiver(nullptr); }

    int Install(const std::string& name = "MyPack")
    {
        SetProperty(&table, "PACK_NAME", name);
        SetProperty(&table, "FOLDER", pack.string());
        SetProperty(&table, "DEVICE_ROOT", device.string());
        return RunInstallSamplePack(&table, "");
    }
    std::string Error() const { return GetProperty(&table, "DLLERROR"); }
    std::optional<std::string> DeviceSetting(const char* name) const
    {
        return SettingsStore((device / "registry.xml").string()).ReadString(SettingsRoot::CurrentUser, kSettingsKey, name);
    }

    test::TempDir dir;
    fs::path device = dir / "device";
    fs::path pack = dir / "pack";
    fs::path samples = device / "My Documents" / "Jorvo" / "Samples" / "MyPack";
    fs::path devicePresets = device / "Program Files" / "Jorvo" / "Skins" / "Sampler" / "Sampler.presets";
    std::vector<char> names;
    std::vector<char> values;
    PropertyTable table;
};

TEST_F(InstallSamplePackTest, CopiesSubFoldersAndCreatesPresetFileOnEmptyDevice)
{
    gSteps.clear();
    SetProgressReceiver(&RecordProgress);
    ASSERT_EQ(Install(), 0) << Error();
    EXPECT_EQ(test::ReadFileBytes(samples / "top.wav"), "TOP");
    EXPECT_EQ(test::ReadFileBytes(samples / "Drums" / "kick.WAV"), "KICK");
    EXPECT_EQ(test::ReadFileBytes(samples / "Drums" / "Deep" / "sub.wav"), "SUB");
    EXPECT_FALSE(fs::exists(samples / "readme.txt"));
    // Three samples and three preset steps.
    EXPECT_EQ(gRange, 6);
    EXPECT_EQ(gSteps, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(DeviceSetting("SampleDir"), "\\My Documents\\Jorvo\\Samples");
    EXPECT_EQ(DeviceSetting("SkinsDir"), "\\Program Files\\Jorvo\\Skins");
    const std::string presets = test::ReadFileBytes(devicePresets);
    EXPECT_NE(presets.find("<PresetList Name=\"Pack\">"), std::string::npos);
    EXPECT_NE(presets.find("<Instrument Name=\"Lead\" Tag=\"pack\""), std::string::npos);
    EXPECT_EQ(presets.find("<PresetList>"), presets.find("<PresetList"));
}

TEST_F(InstallSamplePackTest, UsesDeviceSettingsAndMergesIntoExistingPresetFile)
{
    SettingsStore store((device / "registry.xml").string());
    store.WriteString(SettingsRoot::CurrentUser, kSettingsKey, "SampleDir", "\\Card\\Sounds\\");
    store.WriteString(SettingsRoot::CurrentUser, kSettingsKey, "SkinsDir", "\\Skins");
    WriteFile(device / "Skins" / "Sampler" / "Sampler.presets",
                         "<PresetFile><PresetList><Instrument Name=\"Lead\" Tag=\"old\"/>"
                         "<Instrument Name=\"Bass\"/></PresetList></PresetFile>");
    ASSERT_EQ(Install(), 0) << Error();
    EXPECT_EQ(test::ReadFileBytes(device / "Card" / "Sounds" / "MyPack" / "top.wav"), "TOP");
    const std::string presets = test::ReadFileBytes(device / "Skins" / "Sampler" / "Sampler.presets");
    EXPECT_EQ(presets.find("Tag=\"old\""), std::string::npos);
    EXPECT_NE(presets.find("Name=\"Bass\""), std::string::npos);
    EXPECT_FALSE(DeviceSetting("DefaultDocDir")); // only needed for the sample folder's default
}

TEST_F(InstallSamplePackTest, UnreachableDeviceFailsToConnect)
{
    device = dir / "no-such-device";
    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(Error(), "Unable to connect to Remote Device\nCheck your PocketPC is connected.");
    EXPECT_FALSE(fs::exists(device));
}

TEST_F(InstallSamplePackTest, HungDeviceIsGivenUpOn)
{
    // Opening a pipe nobody writes to blocks, as a hung mount does.
    ASSERT_EQ(::mkfifo((device / "registry.xml").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(Error(), kConnectFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST_F(InstallSamplePackTest, InvalidPropertiesAreRefusedBeforeAnythingIsWritten)
{
    SetProperty(&table, "FOLDER", "");
    SetProperty(&table, "PACK_NAME", "MyPack");
    SetProperty(&table, "DEVICE_ROOT", device.string());
    EXPECT_EQ(RunInstallSamplePack(&table, ""), 1);
    EXPECT_EQ(Error(), "Invalid Install Folder");
    for (const char* name : {"", "..", "a/b", "a\\b"}) {
        EXPECT_EQ(Install(name), 1);
        EXPECT_EQ(Error(), "Invalid Pack Name") << name;
    }
    EXPECT_FALSE(fs::exists(device / "My Documents"));
}

TEST_F(InstallSamplePackTest, MissingOrMisplacedPresetFileFailsAfterSamples)
{
    fs::remove(pack / "pack.presets");
    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(Error(), "Failed to find source preset file.");
    EXPECT_EQ(test::ReadFileBytes(samples / "top.wav"), "TOP");
    fs::create_directory(pack / "a.presets");
    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(Error(), "Failed to locate source preset file " + (pack / "a.presets").string() + ".");
    EXPECT_FALSE(fs::exists(devicePresets));
}

TEST_F(InstallSamplePackTest, SampleFolderOutsideTheDeviceIsRefused)
{
    SettingsStore((device / "registry.xml").string())
        .WriteString(SettingsRoot::CurrentUser, kSettingsKey, "SampleDir", "\\..\\outside");
    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(Error(), "Failed to Find Destination Sample Folder");
    EXPECT_FALSE(fs::exists(dir / "outside"));
}

TEST_F(InstallSamplePackTest, FailedSampleCopyFailsTheInstallButOthersAreCopied)
{
    fs::create_directories(samples / "top.wav" / "blocked"); // a folder where the sample must go
    EXPECT_EQ(Install(), 1);
    EXPECT_EQ(Error().rfind("Failed to Create Destination file ", 0), 0u) << Error();
    EXPECT_EQ(test::ReadFileBytes(samples / "Drums" / "kick.WAV"), "KICK");
    EXPECT_FALSE(fs::exists(devicePresets));
}

// This machine's own Jorvo, for a user who has never run it: its program folder ships skins.
class ThisMachineInstallTest : public InstallSamplePackTest {
protected:
    ThisMachineInstallTest()
    {
        WriteFile(shippedPresets, kShippedPresets);
        WriteFile(program / "Skins" / "Main.skin", "<Skin/>");
    }
    int InstallHere()
    {
        SetProperty(&table, "PACK_NAME", "MyPack");
        SetProperty(&table, "FOLDER", pack.string());
        return RunInstallSamplePack(&table, program.string());
    }
    SettingsStore Settings() const { return SettingsStore(SettingsStore::DefaultFile()); }

    static constexpr char kShippedPresets[] =
        "<PresetFile><PresetList><Instrument Name=\"Shipped\"/><Instrument Name=\"Lead\" Tag=\"shipped\"/>"
        "</PresetList></PresetFile>";
    test::FreshHome home;
    fs::path program = dir / "program";
    fs::path shippedPresets = program / "Skins" / "Sampler" / "Sampler.presets";
    fs::path userSkins = home.path() / ".local" / "share" / "Quistor" / "Jorvo" / "Skins";
};

TEST_F(ThisMachineInstallTest, PresetsGoToTheUsersSkinsFolderAsJorvoWouldPrepareIt)
{
    ASSERT_EQ(InstallHere(), 0) << Error();
    EXPECT_EQ(test::ReadFileBytes(home.path() / "Documents" / "Jorvo" / "Samples" / "MyPack" / "Drums" / "kick.WAV"),
              "KICK");
    // The shipped skins were copied for the user, whose preset file got the pack merged in.
    EXPECT_EQ(test::ReadFileBytes(userSkins / "Main.skin"), "<Skin/>");
    const std::string presets = test::ReadFileBytes(userSkins / "Sampler" / "Sampler.presets");
    EXPECT_NE(presets.find("Name=\"Shipped\""), std::string::npos);
    EXPECT_NE(presets.find("Tag=\"pack\""), std::string::npos);
    EXPECT_EQ(presets.find("Tag=\"shipped\""), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(shippedPresets), kShippedPresets);
    EXPECT_EQ(Settings().ReadString(SettingsRoot::CurrentUser, kSettingsKey, "SkinsDir"), userSkins.string());
}

TEST_F(ThisMachineInstallTest, SkinsFolderTheUserChoseIsKept)
{
    const fs::path chosen = dir / "MySkins";
    Settings().WriteString(SettingsRoot::CurrentUser, kSettingsKey, "SkinsDir", chosen.string());
    ASSERT_EQ(InstallHere(), 0) << Error();
    EXPECT_NE(test::ReadFileBytes(chosen / "Sampler" / "Sampler.presets").find("Tag=\"pack\""), std::string::npos);
    EXPECT_FALSE(fs::exists(userSkins));
    EXPECT_EQ(test::ReadFileBytes(shippedPresets), kShippedPresets);
}

// Runs the C setup program on the shipped pack; its exit code and what it printed.
std::pair<int, std::string> RunSetupProgram(const fs::path& deviceRoot)
{
    const std::string command = std::string(JORVO_TEST_SETUP_PROGRAM) + " '" + JORVO_TEST_INSTALL_HELPER +
                                "' StarterKit '" + JORVO_TEST_SAMPLE_PACK + "' '" + deviceRoot.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string output(4096, '\0');
    output.resize(std::fread(output.data(), 1, output.size(), pipe));
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(InstallHelperLibrary, SetupProgramInstallsShippedPackThroughDlopen)
{
    test::TempDir device;
    EXPECT_EQ(RunSetupProgram(device.path()), std::make_pair(0, std::string()));
    const fs::path samples = device.path() / "My Documents" / "Jorvo" / "Samples" / "StarterKit";
    EXPECT_EQ(test::ReadFileBytes(samples / "Drums" / "Kick.wav"),
              test::ReadFileBytes(fs::path(JORVO_TEST_SAMPLE_PACK) / "Drums" / "Kick.wav"));
    const std::string presets =
        test::ReadFileBytes(device.path() / "Program Files" / "Jorvo" / "Skins" / "Sampler" / "Sampler.presets");
    EXPECT_NE(presets.find("<PresetList Name=\"Starter Kit\">"), std::string::npos);

    EXPECT_EQ(RunSetupProgram(device.path() / "gone"), std::make_pair(1, std::string(kConnectFailed)));
}

} // namespace
} // namespace jorvo::installhelper
