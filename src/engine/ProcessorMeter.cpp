#include "engine/ProcessorMeter.h"

#include <cstdio>
#include <limits>

#include "platform/PerformanceCounter.h"

namespace jorvo {

namespace {
// Loads are hundredths of a percent.
constexpr std::uint64_t kFullLoad = 10000;
constexpr char kCpuTextFormat[] = "CPU: %02d.%02d%%";
} // namespace

ProcessorMeter& ProcessorMeter::Instance()
{
    static ProcessorMeter meter;
    return meter;
}

ProcessorMeter::ProcessorMeter() : frequency_(PerformanceFrequency()) {}

void ProcessorMeter::SetSampleRate(std::uint32_t rate)
{
    sampleRate_.store(rate, std::memory_order_relaxed);
}

std::uint64_t ProcessorMeter::Begin()
{
    const std::uint64_t now = PerformanceCounter();
    lastCount_.store(now, std::memory_order_relaxed);
    return now;
}

std::uint32_t ProcessorMeter::Elapsed(std::uint64_t start, std::uint32_t frames) const
{
    return LoadOf(PerformanceCounter() - start, frames);
}

// The counter ticks in nanoseconds here, so the integer ratio rate × 10000 / frequency would be 0;
// the product is formed first, in 128 bits, and divided once.
std::uint32_t ProcessorMeter::LoadOf(std::uint64_t ticks, std::uint32_t frames) const
{
    const std::uint32_t rate = sampleRate_.load(std::memory_order_relaxed);
    if (ticks == 0 || frames == 0 || rate == 0 || frequency_ == 0)
        return 0;
    using Wide = unsigned __int128;
    const Wide load = Wide{ticks} * rate * kFullLoad / (Wide{frequency_} * frames);
    const Wide cap = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(load < cap ? load : cap);
}

void ProcessorMeter::Account(std::uint64_t start, std::uint32_t frames)
{
    AccountLoad(Elapsed(start, frames));
}

void ProcessorMeter::AccountLoad(std::uint32_t load)
{
    if (load > Peak())
        peak_.store(load, std::memory_order_relaxed);
    const std::uint64_t count = Count();
    const std::uint64_t average = (std::uint64_t{Average()} * count + load) / (count + 1);
    average_.store(static_cast<std::uint32_t>(average), std::memory_order_relaxed);
    count_.store(static_cast<std::uint32_t>(count + 1), std::memory_order_relaxed);
}

void ProcessorMeter::ResetStatistics()
{
    average_.store(0, std::memory_order_relaxed);
    peak_.store(0, std::memory_order_relaxed);
    count_.store(0, std::memory_order_relaxed);
}

std::string ProcessorMeter::CpuText() const
{
    const std::uint32_t average = Average();
    char text[64];
    std::snprintf(text, sizeof text, kCpuTextFormat, static_cast<int>(average / 100),
                  static_cast<int>(average % 100));
    return text;
}

} // namespace jorvo
