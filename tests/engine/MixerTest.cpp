#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/Mixer.h"
#include "engine/MixerTestTargets.h"
#include "platform/RecordingShell.h"

namespace jorvo {
namespace {

using test::ConstantInstrument;
using test::PassThroughEffect;

// One chunk through both phases into a fresh block.
std::vector<std::int32_t> RenderChunk(Mixer& mixer, int frames)
{
    std::vector<std::int32_t> block(static_cast<std::size_t>(2 * frames), 0);
    mixer.Prepare(frames);
    mixer.Mix(block.data(), frames);
    return block;
}

// Every frame of `block` holds (left, right).
void ExpectFrames(const std::vector<std::int32_t>& block, std::int32_t left, std::int32_t right)
{
    for (std::size_t i = 0; i < block.size(); i += 2) {
        ASSERT_EQ(block[i], left) << "frame " << i / 2;
        ASSERT_EQ(block[i + 1], right) << "frame " << i / 2;
    }
}

class MixerTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    ConstantInstrument piano{"Piano", 1, 25600};
    ConstantInstrument strings{"Strings", 2, 25600, 12800};
    PassThroughEffect verb{"Verb", 2, 2};
    PassThroughEffect echo{"Echo", 1, 2};
    PassThroughEffect chorus{"Chorus", 2, 2};
    Mixer mixer;
};

// Structure -----------------------------------------------------------------------------------

TEST_F(MixerTest, ParametersStartAsTheirTablesSay)
{
    EXPECT_EQ(mixer.GetName(), "Mixer");
    EXPECT_EQ(mixer.FindParameter(7)->Description(), "Master Level");
    EXPECT_EQ(mixer.GetParameterValue(7), 113);
    EXPECT_EQ(mixer.GetParameterValue(10), 64);
    EXPECT_EQ(mixer.MasterGains().Current(), (GainPair{79, 79}));

    MixerChannel channel;
    EXPECT_EQ(channel.GetName(), "Channel");
    EXPECT_EQ(channel.FindParameter(7)->Name(), "Level");
    EXPECT_EQ(channel.FindParameter(205)->Description(), "Channel On/Off");
    EXPECT_EQ(channel.GetParameterValue(7), 100);
    // A new strip does not fade in.
    EXPECT_EQ(channel.Gains().Current(), (GainPair{93, 93}));
    EXPECT_FALSE(channel.Gains().IsFading());

    MixerBuss buss;
    EXPECT_EQ(buss.GetName(), "Buss");
    EXPECT_EQ(buss.FindParameter(10)->Description(), "Buss Pan");
    EXPECT_EQ(buss.FindParameter(205)->Description(), "Channel On/Off");
}

TEST_F(MixerTest, ChannelsAcceptOnlyInstrumentsAndBussesOnlyEffects)
{
    MixerChannel channel;
    EXPECT_FALSE(channel.SetInstrument(&verb));
    EXPECT_EQ(channel.GetInstrument(), nullptr);
    EXPECT_TRUE(channel.SetInstrument(&piano));
    EXPECT_EQ(channel.GetName(), "Piano");
    EXPECT_TRUE(channel.SetInstrument(nullptr));
    EXPECT_EQ(channel.FindParameter(7)->Name(), "Inactive Level");

    MixerBuss buss;
    EXPECT_FALSE(buss.SetEffect(&piano));
    EXPECT_TRUE(buss.SetEffect(&verb));
    EXPECT_EQ(buss.GetName(), "Verb");
}

TEST_F(MixerTest, ChannelNamesFollowTheInstrument)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    MixerChannel* channel = mixer.FindChannel("Piano");
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->FindParameter(7)->Name(), "Piano Level");
    EXPECT_EQ(channel->FindParameter(7)->Description(), "Piano Channel Level");
    EXPECT_EQ(channel->FindParameter(10)->Description(), "Piano Channel Pan");
    EXPECT_EQ(channel->FindParameter(205)->Name(), "Piano Active");
    EXPECT_EQ(channel->FindParameter(205)->Description(), "Piano Channel Mute");

    piano.ForceName("Keys");
    mixer.NameChanged(piano);
    EXPECT_EQ(channel->FindParameter(7)->Description(), "Keys Channel Level");
    EXPECT_EQ(mixer.FindChannel("Keys"), channel);
}

