#include "platform/AudioDeviceList.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/AlsaAudioDevice.h"
#include "platform/SilentAudioDevice.h"

namespace jorvo {
namespace {

// ALSA's library prints its own errors; ours come back as results and reports instead.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...)
{
}

// ALSA's "null" PCM takes every frame at once, so a song played through it would race to its
// end; the silent output is the discarding device that keeps real time.
bool IsDiscardingPcm(const char* name)
{
    return std::strcmp(name, "null") == 0;
}

// Output PCM names from ALSA's device hints, without "default", "null" and duplicates.
void AppendHintedOutputs(std::vector<std::string>& names)
{
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0 || hints == nullptr)
        return;
    for (void** hint = hints; *hint != nullptr; ++hint) {
        char* name = snd_device_name_get_hint(*hint, "NAME");
        char* direction = snd_device_name_get_hint(*hint, "IOID");
        const bool output = direction == nullptr || std::strcmp(direction, "Output") == 0;
        if (name && output && !IsDiscardingPcm(name) && std::find(names.begin(), names.end(), name) == names.end())
            names.emplace_back(name);
        std::free(name);
        std::free(direction);
    }
    snd_device_name_free_hint(hints);
}

} // namespace

SystemAudioDriver& SystemAudioDriver::Instance()
{
    static SystemAudioDriver driver;
    return driver;
}

const std::vector<std::string>& SystemAudioDriver::PcmNames()
{
    std::call_once(listed_, [this] {
        snd_lib_error_set_handler(&IgnoreAlsaError);
        pcmNames_.emplace_back("default");
        AppendHintedOutputs(pcmNames_);
    });
    return pcmNames_;
}

std::uint32_t SystemAudioDriver::DeviceCount()
{
    return static_cast<std::uint32_t>(PcmNames().size() + 1);
}

std::optional<std::string> SystemAudioDriver::DeviceName(std::uint32_t index)
{
    const std::vector<std::string>& names = PcmNames();
    if (index < names.size())
        return names[index];
    if (index == names.size())
        return std::string(kSilentOutputName);
    return std::nullopt;
}

WaveResult SystemAudioDriver::QueryFormat(std::uint32_t index, const WaveFormat& format)
{
    const std::vector<std::string>& names = PcmNames();
    if (index < names.size())
        return AlsaAudioDevice::Query(names[index], format);
    if (index == names.size())
        return IsPlayablePcm(format) ? WaveResult::Ok : WaveResult::BadFormat;
    return WaveResult::BadDevice;
}

WaveResult SystemAudioDriver::Open(std::uint32_t index, const WaveFormat& format, const RingGeometry& geometry,
                                   WaveOutCallback callback, std::uintptr_t instance,
                                   std::unique_ptr<WaveOutDevice>& opened)
{
    const std::vector<std::string>& names = PcmNames();
    if (index < names.size())
        return AlsaAudioDevice::Open(names[index], format, geometry, callback, instance, opened);
    if (index == names.size())
        return SilentAudioDevice::Open(format, callback, instance, opened);
    return WaveResult::BadDevice;
}

} // namespace jorvo
