#include <gtest/gtest.h>

#include "audio/AudioOutputOptions.h"
#include "audio/AudioOutputTestDriver.h"
#include "platform/RecordingShell.h"

namespace jorvo {
namespace {

class AudioOutputOptionsTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell installed{shell};
};

TEST_F(AudioOutputOptionsTest, LatencyIsSamplesTimesBuffersOverTheRateInMilliseconds)
{
    EXPECT_EQ(LatencyText(1024, 16, 44100), "Latency = 372 ms"); // 371.52
    EXPECT_EQ(LatencyText(8, 3, 44100), "Latency = 1 ms");       // 0.544
    EXPECT_EQ(LatencyText(8192, 32, 44100), "Latency = 5944 ms"); // 5944.38
    EXPECT_EQ(LatencyText(1024, 16, 0), "Latency = 0 ms");
    EXPECT_EQ(RangeLabel(3, 32), "(3 - 32)");
    EXPECT_EQ(RangeLabel(8, 8192), "(8 - 8192)");
}

TEST_F(AudioOutputOptionsTest, HundredBuffersPassTheFieldCheckButAreRefusedOnOk)
{
    std::uint32_t buffers = 100;
    EXPECT_TRUE(CheckBuffersField(buffers, 16));
    EXPECT_TRUE(shell.messages.empty());

    AudioOutputChoice entered{100, 1024, 0};
    EXPECT_FALSE(CheckOk(entered, AudioOutputChoice{16, 512, 0}));
    EXPECT_EQ(shell.messages, std::vector<std::string>{"The number of Buffers must be between 3 and 32."});
    EXPECT_EQ(entered.blockCount, 16u);
    EXPECT_EQ(entered.blockSize, 1024u);
}

TEST_F(AudioOutputOptionsTest, SixteenSamplesPassOkButAreRefusedByTheFieldCheck)
{
    AudioOutputChoice entered{16, 16, 0};
    EXPECT_TRUE(CheckOk(entered, AudioOutputChoice{16, 1024, 0}));
    EXPECT_TRUE(shell.messages.empty());

    std::uint32_t samples = 16;
    EXPECT_FALSE(CheckSamplesField(samples, 1024));
    EXPECT_EQ(shell.LastMessage(), "The number of samples per block must be between 32 and 8192");
    EXPECT_EQ(samples, 1024u);
}

TEST_F(AudioOutputOptionsTest, EachCheckKeepsItsOwnBounds)
{
    std::uint32_t buffers = 2;
    EXPECT_FALSE(CheckBuffersField(buffers, 16));
    buffers = 257;
    EXPECT_FALSE(CheckBuffersField(buffers, 20));
    EXPECT_EQ(buffers, 20u);
    buffers = 256;
    EXPECT_TRUE(CheckBuffersField(buffers, 16));
    std::uint32_t samples = 8193;
    EXPECT_FALSE(CheckSamplesField(samples, 64));
    samples = 32;
    EXPECT_TRUE(CheckSamplesField(samples, 64));

    AudioOutputChoice entered{32, 4, 0};
    EXPECT_FALSE(CheckOk(entered, AudioOutputChoice{16, 1024, 0}));
    EXPECT_EQ(entered.blockSize, 1024u);
    EXPECT_EQ(shell.LastMessage(), "The number of Samples per Buffer must be between 8 and 8192.");
    ASSERT_EQ(shell.messages.size(), 4u);
    EXPECT_EQ(shell.messages[0], "The number of blocks must be between 3 and 256");
}

TEST_F(AudioOutputOptionsTest, TheDeviceListSkipsDevicesWhoseNameCannotBeRead)
{
    struct PartlyNamedDriver : test::ScriptedDriver {
        std::optional<std::string> DeviceName(std::uint32_t index) override
        {
            return index == 1 ? std::nullopt : ScriptedDriver::DeviceName(index);
        }
    } driver;
    driver.accepts = {true, true, true};
    const std::vector<AudioDeviceEntry> devices = ListOutputDevices(driver);
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[1].index, 2u);
    EXPECT_EQ(devices[1].name, "Card 2");
}

} // namespace
} // namespace jorvo
