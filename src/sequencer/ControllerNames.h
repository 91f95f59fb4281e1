#pragma once
// The names of controller codes as stored in the "Event" attribute of a controller element.
#include <cstdint>
#include <string>
#include <string_view>

namespace jorvo {

// The stored name of `code` ("VOLUME", "NOTE" for 200 and 201, …); any code without a name as
// its decimal number ("120").
std::string ControllerName(std::uint16_t code);

// The code of a stored name ("NOTE" gives 200); other text read as a decimal number. Text that
// is not a number within 0…65535 gives 0.
std::uint16_t ControllerCode(std::string_view name);

} // namespace jorvo
