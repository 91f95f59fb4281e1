#pragma once
// An effect supplied by a plug-in library (include/jorvo/Plugin.h). It forwards every event to
// the plug-in object, lets it process each chunk of its buss's input into the output buffer,
// passes it the samples of its slots, and takes its sample rate and channel counts from the
// library's information.
#include <cstdint>

#include "engine/Effect.h"
#include "engine/PluginTarget.h"

namespace jorvo {

class EffectPlugin final : public PluginTarget<Effect> {
    JORVO_DECLARE_PERSISTENT(EffectPlugin)
public:
    // An effect without a library: silent, engine name empty.
    EffectPlugin();

    // False without a plug-in object; otherwise the plug-in processes `frames` frames of `input`
    // into Output() and its answer is returned. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;

private:
    // Sample rate, input and output channel counts.
    void TakeInformation() override;
};

} // namespace jorvo
