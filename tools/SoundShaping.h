#pragma once
// Building blocks for synthesising the bundled samples: a seeded noise source, second-order
// filters, envelopes and level helpers. Everything is deterministic, so the pack is the same on
// every run.
#include <cstdint>
#include <vector>

namespace jorvo {

inline constexpr double kSynthRate = 44100.0;
inline constexpr double kTwoPi = 6.283185307179586476925286766559;

// Frames in `seconds` at the sample rate, rounded down.
std::size_t FramesFor(double seconds);

// White noise in −1…1 from a 32-bit xorshift generator; the same seed gives the same stream.
class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t seed);
    // The next sample.
    float Next();

private:
    std::uint32_t state_;
};

// A second-order filter (direct form I) with the usual low-pass, high-pass and band-pass shapes.
class Biquad {
public:
    // Low-pass at `cutoff` Hz with quality `q`.
    static Biquad LowPass(double cutoff, double q);
    // High-pass at `cutoff` Hz with quality `q`.
    static Biquad HighPass(double cutoff, double q);
    // Band-pass around `centre` Hz with quality `q`, unity gain at the centre.
    static Biquad BandPass(double centre, double q);

    // Filters one sample.
    float Process(float input);

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// exp(−t / tau): a decay that falls to 37 % after `tau` seconds.
double Decay(double t, double tau);
// Rises from 0 to 1 over `seconds` along a quarter sine, then stays at 1.
double Attack(double t, double seconds);
// tanh saturation scaled so that ±1 stays ±1; `drive` above 1 rounds the peaks.
float SoftClip(float value, double drive);

// Multiplies the last `seconds` of `channel` by a falling half cosine, so it ends in silence.
void FadeOut(std::vector<float>& channel, double seconds);
// Scales every channel by one factor so that the largest magnitude becomes `peak`.
void Normalise(std::vector<std::vector<float>>& channels, double peak);

} // namespace jorvo
