#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "engine/EngineMessages.h"
#include "engine/Mixer.h"
#include "engine/MixerTestTargets.h"
#include "engine/ProcessorMeter.h"
#include "engine/SoundStudio.h"
#include "platform/PerformanceCounter.h"
#include "platform/RecordingShell.h"

namespace jorvo {
namespace {

using test::ConstantInstrument;
using test::PassThroughEffect;

class SoundStudioTest : public ::testing::Test {
protected:
    // Hands a new test instrument to the studio; the instrument, or null when refused.
    ConstantInstrument* Insert(const std::string& name)
    {
        auto owned = std::make_unique<ConstantInstrument>(name, 1, 256);
        ConstantInstrument* instrument = owned.get();
        std::unique_ptr<Instrument> handed = std::move(owned);
        return studio->InsertInstrument(handed) ? instrument : nullptr;
    }

    PassThroughEffect* InsertEffect(const std::string& name)
    {
        auto owned = std::make_unique<PassThroughEffect>(name, 2, 2);
        PassThroughEffect* effect = owned.get();
        std::unique_ptr<Effect> handed = std::move(owned);
        return studio->InsertEffect(handed) ? effect : nullptr;
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    std::unique_ptr<SoundStudio> studio = std::make_unique<SoundStudio>();
};

TEST_F(SoundStudioTest, IsCurrentForItsLifetimeAndOpensTheMixerView)
{
    EXPECT_EQ(SoundStudio::Current(), studio.get());
    const ViewId view = studio->GetMixer().View();
    ASSERT_NE(view, kNoView);
    EXPECT_EQ(shell.FindView(view)->request.keyword, "MixerView");
    EXPECT_EQ(shell.FindView(view)->request.target, &studio->GetMixer());
    studio.reset();
    EXPECT_EQ(SoundStudio::Current(), nullptr);
    EXPECT_TRUE(shell.FindView(view)->removed);
}

TEST_F(SoundStudioTest, AStudioDestroyedLateLeavesTheNewerOneCurrent)
{
    auto newer = std::make_unique<SoundStudio>();
    studio.reset();
    EXPECT_EQ(SoundStudio::Current(), newer.get());
}

TEST_F(SoundStudioTest, InsertingGivesAChannelOrBussAndRefusesTakenNames)
{
    ConstantInstrument* piano = Insert("Piano");
    ASSERT_NE(piano, nullptr);
    EXPECT_EQ(Insert("Piano"), nullptr);
    PassThroughEffect* verb = InsertEffect("Verb");
    ASSERT_NE(verb, nullptr);
    EXPECT_EQ(InsertEffect("Verb"), nullptr);

    EXPECT_EQ(studio->Instruments().size(), 1u);
    EXPECT_EQ(studio->Effects().size(), 1u);
    EXPECT_EQ(studio->GetMixer().ChannelOf(*piano)->FindSend(*studio->GetMixer().BussOf(*verb))->Level(), 0);

    std::unique_ptr<Instrument> refused = std::make_unique<ConstantInstrument>("Piano", 1, 0);
    EXPECT_FALSE(studio->InsertInstrument(refused));
    EXPECT_NE(refused, nullptr); // still the caller's
    std::unique_ptr<Instrument> none;
    EXPECT_FALSE(studio->InsertInstrument(none));
}

TEST_F(SoundStudioTest, AddedTargetsGetTheirDefaultNameMadeUnique)
{
    Instrument* first = studio->AddInstrument("mSyn");
    Instrument* second = studio->AddInstrument("mSyn");
    Instrument* third = studio->AddInstrument("mSyn");
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->GetName(), "mSyn");
    EXPECT_EQ(second->GetName(), "mSyn2");
    EXPECT_EQ(third->GetName(), "mSyn3");
    EXPECT_EQ(studio->GetMixer().Channels().size(), 3u);
    EXPECT_EQ(studio->GetMixer().Channels()[1]->GetName(), "mSyn2");
    EXPECT_TRUE(shell.messages.empty());

    Effect* reverb = studio->AddEffect("Reverb");
    ASSERT_NE(reverb, nullptr);
    EXPECT_EQ(reverb->GetName(), "Reverb");
    EXPECT_EQ(studio->GetMixer().BussOf(*reverb)->SendParameterType(), 101);
}

TEST_F(SoundStudioTest, SamplersAndRealEffectsAreNumberedFromTwo)
{
    Instrument* first = studio->AddInstrument("Sampler");
    Instrument* second = studio->AddInstrument("Sampler");
    Instrument* third = studio->AddInstrument("Sampler");
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->GetName(), "Sampler");
    EXPECT_EQ(second->GetName(), "Sampler2");
    EXPECT_EQ(third->GetName(), "Sampler3");

