#pragma once
// The plain instrument every studio can fall back on: a mono sawtooth at the note's pitch and
// velocity, sounding from note start to note end with no envelope and no parameters.
#include <cstdint>

#include "engine/Instrument.h"

namespace jorvo {

class InstrumentDefault final : public Instrument {
    JORVO_DECLARE_PERSISTENT(InstrumentDefault)
public:
    // A silent instrument named "Default".
    InstrumentDefault();

    // 200 starts the ramp (note a, velocity b), 201 silences it whatever its note, 202 resets;
    // every other code, 255 included, is ignored. A velocity outside 0…127 ignores the note.
    // Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // Writes the ramp into Output(); false (nothing written) when no note sounds. A second call in
    // the same chunk returns true without writing. Audio thread.
    bool Render(int frames) override;
    // Back to the silent start state.
    void Reset() override;

    // "DefaultInstrument".
    std::string GetEngineName() const override { return "DefaultInstrument"; }

    // Instrument storage, then one version byte (1; skipped when loading). Loading a record of
    // another engine raises ArchiveException (Generic). UI thread.
    void Serialize(BinaryArchive& archive) override;

    // Samples per cycle of the sounding note (0 after a reset).
    std::int32_t Period() const { return period_; }
    // The ramp's rise per sample.
    std::int32_t Step() const { return step_; }
    // The sample the ramp stands at.
    std::int32_t Value() const { return value_; }
    // The ramp's bottom and (exclusive) top.
    std::int32_t Low() const { return low_; }
    std::int32_t High() const { return high_; }
    // The velocity of the last note (127 after a reset).
    std::int32_t Velocity() const { return velocity_; }
    bool IsPlaying() const { return playing_; }

private:
    void StartNote(std::int32_t note, std::int32_t velocity);

    std::int32_t period_ = 0;
    std::int32_t step_ = 0;
    std::int32_t value_ = 0;
    std::int32_t low_ = 0;
    std::int32_t high_ = 0;
    std::int32_t velocity_ = 127;
    bool playing_ = false;
};

} // namespace jorvo
