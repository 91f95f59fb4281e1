// Playing a whole song through Render, and editing it while another thread renders.
#include <atomic>
#include <thread>

#include "sequencer/SequencerTestSupport.h"

namespace jorvo::test::sequencing {
namespace {

// What a target should receive at `pulse`.
struct Expected {
    std::int32_t code;
    std::int32_t a;
    std::int32_t b;
    std::int32_t c;
    long pulse;
};

std::vector<ReceivedEvent> AtFrames(const std::vector<Expected>& expected)
{
    std::vector<ReceivedEvent> events;
    for (const Expected& event : expected)
        events.push_back({event.code, event.a, event.b, event.c, FrameOfPulse(event.pulse)});
    return events;
}

class SequencerPlaybackTest : public SequencerFixture {
protected:
    SequencerPlaybackTest()
    {
        second = AddRecorder("Rec2");
        sequencer.SetTimingAccuracy(0);
    }

    // Bass: note 40 for 240 pulses at 0, volume 100 at 240, note 43 of one pulse at 480; 960 long.
    SeqEventPattern* MakeBass()
    {
        SeqEventPattern* bass = sequencer.CreatePattern("Bass");
        AddNote(*bass, 0, 240, 40, 100);
        AddController(*bass, 240, 7, 100);
        AddNote(*bass, 480, 1, 43, 80);
        EXPECT_TRUE(bass->SetLength(960));
        EXPECT_EQ(bass->GetLength(), 960u);
        return bass;
    }

    // Lead: note 72 over the whole 960 pulses, pan 30 at 480.
    SeqEventPattern* MakeLead()
    {
        SeqEventPattern* lead = sequencer.CreatePattern("Lead");
        AddNote(*lead, 0, 960, 72, 90);
        AddController(*lead, 480, 10, 30);
        EXPECT_TRUE(lead->SetLength(960));
        return lead;
    }