TEST_F(MixerTest, SameInstrumentTwiceKeepsOneChannelAndTakenNamesAreRefused)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    EXPECT_TRUE(mixer.AddChannel(piano));
    ConstantInstrument twin("Piano", 1, 1);
    EXPECT_FALSE(mixer.AddChannel(twin));
    EXPECT_EQ(mixer.Channels().size(), 1u);
    EXPECT_EQ(mixer.ChannelOf(twin), nullptr);
}

TEST_F(MixerTest, EveryChannelHasOneSendPerBuss)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    ASSERT_TRUE(mixer.AddChannel(strings));
    ASSERT_TRUE(mixer.AddBuss(echo));
    for (const auto& channel : mixer.Channels()) {
        ASSERT_EQ(channel->Sends().size(), 2u);
        for (const auto& send : channel->Sends())
            EXPECT_EQ(send->Level(), 0);
    }
    const MixerSend* send = mixer.FindChannel("Strings")->FindSend(*mixer.FindBuss("Verb"));
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(send->Parameter().Name(), "Verb Send");
    EXPECT_EQ(send->Parameter().Description(), "Strings Send To Verb");

    verb.ForceName("Hall");
    mixer.NameChanged(verb);
    EXPECT_EQ(send->Parameter().Name(), "Hall Send");
    EXPECT_EQ(send->Parameter().Description(), "Strings Send To Hall");
    EXPECT_EQ(mixer.FindBuss("Hall")->FindParameter(7)->Description(), "Hall Buss Level");
    EXPECT_EQ(mixer.FindBuss("Hall")->FindParameter(205)->Description(), "Hall Buss Active");

    ASSERT_TRUE(mixer.RemoveBuss(echo));
    EXPECT_EQ(mixer.FindChannel("Piano")->Sends().size(), 1u);
    EXPECT_FALSE(mixer.RemoveBuss(echo));
    ASSERT_TRUE(mixer.RemoveChannel(piano));
    EXPECT_EQ(mixer.FindChannel("Piano"), nullptr);
}

TEST_F(MixerTest, TheViewIsOpenedRefreshedOnChangesAndRemoved)
{
    ViewId view = kNoView;
    {
        Mixer viewed;
        viewed.OpenView();
        view = viewed.View();
        ASSERT_NE(view, kNoView);
        EXPECT_EQ(shell.FindView(view)->request.keyword, "MixerView");
        const int before = shell.FindView(view)->refreshes;
        viewed.AddChannel(piano);
        EXPECT_GT(shell.FindView(view)->refreshes, before);
    }
    EXPECT_TRUE(shell.FindView(view)->removed);
}

// Send numbers --------------------------------------------------------------------------------

TEST_F(MixerTest, BussesTakeTheLowestFreeSendNumber)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    ASSERT_TRUE(mixer.AddBuss(echo));
    ASSERT_TRUE(mixer.AddBuss(chorus));
    MixerBuss& first = *mixer.BussOf(verb);
    MixerBuss& third = *mixer.BussOf(chorus);
    EXPECT_EQ(first.SendParameterType(), 101);
    EXPECT_EQ(mixer.BussOf(echo)->SendParameterType(), 102);
    EXPECT_EQ(third.SendParameterType(), 103);

    // The holder of 101 moves first, while the third buss still holds 103.
    ASSERT_TRUE(mixer.AssignSendNumber(third, 101));
    EXPECT_EQ(third.SendParameterType(), 101);
    EXPECT_EQ(first.SendParameterType(), 104);

    MixerChannel& channel = *mixer.ChannelOf(piano);
    EXPECT_EQ(channel.FindParameter(101), &channel.FindSend(third)->Parameter());
    EXPECT_EQ(channel.FindParameter(104), &channel.FindSend(first)->Parameter());
    EXPECT_EQ(channel.FindParameter(103), nullptr);
    channel.HandleEvent(101, 60, 0, 0, 0);
    EXPECT_EQ(channel.FindSend(third)->Level(), 60);
    EXPECT_EQ(channel.FindSend(first)->Level(), 0);

    // A number freed by a removed buss is the next one handed out.
    ASSERT_TRUE(mixer.RemoveBuss(echo));
    PassThroughEffect delay("Delay", 2, 2);
    ASSERT_TRUE(mixer.AddBuss(delay));
    EXPECT_EQ(mixer.BussOf(delay)->SendParameterType(), 102);
    EXPECT_EQ(channel.FindParameter(102), &channel.FindSend(*mixer.BussOf(delay))->Parameter());
}

