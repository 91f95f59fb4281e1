#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "audio/AudioMessages.h"
#include "audio/AudioOutputMME.h"
#include "audio/AudioOutputTestDriver.h"
#include "document/Configuration.h"
#include "platform/AudioDeviceList.h"
#include "platform/AudioDeviceReports.h"
#include "platform/RecordingShell.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

// Fills every sample with one value and returns `frames` (or what `shortBy` takes off).
class ScriptedSource : public AudioSource {
public:
    std::uint32_t RenderAudio(std::int32_t* buffer, std::uint32_t frames) noexcept override
    {
        const std::uint32_t produced = next ? next(buffer, frames) : frames;
        if (!next)
            std::fill_n(buffer, std::size_t{frames} * 2, 0);
        calls.fetch_add(1);
        return produced;
    }
    std::function<std::uint32_t(std::int32_t*, std::uint32_t)> next;
    std::atomic<int> calls{0};
};

class StudioProbe : public AudioOutputStudio {
public:
    void SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) override
    {
        formats.push_back({channels, bits, rate});
    }
    std::uint64_t BeginBlock() noexcept override { return 7; }
    void AccountBlock(std::uint64_t start, std::uint32_t frames) noexcept override
    {
        if (start == 7)
            accountedFrames.fetch_add(frames);
    }
    std::vector<std::array<std::uint32_t, 3>> formats;
    std::atomic<std::uint64_t> accountedFrames{0};
};

class AudioOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousRegistry_ = std::getenv("JORVO_REGISTRY");
        ::setenv("JORVO_REGISTRY", registry.c_str(), 1);
        ResetConfiguration();
    }
    void TearDown() override
    {
        output.reset();
        AudioOutput::SetStudio(nullptr);
        ::setenv("JORVO_REGISTRY", previousRegistry_.c_str(), 1);
        ResetConfiguration();
    }

    AudioOutputMME& Create()
    {
        output = std::make_unique<AudioOutputMME>(&studio);
        output->SetSource(&source);
        return *output;
    }
    std::optional<std::uint32_t> Stored(const char* name) const
    {
        return SettingsStore(registry).ReadDWORD(SettingsRoot::CurrentUser, kSettingsKey, name);
    }
    void Store(const char* name, std::uint32_t value)
    {
        SettingsStore(registry).WriteDWORD(SettingsRoot::CurrentUser, kSettingsKey, name, value);
    }
    std::vector<std::string> DriverReports() const
    {
        std::vector<std::string> texts;
        for (const RecordedMessageBox& box : shell.messageBoxes)
            if (box.caption == kWaveOutDriverCaption)
                texts.push_back(box.text);
        return texts;
    }

    test::TempDir dir;
    std::string registry = (dir / "registry.xml").string();
    test::ScriptedDriver driver;
    ScopedAudioDriver driverInstalled{driver};
    RecordingShell shell;
    ScopedShell shellInstalled{shell};
    StudioProbe studio;
    ScriptedSource source;
    std::unique_ptr<AudioOutputMME> output;

private:
    std::string previousRegistry_;
};

TEST_F(AudioOutputTest, FreshSettingsGiveSixteenBlocksOf1024FramesAndAreStored)
{
    AudioOutputMME& mme = Create();
    EXPECT_EQ(Stored("MMEBlockCount"), 16u);
    EXPECT_EQ(Stored("MMEBlockSize"), 1024u);
    ASSERT_EQ(studio.formats.size(), 1u);
    EXPECT_EQ(studio.formats[0], (std::array<std::uint32_t, 3>{2, 16, 44100}));

    ASSERT_TRUE(mme.Start());
    EXPECT_TRUE(mme.IsRunning());
    ASSERT_EQ(driver.device->written.size(), 16u);
    for (const test::QueuedBlock& block : driver.device->written)
        EXPECT_EQ(block.length, 4096u);
    EXPECT_EQ(studio.accountedFrames.load(), 16u * 1024u);
    EXPECT_TRUE(shell.messages.empty());
}

struct StoredGeometry {
    std::uint32_t count, size, expectedCount, expectedSize;
};

class AudioOutputClampTest : public AudioOutputTest, public ::testing::WithParamInterface<StoredGeometry> {};

TEST_P(AudioOutputClampTest, StoredValuesAreClampedAndWrittenBackOnDestruction)
{
    Store("MMEBlockCount", GetParam().count);
    Store("MMEBlockSize", GetParam().size);
    AudioOutputMME& mme = Create();
    EXPECT_EQ(mme.BlockCount(), GetParam().expectedCount);
    EXPECT_EQ(mme.BlockSize(), GetParam().expectedSize);
    output.reset();
    EXPECT_EQ(Stored("MMEBlockCount"), GetParam().expectedCount);
    EXPECT_EQ(Stored("MMEBlockSize"), GetParam().expectedSize);
}

INSTANTIATE_TEST_SUITE_P(Limits, AudioOutputClampTest,
                         ::testing::Values(StoredGeometry{2, 4, 3, 8}, StoredGeometry{40, 10000, 32, 8192},
                                           StoredGeometry{100000, 70000, 32, 8192}, StoredGeometry{0, 0, 3, 8}));

