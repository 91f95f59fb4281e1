#include "engine/FixedLayoutEffect.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"

namespace jorvo {

namespace {
constexpr std::uint8_t kEngineVersion = 1;
} // namespace

FixedLayoutEffect::FixedLayoutEffect(int outputChannels) : engineOutputs_(outputChannels)
{
    KeepChannelLayout();
}

void FixedLayoutEffect::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t)
{
    if (code == kEventStopReset) {
        Reset();
        return;
    }
    if (code < 0 || code > 0xFFFF)
        return;
    SeqParameter* parameter = FindParameter(static_cast<std::uint16_t>(code));
    if (parameter && parameter->SetLive(a))
        LiveValuesChanged();
}

void FixedLayoutEffect::Serialize(BinaryArchive& archive)
{
    Effect::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteByte(kEngineVersion);
        return;
    }
    archive.ReadByte();
    KeepChannelLayout();
}

void FixedLayoutEffect::SerializeXML(CXMLArchive& archive)
{
    Effect::SerializeXML(archive);
    if (archive.IsLoading())
        KeepChannelLayout();
}

// A stored record may carry other channel counts; the engine's own always win, so that the output
// buffer fits what Process writes.
void FixedLayoutEffect::KeepChannelLayout()
{
    SetInputChannels(1);
    SetOutputChannels(engineOutputs_);
}

} // namespace jorvo
