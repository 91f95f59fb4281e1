#pragma once
// Texts the skinned user interface shows to the user. Placeholders are filled with FormatText
// (platform/TextFormat.h).
namespace jorvo::UIMessages {

// An image file was found in none of the four places searched (file, suggested folder, current
// skin folder, skins folder).
inline constexpr char kImageNotFound[] =
    "Image '%s' not found.  Jorvo Searched the following folders:\nSuggested: %s\nCurrent: %s\nSkins: %s";
// A skin file holds an element or view that does not match what reads it (skin file path).
inline constexpr char kSkinFileError[] = "Error in skin file %s.";
// The value tip of a bound element (parameter name, shown value).
inline constexpr char kValueTip[] = "%s: %d";
// The value tip of an element without a parameter.
inline constexpr char kValueTipDisabled[] = "Disabled";

} // namespace jorvo::UIMessages
