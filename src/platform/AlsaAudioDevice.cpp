#include "platform/AlsaAudioDevice.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>

#include "platform/AudioDeviceReports.h"

namespace jorvo {
namespace {

// The ALSA sample format of integer PCM `bits`, or unknown.
snd_pcm_format_t SampleFormat(const WaveFormat& format)
{
    if (format.formatTag != 1)
        return SND_PCM_FORMAT_UNKNOWN;
    switch (format.bitsPerSample) {
    case 8: return SND_PCM_FORMAT_U8;
    case 16: return SND_PCM_FORMAT_S16_LE;
    default: return SND_PCM_FORMAT_UNKNOWN;
    }
}

WaveResult OpenError(int error)
{
    return error == -EBUSY || error == -EAGAIN ? WaveResult::Allocated : WaveResult::BadDevice;
}

// Narrows `params` to interleaved `format`; false when the PCM cannot take it.
bool RestrictToFormat(snd_pcm_t* pcm, snd_pcm_hw_params_t* params, const WaveFormat& format)
{
    const snd_pcm_format_t sampleFormat = SampleFormat(format);
    return IsPlayablePcm(format) && sampleFormat != SND_PCM_FORMAT_UNKNOWN && snd_pcm_hw_params_any(pcm, params) >= 0 &&
           snd_pcm_hw_params_set_rate_resample(pcm, params, 1) >= 0 &&
           snd_pcm_hw_params_set_access(pcm, params, SND_PCM_ACCESS_RW_INTERLEAVED) >= 0 &&
           snd_pcm_hw_params_set_format(pcm, params, sampleFormat) >= 0 &&
           snd_pcm_hw_params_set_channels(pcm, params, format.channels) >= 0 &&
           snd_pcm_hw_params_set_rate(pcm, params, format.samplesPerSec, 0) >= 0;
}

// Asks for a period of one block and a buffer of all blocks, then commits. False on failure.
bool ApplyGeometry(snd_pcm_t* pcm, snd_pcm_hw_params_t* params, const RingGeometry& geometry)
{
    snd_pcm_uframes_t period = std::max<std::uint32_t>(geometry.blockFrames, 1);
    snd_pcm_uframes_t buffer = period * std::max<std::uint32_t>(geometry.blockCount, 2);
    int direction = 0;
    snd_pcm_hw_params_set_period_size_near(pcm, params, &period, &direction);
    snd_pcm_hw_params_set_buffer_size_near(pcm, params, &buffer);
    return snd_pcm_hw_params(pcm, params) >= 0;
}

// Playback starts only when asked (SinkKick); wake-ups come once a period is free.
bool ApplySoftwareParams(snd_pcm_t* pcm, snd_pcm_uframes_t period)
{
    snd_pcm_sw_params_t* params = nullptr;
    snd_pcm_sw_params_alloca(&params);
    snd_pcm_uframes_t boundary = 0;
    return snd_pcm_sw_params_current(pcm, params) >= 0 && snd_pcm_sw_params_get_boundary(params, &boundary) >= 0 &&
           snd_pcm_sw_params_set_start_threshold(pcm, params, boundary) >= 0 &&
           snd_pcm_sw_params_set_avail_min(pcm, params, period) >= 0 && snd_pcm_sw_params(pcm, params) >= 0;
}

} // namespace

WaveResult AlsaAudioDevice::Query(const std::string& pcmName, const WaveFormat& format)
{
    snd_pcm_t* pcm = nullptr;
    const int opened = snd_pcm_open(&pcm, pcmName.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (opened < 0)
        return OpenError(opened);
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    const bool takesFormat = RestrictToFormat(pcm, params, format);
    snd_pcm_close(pcm);
    return takesFormat ? WaveResult::Ok : WaveResult::BadFormat;
}

WaveResult AlsaAudioDevice::Open(const std::string& pcmName, const WaveFormat& format, const RingGeometry& geometry,
                                 WaveOutCallback callback, std::uintptr_t instance,
                                 std::unique_ptr<WaveOutDevice>& opened)
{
    snd_pcm_t* pcm = nullptr;
    const int openResult = snd_pcm_open(&pcm, pcmName.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (openResult < 0)
        return OpenError(openResult);
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    if (!RestrictToFormat(pcm, params, format)) {
        snd_pcm_close(pcm);
        return WaveResult::BadFormat;
    }
    snd_pcm_uframes_t period = 0;
    snd_pcm_uframes_t buffer = 0;
    int direction = 0;
    if (!ApplyGeometry(pcm, params, geometry) || snd_pcm_hw_params_get_period_size(params, &period, &direction) < 0 ||
        snd_pcm_hw_params_get_buffer_size(params, &buffer) < 0 || !ApplySoftwareParams(pcm, period) ||
        snd_pcm_prepare(pcm) < 0) {
        snd_pcm_close(pcm);
        return WaveResult::BadDevice;
    }
    auto device = std::unique_ptr<AlsaAudioDevice>(new AlsaAudioDevice(pcm, format, callback, instance));
    device->periodFrames_ = static_cast<std::uint32_t>(period);
    device->bufferFrames_ = static_cast<std::uint32_t>(buffer);
    device->canPause_ = snd_pcm_hw_params_can_pause(params) != 0;
    device->StartDriverThread();
    opened = std::move(device);
    return WaveResult::Ok;
}

AlsaAudioDevice::AlsaAudioDevice(snd_pcm_t* pcm, const WaveFormat& format, WaveOutCallback callback,
                                 std::uintptr_t instance)
    : QueuedAudioDevice(format, callback, instance), pcm_(pcm), fallback_(format.samplesPerSec)
{
}

AlsaAudioDevice::~AlsaAudioDevice()
{
    StopDriverThread();
    SinkClose();
}

bool AlsaAudioDevice::SinkClose()
{
    if (!pcm_)
        return true;
    const int closed = snd_pcm_close(pcm_);
    pcm_ = nullptr;
    return closed >= 0;
}

void AlsaAudioDevice::Fail()
{
    if (failed_)
        return;
    failed_ = true;
    snd_pcm_drop(pcm_);
    fallback_.SetPaused(paused_);
    PostAudioReport(kAudioDeviceLost);
}

bool AlsaAudioDevice::Recover(int error)
{
    if (error == -EPIPE)
        underruns_.fetch_add(1);
    if (snd_pcm_recover(pcm_, error, 1) < 0) {
        Fail();
        return false;
    }
    return true;
}

std::uint32_t AlsaAudioDevice::SinkAccept(const std::uint8_t* data, std::uint32_t frames)
{
    if (failed_) {
        fallback_.Add(frames);
        return frames;
    }
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (paused_ && state != SND_PCM_STATE_PREPARED)
        return 0; // a paused device takes more only while it has not started
    const snd_pcm_sframes_t written = snd_pcm_writei(pcm_, data, frames);
    if (written >= 0)
        return static_cast<std::uint32_t>(written);
    if (written == -EPIPE || written == -ESTRPIPE)
        Recover(static_cast<int>(written));
    else if (written != -EAGAIN)
        Fail();
    return 0;
}

std::uint64_t AlsaAudioDevice::SinkPendingFrames()
{
    if (failed_)
        return fallback_.Pending();
    const snd_pcm_sframes_t available = snd_pcm_avail(pcm_);
    if (available < 0) {
        Recover(static_cast<int>(available)); // an underrun drops what was queued
        return 0;
    }
    return available >= bufferFrames_ ? 0 : bufferFrames_ - static_cast<std::uint64_t>(available);
}

void AlsaAudioDevice::SinkKick(bool moreToFeed)
{
    if (failed_ || snd_pcm_state(pcm_) != SND_PCM_STATE_PREPARED)
        return;
    const snd_pcm_sframes_t available = snd_pcm_avail(pcm_);
    const bool queued = available >= 0 && static_cast<std::uint64_t>(available) < bufferFrames_;
    if (queued && (available == 0 || !moreToFeed) && snd_pcm_start(pcm_) < 0)
        Fail();
}

bool AlsaAudioDevice::SinkSetPaused(bool paused)
{
    paused_ = paused;
    if (failed_) {
        fallback_.SetPaused(paused);
        return true;
    }
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (paused && state == SND_PCM_STATE_RUNNING && canPause_) {
        if (snd_pcm_pause(pcm_, 1) < 0)
            return false;
        hardwarePaused_ = true;
    } else if (!paused && hardwarePaused_) {
        if (snd_pcm_pause(pcm_, 0) < 0)
            return false;
        hardwarePaused_ = false;
    }
    return true; // without hardware pause, what the card holds plays out and nothing more is fed
}

bool AlsaAudioDevice::SinkDrop()
{
    hardwarePaused_ = false;
    if (failed_) {
        fallback_.Drop();
        return true;
    }
    return snd_pcm_drop(pcm_) >= 0 && snd_pcm_prepare(pcm_) >= 0;
}

int AlsaAudioDevice::SinkWaitMilliseconds(std::uint64_t framesUntilDone)
{
    if (failed_)
        return fallback_.MillisecondsFor(framesUntilDone);
    // The card is not polled: wake at least twice a period to feed it and see blocks finish.
    const std::uint64_t frames = std::min<std::uint64_t>(framesUntilDone, std::max<std::uint32_t>(periodFrames_ / 2, 1));
    return fallback_.MillisecondsFor(frames);
}

} // namespace jorvo
