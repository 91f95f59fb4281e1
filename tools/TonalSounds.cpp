#include "TonalSounds.h"

#include <array>
#include <cmath>

#include "SoundShaping.h"

namespace jorvo {
namespace {

constexpr double kTonalPeak = 0.85;

// sin(2π × frequency × frame / rate) with the phase reduced exactly: for a frequency that is a
// multiple of 0.5 Hz the product is an exact double, so a loop of a whole number of seconds (or
// of 2 s) repeats the waveform bit for bit.
double ExactSine(double frequency, std::size_t frame)
{
    return std::sin(kTwoPi * std::fmod(frequency * static_cast<double>(frame), kSynthRate) / kSynthRate);
}

// A band-limited sawtooth from its harmonics, darkened by a two-pole low-pass at `cutoff` Hz;
// no harmonic above 16 kHz, so transposing up an octave stays free of aliasing.
double FilteredSaw(double frequency, std::size_t frame, double cutoff)
{
    double sum = 0.0;
    for (int k = 1; k * frequency < 16000.0; ++k) {
        const double ratio = k * frequency / cutoff;
        sum += ExactSine(k * frequency, frame) / (k * std::sqrt(1.0 + ratio * ratio * ratio * ratio));
    }
    return sum;
}

// How far a transient has still to go before it settles at `settle` seconds: falls from about 1
// to exactly 0 there and stays 0, so the looped part after `settle` is steady.
double Transient(double t, double tau, double settle)
{
    if (t >= settle)
        return 0.0;
    return (Decay(t, tau) - Decay(settle, tau)) / (1.0 - Decay(settle, tau));
}

// A finished sound with its loop over the last `loopSeconds` (a whole number of periods of
// every partial).
SynthSound Looped(const char* path, std::vector<std::vector<float>> channels, int rootNote, double loopSeconds)
{
    Normalise(channels, kTonalPeak);
    const std::uint32_t frames = static_cast<std::uint32_t>(channels.front().size());
    const std::uint32_t loopFrames = static_cast<std::uint32_t>(FramesFor(loopSeconds));
    return SynthSound{path, std::move(channels), rootNote, WaveLoop{frames - loopFrames, frames - 1}};
}

// Root A2 (110 Hz): a filtered saw whose pluck closes within 0.6 s, then 1 s of steady loop.
SynthSound Bass()
{
    constexpr double kRoot = 110.0;
    constexpr double kSettle = 0.6;
    std::vector<float> bass(FramesFor(1.6));
    for (std::size_t i = 0; i < bass.size(); ++i) {
        const double t = i / kSynthRate;
        const double pluck = Transient(t, 0.09, kSettle);
        const double cutoff = 500.0 + 2400.0 * pluck;
        const double tone = FilteredSaw(kRoot, i, cutoff) + 0.35 * ExactSine(kRoot / 2.0, i);
        bass[i] = static_cast<float>(tone * Attack(t, 0.004) * (0.8 + 0.2 * Transient(t, 0.15, kSettle)));
    }
    return Looped("Tonal/Bass.wav", {bass}, 45, 1.0);
}

// One pad channel: three detuned saws (multiples of 0.5 Hz, so a 2 s loop holds whole periods)
// and a soft octave above, swelling in over 1.5 s.
std::vector<float> PadChannel(const std::array<double, 3>& voices)
{
    constexpr double kRoot = 220.0;
    std::vector<float> pad(FramesFor(4.0));
    for (std::size_t i = 0; i < pad.size(); ++i) {
        double sum = 0.15 * ExactSine(2.0 * kRoot, i);
        for (double voice : voices)
            sum += FilteredSaw(voice, i, 1500.0) / voices.size();
        pad[i] = static_cast<float>(sum * Attack(i / kSynthRate, 1.5));
    }
    return pad;
}

// Root A3 (220 Hz), stereo: the two channels detune differently, which makes the pad wide.
SynthSound Pad()
{
    return Looped("Tonal/Pad.wav", {PadChannel({219.5, 220.0, 221.0}), PadChannel({219.0, 220.0, 220.5})}, 57, 2.0);
}

// Root C4: a two-operator tone whose brightness fades as the note rings, a short bell-like
// tine at fourteen times the pitch, and a gentle auto-pan between the channels.
SynthSound ElectricPiano()
{
    constexpr double kRoot = 261.6255653005986;
    std::vector<float> left(FramesFor(3.0));
    std::vector<float> right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        const double t = i / kSynthRate;
        const double phase = kTwoPi * kRoot * t;
        const double index = 0.2 + 1.1 * Decay(t, 0.4);
        const double body = std::sin(phase + index * std::sin(phase)) * (0.7 * Decay(t, 0.9) + 0.3 * Decay(t, 2.5));
        const double tine = 0.12 * std::sin(14.0 * phase) * Decay(t, 0.05);
        const double tone = (body + tine) * Attack(t, 0.002);
        const double pan = 0.2 * std::sin(kTwoPi * 4.2 * t);
        left[i] = static_cast<float>(tone * (1.0 + pan));
        right[i] = static_cast<float>(tone * (1.0 - pan));
    }
    FadeOut(left, 0.4);
    FadeOut(right, 0.4);
    std::vector<std::vector<float>> channels = {left, right};
    Normalise(channels, kTonalPeak);
    return SynthSound{"Tonal/EPiano.wav", std::move(channels), 60, std::nullopt};
}

} // namespace

SynthSound SynthesisePluck(const std::string& relativePath)
{
    // C4 rounded to a multiple of 0.5 Hz, which FilteredSaw's exact phase needs; 0.4 cent flat.
    constexpr double kRoot = 261.5;
    std::vector<float> pluck(FramesFor(0.8));
    for (std::size_t i = 0; i < pluck.size(); ++i) {
        const double t = i / kSynthRate;
        // The string's brightness closes quickly, its body rings a little longer.
        const double cutoff = 700.0 + 5000.0 * Transient(t, 0.05, 0.5);
        pluck[i] = static_cast<float>(FilteredSaw(kRoot, i, cutoff) * Attack(t, 0.002) * Decay(t, 0.22));
    }
    FadeOut(pluck, 0.15);
    std::vector<std::vector<float>> channels = {pluck};
    Normalise(channels, kTonalPeak);
    return SynthSound{relativePath, std::move(channels), 60, std::nullopt};
}

std::vector<SynthSound> SynthesiseTonalSounds()
{
    std::vector<SynthSound> sounds;
    sounds.push_back(ElectricPiano());
    sounds.push_back(Bass());
    sounds.push_back(Pad());
    return sounds;
}

} // namespace jorvo
