#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/QueuedAudioDevice.h"

namespace jorvo {
namespace {

constexpr std::uint32_t kBlockFrames = 100;

// A sink that takes every frame at once and plays one block's worth each time the driver asks
// how long to sleep, so each pass of the driver loop retires one block. It counts those passes.
class SteppingDevice final : public QueuedAudioDevice {
public:
    SteppingDevice(WaveOutCallback callback, std::uintptr_t instance)
        : QueuedAudioDevice(MakePcmFormat(2, 16, 44100), callback, instance)
    {
        StartDriverThread();
    }
    ~SteppingDevice() override { StopDriverThread(); }

    // Sleeps of the driver so far. Driver thread (the callback included).
    std::uint32_t Passes() const { return passes_; }
    // The pass in which each block was taken, in order of taking. Read once the driver is idle.
    const std::vector<std::uint32_t>& TakenInPass() const { return takenInPass_; }

private:
    std::uint32_t SinkAccept(const std::uint8_t*, std::uint32_t frames) override
    {
        accepted_ += frames;
        takenInPass_.push_back(passes_);
        return frames;
    }
    std::uint64_t SinkPendingFrames() override { return accepted_ - played_; }
    void SinkKick(bool) override {}
    bool SinkSetPaused(bool) override { return true; }
    bool SinkDrop() override
    {
        played_ = accepted_;
        return true;
    }
    int SinkWaitMilliseconds(std::uint64_t) override
    {
        ++passes_;
        played_ = std::min(accepted_, played_ + kBlockFrames);
        return 1;
    }
    bool SinkClose() override { return true; }

    std::uint64_t accepted_ = 0;
    std::uint64_t played_ = 0;
    std::uint32_t passes_ = 0;
    std::vector<std::uint32_t> takenInPass_;
};

// A ring of three blocks the callback writes again at once, as the real-time output does, until
// kRefills blocks have come back.
class RefillingRing {
public:
    static constexpr std::uint32_t kRefills = 6;

    RefillingRing()
    {
        for (Block& block : blocks_) {
            block.header.data = reinterpret_cast<std::uint8_t*>(block.samples.data());
            block.header.bufferLength = kBlockFrames * 4;
        }
    }

    void Start(SteppingDevice& device)
    {
        device_ = &device;
        ASSERT_EQ(device.Pause(), WaveResult::Ok); // the whole ring is queued before anything plays
        for (Block& block : blocks_) {
            ASSERT_EQ(device.PrepareHeader(block.header), WaveResult::Ok);
            ASSERT_EQ(device.Write(block.header), WaveResult::Ok);
        }
        ASSERT_EQ(device.Restart(), WaveResult::Ok);
    }

    // Waits until every block has come back for good; false after 5 s.
    bool WaitUntilDrained()
    {
        std::unique_lock lock(mutex_);
        return drained_.wait_for(lock, std::chrono::seconds(5),
                                 [this] { return returned_ == kRefills + blocks_.size(); });
    }

    // The driver's pass in which each refilled block was handed back.
    const std::vector<std::uint32_t>& RefilledInPass() const { return refilledInPass_; }

    static void Callback(WaveOutDevice* device, WaveOutMessage message, std::uintptr_t instance, std::uintptr_t param1,
                         std::uintptr_t)
    {
        if (message != WaveOutMessage::Done)
            return;
        auto* ring = reinterpret_cast<RefillingRing*>(instance);
        std::lock_guard lock(ring->mutex_);
        if (++ring->returned_ <= kRefills) {
            ring->refilledInPass_.push_back(ring->device_->Passes());
            device->Write(*reinterpret_cast<WaveHeader*>(param1));
        }
        ring->drained_.notify_all();
    }

private:
    struct Block {
        std::vector<std::int16_t> samples = std::vector<std::int16_t>(kBlockFrames * 2);
        WaveHeader header;
    };

    std::array<Block, 3> blocks_;
    SteppingDevice* device_ = nullptr;
    std::mutex mutex_;
    std::condition_variable drained_;
    std::size_t returned_ = 0;
    std::vector<std::uint32_t> refilledInPass_;
};

TEST(QueuedAudioDeviceTest, ABlockWrittenAgainFromTheCallbackReachesTheSinkBeforeTheDriverSleeps)
{
    RefillingRing ring;
    SteppingDevice device(&RefillingRing::Callback, reinterpret_cast<std::uintptr_t>(&ring));
    ring.Start(device);
    ASSERT_TRUE(ring.WaitUntilDrained());

    // The first three takings are the ring's first fill; each later one is a refill, taken in the
    // same pass in which its block came back (a later pass would leave the sink a block short).
    const std::vector<std::uint32_t>& taken = device.TakenInPass();
    ASSERT_EQ(taken.size(), 3 + RefillingRing::kRefills);
    const std::vector<std::uint32_t> refillsTaken(taken.begin() + 3, taken.end());
    EXPECT_EQ(refillsTaken, ring.RefilledInPass());
    EXPECT_EQ(device.Underruns(), 0u);
    EXPECT_EQ(device.Reset(), WaveResult::Ok);
    EXPECT_EQ(device.Close(), WaveResult::Ok);
}

} // namespace
} // namespace jorvo