    Effect* delay = studio->AddEffect("Delay");
    Effect* reverb = studio->AddEffect("Reverb");
    ASSERT_TRUE(delay && reverb);
    ASSERT_NE(studio->AddEffect("Delay"), nullptr); // Delay2 is taken now
    reverb->SetName("Delay");
    EXPECT_EQ(reverb->GetName(), "Delay3");
    EXPECT_EQ(shell.LastMessage(), "Name 'Delay' is already in use.  'Delay3' will be used instead.");
    EXPECT_NE(studio->GetMixer().FindBuss("Delay3"), nullptr);
}

TEST_F(SoundStudioTest, AnUnknownEngineAddsNothing)
{
    EXPECT_EQ(studio->AddInstrument(""), nullptr);
    EXPECT_EQ(studio->AddEffect(""), nullptr);
    EXPECT_TRUE(studio->Instruments().empty());
    EXPECT_TRUE(studio->GetMixer().Busses().empty());
}

TEST_F(SoundStudioTest, RenamingIntoATakenNameSaysSoAndTakesTheNextNumber)
{
    PassThroughEffect* delay = InsertEffect("Delay");
    PassThroughEffect* reverb = InsertEffect("Reverb");
    ASSERT_TRUE(delay && reverb);
    reverb->SetName("Delay");
    EXPECT_EQ(reverb->GetName(), "Delay2");
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], "Name 'Delay' is already in use.  'Delay2' will be used instead.");
    // The buss and the channels' sends follow.
    ConstantInstrument* piano = Insert("Piano");
    ASSERT_NE(studio->GetMixer().FindBuss("Delay2"), nullptr);
    EXPECT_EQ(studio->GetMixer().ChannelOf(*piano)->FindSend(*studio->GetMixer().FindBuss("Delay2"))->Parameter().Name(),
              "Delay2 Send");

    // A target's own name does not count as taken.
    ConstantInstrument* piano2 = Insert("Piano2");
    piano2->SetName("Piano");
    EXPECT_EQ(piano2->GetName(), "Piano2");
    EXPECT_EQ(shell.LastMessage(), "Name 'Piano' is already in use.  'Piano2' will be used instead.");
    piano->SetName("Keys");
    EXPECT_EQ(studio->GetMixer().ChannelOf(*piano)->FindParameter(7)->Name(), "Keys Level");
}

