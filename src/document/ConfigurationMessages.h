#pragma once
// Texts of the options dialog's pages. "%s" stands for a folder; fill it with FormatText
// (platform/TextFormat.h).
#include <array>
#include <string_view>

namespace jorvo {

// The Folders page: a folder field was left empty.
inline constexpr std::string_view kEmptyDirectoryNotAllowed = "Empty Directory not allowed";
// The Folders page and the pattern banks: the folder does not exist (Yes/No).
inline constexpr std::string_view kFolderDoesNotExist = "Folder '%s' does not exist would you like to create it ?";
// The Folders page and the pattern banks: the folder could not be created.
inline constexpr std::string_view kFailedToCreateFolder = "Failed to create Folder '%s'.";
// The options pages: the settings store could not be written; "%s" is the settings file.
inline constexpr std::string_view kSettingsNotSaved = "The settings could not be saved in '%s'.";
// The title of the folder browser opened by the "..." buttons.
inline constexpr std::string_view kBrowseForDirectory = "Browse for Directory";

// The entries of the General page's "Sequencer Timing:" list, in list order (spacing as shown).
inline constexpr std::array<std::string_view, 4> kTimingEntries = {
    "Accuracy  (480ppqn)",
    "Good Timing  (240ppqn)",
    "Low CPU  (120 ppqn)",
    "Min CPU (60ppqn)",
};

// The labels of the Folders page's fields, in the order of FolderField.
inline constexpr std::array<std::string_view, 5> kFolderFieldLabels = {
    "Document Folder", "Plugin Folder", "Sample Folder", "Skins Folder", "PatternBank Folder",
};

} // namespace jorvo
