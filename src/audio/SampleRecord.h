#pragma once
// One entry of the program-wide sample table: a WAV file read into memory, with what a voice
// needs to play it in tune and to loop it.
#include <cstdint>
#include <string>
#include <vector>

namespace jorvo {

// Root note of a sample whose file does not say otherwise.
inline constexpr std::uint16_t kDefaultRootNote = 60;
// Playback rate assumed for a file without a format chunk.
inline constexpr float kDefaultPitchRate = 44100.0f;

struct SampleRecord {
    // The name the sample was asked for by (relative to the sample folder when inside it); the key.
    std::string name;
    // The path that was actually opened.
    std::string path;
    // Frames interleaved left/right when stereo, then one guard frame (a copy of the last frame)
    // so interpolation may read one frame past `endFrame`. Empty: the entry holds no sample.
    std::vector<std::int16_t> data;
    // Channels − 1: 0 mono, 1 stereo.
    std::uint16_t stereo = 0;
    // Samples per second from the format chunk; 0 when the file has none.
    std::uint32_t sampleRate = 0;
    // MIDI note at which the sample sounds at its own pitch.
    std::uint16_t rootNote = kDefaultRootNote;
    // Cents, from the sampler chunk's pitch fraction.
    std::int16_t fineTune = 0;
    // Playback rate that makes MIDI note 60 sound in tune.
    float pitchRate = 0.0f;
    // Index of the last frame to play.
    std::uint32_t endFrame = 0;
    // Frames in the loop, ending at `endFrame`; 0 = no loop.
    std::uint32_t loopLength = 0;
    // Number of users holding the index.
    std::int32_t refCount = 0;

    // True when the entry holds sample frames.
    bool HasData() const { return !data.empty(); }
};

} // namespace jorvo
