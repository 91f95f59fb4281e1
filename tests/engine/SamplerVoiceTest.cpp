// The voice's mixing loop against a frame-by-frame reference, for the steps and loops where its
// runs between two passes of the sample's end are short, empty or the whole call.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/SamplerVoice.h"

namespace jorvo {
namespace {

// One frame at a time: mix, step, and on passing the end loop back (wrapping within the loop when
// the step is longer than it) or stop.
void ReferenceMix(SamplerVoice& voice, std::int64_t* left, std::int64_t* right, int frames)
{
    for (int i = 0; i < frames && !voice.IsSilent(); ++i) {
        const int channels = voice.stereo ? 2 : 1;
        for (int side = 0; side < 2; ++side) {
            const int channel = channels == 2 ? side : 0;
            const std::int64_t a = voice.data[std::int64_t{voice.position} * channels + channel];
            const std::int64_t b = voice.data[(std::int64_t{voice.position} + 1) * channels + channel];
            const std::int64_t sample = a + ((b - a) * voice.fraction >> 16);
            const std::int64_t gained = (sample * voice.mantissa) >> voice.shift;
            (side == 0 ? left : right)[i] += (side == 0 ? 128 - voice.pan : voice.pan) * gained;
        }
        const std::int64_t total = std::int64_t{voice.step} + voice.fraction;
        std::int64_t next = voice.position + (total >> 16);
        voice.fraction = static_cast<std::uint32_t>(total & 0xFFFF);
        if (next > voice.end) {
            if (voice.loop == 0) {
                voice.position = 0;
                voice.step = 0;
                voice.SetLevel(SamplerVoice::kSilentLevel);
                continue;
            }
            next -= voice.loop;
            const std::int64_t loopStart = std::int64_t{voice.end} - voice.loop + 1;
            if (next > voice.end)
                next = loopStart + (next - loopStart) % voice.loop;
        }
        voice.position = static_cast<std::int32_t>(next);
    }
}

struct Case {
    const char* name;
    bool stereo;
    std::int32_t position;
    std::int32_t end;
    std::int32_t loop;
    std::int32_t step;
    std::uint32_t fraction = 0x1234;
};

TEST(SamplerVoiceTest, MixingMatchesTheFrameByFrameReference)
{
    constexpr int kFrames = 300;
    std::vector<std::int16_t> data(2 * 402);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::int16_t>((i * 7919 % 65536) - 32768);

    const Case cases[] = {
        {"slow loop, many passes", false, 0, 99, 40, 0x18000},
        {"stereo, step longer than the loop", true, 10, 399, 3, 0x70000},
        {"one-shot running out mid-call", false, 350, 399, 0, 0x2A000},
        {"starting past the end", true, 399, 200, 50, 0x10000},
        {"standing still", false, 5, 399, 0, 0},
        {"loop of one frame", true, 0, 50, 1, 0x9C40},
        {"large step, one-shot", false, 0, 399, 0, 0x7FFF0000},
        {"whole frames landing just past the end", true, 0, 20, 10, 0x10000, 0},
        {"half frames landing just past the end", false, 0, 30, 0, 0x8000, 0},
    };
    for (const Case& c : cases) {
        SamplerVoice voice;
        voice.data = data.data();
        voice.stereo = c.stereo ? 1 : 0;
        voice.position = c.position;
        voice.end = c.end;
        voice.loop = c.loop;
        voice.step = c.step;
        voice.fraction = c.fraction;
        voice.pan = 37;
        voice.SetLevel(5000);
        SamplerVoice reference = voice;

        std::vector<std::int64_t> left(kFrames), right(kFrames), expectedLeft(kFrames), expectedRight(kFrames);
        // Calls of uneven lengths, so runs start and stop at every kind of place.
        for (int done = 0, length = 1; done < kFrames; done += length, length = length * 3 % 64 + 1) {
            const int frames = std::min(length, kFrames - done);
            voice.MixFrames(&left[done], &right[done], frames);
            ReferenceMix(reference, &expectedLeft[done], &expectedRight[done], frames);
        }
        EXPECT_EQ(left, expectedLeft) << c.name;
        EXPECT_EQ(right, expectedRight) << c.name;
        EXPECT_EQ(voice.position, reference.position) << c.name;
        EXPECT_EQ(voice.fraction, reference.fraction) << c.name;
        EXPECT_EQ(voice.IsSilent(), reference.IsSilent()) << c.name;
    }
}

} // namespace
} // namespace jorvo
