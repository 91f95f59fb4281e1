#include "platform/PerformanceCounter.h"

#include <chrono>

namespace jorvo {

using CounterClock = std::chrono::steady_clock;

std::uint64_t PerformanceCounter()
{
    return static_cast<std::uint64_t>(CounterClock::now().time_since_epoch().count());
}

std::uint64_t PerformanceFrequency()
{
    return static_cast<std::uint64_t>(CounterClock::period::den / CounterClock::period::num);
}

} // namespace jorvo
