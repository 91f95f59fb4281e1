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

// Sets "time/frame" (CPU seconds per frame, shown with an SI prefix: "21n" is 21 ns) and, with
// `voices` above 0, "cycles/voice/frame": CPU time per voice and frame at the processor's rate.
void ReportPerFrame(benchmark::State& state, int voices = 0);

// A noisy test signal of `samples` values at 16-bit scale × 256, the same on every call.
std::vector<std::int32_t> TestSignal(std::size_t samples);

} // namespace jorvo::bench
