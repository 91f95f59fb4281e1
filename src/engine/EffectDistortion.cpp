#include "engine/EffectDistortion.h"

#include <algorithm>

#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectDistortion, Effect, 0)

EffectDistortion::EffectDistortion() : FixedLayoutEffect(kOutputChannels)
{
    SetNameDirect("Distortion");
    AddParameter(&mode_);
    AddParameter(&distortion_);
    AddParameter(&bass_);
    AddParameter(&treble_);
    UpdateShape();
}

void EffectDistortion::Reset()
{
    ResetBase();
    inputFilter_ = FilterState{};
    outputFilter_ = FilterState{};
    holdCountdown_ = 0;
    held_ = 0;
    UpdateShape();
}

void EffectDistortion::UpdateShape()
{
    level_ = distortion_.LiveValue();
    holdLength_ = 1 << level_;
    clip_ = kPeak >> level_;
}

// Bass 4 (shift 1) lets the most bass through.
std::int32_t EffectDistortion::HighPass(std::int32_t x, int shift)
{
    const std::int32_t high = Sub32(Sub32(x, inputFilter_.band >> 1), inputFilter_.low);
    inputFilter_.band = Add32(inputFilter_.band, high >> shift);
    inputFilter_.low = Add32(inputFilter_.low, inputFilter_.band >> shift);
    return high;
}

// Distort clips and scales back so that the clipped peak is always kPeak; degrade holds every
// 2^Distortion + 1-th sample, doubled.
std::int32_t EffectDistortion::Shape(std::int32_t h, std::int32_t mode)
{
    if (mode == kModeDistort)
        return std::clamp(h, -clip_, clip_) * (1 << level_);
    if (--holdCountdown_ < 0) {
        held_ = Mul32(h, 2);
        holdCountdown_ = holdLength_;
    }
    return held_;
}

// Treble 4 (shift 0) passes its input straight through.
std::int32_t EffectDistortion::LowPass(std::int32_t y, int shift)
{
    outputFilter_.band = Add32(outputFilter_.band, Sub32(Sub32(y, outputFilter_.band), outputFilter_.low) >> shift);
    outputFilter_.low = Add32(outputFilter_.low, outputFilter_.band >> shift);
    return outputFilter_.low;
}

bool EffectDistortion::Process(const std::int32_t* input, int frames)
{
    if (OutputChannels() != kOutputChannels)
        return false;
    std::int32_t* output = Output();
    const std::int32_t mode = mode_.LiveValue();
    const int bassShift = 5 - bass_.LiveValue();
    const int trebleShift = 4 - treble_.LiveValue();
    const int count = std::clamp(frames, 0, kMaxFrames);
    for (int frame = 0; frame < count; ++frame)
        output[frame] = LowPass(Shape(HighPass(input[frame], bassShift), mode), trebleShift);
    SetRendered(true);
    return true;
}

} // namespace jorvo
