#include "engine/EffectReverb.h"

#include <algorithm>

#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectReverb, Effect, 0)

namespace {
// Start indices: as every index moves down one per sample, these are the lines' delays.
constexpr std::int32_t kDelayA = 3574;
constexpr std::int32_t kDelayB = 2947;
constexpr std::int32_t kDelayC = 1906;
constexpr std::int32_t kDelayD = 2303;
constexpr std::int32_t kDelayQ = 182;

// `value` shifted right arithmetically by `amount`; 32 or more leaves only the sign (0 or −1), as
// long Time values ask.
std::int32_t ShiftRight(std::int32_t value, std::int32_t amount)
{
    return amount > 31 ? (value < 0 ? -1 : 0) : value >> amount;
}

// (value × gain) SHIFT RIGHT 6: the network's feedback gain gain/64.
std::int32_t Feedback(std::int32_t value, std::int32_t gain)
{
    return Mul32(value, gain) >> 6;
}
} // namespace

EffectReverb::EffectReverb()
    : FixedLayoutEffect(kOutputChannels), lineA_(kLineSize, 0), lineB_(kLineSize, 0), lineC_(kLineSize, 0),
      lineD_(kLineSize, 0), allPassP_(kAllPassSize, 0), allPassQ_(kAllPassSize, 0)
{
    SetNameDirect("Reverb");
    AddParameter(&time_);
    AddParameter(&damp_);
    Reset();
}

void EffectReverb::Reset()
{
    ResetBase();
    for (std::vector<std::int32_t>* buffer : {&lineA_, &lineB_, &lineC_, &lineD_, &allPassP_, &allPassQ_})
        std::fill(buffer->begin(), buffer->end(), 0);
    network_ = Network{.readA = kDelayA, .readB = kDelayB, .readC = kDelayC, .readD = kDelayD, .readQ = kDelayQ};
}

std::int32_t EffectReverb::Down(std::int32_t index, std::int32_t size)
{
    return index == 0 ? size - 1 : index - 1;
}

// Both stages have gain 3/4; P is read and written at the same index (256 samples), Q is read
// 182 samples behind its write index.
std::int32_t EffectReverb::Diffuse(Network& n, std::int32_t x)
{
    const auto i = static_cast<std::size_t>(n.write & (kAllPassSize - 1));
    const std::int32_t u = Add32(allPassP_[i], Sub32(x >> 2, x));
    allPassP_[i] = Add32(Sub32(u, u >> 2), x);
    n.readQ = Down(n.readQ, kAllPassSize);
    const std::int32_t v = Add32(allPassQ_[static_cast<std::size_t>(n.readQ)], Sub32(u >> 2, u));
    allPassQ_[i] = Add32(Sub32(u, v >> 2), v);
    return v;
}

bool EffectReverb::Process(const std::int32_t* input, int frames)
{
    if (OutputChannels() != kOutputChannels)
        return false;
    std::int32_t* output = Output();
    const std::int32_t k = time_.LiveValue() + 27;
    const std::int32_t m = damp_.LiveValue();
    const int count = std::clamp(frames, 0, kMaxFrames);
    Network n = network_;
    for (int frame = 0; frame < count; ++frame) {
        n.write = Down(n.write, kLineSize);
        const auto w = static_cast<std::size_t>(n.write);
        const std::int32_t v = Diffuse(n, input[frame]);

        n.readA = Down(n.readA, kLineSize);
        const std::int32_t tA = lineA_[static_cast<std::size_t>(n.readA)];
        n.a = Add32(Add32(tA, ShiftRight(Sub32(n.a, tA), k)), v);
        lineA_[w] = Feedback(Add32(n.c, n.b), k);

        n.readB = Down(n.readB, kLineSize);
        const std::int32_t tB = lineB_[static_cast<std::size_t>(n.readB)];
        n.b = Add32(Add32(tB, ShiftRight(Sub32(n.b, tB), m)), v);
        lineB_[w] = Sub32(0, Mul32(Add32(n.d, n.a), k)) >> 6;

        n.readC = Down(n.readC, kLineSize);
        const std::int32_t tC = lineC_[static_cast<std::size_t>(n.readC)];
        n.c = Add32(tC, v);
        lineC_[w] = Feedback(Sub32(n.a, n.d), k);

        n.readD = Down(n.readD, kLineSize);
        const std::int32_t tD = lineD_[static_cast<std::size_t>(n.readD)];
        n.d = Add32(tD, v);
        lineD_[w] = Feedback(Sub32(n.b, n.c), k);

        output[2 * frame] = Add32(n.c, tB);
        output[2 * frame + 1] = Add32(n.d, tA);
    }
    network_ = n;
    SetRendered(true);
    return true;
}

} // namespace jorvo