TEST_F(MixerTest, EventCodesAreNeverSendNumbers)
{
    EXPECT_FALSE(MixerBuss::IsValidSendNumber(100));
    EXPECT_TRUE(MixerBuss::IsValidSendNumber(101));
    EXPECT_TRUE(MixerBuss::IsValidSendNumber(199));
    EXPECT_FALSE(MixerBuss::IsValidSendNumber(200));
    EXPECT_FALSE(MixerBuss::IsValidSendNumber(205));
    EXPECT_FALSE(MixerBuss::IsValidSendNumber(255));
    EXPECT_TRUE(MixerBuss::IsValidSendNumber(256));
    EXPECT_TRUE(MixerBuss::IsValidSendNumber(32767));
    EXPECT_FALSE(MixerBuss::IsValidSendNumber(32768));

    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    MixerBuss& buss = *mixer.BussOf(verb);
    ASSERT_TRUE(mixer.AssignSendNumber(buss, 199));
    // Asking for an event code gets the lowest free number instead.
    ASSERT_TRUE(mixer.AssignSendNumber(buss, 205));
    EXPECT_EQ(buss.SendParameterType(), 101);
    // The channel's own on/off switch is untouched.
    EXPECT_EQ(mixer.ChannelOf(piano)->FindParameter(205)->Name(), "Piano Active");
}

// Events --------------------------------------------------------------------------------------

TEST_F(MixerTest, LevelPanAndSwitchSetTheTargets)
{
    MixerChannel channel;
    channel.HandleEvent(7, 127, 0, 0, 0);
    EXPECT_EQ(channel.Gains().Target(), (GainPair{63, 63}));
    channel.HandleEvent(10, 96, 0, 0, 0);
    EXPECT_EQ(channel.Gains().Target(), (GainPair{GainCodeForIndex(127 * 31 / 64), 63}));
    channel.HandleEvent(7, 128, 0, 0, 0); // out of range: ignored
    EXPECT_EQ(channel.Level(), 127);
    channel.HandleEvent(205, 0, 0, 0, 0);
    EXPECT_EQ(channel.Gains().Target(), (GainPair{463, 463}));
    channel.HandleEvent(7, 100, 0, 0, 0); // while off the targets stay silent
    EXPECT_EQ(channel.Gains().Target(), (GainPair{463, 463}));
    channel.HandleEvent(205, 2, 0, 0, 0); // out of range
    EXPECT_FALSE(channel.IsActive());
    channel.HandleEvent(205, 1, 0, 0, 0);
    EXPECT_EQ(channel.Gains().Target(), PanGains(100, 96));
    // The current gains have not moved: fades run in the mix.
    EXPECT_EQ(channel.Gains().Current(), (GainPair{93, 93}));
}

