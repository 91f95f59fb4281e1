#include "DrumSounds.h"

#include <array>
#include <cmath>

#include "SoundShaping.h"

namespace jorvo {
namespace {

constexpr double kDrumPeak = 0.89; // about −1 dBFS

// A falling-pitch sine: the body of kicks and toms. The pitch glides from `startHz` down to
// `endHz` with time constant `glide`; the level decays with `tau`.
std::vector<float> PitchedBody(double seconds, double startHz, double endHz, double glide, double tau)
{
    std::vector<float> body(FramesFor(seconds));
    double phase = 0.0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const double t = i / kSynthRate;
        const double frequency = endHz + (startHz - endHz) * Decay(t, glide);
        body[i] = static_cast<float>(std::sin(phase) * Attack(t, 0.001) * Decay(t, tau));
        phase += kTwoPi * frequency / kSynthRate;
    }
    return body;
}

// Adds noise shaped by `filter` and decaying with `tau`, at `level`, onto `target`.
void AddNoise(std::vector<float>& target, NoiseSource noise, Biquad filter, double tau, double level)
{
    for (std::size_t i = 0; i < target.size(); ++i)
        target[i] += static_cast<float>(filter.Process(noise.Next()) * Decay(i / kSynthRate, tau) * level);
}

// Six detuned square waves: the metallic ring of cymbals, scaled by `pitch`.
float MetallicTone(double t, double pitch)
{
    static constexpr std::array<double, 6> kPartials = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0.0;
    for (double partial : kPartials)
        sum += std::fmod(t * partial * pitch, 1.0) < 0.5 ? 1.0 : -1.0;
    return static_cast<float>(sum / kPartials.size());
}

// A cymbal channel: metal and noise through a high-pass and a presence band, decaying with `tau`.
std::vector<float> Cymbal(double seconds, double tau, double pitch, double highPass, std::uint32_t seed)
{
    std::vector<float> channel(FramesFor(seconds));
    NoiseSource noise(seed);
    Biquad lowCut = Biquad::HighPass(highPass, 0.7);
    Biquad lowCutAgain = Biquad::HighPass(highPass, 0.7);
    Biquad sheen = Biquad::BandPass(10000.0, 0.8);
    for (std::size_t i = 0; i < channel.size(); ++i) {
        const double t = i / kSynthRate;
        const float raw = 0.6f * MetallicTone(t, pitch) + 0.5f * noise.Next();
        const float cut = lowCutAgain.Process(lowCut.Process(raw));
        channel[i] = static_cast<float>((cut + 0.5f * sheen.Process(cut)) * Attack(t, 0.0008) * Decay(t, tau));
    }
    return channel;
}

SynthSound Finish(const char* path, std::vector<std::vector<float>> channels, double fade)
{
    for (auto& channel : channels)
        FadeOut(channel, fade);
    Normalise(channels, kDrumPeak);
    return SynthSound{path, std::move(channels), std::nullopt, std::nullopt};
}

SynthSound Kick()
{
    std::vector<float> kick = PitchedBody(0.6, 160.0, 46.0, 0.04, 0.22);
    AddNoise(kick, NoiseSource(101), Biquad::LowPass(3500.0, 0.8), 0.004, 0.45);
    for (float& sample : kick)
        sample = SoftClip(sample, 1.8);
    return Finish("Drums/Kick.wav", {kick}, 0.08);
}

SynthSound Snare()
{
    std::vector<float> snare = PitchedBody(0.45, 210.0, 180.0, 0.02, 0.06);
    const std::vector<float> overtone = PitchedBody(0.45, 360.0, 330.0, 0.02, 0.035);
    for (std::size_t i = 0; i < snare.size(); ++i)
        snare[i] = 0.55f * snare[i] + 0.3f * overtone[i];
    NoiseSource noise(202);
    Biquad lowCut = Biquad::HighPass(1400.0, 0.7);
    Biquad highCut = Biquad::LowPass(9000.0, 0.7);
    for (std::size_t i = 0; i < snare.size(); ++i)
        snare[i] += static_cast<float>(highCut.Process(lowCut.Process(noise.Next())) * Decay(i / kSynthRate, 0.1) * 0.9);
    for (float& sample : snare)
        sample = SoftClip(sample, 1.4);
    return Finish("Drums/Snare.wav", {snare}, 0.08);
}

// Three quick bursts then a tail, as several hands clapping not quite together; each channel
// has its own noise so the clap is wide.
std::vector<float> ClapChannel(std::uint32_t seed)
{
    static constexpr std::array<double, 4> kBursts = {0.0, 0.011, 0.021, 0.032};
    std::vector<float> clap(FramesFor(0.5));
    NoiseSource noise(seed);
    Biquad band = Biquad::BandPass(1150.0, 1.3);
    Biquad lowCut = Biquad::HighPass(600.0, 0.7);
    for (std::size_t i = 0; i < clap.size(); ++i) {
        const double t = i / kSynthRate;
        double envelope = 0.0;
        for (std::size_t b = 0; b < kBursts.size(); ++b) {
            if (t < kBursts[b])
                continue;
            const bool last = b + 1 == kBursts.size();
            envelope += Decay(t - kBursts[b], last ? 0.12 : 0.006) * (last ? 1.0 : 0.8);
        }
        clap[i] = static_cast<float>(lowCut.Process(band.Process(noise.Next())) * envelope);
    }
    return clap;
}

SynthSound Clap()
{
    return Finish("Drums/Clap.wav", {ClapChannel(303), ClapChannel(304)}, 0.1);
}

SynthSound HatClosed()
{
    return Finish("Drums/HatClosed.wav", {Cymbal(0.18, 0.03, 1.0, 7000.0, 404)}, 0.05);
}

SynthSound HatOpen()
{
    return Finish("Drums/HatOpen.wav", {Cymbal(0.9, 0.24, 1.0, 6500.0, 505)}, 0.25);
}

SynthSound Tom(const char* path, double pitch, std::uint32_t seed)
{
    std::vector<float> tom = PitchedBody(0.8, 150.0 * pitch, 100.0 * pitch, 0.07, 0.25);
    AddNoise(tom, NoiseSource(seed), Biquad::BandPass(2500.0, 0.9), 0.012, 0.25);
    for (float& sample : tom)
        sample = SoftClip(sample, 1.3);
    return Finish(path, {tom}, 0.15);
}

SynthSound Crash()
{
    return Finish("Drums/Crash.wav", {Cymbal(2.6, 0.75, 1.37, 3500.0, 606), Cymbal(2.6, 0.75, 1.41, 3500.0, 607)},
                  0.6);
}

} // namespace

std::vector<SynthSound> SynthesiseDrumKit()
{
    std::vector<SynthSound> kit;
    kit.push_back(Kick());
    kit.push_back(Snare());
    kit.push_back(Clap());
    kit.push_back(HatClosed());
    kit.push_back(HatOpen());
    kit.push_back(Tom("Drums/TomLow.wav", 1.0, 707));
    kit.push_back(Tom("Drums/TomHigh.wav", 1.45, 708));
    kit.push_back(Crash());
    return kit;
}

} // namespace jorvo
