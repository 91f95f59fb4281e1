#include "engine/PluginTarget.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/EventCodes.h"
#include "engine/Instrument.h"

namespace jorvo {

namespace {
constexpr std::uint8_t kPluginVersion = 1;
// Plug-ins are promised chunks no longer than the host's buffers hold.
static_assert(JORVO_PLUGIN_MAX_FRAMES == Effect::kMaxFrames);
static_assert(JORVO_PLUGIN_MAX_FRAMES == Instrument::kMaxFrames);
}

template <class Base>
PluginTarget<Base>::PluginTarget(PluginKind kind) : kind_(kind)
{
    this->SetNameDirect("Plug-in");
}

template <class Base>
bool PluginTarget<Base>::Load(const std::string& path, bool create)
{
    if (!plugin_.Load(path, kind_, create, *this)) {
        engineName_.clear();
        return false;
    }
    engineName_ = plugin_.Info()->engineName;
    this->SetNameDirect(engineName_);
    TakeInformation();
    return true;
}

template <class Base>
void PluginTarget<Base>::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c,
                                     std::int32_t d)
{
    plugin_.HandleEvent(*this, code, a, b, c, d);
    if (code == kEventStopReset)
        this->ResetBase();
}

template <class Base>
void PluginTarget<Base>::SetSampleSlot(int slot, int index)
{
    Base::SetSampleSlot(slot, index);
    plugin_.PassSampleSlot(*this, slot);
}

template <class Base>
void PluginTarget<Base>::Assign(const SeqEventTarget& other)
{
    Base::Assign(other);
    TakeInformation();
}

template <class Base>
void PluginTarget<Base>::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        Base::Serialize(archive);
        archive.WriteByte(kPluginVersion);
        return;
    }
    plugin_.ClearSampleSlots(*this);
    Base::Serialize(archive);
    archive.ReadByte();
    TakeInformation();
    this->ApplyParameters();
}

template <class Base>
void PluginTarget<Base>::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        Base::SerializeXML(archive);
        return;
    }
    plugin_.ClearSampleSlots(*this);
    Base::SerializeXML(archive);
    TakeInformation();
    this->ApplyParameters();
}

template class PluginTarget<Instrument>;
template class PluginTarget<Effect>;

} // namespace jorvo
