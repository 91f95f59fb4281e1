#pragma once
// Merges the banks of a sample pack's preset file into the sampler's preset file: a bank only in
// the pack is appended whole; in a bank both have, each pack preset replaces the presets of the
// same name and is appended.
#include <string>

namespace jorvo::installhelper {

// Merges preset file `source` into preset file `destination` and saves `destination`. False with
// the reason in `error` when either cannot be loaded, the destination has no "PresetFile" root,
// the source has no bank, a bank cannot be merged or the result cannot be saved; the destination
// file is then left as it was.
bool MergePresetFiles(const std::string& source, const std::string& destination, std::string& error);

} // namespace jorvo::installhelper
