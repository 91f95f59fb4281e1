#pragma once
// The logic of the "Audio Output Options" dialog: the device list, the latency read-out, the
// checks made when a field loses focus and the checks made on OK. The two sets of checks use
// different bounds on purpose (buffers 3…256 against 3…32, samples 32…8192 against 8…8192);
// both apply. Refusals are shown through Shell().MessageBox. UI thread.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"
#include "platform/ShellRequests.h"

namespace jorvo {

// The limits of the block ring, applied on OK and whenever the output reads its settings.
inline constexpr std::uint32_t kMinBlockCount = 3;
inline constexpr std::uint32_t kMaxBlockCount = 32;
inline constexpr std::uint32_t kMinBlockSize = 8;
inline constexpr std::uint32_t kMaxBlockSize = 8192;
// The bounds of the field checks.
inline constexpr std::uint32_t kMaxBlockCountField = 256;
inline constexpr std::uint32_t kMinBlockSizeField = 32;

// `count` clamped into kMinBlockCount…kMaxBlockCount.
std::uint16_t ClampBlockCount(std::uint32_t count);
// `frames` clamped into kMinBlockSize…kMaxBlockSize.
std::uint16_t ClampBlockSize(std::uint32_t frames);

// "Latency = %.0f ms" of samples × buffers × 1000 / rate in single precision; 0 ms for rate 0.
std::string LatencyText(std::uint32_t samples, std::uint32_t buffers, std::uint32_t rate);
// A range label "(%d - %d)".
std::string RangeLabel(std::uint32_t low, std::uint32_t high);

// Every device whose name `driver` can read, with its index, in index order.
std::vector<AudioDeviceEntry> ListOutputDevices(WaveOutDriver& driver);

// The buffers field lost focus: false, after saying why and putting `previous` back into
// `buffers`, when it is outside 3…256.
bool CheckBuffersField(std::uint32_t& buffers, std::uint32_t previous);
// The samples field lost focus: false, after saying why and putting `previous` back into
// `samples`, when it is outside 32…8192.
bool CheckSamplesField(std::uint32_t& samples, std::uint32_t previous);
// OK was pressed: false (the dialog stays open), after saying why and putting the field's
// `previous` value back, when the buffers are outside 3…32 or else the samples outside 8…8192.
bool CheckOk(AudioOutputChoice& entered, const AudioOutputChoice& previous);

// The dialog's request for `current` settings at `sampleRate`, with the machine's devices, the
// latency read-out and the OK check (which puts back the values the dialog opened with).
AudioOutputOptionsRequest MakeAudioOutputOptionsRequest(WaveOutDriver& driver, const AudioOutputChoice& current,
                                                        std::uint32_t sampleRate);

} // namespace jorvo
