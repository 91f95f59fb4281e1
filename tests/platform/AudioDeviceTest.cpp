#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/AlsaAudioDevice.h"
#include "platform/AudioDeviceList.h"
#include "platform/AudioDeviceReports.h"
#include "platform/RecordingShell.h"
#include "platform/SilentAudioDevice.h"

namespace jorvo {
namespace {

// Blocks of 441 stereo frames (10 ms at 44100 Hz) and what the callback saw.
class QueuedDeviceTest : public ::testing::Test {
protected:
    struct Block {
        std::vector<std::int16_t> samples = std::vector<std::int16_t>(441 * 2);
        WaveHeader header;
    };

    QueuedDeviceTest()
    {
        for (Block& block : blocks) {
            block.header.data = reinterpret_cast<std::uint8_t*>(block.samples.data());
            block.header.bufferLength = 441 * 4;
        }
    }

    static void Callback(WaveOutDevice* device, WaveOutMessage message, std::uintptr_t instance, std::uintptr_t header,
                         std::uintptr_t)
    {
        auto* test = reinterpret_cast<QueuedDeviceTest*>(instance);
        if (message != WaveOutMessage::Done)
            return;
        std::lock_guard lock(test->mutex);
        test->returned.push_back(reinterpret_cast<WaveHeader*>(header));
        test->onDriverThread = test->onDriverThread && OnAudioDriverThread();
        test->pauseFromCallback = device->Pause();
        test->changed.notify_all();
    }

    void Open()
    {
        ASSERT_EQ(SilentAudioDevice::Open(MakePcmFormat(2, 16, 44100), &Callback,
                                          reinterpret_cast<std::uintptr_t>(this), device),
                  WaveResult::Ok);
        PrepareBlocks();
    }

    void PrepareBlocks()
    {
        for (Block& block : blocks)
            ASSERT_EQ(device->PrepareHeader(block.header), WaveResult::Ok);
    }

    // Waits (without a time limit that a test could trip over) until `count` blocks came back.
    void WaitForReturned(std::size_t count)
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return returned.size() >= count; });
    }

    std::array<Block, 3> blocks;
    std::unique_ptr<WaveOutDevice> device;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<WaveHeader*> returned;
    bool onDriverThread = true;
    WaveResult pauseFromCallback = WaveResult::Ok;
};

TEST_F(QueuedDeviceTest, BlocksComeBackDoneInQueueOrderOnTheDriverThread)
{
    Open();
    for (Block& block : blocks)
        ASSERT_EQ(device->Write(block.header), WaveResult::Ok);
    EXPECT_EQ(device->Write(blocks[0].header), WaveResult::StillPlaying);
    WaitForReturned(3);
    EXPECT_EQ(returned, (std::vector<WaveHeader*>{&blocks[0].header, &blocks[1].header, &blocks[2].header}));
    EXPECT_TRUE(onDriverThread);
    EXPECT_FALSE(OnAudioDriverThread());
    EXPECT_EQ(pauseFromCallback, WaveResult::WrongThread);
    EXPECT_EQ(blocks[2].header.flags.load(), kWaveHeaderDone | kWaveHeaderPrepared);
    EXPECT_EQ(device->Close(), WaveResult::Ok);
}

TEST_F(QueuedDeviceTest, APausedDeviceKeepsItsBlocksAndResetHandsThemBack)
{
    Open();
    ASSERT_EQ(device->Pause(), WaveResult::Ok);
    for (Block& block : blocks)
        ASSERT_EQ(device->Write(block.header), WaveResult::Ok);
    std::this_thread::sleep_for(std::chrono::milliseconds(60)); // twice what the blocks last
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(returned.empty());
    }
    EXPECT_EQ(device->UnprepareHeader(blocks[0].header), WaveResult::StillPlaying);
    EXPECT_EQ(device->Close(), WaveResult::StillPlaying);

    ASSERT_EQ(device->Reset(), WaveResult::Ok);
    EXPECT_EQ(returned.size(), 3u); // all handed back before Reset returned
    for (Block& block : blocks) {
        EXPECT_EQ(block.header.flags.load() & kWaveHeaderInQueue, 0u);
        EXPECT_EQ(device->UnprepareHeader(block.header), WaveResult::Ok);
    }
    EXPECT_EQ(device->Write(blocks[0].header), WaveResult::Unprepared);
    EXPECT_EQ(device->Close(), WaveResult::Ok);
    EXPECT_EQ(device->Pause(), WaveResult::BadDevice);
}

