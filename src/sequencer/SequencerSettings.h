#pragma once
// The sequencer's class-wide timing values: one set for the whole program, shared by every
// sequencer and read by every time conversion (TimeText.h). The user-interface thread changes
// them (through the Sequencer); the audio thread reads them while rendering, so each is atomic.
//
// Beats per bar and pulses per quarter note are kept within 1…65535, so one bar (their product)
// always fits a 32-bit pulse count and no time conversion can divide by zero.
#include <cstdint>

namespace jorvo {

class SequencerSettings {
public:
    static constexpr std::int32_t kInitialTempo = 120;
    static constexpr std::int32_t kInitialBeatsPerBar = 4;
    static constexpr std::int32_t kInitialPulsesPerQuarterNote = 480;
    static constexpr std::uint32_t kInitialTimingAccuracy = 7;
    // The largest beats per bar and pulses per quarter note accepted.
    static constexpr std::int32_t kMaxDivision = 65535;

    SequencerSettings() = delete;

    // The tempo in beats per minute (a beat is a quarter note). Any thread.
    static std::int32_t GetTempo();
    // Stores `bpm`; false (unchanged) below 1. Does not tell the targets: the Sequencer does.
    static bool SetTempo(std::int32_t bpm);

    // Beats (quarter notes) per bar. Any thread.
    static std::int32_t GetBeatsPerBar();
    // Stores `beats`; false (unchanged) outside 1…kMaxDivision.
    static bool SetBeatsPerBar(std::int32_t beats);

    // Pulses per quarter note, the resolution of every event time. Any thread.
    static std::int32_t GetPulsesPerQuarterNote();
    // Stores `pulses`; false (unchanged) outside 1…kMaxDivision.
    static bool SetPulsesPerQuarterNote(std::int32_t pulses);

    // The mask of pulses the renderer handles together: 0, 1, 3 or 7. Any thread.
    static std::uint32_t GetTimingAccuracy();
    // Stores `mask`; false (unchanged) for anything but 0, 1, 3 and 7.
    static bool SetTimingAccuracy(std::uint32_t mask);
    // True for the accepted timing-accuracy masks 0, 1, 3 and 7.
    static bool IsValidTimingAccuracy(std::uint32_t mask);

    // Pulses in one bar: beats per bar × pulses per quarter note. Any thread.
    static std::uint32_t GetPulsesPerBar();

    // Back to 120 beats per minute, 4 beats per bar, 480 pulses per quarter note, accuracy 7.
    static void RestoreInitialValues();
};

} // namespace jorvo