TEST_F(MixerTest, ResetRestoresStoredValuesAndJumps)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    MixerChannel& channel = *mixer.ChannelOf(piano);
    MixerSend& send = channel.SetSend(*mixer.BussOf(verb), 100);
    EXPECT_EQ(send.Codes(), (GainPair{93, 93}));

    // A pan change reaches the sends only on reset.
    channel.SetStoredValue(10, 0);
    channel.HandleEvent(10, 0, 0, 0, 0);
    EXPECT_EQ(send.Codes(), (GainPair{93, 93}));
    channel.HandleEvent(7, 20, 0, 0, 0);
    channel.HandleEvent(255, 0, 0, 0, 0);
    EXPECT_EQ(channel.Level(), 100);
    EXPECT_EQ(channel.Pan(), 0);
    EXPECT_EQ(channel.Gains().Current(), (GainPair{93, 463}));
    EXPECT_FALSE(channel.Gains().IsFading());
    EXPECT_EQ(send.Codes(), (GainPair{93, 463}));

    // A send level change recomputes with the current pan at once.
    channel.HandleEvent(mixer.BussOf(verb)->SendParameterType(), 127, 0, 0, 0);
    EXPECT_EQ(send.Codes(), (GainPair{63, 463}));
    EXPECT_EQ(send.Parameter().StoredValue(), 100);

    mixer.SetStoredValue(7, 100);
    mixer.HandleEvent(255, 0, 0, 0, 0);
    EXPECT_EQ(mixer.MasterGains().Current(), (GainPair{93, 93}));
}

// Rendering -----------------------------------------------------------------------------------

TEST_F(MixerTest, ChannelsAddTheirInstrumentWithTheirCodes)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ExpectFrames(RenderChunk(mixer, 64), 14400, 14400); // 25600 × 18/32

    MixerChannel& channel = *mixer.ChannelOf(piano);
    channel.SetStoredValue(10, 0);
    channel.HandleEvent(255, 0, 0, 0, 0);
    ASSERT_TRUE(mixer.AddChannel(strings));
    // Piano hard left; strings centred: 25600 and 12800 × 18/32.
    ExpectFrames(RenderChunk(mixer, 64), 14400 + 14400, 0 + 7200);
}

TEST_F(MixerTest, GainsFadeOneCodeStepPerChunk)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    mixer.ChannelOf(piano)->HandleEvent(7, 127, 0, 0, 0); // 93 → 63: 30 chunks
    ExpectFrames(RenderChunk(mixer, 16), 14400, 14400);   // code 93
    ExpectFrames(RenderChunk(mixer, 16), 15200, 15200);   // code 92: 19/32
    for (int chunk = 3; chunk <= 29; ++chunk)
        RenderChunk(mixer, 16);
    ExpectFrames(RenderChunk(mixer, 16), 49600, 49600); // chunk 30, code 64: 31/16
    ExpectFrames(RenderChunk(mixer, 16), 51200, 51200); // code 63: 2.0
    EXPECT_FALSE(mixer.ChannelOf(piano)->Gains().IsFading());
}

TEST_F(MixerTest, ASilentInstrumentSnapsToItsTargets)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    piano.sounding = false;
    mixer.ChannelOf(piano)->HandleEvent(7, 127, 0, 0, 0);
    ExpectFrames(RenderChunk(mixer, 16), 0, 0);
    EXPECT_EQ(mixer.ChannelOf(piano)->Gains().Current(), (GainPair{63, 63}));
    piano.sounding = true;
    ExpectFrames(RenderChunk(mixer, 16), 51200, 51200);
}

TEST_F(MixerTest, ASwitchedOffChannelRendersUntilFadedThenCostsNothing)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    mixer.ChannelOf(piano)->HandleEvent(205, 0, 0, 0, 0);
    piano.renders = 0;
    for (int chunk = 0; chunk < 371; ++chunk)
        RenderChunk(mixer, 8);
    EXPECT_EQ(piano.renders, 463 - 93);
    EXPECT_EQ(mixer.ChannelOf(piano)->Gains().Current(), (GainPair{463, 463}));

    mixer.ChannelOf(piano)->HandleEvent(205, 1, 0, 0, 0);
    RenderChunk(mixer, 8);
    EXPECT_EQ(piano.renders, 463 - 93 + 1);
    EXPECT_EQ(mixer.ChannelOf(piano)->Gains().Current(), (GainPair{462, 462}));
}

