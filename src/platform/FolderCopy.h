#pragma once
// Copying shipped content (skins, presets, samples) into the user's writable folders.
#include <string>

namespace jorvo {

// Copies every regular file below `from` whose counterpart below `to` does not exist, creating
// folders as needed; an existing file is never replaced. True at once when both name the same
// folder. False when `from` is not a folder, or a folder or file cannot be created (files already
// copied stay).
bool CopyMissingFiles(const std::string& from, const std::string& to);

} // namespace jorvo