    RecordingInstrument* second = nullptr;
};

TEST_F(SequencerPlaybackTest, EveryEventOfASongReachesItsTargetAtItsSample)
{
    SeqEventPattern* bass = MakeBass();
    SeqEventPattern* lead = MakeLead();
    SeqEventSection* verse = sequencer.CreateSection("Verse");
    SeqEventSection* bridge = sequencer.CreateSection("Bridge");
    SeqEventSong* song = sequencer.GetSong();
    {
        Sequencer::EditLock lock(sequencer);
        // Verse: the bass twice for Rec (an alias), the lead for Rec2.
        verse->AddPlacement(bass, recorder, 0);
        verse->AddPlacement(bass, recorder, 960);
        verse->AddPlacement(lead, second, 0);
        // Bridge: the same patterns, targets swapped.
        bridge->AddPlacement(bass, second, 0);
        bridge->AddPlacement(lead, recorder, 480);
        verse->SetLength(1920);
        bridge->SetLength(1920);
        // The verse is placed twice (an aliased section).
        song->AddPlacement(verse, 0);
        song->AddPlacement(bridge, 1920);
        song->AddPlacement(verse, 3840);
        song->SetLength(1);
    }
    ASSERT_EQ(song->GetLength(), 5760u);
    EXPECT_TRUE(sequencer.IsPatternAliased(bass));
    EXPECT_TRUE(sequencer.IsSectionAliased(verse));
    EXPECT_FALSE(sequencer.IsSectionAliased(bridge));

    sequencer.SetLoop(false);
    sequencer.SetPlayRange(nullptr, 0);
    sequencer.Play();
    long produced = 0;
    for (int blocks = 0; sequencer.IsPlaying() && blocks < 400; ++blocks) {
        int frames = 1024;
        sequencer.Render(frames);
        produced += frames;
    }
    ASSERT_FALSE(sequencer.IsPlaying());

    // Bass at pulse s: on 40 at s, its end at s + 239, volume at s + 240, on 43 at s + 480.
    // Lead at pulse s: on 72 at s, pan at s + 480, its end at s + 959.
    const std::vector<Expected> first{
        {200, 40, 100, 240, 0},    {201, 40, 0, 0, 239},   {7, 100, 0, 0, 240},     {200, 43, 80, 1, 480},
        {200, 40, 100, 240, 960},  {201, 40, 0, 0, 1199},  {7, 100, 0, 0, 1200},    {200, 43, 80, 1, 1440},
        {200, 72, 90, 960, 2400},  {10, 30, 0, 0, 2880},   {201, 72, 0, 0, 3359},   {200, 40, 100, 240, 3840},
        {201, 40, 0, 0, 4079},     {7, 100, 0, 0, 4080},   {200, 43, 80, 1, 4320},  {200, 40, 100, 240, 4800},
        {201, 40, 0, 0, 5039},     {7, 100, 0, 0, 5040},   {200, 43, 80, 1, 5280},
    };
    const std::vector<Expected> other{
        {200, 72, 90, 960, 0},     {10, 30, 0, 0, 480},    {201, 72, 0, 0, 959},    {200, 40, 100, 240, 1920},
        {201, 40, 0, 0, 2159},     {7, 100, 0, 0, 2160},   {200, 43, 80, 1, 2400},  {200, 72, 90, 960, 3840},
        {10, 30, 0, 0, 4320},      {201, 72, 0, 0, 4799},
    };
    EXPECT_EQ(recorder->MusicalEvents(), AtFrames(first));
    EXPECT_EQ(second->MusicalEvents(), AtFrames(other));

    // Play announced the start; the end of the song (pulse 5759 handled) stopped it.
    EXPECT_EQ(recorder->events.front(), (ReceivedEvent{253, 0, 0, 0, 0}));
    EXPECT_EQ(recorder->events.back(), (ReceivedEvent{255, 0, 0, 0, FrameOfPulse(5759)}));
    // The block that stopped ends with the chunk up to where pulse 5760 would have been due.
    EXPECT_EQ(produced, FrameOfPulse(5760));
}

TEST_F(SequencerPlaybackTest, APlacementWithoutATargetIsKeptButNotPlayed)
{
    SeqEventPattern* bass = MakeBass();
    SeqEventSection* section = PlaceInSong(bass, nullptr, 1920);
    sequencer.Play();
    RenderFrames(44100);
    EXPECT_TRUE(recorder->MusicalEvents().empty());
    EXPECT_EQ(section->Placements().size(), 1u);
}

TEST_F(SequencerPlaybackTest, EditingWhileAnotherThreadRendersIsSafe)
{
    SeqEventPattern* bass = MakeBass();
    SeqEventSection* section = PlaceInSong(bass, recorder, 1920);
    sequencer.SetPlayRange(section, 0);
    sequencer.SetTimingAccuracy(0);
    sequencer.Play();

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        while (!done.load()) {
            int frames = 256;
            sequencer.Render(frames);
            blocks.fetch_add(1);
        }
    });

    // Wait (without a time limit) until the audio thread is rendering.
    while (blocks.load() == 0)
        std::this_thread::yield();
    for (int round = 0; round < 300; ++round) {
        SeqEventPattern* extra = sequencer.CreatePattern("Extra");
        AddNote(*extra, 0, 10, 60, 100); // not yet placed: no lock needed
        PatternPlacement* placement = nullptr;
        {
            Sequencer::EditLock lock(sequencer);
            AddNote(*bass, static_cast<std::uint32_t>(round % 960), 5, 50, 90);
            placement = section->AddPlacement(extra, second, static_cast<std::uint32_t>((round * 7) % 1920));
        }
        sequencer.ReplicatePattern(bass);
        sequencer.SendToTarget(second, 7, round % 128, 0, 0, 0);
        if (round % 10 == 0)
            sequencer.SetPosition(static_cast<std::uint32_t>(round));
        {
            Sequencer::EditLock lock(sequencer);
            EXPECT_TRUE(section->RemovePlacement(placement));
            const SeqEventPattern::EventList& events = bass->Events();
            if (events.size() > 3) {
                EXPECT_TRUE(bass->RemoveEvent(events.back().get()));
            }
        }
    }
    done.store(true);
    audio.join();

    EXPECT_GT(blocks.load(), 0);
    EXPECT_TRUE(sequencer.IsPlaying());
    EXPECT_FALSE(recorder->MusicalEvents().empty());
    EXPECT_EQ(second->EventsWithCode(7).size(), 300u);
}

} // namespace
} // namespace jorvo::test::sequencing
