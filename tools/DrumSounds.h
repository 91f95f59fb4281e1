#pragma once
// The bundled drum kit, synthesised: kick, snare, clap, closed and open hi-hat, two toms and a
// crash cymbal, each peaking just below full scale.
#include <vector>

#include "WaveFileWriter.h"

namespace jorvo {

// Every drum sound of the kit, in the kit's key order (kick first), with its path below the
// sample folder ("Drums/...").
std::vector<SynthSound> SynthesiseDrumKit();

} // namespace jorvo
