#include "engine/EffectDelay.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using Delay = EffectDelay;

void Set(Delay& delay, std::int32_t number, std::int32_t value)
{
    delay.HandleEvent(number, value, 0, 0, 0);
}

// All stereo output frames of `input`, processed chunk by chunk.
std::vector<std::int32_t> ProcessAll(Delay& delay, const std::vector<std::int32_t>& input)
{
    std::vector<std::int32_t> output;
    for (std::size_t start = 0; start < input.size(); start += Effect::kMaxFrames) {
        const int frames = static_cast<int>(std::min<std::size_t>(Effect::kMaxFrames, input.size() - start));
        delay.Process(input.data() + start, frames);
        output.insert(output.end(), delay.Output(), delay.Output() + 2 * frames);
    }
    return output;
}

std::vector<std::int32_t> Impulse(std::size_t length, std::size_t at, std::int32_t value)
{
    std::vector<std::int32_t> samples(length, 0);
    samples[at] = value;
    return samples;
}

// The frames at which `channel` (0 left, 1 right) is not zero.
std::vector<std::size_t> NonZeroFrames(const std::vector<std::int32_t>& output, int channel)
{
    std::vector<std::size_t> frames;
    for (std::size_t frame = 0; 2 * frame < output.size(); ++frame) {
        if (output[2 * frame + static_cast<std::size_t>(channel)] != 0)
            frames.push_back(frame);
    }
    return frames;
}

TEST(EffectDelay, DefaultsAndRanges)
{
    Delay delay;
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 11250);
    EXPECT_EQ(delay.GetParameterValue(Delay::kMaximumTime), 44100);
    EXPECT_EQ(delay.GetParameterValue(Delay::kBalance), 64);
    EXPECT_EQ(delay.GetParameterValue(Delay::kFeedback), 64);
    EXPECT_EQ(delay.FindParameter(Delay::kTime)->Maximum(), 44100);
    EXPECT_EQ(delay.FindParameter(Delay::kMaximumTime)->Minimum(), 127);
    EXPECT_EQ(delay.FindParameter(Delay::kMaximumTime)->Maximum(), 88200);
    EXPECT_EQ(delay.LineLength(), 44100);
    EXPECT_EQ(delay.LineCapacity(), 88200u);
}

TEST(EffectDelay, Time11250DelaysBothSidesExactly)
{
    Delay delay;
    Set(delay, Delay::kFeedback, 0);
    const std::vector<std::int32_t> output = ProcessAll(delay, Impulse(23000, 5, 123456));
    EXPECT_EQ(NonZeroFrames(output, 0), std::vector<std::size_t>{11255});
    EXPECT_EQ(NonZeroFrames(output, 1), std::vector<std::size_t>{11255});
    EXPECT_EQ(output[2 * 11255], 123456);
    EXPECT_EQ(output[2 * 11255 + 1], 123456);
}

TEST(EffectDelay, FeedbackReturnsTheSummedTapsScaled)
{
    Delay delay;
    Set(delay, Delay::kTime, 100);
    Set(delay, Delay::kFeedback, 127);
    const std::vector<std::int32_t> output = ProcessAll(delay, Impulse(350, 0, 1024));
    EXPECT_EQ(NonZeroFrames(output, 0), (std::vector<std::size_t>{100, 200, 300}));
    EXPECT_EQ(output[200], 1024);
    EXPECT_EQ(output[400], 1016);   // (1024 + 1024) × 127 >> 8
    EXPECT_EQ(output[600], 1008);   // (1016 + 1016) × 127 >> 8
    EXPECT_EQ(output[601], 1008);
}

