#pragma once
// A studio with recording instruments for sequencer tests: each instrument notes every event it
// receives together with the number of frames it had rendered by then, which is the sample at
// which the event took effect.
#include <cstdint>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Instrument.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventNote.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "platform/ShellServices.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"

namespace jorvo::test::sequencing {

// One event as a target received it.
struct ReceivedEvent {
    std::int32_t code = 0;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
    long frame = 0; // frames rendered before the event arrived

    bool operator==(const ReceivedEvent&) const = default;
};

inline void PrintTo(const ReceivedEvent& event, std::ostream* out)
{
    *out << "{" << event.code << ", " << event.a << ", " << event.b << ", " << event.c << " @" << event.frame << "}";
}

class RecordingInstrument : public Instrument {
public:
    explicit RecordingInstrument(const std::string& name) { SetNameDirect(name); }

    bool Render(int frames) override
    {
        chunks.push_back(frames);
        framesRendered += frames;
        return false;
    }

    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t) override
    {
        events.push_back({code, a, b, c, framesRendered});
    }

    std::string GetEngineName() const override { return "Recorder"; }

    // The events with code `code`, in the order received.
    std::vector<ReceivedEvent> EventsWithCode(std::int32_t code) const
    {
        std::vector<ReceivedEvent> found;
        for (const ReceivedEvent& event : events)
            if (event.code == code)
                found.push_back(event);
        return found;
    }

    // The notes and controller changes, leaving out the transport codes the sequencer broadcasts.
    std::vector<ReceivedEvent> MusicalEvents() const
    {
        std::vector<ReceivedEvent> found;
        for (const ReceivedEvent& event : events)
            if (event.code != 202 && event.code != 252 && event.code != 253 && event.code != 255)
                found.push_back(event);
        return found;
    }

    std::vector<ReceivedEvent> events;
    std::vector<int> chunks;
    long framesRendered = 0;
};

// Adds a note to `pattern`.
inline void AddNote(SeqEventPattern& pattern, std::uint32_t start, std::uint32_t length, std::uint32_t pitch,
                    std::uint32_t velocity)
{
    auto note = std::make_unique<SeqEventNote>();
    note->SetStart(start);
    note->SetLength(length);
    note->SetPitch(pitch);
    note->SetVelocity(velocity);
    std::unique_ptr<SeqEvent> event = std::move(note);
    ASSERT_TRUE(pattern.InsertEvent(event));
}

// Adds a controller change to `pattern`.
inline void AddController(SeqEventPattern& pattern, std::uint32_t start, std::uint16_t controller, std::int32_t value)
{
    auto change = std::make_unique<SeqEventCC>();
    change->SetStart(start);
    change->SetController(controller);
    change->SetValue(value);
    std::unique_ptr<SeqEvent> event = std::move(change);
    ASSERT_TRUE(pattern.InsertEvent(event));
}

// The frame at which a pulse handled on its own is delivered at 44100 Hz, 120 bpm and 480
// pulses per quarter note: 45.9375 = 735 / 16 samples per pulse, rounded down.
inline long FrameOfPulse(long pulse)
{
    return pulse * 735 / 16;
}

// A studio (its sequencer included) with one recording instrument "Rec", under a recording shell.
class SequencerFixture : public ::testing::Test {
protected:
    SequencerFixture()
    {
        SequencerSettings::RestoreInitialValues();
        recorder = AddRecorder("Rec");
    }

    // A new recording instrument named `name`, inserted into the studio.
    RecordingInstrument* AddRecorder(const std::string& name)
    {
        std::unique_ptr<Instrument> instrument = std::make_unique<RecordingInstrument>(name);
        auto* recording = static_cast<RecordingInstrument*>(instrument.get());
        EXPECT_TRUE(studio.InsertInstrument(instrument));
        return recording;
    }

    // Renders blocks of `frames` until `total` frames were asked for; the frames produced.
    long RenderFrames(long total, int frames = 1024)
    {
        long produced = 0;
        while (total > 0) {
            int block = static_cast<int>(std::min<long>(frames, total));
            sequencer.Render(block);
            produced += block;
            total -= std::min<long>(frames, total);
        }
        return produced;
    }

    // `pattern` placed for `target` at 0 in a new section of `length` pulses placed at 0 in the song.
    SeqEventSection* PlaceInSong(SeqEventPattern* pattern, SeqEventTarget* target, std::uint32_t length)
    {
        SeqEventSection* section = sequencer.CreateSection("Section");
        Sequencer::EditLock lock(sequencer);
        section->AddPlacement(pattern, target, 0);
        section->SetLength(length);
        sequencer.GetSong()->AddPlacement(section, 0);
        return section;
    }

    RecordingShell shell;
    ScopedShell scopedShell{shell};
    SoundStudio studio;
    Sequencer& sequencer = studio.GetSequencer();
    RecordingInstrument* recorder = nullptr;
};

} // namespace jorvo::test::sequencing
