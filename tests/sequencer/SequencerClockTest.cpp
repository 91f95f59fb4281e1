// The pulse clock: samples per pulse, the accuracy groups, chunking, block limits, the play range
// with loop, rewind and the pending range, and the beat announcements.
#include <algorithm>

#include "sequencer/SequencerTestSupport.h"

#include "platform/WindowMessages.h"

namespace jorvo::test::sequencing {
namespace {

constexpr std::int32_t kController = 1;

class SequencerClockTest : public SequencerFixture {
protected:
    // A one-bar pattern with a controller change at every pulse from 0 to `last` (value = pulse),
    // placed for the recorder, the section and song as long as the pattern.
    SeqEventPattern* PulsePattern(std::uint32_t last)
    {
        SeqEventPattern* pattern = sequencer.CreatePattern("Pulses");
        for (std::uint32_t pulse = 0; pulse <= last; ++pulse)
            AddController(*pattern, pulse, kController, static_cast<std::int32_t>(pulse));
        PlaceInSong(pattern, recorder, pattern->GetLength());
        return pattern;
    }

    // The frame at which the recorder received the controller change of `pulse`; −1 when never.
    long FrameOfChange(std::int32_t pulse) const
    {
        for (const ReceivedEvent& event : recorder->events)
            if (event.code == kController && event.a == pulse)
                return event.frame;
        return -1;
    }
};

TEST_F(SequencerClockTest, SamplesPerPulseFollowRateTempoAndResolution)
{
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 45.9375f);   // 44100 × 60 / (120 × 480)
    EXPECT_TRUE(sequencer.SetPulsesPerQuarterNote(240));
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 91.875f);    // 44100 × 60 / (120 × 240)
    EXPECT_TRUE(sequencer.SetTempo(60));
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 183.75f);    // 44100 × 60 / (60 × 240)
    sequencer.SetSampleRate(22050);
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 91.875f);
    EXPECT_EQ(recorder->EventsWithCode(252), (std::vector<ReceivedEvent>{{252, 60, 240, 0, 0}}));
}

TEST_F(SequencerClockTest, TimingValuesOutOfRangeAreRefused)
{
    EXPECT_FALSE(sequencer.SetTempo(0));
    EXPECT_FALSE(sequencer.SetTempo(Sequencer::kMaxTempo + 1));
    EXPECT_FALSE(sequencer.SetPulsesPerQuarterNote(0));
    EXPECT_FALSE(sequencer.SetTimingAccuracy(2));
    EXPECT_EQ(SequencerSettings::GetTimingAccuracy(), 7u);
    for (std::uint32_t mask : {0u, 1u, 3u, 7u}) {
        EXPECT_TRUE(sequencer.SetTimingAccuracy(mask));
        EXPECT_EQ(SequencerSettings::GetTimingAccuracy(), mask);
    }
    sequencer.SetSampleRate(0);
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 45.9375f);
    EXPECT_TRUE(recorder->EventsWithCode(252).empty());
}

TEST_F(SequencerClockTest, AccuracySevenDeliversEightPulsesAtOneSample)
{
    PulsePattern(24);
    sequencer.Play();
    RenderFrames(1024);
    for (std::int32_t pulse = 0; pulse <= 7; ++pulse)
        EXPECT_EQ(FrameOfChange(pulse), 0) << pulse;
    // Eight pulses are 367.5 samples; the half sample carries into the next group.
    for (std::int32_t pulse = 8; pulse <= 15; ++pulse)
        EXPECT_EQ(FrameOfChange(pulse), 367) << pulse;
    for (std::int32_t pulse = 16; pulse <= 23; ++pulse)
        EXPECT_EQ(FrameOfChange(pulse), 735) << pulse;
    EXPECT_EQ(FrameOfChange(24), -1);
    EXPECT_EQ(recorder->chunks, (std::vector<int>{367, 368, 289}));
}

TEST_F(SequencerClockTest, AccuracyZeroDeliversEveryPulseOnItsOwn)
{
    sequencer.SetTimingAccuracy(0);
    PulsePattern(40);
    sequencer.Play();
    RenderFrames(2048);
    EXPECT_EQ(FrameOfChange(0), 0);
    EXPECT_EQ(FrameOfChange(1), 45);
    EXPECT_EQ(FrameOfChange(16), 735);
    for (std::int32_t pulse = 0; pulse <= 40; ++pulse)
        EXPECT_EQ(FrameOfChange(pulse), FrameOfPulse(pulse)) << pulse;
}