TEST(EffectDelay, BalanceShortensOneTap)
{
    struct Case {
        std::int32_t balance;
        std::size_t left;
        std::size_t right;
    };
    // (192 − 127) × 1000 >> 7 = 507; (0 + 65) × 1000 >> 7 = 507; (63 + 65) × 1000 >> 7 = 1000.
    for (const Case& c : {Case{127, 1000, 507}, Case{0, 507, 1000}, Case{63, 1000, 1000}, Case{64, 1000, 1000}}) {
        Delay delay;
        Set(delay, Delay::kFeedback, 0);
        Set(delay, Delay::kTime, 1000);
        Set(delay, Delay::kBalance, c.balance);
        EXPECT_EQ(delay.LeftTap(), static_cast<std::int32_t>(c.left));
        EXPECT_EQ(delay.RightTap(), static_cast<std::int32_t>(c.right));
        const std::vector<std::int32_t> output = ProcessAll(delay, Impulse(1500, 0, 77));
        EXPECT_EQ(NonZeroFrames(output, 0), std::vector<std::size_t>{c.left}) << c.balance;
        EXPECT_EQ(NonZeroFrames(output, 1), std::vector<std::size_t>{c.right}) << c.balance;
    }
}

TEST(EffectDelay, TimeBeyondMaximumTimeIsIgnored)
{
    Delay delay;
    Set(delay, Delay::kTime, 44101);
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 11250);
    Set(delay, Delay::kMaximumTime, 88200);
    Set(delay, Delay::kTime, 60000);
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 60000);
    Set(delay, Delay::kFeedback, 0);
    const std::vector<std::int32_t> output = ProcessAll(delay, Impulse(61000, 0, 5));
    EXPECT_EQ(NonZeroFrames(output, 0), std::vector<std::size_t>{60000});
}

TEST(EffectDelay, MaximumTime1000LowersTimeAndClearsTheLine)
{
    Delay delay;
    Set(delay, Delay::kFeedback, 0);
    Set(delay, Delay::kTime, 1500);
    std::vector<std::int32_t> input(1200, 0);
    std::fill(input.begin(), input.begin() + 500, 9999);
    ProcessAll(delay, input);   // the echo is still in the line

    Set(delay, Delay::kMaximumTime, 1000);
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 1000);
    EXPECT_EQ(delay.LineLength(), 1000);
    EXPECT_EQ(delay.LineCapacity(), 88200u);
    EXPECT_EQ(delay.LeftTap(), 1000);
    EXPECT_EQ(delay.RightTap(), 1000);
    const std::vector<std::int32_t> after = ProcessAll(delay, Impulse(2500, 10, 3));
    EXPECT_EQ(NonZeroFrames(after, 0), std::vector<std::size_t>{1010});
    EXPECT_EQ(NonZeroFrames(after, 1), std::vector<std::size_t>{1010});
}

// A controller lowering Maximum Time during playback changes what plays, not the document: the
// stored Time stays and returns on stop.
TEST(EffectDelay, LiveMaximumTimeKeepsTheStoredTime)
{
    Delay delay;
    Set(delay, Delay::kMaximumTime, 1000);
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 1000);
    EXPECT_EQ(delay.FindParameter(Delay::kTime)->StoredValue(), 11250);
    delay.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    EXPECT_EQ(delay.GetParameterValue(Delay::kMaximumTime), 44100);
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 11250);
    EXPECT_EQ(delay.LineLength(), 44100);
}

// The editor changes the document's Maximum Time: the document's Time follows it down.
TEST(EffectDelay, StoredMaximumTimeLowersTheStoredTime)
{
    Delay delay;
    delay.SetStoredValue(Delay::kMaximumTime, 1000);
    Set(delay, Delay::kMaximumTime, 1000);
    const SeqParameter* time = delay.FindParameter(Delay::kTime);
    EXPECT_EQ(time->StoredValue(), 1000);
    EXPECT_EQ(time->LiveValue(), 1000);
    EXPECT_EQ(time->Maximum(), 1000);
    delay.SetStoredValue(Delay::kTime, 1001);
    EXPECT_EQ(time->StoredValue(), 1000);
    delay.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    EXPECT_EQ(delay.GetParameterValue(Delay::kTime), 1000);
    EXPECT_EQ(delay.LineLength(), 1000);
}