TEST_F(AudioOutputTest, StartTwiceAndStopTwiceDoNothingTheSecondTime)
{
    AudioOutputMME& mme = Create();
    ASSERT_TRUE(mme.Start());
    const WaveHeader* firstHeader = driver.device->written[0].header;
    EXPECT_TRUE(mme.Start());
    EXPECT_EQ(driver.opens, 1);
    EXPECT_EQ(driver.calls.pauses, 1);
    EXPECT_EQ(driver.device->written.size(), 16u);

    mme.Stop();
    EXPECT_FALSE(mme.IsRunning());
    EXPECT_EQ(source.calls.load(), 16); // blocks the reset handed back were not refilled
    mme.Stop();
    EXPECT_EQ(driver.calls.resets, 1);
    EXPECT_EQ(driver.calls.closes, 1);

    ASSERT_TRUE(mme.Start()); // blocks were kept: the same 16 are queued again on a new device
    EXPECT_EQ(driver.opens, 2);
    EXPECT_EQ(driver.device->written.size(), 16u);
    EXPECT_EQ(driver.device->written[0].header, firstHeader);
}

// The count survives the devices: each Stop closes one, and a later Start opens a new one.
TEST_F(AudioOutputTest, UnderrunsAddUpOverEveryDeviceTheOutputOpened)
{
    AudioOutputMME& mme = Create();
    EXPECT_EQ(mme.Underruns(), 0u);
    ASSERT_TRUE(mme.Start());
    driver.device->underruns = 2;
    EXPECT_EQ(mme.Underruns(), 2u);
    mme.Stop();
    EXPECT_EQ(mme.Underruns(), 2u);
    ASSERT_TRUE(mme.Start());
    driver.device->underruns = 3;
    EXPECT_EQ(mme.Underruns(), 5u);
    mme.Stop();
    mme.Reset();
    EXPECT_EQ(mme.Underruns(), 5u);
}

