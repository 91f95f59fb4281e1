#include <cstring>
#include <gtest/gtest.h>

#include "platform/DynamicLibrary.h"
#include "platform/MemoryStatus.h"
#include "platform/PerformanceCounter.h"

namespace jorvo {
namespace {

TEST(DynamicLibraryTest, LoadsALibraryAndFindsItsSymbols)
{
    DynamicLibrary library;
    ASSERT_TRUE(library.Load("libc.so.6")) << library.ErrorText();
    EXPECT_TRUE(library.IsLoaded());
    using Length = std::size_t (*)(const char*);
    const auto length = reinterpret_cast<Length>(library.Symbol("strlen"));
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length("Jorvo"), 5u);
    EXPECT_TRUE(library.ErrorText().empty());

    EXPECT_EQ(library.Symbol("NoSuchJorvoSymbol"), nullptr);
    EXPECT_NE(library.ErrorText().find("NoSuchJorvoSymbol"), std::string::npos);

    DynamicLibrary moved(std::move(library));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(moved.IsLoaded());
    moved.Unload();
    EXPECT_FALSE(moved.IsLoaded());
    EXPECT_EQ(moved.Symbol("strlen"), nullptr);
    EXPECT_FALSE(moved.ErrorText().empty());
}

TEST(DynamicLibraryTest, AMissingLibraryFailsWithTheLoaderText)
{
    DynamicLibrary library;
    EXPECT_FALSE(library.Load("/nonexistent/Missing.Instrument"));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_NE(library.ErrorText().find("/nonexistent/Missing.Instrument"), std::string::npos);
}

TEST(PerformanceCounterTest, CountsForwardAtItsFrequency)
{
    EXPECT_EQ(PerformanceFrequency(), 1000000000u); // steady_clock counts nanoseconds on Linux
    const std::uint64_t first = PerformanceCounter();
    const std::uint64_t second = PerformanceCounter();
    EXPECT_GE(second, first);
}

TEST(MemoryStatusTest, UsesMemAvailableWhenThere)
{
    const MemoryStatus status = ParseMemoryStatus("MemTotal:        8000000 kB\n"
                                                  "MemFree:          100000 kB\n"
                                                  "MemAvailable:    2000000 kB\n"
                                                  "Buffers:          300000 kB\n");
    EXPECT_EQ(status.totalBytes, 8192000000u);
    EXPECT_EQ(status.availableBytes, 2048000000u);
    EXPECT_EQ(status.loadPercent, 75u);
}

TEST(MemoryStatusTest, AddsFreeBuffersAndCacheOnOlderKernels)
{
    // Available 100 + 50 + 183 = 333 kB of 1000: 667 used, 66.7 % shown as 66.
    const MemoryStatus status = ParseMemoryStatus("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\n"
                                                  "Cached: 183 kB\nSwapCached: 999 kB\n");
    EXPECT_EQ(status.availableBytes, 333u * 1024);
    EXPECT_EQ(status.loadPercent, 66u);
}

TEST(MemoryStatusTest, DamagedTextGivesZeros)
{
    for (const char* text : {"", "MemTotal: lots kB\nMemAvailable: 1 kB\n", "MemTotalX: 10 kB\n",
                             "MemTotal: 0 kB\nMemAvailable: 0 kB\n", "MemTotal: 99999999999999999999 kB\n"}) {
        const MemoryStatus status = ParseMemoryStatus(text);
        EXPECT_EQ(status.totalBytes, 0u) << text;
        EXPECT_EQ(status.loadPercent, 0u) << text;
    }
    const MemoryStatus moreFreeThanAll = ParseMemoryStatus("MemTotal: 10 kB\nMemAvailable: 20 kB\n");
    EXPECT_EQ(moreFreeThanAll.availableBytes, 10240u);
    EXPECT_EQ(moreFreeThanAll.loadPercent, 0u);
}

TEST(MemoryStatusTest, ThisMachineReportsSensibleFigures)
{
    const MemoryStatus status = CurrentMemoryStatus();
    EXPECT_GT(status.totalBytes, 0u);
    EXPECT_LE(status.availableBytes, status.totalBytes);
    EXPECT_LE(status.loadPercent, 100u);
}

} // namespace
} // namespace jorvo
