#include "engine/EffectChorus.h"

#include <algorithm>

#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectChorus, Effect, 0)

namespace {
constexpr std::int32_t kControlPeriod = 256;
} // namespace

EffectChorus::EffectChorus() : FixedLayoutEffect(kOutputChannels)
{
    SetNameDirect("Chorus");
    AddParameter(&depth_);
    AddParameter(&rate_);
    AddParameter(&delay_);
    UpdateModulation();
}

void EffectChorus::Reset()
{
    ResetBase();
    line_.fill(0);
    UpdateModulation();
}

void EffectChorus::UpdateModulation()
{
    const std::int32_t depth = depth_.LiveValue();
    const std::int32_t rate = rate_.LiveValue();
    const std::int32_t delay = delay_.LiveValue();
    depthScale_ = depth * depth / 40;
    lfoIncrements_[0] = rate * rate * 4 + 610;
    lfoIncrements_[1] = (lfoIncrements_[0] * 213) >> 8;
    baseDelay_ = delay * delay * 124 + 6000;
}

// The line is written downward; when the index passes below 0 the first sample is copied past the
// end, so the interpolating read at the top index finds its neighbour.
void EffectChorus::Write(std::int32_t sample)
{
    if (--write_ < 0) {
        line_[kLineUsed] = line_[0];
        write_ = kLineUsed - 1;
    }
    line_[static_cast<std::size_t>(write_)] = Sub32(0, sample);
}

void EffectChorus::ControlTick()
{
    for (std::size_t side = 0; side < taps_.size(); ++side) {
        Tap& tap = taps_[side];
        tap.phase = (tap.phase + lfoIncrements_[side]) & SineTable::kPhaseMask;
        const std::int32_t target = depthScale_ * sine_.Lookup(tap.phase) + baseDelay_;
        tap.step = ReadPosition::GlideStep(target, write_, tap.position, kLineUsed * ReadPosition::kOne);
    }
}

bool EffectChorus::Process(const std::int32_t* input, int frames)
{
    if (OutputChannels() != kOutputChannels)
        return false;
    std::int32_t* output = Output();
    const int count = std::clamp(frames, 0, kMaxFrames);
    for (int frame = 0; frame < count; ++frame) {
        Write(input[frame]);
        if (--countdown_ == 0) {
            countdown_ = kControlPeriod;
            ControlTick();
        }
        for (std::size_t side = 0; side < taps_.size(); ++side) {
            Tap& tap = taps_[side];
            tap.position = ReadPosition::Advance(tap.position, tap.step, kLineUsed * ReadPosition::kOne);
            output[2 * frame + static_cast<int>(side)] = ReadPosition::Interpolate(line_.data(), tap.position);
        }
    }
    SetRendered(true);
    return true;
}

} // namespace jorvo
