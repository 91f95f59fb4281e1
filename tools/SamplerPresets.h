#pragma once
// Sampler preset files written by the generator: the sampler's shipped presets (the bundled drum
// kit and one preset per tonal sample, in the default bank) and any other set of banks, such as a
// sample pack's. Each preset is written by a real sampler, so the files are exactly what the
// sampler reads.
#include <optional>
#include <string>
#include <vector>

#include "SamplerKits.h"

namespace jorvo {

class SoundStudio;

// One preset: its name and the zones of the kit it plays.
struct SamplerPreset {
    std::string name;
    std::vector<KitZone> zones;
};

// One bank of presets; the default bank has no name.
struct SamplerPresetBank {
    std::optional<std::string> name;
    std::vector<SamplerPreset> presets;
};

// Writes the preset file `path` (replacing it, creating its folder) holding `banks` in order, with
// a sampler created in `studio`, which is left with that sampler. Sample names are resolved
// against the SampleDir setting. False when a sample cannot be loaded or the file cannot be
// written (the store or the archive has said why). UI thread.
bool WriteSamplerPresetFile(SoundStudio& studio, const std::string& path, const std::vector<SamplerPresetBank>& banks);

// Writes the sampler's shipped preset file `path`, as WriteSamplerPresetFile.
bool WriteSamplerPresets(SoundStudio& studio, const std::string& path);

} // namespace jorvo
