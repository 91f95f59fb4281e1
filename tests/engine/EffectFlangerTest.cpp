#include "engine/EffectFlanger.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace jorvo {
namespace {

// Noise of about ±2^20, the same on every run (and in the reference calculation of the goldens).
std::vector<std::int32_t> Noise(std::size_t count)
{
    std::vector<std::int32_t> samples(count);
    std::uint32_t seed = 1;
    for (std::int32_t& sample : samples) {
        seed = seed * 1103515245u + 12345u;
        sample = static_cast<std::int32_t>(seed >> 11) - (1 << 20);
    }
    return samples;
}

// All stereo output frames of `input`, processed chunk by chunk.
std::vector<std::int32_t> ProcessAll(EffectFlanger& flanger, const std::vector<std::int32_t>& input)
{
    std::vector<std::int32_t> output;
    for (std::size_t start = 0; start < input.size(); start += Effect::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::size_t>(Effect::kMaxFrames, input.size() - start));
        flanger.Process(input.data() + start, frames);
        output.insert(output.end(), flanger.Output(), flanger.Output() + 2 * frames);
    }
    return output;
}

TEST(EffectFlanger, DefaultParameters)
{
    EffectFlanger flanger;
    EXPECT_EQ(flanger.GetParameterValue(EffectFlanger::kDepth), 64);
    EXPECT_EQ(flanger.GetParameterValue(EffectFlanger::kRate), 32);
    EXPECT_EQ(flanger.GetParameterValue(EffectFlanger::kDelay), 32);
}

// left + right = 2 × tap and left − right = 2 × the line sample written 254 samples earlier,
// which is −(input + (previous tap >> 1)) of that frame, the tap being (left + right) / 2.
TEST(EffectFlanger, SumAndDifferenceIdentities)
{
    for (const std::int32_t depth : {0, 64, 127}) {
        EffectFlanger flanger;
        flanger.HandleEvent(EffectFlanger::kDepth, depth, 0, 0, 0);
        flanger.HandleEvent(EffectFlanger::kDelay, depth == 0 ? 0 : 100, 0, 0, 0);
        const std::vector<std::int32_t> input = Noise(3000);
        const std::vector<std::int32_t> output = ProcessAll(flanger, input);
        const auto tap = [&](std::size_t frame) { return (output[2 * frame] + output[2 * frame + 1]) / 2; };
        for (std::size_t n = 0; n < input.size(); ++n) {
            const std::int32_t left = output[2 * n];
            const std::int32_t right = output[2 * n + 1];
            ASSERT_EQ((left + right) % 2, 0) << n;
            std::int32_t old = 0;
            if (n >= 254) {
                const std::int32_t fedBack = n >= 255 ? tap(n - 255) : 0;
                old = -(input[n - 254] + (fedBack >> 1));
            }
            ASSERT_EQ(left - right, 2 * old) << "depth " << depth << " frame " << n;
        }
    }
}

// Goldens from a separate transcription of the steps (exact integers, 32-bit wrap-around).
TEST(EffectFlanger, DefaultSoundMatchesTheReference)
{
    EffectFlanger flanger;
    const std::vector<std::int32_t> output = ProcessAll(flanger, Noise(12000));
    struct Frame {
        std::size_t index;
        std::int32_t left;
        std::int32_t right;
    };
    const Frame golden[] = {{0, 491948, 491948},      {1, -364618, -364618},     {255, 1051881, 1912385},
                            {256, 752976, -1061506},  {1000, -429648, -158610},  {4099, -1675843, -529629},
                            {8191, 296736, -1779532}, {11999, -490001, 2138839}};
    for (const Frame& frame : golden) {
        EXPECT_EQ(output[2 * frame.index], frame.left) << frame.index;
        EXPECT_EQ(output[2 * frame.index + 1], frame.right) << frame.index;
    }
}

// The fed-back tap is cleared with the line: nothing of the old sound comes back, not even one
// line length later.
TEST(EffectFlanger, StopClearsLineAndFeedback)
{
    EffectFlanger flanger;
    ProcessAll(flanger, Noise(1000));
    flanger.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    const std::vector<std::int32_t> after = ProcessAll(flanger, std::vector<std::int32_t>(600, 0));
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](std::int32_t sample) { return sample == 0; }));
}

} // namespace
} // namespace jorvo
