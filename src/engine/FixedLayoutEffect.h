#pragma once
// The base of the built-in effects whose channel layout the engine fixes: one input channel and
// a fixed number of outputs, whatever a stored record says, so that the output buffer always
// fits what Process writes. Their parameters are plain live values, so events are handled here.
#include <cstdint>

#include "engine/Effect.h"

namespace jorvo {

class FixedLayoutEffect : public Effect {
public:
    // Parameter codes set live values, and a changed value is passed on (LiveValuesChanged); 255
    // resets. Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;

    // Effect storage, then one version byte (1; skipped when loading); a load keeps the engine's
    // channel counts whatever the record says. UI thread.
    void Serialize(BinaryArchive& archive) override;
    // Effect element; a load keeps the engine's channel counts whatever the file says. UI thread.
    void SerializeXML(CXMLArchive& archive) override;

protected:
    // An effect with one input channel and `outputChannels` (1 or 2) outputs.
    explicit FixedLayoutEffect(int outputChannels);

    // Recomputes what the engine derives from its live values; engines that read them at the next
    // Process need nothing. Audio or UI thread.
    virtual void LiveValuesChanged() {}

private:
    void KeepChannelLayout();

    int engineOutputs_;
};

} // namespace jorvo
