#pragma once
// The common half of our wave-out devices: a driver thread that takes the queued blocks in order,
// hands their frames to a sink (the sound card, or a clock for the silent device), and returns
// each block through the callback once the sink has played all of it.
//
// Threads. Owner calls (Write, Pause, Restart, Reset, Close) take the device's mutex only long
// enough to post a block or a command; Pause, Restart, Reset and Close wait until the driver
// thread has carried the command out, so every sink call happens on the driver thread. A Write
// from the callback goes straight onto the driver's own queue without locking.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/AudioDevice.h"

namespace jorvo {

class QueuedAudioDevice : public WaveOutDevice {
public:
    ~QueuedAudioDevice() override;

    WaveResult Write(WaveHeader& header) override;
    WaveResult Pause() override;
    WaveResult Restart() override;
    WaveResult Reset() override;
    WaveResult Close() override;
    // Counted when a block reaches the sink while playback runs and the sink has nothing left to
    // play. A device whose hardware counts its own underruns overrides this.
    std::uint32_t Underruns() const override { return underruns_.load(std::memory_order_relaxed); }

protected:
    QueuedAudioDevice(const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance);

    // Starts the driver thread; the derived constructor calls it once its sink is ready.
    void StartDriverThread();
    // Ends the driver thread without handing blocks back; the derived destructor calls it before
    // tearing its sink down. Nothing when the thread is not running.
    void StopDriverThread();

    const WaveFormat& Format() const { return format_; }

    // The sink, all called on the driver thread.
    // Takes up to `frames` frames from `data` and returns how many it took (0 when full).
    virtual std::uint32_t SinkAccept(const std::uint8_t* data, std::uint32_t frames) = 0;
    // Frames taken but not yet played.
    virtual std::uint64_t SinkPendingFrames() = 0;
    // Starts playing when the sink waits for a start; `moreToFeed` says whether blocks are still
    // waiting to be taken.
    virtual void SinkKick(bool moreToFeed) = 0;
    // Holds or resumes playback. False when the device refuses.
    virtual bool SinkSetPaused(bool paused) = 0;
    // Discards everything taken and not yet played. False when the device refuses.
    virtual bool SinkDrop() = 0;
    // How long to sleep, in milliseconds, when the next block is done after `framesUntilDone`
    // more frames are played.
    virtual int SinkWaitMilliseconds(std::uint64_t framesUntilDone) = 0;
    // Releases the sink after the driver thread has ended (Close). False when it fails.
    virtual bool SinkClose() = 0;

private:
    enum class Command { None, Pause, Restart, Reset, Close };

    WaveResult RunCommand(Command command);
    void ServeCommand();
    void DriverLoop();
    void Pump();
    void Feed();
    void NoteArrival();
    void Retire();
    void HandBack(WaveHeader* header);
    void Append(WaveHeader* header);
    void TakeIncoming();
    int WaitMilliseconds();
    std::uint32_t FramesOf(const WaveHeader& header) const;

    WaveFormat format_;
    WaveOutCallback callback_;
    std::uintptr_t instance_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable commandDone_;
    WaveHeader* incomingHead_ = nullptr; // written by the owner, not yet seen by the driver
    WaveHeader* incomingTail_ = nullptr;
    Command command_ = Command::None;
    WaveResult commandResult_ = WaveResult::Ok;
    bool closing_ = false;

    // Driver thread only.
    WaveHeader* queueHead_ = nullptr;   // queued, oldest first
    WaveHeader* queueTail_ = nullptr;
    WaveHeader* feedCursor_ = nullptr;  // first block not wholly taken by the sink
    std::uint32_t feedOffset_ = 0;      // frames of feedCursor_ already taken
    std::uint64_t framesInSink_ = 0;    // frames taken from queued blocks
    bool paused_ = false;
    bool flowing_ = false;              // frames have been playing since the last start or reset
    std::atomic<std::uint32_t> underruns_{0};

    std::thread thread_;
    bool closed_ = false;
};

} // namespace jorvo
