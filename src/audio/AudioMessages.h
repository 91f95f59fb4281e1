#pragma once
// Texts the audio subsystem shows to the user. Patterns hold at most one "%s", the file name,
// filled with FormatText (platform/TextFormat.h).
#include <string_view>

namespace jorvo {

// Sample loading: the file is missing, is not a regular file, or cannot be read.
inline constexpr std::string_view kFailedToOpenAudioFile = "Failed to open Audio File: '%s'";
// Sample loading: the file does not start with a RIFF header.
inline constexpr std::string_view kInvalidRiffFile = "Invalid RIFF File: '%s'";
// Sample loading: the RIFF file is not of form WAVE, or its chunks are damaged or cut short.
inline constexpr std::string_view kInvalidWavFile = "Invalid WAV File: %s";
// Sample loading: the format is not 16-bit integer PCM.
inline constexpr std::string_view kInvalidCompression = "Invalid Compression (Must be PCM). File: '%s'";
// Sample loading: the file has neither one nor two channels.
inline constexpr std::string_view kInvalidChannels = "Invalid Channels (Must be Mono or Stereo). File: %s";
// Sample loading: the data chunk holds no complete frame.
inline constexpr std::string_view kNoWavData = "Invalid WAV File (No Data). File: '%s'";
// Sample loading: the sample data could not be allocated; shown without a name.
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory to load File: ";
// Sample loading: every index a sample slot can hold is taken.
inline constexpr std::string_view kTooManySamples = "Too many samples loaded. File: '%s'";

// The wave-out output: driver failures, each shown with caption kWaveOutDriverCaption
// (platform/AudioDeviceReports.h) and a single OK button.
inline constexpr std::string_view kWaveOutResetFailed = "WaveOutReset() failed";
inline constexpr std::string_view kWaveOutCloseFailed = "WaveOutClose() failed";
inline constexpr std::string_view kWaveOutOpenFailed = "WaveOutOpen() failed";
inline constexpr std::string_view kWaveOutPauseFailed = "waveOutPause() failed";
inline constexpr std::string_view kWaveOutRestartFailed = "WaveOutRestart() failed";
inline constexpr std::string_view kWaveOutPrepareHeaderFailed = "WaveOutPrepareHeader() failed";
inline constexpr std::string_view kWaveOutUnprepareHeaderFailed = "WaveOutUnprepareHeader() failed";
// The wave-out output: no device takes the format; "%d" are channels, bits and sample rate.
inline constexpr std::string_view kNoDeviceForFormat =
    "No MME Device found that handles this format\n Channels: %d/n BitsPerSample: %dbit/n SamplesPerSecond: %dHz";

// The "Audio Output Options" dialog: the field checks (when a field loses focus).
inline constexpr std::string_view kBlocksFieldRange = "The number of blocks must be between 3 and 256";
inline constexpr std::string_view kSamplesFieldRange = "The number of samples per block must be between 32 and 8192";
// The dialog's checks on OK; "%d" are the lower and upper bound.
inline constexpr std::string_view kBuffersOkRange = "The number of Buffers must be between %d and %d.";
inline constexpr std::string_view kSamplesOkRange = "The number of Samples per Buffer must be between %d and %d.";
// The dialog's latency read-out (a printf pattern for one float) and its range labels.
inline constexpr std::string_view kLatencyFormat = "Latency = %.0f ms";
inline constexpr std::string_view kRangeLabel = "(%d - %d)";

// Rendering to a WAV file: the save dialog's title and its one file type.
inline constexpr std::string_view kRenderDialogTitle = "Render as Audio";
inline constexpr std::string_view kWavFilesFilterName = "Wav Files";
inline constexpr std::string_view kWavFilesFilterPattern = "*.wav";
// Rendering: the question before it starts; "%s" are the range's start and end positions.
inline constexpr std::string_view kRenderingFromTo = "Rendering from %s to %s";
// Rendering: the progress dialog's text.
inline constexpr std::string_view kRenderingProgress = "Rendering...";
// Rendering: the outcomes, each with the file's path.
inline constexpr std::string_view kRenderingSuccessful = "Rendering Successful\nFile '%s' Created";
inline constexpr std::string_view kRenderingCancelled = "Rendering Cancelled\nFile '%s' Deleted";
inline constexpr std::string_view kRenderingFileNotCreated = "Rendering Failed\nFile '%s' could not be created";
// Rendering: a write or the completion of the file failed; the target keeps what it held before.
inline constexpr std::string_view kRenderingFileNotWritten = "Rendering Failed\nFile '%s' could not be written";

} // namespace jorvo
