// Preset files and the preset dialog's model: opening (fresh, damaged, wrong root), saving,
// loading, banks and presets, and writing only what changed.
#include "engine/PresetModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <string>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/PresetFile.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

// An mSyn preset element as a hand-written file holds it.
std::string MonoSynthPreset(const std::string& name, int octave, const std::string& engine = "mSyn")
{
    return "<Instrument Name=\"" + name + "\" Engine=\"" + engine +
           "\" SampleRate=\"44100\" Channels=\"1\"><Parameter Name=\"Octave\" Value=\"" + std::to_string(octave) +
           "\"/></Instrument>";
}

class PresetModelTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir skins;
    InstrumentMonoSynth synth;
    fs::path file = skins / "mSyn" / "mSyn.presets";

    void SetUp() override { ASSERT_TRUE(Configuration().SetSkinsDir(skins.path().string())); }

    void WriteFile(const std::string& text)
    {
        fs::create_directories(file.parent_path());
        test::WriteFileBytes(file, text);
    }

    // Opens the dialog in `mode` and lets `script` play the user; the result of EditPresets.
    bool Edit(PresetDialogMode mode, std::function<bool(PresetModel&)> script)
    {
        shell.presetScripts.push_back([script](const PresetDialogRequest& request) { return script(*request.model); });
        return EditPresets(synth, mode);
    }
};

TEST_F(PresetModelTest, AFirstDialogShowsAnEmptyDefaultBankAndSavingCreatesAnUnnamedList)
{
    synth.SetStoredValue(InstrumentMonoSynth::kOctave, 4);
    const bool closed = Edit(PresetDialogMode::Save, [&](PresetModel& model) {
        EXPECT_FALSE(fs::exists(file)); // looking writes nothing
        EXPECT_EQ(model.Banks().size(), 1u);
        EXPECT_EQ(model.Banks()[0].name, "Default");
        EXPECT_TRUE(model.Banks()[0].isDefault);
        EXPECT_TRUE(model.Banks()[0].presets.empty());
        return model.SavePreset(0, "Deep");
    });
    EXPECT_TRUE(closed);

    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(file.c_str()));
    const pugi::xml_node bank = document.child("PresetFile").child("PresetList");
    ASSERT_TRUE(bank);
    EXPECT_FALSE(bank.attribute("Name"));
    EXPECT_FALSE(bank.next_sibling("PresetList"));
    const pugi::xml_node preset = bank.child("Instrument");
    EXPECT_STREQ(preset.attribute("Name").value(), "Deep");
    EXPECT_STREQ(preset.find_child_by_attribute("Parameter", "Name", "Octave").attribute("Value").value(), "4");
}

TEST_F(PresetModelTest, ADuplicateNameIsRefusedPerBankOnly)
{
    shell.nameAnswers = {std::string("Leads")};
    Edit(PresetDialogMode::Save, [&](PresetModel& model) {
        EXPECT_TRUE(model.InsertBank());
        EXPECT_TRUE(model.SavePreset(0, "Solo"));
        EXPECT_FALSE(model.SavePreset(0, "Solo"));
        EXPECT_EQ(shell.LastMessage(), "Bank 'Default' already contains a preset named 'Solo'.");
        EXPECT_TRUE(model.SavePreset(1, "Solo"));
        EXPECT_FALSE(model.SavePreset(1, "Solo"));
        EXPECT_EQ(shell.LastMessage(), "Bank 'Leads' already contains a preset named 'Solo'.");
        EXPECT_FALSE(model.SavePreset(1, ""));
        EXPECT_EQ(shell.LastMessage(), "The preset name cannot be blank");
        return true;
    });
    EXPECT_EQ(shell.prompts.at(0).title, "Insert Bank");
}

