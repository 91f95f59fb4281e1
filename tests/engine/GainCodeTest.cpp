#include <gtest/gtest.h>

#include <vector>

#include "engine/GainCode.h"

namespace jorvo {
namespace {

TEST(GainCodeTable, EndsAndRowStartsMatchTheTable)
{
    EXPECT_EQ(GainCodeForIndex(0), 463);
    EXPECT_EQ(GainCodeForIndex(16), 184);
    EXPECT_EQ(GainCodeForIndex(48), 149);
    EXPECT_EQ(GainCodeForIndex(100), 93);
    EXPECT_EQ(GainCodeForIndex(113), 79);
    EXPECT_EQ(GainCodeForIndex(127), 63);
    // Out-of-range indices clamp rather than read outside the table.
    EXPECT_EQ(GainCodeForIndex(-5), 463);
    EXPECT_EQ(GainCodeForIndex(500), 63);
}

TEST(GainCodeTable, FactorsNeverRiseAsTheIndexFalls)
{
    // factor = (31 − m) / 2^k; compare as fractions over 2^28.
    const auto scaled = [](GainCode code) { return static_cast<long long>(31 - (code & 15)) << (28 - (code >> 4)); };
    for (int index = 1; index <= kMaxGainIndex; ++index)
        EXPECT_LE(scaled(GainCodeForIndex(index - 1)), scaled(GainCodeForIndex(index))) << index;
}

TEST(GainCodeApply, KnownFactors)
{
    EXPECT_EQ(ApplyGain(25600, kUnityGain), 25600);             // 16/16
    EXPECT_EQ(ApplyGain(25600, GainCode{63}), 51200);           // 16/8 = 2.0
    EXPECT_EQ(ApplyGain(25600, GainCode{93}), 14400);           // 18/32 = 0.5625
    EXPECT_EQ(ApplyGain(-25600, GainCode{93}), -14400);         // arithmetic shift
    EXPECT_EQ(ApplyGain(-1, GainCode{93}), -1);                 // −18 >> 5 rounds toward −∞
    EXPECT_EQ(ApplyGain(1 << 24, kSilentGain), 1);              // 2^24 × 16 / 2^28
    EXPECT_EQ(ApplyGain(8388352, GainCode{63}), 16776704);      // 32767×256 doubled
}

TEST(GainCodeApply, ProductsWrapAtThirtyTwoBits)
{
    // 0x7FFFFFFF × 16 wraps to −16 before the shift, as a 32-bit register does.
    EXPECT_EQ(ApplyGain(0x7FFFFFFF, GainCode{63}), -2);
}

TEST(PanGains, EdgeCases)
{
    EXPECT_EQ(PanGains(127, 64), (GainPair{63, 63}));
    EXPECT_EQ(PanGains(113, 64), (GainPair{79, 79}));
    EXPECT_EQ(PanGains(100, 0), (GainPair{93, 463}));
    EXPECT_EQ(PanGains(100, 96), (GainPair{149, 93})); // left index 100 × 31 / 64 = 48
    EXPECT_EQ(PanGains(100, 127), (GainPair{463, 93}));
    EXPECT_EQ(PanGains(100, 32), (GainPair{93, 147}));  // right index 100 × 32 / 64 = 50
    EXPECT_EQ(PanGains(0, 64), (GainPair{463, 463}));
}

TEST(GainSteps, OneCodeStepTowardTheTarget)
{
    EXPECT_EQ(StepToward(93, 63), 92);
    EXPECT_EQ(StepToward(63, 93), 64);
    EXPECT_EQ(StepToward(79, 79), 79);

    FadingGains gains(GainPair{93, 90});
    EXPECT_FALSE(gains.IsFading());
    gains.SetTarget(GainPair{90, 93});
    EXPECT_TRUE(gains.IsFading());
    gains.Step();
    EXPECT_EQ(gains.Current(), (GainPair{92, 91}));
    gains.Step();
    gains.Step();
    EXPECT_EQ(gains.Current(), (GainPair{90, 93}));
    EXPECT_FALSE(gains.IsFading());
    gains.Step();
    EXPECT_EQ(gains.Current(), (GainPair{90, 93}));

    gains.SetTarget(GainPair{463, 463});
    gains.Snap();
    EXPECT_EQ(gains.Current(), (GainPair{463, 463}));
}

TEST(GainMixing, MonoFeedsBothSidesStereoEachSide)
{
    std::vector<std::int32_t> block = {1, 2, 3, 4};
    const std::vector<std::int32_t> mono = {25600, -25600};
    MixIntoStereo(block.data(), mono.data(), 1, 2, GainPair{79, 93});
    EXPECT_EQ(block, (std::vector<std::int32_t>{25601, 14402, -25597, -14396}));

    std::vector<std::int32_t> stereo = {256, 512, 1024, 2048};
    std::vector<std::int32_t> out(4, 0);
    MixIntoStereo(out.data(), stereo.data(), 2, 2, GainPair{63, 79});
    EXPECT_EQ(out, (std::vector<std::int32_t>{512, 512, 2048, 2048}));

    ScaleStereo(out.data(), 2, GainPair{93, 63});
    EXPECT_EQ(out, (std::vector<std::int32_t>{288, 1024, 1152, 4096}));
}

} // namespace
} // namespace jorvo
