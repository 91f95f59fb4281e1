#pragma once
// The bundled tonal samples: an electric piano (stereo, plays once), a bass (mono, looped) and a
// pad (stereo, looped). Each carries its root note in a sampler chunk.
#include <string>
#include <vector>

#include "WaveFileWriter.h"

namespace jorvo {

// The tonal sounds with their paths below the sample folder ("Tonal/...").
std::vector<SynthSound> SynthesiseTonalSounds();

// A short plucked string (mono, plays once) with root note C4 (60), at `relativePath`.
SynthSound SynthesisePluck(const std::string& relativePath);

} // namespace jorvo
