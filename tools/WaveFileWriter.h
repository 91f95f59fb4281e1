#pragma once
// Writes the bundled samples as 16-bit PCM WAV files at 44100 Hz, with an optional sampler chunk
// that carries the root note and one forward loop.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jorvo {

// A forward loop over frames first…last (both played).
struct WaveLoop {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

// One synthesised sound: one channel (mono) or two (left, right) of equal length, in −1…1.
struct SynthSound {
    std::string relativePath;             // below the sample folder, e.g. "Drums/Kick.wav"
    std::vector<std::vector<float>> channels;
    std::optional<int> rootNote;          // written in a sampler chunk when set
    std::optional<WaveLoop> loop;         // written in the sampler chunk (needs rootNote)
};

// The bytes of `sound` as a RIFF/WAVE file; samples are rounded and saturated to 16 bits.
std::string EncodeWaveFile(const SynthSound& sound);

// Writes `sound` below `sampleFolder`, creating its sub-folder. False when the folder or the
// file cannot be written.
bool WriteWaveFile(const std::string& sampleFolder, const SynthSound& sound);

} // namespace jorvo
