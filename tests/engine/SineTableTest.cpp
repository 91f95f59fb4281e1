#include "engine/SineTable.h"

#include <cmath>
#include <gtest/gtest.h>

namespace jorvo {
namespace {

// The recurrence written out again, step by step in single precision.
std::int32_t RecurrenceEntry(float start, int index)
{
    float beforePrevious = start;
    float previous = 0.0f;
    float value = 0.0f;
    for (int n = 0; n <= index; ++n) {
        const float scaled = 1.9993976f * previous;
        value = scaled - beforePrevious;
        beforePrevious = previous;
        previous = value;
    }
    return static_cast<std::int32_t>(value);
}

TEST(SineTable, EntriesFollowTheSinglePrecisionRecurrence)
{
    const SineTable chorus = SineTable::Chorus();
    const SineTable flanger = SineTable::Flanger();
    for (int n = 0; n < SineTable::kSize; ++n) {
        EXPECT_EQ(chorus[n], RecurrenceEntry(-50.2358017f, n) + 2047) << n;
        EXPECT_EQ(flanger[n], RecurrenceEntry(-100.4716034f, n)) << n;
    }
}

// Values from a separate single-precision evaluation of the recurrence.
TEST(SineTable, KnownEntries)
{
    const SineTable chorus = SineTable::Chorus();
    const SineTable flanger = SineTable::Flanger();
    const int indices[] = {0, 1, 31, 63, 64, 127, 128, 191, 255};
    const std::int32_t chorusValues[] = {2097, 2147, 3494, 4093, 4093, 2047, 1997, 1, 2047};
    const std::int32_t flangerValues[] = {100, 200, 2894, 4093, 4092, 0, -100, -4093, 0};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(chorus[indices[k]], chorusValues[k]) << indices[k];
        EXPECT_EQ(flanger[indices[k]], flangerValues[k]) << indices[k];
    }
}

TEST(SineTable, OnePeriodOfTheNamedAmplitude)
{
    const SineTable chorus = SineTable::Chorus();
    const SineTable flanger = SineTable::Flanger();
    for (int n = 0; n < SineTable::kSize; ++n) {
        const double angle = 2.0 * 3.14159265358979323846 * (n + 1) / 256.0;
        // Truncation loses up to one unit; rounding in the recurrence a little more.
        EXPECT_NEAR(chorus[n], 2047.0 + 2047.0 * std::sin(angle), 1.1) << n;
        EXPECT_NEAR(flanger[n], 4094.0 * std::sin(angle), 1.1) << n;
        EXPECT_GE(chorus[n], 0);
        EXPECT_LE(chorus[n], 4094);
    }
}

TEST(SineTable, LookupInterpolatesBetweenEntries)
{
    const SineTable chorus = SineTable::Chorus();
    const SineTable flanger = SineTable::Flanger();
    EXPECT_EQ(chorus.Lookup(0), 2097);
    EXPECT_EQ(chorus.Lookup(2048), 2097 + 25);        // half way to 2147
    EXPECT_EQ(chorus.Lookup(4095), 2097 + 49);        // (50 × 4095) >> 12
    // Falling between entries: the shift rounds toward minus infinity.
    EXPECT_EQ(flanger.Lookup(64 * 4096 + 1), 4091);   // 4092 + ((4089 − 4092) × 1 >> 12)
    EXPECT_EQ(chorus.Lookup(64 * 4096 + 1), 4092);    // 4093 + ((4091 − 4093) × 1 >> 12)
    EXPECT_EQ(flanger.Lookup(128 * 4096 + 2048), -150);
}

TEST(SineTable, LookupWrapsFromTheLastEntryToTheFirst)
{
    const SineTable flanger = SineTable::Flanger();
    EXPECT_EQ(flanger.Lookup(255 * 4096 + 3000), 73);   // 0 + (100 × 3000 >> 12)
    EXPECT_EQ(flanger.Lookup(SineTable::kPhaseMask), 99);
    EXPECT_EQ(flanger.Lookup(SineTable::kPhaseMask + 1), flanger.Lookup(0));
}

TEST(ReadPosition, StepGlidesToTheTargetDelayOverTheControlPeriod)
{
    const std::int32_t span = 1022 * ReadPosition::kOne;
    // Read position 100 samples above write index 500; target 150 samples: 50 samples more over
    // 256 samples, on top of following the write index down one sample each.
    const std::int32_t step = ReadPosition::GlideStep(150 * 4096, 500, 600 * 4096, span);
    EXPECT_EQ(step, (50 * 4096 >> 8) - 4096);
    // A read position below the write index counts as a whole line further on.
    EXPECT_EQ(ReadPosition::GlideStep(0, 10, 5 * 4096, span), ((5 * 4096 - span) >> 8) - 4096);
}

TEST(ReadPosition, AdvanceWrapsBothWays)
{
    const std::int32_t span = 254 * ReadPosition::kOne;
    EXPECT_EQ(ReadPosition::Advance(100, -4096, span), span + 100 - 4096);
    EXPECT_EQ(ReadPosition::Advance(span - 10, 4096, span), 4086);
    EXPECT_EQ(ReadPosition::Advance(4096, -4096, span), 0);
}

TEST(ReadPosition, InterpolateReadsBetweenNeighbours)
{
    const std::int32_t line[] = {1000, -1000, 7};
    EXPECT_EQ(ReadPosition::Interpolate(line, 0), 1000);
    EXPECT_EQ(ReadPosition::Interpolate(line, 1024), 500);
    EXPECT_EQ(ReadPosition::Interpolate(line, 4096 + 2048), -1000 + (1007 * 2048 >> 12));
    // Differences of full-scale samples wrap as 32-bit registers do: 2^31 becomes −2^31, times
    // 4095 (odd) is still −2^31, shifted right by 12 gives −524288.
    const std::int32_t loud[] = {-(1 << 30), 1 << 30};
    EXPECT_EQ(ReadPosition::Interpolate(loud, 4095), -(1 << 30) - 524288);
}

} // namespace
} // namespace jorvo
