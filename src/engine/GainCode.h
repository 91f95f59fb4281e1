#pragma once
// Mixer gains are 9-bit codes rather than arbitrary factors: the low 4 bits hold a mantissa m and
// the rest a shift k, standing for (31 − m) / 2^k, so applying one costs one multiply and one
// arithmetic shift. Level/pan pairs become codes through one 128-entry table, and running gains
// move toward new codes one code step per chunk.
#include <cstdint>

#include "engine/FixedPoint.h"

namespace jorvo {

using GainCode = std::uint16_t;

// Code 79 is exactly 1 (16 / 16).
inline constexpr GainCode kUnityGain = 79;
// The code of level index 0 (16 / 2^28): practically silent.
inline constexpr GainCode kSilentGain = 463;
// Level indices run 0…127.
inline constexpr int kMaxGainIndex = 127;

// The code for level index `index`, clamped to 0…127.
GainCode GainCodeForIndex(int index);

// A left and a right gain code.
struct GainPair {
    GainCode left = kSilentGain;
    GainCode right = kSilentGain;
    bool operator==(const GainPair&) const = default;
};

// The codes of `level` (0…127) panned to `pan` (0…127, 64 = centre): the side the sound is panned
// toward keeps the full level, the other falls linearly with the pan distance.
GainPair PanGains(int level, int pan);

// A code split once per chunk into the multiplier and shift applied to every sample.
struct GainFactor {
    std::int32_t multiplier;
    int shift;
};

// The multiplier 31 − (code AND 15) and the shift code SHIFT RIGHT 4 (at most 31).
GainFactor FactorOf(GainCode code);

// `sample` × multiplier, arithmetic-shifted right; products wrap at 32 bits.
inline std::int32_t ApplyGain(std::int32_t sample, GainFactor factor)
{
    return Mul32(sample, factor.multiplier) >> factor.shift;
}

// `sample` scaled by `code`.
inline std::int32_t ApplyGain(std::int32_t sample, GainCode code)
{
    return ApplyGain(sample, FactorOf(code));
}

// `current` moved one code step toward `target` (unchanged when equal).
GainCode StepToward(GainCode current, GainCode target);

// The running gains of a mixer strip or the master: current codes and the targets they move to.
// Written on the user-interface thread under the studio's render lock, read on the audio thread.
class FadingGains {
public:
    // Current and target both at `start` (a new strip does not fade in).
    explicit FadingGains(GainPair start) : current_(start), target_(start) {}

    const GainPair& Current() const { return current_; }
    const GainPair& Target() const { return target_; }
    // True while either current code differs from its target.
    bool IsFading() const { return !(current_ == target_); }

    // New targets; the current codes move toward them chunk by chunk.
    void SetTarget(GainPair target) { target_ = target; }
    // The current codes jump to the targets at once.
    void Snap() { current_ = target_; }
    // Each current code moves one step toward its target. Once per chunk, audio thread.
    void Step();

private:
    GainPair current_;
    GainPair target_;
};

// Adds `frames` frames of `source` (mono or interleaved stereo by `sourceChannels`) to the stereo
// block `block` with `gains`: mono feeds both sides through their own codes. Audio thread.
void MixIntoStereo(std::int32_t* block, const std::int32_t* source, int sourceChannels, int frames,
                   GainPair gains);

// Multiplies the `frames` stereo frames of `block` in place, each side by its own code.
void ScaleStereo(std::int32_t* block, int frames, GainPair gains);

} // namespace jorvo
