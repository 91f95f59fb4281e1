#pragma once
// Opening a type's preset file for the preset dialog, and the dialog itself. A damaged preset file
// is reset only when the user agrees; otherwise it is left as it is and no dialog is shown.
// UI thread only.
#include "platform/ShellRequests.h"

namespace jorvo {

class CXMLArchive;
class SeqEventTarget;

// Opens the preset file of `target`'s type (GetPresetPath) in `archive`, positioned on its root
// "PresetFile". A file that cannot be read asks "Failed to Load Preset File %s.\nWould you like to
// reset it ?", one with another root "Preset File %s has a bad format.\nWould you like to reset
// it ?"; Yes deletes it, No returns false with the file untouched. Without a file (now) the
// archive gets a fresh document holding "PresetFile" with one default bank, written only when a
// change is committed. False on No and on any failure.
bool OpenPresetFile(SeqEventTarget& target, CXMLArchive& archive);

// Opens the preset file and shows the preset dialog for `target` in `mode`; when the dialog was
// closed with OK, writes the file if it changed. True when closed with OK and nothing failed.
bool EditPresets(SeqEventTarget& target, PresetDialogMode mode);

} // namespace jorvo
