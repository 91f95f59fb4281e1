#pragma once
// Case-insensitive comparison of names the way the device platform compares them: letters A-Z
// and a-z are equal, every other byte (UTF-8 included) must match exactly.
#include <string>
#include <string_view>

namespace jorvo {

// `text` with A-Z turned into a-z; other bytes unchanged.
std::string ToLowerAscii(std::string_view text);

// True when `a` and `b` are equal ignoring the case of A-Z.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace jorvo