TEST_F(SequencerClockTest, ChunksWhilePlayingAreCutAtThePulses)
{
    sequencer.SetTimingAccuracy(0);
    sequencer.Play();
    RenderFrames(4096, 4096);
    ASSERT_GT(recorder->chunks.size(), 80u);
    // Every chunk but the block's last (cut by the block end) is 45 or 46 frames.
    for (std::size_t i = 0; i + 1 < recorder->chunks.size(); ++i)
        EXPECT_TRUE(recorder->chunks[i] == 45 || recorder->chunks[i] == 46) << i << ": " << recorder->chunks[i];
    EXPECT_EQ(recorder->framesRendered, 4096);

    recorder->chunks.clear();
    sequencer.SetTimingAccuracy(7);
    sequencer.SetPosition(0);
    RenderFrames(4096, 4096);
    ASSERT_GT(recorder->chunks.size(), 10u);
    for (std::size_t i = 0; i + 1 < recorder->chunks.size(); ++i)
        EXPECT_TRUE(recorder->chunks[i] == 367 || recorder->chunks[i] == 368) << i << ": " << recorder->chunks[i];
}

TEST_F(SequencerClockTest, ABlockIsAtMost4096FramesInChunksOf1024)
{
    int frames = 5000;
    const std::int32_t* block = sequencer.Render(frames);
    EXPECT_EQ(frames, 4096);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(recorder->chunks, (std::vector<int>{1024, 1024, 1024, 1024}));
    EXPECT_TRUE(std::all_of(block, block + 2 * 4096, [](std::int32_t sample) { return sample == 0; }));

    frames = -3;
    sequencer.Render(frames);
    EXPECT_EQ(frames, 0);
}

TEST_F(SequencerClockTest, LoopOnReturnsToTheRangeStartAfterTheLastPulse)
{
    sequencer.SetTimingAccuracy(0);
    SeqEventPattern* pattern = sequencer.CreatePattern("Bar");
    ASSERT_EQ(pattern->GetLength(), 1920u);
    sequencer.SetPlayRange(pattern, 0);
    sequencer.SetPosition(1919);
    sequencer.Play();
    recorder->events.clear();
    int frames = 10;
    sequencer.Render(frames);
    const Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_TRUE(state.playing);
    EXPECT_EQ(state.position, 0u);
    EXPECT_EQ(state.rangeEnd, 1920u);
    // The wrap is a jump: 202, then 253 with the new position.
    EXPECT_EQ(recorder->events, (std::vector<ReceivedEvent>{{202, 0, 0, 0, 0}, {253, 0, 0, 0, 0}}));
}

TEST_F(SequencerClockTest, LoopOffStopsAtTheRangeEndAndKeepsThePosition)
{
    sequencer.SetTimingAccuracy(0);
    SeqEventPattern* pattern = sequencer.CreatePattern("Bar");
    sequencer.SetPlayRange(pattern, 0);
    EXPECT_TRUE(sequencer.SetLoop(false));
    sequencer.SetPosition(1919);
    sequencer.Play();
    recorder->events.clear();
    int frames = 1024;
    sequencer.Render(frames);
    // Stopped while handling pulse 1919; the chunk up to the next pulse is still rendered.
    EXPECT_EQ(frames, 45);
    EXPECT_FALSE(sequencer.IsPlaying());
    EXPECT_EQ(sequencer.GetPlayState().position, 1919u);
    EXPECT_EQ(recorder->events, (std::vector<ReceivedEvent>{{255, 0, 0, 0, 0}}));
    EXPECT_FALSE(sequencer.SetLoop(true));
}

TEST_F(SequencerClockTest, RewindGoesToTheRangeStartThenToTheSong)
{
    SeqEventPattern* pattern = sequencer.CreatePattern("Bar");
    AddController(*pattern, 0, kController, 42);
    SeqEventSection* section = PlaceInSong(pattern, recorder, 1920);
    sequencer.SetPlayRange(section, 1920);
    sequencer.SetPosition(2000);

    sequencer.Rewind();
    Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_EQ(state.element, section);
    EXPECT_EQ(state.position, 1920u);

    recorder->events.clear();
    sequencer.Rewind();
    state = sequencer.GetPlayState();
    EXPECT_EQ(state.element, sequencer.GetSong());
    EXPECT_EQ(state.rangeStart, 0u);
    EXPECT_EQ(state.position, 0u);
    EXPECT_EQ(state.rangeEnd, sequencer.GetSong()->GetLength());
    // Stopped: the events of the new position are delivered once, then 255.
    EXPECT_EQ(recorder->events, (std::vector<ReceivedEvent>{
                                    {202, 0, 0, 0, 0}, {253, 0, 0, 0, 0}, {kController, 42, 0, 0, 0}, {255, 0, 0, 0, 0}}));
}