// An underrun is a block arriving after the device played everything it had while running.
TEST_F(QueuedDeviceTest, ABlockArrivingAfterTheDeviceRanDryIsAnUnderrun)
{
    Open();
    ASSERT_EQ(device->Write(blocks[0].header), WaveResult::Ok);
    WaitForReturned(1); // handed back only once played: the device has nothing left
    EXPECT_EQ(device->Underruns(), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(device->Write(blocks[1].header), WaveResult::Ok);
    WaitForReturned(2);
    EXPECT_EQ(device->Underruns(), 1u);
    EXPECT_EQ(device->Close(), WaveResult::Ok);
}

// Blocks queued ahead never wait; neither does the first block after a start, a pause or a reset.
TEST_F(QueuedDeviceTest, QueuedAheadPausedOrResetTheDeviceCountsNoUnderrun)
{
    Open();
    ASSERT_EQ(device->Pause(), WaveResult::Ok);
    for (Block& block : blocks)
        ASSERT_EQ(device->Write(block.header), WaveResult::Ok);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(device->Restart(), WaveResult::Ok);
    WaitForReturned(3);
    EXPECT_EQ(device->Underruns(), 0u);

    ASSERT_EQ(device->Reset(), WaveResult::Ok);
    ASSERT_EQ(device->Write(blocks[0].header), WaveResult::Ok);
    WaitForReturned(4);
    EXPECT_EQ(device->Underruns(), 0u);
    EXPECT_EQ(device->Close(), WaveResult::Ok);
}

// ALSA's "null" PCM takes everything at once, so it shows the card path without a card.
TEST_F(QueuedDeviceTest, AnAlsaPcmIsSizedFromTheRingAndPlaysTheBlocksInOrder)
{
    const WaveResult opened = AlsaAudioDevice::Open("null", MakePcmFormat(2, 16, 44100), RingGeometry{441, 3}, &Callback,
                                                    reinterpret_cast<std::uintptr_t>(this), device);
    if (opened != WaveResult::Ok)
        GTEST_SKIP() << "no ALSA null PCM on this machine";
    const auto& alsa = static_cast<const AlsaAudioDevice&>(*device);
    EXPECT_GT(alsa.PeriodFrames(), 0u);
    EXPECT_GE(alsa.BufferFrames(), alsa.PeriodFrames());
    PrepareBlocks();
    ASSERT_EQ(device->Pause(), WaveResult::Ok);
    for (Block& block : blocks)
        ASSERT_EQ(device->Write(block.header), WaveResult::Ok);
    // The PCM swallows the data at once, yet a paused device hands nothing back: the output
    // would drop blocks returned before it runs and fall silent for good.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(returned.empty());
    }
    ASSERT_EQ(device->Restart(), WaveResult::Ok);
    WaitForReturned(3);
    EXPECT_EQ(returned, (std::vector<WaveHeader*>{&blocks[0].header, &blocks[1].header, &blocks[2].header}));
    EXPECT_EQ(device->Reset(), WaveResult::Ok);
    EXPECT_EQ(device->Close(), WaveResult::Ok);
    EXPECT_EQ(AlsaAudioDevice::Query("null", MakePcmFormat(2, 16, 44100)), WaveResult::Ok);
    EXPECT_EQ(AlsaAudioDevice::Query("null", MakePcmFormat(2, 12, 44100)), WaveResult::BadFormat);
}

TEST(SystemAudioDriverTest, DefaultComesFirstAndTheSilentOutputLast)
{
    SystemAudioDriver& driver = SystemAudioDriver::Instance();
    const std::uint32_t silent = driver.SilentDevice();
    EXPECT_EQ(driver.DeviceName(0), "default");
    for (std::uint32_t index = 0; index < silent; ++index)
        EXPECT_NE(driver.DeviceName(index), "null") << "\"null\" discards at once; the silent output keeps time instead";
    EXPECT_EQ(driver.DeviceName(silent), "silent output");
    EXPECT_EQ(driver.DeviceName(silent + 1), std::nullopt);
    EXPECT_EQ(driver.QueryFormat(silent, MakePcmFormat(2, 16, 44100)), WaveResult::Ok);
    EXPECT_EQ(driver.QueryFormat(silent, MakePcmFormat(2, 24, 44100)), WaveResult::BadFormat);
    EXPECT_EQ(driver.QueryFormat(silent + 1, MakePcmFormat(2, 16, 44100)), WaveResult::BadDevice);
    WaveFormat inconsistent = MakePcmFormat(2, 16, 44100);
    inconsistent.blockAlign = 2;
    EXPECT_FALSE(IsPlayablePcm(inconsistent));
}

TEST(AudioDeviceReportsTest, ReportsFromADriverThreadWaitForTheUserInterfaceAndShowOnce)
{
    RecordingShell shell;
    ScopedShell installed(shell);
    static constexpr std::string_view kFirst = "first driver report";
    static constexpr std::string_view kSecond = "second driver report";
    std::thread driverThread([] {
        MarkAudioDriverThread(true);
        ReportAudioFailure(kFirst);
        ReportAudioFailure(kSecond);
        ReportAudioFailure(kFirst);
    });
    driverThread.join();
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(ShowAudioReports(), 2u);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{"first driver report", "second driver report"}));
    EXPECT_EQ(shell.messageBoxes[0].caption, "WaveOut driver");
    EXPECT_EQ(ShowAudioReports(), 0u);

    ReportAudioFailure(kSecond); // on this thread it is shown at once
    EXPECT_EQ(shell.messages.size(), 3u);
}

} // namespace
} // namespace jorvo
