// The preset files shipped in skins/: each is built here from the engines' parameter tables
// through the real save path, so the committed files are exactly what the program writes and
// reads. Run with JORVO_UPDATE_SHIPPED_PRESETS=1 to write them into skins/ after a change.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/Configuration.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/PresetFile.h"
#include "engine/PresetModel.h"
#include "engine/SeqEventTargetFactory.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

// A shipped preset: its name and the parameter values (by name) it sets.
struct ShippedPreset {
    std::string name;
    std::map<std::string, int> values;
};

// An engine's shipped presets, all in its default bank.
struct ShippedFile {
    std::string engine;
    bool instrument;
    std::vector<ShippedPreset> presets;
};

// mSyn: a small Glide value glides fast; Release and Decay near 127 hold longest; Wave Adjust
// 127 is one sawtooth, lower values detune a second one. Delay times are samples at 44100 Hz
// (22050 = a quarter note at 120 bpm). Reverb feedback grows with Time; Damp 1 damps most.
const std::vector<ShippedFile> kShippedFiles = {
    {"mSyn", true,
     {{"Bass", {{"Waveform", 0}, {"Wave Adjust", 127}, {"Octave", 1}, {"Glide", 10}, {"Frequency", 20},
                {"Resonance", 2}, {"VCF Depth", 110}, {"VCF Decay", 40}, {"VCF Release", 20}, {"VCF V.Sens", 1},
                {"Decay", 100}, {"Release", 10}, {"V.Sens", 1}}},
      {"Lead", {{"Waveform", 1}, {"Wave Adjust", 64}, {"Octave", 3}, {"Glide", 40}, {"Frequency", 60},
                {"Resonance", 2}, {"VCF Depth", 90}, {"VCF Decay", 80}, {"VCF Release", 40}, {"VCF V.Sens", 0},
                {"Decay", 127}, {"Release", 30}, {"V.Sens", 0}}},
      {"Pluck", {{"Waveform", 0}, {"Wave Adjust", 100}, {"Octave", 2}, {"Glide", 0}, {"Frequency", 10},
                 {"Resonance", 3}, {"VCF Depth", 120}, {"VCF Decay", 20}, {"VCF Release", 10}, {"VCF V.Sens", 1},
                 {"Decay", 40}, {"Release", 8}, {"V.Sens", 1}}},
      {"Pad", {{"Waveform", 0}, {"Wave Adjust", 118}, {"Octave", 2}, {"Glide", 80}, {"Frequency", 50},
               {"Resonance", 1}, {"VCF Depth", 80}, {"VCF Decay", 110}, {"VCF Release", 100}, {"VCF V.Sens", 0},
               {"Decay", 127}, {"Release", 110}, {"V.Sens", 0}}}}},
    {"Chorus", false,
     {{"Subtle", {{"Depth", 40}, {"Rate", 30}, {"Delay", 50}}}, {"Wide", {{"Depth", 90}, {"Rate", 50}, {"Delay", 80}}}}},
    {"Delay", false,
     {{"Short Slap", {{"Time", 3528}, {"Maximum Time", 44100}, {"Balance", 64}, {"Feedback", 20}}},
      {"Quarter Note 120 BPM", {{"Time", 22050}, {"Maximum Time", 44100}, {"Balance", 64}, {"Feedback", 50}}},
      {"Eighth Note 120 BPM", {{"Time", 11025}, {"Maximum Time", 44100}, {"Balance", 90}, {"Feedback", 60}}}}},
    {"Distortion", false,
     {{"Crunch", {{"Mode", 0}, {"Distortion", 1}, {"Bass", 2}, {"Treble", 2}}},
      {"Fuzz", {{"Mode", 0}, {"Distortion", 4}, {"Bass", 1}, {"Treble", 3}}},
      {"Degrader", {{"Mode", 1}, {"Distortion", 3}, {"Bass", 2}, {"Treble", 2}}}}},
    {"Flanger", false,
     {{"Slow Sweep", {{"Depth", 80}, {"Rate", 16}, {"Delay", 24}}},
      {"Jet", {{"Depth", 110}, {"Rate", 40}, {"Delay", 10}}}}},
    {"Reverb", false, {{"Small Room", {{"Time", 2}, {"Damp", 2}}}, {"Hall", {{"Time", 13}, {"Damp", 3}}}}},
    {"Reverb Lite", false, {{"Small Room", {{"Time", 53}, {"Damp", 3}}}, {"Hall", {{"Time", 60}, {"Damp", 4}}}}},
};

