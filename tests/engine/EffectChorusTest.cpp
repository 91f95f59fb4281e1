#include "engine/EffectChorus.h"

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
std::vector<std::int32_t> ProcessAll(EffectChorus& chorus, const std::vector<std::int32_t>& input)
{
    std::vector<std::int32_t> output;
    for (std::size_t start = 0; start < input.size(); start += Effect::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::size_t>(Effect::kMaxFrames, input.size() - start));
        chorus.Process(input.data() + start, frames);
        output.insert(output.end(), chorus.Output(), chorus.Output() + 2 * frames);
    }
    return output;
}

TEST(EffectChorus, DefaultParameters)
{
    EffectChorus chorus;
    EXPECT_EQ(chorus.GetParameterValue(EffectChorus::kDepth), 64);
    EXPECT_EQ(chorus.GetParameterValue(EffectChorus::kRate), 64);
    EXPECT_EQ(chorus.GetParameterValue(EffectChorus::kDelay), 64);
    EXPECT_EQ(chorus.FindParameter(EffectChorus::kDelay)->Description(), "Chorus Delay");
}

// Depth 0 and Delay 0 ask for 6000/4096 samples behind the write index. The first tick glides the
// taps there from position 0 (step −4089), the second settles them (step −4096) 5888/4096 above
// the write index; the step taken before each read leaves the tap 1792/4096 of a sample behind
// the newest sample: out = line[w] + ((line[w + 1] − line[w]) × 1792) >> 12, line[w] = −x.
TEST(EffectChorus, DepthAndDelayZeroGiveAConstantFractionalDelay)
{
    for (const std::int32_t rate : {0, 127}) {
        EffectChorus fresh;
        fresh.HandleEvent(EffectChorus::kDepth, 0, 0, 0, 0);
        fresh.HandleEvent(EffectChorus::kDelay, 0, 0, 0, 0);
        fresh.HandleEvent(EffectChorus::kRate, rate, 0, 0, 0);
        std::vector<std::int32_t> input(1200, 0);
        input[300] = 4096;
        input[1100] = -8192;
        const std::vector<std::int32_t> output = ProcessAll(fresh, input);
        for (std::size_t frame = 0; frame < input.size(); ++frame) {
            std::int32_t expected = 0;
            if (frame == 300)
                expected = -4096 + 1792;
            else if (frame == 301)
                expected = -1792;
            else if (frame == 1100)
                expected = 8192 - 3584;
            else if (frame == 1101)
                expected = 3584;
            ASSERT_EQ(output[2 * frame], expected) << "rate " << rate << " frame " << frame;
            ASSERT_EQ(output[2 * frame + 1], expected) << "rate " << rate << " frame " << frame;
        }
    }
}

// Goldens from a separate transcription of the steps (exact integers, 32-bit wrap-around).
TEST(EffectChorus, DefaultSoundMatchesTheReference)
{
    EffectChorus chorus;
    const std::vector<std::int32_t> output = ProcessAll(chorus, Noise(12000));
    struct Frame {
        std::size_t index;
        std::int32_t left;
        std::int32_t right;
    };
    const Frame golden[] = {{0, 147721, 149463},      {1, 295443, 298927},       {255, 714645, 995604},
                            {256, 982680, -233578},   {1000, 106176, 563803},    {4099, -257613, 60787},
                            {8191, 454314, -854632},  {11999, -959746, -541007}};
    for (const Frame& frame : golden) {
        EXPECT_EQ(output[2 * frame.index], frame.left) << frame.index;
        EXPECT_EQ(output[2 * frame.index + 1], frame.right) << frame.index;
    }
}

TEST(EffectChorus, ChunkSizeDoesNotChangeTheSound)
{
    const std::vector<std::int32_t> input = Noise(3000);
    EffectChorus whole;
    const std::vector<std::int32_t> expected = ProcessAll(whole, input);
    EffectChorus pieces;
    std::vector<std::int32_t> output;
    for (std::size_t start = 0; start < input.size(); start += 37) {
        const int frames = static_cast<int>(std::min<std::size_t>(37, input.size() - start));
        pieces.Process(input.data() + start, frames);
        output.insert(output.end(), pieces.Output(), pieces.Output() + 2 * frames);
    }
    EXPECT_EQ(output, expected);
}

} // namespace
} // namespace jorvo
