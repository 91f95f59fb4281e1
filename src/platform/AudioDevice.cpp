#include "platform/AudioDevice.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>

#include "platform/AudioDeviceList.h"

namespace jorvo {
namespace {

std::atomic<WaveOutDriver*> installedDriver{nullptr};
thread_local bool onDriverThread = false;

} // namespace

WaveFormat MakePcmFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate)
{
    WaveFormat format;
    format.formatTag = 1;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    format.avgBytesPerSec = format.blockAlign * rate;
    format.bitsPerSample = bits;
    format.extraSize = 0;
    return format;
}

bool IsPlayablePcm(const WaveFormat& format)
{
    const bool supported = format.formatTag == 1 && (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
                           (format.channels == 1 || format.channels == 2) && format.samplesPerSec >= 8000 &&
                           format.samplesPerSec <= 192000;
    return supported && format.blockAlign == format.channels * format.bitsPerSample / 8 &&
           format.avgBytesPerSec == format.blockAlign * format.samplesPerSec;
}

WaveResult WaveOutDevice::PrepareHeader(WaveHeader& header)
{
    if (header.data == nullptr)
        return WaveResult::Unprepared;
    header.flags.fetch_or(kWaveHeaderPrepared);
    return WaveResult::Ok;
}

WaveResult WaveOutDevice::UnprepareHeader(WaveHeader& header)
{
    if (header.flags.load() & kWaveHeaderInQueue)
        return WaveResult::StillPlaying;
    header.flags.fetch_and(~kWaveHeaderPrepared);
    return WaveResult::Ok;
}

WaveOutDriver& AudioDriver()
{
    WaveOutDriver* driver = installedDriver.load();
    return driver ? *driver : SystemAudioDriver::Instance();
}

WaveOutDriver* SetAudioDriver(WaveOutDriver* driver)
{
    return installedDriver.exchange(driver);
}

bool OnAudioDriverThread()
{
    return onDriverThread;
}

void MarkAudioDriverThread(bool driverThread)
{
    onDriverThread = driverThread;
}

bool RaiseAudioDriverPriority()
{
    // Low in the real-time range: above every ordinary thread, below the kernel's own and any
    // sound server's.
    constexpr int kDriverPriority = 10;
    sched_param parameters{};
    parameters.sched_priority = std::clamp(kDriverPriority, sched_get_priority_min(SCHED_RR), sched_get_priority_max(SCHED_RR));
    return pthread_setschedparam(pthread_self(), SCHED_RR, &parameters) == 0;
}

} // namespace jorvo
