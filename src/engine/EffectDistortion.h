#pragma once
// "Distortion": a high-pass input filter, then either hard clipping (distort) or sample-and-hold
// (degrade), then a low-pass output filter; mono in, mono out. Send effect: only the processed
// signal is produced.
#include <cstdint>

#include "engine/FixedLayoutEffect.h"

namespace jorvo {

class EffectDistortion final : public FixedLayoutEffect {
    JORVO_DECLARE_PERSISTENT(EffectDistortion)
public:
    // The engine's fixed shape: one input channel, this many output channels.
    static constexpr int kOutputChannels = 1;

    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kMode = 30,
        kDistortion = 31,
        kBass = 32,
        kTreble = 33,
    };
    // The value of Mode that clips; the other holds samples.
    static constexpr std::int32_t kModeDistort = 0;
    // Clipped peaks are scaled back to this level whatever the distortion.
    static constexpr std::int32_t kPeak = 2097152;

    // A distortion named "Distortion", one input and one output channel, parameters at their
    // defaults.
    EffectDistortion();

    // Reads `frames` mono frames (at most kMaxFrames) and writes as many mono frames; true.
    // False, with nothing written, when the output channel count is not the engine's. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Live values back to stored ones; filters, hold countdown and held value cleared.
    void Reset() override;

    // "Distortion".
    std::string GetEngineName() const override { return "Distortion"; }

private:
    // A state-variable filter's two integrators.
    struct FilterState {
        std::int32_t band = 0;
        std::int32_t low = 0;
    };

    void UpdateShape();
    void LiveValuesChanged() override { UpdateShape(); }
    std::int32_t HighPass(std::int32_t x, int shift);
    std::int32_t Shape(std::int32_t h, std::int32_t mode);
    std::int32_t LowPass(std::int32_t y, int shift);

    SeqParameter mode_{"Mode", "Distort/Degrade", kMode, 0, 1, 0};
    SeqParameter distortion_{"Distortion", "Distortion Level", kDistortion, 0, 4, 2};
    SeqParameter bass_{"Bass", "Distortion Bass Gain", kBass, 0, 4, 1};
    SeqParameter treble_{"Treble", "Distortion Treble Gain", kTreble, 0, 4, 3};

    FilterState inputFilter_;
    FilterState outputFilter_;
    std::int32_t holdCountdown_ = 0;
    std::int32_t held_ = 0;
    std::int32_t holdLength_ = 0;
    std::int32_t clip_ = 0;
    int level_ = 0;   // the Distortion value in use: the shift that restores clipped peaks
};

} // namespace jorvo
