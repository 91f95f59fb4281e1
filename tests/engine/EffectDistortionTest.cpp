#include "engine/EffectDistortion.h"

#include <gtest/gtest.h>
#include <vector>

namespace jorvo {
namespace {

using Distortion = EffectDistortion;

// The mono output of `input` (at most one chunk).
std::vector<std::int32_t> ProcessAll(Distortion& distortion, const std::vector<std::int32_t>& input)
{
    distortion.Process(input.data(), static_cast<int>(input.size()));
    return std::vector<std::int32_t>(distortion.Output(), distortion.Output() + input.size());
}

void Configure(Distortion& distortion, std::int32_t mode, std::int32_t level, std::int32_t bass,
               std::int32_t treble)
{
    distortion.HandleEvent(Distortion::kMode, mode, 0, 0, 0);
    distortion.HandleEvent(Distortion::kDistortion, level, 0, 0, 0);
    distortion.HandleEvent(Distortion::kBass, bass, 0, 0, 0);
    distortion.HandleEvent(Distortion::kTreble, treble, 0, 0, 0);
}

TEST(EffectDistortion, DefaultParameters)
{
    Distortion distortion;
    EXPECT_EQ(distortion.GetParameterValue(Distortion::kMode), 0);
    EXPECT_EQ(distortion.GetParameterValue(Distortion::kDistortion), 2);
    EXPECT_EQ(distortion.GetParameterValue(Distortion::kBass), 1);
    EXPECT_EQ(distortion.GetParameterValue(Distortion::kTreble), 3);
}

// Distortion 4 clips the high-passed input at ±2097152 >> 4 = ±131072 and multiplies by 16;
// Treble 4 passes the result straight out. A fresh high-pass passes the first sample as it is.
TEST(EffectDistortion, Level4ClipsAt131072TimesSixteen)
{
    for (const auto& [input, expected] : std::vector<std::pair<std::int32_t, std::int32_t>>{
             {1000000, 2097152}, {-1000000, -2097152}, {131072, 2097152}, {131073, 2097152}, {1000, 16000},
             {-5000, -80000}}) {
        Distortion distortion;
        Configure(distortion, 0, 4, 1, 4);
        EXPECT_EQ(ProcessAll(distortion, {input})[0], expected) << input;
    }
}

TEST(EffectDistortion, HighPassFollowsItsIntegrators)
{
    Distortion distortion;
    Configure(distortion, 0, 0, 4, 4);   // no clipping: y = h
    // Bass 4 (shift 1), impulse 1000: h = 1000, −500, −500, −375, −187 (see the integrators:
    // band 500, 250, 0, −188, −282; low 250, 375, 375, 281, 140).
    EXPECT_EQ(ProcessAll(distortion, {1000, 0, 0, 0, 0}), (std::vector<std::int32_t>{1000, -500, -500, -375, -187}));
    // Bass 1 (shift 4), 1000000 twice: band 62500, low 3906, then h = 1000000 − 31250 − 3906 =
    // 964844, still clipped.
    Distortion clipped;
    Configure(clipped, 0, 4, 1, 4);
    EXPECT_EQ(ProcessAll(clipped, {1000000, 1000000}), (std::vector<std::int32_t>{2097152, 2097152}));
}

// Treble 3 (shift 1) on h = 1000, −500: band 500 then −125; low 250 then 187.
TEST(EffectDistortion, OutputLowPass)
{
    Distortion distortion;
    Configure(distortion, 0, 0, 4, 3);
    EXPECT_EQ(ProcessAll(distortion, {1000, 0}), (std::vector<std::int32_t>{250, 187}));
}

// Distortion 2 holds every fifth sample, doubled: h = 1000 at frame 0, 2001 at frame 5 (the
// integrators after the impulse: band −282, low 140; 2000 + 141 − 140).
TEST(EffectDistortion, DegradeHoldsEveryTwoToTheLevelPlusOneSamples)
{
    Distortion distortion;
    Configure(distortion, 1, 2, 4, 4);
    EXPECT_EQ(ProcessAll(distortion, {1000, 0, 0, 0, 0, 2000, 0}),
              (std::vector<std::int32_t>{2000, 2000, 2000, 2000, 2000, 4002, 4002}));
}

TEST(EffectDistortion, StopClearsTheHold)
{
    Distortion distortion;
    Configure(distortion, 1, 4, 4, 4);
    ProcessAll(distortion, {1000, 0, 0});
    distortion.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    // The reset also brings Mode back to distort; degrade again from a clear state.
    distortion.HandleEvent(Distortion::kMode, 1, 0, 0, 0);
    EXPECT_EQ(ProcessAll(distortion, {0, 0, 700})[0], 0);
    EXPECT_EQ(ProcessAll(distortion, {700})[0], 0);   // still holding the 0 taken after the reset
}

} // namespace
} // namespace jorvo
