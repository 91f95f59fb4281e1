#pragma once
// How much memory is in use, for the status display.
#include <cstdint>
#include <string_view>

namespace jorvo {

struct MemoryStatus {
    // Percentage of physical memory in use, 0 to 100.
    std::uint32_t loadPercent = 0;
    // Physical memory still available to programs, in bytes.
    std::uint64_t availableBytes = 0;
    // All physical memory, in bytes; 0 when unknown.
    std::uint64_t totalBytes = 0;
};

// The memory status read from /proc/meminfo; all zero when it cannot be read.
MemoryStatus CurrentMemoryStatus();

// The memory status described by `meminfo`, text in the form of /proc/meminfo. Available memory is
// "MemAvailable", or on older kernels "MemFree" + "Buffers" + "Cached". All zero without "MemTotal".
MemoryStatus ParseMemoryStatus(std::string_view meminfo);

} // namespace jorvo
