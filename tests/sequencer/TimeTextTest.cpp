#include "sequencer/TimeText.h"

#include <gtest/gtest.h>

#include "sequencer/ControllerNames.h"
#include "sequencer/SequencerSettings.h"
#include "SeqEventTestSupport.h"

namespace jorvo {
namespace {

using TimeTextTest = test::SequencerValuesTest;

TEST_F(TimeTextTest, PositionsAreWrittenOneBasedAndLengthsZeroBased)
{
    // 4 beats of 480 pulses: one bar is 1920 pulses.
    EXPECT_EQ(PositionToText(0), "001:01:001");
    EXPECT_EQ(PositionToText(1920), "002:01:001");
    EXPECT_EQ(PositionToText(1920 + 2 * 480 + 7), "002:03:008");
    EXPECT_EQ(LengthToText(480), "000:01:000");
    EXPECT_EQ(LengthToText(1921), "001:00:001");
    EXPECT_EQ(LengthToText(0), "000:00:000");
}

TEST_F(TimeTextTest, ReadingPositionsAndLengths)
{
    EXPECT_EQ(PositionFromText("002:01:001"), 1920u);
    EXPECT_EQ(PositionFromText("0:0:0"), 0u);
    // Only the bar is given: (3 − 1) bars of 4 × 480.
    EXPECT_EQ(PositionFromText("3"), 3840u);
    EXPECT_EQ(PositionFromText("001:02:011"), 480u + 10u);
    // A negative or non-numeric field counts as 0 and is not decreased.
    EXPECT_EQ(PositionFromText("-5:2:x"), 480u);
    EXPECT_EQ(PositionFromText(""), 0u);
    EXPECT_EQ(LengthFromText("001:02:010"), (4u + 2u) * 480u + 10u);
    EXPECT_EQ(LengthFromText("000:00:000"), 0u);
    // Fields after the third are ignored.
    EXPECT_EQ(LengthFromText("0:1:2:3"), 482u);
}

TEST_F(TimeTextTest, BarIsClampedTo999)
{
    // Bar index 999 and beyond are written as bar 999 (index 998), beats and ticks unchanged.
    EXPECT_EQ(PositionToText(998u * 1920u), "999:01:001");
    EXPECT_EQ(PositionToText(999u * 1920u), "999:01:001");
    // 5000000 = 10416 beats + 320 ticks; 10416 mod 4 = 0.
    EXPECT_EQ(PositionToText(5000000u), "999:01:321");
    // 0xFFFFFFFF = 8947848 beats (a multiple of 4) + 255 ticks.
    EXPECT_EQ(LengthToText(0xFFFFFFFFu), "998:00:255");
}

TEST_F(TimeTextTest, ResultsBeyondThirtyTwoBitsAreHeld)
{
    EXPECT_EQ(LengthFromText("999999999999:1:1"), 0xFFFFFFFFu);
    EXPECT_EQ(LengthFromText("0:0:99999999999"), 0xFFFFFFFFu);
    EXPECT_EQ(PositionFromText("2237963:1:1"), 0xFFFFFFFFu);   // 2237962 bars × 1920 > 2^32
}

TEST_F(TimeTextTest, FollowsTheClassWideBeatsAndResolution)
{
    ASSERT_TRUE(SequencerSettings::SetBeatsPerBar(3));
    ASSERT_TRUE(SequencerSettings::SetPulsesPerQuarterNote(96));
    // 1000 pulses: bar 1000 div 288 = 3, beat (1000 div 96) mod 3 = 1, tick 1000 mod 96 = 40.
    EXPECT_EQ(PositionToText(1000), "004:02:041");
    EXPECT_EQ(PositionFromText("004:02:041"), 1000u);
    EXPECT_EQ(LengthFromText("1:0:0"), 288u);
}

TEST_F(TimeTextTest, PositionTextRoundTrips)
{
    for (std::uint32_t pulses : {0u, 1u, 479u, 480u, 1919u, 1920u, 123457u, 998u * 1920u + 1919u})
        EXPECT_EQ(PositionFromText(PositionToText(pulses)), pulses) << pulses;
}

TEST_F(TimeTextTest, SettingsRefuseValuesThatBreakTheArithmetic)
{
    EXPECT_FALSE(SequencerSettings::SetBeatsPerBar(0));
    EXPECT_FALSE(SequencerSettings::SetPulsesPerQuarterNote(-480));
    EXPECT_FALSE(SequencerSettings::SetPulsesPerQuarterNote(65536));
    EXPECT_FALSE(SequencerSettings::SetTempo(0));
    EXPECT_FALSE(SequencerSettings::SetTimingAccuracy(2));
    EXPECT_EQ(SequencerSettings::GetBeatsPerBar(), 4);
    EXPECT_EQ(SequencerSettings::GetPulsesPerQuarterNote(), 480);
    EXPECT_EQ(SequencerSettings::GetTempo(), 120);
    EXPECT_EQ(SequencerSettings::GetTimingAccuracy(), 7u);
    EXPECT_TRUE(SequencerSettings::SetTimingAccuracy(3));
    EXPECT_EQ(SequencerSettings::GetTimingAccuracy(), 3u);
    EXPECT_EQ(SequencerSettings::GetPulsesPerBar(), 1920u);
}

TEST(ControllerNamesTest, NamesAndCodes)
{
    EXPECT_EQ(ControllerName(120), "120");
    EXPECT_EQ(ControllerCode("120"), 120);
    EXPECT_EQ(ControllerName(7), "VOLUME");
    EXPECT_EQ(ControllerCode("VOLUME"), 7);
    EXPECT_EQ(ControllerCode("NOTE"), 200);
    EXPECT_EQ(ControllerName(200), "NOTE");
    EXPECT_EQ(ControllerName(201), "NOTE");
    EXPECT_EQ(ControllerCode(ControllerName(201)), 200);
    EXPECT_EQ(ControllerName(202), "202");
    EXPECT_EQ(ControllerName(84), "PORTAMENTO_CTRL");
    EXPECT_EQ(ControllerCode("ACTIVATE"), 205);
    EXPECT_EQ(ControllerCode("volume"), 0);
    EXPECT_EQ(ControllerCode("abc"), 0);
    EXPECT_EQ(ControllerCode("70000"), 0);
    EXPECT_EQ(ControllerCode(""), 0);
}

} // namespace
} // namespace jorvo
