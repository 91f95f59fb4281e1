#include "engine/EffectReverbLite.h"

#include <algorithm>

#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectReverbLite, Effect, 0)

namespace {
// Start indices: as every index moves down one per sample, these are the delays in samples.
constexpr std::array<std::int32_t, 4> kCombDelays = {940, 854, 713, 599};
constexpr std::int32_t kDelayP = 221;
constexpr std::int32_t kDelayQ = 198;
} // namespace

EffectReverbLite::EffectReverbLite()
    : FixedLayoutEffect(kOutputChannels), allPassP_(kAllPassSize, 0), allPassQ_(kAllPassSize, 0)
{
    for (Comb& comb : combs_)
        comb.line.assign(kCombSize, 0);
    SetNameDirect("Reverb Lite");
    AddParameter(&time_);
    AddParameter(&damp_);
    Reset();
}

void EffectReverbLite::Reset()
{
    ResetBase();
    for (std::size_t j = 0; j < kCombs; ++j) {
        std::fill(combs_[j].line.begin(), combs_[j].line.end(), 0);
        combs_[j].read = kCombDelays[j];
        combs_[j].state = 0;
    }
    std::fill(allPassP_.begin(), allPassP_.end(), 0);
    std::fill(allPassQ_.begin(), allPassQ_.end(), 0);
    write_ = 0;
    readP_ = kDelayP;
    readQ_ = kDelayQ;
}

// The write index moves with the first comb, before that comb writes.
std::int32_t EffectReverbLite::RunComb(std::size_t j, std::int32_t x, std::int32_t g, std::int32_t m)
{
    Comb& comb = combs_[j];
    comb.read = (comb.read - 1) & (kCombSize - 1);
    const std::int32_t tap = comb.line[static_cast<std::size_t>(comb.read)];
    if (j == 0)
        write_ = (write_ - 1) & (kCombSize - 1);
    const std::int32_t y = Add32(x, Mul32(g, tap) >> 6);
    comb.state = Add32(y, Sub32(comb.state, y) >> m);
    comb.line[static_cast<std::size_t>(write_)] = comb.state;
    return tap;
}

// The second stage also reads its own input of 256 samples earlier before overwriting it; the
// two outputs are its sum with and its difference from the stage's output.
void EffectReverbLite::RunAllPasses(std::int32_t sum, std::int32_t* frame)
{
    const auto i = static_cast<std::size_t>(write_ & (kAllPassSize - 1));
    readP_ = (readP_ - 1) & (kAllPassSize - 1);
    std::int32_t z = allPassP_[static_cast<std::size_t>(readP_)];
    allPassP_[i] = Add32(sum, z >> 1);
    const std::int32_t u = Sub32(sum, z);

    readQ_ = (readQ_ - 1) & (kAllPassSize - 1);
    z = allPassQ_[static_cast<std::size_t>(readQ_)];
    const std::int32_t earlier = allPassQ_[i];
    allPassQ_[i] = Add32(u, z >> 1);
    const std::int32_t o = Sub32(u, z);

    frame[0] = Add32(earlier, o);
    frame[1] = Sub32(o, earlier);
}

bool EffectReverbLite::Process(const std::int32_t* input, int frames)
{
    if (OutputChannels() != kOutputChannels)
        return false;
    std::int32_t* output = Output();
    const std::int32_t g = time_.LiveValue();
    const std::int32_t m = damp_.LiveValue();
    const int count = std::clamp(frames, 0, kMaxFrames);
    for (int frame = 0; frame < count; ++frame) {
        const std::int32_t x = input[frame];
        const std::int32_t t1 = RunComb(0, x, g, m);
        const std::int32_t t2 = RunComb(1, x, g, m);
        const std::int32_t t3 = RunComb(2, x, g, m);
        const std::int32_t t4 = RunComb(3, x, g, m);
        RunAllPasses(Sub32(Add32(Sub32(t1, t2), t3), t4), output + 2 * frame);
    }
    SetRendered(true);
    return true;
}

} // namespace jorvo
