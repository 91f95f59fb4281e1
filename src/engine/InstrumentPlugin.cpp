#include "engine/InstrumentPlugin.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(InstrumentPlugin, Instrument, 0)

namespace {
constexpr std::uint8_t kPluginVersion = 1;
// Plug-ins are promised chunks no longer than the host's buffers hold.
static_assert(JORVO_PLUGIN_MAX_FRAMES == Instrument::kMaxFrames);
}

InstrumentPlugin::InstrumentPlugin()
{
    SetNameDirect("Plug-in");
}

bool InstrumentPlugin::Load(const std::string& path, bool create)
{
    if (!plugin_.Load(path, PluginKind::Instrument, create, *this)) {
        engineName_.clear();
        return false;
    }
    engineName_ = plugin_.Info()->engineName;
    SetNameDirect(engineName_);
    TakeInformation();
    return true;
}

void InstrumentPlugin::TakeInformation()
{
    if (const PluginInfo* info = plugin_.Info()) {
        SetSampleRate(info->sampleRate);
        SetChannels(info->channels);
    }
}

void InstrumentPlugin::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    plugin_.HandleEvent(*this, code, a, b, c, d);
    if (code == kEventStopReset)
        ResetBase();
}

bool InstrumentPlugin::Render(int frames)
{
    if (IsRendered())
        return true;
    // The buffer holds Channels() × kMaxFrames samples: never let a plug-in write another layout.
    const PluginInfo* info = plugin_.Info();
    if (!info || info->channels != Channels() || !plugin_.Render(Output(), frames))
        return false;
    SetRendered(true);
    return true;
}

void InstrumentPlugin::SetSampleSlot(int slot, int index)
{
    Instrument::SetSampleSlot(slot, index);
    plugin_.PassSampleSlot(*this, slot);
}

void InstrumentPlugin::Assign(const SeqEventTarget& other)
{
    Instrument::Assign(other);
    TakeInformation();
}

void InstrumentPlugin::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        Instrument::Serialize(archive);
        archive.WriteByte(kPluginVersion);
        return;
    }
    plugin_.ClearSampleSlots(*this);
    Instrument::Serialize(archive);
    archive.ReadByte();
    TakeInformation();
    ApplyParameters();
}

void InstrumentPlugin::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        Instrument::SerializeXML(archive);
        return;
    }
    plugin_.ClearSampleSlots(*this);
    Instrument::SerializeXML(archive);
    TakeInformation();
    ApplyParameters();
}

} // namespace jorvo
