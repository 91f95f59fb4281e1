// The song rendered to a WAV file through the studio, driven by a scripted front end: file sizes
// follow from the song's length in frames (one 4/4 bar at 120 bpm and 44100 Hz is 2 s, 88200
// frames), and everything the render changed is put back afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/Instrument.h"
#include "engine/SongRenderer.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

constexpr std::uint32_t kBar = 4 * 480;

// Progress goes nowhere; Cancel is pressed at the poll numbered `cancelAtPoll` (never when 0).
class ScriptedFrontEnd : public RenderFrontEnd {
public:
    void BeginProgress(std::uint32_t, std::uint32_t) override {}
    void SetProgress(std::uint32_t) override {}
    bool CancelRequested() override { return ++polls == cancelAtPoll; }
    void EndProgress() override {}

    int cancelAtPoll = 0;
    int polls = 0;
};

std::uint32_t U32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<std::uint8_t>(bytes[offset + i])} << (8 * i);
    return value;
}

class SongRenderTest : public ::testing::Test {
protected:
    SongRenderTest()
    {
        SequencerSettings::RestoreInitialValues();
        // Every pulse at its own sample, so the song's last pulse ends exactly at its length.
        SequencerSettings::SetTimingAccuracy(0);
    }
    ~SongRenderTest() override { SequencerSettings::RestoreInitialValues(); }

    // A song of `bars` bars: one section holding a one-bar pattern of two mSyn notes.
    void BuildSong(std::uint32_t bars)
    {
        Instrument* synth = studio.AddInstrument("mSyn");
        ASSERT_NE(synth, nullptr);
        SeqEventPattern* pattern = sequencer.CreatePattern("Riff");
        SeqEventSection* section = sequencer.CreateSection("Verse");
        ASSERT_TRUE(pattern && section);
        for (std::uint32_t start : {0u, 960u}) {
            auto note = std::make_unique<SeqEventNote>();
            note->SetStart(start);
            note->SetLength(480);
            note->SetPitch(60 + start / 240);
            note->SetVelocity(100);
            std::unique_ptr<SeqEvent> event = std::move(note);
            ASSERT_TRUE(pattern->InsertEvent(event));
        }
        Sequencer::EditLock lock(sequencer);
        section->AddPlacement(pattern, synth, 0);
        ASSERT_TRUE(section->SetLength(bars * kBar));
        sequencer.GetSong()->AddPlacement(section, 0);
        ASSERT_TRUE(sequencer.GetSong()->SetLength(bars * kBar));
    }

    // Renders into `file` (chosen in the file dialog) with OK to the question.
    RenderOutcome Render(const std::filesystem::path& file)
    {
        shell.fileAnswers.push_back(file.string());
        SongRenderer renderer(studio, frontEnd);
        return renderer.Run("initial.wav");
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    Sequencer& sequencer = studio.GetSequencer();
    AudioOutput* realTimeOutput = &studio.GetOutput();
    ScriptedFrontEnd frontEnd;
    test::TempDir dir;
};

TEST_F(SongRenderTest, AnEmptyRangeIsAHeaderOnlyFile)
{
    // A new section is 0 pulses long until it is given a length.
    sequencer.SetPlayRange(sequencer.CreateSection("Empty"), 0);
    const auto file = dir / "empty.wav";
    EXPECT_EQ(Render(file), RenderOutcome::Rendered);
    const std::string bytes = test::ReadFileBytes(file);
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(U32(bytes, 4), 36u);
    EXPECT_EQ(U32(bytes, 40), 0u);
    EXPECT_EQ(shell.LastMessage(), "Rendering Successful\nFile '" + file.string() + "' Created");
}

TEST_F(SongRenderTest, OneBarIsRenderedOnceTheSameWayTwiceAndTheStudioIsPutBack)
{
    BuildSong(1);
    ASSERT_TRUE(sequencer.SetLoop(true));
    EXPECT_EQ(Render(dir / "first.wav"), RenderOutcome::Rendered);
    EXPECT_EQ(Render(dir / "second.wav"), RenderOutcome::Rendered);

    const std::string bytes = test::ReadFileBytes(dir / "first.wav");
    ASSERT_EQ(bytes.size(), 44u + 4 * 88200);
    EXPECT_EQ(U32(bytes, 4), 36u + 4 * 88200);
    EXPECT_EQ(U32(bytes, 40), 4u * 88200);
    EXPECT_NE(bytes.substr(44), std::string(4 * 88200, '\0'));
    EXPECT_TRUE(bytes == test::ReadFileBytes(dir / "second.wav"));

    EXPECT_EQ(shell.fileDialogRequests.at(0).initialPath, "initial.wav");
    ASSERT_EQ(shell.messages.size(), 4u);
    EXPECT_EQ(shell.messages[0], "Rendering from 001:01:001 to 002:01:001");
    EXPECT_EQ(shell.messages[1], "Rendering Successful\nFile '" + (dir / "first.wav").string() + "' Created");
    EXPECT_EQ(&studio.GetOutput(), realTimeOutput);
    EXPECT_FALSE(sequencer.IsPlaying());
    EXPECT_TRUE(sequencer.GetPlayState().loop);
}

TEST_F(SongRenderTest, CancelDropsTheFileAndRestoresPositionAndLoop)
{
    BuildSong(200); // far longer than the render gets before the cancel
    sequencer.SetPosition(kBar + 7);
    ASSERT_TRUE(sequencer.SetLoop(true));
    frontEnd.cancelAtPoll = 2;
    const auto file = dir / "cancelled.wav";
    EXPECT_EQ(Render(file), RenderOutcome::Cancelled);

    EXPECT_TRUE(std::filesystem::is_empty(dir.path())); // neither the file nor a temporary
    EXPECT_EQ(shell.LastMessage(), "Rendering Cancelled\nFile '" + file.string() + "' Deleted");
    const Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_FALSE(state.playing);
    EXPECT_TRUE(state.loop);
    EXPECT_EQ(state.position, kBar + 7);
    EXPECT_EQ(&studio.GetOutput(), realTimeOutput);
}

TEST_F(SongRenderTest, AnUncreatableFileFailsWithoutPlayingOrClaimingSuccess)
{
    BuildSong(1);
    sequencer.SetPosition(100);
    const auto file = dir / "no-such-folder" / "x.wav";
    EXPECT_EQ(Render(file), RenderOutcome::Failed);
    EXPECT_EQ(shell.LastMessage(), "Rendering Failed\nFile '" + file.string() + "' could not be created");
    EXPECT_EQ(shell.messages.size(), 2u); // the question and the failure, nothing more
    EXPECT_EQ(sequencer.GetPlayState().position, 100u);
    EXPECT_EQ(&studio.GetOutput(), realTimeOutput);
}

} // namespace
} // namespace jorvo
