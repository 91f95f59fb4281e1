#pragma once
// Texts the platform layers show to the user; fill their "%s" with FormatText.
#include <string_view>

namespace jorvo {

// The settings file could not be read; it was kept under another name and new settings started.
// The first "%s" is the settings file, the second the name the damaged file was kept under.
inline constexpr std::string_view kSettingsFileDamaged =
    "The settings file '%s' is damaged and could not be read. It has been kept as '%s' and the "
    "settings start again from their defaults.";

} // namespace jorvo
