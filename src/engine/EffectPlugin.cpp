#include "engine/EffectPlugin.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectPlugin, Effect, 0)

namespace {
constexpr std::uint8_t kPluginVersion = 1;
// Plug-ins are promised chunks no longer than the host's buffers hold.
static_assert(JORVO_PLUGIN_MAX_FRAMES == Effect::kMaxFrames);
}

EffectPlugin::EffectPlugin()
{
    SetNameDirect("Plug-in");
}

bool EffectPlugin::Load(const std::string& path, bool create)
{
    if (!plugin_.Load(path, PluginKind::Effect, create, *this)) {
        engineName_.clear();
        return false;
    }
    engineName_ = plugin_.Info()->engineName;
    SetNameDirect(engineName_);
    TakeInformation();
    return true;
}

void EffectPlugin::TakeInformation()
{
    if (const PluginInfo* info = plugin_.Info()) {
        SetSampleRate(info->sampleRate);
        SetInputChannels(info->channels);
        SetOutputChannels(info->outputChannels);
    }
}

void EffectPlugin::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    plugin_.HandleEvent(*this, code, a, b, c, d);
    if (code == kEventStopReset)
        ResetBase();
}

bool EffectPlugin::Process(const std::int32_t* input, int frames)
{
    // The buffers hold the channel counts of the information record: never let a plug-in read or
    // write another layout.
    const PluginInfo* info = plugin_.Info();
    if (!info || !input || info->channels != InputChannels() || info->outputChannels != OutputChannels())
        return false;
    const bool sound = plugin_.Process(input, Output(), frames);
    SetRendered(sound);
    return sound;
}

void EffectPlugin::SetSampleSlot(int slot, int index)
{
    Effect::SetSampleSlot(slot, index);
    plugin_.PassSampleSlot(*this, slot);
}

void EffectPlugin::Assign(const SeqEventTarget& other)
{
    Effect::Assign(other);
    TakeInformation();
}

void EffectPlugin::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        Effect::Serialize(archive);
        archive.WriteByte(kPluginVersion);
        return;
    }
    plugin_.ClearSampleSlots(*this);
    Effect::Serialize(archive);
    archive.ReadByte();
    TakeInformation();
    ApplyParameters();
}

void EffectPlugin::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        Effect::SerializeXML(archive);
        return;
    }
    plugin_.ClearSampleSlots(*this);
    Effect::SerializeXML(archive);
    TakeInformation();
    ApplyParameters();
}

} // namespace jorvo
