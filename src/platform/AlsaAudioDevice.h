#pragma once
// A wave-out device over an ALSA PCM. The PCM is opened non-blocking, so a device another program
// holds answers "busy" at once instead of hanging; its period is one block and its buffer all the
// blocks, as far as the hardware grants (the granted sizes are read back). Playback starts only
// when the buffer is full or nothing more is queued, so a device that cannot pause still starts
// with the whole ring filled. Underruns are recovered and counted. A PCM that fails for good (a
// card unplugged) is reported once and replaced by a real-time clock, so blocks keep circulating.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/QueuedAudioDevice.h"
#include "platform/SilentAudioDevice.h"

typedef struct _snd_pcm snd_pcm_t;

namespace jorvo {

class AlsaAudioDevice final : public QueuedAudioDevice {
public:
    // Whether PCM `pcmName` takes `format`, opening it only for the query. Ok, BadFormat,
    // Allocated (busy) or BadDevice.
    static WaveResult Query(const std::string& pcmName, const WaveFormat& format);
    // Opens PCM `pcmName` for `format` with buffering sized by `geometry`. On Ok `opened` holds
    // the device; otherwise BadFormat, Allocated (busy) or BadDevice.
    static WaveResult Open(const std::string& pcmName, const WaveFormat& format, const RingGeometry& geometry,
                           WaveOutCallback callback, std::uintptr_t instance, std::unique_ptr<WaveOutDevice>& opened);
    ~AlsaAudioDevice() override;

    // The period and buffer sizes the hardware granted, in frames.
    std::uint32_t PeriodFrames() const { return periodFrames_; }
    std::uint32_t BufferFrames() const { return bufferFrames_; }
    // Whether the hardware can pause.
    bool CanPause() const { return canPause_; }
    // Underruns the PCM reported and we recovered from so far. Any thread.
    std::uint32_t Underruns() const override { return underruns_.load(); }

private:
    AlsaAudioDevice(snd_pcm_t* pcm, const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance);

    std::uint32_t SinkAccept(const std::uint8_t* data, std::uint32_t frames) override;
    std::uint64_t SinkPendingFrames() override;
    void SinkKick(bool moreToFeed) override;
    bool SinkSetPaused(bool paused) override;
    bool SinkDrop() override;
    int SinkWaitMilliseconds(std::uint64_t framesUntilDone) override;
    bool SinkClose() override;

    // Recovers from an underrun or suspend; false (and the PCM given up) when that fails.
    bool Recover(int error);
    // Gives the PCM up for the clock, reporting it once.
    void Fail();

    snd_pcm_t* pcm_;
    std::uint32_t periodFrames_ = 0;
    std::uint32_t bufferFrames_ = 0;
    bool canPause_ = false;
    bool paused_ = false;
    bool hardwarePaused_ = false;
    bool failed_ = false;
    std::atomic<std::uint32_t> underruns_{0};
    RealTimeClock fallback_;
};

} // namespace jorvo
