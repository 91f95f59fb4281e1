#include "engine/EffectReverb.h"

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
std::vector<std::int32_t> ProcessAll(EffectReverb& reverb, const std::vector<std::int32_t>& input)
{
    std::vector<std::int32_t> output;
    for (std::size_t start = 0; start < input.size(); start += Effect::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::size_t>(Effect::kMaxFrames, input.size() - start));
        reverb.Process(input.data() + start, frames);
        output.insert(output.end(), reverb.Output(), reverb.Output() + 2 * frames);
    }
    return output;
}

TEST(EffectReverb, DefaultParameters)
{
    EffectReverb reverb;
    EXPECT_EQ(reverb.GetParameterValue(EffectReverb::kTime), 8);
    EXPECT_EQ(reverb.GetParameterValue(EffectReverb::kDamp), 2);
    EXPECT_EQ(reverb.FindParameter(EffectReverb::kDamp)->Description(), "High Frequency Damping");
}

// x = 65536: u = (x >> 2) − x = −49152, v = (u >> 2) − u = 36864, which enters lines M3 and M4
// and so both outputs at once. Q keeps (u − (v >> 2)) + v = −21504 and gives it back 182 samples
// later; P keeps (u − (u >> 2)) + x = 28672 for 256 samples, which the two stages turn into
// (28672 >> 2) − 28672 = −21504 again. Nothing else reaches the outputs before the lines do.
TEST(EffectReverb, AnswersAnImpulseInTheSameFrame)
{
    EffectReverb reverb;
    std::vector<std::int32_t> input(300, 0);
    input[0] = 65536;
    const std::vector<std::int32_t> output = ProcessAll(reverb, input);
    for (std::size_t frame = 0; frame < input.size(); ++frame) {
        std::int32_t expected = 0;
        if (frame == 0)
            expected = 36864;
        else if (frame == 182 || frame == 256)
            expected = -21504;
        ASSERT_EQ(output[2 * frame], expected) << frame;
        ASSERT_EQ(output[2 * frame + 1], expected) << frame;
    }
}

// Goldens from a separate transcription of the steps (exact integers, 32-bit wrap-around), over
// long enough for every line to feed back. Time 5 and 16 shift line M1's smoothing term by 32
// and 43 bits: only the sign remains.
TEST(EffectReverb, SoundMatchesTheReference)
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
    const std::vector<Frame> common = {{0, -286731, -286731}, {1, 103656, 103656}, {255, 642887, 642887},
                                       {256, 729928, 729928}, {1000, 274346, 274346}};
    const Case cases[] = {
        {8, 2, {{4099, -99373, -671717}, {8191, -278502, -664408}, {11999, -309853, -1197671}}},
        {16, 1, {{4099, 151174, -635670}, {8191, -148569, -812794}, {11999, -1235954, -1378725}}},
        {5, 5, {{4099, -193327, -705191}, {8191, -302553, -666453}, {11999, 9393, -1074090}}},
    };
    for (const Case& c : cases) {
        EffectReverb reverb;
        reverb.HandleEvent(EffectReverb::kTime, c.time, 0, 0, 0);
        reverb.HandleEvent(EffectReverb::kDamp, c.damp, 0, 0, 0);
        const std::vector<std::int32_t> output = ProcessAll(reverb, Noise(12000));
        std::vector<Frame> frames = common;
        frames.insert(frames.end(), c.frames.begin(), c.frames.end());
        for (const Frame& frame : frames) {
            EXPECT_EQ(output[2 * frame.index], frame.left) << "time " << c.time << " frame " << frame.index;
            EXPECT_EQ(output[2 * frame.index + 1], frame.right) << "time " << c.time << " frame " << frame.index;
        }
    }
}

TEST(EffectReverb, StopStartsAgainFromTheResetState)
{
    EffectReverb reverb;
    ProcessAll(reverb, Noise(5000));
    reverb.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    std::vector<std::int32_t> input(300, 0);
    input[0] = 65536;
    const std::vector<std::int32_t> output = ProcessAll(reverb, input);
    EXPECT_EQ(output[0], 36864);
    EXPECT_EQ(output[2 * 182], -21504);
    EXPECT_EQ(output[2 * 100], 0);
}

} // namespace
} // namespace jorvo
