#pragma once
// The user's own, writable skins folder, and how it is filled from the skins shipped with the
// program. The program does this at every start; the pack installer does the same before it
// merges a pack's presets into this machine's Jorvo, so that both agree on where presets live and
// the program's own folder stays as shipped.
#include <string>

namespace jorvo {

class CConfiguration;

// The user's own skins folder: $XDG_DATA_HOME (when absolute, else $HOME/.local/share) +
// "/Quistor/Jorvo/Skins"; empty when there is no home folder.
std::string UserSkinsFolder();

// Copies every file below `shippedFolder` that is missing below `userFolder` (never replacing a
// file there), when the SkinsDir setting of `configuration` is missing or already names
// `userFolder`; when it was missing, stores `userFolder` as SkinsDir. A SkinsDir the user chose
// elsewhere is left alone (true, nothing copied). False, with the setting left as it was, when the
// shipped folder does not exist or a folder or file cannot be created; files already copied stay.
bool PrepareUserSkinsFolder(CConfiguration& configuration, const std::string& shippedFolder,
                            const std::string& userFolder);

} // namespace jorvo
