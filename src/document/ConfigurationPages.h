#pragma once
// The logic of the options dialog's "General" and "Folders" pages, free of any toolkit: the
// dialog fills its controls from Load…, and on OK hands the edited values to Apply….
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace jorvo {

class CConfiguration;

// The list entry (index into kTimingEntries) showing timing accuracy `accuracy`:
// 1 → 1, 3 → 2, 7 → 3, anything else → 0.
int TimingEntryForAccuracy(std::uint32_t accuracy);

// The timing accuracy of list entry `entry`: 0 → 0, 1 → 1, 2 → 3, 3 → 7; no entry (outside the
// list) → 0, as for the first entry.
std::uint32_t AccuracyForTimingEntry(int entry);

// The values of the General page.
struct GeneralPageValues {
    std::uint32_t minBpm = 0;
    std::uint32_t maxBpm = 0;
    std::uint32_t defaultBpm = 0;
    std::uint32_t beatsPerBar = 0;
    int timingEntry = 0;
    std::uint32_t popUpMenuDelay = 0;
    bool flashLED = false;
};

// The General page's values as it opens, from `configuration` (the program's when null).
GeneralPageValues LoadGeneralPage(CConfiguration* configuration = nullptr);

// OK on the General page: stores the four numbers and the timing accuracy, hands the accuracy to
// the sequencer at once, and takes the pop-up delay and LED option. No range checks. False, after
// telling the user, when the settings could not be stored (the page then stays open).
bool ApplyGeneralPage(const GeneralPageValues& values, CConfiguration* configuration = nullptr);

// The fields of the Folders page, in the order they are checked.
enum class FolderField { Document, Plugin, Sample, Skins, PatternBank };
inline constexpr std::size_t kFolderFieldCount = 5;

// The values of the Folders page, indexed by FolderField.
struct FoldersPageValues {
    std::array<std::string, kFolderFieldCount> folders;

    // The text of `field`.
    std::string& operator[](FolderField field) { return folders[static_cast<std::size_t>(field)]; }
    // The text of `field`.
    const std::string& operator[](FolderField field) const { return folders[static_cast<std::size_t>(field)]; }
};

// The Folders page's values as it opens, from the folder getters of `configuration` (the
// program's when null).
FoldersPageValues LoadFoldersPage(CConfiguration* configuration = nullptr);

// The "..." button: the folder browser titled "Browse for Directory" at `current`. The folder
// chosen, or nothing on Cancel.
std::optional<std::string> BrowseFolderField(const std::string& current);

// Checks one typed folder: spaces trimmed; empty refused with "Empty Directory not allowed"; one
// trailing '\' or '/' removed; a missing folder created when the user agrees (a failure told).
// The folder to store, or nothing when the page must stay open.
std::optional<std::string> ValidateFolderField(const std::string& typed);

// OK on the Folders page: checks the fields in order, writing each cleaned folder back into
// `values`; when all pass, stores them. Nothing when the page may close; otherwise the field to
// stay on (the first one refused, or Document when the settings could not be stored).
std::optional<FolderField> ApplyFoldersPage(FoldersPageValues& values, CConfiguration* configuration = nullptr);

} // namespace jorvo