TEST_F(AudioOutputTest, AShortBlockIsRePreparedAndTheNextFullOneGetsItsLengthBack)
{
    AudioOutputMME& mme = Create();
    ASSERT_TRUE(mme.Start());
    test::ScriptedDevice& device = *driver.device;
    source.next = [](std::int32_t* buffer, std::uint32_t) {
        std::fill_n(buffer, 200, 0);
        return 100u;
    };
    device.ReturnBlock();
    source.next = nullptr;
    device.ReturnBlock();

    ASSERT_EQ(device.written.size(), 18u);
    const test::QueuedBlock shortBlock = device.written[16];
    const test::QueuedBlock fullBlock = device.written[17];
    EXPECT_EQ(shortBlock.header, device.written[0].header); // the ring turns in creation order
    EXPECT_EQ(shortBlock.length, 400u);
    EXPECT_EQ(shortBlock.flags, kWaveHeaderPrepared);       // re-prepared: flags cleared, then prepared
    EXPECT_EQ(fullBlock.length, 4096u);
    EXPECT_EQ(fullBlock.header, device.written[1].header);
    EXPECT_EQ(studio.accountedFrames.load(), 17u * 1024u + 100u);

    while (device.queue.front() != shortBlock.header)
        device.ReturnBlock();
    device.ReturnBlock(); // the short block comes round again with a full render
    EXPECT_EQ(device.written.back().header, device.written[0].header);
    EXPECT_EQ(device.written.back().length, 4096u);
    EXPECT_EQ(device.written.back().flags, kWaveHeaderPrepared);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(AudioOutputTest, SamplesAreShiftedBy8AndSaturated)
{
    AudioOutputMME& mme = Create();
    const std::array<std::int32_t, 8> rendered{4660, -1, 8388607, 8388608, 2147483647, -8388608, -8388609,
                                               -2147483647 - 1};
    source.next = [&rendered](std::int32_t* buffer, std::uint32_t frames) {
        std::fill_n(buffer, std::size_t{frames} * 2, 0);
        std::copy(rendered.begin(), rendered.end(), buffer);
        return frames;
    };
    ASSERT_TRUE(mme.Start());
    const std::vector<std::int16_t>& samples = driver.device->written[0].samples;
    const std::vector<std::int16_t> expected{18, -1, 32767, 32767, 32767, -32768, -32768, -32768};
    EXPECT_EQ(std::vector<std::int16_t>(samples.begin(), samples.begin() + 8), expected);
}

TEST_F(AudioOutputTest, TheFormatFallsBackToTheFirstDeviceThatTakesIt)
{
    driver.accepts = {false, false, true};
    AudioOutputMME& mme = Create();
    EXPECT_EQ(mme.Device(), 2u);

    driver.accepts = {false, false, false};
    EXPECT_FALSE(mme.SetFormat(2, 16, 48000));
    EXPECT_EQ(shell.LastMessage(),
              "No MME Device found that handles this format\n Channels: 2/n BitsPerSample: 16bit/n SamplesPerSecond: 48000Hz");
    std::uint16_t channels = 0, bits = 0;
    std::uint32_t rate = 0;
    mme.GetFormat(channels, bits, rate);
    EXPECT_EQ(rate, 44100u);
    EXPECT_EQ(studio.formats.size(), 1u);
}

TEST_F(AudioOutputTest, FailuresToOpenPauseOrRestartAreReportedAndLeaveTheOutputStopped)
{
    AudioOutputMME& mme = Create();
    driver.openResult = WaveResult::Allocated;
    EXPECT_FALSE(mme.Start());
    driver.openResult = WaveResult::Ok;
    driver.pauseResult = WaveResult::DeviceError;
    EXPECT_FALSE(mme.Start());
    EXPECT_EQ(driver.opens, 2);
    mme.Reset(); // closes the paused device
    driver.pauseResult = WaveResult::Ok;
    driver.restartResult = WaveResult::DeviceError;
    EXPECT_FALSE(mme.Start());
    EXPECT_FALSE(mme.IsRunning());
    EXPECT_EQ(DriverReports(),
              (std::vector<std::string>{"WaveOutOpen() failed", "waveOutPause() failed", "WaveOutRestart() failed"}));
    driver.device->ReturnBlock(); // handed back, but not refilled while stopped
    EXPECT_EQ(source.calls.load(), 16);
}

TEST_F(AudioOutputTest, AFailedResetKeepsTheDeviceOpenAndNothingIsRefilled)
{
    AudioOutputMME& mme = Create();
    ASSERT_TRUE(mme.Start());
    driver.device->resetResult = WaveResult::DeviceError;
    mme.Stop();
    EXPECT_FALSE(mme.IsRunning());
    EXPECT_EQ(DriverReports(), std::vector<std::string>{"WaveOutReset() failed"});
    EXPECT_EQ(driver.calls.closes, 0);
    driver.device->ReturnBlock();
    EXPECT_EQ(source.calls.load(), 16);
    output.reset(); // the device that would not reset is torn down before its blocks are freed
    EXPECT_EQ(Stored("MMEBlockCount"), 16u);
}

TEST_F(AudioOutputTest, ConfigureWhileRunningShowsNothingAndStoppedItTakesTheDialogValues)
{
    driver.accepts = {true, true};
    AudioOutputMME& mme = Create();
    ASSERT_TRUE(mme.Start());
    EXPECT_FALSE(mme.Configure());
    EXPECT_TRUE(shell.audioOutputRequests.empty());
    EXPECT_TRUE(shell.messages.empty());

    mme.Stop();
    shell.audioOutputAnswers = {AudioOutputChoice{100, 1024, 1}, AudioOutputChoice{8, 2048, 1}};
    EXPECT_TRUE(mme.Configure());
    ASSERT_EQ(shell.audioOutputRequests.size(), 1u);
    const AudioOutputOptionsRequest& request = shell.audioOutputRequests[0];
    EXPECT_EQ(request.current.blockCount, 16u);
    EXPECT_EQ(request.current.blockSize, 1024u);
    ASSERT_EQ(request.devices.size(), 2u);
    EXPECT_EQ(request.devices[1].name, "Card 1");
    EXPECT_EQ(request.latencyText(request.current), "Latency = 372 ms");
    EXPECT_EQ(shell.messages, std::vector<std::string>{"The number of Buffers must be between 3 and 32."});
    EXPECT_EQ(mme.BlockCount(), 8u);
    EXPECT_EQ(mme.BlockSize(), 2048u);
    EXPECT_EQ(mme.Device(), 1u);

    ASSERT_TRUE(mme.Start()); // the ring is rebuilt with the new size
    EXPECT_EQ(driver.device->written.size(), 8u);
    EXPECT_EQ(driver.device->written[0].length, 8192u);

    mme.Stop();
    EXPECT_TRUE(mme.Configure()); // Cancel changes nothing
    EXPECT_EQ(mme.BlockCount(), 8u);
}

// Plays about a second through the silent output on its own driver thread.
TEST_F(AudioOutputTest, TheSilentOutputConsumesBlocksAtTheRealTimeRate)
{
    ScopedAudioDriver machine(SystemAudioDriver::Instance());
    AudioOutputMME& mme = Create();
    shell.audioOutputAnswers = {AudioOutputChoice{16, 1024, SystemAudioDriver::Instance().SilentDevice()}};
    ASSERT_TRUE(mme.Configure());

    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(mme.Start());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    mme.Stop();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const int calls = source.calls.load();

    // 16 blocks are filled at the start and one more for every 1024 frames played: never ahead
    // of the clock, and (generously) not much behind it.
    const double played = seconds * 44100.0 / 1024.0;
    EXPECT_LE(calls, 16 + static_cast<int>(played) + 1);
    EXPECT_GE(calls, 16 + static_cast<int>(played / 2));
    EXPECT_FALSE(mme.IsRunning());
    EXPECT_EQ(ShowAudioReports(), 0u);
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