TEST_F(MixerTest, MasterAtUnityLeavesTheBlockUntouched)
{
    std::vector<std::int32_t> block = {123456, -7, 0x7FFFFFFF, -0x7FFFFFFF - 1};
    const std::vector<std::int32_t> before = block;
    mixer.Prepare(2);
    mixer.Mix(block.data(), 2);
    EXPECT_EQ(block, before);
}

TEST_F(MixerTest, MasterStepsBeforeItScales)
{
    mixer.HandleEvent(7, 100, 0, 0, 0); // 79 → 93
    std::vector<std::int32_t> block = {25600, 25600, -25600, 256};
    mixer.Prepare(2);
    mixer.Mix(block.data(), 2);
    // Code 80 already applies to the first chunk: 31/32.
    EXPECT_EQ(block, (std::vector<std::int32_t>{24800, 24800, -24800, 248}));
}

TEST_F(MixerTest, SendsFeedTheBussWhoseEffectIsMixedWithTheBussCodes)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    mixer.ChannelOf(piano)->SetSend(*mixer.BussOf(verb), 127); // codes 63: × 2
    const std::vector<std::int32_t> block = RenderChunk(mixer, 32);
    EXPECT_EQ(verb.lastInput, std::vector<std::int32_t>(64, 51200));
    // Channel 25600 × 18/32, buss 51200 × 18/32.
    ExpectFrames(block, 14400 + 28800, 14400 + 28800);
}

TEST_F(MixerTest, AStereoInstrumentIntoAMonoInputIsSummedWithItsCodes)
{
    ASSERT_TRUE(mixer.AddChannel(strings));
    ASSERT_TRUE(mixer.AddBuss(echo));
    mixer.ChannelOf(strings)->SetSend(*mixer.BussOf(echo), 113); // unity
    RenderChunk(mixer, 4);
    EXPECT_EQ(echo.lastInput, std::vector<std::int32_t>(4, 25600 + 12800));
}

TEST_F(MixerTest, AMonoInstrumentIntoAStereoInputUsesBothSendCodes)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    MixerChannel& channel = *mixer.ChannelOf(piano);
    channel.SetSend(*mixer.BussOf(verb), 100);
    channel.SetStoredValue(10, 0);
    channel.HandleEvent(255, 0, 0, 0, 0);
    RenderChunk(mixer, 2);
    // Send codes 93 left, 463 right: 25600 × 16 >> 28 is 0.
    EXPECT_EQ(verb.lastInput, (std::vector<std::int32_t>{14400, 0, 14400, 0}));
}

TEST_F(MixerTest, ASendAtZeroFeedsNothingAndTheInputIsClearedEachChunk)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    MixerChannel& channel = *mixer.ChannelOf(piano);
    channel.SetSend(*mixer.BussOf(verb), 113);
    RenderChunk(mixer, 4);
    EXPECT_EQ(verb.lastInput, std::vector<std::int32_t>(8, 25600));
    channel.HandleEvent(mixer.BussOf(verb)->SendParameterType(), 0, 0, 0, 0);
    ExpectFrames(RenderChunk(mixer, 4), 14400, 14400);
    EXPECT_EQ(verb.lastInput, std::vector<std::int32_t>(8, 0));
}

TEST_F(MixerTest, ASwitchedOffBussStopsProcessingOnceFaded)
{
    ASSERT_TRUE(mixer.AddChannel(piano));
    ASSERT_TRUE(mixer.AddBuss(verb));
    mixer.ChannelOf(piano)->SetSend(*mixer.BussOf(verb), 113);
    MixerBuss& buss = *mixer.BussOf(verb);
    buss.HandleEvent(205, 0, 0, 0, 0);
    for (int chunk = 0; chunk < 400; ++chunk)
        RenderChunk(mixer, 4);
    const int processed = verb.processed;
    EXPECT_EQ(processed, 463 - 93);
    // Only the channel remains in the block.
    ExpectFrames(RenderChunk(mixer, 4), 14400, 14400);
    EXPECT_EQ(verb.processed, processed);
}

} // namespace
} // namespace jorvo
