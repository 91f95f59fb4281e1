#pragma once
// The "silent output": a wave-out device without a sound card. Its driver thread consumes the
// queued blocks at the real-time rate of their format, so machines without audio hardware (CI
// included) still play, and time passes as it would through a card.
#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/QueuedAudioDevice.h"

namespace jorvo {

// A clock that plays frames away at a sample rate: frames handed to it are pending until the
// real time they last has passed. Pausing freezes it; it never plays ahead of what it was given.
class RealTimeClock {
public:
    // A clock for `rate` frames per second (0 plays nothing).
    explicit RealTimeClock(std::uint32_t rate) : rate_(rate) {}

    // Adds `frames` behind those pending; playing starts now when nothing was pending.
    void Add(std::uint64_t frames);
    // Frames added and not yet played.
    std::uint64_t Pending();
    // Holds or resumes playing.
    void SetPaused(bool paused);
    // Forgets every pending frame.
    void Drop() { pending_ = 0; }
    // Milliseconds until `frames` more frames have played, at least 1, at most 1000.
    int MillisecondsFor(std::uint64_t frames) const;

private:
    using Clock = std::chrono::steady_clock;
    void Advance();

    std::uint32_t rate_;
    std::uint64_t pending_ = 0;
    bool paused_ = false;
    Clock::time_point playedUntil_{}; // the moment up to which pending frames have been played
};

class SilentAudioDevice final : public QueuedAudioDevice {
public:
    // Opens the silent device for `format`. BadFormat for formats IsPlayablePcm refuses.
    static WaveResult Open(const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance,
                           std::unique_ptr<WaveOutDevice>& opened);
    ~SilentAudioDevice() override;

private:
    SilentAudioDevice(const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance);

    std::uint32_t SinkAccept(const std::uint8_t* data, std::uint32_t frames) override;
    std::uint64_t SinkPendingFrames() override { return clock_.Pending(); }
    void SinkKick(bool) override {}
    bool SinkSetPaused(bool paused) override;
    bool SinkDrop() override;
    int SinkWaitMilliseconds(std::uint64_t framesUntilDone) override { return clock_.MillisecondsFor(framesUntilDone); }
    bool SinkClose() override { return true; }

    RealTimeClock clock_;
};

} // namespace jorvo
