#pragma once
// How the bundled samples are laid out on the sampler's keyboard: the drum kit on the usual
// drum-map keys, and each tonal sample as a single zone over the whole keyboard. Shared by the
// demo song and the sampler's presets, so both play the same kit.
#include <cstdint>
#include <string>

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

// Replaces the sampler's zones by the drum kit: one unpitched zone per drum, the closed and open
// hi-hat in the hi-hat group so that one chokes the other. False when a sample cannot be loaded
// (the sample store has said which). UI thread.
bool LoadDrumKit(InstrumentSampler& sampler);

// Replaces the sampler's zones by one zone playing `sample` over every key, fading out after
// note-off at `release` (0…127). False when the sample cannot be loaded. UI thread.
bool LoadTonalSample(InstrumentSampler& sampler, const std::string& sample, std::int32_t release);

} // namespace jorvo
