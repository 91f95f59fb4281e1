#include "platform/SilentAudioDevice.h"

#include <algorithm>

namespace jorvo {

void RealTimeClock::Advance()
{
    const Clock::time_point now = Clock::now();
    if (paused_ || pending_ == 0 || rate_ == 0 || now <= playedUntil_)
        return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - playedUntil_).count();
    const std::uint64_t frames = static_cast<std::uint64_t>(elapsed) * rate_ / 1'000'000'000u;
    const std::uint64_t played = std::min(frames, pending_);
    pending_ -= played;
    // Carry the part of a frame not yet played, so the rate does not drift.
    playedUntil_ = pending_ == 0 ? now : playedUntil_ + std::chrono::nanoseconds(played * 1'000'000'000u / rate_);
}

void RealTimeClock::Add(std::uint64_t frames)
{
    Advance();
    if (pending_ == 0)
        playedUntil_ = Clock::now();
    pending_ += frames;
}

std::uint64_t RealTimeClock::Pending()
{
    Advance();
    return pending_;
}

void RealTimeClock::SetPaused(bool paused)
{
    Advance();
    paused_ = paused;
    if (!paused)
        playedUntil_ = Clock::now();
}

int RealTimeClock::MillisecondsFor(std::uint64_t frames) const
{
    if (rate_ == 0)
        return 1000;
    const std::uint64_t milliseconds = (frames * 1000 + rate_ - 1) / rate_;
    return static_cast<int>(std::clamp<std::uint64_t>(milliseconds, 1, 1000));
}

WaveResult SilentAudioDevice::Open(const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance,
                                   std::unique_ptr<WaveOutDevice>& opened)
{
    if (!IsPlayablePcm(format))
        return WaveResult::BadFormat;
    auto device = std::unique_ptr<SilentAudioDevice>(new SilentAudioDevice(format, callback, instance));
    device->StartDriverThread();
    opened = std::move(device);
    return WaveResult::Ok;
}

SilentAudioDevice::SilentAudioDevice(const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance)
    : QueuedAudioDevice(format, callback, instance), clock_(format.samplesPerSec)
{
}

SilentAudioDevice::~SilentAudioDevice()
{
    StopDriverThread();
}

std::uint32_t SilentAudioDevice::SinkAccept(const std::uint8_t*, std::uint32_t frames)
{
    clock_.Add(frames);
    return frames;
}

bool SilentAudioDevice::SinkSetPaused(bool paused)
{
    clock_.SetPaused(paused);
    return true;
}

bool SilentAudioDevice::SinkDrop()
{
    clock_.Drop();
    return true;
}

} // namespace jorvo
