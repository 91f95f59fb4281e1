#include "engine/EffectReverbLite.h"

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
std::vector<std::int32_t> ProcessAll(EffectReverbLite& reverb, const std::vector<std::int32_t>& input)
{
    std::vector<std::int32_t> output;
    for (std::size_t start = 0; start < input.size(); start += Effect::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::size_t>(Effect::kMaxFrames, input.size() - start));
        reverb.Process(input.data() + start, frames);
        output.insert(output.end(), reverb.Output(), reverb.Output() + 2 * frames);
    }
    return output;
}

TEST(EffectReverbLite, DefaultParametersAndRanges)
{
    EffectReverbLite reverb;
    EXPECT_EQ(reverb.GetParameterValue(EffectReverbLite::kTime), 57);
    EXPECT_EQ(reverb.GetParameterValue(EffectReverbLite::kDamp), 4);
    EXPECT_EQ(reverb.FindParameter(EffectReverbLite::kTime)->Minimum(), 52);
    EXPECT_EQ(reverb.FindParameter(EffectReverbLite::kTime)->Maximum(), 62);
    EXPECT_EQ(reverb.FindParameter(EffectReverbLite::kDamp)->Maximum(), 6);
}

// The shortest comb (599 samples) answers first. Its state took 65536 + ((0 − 65536) >> 4) =
// 61440; S = −t4 = −61440 passes both all-passes at once (their buffers are still empty) and
// reaches both outputs. With no more input the state then decays by >> 4 per sample: 3840, 240.
TEST(EffectReverbLite, FirstAnswerAtFrame599)
{
    EffectReverbLite reverb;
    std::vector<std::int32_t> input(700, 0);
    input[0] = 65536;
    const std::vector<std::int32_t> output = ProcessAll(reverb, input);
    for (std::size_t frame = 0; frame < 599; ++frame) {
        ASSERT_EQ(output[2 * frame], 0) << frame;
        ASSERT_EQ(output[2 * frame + 1], 0) << frame;
    }
    EXPECT_EQ(output[2 * 599], -61440);
    EXPECT_EQ(output[2 * 599 + 1], -61440);
    EXPECT_EQ(output[2 * 600], -3840);
    EXPECT_EQ(output[2 * 601], -240);
}

// Goldens from a separate transcription of the steps (exact integers, 32-bit wrap-around).
TEST(EffectReverbLite, SoundMatchesTheReference)
{
    struct Frame {
        std::size_t index;
        std::int32_t left;
        std::int32_t right;
    };
    struct Case {
        std::int32_t time;
        std::int32_t damp;
        std::vector<Frame> frames;
    };
    const Case cases[] = {
        {57, 4, {{1000, 804674, 158630}, {4099, -11606914, 1198980}, {8191, 4180492, -6897692},
                 {11999, -2682834, -56140}}},
        {62, 1, {{1000, 456710, -197466}, {4099, -1369360, 3321566}, {8191, 1273775, 959977},
                 {11999, -1725030, -2286166}}},
    };
    for (const Case& c : cases) {
        EffectReverbLite reverb;
        reverb.HandleEvent(EffectReverbLite::kTime, c.time, 0, 0, 0);
        reverb.HandleEvent(EffectReverbLite::kDamp, c.damp, 0, 0, 0);
        const std::vector<std::int32_t> output = ProcessAll(reverb, Noise(12000));
        EXPECT_EQ(output[0], 0);
        EXPECT_EQ(output[2 * 598], 0);
        for (const Frame& frame : c.frames) {
            EXPECT_EQ(output[2 * frame.index], frame.left) << "time " << c.time << " frame " << frame.index;
            EXPECT_EQ(output[2 * frame.index + 1], frame.right) << "time " << c.time << " frame " << frame.index;
        }
    }
}

} // namespace
} // namespace jorvo