TEST(EffectDelay, GrowingTheLineKeepsTheWritePosition)
{
    Delay delay;
    Set(delay, Delay::kFeedback, 0);
    Set(delay, Delay::kMaximumTime, 500);   // Time 500
    ProcessAll(delay, std::vector<std::int32_t>(123, 0));
    Set(delay, Delay::kMaximumTime, 800);
    Set(delay, Delay::kTime, 700);
    EXPECT_EQ(delay.LineCapacity(), 88200u);
    const std::vector<std::int32_t> output = ProcessAll(delay, Impulse(1600, 0, 1));
    EXPECT_EQ(NonZeroFrames(output, 0), std::vector<std::size_t>{700});
}

std::string StoreBinary(Delay& delay)
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store);
    delay.Serialize(archive);
    archive.Close();
    return stream.BytesAsString();
}

// Time is stored before Maximum Time; a Time above the default maximum must survive the load.
void SetLongTime(Delay& delay)
{
    delay.SetStoredValue(Delay::kMaximumTime, 88200);
    delay.HandleEvent(Delay::kMaximumTime, 88200, 0, 0, 0);
    delay.SetStoredValue(Delay::kTime, 60000);
    delay.HandleEvent(Delay::kTime, 60000, 0, 0, 0);
}

void ExpectLongTime(const Delay& delay)
{
    for (const std::uint16_t number : {Delay::kTime, Delay::kMaximumTime}) {
        const SeqParameter* parameter = delay.FindParameter(number);
        EXPECT_EQ(parameter->StoredValue(), number == Delay::kTime ? 60000 : 88200);
        EXPECT_EQ(parameter->LiveValue(), parameter->StoredValue());
    }
    EXPECT_EQ(delay.LineLength(), 88200);
    EXPECT_EQ(delay.LeftTap(), 60000);
}

TEST(EffectDelayStorage, BinaryLoadKeepsATimeAboveTheDefaultMaximum)
{
    Delay written;
    SetLongTime(written);
    const std::string bytes = StoreBinary(written);
    Delay read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    read.Serialize(archive);
    ExpectLongTime(read);
    EXPECT_EQ(read.FindParameter(Delay::kTime)->Maximum(), 88200);
}

TEST(EffectDelayStorage, FailedLoadLeavesTimeWithinItsMaximum)
{
    Delay written;
    std::string bytes = StoreBinary(written);
    bytes.resize(bytes.size() / 2);
    Delay read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    EXPECT_THROW(read.Serialize(archive), ArchiveException);
    EXPECT_EQ(read.FindParameter(Delay::kTime)->Maximum(), read.GetParameterValue(Delay::kMaximumTime));
    EXPECT_LE(read.GetParameterValue(Delay::kTime), read.LineLength());
}

TEST(EffectDelayStorage, XmlLoadRebuildsTheLineAndKeepsTheLongTime)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
    const std::string path = (dir / "delay.xml").string();
    Delay written;
    SetLongTime(written);
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        written.SerializeXML(child);
        ASSERT_TRUE(archive.Save());
    }
    EXPECT_NE(test::ReadFileBytes(path).find("Name=\"Maximum Time\" Value=\"88200\""), std::string::npos);

    Delay read;
    Set(read, Delay::kFeedback, 0);
    ProcessAll(read, std::vector<std::int32_t>(3000, 4444));   // sound in the line before the load
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(archive.Descend("Effect"));
        read.SerializeXML(archive);
    }
    ExpectLongTime(read);
    const std::vector<std::int32_t> after = ProcessAll(read, std::vector<std::int32_t>(60000, 0));
    EXPECT_TRUE(std::all_of(after.begin(), after.end(), [](std::int32_t sample) { return sample == 0; }));
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
