#include "SoundShaping.h"

#include <algorithm>
#include <cmath>

namespace jorvo {

std::size_t FramesFor(double seconds)
{
    return static_cast<std::size_t>(seconds * kSynthRate);
}

NoiseSource::NoiseSource(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}

float NoiseSource::Next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(static_cast<double>(state_) / 2147483648.0 - 1.0);
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0)
{
}

Biquad Biquad::LowPass(double cutoff, double q)
{
    const double w = kTwoPi * cutoff / kSynthRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::HighPass(double cutoff, double q)
{
    const double w = kTwoPi * cutoff / kSynthRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::BandPass(double centre, double q)
{
    const double w = kTwoPi * centre / kSynthRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

float Biquad::Process(float input)
{
    const double x = input;
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return static_cast<float>(y);
}

double Decay(double t, double tau)
{
    return std::exp(-t / tau);
}

double Attack(double t, double seconds)
{
    if (t >= seconds)
        return 1.0;
    return std::sin(t / seconds * kTwoPi / 4.0);
}

float SoftClip(float value, double drive)
{
    return static_cast<float>(std::tanh(value * drive) / std::tanh(drive));
}

void FadeOut(std::vector<float>& channel, double seconds)
{
    const std::size_t length = std::min(FramesFor(seconds), channel.size());
    const std::size_t first = channel.size() - length;
    for (std::size_t i = 0; i < length; ++i)
        channel[first + i] *= static_cast<float>(0.5 + 0.5 * std::cos(kTwoPi / 2.0 * (i + 1) / length));
}

void Normalise(std::vector<std::vector<float>>& channels, double peak)
{
    float largest = 0.0f;
    for (const auto& channel : channels)
        for (float sample : channel)
            largest = std::max(largest, std::fabs(sample));
    if (largest <= 0.0f)
        return;
    const float factor = static_cast<float>(peak / largest);
    for (auto& channel : channels)
        for (float& sample : channel)
            sample *= factor;
}

} // namespace jorvo
