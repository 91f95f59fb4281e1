#include "engine/EffectFlanger.h"

#include <algorithm>

#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectFlanger, Effect, 0)

namespace {
constexpr std::int32_t kControlPeriod = 256;
} // namespace

EffectFlanger::EffectFlanger() : FixedLayoutEffect(kOutputChannels)
{
    SetNameDirect("Flanger");
    AddParameter(&depth_);
    AddParameter(&rate_);
    AddParameter(&delay_);
    UpdateSweep();
}

// The fed-back tap goes with the line: otherwise the first sample after a reset would still
// carry the old sound.
void EffectFlanger::Reset()
{
    ResetBase();
    line_.fill(0);
    last_ = 0;
    UpdateSweep();
}

void EffectFlanger::UpdateSweep()
{
    const std::int32_t rate = rate_.LiveValue();
    const std::int32_t delay = delay_.LiveValue();
    depthScale_ = depth_.LiveValue();
    lfoIncrement_ = rate * rate + 10;
    baseDelay_ = delay * delay * 32;
}

// The line is written downward; when the index passes below 0 the first sample is copied past the
// end, so the interpolating read at the top index finds its neighbour.
std::int32_t EffectFlanger::Write(std::int32_t sample)
{
    if (--write_ < 0) {
        line_[kLineUsed] = line_[0];
        write_ = kLineUsed - 1;
    }
    std::int32_t& slot = line_[static_cast<std::size_t>(write_)];
    const std::int32_t old = slot;
    slot = Sub32(0, Add32(sample, last_ >> 1));
    return old;
}

void EffectFlanger::ControlTick()
{
    phase_ = (phase_ + lfoIncrement_) & SineTable::kPhaseMask;
    std::int32_t delay = sine_.Lookup(phase_) * depthScale_ + baseDelay_;
    if (delay < kShortestDelay)
        delay = 2 * kShortestDelay - delay;
    step_ = ReadPosition::GlideStep(delay, write_, position_, kLineUsed * ReadPosition::kOne);
}

bool EffectFlanger::Process(const std::int32_t* input, int frames)
{
    if (OutputChannels() != kOutputChannels)
        return false;
    std::int32_t* output = Output();
    const int count = std::clamp(frames, 0, kMaxFrames);
    for (int frame = 0; frame < count; ++frame) {
        const std::int32_t old = Write(input[frame]);
        if (--countdown_ == 0) {
            countdown_ = kControlPeriod;
            ControlTick();
        }
        position_ = ReadPosition::Advance(position_, step_, kLineUsed * ReadPosition::kOne);
        const std::int32_t tap = ReadPosition::Interpolate(line_.data(), position_);
        last_ = tap;
        output[2 * frame] = Add32(old, tap);
        output[2 * frame + 1] = Sub32(tap, old);
    }
    SetRendered(true);
    return true;
}

} // namespace jorvo
