#pragma once
// Reads uncompressed 16-bit mono or stereo RIFF/WAVE files, with the root note, fine tune and
// first loop of an optional sampler chunk.
#include <istream>
#include <string_view>

#include "audio/SampleRecord.h"

namespace jorvo {

// How reading a WAV stream ended.
enum class WavReadResult {
    Loaded,       // read; a file without a data chunk also counts as read (no frames)
    NotRiff,      // no "RIFF" header
    NotWave,      // RIFF form other than "WAVE"
    NotPcm,       // format tag other than 1 or bit depth other than 16
    BadChannels,  // neither one nor two channels
    NoData,       // a data chunk without one complete frame
    OutOfMemory,  // the frames could not be allocated
    Damaged,      // a chunk runs past the file or the RIFF size, or is too short for its kind
};

// Reads the WAV stream `in` and fills the sound fields of `sample` (data with its guard frame,
// stereo, sampleRate, rootNote, fineTune, pitchRate, endFrame, loopLength); name, path and
// refCount are left alone. On anything but Loaded, `sample` is unchanged. Never reads past the
// end of the stream, and never allocates more than the stream holds.
WavReadResult ReadWav(std::istream& in, SampleRecord& sample);

// The message pattern shown for `result` (see AudioMessages.h); empty for Loaded.
std::string_view WavReadMessage(WavReadResult result);

} // namespace jorvo
