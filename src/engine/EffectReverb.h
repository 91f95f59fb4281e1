#pragma once
// "Reverb": two diffusing all-pass stages feeding a network of four delay lines that feed back
// into one another; one line is damped. Mono in, stereo out, fixed delay lengths (samples at
// 44100 Hz). Send effect: only the reverberation is produced.
#include <cstdint>
#include <vector>

#include "engine/FixedLayoutEffect.h"

namespace jorvo {

class EffectReverb final : public FixedLayoutEffect {
    JORVO_DECLARE_PERSISTENT(EffectReverb)
public:
    // The engine's fixed shape: one input channel, this many output channels.
    static constexpr int kOutputChannels = 2;

    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kTime = 72,
        kDamp = 71,
    };

    // A reverb named "Reverb", one input channel, two output channels, parameters at their
    // defaults, all buffers empty.
    EffectReverb();

    // Reads `frames` mono frames (at most kMaxFrames) and writes as many stereo frames; true.
    // False, with nothing written, when the output channel count is not the engine's. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Live values back to stored ones; buffers and indices back to their start.
    void Reset() override;

    // "Reverb".
    std::string GetEngineName() const override { return "Reverb"; }

private:
    static constexpr std::int32_t kLineSize = 4096;
    static constexpr std::int32_t kAllPassSize = 256;

    // The network's running indices and line outputs. Process works on a copy in locals, so the
    // compiler need not assume that a store into a delay line changes them.
    struct Network {
        std::int32_t write = 0;
        std::int32_t readA = 0;
        std::int32_t readB = 0;
        std::int32_t readC = 0;
        std::int32_t readD = 0;
        std::int32_t readQ = 0;
        std::int32_t a = 0;
        std::int32_t b = 0;
        std::int32_t c = 0;
        std::int32_t d = 0;
    };

    // Index `index` moved down by one, wrapping to `size` − 1 below 0.
    static std::int32_t Down(std::int32_t index, std::int32_t size);
    // The input diffused by the two all-pass stages, at the network's write index.
    std::int32_t Diffuse(Network& network, std::int32_t x);

    SeqParameter time_{"Time", "Reverb Time", kTime, 0, 16, 8};
    SeqParameter damp_{"Damp", "High Frequency Damping", kDamp, 1, 5, 2};

    std::vector<std::int32_t> lineA_;
    std::vector<std::int32_t> lineB_;
    std::vector<std::int32_t> lineC_;
    std::vector<std::int32_t> lineD_;
    std::vector<std::int32_t> allPassP_;
    std::vector<std::int32_t> allPassQ_;
    Network network_;
};

} // namespace jorvo
