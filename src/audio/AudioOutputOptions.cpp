#include "audio/AudioOutputOptions.h"

#include <algorithm>
#include <cstdio>

#include "audio/AudioMessages.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

// Shows `pattern` filled with the bounds `low` and `high`.
void ShowRange(std::string_view pattern, std::uint32_t low, std::uint32_t high)
{
    Shell().MessageBox(FormatText(pattern, {std::to_string(low), std::to_string(high)}));
}

} // namespace

std::uint16_t ClampBlockCount(std::uint32_t count)
{
    return static_cast<std::uint16_t>(std::clamp(count, kMinBlockCount, kMaxBlockCount));
}

std::uint16_t ClampBlockSize(std::uint32_t frames)
{
    return static_cast<std::uint16_t>(std::clamp(frames, kMinBlockSize, kMaxBlockSize));
}

std::string LatencyText(std::uint32_t samples, std::uint32_t buffers, std::uint32_t rate)
{
    const float milliseconds =
        rate == 0 ? 0.0f : static_cast<float>(samples) * static_cast<float>(buffers) * 1000.0f / static_cast<float>(rate);
    char text[64];
    std::snprintf(text, sizeof text, std::string(kLatencyFormat).c_str(), static_cast<double>(milliseconds));
    return text;
}

std::string RangeLabel(std::uint32_t low, std::uint32_t high)
{
    return FormatText(kRangeLabel, {std::to_string(low), std::to_string(high)});
}

std::vector<AudioDeviceEntry> ListOutputDevices(WaveOutDriver& driver)
{
    std::vector<AudioDeviceEntry> devices;
    const std::uint32_t count = driver.DeviceCount();
    for (std::uint32_t index = 0; index < count; ++index) {
        if (std::optional<std::string> name = driver.DeviceName(index))
            devices.push_back({index, std::move(*name)});
    }
    return devices;
}

bool CheckBuffersField(std::uint32_t& buffers, std::uint32_t previous)
{
    if (buffers >= kMinBlockCount && buffers <= kMaxBlockCountField)
        return true;
    Shell().MessageBox(std::string(kBlocksFieldRange));
    buffers = previous;
    return false;
}

bool CheckSamplesField(std::uint32_t& samples, std::uint32_t previous)
{
    if (samples >= kMinBlockSizeField && samples <= kMaxBlockSize)
        return true;
    Shell().MessageBox(std::string(kSamplesFieldRange));
    samples = previous;
    return false;
}

bool CheckOk(AudioOutputChoice& entered, const AudioOutputChoice& previous)
{
    if (entered.blockCount < kMinBlockCount || entered.blockCount > kMaxBlockCount) {
        ShowRange(kBuffersOkRange, kMinBlockCount, kMaxBlockCount);
        entered.blockCount = previous.blockCount;
        return false;
    }
    if (entered.blockSize < kMinBlockSize || entered.blockSize > kMaxBlockSize) {
        ShowRange(kSamplesOkRange, kMinBlockSize, kMaxBlockSize);
        entered.blockSize = previous.blockSize;
        return false;
    }
    return true;
}

AudioOutputOptionsRequest MakeAudioOutputOptionsRequest(WaveOutDriver& driver, const AudioOutputChoice& current,
                                                        std::uint32_t sampleRate)
{
    AudioOutputOptionsRequest request;
    request.devices = ListOutputDevices(driver);
    request.current = current;
    request.sampleRate = sampleRate;
    request.latencyText = [sampleRate](const AudioOutputChoice& shown) {
        return LatencyText(shown.blockSize, shown.blockCount, sampleRate);
    };
    request.acceptOk = [current](AudioOutputChoice& entered) { return CheckOk(entered, current); };
    return request;
}

} // namespace jorvo
