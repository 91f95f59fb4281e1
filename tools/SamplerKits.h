#pragma once
// How the bundled samples are laid out on the sampler's keyboard: the drum kit on the usual
// drum-map keys, and each tonal sample as a single zone over the whole keyboard. Shared by the
// demo song, the sampler's presets and the sample pack's presets, so all play the same kits.
#include <cstdint>
#include <string>
#include <vector>

namespace jorvo {

class InstrumentSampler;

// The drum kit's keys.
namespace DrumKey {
inline constexpr std::int32_t kKick = 36;
inline constexpr std::int32_t kSnare = 38;
inline constexpr std::int32_t kClap = 39;
inline constexpr std::int32_t kHatClosed = 42;
inline constexpr std::int32_t kTomLow = 45;
inline constexpr std::int32_t kHatOpen = 46;
inline constexpr std::int32_t kTomHigh = 48;
inline constexpr std::int32_t kCrash = 49;
} // namespace DrumKey

// The tonal samples, below the sample folder.
inline constexpr char kElectricPianoSample[] = "Tonal/EPiano.wav";
inline constexpr char kBassSample[] = "Tonal/Bass.wav";
inline constexpr char kPadSample[] = "Tonal/Pad.wav";

// One zone of a kit: where it starts on the keyboard, the sample it plays (below the sample
// folder) and how. Each zone reaches up to the next one; the sample's End and Loop are kept.
struct KitZone {
    std::int32_t key = 0;
    std::string sample;
    std::int32_t release = 32; // fade speed after note-off, 0…127
    bool hiHat = false;        // in the hi-hat group: one chokes the other
    bool unpitched = false;    // every key plays the sample at its own pitch
};

// A drum: an unpitched zone at `key` that rings out after its (short) note.
KitZone DrumZone(std::int32_t key, std::string sample, bool hiHat = false);
// The bundled drum kit, in key order; the closed and open hi-hat in the hi-hat group.
std::vector<KitZone> DrumKitZones();

// Replaces the sampler's zones by `zones` (in key order). False when a sample cannot be loaded
// (the sample store has said which). UI thread.
bool LoadKit(InstrumentSampler& sampler, const std::vector<KitZone>& zones);

// Replaces the sampler's zones by the bundled drum kit. UI thread.
bool LoadDrumKit(InstrumentSampler& sampler);

// Replaces the sampler's zones by one zone playing `sample` over every key, fading out after
// note-off at `release` (0…127). False when the sample cannot be loaded. UI thread.
bool LoadTonalSample(InstrumentSampler& sampler, const std::string& sample, std::int32_t release);

} // namespace jorvo
