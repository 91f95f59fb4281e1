#include "engine/GainCode.h"

#include <algorithm>
#include <array>

namespace jorvo {

namespace {

constexpr std::array<GainCode, kMaxGainIndex + 1> kGainTable = {
    463, 377, 330, 299, 279, 263, 250, 238, 228, 219, 211, 205, 198, 194, 190, 187, //
    184, 182, 181, 180, 179, 178, 177, 176, 175, 174, 172, 171, 170, 169, 168, 167, //
    166, 165, 164, 163, 162, 161, 160, 158, 157, 156, 155, 154, 153, 152, 151, 150, //
    149, 148, 147, 145, 144, 143, 142, 141, 140, 139, 138, 137, 136, 135, 134, 133, //
    131, 130, 129, 128, 127, 126, 125, 124, 123, 122, 121, 120, 119, 117, 116, 115, //
    114, 113, 112, 111, 110, 109, 108, 107, 106, 104, 103, 102, 101, 100, 99,  98,  //
    97,  96,  95,  94,  93,  92,  90,  89,  88,  87,  86,  85,  84,  83,  82,  81,  //
    80,  79,  78,  76,  75,  74,  73,  72,  71,  70,  69,  68,  67,  66,  65,  63,  //
};

constexpr int kPanCentre = 64;
constexpr int kPanRight = 127;

// The far side's index: the level falling linearly with the pan distance.
int FarSideIndex(int level, int distance)
{
    return level * distance / kPanCentre;
}

} // namespace

GainCode GainCodeForIndex(int index)
{
    return kGainTable[static_cast<std::size_t>(std::clamp(index, 0, kMaxGainIndex))];
}

GainPair PanGains(int level, int pan)
{
    int left = level;
    int right = level;
    if (pan < kPanCentre)
        right = FarSideIndex(level, pan);
    else if (pan > kPanCentre)
        left = FarSideIndex(level, kPanRight - pan);
    return GainPair{GainCodeForIndex(left), GainCodeForIndex(right)};
}

GainFactor FactorOf(GainCode code)
{
    return GainFactor{31 - (code & 15), std::min(code >> 4, 31)};
}

GainCode StepToward(GainCode current, GainCode target)
{
    if (current < target)
        return static_cast<GainCode>(current + 1);
    if (current > target)
        return static_cast<GainCode>(current - 1);
    return current;
}

void FadingGains::Step()
{
    current_.left = StepToward(current_.left, target_.left);
    current_.right = StepToward(current_.right, target_.right);
}

namespace {

// The loop of MixIntoStereo with the source's channel count fixed, so the compiler sees the strides.
template <int SourceChannels>
void MixIntoStereoFrom(std::int32_t* block, const std::int32_t* source, int frames, GainFactor left,
                       GainFactor right)
{
    for (int frame = 0; frame < frames; ++frame) {
        const std::int32_t sourceLeft = source[frame * SourceChannels];
        const std::int32_t sourceRight = source[frame * SourceChannels + SourceChannels - 1];
        block[2 * frame] = Add32(block[2 * frame], ApplyGain(sourceLeft, left));
        block[2 * frame + 1] = Add32(block[2 * frame + 1], ApplyGain(sourceRight, right));
    }
}

} // namespace

void MixIntoStereo(std::int32_t* block, const std::int32_t* source, int sourceChannels, int frames,
                   GainPair gains)
{
    const GainFactor left = FactorOf(gains.left);
    const GainFactor right = FactorOf(gains.right);
    if (sourceChannels == 2)
        MixIntoStereoFrom<2>(block, source, frames, left, right);
    else
        MixIntoStereoFrom<1>(block, source, frames, left, right);
}

void ScaleStereo(std::int32_t* block, int frames, GainPair gains)
{
    const GainFactor left = FactorOf(gains.left);
    const GainFactor right = FactorOf(gains.right);
    for (int frame = 0; frame < frames; ++frame) {
        block[2 * frame] = ApplyGain(block[2 * frame], left);
        block[2 * frame + 1] = ApplyGain(block[2 * frame + 1], right);
    }
}

} // namespace jorvo
