// A small studio played through the mixer's two phases: mSyn and the default instrument into the
// master, mSyn also sent into a Reverb buss. Every block sample must be the sum that the gain
// codes give for the instrument and effect buffers of that chunk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"

namespace jorvo {
namespace {

// s × multiplier in a 32-bit register, then the arithmetic shift: written out here rather than
// taken from the mixer, with the factors of the codes used below worked out by hand.
std::int32_t Scaled(std::int32_t sample, std::int64_t multiplier, int shift)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(sample * multiplier)) >> shift;
}

std::int32_t Code63(std::int32_t s) { return Scaled(s, 16, 3); }   // 2.0
std::int32_t Code93(std::int32_t s) { return Scaled(s, 18, 5); }   // 0.5625
std::int32_t Code463(std::int32_t s) { return Scaled(s, 16, 28); } // 2^-24

class SoundStudioMixTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
};

TEST_F(SoundStudioMixTest, BlocksFollowTheGainCodes)
{
    Instrument* synth = studio.AddInstrument("mSyn");
    Instrument* plain = studio.AddInstrument("DefaultInstrument");
    Effect* reverb = studio.AddEffect("Reverb");
    ASSERT_TRUE(synth && plain && reverb);
    ASSERT_EQ(synth->Channels(), 1);
    ASSERT_EQ(plain->Channels(), 1);
    ASSERT_EQ(reverb->InputChannels(), 1);
    ASSERT_EQ(reverb->OutputChannels(), 2);

    Mixer& mixer = studio.GetMixer();
    MixerChannel& synthChannel = *mixer.ChannelOf(*synth);
    MixerChannel& plainChannel = *mixer.ChannelOf(*plain);
    MixerBuss& reverbBuss = *mixer.BussOf(*reverb);
    // mSyn at level 127 in the centre (codes 63), sent at unity (113 → 79) into the reverb; the
    // default instrument panned hard right (left 463, right 93); the buss at its defaults (93).
    synthChannel.SetStoredValue(7, 127);
    synthChannel.SetSend(reverbBuss, 113);
    plainChannel.SetStoredValue(10, 127);
    {
        SoundStudio::RenderLock lock(studio);
        synthChannel.HandleEvent(255, 0, 0, 0, 0);
        plainChannel.HandleEvent(255, 0, 0, 0, 0);
        synth->HandleEvent(200, 57, 100, 4 * 480, 0);
        plain->HandleEvent(200, 64, 120, 4 * 480, 0);
    }

    constexpr int kChunk = 256;
    constexpr int kChunks = 16;
    std::vector<std::int32_t> synthInput;
    std::int64_t synthEnergy = 0;
    std::int64_t plainEnergy = 0;
    std::int64_t reverbEnergy = 0;
    for (int chunk = 0; chunk < kChunks; ++chunk) {
        std::vector<std::int32_t> block(2 * kChunk, 0);
        {
            SoundStudio::RenderLock lock(studio);
            mixer.Prepare(kChunk);
            mixer.Mix(block.data(), kChunk);
        }
        const std::int32_t* s = synth->Output();
        const std::int32_t* p = plain->Output();
        const std::int32_t* r = reverb->Output();
        for (int i = 0; i < kChunk; ++i) {
            // The send is unity into a mono input: the reverb heard mSyn's samples as they are.
            ASSERT_EQ(reverbBuss.Input()[i], s[i]) << chunk << ":" << i;
            const std::int32_t left = Code63(s[i]) + Code463(p[i]) + Code93(r[2 * i]);
            const std::int32_t right = Code63(s[i]) + Code93(p[i]) + Code93(r[2 * i + 1]);
            ASSERT_EQ(block[2 * i], left) << chunk << ":" << i;
            ASSERT_EQ(block[2 * i + 1], right) << chunk << ":" << i;
            synthEnergy += std::abs(s[i]);
            plainEnergy += std::abs(p[i]);
            reverbEnergy += std::abs(r[2 * i]) + std::abs(r[2 * i + 1]);
        }
    }
    // All three sources really played, so the sums above were not sums of zeros.
    EXPECT_GT(synthEnergy, 0);
    EXPECT_GT(plainEnergy, 0);
    EXPECT_GT(reverbEnergy, 0);
}

TEST_F(SoundStudioMixTest, SilentInstrumentsLeaveASilentBlock)
{
    ASSERT_NE(studio.AddInstrument("mSyn"), nullptr);
    ASSERT_NE(studio.AddInstrument("DefaultInstrument"), nullptr);
    ASSERT_NE(studio.AddEffect("Reverb"), nullptr);
    std::vector<std::int32_t> block(2 * 1024, 0);
    studio.GetMixer().Prepare(1024);
    studio.GetMixer().Mix(block.data(), 1024);
    EXPECT_EQ(block, std::vector<std::int32_t>(2 * 1024, 0));
}

} // namespace
} // namespace jorvo
