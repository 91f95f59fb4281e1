#pragma once
// "Reverb Lite": four damped comb filters in parallel, then two all-pass stages; a quarter of the
// Reverb's memory. Mono in, stereo out, fixed delay lengths (samples at 44100 Hz). Send effect:
// only the reverberation is produced.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/FixedLayoutEffect.h"

namespace jorvo {

class EffectReverbLite final : public FixedLayoutEffect {
    JORVO_DECLARE_PERSISTENT(EffectReverbLite)
public:
    // The engine's fixed shape: one input channel, this many output channels.
    static constexpr int kOutputChannels = 2;

    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kTime = 72,
        kDamp = 71,
    };

    // A reverb named "Reverb Lite", one input channel, two output channels, parameters at their
    // defaults, all buffers empty.
    EffectReverbLite();

    // Reads `frames` mono frames (at most kMaxFrames) and writes as many stereo frames; true.
    // False, with nothing written, when the output channel count is not the engine's. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Live values back to stored ones; buffers and indices back to their start.
    void Reset() override;

    // "Reverb Lite".
    std::string GetEngineName() const override { return "Reverb Lite"; }

private:
    static constexpr std::int32_t kCombSize = 1024;
    static constexpr std::int32_t kAllPassSize = 256;
    static constexpr std::size_t kCombs = 4;

    // One damped comb filter.
    struct Comb {
        std::vector<std::int32_t> line;
        std::int32_t read = 0;
        std::int32_t state = 0;
    };

    // Runs comb `j` on input `x` with feedback gain `g`/64 and damping shift `m`; returns its tap.
    std::int32_t RunComb(std::size_t j, std::int32_t x, std::int32_t g, std::int32_t m);
    // The comb sum through both all-pass stages; the output frame.
    void RunAllPasses(std::int32_t sum, std::int32_t* frame);

    SeqParameter time_{"Time", "Reverb Time", kTime, 52, 62, 57};
    SeqParameter damp_{"Damp", "High Frequency Damping", kDamp, 1, 6, 4};

    std::array<Comb, kCombs> combs_;
    std::vector<std::int32_t> allPassP_;
    std::vector<std::int32_t> allPassQ_;
    std::int32_t write_ = 0;
    std::int32_t readP_ = 0;
    std::int32_t readQ_ = 0;
};

} // namespace jorvo
