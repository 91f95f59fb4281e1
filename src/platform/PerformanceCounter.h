#pragma once
// The high-resolution counter used to time the render loop: a monotonic count of ticks and the
// number of ticks per second.
#include <cstdint>

namespace jorvo {

// The current tick count of a clock that never goes backwards. Any thread, audio included.
std::uint64_t PerformanceCounter();

// Ticks per second of PerformanceCounter; never 0.
std::uint64_t PerformanceFrequency();

} // namespace jorvo
