#include "BenchSupport.h"

#include <filesystem>
#include <unistd.h>
#include <x86intrin.h>

namespace jorvo::bench {

const std::string& ScratchFolder()
{
    static const std::string folder =
        (std::filesystem::temp_directory_path() / ("jorvo-bench-" + std::to_string(::getpid()))).string();
    return folder;
}

void ReportPerFrame(benchmark::State& state, std::uint64_t cycles, int voices)
{
    const double frames = static_cast<double>(state.iterations()) * kChunkFrames;
    state.counters["time/frame"] = benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (voices > 0)
        state.counters["cycles/voice/frame"] = static_cast<double>(cycles) / (frames * voices);
}

std::uint64_t CycleCount()
{
    return __rdtsc();
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
