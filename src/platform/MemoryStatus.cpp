#include "platform/MemoryStatus.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace jorvo {
namespace {

// The value of the line "`field`: <number> kB" in bytes; nothing when absent or malformed.
std::optional<std::uint64_t> FieldBytes(std::string_view meminfo, std::string_view field)
{
    std::size_t at = 0;
    while (at < meminfo.size()) {
        std::size_t end = meminfo.find('\n', at);
        if (end == std::string_view::npos)
            end = meminfo.size();
        std::string_view line = meminfo.substr(at, end - at);
        at = end + 1;
        if (line.size() <= field.size() || line.substr(0, field.size()) != field || line[field.size()] != ':')
            continue;
        line.remove_prefix(field.size() + 1);
        line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
        std::uint64_t kilobytes = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), kilobytes);
        if (error != std::errc() || rest == line.data() || kilobytes > UINT64_MAX / 1024)
            return std::nullopt;
        return kilobytes * 1024;
    }
    return std::nullopt;
}

} // namespace

MemoryStatus ParseMemoryStatus(std::string_view meminfo)
{
    MemoryStatus status;
    const std::optional<std::uint64_t> total = FieldBytes(meminfo, "MemTotal");
    if (!total || *total == 0)
        return status;
    std::optional<std::uint64_t> available = FieldBytes(meminfo, "MemAvailable");
    if (!available) {
        available = FieldBytes(meminfo, "MemFree").value_or(0) + FieldBytes(meminfo, "Buffers").value_or(0) +
                    FieldBytes(meminfo, "Cached").value_or(0);
    }
    status.totalBytes = *total;
    status.availableBytes = std::min(*available, *total);
    // Computed in kilobytes so that the product cannot overflow.
    const std::uint64_t usedKilobytes = (status.totalBytes - status.availableBytes) / 1024;
    status.loadPercent = static_cast<std::uint32_t>(usedKilobytes * 100 / (status.totalBytes / 1024));
    return status;
}

MemoryStatus CurrentMemoryStatus()
{
    std::ifstream file("/proc/meminfo");
    std::ostringstream text;
    text << file.rdbuf();
    return ParseMemoryStatus(text.str());
}

} // namespace jorvo
