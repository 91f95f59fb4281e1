#pragma once
// Fills the placeholders of user-visible message patterns. Patterns are the program's own fixed
// texts; arguments (file and object names) are inserted as they are, so a '%' inside a name is
// shown literally and never read as a placeholder.
#include <initializer_list>
#include <string>
#include <string_view>

namespace jorvo {

// `pattern` with each "%s" or "%d" replaced by the next argument in order, and each "%1" … "%9"
// by that argument (1-based). "%%" gives one '%'. A placeholder without an argument is kept.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments);

} // namespace jorvo
