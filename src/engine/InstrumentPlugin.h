#pragma once
// An instrument supplied by a plug-in library (include/jorvo/Plugin.h). It forwards every event
// to the plug-in object, lets it render each chunk into the output buffer, passes it the samples
// of its slots, and takes its sample rate and channel count from the library's information.
#include "engine/Instrument.h"
#include "engine/PluginTarget.h"

namespace jorvo {

class InstrumentPlugin final : public PluginTarget<Instrument> {
    JORVO_DECLARE_PERSISTENT(InstrumentPlugin)
public:
    // An instrument without a library: silent, engine name empty.
    InstrumentPlugin();

    // True at once when already rendered this chunk; false without a plug-in object; otherwise the
    // plug-in renders `frames` frames into Output() and its answer is returned. Audio thread.
    bool Render(int frames) override;

private:
    // Sample rate and channel count.
    void TakeInformation() override;
};

} // namespace jorvo
