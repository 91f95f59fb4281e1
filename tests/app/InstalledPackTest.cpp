// A sample pack installed into this machine's own Jorvo by a setup program (through the install
// helper's export, in a process of its own) is there when Jorvo next starts on the same settings:
// the sampler's preset dialog offers the pack's presets, and a loaded preset plays the pack's
// samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

#include "app/JorvoDoc.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/EventCodes.h"
#include "engine/InstrumentSampler.h"
#include "engine/PresetFile.h"
#include "engine/PresetModel.h"
#include "engine/SampleZone.h"
#include "engine/SeqEventTargetFactory.h"
#include "engine/SoundStudio.h"
#include "engine/TargetPaths.h"
#include "platform/FolderCopy.h"
#include "platform/Paths.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

// A user who has never run Jorvo; the program's configuration is read afresh for them.
class FreshUser {
public:
    FreshUser() { ResetConfiguration(); }
    ~FreshUser() { ResetConfiguration(); }

private:
    test::FreshHome home_;
};

// Runs the setup program on the shipped pack without naming a device: its exit code and the
// "DLLERROR" it printed.
std::pair<int, std::string> InstallShippedPackOnThisMachine()
{
    const std::string command = std::string(JORVO_TEST_SETUP_PROGRAM) + " '" + JORVO_TEST_INSTALL_HELPER +
                                "' StarterKit '" + JORVO_TEST_SAMPLE_PACK + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "cannot start the setup program"};
    std::string output(4096, '\0');
    output.resize(std::fread(output.data(), 1, output.size(), pipe));
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// What the program does at start before it opens a document, with the program folder the
// install helper sits in.
void StartJorvo()
{
    const std::string programFolder = JORVO_TEST_PROGRAM_FOLDER;
    ASSERT_TRUE(PrepareUserSkinsFolder(JoinPath(programFolder, "Skins"), UserSkinsFolder()));
    CopyMissingFiles(JoinPath(programFolder, "Samples"), Configuration().GetSampleDir());
    SeqEventTargetFactory::RescanPlugins();
}

const PresetBank* FindBank(const PresetModel& model, const std::string& name, std::size_t& index)
{
    const std::vector<PresetBank>& banks = model.Banks();
    const auto found = std::find_if(banks.begin(), banks.end(), [&](const PresetBank& bank) { return bank.name == name; });
    index = static_cast<std::size_t>(found - banks.begin());
    return found == banks.end() ? nullptr : &*found;
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Plays `key` on `sampler` through the sequencer, as the keyboard does, for about half a second:
// the loudest sample of the studio's output.
std::int32_t PlayNote(SoundStudio& studio, InstrumentSampler& sampler, std::int32_t key)
{
    Sequencer& sequencer = studio.GetSequencer();
    sequencer.SendToTarget(&sampler, kEventNoteStart, key, 100, 0, 0);
    std::int32_t peak = 0;
    for (int block = 0; block < 80; ++block) {
        int frames = 256;
        const std::int32_t* samples = studio.RenderBlock(frames);
        for (int i = 0; i < 2 * frames; ++i)
            peak = std::max(peak, std::abs(samples[i]));
    }
    sequencer.SendToTarget(&sampler, kEventNoteEnd, key, 0, 0, 0);
    return peak;
}

TEST(InstalledPack, PresetsAreOfferedAndSamplesPlayAfterInstallingOnThisMachine)
{
    const FreshUser user;
    RecordingShell shell;
    const ScopedShell scoped(shell);

    ASSERT_EQ(InstallShippedPackOnThisMachine(), std::make_pair(0, std::string()));
    StartJorvo();
    const fs::path samples = Configuration().GetSampleDir();
    EXPECT_TRUE(fs::is_regular_file(samples / "StarterKit" / "Drums" / "Kick.wav")) << samples;
    EXPECT_TRUE(fs::is_regular_file(samples / "StarterKit" / "Tones" / "Pluck.wav"));
    EXPECT_EQ(Configuration().GetSkinsDir(), UserSkinsFolder());
    // The program's own folder is left as shipped; the user's copy holds the merged presets.
    EXPECT_EQ(test::ReadFileBytes(fs::path(JORVO_TEST_PROGRAM_FOLDER) / "Skins" / "Sampler" / "Sampler.presets"),
              test::ReadFileBytes(fs::path(JORVO_TEST_SOURCE_SKINS) / "Sampler" / "Sampler.presets"));

    CJorvoDoc document;
    ASSERT_TRUE(document.NewDocument());
    SoundStudio& studio = *document.GetStudio();
    auto* sampler = dynamic_cast<InstrumentSampler*>(studio.AddInstrument("Sampler"));
    ASSERT_NE(sampler, nullptr);
    CXMLArchive archive;
    ASSERT_TRUE(OpenPresetFile(*sampler, archive));
    PresetModel model(archive, *sampler);

    // The pack's default-bank preset joins the shipped ones; its own bank arrives whole.
    std::size_t defaultIndex = 0;
    const PresetBank* defaultBank = FindBank(model, "Default", defaultIndex);
    ASSERT_NE(defaultBank, nullptr);
    EXPECT_TRUE(Contains(defaultBank->presets, "Drum Kit"));
    EXPECT_TRUE(Contains(defaultBank->presets, "Starter Drums"));
    std::size_t packIndex = 0;
    const PresetBank* packBank = FindBank(model, "Starter Kit", packIndex);
    ASSERT_NE(packBank, nullptr);
    EXPECT_EQ(packBank->presets, (std::vector<std::string>{"Starter Tones", "Starter Drums"}));

    ASSERT_TRUE(model.LoadPreset(packIndex, "Starter Tones", sampler->GetName()));
    ASSERT_NE(sampler->ZoneAt(72), nullptr);
    EXPECT_EQ(sampler->ZoneAt(72)->Snapshot().fileName, "StarterKit/Tones/Pluck.wav");
    EXPECT_EQ(sampler->ZoneAt(36)->Snapshot().fileName, "StarterKit/Tones/Bass.wav");
    EXPECT_GT(PlayNote(studio, *sampler, 72), 1000 * 256);
    EXPECT_GT(PlayNote(studio, *sampler, 36), 1000 * 256);

    ASSERT_TRUE(model.LoadPreset(defaultIndex, "Starter Drums", sampler->GetName()));
    EXPECT_EQ(sampler->ZoneAt(38)->Snapshot().fileName, "StarterKit/Drums/Snare.wav");
    EXPECT_GT(PlayNote(studio, *sampler, 38), 1000 * 256);
    EXPECT_EQ(shell.messages, std::vector<std::string>());
}

} // namespace
} // namespace jorvo
