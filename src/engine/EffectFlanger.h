#pragma once
// "Flanger": a very short delay line with feedback, read by one tap whose delay a sine LFO
// sweeps. The two outputs are the sum and the difference of the tap and the sample written one
// line length earlier. Send effect: only the processed signal is produced.
#include <array>
#include <cstdint>

#include "engine/FixedLayoutEffect.h"
#include "engine/SineTable.h"

namespace jorvo {

class EffectFlanger final : public FixedLayoutEffect {
    JORVO_DECLARE_PERSISTENT(EffectFlanger)
public:
    // The engine's fixed shape: one input channel, this many output channels.
    static constexpr int kOutputChannels = 2;

    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kDepth = 30,
        kRate = 31,
        kDelay = 32,
    };

    // A flanger named "Flanger", one input channel, two output channels, parameters at their
    // defaults.
    EffectFlanger();

    // Reads `frames` mono frames (at most kMaxFrames) and writes as many stereo frames; true.
    // False, with nothing written, when the output channel count is not the engine's. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Live values back to stored ones, an empty line and no feedback; the tap and LFO keep running.
    void Reset() override;

    // "Flanger".
    std::string GetEngineName() const override { return "Flanger"; }

private:
    // The line holds 254 samples and one more that mirrors the first, for interpolation.
    static constexpr int kLineUsed = 254;
    static constexpr int kLineSize = 256;
    // Delays shorter than this (1/4096 sample) are reflected above it.
    static constexpr std::int32_t kShortestDelay = 6000;

    void UpdateSweep();
    void LiveValuesChanged() override { UpdateSweep(); }
    void ControlTick();
    // Writes the input with feedback; returns the sample it replaces.
    std::int32_t Write(std::int32_t sample);

    SeqParameter depth_{"Depth", "Flanger Depth", kDepth, 0, 127, 64};
    SeqParameter rate_{"Rate", "Flanger Rate", kRate, 0, 127, 32};
    SeqParameter delay_{"Delay", "Flanger Delay", kDelay, 0, 127, 32};

    const SineTable sine_ = SineTable::Flanger();
    std::array<std::int32_t, kLineSize> line_{};
    std::int32_t write_ = 0;
    std::int32_t position_ = 0;   // 20.12 read position
    std::int32_t step_ = 0;
    std::int32_t phase_ = 0;      // 20-bit LFO phase
    std::int32_t countdown_ = 1;
    std::int32_t last_ = 0;       // the previous tap, fed back
    std::int32_t depthScale_ = 0;
    std::int32_t lfoIncrement_ = 0;
    std::int32_t baseDelay_ = 0;
};

} // namespace jorvo
