// Skin and preset paths of built-in and plug-in types, the user's writable skins folder prepared at
// start, and the selection dialogs that create targets.
#include "engine/TargetPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "document/Configuration.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/PresetFile.h"
#include "engine/PresetModel.h"
#include "engine/SeqEventTargetFactory.h"
#include "engine/SoundStudio.h"
#include "engine/TargetSelection.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

const std::string kPluginsDir = JORVO_TEST_PLUGINS_DIR;

class TargetPathsTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
};

TEST_F(TargetPathsTest, BuiltInsLiveInAFolderOfTheirNameAndPluginsBesideTheirLibrary)
{
    ASSERT_TRUE(Configuration().SetSkinsDir((dir / "Skins").string()));
    ASSERT_TRUE(Configuration().SetPluginsDir(kPluginsDir));
    SeqEventTargetFactory::RescanPlugins();
    const std::string skins = (dir / "Skins").string();
    EXPECT_EQ(GetSkinPath("Sampler", "Instrument"), skins + "/Sampler/Sampler.skin");
    EXPECT_EQ(GetPresetPath("Reverb Lite", "Effect"), skins + "/Reverb Lite/Reverb Lite.presets");
    EXPECT_EQ(GetPresetPath("FMVoice", "Instrument"), kPluginsDir + "/FMVoice/FMVoice.presets");
    EXPECT_EQ(GetSkinPath("Tremolo", "Effect"), kPluginsDir + "/Tremolo.skin");
    // The tables are per category: an effect's name is no instrument plug-in.
    EXPECT_EQ(GetSkinPath("Tremolo", "Instrument"), skins + "/Tremolo/Tremolo.skin");
}

// The settings start empty here, as on a first start.
class FirstStartTest : public TargetPathsTest {
protected:
    std::string savedRegistry = std::getenv("JORVO_REGISTRY");
    fs::path shipped = dir / "program" / "Skins";
    fs::path user = dir / "data" / "Skins";

    void SetUp() override
    {
        ::setenv("JORVO_REGISTRY", (dir / "registry.xml").c_str(), 1);
        ResetConfiguration();
        fs::create_directories(shipped / "mSyn");
        fs::create_directories(shipped / "Sequencer");
        fs::create_directories(user / "Sequencer");
        test::WriteFileBytes(shipped / "mSyn" / "mSyn.presets", "<PresetFile><PresetList/></PresetFile>");
        test::WriteFileBytes(shipped / "Sequencer" / "Seq.skin", "v1");
    }
    void TearDown() override
    {
        ::setenv("JORVO_REGISTRY", savedRegistry.c_str(), 1);
        ResetConfiguration();
    }
};

TEST_F(FirstStartTest, ShippedFilesAreCopiedWithoutReplacingTheUsersAndSavedPresetsLandThere)
{
    test::WriteFileBytes(user / "Sequencer" / "Seq.skin", "mine");
    ASSERT_TRUE(PrepareUserSkinsFolder(shipped.string(), user.string()));
    EXPECT_EQ(Configuration().GetSkinsDir(), user.string());
    EXPECT_EQ(test::ReadFileBytes(user / "Sequencer" / "Seq.skin"), "mine");
    EXPECT_EQ(test::ReadFileBytes(user / "mSyn" / "mSyn.presets"), "<PresetFile><PresetList/></PresetFile>");

    InstrumentMonoSynth synth;
    shell.presetScripts.push_back([](const PresetDialogRequest& request) { return request.model->SavePreset(0, "Mine"); });
    ASSERT_TRUE(EditPresets(synth, PresetDialogMode::Save));
    EXPECT_NE(test::ReadFileBytes(user / "mSyn" / "mSyn.presets").find("Name=\"Mine\""), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(shipped / "mSyn" / "mSyn.presets"), "<PresetFile><PresetList/></PresetFile>");

    // A later start brings files shipped since, and still keeps the user's.
    test::WriteFileBytes(shipped / "Sequencer" / "New.skin", "new");
    ASSERT_TRUE(PrepareUserSkinsFolder(shipped.string(), user.string()));
    EXPECT_EQ(test::ReadFileBytes(user / "Sequencer" / "New.skin"), "new");
    EXPECT_NE(test::ReadFileBytes(user / "mSyn" / "mSyn.presets").find("Name=\"Mine\""), std::string::npos);
}

TEST_F(FirstStartTest, AFolderTheUserChoseIsLeftAloneAndAFailedCopyKeepsTheDefault)
{
    EXPECT_FALSE(PrepareUserSkinsFolder((dir / "nothing").string(), user.string()));
    EXPECT_EQ(Configuration().GetString(kSkinsDirSetting), "");

    ASSERT_TRUE(Configuration().SetSkinsDir((dir / "elsewhere").string()));
    EXPECT_TRUE(PrepareUserSkinsFolder(shipped.string(), user.string()));
    EXPECT_FALSE(fs::exists(user / "mSyn"));
    EXPECT_EQ(Configuration().GetSkinsDir(), (dir / "elsewhere").string());
}

TEST_F(TargetPathsTest, TheSelectionDialogsCreateTheChosenEngineUnderTheEnteredName)
{
    SoundStudio studio;
    shell.selectAnswers = {SelectResult{1, "Bass Line"}, std::nullopt, SelectResult{3, ""}};
    const std::unique_ptr<Instrument> instrument = SelectInstrument();
    ASSERT_TRUE(instrument);
    EXPECT_EQ(instrument->GetEngineName(), "mSyn");
    EXPECT_EQ(instrument->GetName(), "Bass Line");
    EXPECT_EQ(shell.selectRequests[0].title, "Select Instrument");
    EXPECT_EQ(shell.selectRequests[0].choices[0], "Sampler");

    EXPECT_FALSE(SelectEffect()); // Cancel
    EXPECT_EQ(shell.selectRequests[1].title, "Select Effect");
    const std::unique_ptr<Effect> effect = SelectEffect();
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->GetEngineName(), "Delay");
    EXPECT_EQ(effect->GetName(), "Delay"); // nothing entered: the default name
}

} // namespace
} // namespace jorvo
