#include "engine/SamplerVoice.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace jorvo {

namespace {

constexpr std::int32_t kLevelsPerHalving = 4096;
constexpr std::int32_t kFullMantissa = 8191;
constexpr std::int32_t kPanScale = 128;
constexpr float kOutputRate = 44100.0f;
constexpr float kUnityStep = 65536.0f;
// The largest step whose sum with a fraction still fits 32 bits.
constexpr float kMaxStep = 2147418112.0f; // 0x7FFF0000
// The shift of a voice stopped at the end of its sample.
constexpr std::int32_t kStoppedShift = 28;

// Linear interpolation between two samples at `fraction` / 65536 of the way. The product is taken
// in 64 bits: a full-scale jump times a large fraction does not fit 32.
std::int32_t Interpolate(std::int32_t first, std::int32_t second, std::uint32_t fraction)
{
    return first + static_cast<std::int32_t>((static_cast<std::int64_t>(second - first) * fraction) >> 16);
}

} // namespace

std::int32_t SamplerVoice::PitchStep(float pitchRate, std::int32_t cents)
{
    const float ratio = static_cast<float>(std::exp(cents * std::numbers::ln2 / 1200.0));
    const float step = pitchRate * ratio / kOutputRate * kUnityStep + 0.5f;
    if (!(step > 0.0f))
        return 0;
    return static_cast<std::int32_t>(std::min(step, kMaxStep));
}

void SamplerVoice::SetLevel(std::int32_t newLevel)
{
    level = newLevel;
    mantissa = kFullMantissa - level % kLevelsPerHalving;
    shift = level / kLevelsPerHalving;
}

void SamplerVoice::MixFrames(std::int64_t* left, std::int64_t* right, int frames)
{
    if (IsSilent())
        return;
    if (stereo == 0)
        MixFramesOf<false>(left, right, frames);
    else
        MixFramesOf<true>(left, right, frames);
}

// The level, and so the gain, is fixed for the run; a mono sample is gained once for both sides.
// Position and fraction live in locals and go back to the voice only where the end is passed.
// The frames whose step stays within the sample run without the end test; only the one frame
// whose step passes the end takes the slow way.
template <bool Stereo>
void SamplerVoice::MixFramesOf(std::int64_t* left, std::int64_t* right, int frames)
{
    const std::int64_t leftWeight = kPanScale - pan;
    const std::int64_t rightWeight = pan;
    const std::int32_t gain = mantissa;
    const std::int32_t gainShift = shift;
    const std::int32_t stride = step;
    const std::int16_t* const samples = data;
    std::int32_t at = position;
    std::uint32_t part = fraction;
    const auto mixFrame = [&](int i) {
        if constexpr (Stereo) {
            const std::int16_t* frame = samples + static_cast<std::ptrdiff_t>(at) * 2;
            left[i] += leftWeight * ((Interpolate(frame[0], frame[2], part) * gain) >> gainShift);
            right[i] += rightWeight * ((Interpolate(frame[1], frame[3], part) * gain) >> gainShift);
        } else {
            const std::int32_t gained = (Interpolate(samples[at], samples[at + 1], part) * gain) >> gainShift;
            left[i] += leftWeight * gained;
            right[i] += rightWeight * gained;
        }
    };
    for (int i = 0; i < frames;) {
        const int stop = i + static_cast<int>(std::min<std::int64_t>(frames - i, StepsWithin(at, part)));
        for (; i < stop; ++i) {
            mixFrame(i);
            const std::int32_t total = stride + static_cast<std::int32_t>(part);
            at += total >> 16;
            part = static_cast<std::uint32_t>(total & 0xFFFF);
        }
        if (i == frames)
            break;
        mixFrame(i++);
        const std::int32_t total = stride + static_cast<std::int32_t>(part);
        fraction = static_cast<std::uint32_t>(total & 0xFFFF);
        PassEnd(static_cast<std::int64_t>(at) + (total >> 16));
        if (IsSilent())
            return;
        at = position;
        part = fraction;
    }
    position = at;
    fraction = part;
}

std::int64_t SamplerVoice::StepsWithin(std::int32_t at, std::uint32_t part) const
{
    // Step m from (at, part) lands at or before `end` while part + m × step < (end − at + 1) × 65536.
    const std::int64_t room = (static_cast<std::int64_t>(end) - at + 1) * 65536 - part;
    if (room <= 0)
        return 0;
    if (step <= 0)
        return std::numeric_limits<std::int64_t>::max();
    return (room - 1) / step;
}

void SamplerVoice::PassEnd(std::int64_t next)
{
    if (loop == 0) {
        Stop();
        return;
    }
    next -= loop;
    // A step longer than the loop would land past the end again: wrap within the loop.
    const std::int64_t loopStart = static_cast<std::int64_t>(end) - loop + 1;
    if (next > end)
        next = loopStart + (next - loopStart) % loop;
    position = static_cast<std::int32_t>(next);
}

void SamplerVoice::StepEnvelope()
{
    const std::int32_t newLevel = level + rate;
    if (newLevel > kSilentLevel)
        rate = 0;
    SetLevel(newLevel);
}

void SamplerVoice::Stop()
{
    rate = 0;
    step = 0;
    position = 0;
    level = kSilentLevel;
    shift = kStoppedShift;
}

} // namespace jorvo
