#pragma once
// "Chorus": a mono input read back from a short delay line by two taps whose delays two sine
// LFOs of slightly different rates modulate; each tap is one output side. Send effect: only the
// processed signal is produced.
#include <array>
#include <cstdint>

#include "engine/FixedLayoutEffect.h"
#include "engine/SineTable.h"

namespace jorvo {

class EffectChorus final : public FixedLayoutEffect {
    JORVO_DECLARE_PERSISTENT(EffectChorus)
public:
    // The engine's fixed shape: one input channel, this many output channels.
    static constexpr int kOutputChannels = 2;

    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kDepth = 30,
        kRate = 31,
        kDelay = 32,
    };

    // A chorus named "Chorus", one input channel, two output channels, parameters at their defaults.
    EffectChorus();

    // Reads `frames` mono frames (at most kMaxFrames) and writes as many stereo frames; true.
    // False, with nothing written, when the output channel count is not the engine's. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Live values back to stored ones and an empty line; the taps and LFOs keep running.
    void Reset() override;

    // "Chorus".
    std::string GetEngineName() const override { return "Chorus"; }

private:
    // The line holds 1022 samples and one more that mirrors the first, for interpolation.
    static constexpr int kLineUsed = 1022;
    static constexpr int kLineSize = 1024;

    // One of the two modulated read taps.
    struct Tap {
        std::int32_t position = 0;   // 20.12 read position
        std::int32_t step = 0;       // added every sample
        std::int32_t phase = 0;      // 20-bit LFO phase
    };

    void UpdateModulation();
    void LiveValuesChanged() override { UpdateModulation(); }
    void ControlTick();
    void Write(std::int32_t sample);

    SeqParameter depth_{"Depth", "Chorus Depth", kDepth, 0, 127, 64};
    SeqParameter rate_{"Rate", "Chorus Rate", kRate, 0, 127, 64};
    SeqParameter delay_{"Delay", "Chorus Delay", kDelay, 0, 127, 64};

    const SineTable sine_ = SineTable::Chorus();
    std::array<std::int32_t, kLineSize> line_{};
    std::int32_t write_ = 0;
    std::array<Tap, 2> taps_{};
    std::array<std::int32_t, 2> lfoIncrements_{};
    std::int32_t depthScale_ = 0;
    std::int32_t baseDelay_ = 0;
    std::int32_t countdown_ = 1;
};

} // namespace jorvo