TEST_F(SequencerClockTest, PlayRangeChosenWhilePlayingWaitsForTheNextBarLine)
{
    sequencer.SetTimingAccuracy(0);
    SeqEventSong* song = sequencer.GetSong();
    SeqEventPattern* pattern = sequencer.CreatePattern("Bar");
    SeqEventSection* section = PlaceInSong(pattern, recorder, 1920);
    ASSERT_TRUE(song->SetLength(4 * 1920));
    sequencer.SetPlayRange(nullptr, 0);
    sequencer.Play();
    sequencer.SetPosition(2000);

    sequencer.SetPlayRange(section, 3840);
    Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_EQ(state.element, song);
    EXPECT_EQ(state.rangeEnd, 3840u); // (2000 ÷ 1920 + 1) × 1920
    EXPECT_EQ(state.pendingElement, section);
    EXPECT_EQ(state.pendingStart, 3840u);

    sequencer.SetPosition(3839);
    int frames = 10;
    sequencer.Render(frames);
    state = sequencer.GetPlayState();
    EXPECT_EQ(state.element, section);
    EXPECT_EQ(state.rangeStart, 3840u);
    EXPECT_EQ(state.position, 3840u);
    EXPECT_EQ(state.rangeEnd, 3840u + 1920u);
    EXPECT_EQ(state.pendingElement, nullptr);
    EXPECT_TRUE(state.playing);
}

TEST_F(SequencerClockTest, PlayRangeChosenWhileStoppedTakesOverAtOnce)
{
    SeqEventPattern* pattern = sequencer.CreatePattern("Bar");
    sequencer.SetPlayRange(pattern, 960);
    const Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_EQ(state.element, pattern);
    EXPECT_EQ(state.rangeStart, 960u);
    EXPECT_EQ(state.position, 960u);
    EXPECT_EQ(state.rangeEnd, 960u + 1920u);
    EXPECT_EQ(sequencer.GetSongPosition(), 960u);
}

TEST_F(SequencerClockTest, PlayStopAndFastForwardTellTheTargets)
{
    // A song long enough that pulse 70000 lies inside it.
    ASSERT_TRUE(sequencer.GetSong()->SetLength(100000));
    sequencer.SetPlayRange(nullptr, 0);
    sequencer.SetPosition(70000);
    recorder->events.clear();
    sequencer.Play();
    sequencer.Stop();
    sequencer.FastForward();
    EXPECT_EQ(sequencer.GetPlayState().position, 70480u);
    // 70000 = 0x11170: high half 1, low half 0x1170.
    EXPECT_EQ(recorder->events, (std::vector<ReceivedEvent>{{253, 1, 0x1170, 0, 0},
                                                            {255, 0, 0, 0, 0},
                                                            {202, 0, 0, 0, 0},
                                                            {253, 1, 0x1170 + 480, 0, 0}}));
}

TEST_F(SequencerClockTest, ALoopShorterThanAGroupStillEndsTheBlock)
{
    ASSERT_TRUE(sequencer.SetPulsesPerQuarterNote(8));
    SeqEventPattern* pattern = sequencer.CreatePattern("Tiny");
    ASSERT_TRUE(pattern->SetLength(4));
    ASSERT_EQ(pattern->GetLength(), 4u);
    // Pulses 1…4 loop, so the position never lands on a multiple of 8.
    sequencer.SetPlayRange(pattern, 1);
    sequencer.Play();
    int frames = 4096;
    sequencer.Render(frames);
    EXPECT_EQ(frames, 4096);
    const Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_GE(state.position, 1u);
    EXPECT_LT(state.position, 5u);
}

TEST_F(SequencerClockTest, EachBeatIsAnnouncedOnceWhenPolled)
{
    const WindowMessage updateTime = RegisterWindowMessage("WM_UPDATE_SEQTIME");
    EXPECT_FALSE(sequencer.PollSongTime());
    sequencer.SetPosition(961);
    EXPECT_FALSE(sequencer.PollSongTime());
    sequencer.SetPosition(960);
    EXPECT_EQ(sequencer.GetSongPosition(), 960u);
    shell.broadcasts.clear();
    EXPECT_TRUE(sequencer.PollSongTime());
    ASSERT_EQ(shell.broadcasts.size(), 1u);
    EXPECT_EQ(shell.broadcasts[0].message, updateTime);
    EXPECT_EQ(shell.broadcasts[0].wParam, 2u);
    EXPECT_EQ(shell.broadcasts[0].lParam, 960);
    EXPECT_FALSE(sequencer.PollSongTime());
    // Landing on the same beat again is a new beat.
    sequencer.SetPosition(960);
    EXPECT_TRUE(sequencer.PollSongTime());
}

} // namespace
} // namespace jorvo::test::sequencing
