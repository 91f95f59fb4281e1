// The shipped content must load and play: every bundled sample, the demo song (every target
// sounding, nothing clipping) and the sampler's presets. Reads the files from the repository.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "audio/SampleStore.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/BundledContent.h"
#include "platform/FolderCopy.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/InstrumentSampler.h"
#include "engine/SampleZone.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "support/TestSupport.h"
#include "support/DemoSong.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;

// Writes `bytes` to `file`, creating its folders.
void WriteFileBytes(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    test::WriteFileBytes(file, bytes);
}

using test::kRepository;
using test::kSamples;
using test::LoadDemo;

// Every WAV of the bundled pack, relative to the sample folder ("Drums/Kick.wav").
std::vector<std::string> BundledSampleNames()
{
    std::vector<std::string> names;
    for (const char* folder : {"Drums", "Tonal"})
        for (const auto& entry : fs::directory_iterator(kSamples / folder))
            names.push_back(fs::relative(entry.path(), kSamples).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

class DemoContentTest : public ::testing::Test {
protected:
    void SetUp() override { Configuration().SetSampleDir(kSamples.string()); }

    RecordingShell shell;
    ScopedShell scoped{shell};
};

TEST_F(DemoContentTest, EveryBundledSampleLoads)
{
    SoundStudio studio;
    const std::vector<std::string> names = BundledSampleNames();
    ASSERT_EQ(names.size(), 11u);
    for (std::string name : names) {
        const int index = studio.GetSampleStore().LoadSample(name);
        ASSERT_GE(index, 0) << name;
        const SampleRecord* record = studio.GetSampleStore().GetRecord(index);
        EXPECT_FALSE(record->data.empty()) << name;
        EXPECT_EQ(record->sampleRate, 44100u) << name;
        EXPECT_GT(record->endFrame, 4000u) << name;
    }
    EXPECT_TRUE(shell.messages.empty());
}

// Root notes and loops as synthesised: bass A2 with the last second looped, pad A3 (stereo) with
// the last two seconds, piano C4 without a loop. The loop splices seamlessly: the frame before
// the loop start equals the loop's last frame, as the loop holds whole periods.
TEST_F(DemoContentTest, TonalSamplesCarryRootAndSeamlessLoop)
{
    SoundStudio studio;
    struct Expected {
        std::string name;
        unsigned root;
        unsigned stereo;
        std::uint32_t endFrame;
        std::uint32_t loopLength;
    };
    for (Expected expected : {Expected{"Tonal/Bass.wav", 45, 0, 70559, 44100},
                              Expected{"Tonal/Pad.wav", 57, 1, 176399, 88200},
                              Expected{"Tonal/EPiano.wav", 60, 1, 132299, 0}}) {
        const int index = studio.GetSampleStore().LoadSample(expected.name);
        ASSERT_GE(index, 0);
        const SampleRecord& record = *studio.GetSampleStore().GetRecord(index);
        EXPECT_EQ(record.rootNote, expected.root) << expected.name;
        EXPECT_EQ(record.stereo, expected.stereo) << expected.name;
        EXPECT_EQ(record.endFrame, expected.endFrame) << expected.name;
        EXPECT_EQ(record.loopLength, expected.loopLength) << expected.name;
        if (expected.loopLength == 0)
            continue;
        const std::size_t width = expected.stereo + 1;
        const std::size_t beforeLoop = (expected.endFrame - expected.loopLength) * width;
        for (std::size_t side = 0; side < width; ++side)
            EXPECT_NEAR(record.data[beforeLoop + side], record.data[expected.endFrame * width + side], 1)
                << expected.name;
    }
}

TEST_F(DemoContentTest, DemoSongLoadsWithItsStructure)
{
    SoundStudio studio;
    LoadDemo(studio);
    EXPECT_TRUE(shell.messages.empty()) << shell.LastMessage();

    std::set<std::string> engines;
    for (const auto& instrument : studio.Instruments())
        engines.insert(instrument->GetEngineName());
    for (const auto& effect : studio.Effects())
        engines.insert(effect->GetEngineName());
    EXPECT_EQ(engines, (std::set<std::string>{"Sampler", "mSyn", "DefaultInstrument", "Reverb", "Delay"}));

    Sequencer& sequencer = studio.GetSequencer();
    for (const char* section : {"Intro", "Verse", "Chorus", "Break", "Outro"})
        EXPECT_NE(sequencer.FindSection(section), nullptr) << section;
    EXPECT_EQ(sequencer.GetSong()->Placements().size(), 6u);
    EXPECT_TRUE(sequencer.IsSectionAliased(sequencer.FindSection("Chorus")));
    EXPECT_TRUE(sequencer.IsPatternAliased(sequencer.FindPattern("Beat")));
    EXPECT_NE(sequencer.FindPattern("BeatOpen"), nullptr);

    // The closed and open hi-hat choke each other; the kick does not.
    auto* drums = dynamic_cast<InstrumentSampler*>(studio.FindInstrument("Drums"));
    ASSERT_NE(drums, nullptr);
    const auto hiHat = [&](int key) { return drums->ZoneAt(key)->Snapshot().values.hiHat; };
    EXPECT_TRUE(hiHat(42));
    EXPECT_TRUE(hiHat(46));
    EXPECT_FALSE(hiHat(36));
    EXPECT_EQ(drums->ZoneAt(36)->Snapshot().fileName, "Drums/Kick.wav");
}

bool HoldsSound(const std::int32_t* buffer, int samples)
{
    return buffer && std::any_of(buffer, buffer + samples, [](std::int32_t s) { return s != 0; });
}

// The whole song once: every instrument and effect produces sound, the mix is well above
// silence and never reaches the output's 16-bit limit, and the song lasts its 36 bars.
TEST_F(DemoContentTest, DemoSongRendersWithEveryTargetSounding)
{
    SoundStudio studio;
    LoadDemo(studio);
    Sequencer& sequencer = studio.GetSequencer();
    sequencer.SetLoop(false);
    sequencer.Play();

    std::set<const SeqEventTarget*> sounded;
    std::int64_t peak = 0;
    double energy = 0;
    std::int64_t total = 0;
    while (sequencer.IsPlaying()) {
        int frames = 256;
        const std::int32_t* block = studio.RenderBlock(frames);
        for (int i = 0; i < 2 * frames; ++i) {
            peak = std::max<std::int64_t>(peak, std::abs(static_cast<std::int64_t>(block[i])));
            energy += static_cast<double>(block[i]) * block[i];
        }
        total += frames;
        for (const auto& instrument : studio.Instruments())
            if (HoldsSound(instrument->Output(), instrument->Channels() * 1024))
                sounded.insert(instrument.get());
        for (const auto& effect : studio.Effects())
            if (HoldsSound(effect->Output(), effect->OutputChannels() * 1024))
                sounded.insert(effect.get());
    }
    EXPECT_EQ(sounded.size(), studio.Instruments().size() + studio.Effects().size());
    // 36 bars of 4 beats at 100 beats per minute: 86.4 s.
    EXPECT_NEAR(static_cast<double>(total), 86.4 * 44100, 4096);
    EXPECT_LT(peak, 32767 * 256);
    const double rms = std::sqrt(energy / (2.0 * static_cast<double>(total)));
    EXPECT_GT(rms, 0.05 * 32768 * 256);
}

TEST_F(DemoContentTest, SamplerPresetsNameBundledSamples)
{
    const std::string presets = ReadFileBytes(kRepository / "skins" / "Sampler" / "Sampler.presets");
    for (const char* name : {"Drum Kit", "Electric Piano", "Synth Bass", "Warm Pad"})
        EXPECT_NE(presets.find(std::string("Name=\"") + name + "\""), std::string::npos) << name;
    for (const std::string& sample : BundledSampleNames())
        EXPECT_NE(presets.find("filename=\"" + sample + "\""), std::string::npos) << sample;
}

class BundledContentTest : public ::testing::Test {
protected:
    TempDir temp;
};

TEST_F(BundledContentTest, CopiesMissingFilesAndKeepsTheUsers)
{
    const fs::path bundled = temp.path() / "Samples";
    const fs::path user = temp.path() / "User";
    WriteFileBytes(bundled / "Drums" / "Kick.wav", "bundled kick");
    WriteFileBytes(bundled / "Drums" / "Snare.wav", "bundled snare");
    WriteFileBytes(user / "Drums" / "Kick.wav", "my kick");

    ASSERT_TRUE(CopyMissingFiles(bundled.string(), user.string()));
    EXPECT_EQ(ReadFileBytes(user / "Drums" / "Kick.wav"), "my kick");
    EXPECT_EQ(ReadFileBytes(user / "Drums" / "Snare.wav"), "bundled snare");
}

TEST_F(BundledContentTest, RefusesAMissingSourceAndAFileInTheWay)
{
    EXPECT_FALSE(CopyMissingFiles((temp.path() / "Nothing").string(), (temp.path() / "User").string()));
    const fs::path bundled = temp.path() / "Samples";
    WriteFileBytes(bundled / "Drums" / "Kick.wav", "bundled kick");
    WriteFileBytes(temp.path() / "User" / "Drums", "a file where the folder goes");
    EXPECT_FALSE(CopyMissingFiles(bundled.string(), (temp.path() / "User").string()));
    EXPECT_EQ(ReadFileBytes(temp.path() / "User" / "Drums"), "a file where the folder goes");
}

TEST_F(BundledContentTest, InstallsIntoTheSampleFolder)
{
    const fs::path user = temp.path() / "MySamples";
    ASSERT_TRUE(Configuration().SetSampleDir(user.string()));
    ASSERT_TRUE(CopyMissingFiles(kSamples.string(), user.string()));
    EXPECT_TRUE(fs::exists(user / "Drums" / "Kick.wav"));
    EXPECT_EQ(BundledSamplesFolder(), Configuration().GetProgramFolder() + "/Samples");
}

} // namespace
} // namespace jorvo
