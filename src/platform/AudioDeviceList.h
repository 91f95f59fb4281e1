#pragma once
// The machine's wave-out devices: ALSA's "default" first, then the other ALSA output PCMs in the
// order ALSA lists them, then the "silent output", which needs no hardware. The list is read once,
// so a device index keeps its meaning while the program runs.
#include <mutex>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"

namespace jorvo {

// The name of the device without hardware, always last.
inline constexpr char kSilentOutputName[] = "silent output";

class SystemAudioDriver final : public WaveOutDriver {
public:
    // The process-wide driver.
    static SystemAudioDriver& Instance();

    std::uint32_t DeviceCount() override;
    std::optional<std::string> DeviceName(std::uint32_t index) override;
    WaveResult QueryFormat(std::uint32_t index, const WaveFormat& format) override;
    WaveResult Open(std::uint32_t index, const WaveFormat& format, const RingGeometry& geometry,
                    WaveOutCallback callback, std::uintptr_t instance, std::unique_ptr<WaveOutDevice>& opened) override;

    // The index of the silent output.
    std::uint32_t SilentDevice() { return DeviceCount() - 1; }

private:
    // The ALSA output PCM names, read on first use; "default" first.
    const std::vector<std::string>& PcmNames();

    std::once_flag listed_;
    std::vector<std::string> pcmNames_;
};

} // namespace jorvo
