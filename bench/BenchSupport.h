#pragma once
// What the engine benchmarks share: the chunk they render, the per-frame counters, and a
// private home folder so a benchmark never touches the settings of the person running it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace jorvo::bench {

// Frames rendered per call, a typical chunk of the studio's render loop.
inline constexpr int kChunkFrames = 256;

// The private folder of this process (made by the main, removed at exit).
const std::string& ScratchFolder();

// Sets "time/frame" (seconds per frame, shown with an SI prefix: "21n" is 21 ns) and, with
// `voices` above 0, "cycles/voice/frame" from the time-stamp counter cycles `cycles` spent.
void ReportPerFrame(benchmark::State& state, std::uint64_t cycles = 0, int voices = 0);

// The time-stamp counter: cycles at the processor's nominal rate.
std::uint64_t CycleCount();

// A noisy test signal of `samples` values at 16-bit scale × 256, the same on every call.
std::vector<std::int32_t> TestSignal(std::size_t samples);

} // namespace jorvo::bench
