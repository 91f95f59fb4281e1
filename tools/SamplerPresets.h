#pragma once
// The sampler's shipped presets: the bundled drum kit and one preset per tonal sample, in the
// default bank of the sampler's preset file.
#include <string>

namespace jorvo {

class SoundStudio;

// Writes the preset file `path` (replacing it) with a sampler created in `studio`, which is left
// with that sampler. False when a sample cannot be loaded or the file cannot be written (the
// store or the archive has said why). UI thread.
bool WriteSamplerPresets(SoundStudio& studio, const std::string& path);

} // namespace jorvo