const fs::path kRepositorySkins = fs::path(JORVO_SOURCE_DIR) / "skins";

std::unique_ptr<SeqEventTarget> Create(const ShippedFile& file)
{
    if (file.instrument)
        return SeqEventTargetFactory::CreateInstrument(file.engine);
    return SeqEventTargetFactory::CreateEffect(file.engine);
}

SeqParameter* FindByName(const SeqEventTarget& target, const std::string& name)
{
    for (const auto& [number, parameter] : target.Parameters()) {
        if (parameter->Name() == name)
            return parameter;
    }
    return nullptr;
}

fs::path PresetFilePath(const fs::path& skins, const std::string& engine)
{
    return skins / engine / (engine + ".presets");
}

class PresetShippedTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir skins;

    void UseSkins(const fs::path& folder) { ASSERT_TRUE(Configuration().SetSkinsDir(folder.string())); }

    // Saves every preset of `file` through the preset dialog's model into the skins folder in use.
    void Build(const ShippedFile& file)
    {
        const std::unique_ptr<SeqEventTarget> target = Create(file);
        ASSERT_TRUE(target) << file.engine;
        for (const ShippedPreset& preset : file.presets) {
            for (const auto& [name, value] : preset.values)
                ASSERT_TRUE(FindByName(*target, name) && FindByName(*target, name)->SetStored(value)) << name;
            target->ApplyParameters();
            shell.presetScripts.push_back(
                [&](const PresetDialogRequest& request) { return request.model->SavePreset(0, preset.name); });
            ASSERT_TRUE(EditPresets(*target, PresetDialogMode::Save)) << preset.name;
        }
    }
};

TEST_F(PresetShippedTest, TheCommittedFilesAreWhatTheEnginesWrite)
{
    const bool update = std::getenv("JORVO_UPDATE_SHIPPED_PRESETS") != nullptr;
    UseSkins(update ? kRepositorySkins : skins.path());
    for (const ShippedFile& file : kShippedFiles) {
        if (update)
            fs::remove(PresetFilePath(kRepositorySkins, file.engine));
        Build(file);
        if (!update) {
            const std::string shipped = test::ReadFileBytes(PresetFilePath(kRepositorySkins, file.engine));
            EXPECT_FALSE(shipped.empty()) << file.engine;
            EXPECT_EQ(test::ReadFileBytes(PresetFilePath(skins.path(), file.engine)), shipped) << file.engine;
        }
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(PresetShippedTest, EveryShippedPresetLoadsIntoItsEngine)
{
    UseSkins(kRepositorySkins);
    for (const ShippedFile& file : kShippedFiles) {
        const std::unique_ptr<SeqEventTarget> target = Create(file);
        ASSERT_TRUE(target);
        shell.presetScripts.push_back([&](const PresetDialogRequest& request) {
            const PresetModel& model = *request.model;
            EXPECT_EQ(model.Banks().size(), 1u);
            EXPECT_EQ(model.Banks()[0].presets.size(), file.presets.size()) << file.engine;
            for (const ShippedPreset& preset : file.presets) {
                EXPECT_TRUE(request.model->LoadPreset(0, preset.name, target->GetName())) << preset.name;
                for (const auto& [name, value] : preset.values) {
                    EXPECT_EQ(FindByName(*target, name)->StoredValue(), value) << file.engine << " " << name;
                    EXPECT_EQ(FindByName(*target, name)->LiveValue(), value) << file.engine << " " << name;
                }
            }
            return true;
        });
        EXPECT_TRUE(EditPresets(*target, PresetDialogMode::Load)) << file.engine;
    }
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
