#include "BenchSupport.h"

#include <filesystem>
#include <unistd.h>

namespace jorvo::bench {

const std::string& ScratchFolder()
{
    static const std::string folder =
        (std::filesystem::temp_directory_path() / ("jorvo-bench-" + std::to_string(::getpid()))).string();
    return folder;
}

void ReportPerFrame(benchmark::State& state, int voices)
{
    const auto perFrame = benchmark::Counter::kIsRate | benchmark::Counter::kInvert;
    const double frames = static_cast<double>(state.iterations()) * kChunkFrames;
    state.counters["time/frame"] = benchmark::Counter(frames, perFrame);
    // Rates divide by CPU seconds; dividing by voice-frames per processor cycle gives cycles each.
    if (voices > 0)
        state.counters["cycles/voice/frame"] =
            benchmark::Counter(frames * voices / benchmark::CPUInfo::Get().cycles_per_second, perFrame);
}

std::vector<std::int32_t> TestSignal(std::size_t samples)
{
    std::vector<std::int32_t> signal(samples);
    std::uint32_t state = 12345;
    for (std::int32_t& value : signal) {
        state = state * 1664525u + 1013904223u;
        value = static_cast<std::int32_t>(state >> 16) - 32768; // ±32768, then × 256 below
        value *= 128;
    }
    return signal;
}

} // namespace jorvo::bench
