#include "platform/TextFormat.h"

#include <vector>

namespace jorvo {

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    const std::vector<std::string_view> args(arguments);
    std::string text;
    text.reserve(pattern.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const char spec = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (c != '%' || spec == '\0') {
            text += c;
            continue;
        }
        if (spec == '%') {
            text += '%';
            ++i;
        } else if ((spec == 's' || spec == 'd') && next < args.size()) {
            text += args[next++];
            ++i;
        } else if (spec >= '1' && spec <= '9' && static_cast<std::size_t>(spec - '1') < args.size()) {
            text += args[static_cast<std::size_t>(spec - '1')];
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace jorvo