TEST_F(SoundStudioTest, DeletingAsksFirstAndRemovesTheChannel)
{
    ConstantInstrument* piano = Insert("Piano");
    ASSERT_NE(piano, nullptr);
    shell.answers.push_back(MessageAnswer::No);
    studio->DeleteInstrument(piano);
    ASSERT_EQ(shell.messageBoxes.size(), 1u);
    EXPECT_EQ(shell.messageBoxes[0].text, "Are you sure you wish to delete 'Piano' ?");
    EXPECT_EQ(shell.messageBoxes[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(shell.messageBoxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(studio->FindInstrument("Piano"), piano);

    shell.answers.push_back(MessageAnswer::Yes);
    studio->DeleteInstrument(piano);
    EXPECT_EQ(studio->FindInstrument("Piano"), nullptr);
    EXPECT_TRUE(studio->GetMixer().Channels().empty());

    // Unattended, the question is answered No.
    ConstantInstrument* organ = Insert("Organ");
    studio->DeleteInstrument(organ);
    EXPECT_EQ(studio->FindInstrument("Organ"), organ);

    // One that is not the studio's is left alone.
    ConstantInstrument stranger("Stranger", 1, 0);
    shell.answers.push_back(MessageAnswer::Yes);
    studio->DeleteInstrument(&stranger);
    EXPECT_EQ(studio->Instruments().size(), 1u);
}

TEST_F(SoundStudioTest, DeletingAnEffectRemovesItsBussAndEverySendToIt)
{
    ConstantInstrument* piano = Insert("Piano");
    PassThroughEffect* verb = InsertEffect("Verb");
    ASSERT_TRUE(piano && verb);
    shell.answers.push_back(MessageAnswer::Yes);
    studio->DeleteEffect(verb);
    EXPECT_TRUE(studio->Effects().empty());
    EXPECT_TRUE(studio->GetMixer().Busses().empty());
    EXPECT_TRUE(studio->GetMixer().ChannelOf(*piano)->Sends().empty());
    EXPECT_EQ(studio->GetMixer().ChannelOf(*piano)->FindParameter(101), nullptr);
}

TEST_F(SoundStudioTest, FindTargetByTypeAndInOrder)
{
    ConstantInstrument* echoSynth = Insert("Echo");
    PassThroughEffect* echo = InsertEffect("Echo");
    PassThroughEffect* verb = InsertEffect("Verb");
    Mixer& mixer = studio->GetMixer();
    EXPECT_EQ(studio->FindTarget("Instrument", "Echo"), echoSynth);
    EXPECT_EQ(studio->FindTarget("Effect", "Echo"), echo);
    EXPECT_EQ(studio->FindTarget("Channel", "Echo"), mixer.ChannelOf(*echoSynth));
    EXPECT_EQ(studio->FindTarget("Buss", "Echo"), mixer.BussOf(*echo));
    EXPECT_EQ(studio->FindTarget("Mixer", "anything"), &mixer);
    EXPECT_EQ(studio->FindTarget("Target", "Echo"), echoSynth);
    EXPECT_EQ(studio->FindTarget("Target", "Verb"), verb);
    EXPECT_EQ(studio->FindTarget("Instrument", "Verb"), nullptr);
    EXPECT_EQ(studio->FindTarget("Target", "Nothing"), nullptr);
}

TEST_F(SoundStudioTest, BroadcastReachesInstrumentsInOrder)
{
    ConstantInstrument* first = Insert("First");
    ConstantInstrument* second = Insert("Second");
    studio->Broadcast(253, 1, 2);
    EXPECT_EQ(first->events, (std::vector<std::vector<std::int32_t>>{{253, 1, 2}}));
    EXPECT_EQ(second->events, (std::vector<std::vector<std::int32_t>>{{253, 1, 2}}));
}

TEST_F(SoundStudioTest, SetFormatGivesTheMeterItsRate)
{
    ProcessorMeter& meter = ProcessorMeter::Instance();
    const std::uint64_t second = PerformanceFrequency();
    studio->SetFormat(2, 16, 44100);
    EXPECT_EQ(meter.LoadOf(second, 44100), 10000u); // one second for one second of audio
    studio->SetFormat(2, 16, 22050);
    EXPECT_EQ(meter.LoadOf(second, 44100), 5000u);
}

// Editing while a block renders: the render thread holds the lock for each block, the UI thread
// around each insert and delete.
TEST_F(SoundStudioTest, StructuralEditsDuringRenderingAreSafe)
{
    PassThroughEffect* verb = InsertEffect("Verb");
    ASSERT_NE(verb, nullptr);
    std::thread renderer([this] {
        std::vector<std::int32_t> block(2 * 256);
        for (int chunk = 0; chunk < 400; ++chunk) {
            SoundStudio::RenderLock lock(*studio);
            studio->GetMixer().Prepare(256);
            studio->GetMixer().Mix(block.data(), 256);
        }
    });
    for (int round = 0; round < 40; ++round) {
        ConstantInstrument* instrument = Insert("Synth");
        ASSERT_NE(instrument, nullptr);
        {
            SoundStudio::RenderLock lock(*studio);
            studio->GetMixer().ChannelOf(*instrument)->SetSend(*studio->GetMixer().BussOf(*verb), 100);
        }
        shell.answers.push_back(MessageAnswer::Yes);
        studio->DeleteInstrument(instrument);
    }
    renderer.join();
    EXPECT_TRUE(studio->Instruments().empty());
    EXPECT_TRUE(studio->GetMixer().Channels().empty());
}

// The processor-time meter -------------------------------------------------------------------

TEST(ProcessorMeterTest, LoadsAreHundredthsOfAPercentOfRealTime)
{
    ProcessorMeter meter;
    const std::uint64_t second = PerformanceFrequency();
    EXPECT_EQ(meter.LoadOf(second, 44100), 0u); // no rate yet
    meter.SetSampleRate(44100);
    EXPECT_EQ(meter.LoadOf(second, 44100), 10000u);
    EXPECT_EQ(meter.LoadOf(second / 4, 44100), 2500u);
    EXPECT_EQ(meter.LoadOf(second, 441), 1000000u);
    EXPECT_EQ(meter.LoadOf(0, 441), 0u);
    EXPECT_EQ(meter.LoadOf(second, 0), 0u);
    EXPECT_EQ(meter.LoadOf(~std::uint64_t{0}, 1), 0xFFFFFFFFu); // capped, not wrapped
    EXPECT_EQ(meter.Elapsed(meter.Begin(), 0), 0u);
    EXPECT_LE(meter.LastCount(), PerformanceCounter());
}

TEST(ProcessorMeterTest, AverageAndPeakAndTheirText)
{
    ProcessorMeter meter;
    EXPECT_EQ(meter.CpuText(), "CPU: 00.00%");
    meter.AccountLoad(1000);
    meter.AccountLoad(3000);
    EXPECT_EQ(meter.Average(), 2000u);
    EXPECT_EQ(meter.Peak(), 3000u);
    EXPECT_EQ(meter.Count(), 2u);
    meter.AccountLoad(500);
    EXPECT_EQ(meter.Average(), 1500u); // (2000 × 2 + 500) / 3
    EXPECT_EQ(meter.Peak(), 3000u);
    meter.AccountLoad(1535);
    EXPECT_EQ(meter.Average(), 1508u); // (1500 × 3 + 1535) / 4 = 1508.75
    EXPECT_EQ(meter.CpuText(), "CPU: 15.08%");
    meter.ResetStatistics();
    EXPECT_EQ(meter.Average(), 0u);
    EXPECT_EQ(meter.Peak(), 0u);
    EXPECT_EQ(meter.Count(), 0u);
}

} // namespace
} // namespace jorvo