TEST_F(PresetModelTest, PresetsAreRenamedMovedAndRemovedAndBanksRenamedAndRemoved)
{
    WriteFile("<PresetFile><PresetList>" + MonoSynthPreset("A", 1) + MonoSynthPreset("B", 2) +
              "</PresetList><PresetList Name=\"Keep\">" + MonoSynthPreset("B", 3) +
              "</PresetList><PresetList Name=\"Gone\">" + MonoSynthPreset("C", 4) + "</PresetList></PresetFile>");
    shell.nameAnswers = {std::string("B"), std::string(""), std::string("A2"), std::string("Kept")};
    shell.presetBankAnswers = {1, 1};
    Edit(PresetDialogMode::Load, [&](PresetModel& model) {
        EXPECT_FALSE(model.RenamePreset(0, "A")); // "B" is taken in Default
        EXPECT_EQ(shell.LastMessage(), "Bank 'Default' already contains a preset named 'B'.");
        EXPECT_FALSE(model.RenamePreset(0, "A"));
        EXPECT_EQ(shell.LastMessage(), "The preset name cannot be blank");
        EXPECT_TRUE(model.RenamePreset(0, "A"));
        EXPECT_FALSE(model.MovePreset(0, "B")); // "Keep" holds a "B"
        EXPECT_EQ(shell.LastMessage(), "Bank 'Keep' already contains a preset named 'B'.");
        EXPECT_TRUE(model.MovePreset(0, "A2"));
        EXPECT_TRUE(model.RemovePreset(2, "B")); // not in "Gone": taken from Default
        EXPECT_FALSE(model.RemoveBank(0));       // the default bank stays
        EXPECT_TRUE(model.RenameBank(1));
        shell.answers = {MessageAnswer::No, MessageAnswer::Yes};
        EXPECT_FALSE(model.RemoveBank(2));
        EXPECT_TRUE(model.RemoveBank(2));
        EXPECT_EQ(shell.LastMessage(), "Are you sure you wish to remove the Bank Gone ?\"");
        return true;
    });
    EXPECT_EQ(shell.presetBankRequests.at(0).banks, (std::vector<std::string>{"Default", "Keep", "Gone"}));

    CXMLArchive archive;
    ASSERT_TRUE(OpenPresetFile(synth, archive));
    PresetModel reread(archive, synth);
    ASSERT_EQ(reread.Banks().size(), 2u);
    EXPECT_TRUE(reread.Banks()[0].presets.empty());
    EXPECT_EQ(reread.Banks()[1].name, "Kept");
    EXPECT_EQ(reread.Banks()[1].presets, (std::vector<std::string>{"B", "A2"}));
}

TEST_F(PresetModelTest, LoadingAppliesThePresetAndAnUnchangedFileIsNotRewritten)
{
    const std::string text = "<PresetFile>\n  <PresetList>" + MonoSynthPreset("Low", 0) +
                             MonoSynthPreset("Alien", 5, "Sampler") + "</PresetList>\n</PresetFile>\n";
    WriteFile(text);
    const bool closed = Edit(PresetDialogMode::Load, [&](PresetModel& model) {
        EXPECT_FALSE(model.LoadPreset(0, "Alien", synth.GetName()));
        EXPECT_EQ(shell.LastMessage(), "Preset 'Alien' could not be loaded into mSyn.");
        EXPECT_EQ(synth.FindParameter(InstrumentMonoSynth::kOctave)->StoredValue(), 2);
        return model.LoadPreset(0, "Low", synth.GetName());
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(synth.FindParameter(InstrumentMonoSynth::kOctave)->LiveValue(), 0);
    EXPECT_EQ(test::ReadFileBytes(file), text); // written by hand, so any rewrite would show
}

TEST_F(PresetModelTest, ADamagedFileIsResetOnlyWithConsent)
{
    const std::string damaged = "<PresetFile><PresetList>";
    WriteFile(damaged);
    shell.answers = {MessageAnswer::No};
    EXPECT_FALSE(Edit(PresetDialogMode::Save, [](PresetModel&) { return true; }));
    EXPECT_TRUE(shell.presetRequests.empty());
    EXPECT_EQ(shell.LastMessage(), "Failed to Load Preset File " + file.string() + ".\nWould you like to reset it ?");
    EXPECT_EQ(test::ReadFileBytes(file), damaged);

    WriteFile("<PatternBank/>");
    shell.answers = {MessageAnswer::Yes};
    CXMLArchive archive;
    ASSERT_TRUE(OpenPresetFile(synth, archive));
    EXPECT_EQ(shell.LastMessage(), "Preset File " + file.string() + " has a bad format.\nWould you like to reset it ?");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(PresetModel(archive, synth).Banks().size(), 1u);
}

} // namespace
} // namespace jorvo
