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

} // namespace jorvo
