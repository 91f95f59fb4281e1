#include "engine/Mixer.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/ProcessorMeter.h"
#include "engine/SoundStudio.h"
#include "platform/ShellServices.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(Mixer, SeqEventTarget, 0)

namespace {

constexpr std::uint8_t kMixerVersion = 1;
constexpr int kDefaultMasterLevel = 113;
constexpr int kDefaultMasterPan = 64;
// Asking AssignSendNumber for this number asks for the lowest free one.
constexpr int kAnySendNumber = 100;

// The first strip whose name is `name`, or null.
template <class Strip>
Strip* FindByName(const std::vector<std::unique_ptr<Strip>>& strips, const std::string& name)
{
    for (const auto& strip : strips) {
        if (strip->GetName() == name)
            return strip.get();
    }
    return nullptr;
}

// Binary: u32 count, then per strip its source's name and its record. A record whose source
// `find` does not know is read into a strip outside the mixer and dropped.
template <class Strip, class Find>
void SerializeStrips(BinaryArchive& archive, const std::vector<std::unique_ptr<Strip>>& strips, Find find)
{
    if (archive.IsStoring()) {
        archive.WriteDword(static_cast<std::uint32_t>(strips.size()));
        for (const auto& strip : strips) {
            archive.WriteString(strip->GetName());
            strip->Serialize(archive);
        }
        return;
    }
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string source = archive.ReadString();
        if (Strip* strip = find(source)) {
            strip->Serialize(archive);
        } else {
            Strip dropped;
            dropped.Serialize(archive);
        }
    }
}

// XML: a child `listName` holding every strip's element; written only when there is a strip.
template <class Strip>
void StoreXMLList(CXMLArchive& archive, const std::string& listName, const std::vector<std::unique_ptr<Strip>>& strips)
{
    if (strips.empty())
        return;
    CXMLArchive list(archive);
    list.CreateChild(listName);
    for (const auto& strip : strips) {
        CXMLArchive item(list);
        strip->SerializeXML(item);
    }
}

// XML: every `tag` element of the child `listName` is loaded by the strip whose source is named
// by its attribute `sourceAttribute`; elements of unknown sources are skipped.
template <class Find>
void LoadXMLList(const CXMLArchive& archive, const std::string& listName, const std::string& tag,
                 const std::string& sourceAttribute, Find find)
{
    CXMLArchive list(archive);
    if (!list.Descend(listName))
        return;
    DomNodeList nodes;
    list.SelectChildren(tag, nodes);
    DomNode node;
    while (list.NextNode(nodes, node)) {
        CXMLArchive item(list);
        item.SetCurrentNode(node);
        std::string source;
        if (!item.Read(sourceAttribute, source))
            continue;
        if (auto* strip = find(source))
            strip->SerializeXML(item);
    }
}

} // namespace

Mixer::Mixer()
    : master_(PanGains(kDefaultMasterLevel, kDefaultMasterPan)),
      level_("Level", "Master Level", kLevelParameter, 0, 127, kDefaultMasterLevel),
      pan_("Pan", "Master Pan", kPanParameter, 0, 127, kDefaultMasterPan)
{
    SetNameDirect("Mixer");
    AddParameter(&level_);
    AddParameter(&pan_);
}

Mixer::~Mixer()
{
    if (view_ != kNoView)
        Shell().RemoveView(view_);
}

void Mixer::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t)
{
    switch (code) {
    case kLevelParameter:
        if (level_.SetLive(a))
            Retarget();
        return;
    case kPanParameter:
        if (pan_.SetLive(a))
            Retarget();
        return;
    case kEventStopReset:
        ApplyParameters();
        Retarget();
        master_.Snap();
        return;
    default:
        return;
    }
}

void Mixer::Retarget()
{
    master_.SetTarget(PanGains(level_.LiveValue(), pan_.LiveValue()));
}

void Mixer::OpenView()
{
    if (view_ == kNoView)
        view_ = Shell().CreateView(ViewRequest{"MixerView", this, "", GetName()});
}

void Mixer::RefreshView()
{
    if (view_ != kNoView)
        Shell().RefreshView(view_);
}

// Channels and busses -------------------------------------------------------------------------

bool Mixer::AddChannel(Instrument& instrument)
{
    if (ChannelOf(instrument))
        return true;
    auto channel = std::make_unique<MixerChannel>();
    if (!channel->SetInstrument(&instrument) || FindChannel(channel->GetName()))
        return false;
    channel->SetMixer(this);
    for (const auto& buss : busses_)
        channel->SetSend(*buss, 0);
    channels_.push_back(std::move(channel));
    RefreshView();
    return true;
}

bool Mixer::RemoveChannel(const Instrument& instrument)
{
    const auto found = std::find_if(channels_.begin(), channels_.end(),
                                    [&instrument](const auto& channel) { return channel->GetInstrument() == &instrument; });
    if (found == channels_.end())
        return false;
    std::unique_ptr<MixerChannel> channel = std::move(*found);
    channels_.erase(found);
    RefreshView();
    DropReferences(*channel);
    return true;
}

bool Mixer::AddBuss(Effect& effect)
{
    if (BussOf(effect))
        return true;
    auto owned = std::make_unique<MixerBuss>();
    if (!owned->SetEffect(&effect) || FindBuss(owned->GetName()))
        return false;
    owned->SetMixer(this);
    MixerBuss& buss = *owned;
    busses_.push_back(std::move(owned));
    // The number first, so each send is registered once, under it. Without a free number the
    // buss keeps 0 and its sends are not addressable by number.
    AssignSendNumber(buss, kAnySendNumber);
    for (const auto& channel : channels_)
        channel->SetSend(buss, 0);
    RefreshView();
    return true;
}

bool Mixer::RemoveBuss(const Effect& effect)
{
    const auto found = std::find_if(busses_.begin(), busses_.end(),
                                    [&effect](const auto& buss) { return buss->GetEffect() == &effect; });
    if (found == busses_.end())
        return false;
    std::unique_ptr<MixerBuss> buss = std::move(*found);
    busses_.erase(found);
    for (const auto& channel : channels_)
        channel->RemoveSend(*buss);
    RefreshView();
    DropReferences(*buss);
    return true;
}

MixerChannel* Mixer::FindChannel(const std::string& name) const
{
    return FindByName(channels_, name);
}

MixerBuss* Mixer::FindBuss(const std::string& name) const
{
    return FindByName(busses_, name);
}

MixerChannel* Mixer::ChannelOf(const SeqEventTarget& instrument) const
{
    for (const auto& channel : channels_) {
        if (channel->GetInstrument() == &instrument)
            return channel.get();
    }
    return nullptr;
}

MixerBuss* Mixer::BussOf(const SeqEventTarget& effect) const
{
    for (const auto& buss : busses_) {
        if (buss->GetEffect() == &effect)
            return buss.get();
    }
    return nullptr;
}

void Mixer::NameChanged(const SeqEventTarget& target)
{
    if (MixerChannel* channel = ChannelOf(target)) {
        channel->RebuildNames();
    } else if (MixerBuss* buss = BussOf(target)) {
        buss->RebuildNames();
        // Send names carry the buss's name.
        for (const auto& each : channels_)
            each->RebuildNames();
    }
    RefreshView();
}

// The sequencer's patterns refer to channels and busses without owning them.
void Mixer::DropReferences(SeqEventTarget& target)
{
    if (SoundStudio* studio = SoundStudio::Current())
        studio->ForgetTarget(target);
}

// Send numbers --------------------------------------------------------------------------------

bool Mixer::IsSendNumberTaken(int number, const MixerBuss* except) const
{
    return std::any_of(busses_.begin(), busses_.end(), [number, except](const auto& buss) {
        return buss.get() != except && buss->SendParameterType() == number;
    });
}

int Mixer::LowestFreeSendNumber() const
{
    for (int number = MixerBuss::kFirstSendNumber; number <= MixerBuss::kLastSendNumber; ++number) {
        if (MixerBuss::IsValidSendNumber(number) && !IsSendNumberTaken(number, nullptr))
            return number;
    }
    return 0;
}

bool Mixer::AssignSendNumber(MixerBuss& buss, int wanted)
{
    int number = wanted;
    if (MixerBuss::IsValidSendNumber(wanted)) {
        for (const auto& holder : busses_) {
            if (holder.get() != &buss && holder->SendParameterType() == wanted &&
                !AssignSendNumber(*holder, kAnySendNumber))
                return false;
        }
    } else {
        number = LowestFreeSendNumber();
        if (number == 0)
            return false;
    }
    buss.SetSendParameterType(static_cast<std::uint16_t>(number));
    for (const auto& channel : channels_)
        channel->RenumberSend(buss);
    RefreshView();
    return true;
}

// Rendering -----------------------------------------------------------------------------------

void Mixer::Prepare(int frames)
{
    frames = std::clamp(frames, 0, kMaxFrames);
    const std::uint64_t start = IsTiming() ? ProcessorMeter::Instance().Begin() : 0;
    for (const auto& channel : channels_)
        channel->Prepare(frames);
    for (const auto& buss : busses_)
        buss->Prepare(frames);
    if (IsTiming())
        SetRenderTime(ProcessorMeter::Instance().Elapsed(start, static_cast<std::uint32_t>(frames)));
}

void Mixer::Mix(std::int32_t* block, int frames)
{
    frames = std::clamp(frames, 0, kMaxFrames);
    const std::uint64_t start = IsTiming() ? ProcessorMeter::Instance().Begin() : 0;
    for (const auto& channel : channels_)
        channel->Render(block, frames);
    for (const auto& buss : busses_)
        buss->Render(block, frames);
    master_.Step();
    const GainPair master = master_.Current();
    if (master.left != kUnityGain || master.right != kUnityGain)
        ScaleStereo(block, frames, master);
    if (IsTiming())
        SetRenderTime(RenderTime() + ProcessorMeter::Instance().Elapsed(start, static_cast<std::uint32_t>(frames)));
}

// Storage -------------------------------------------------------------------------------------

void Mixer::Serialize(BinaryArchive& archive)
{
    SeqEventTarget::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteByte(kMixerVersion);
    } else {
        master_.Snap();
        archive.ReadByte();
    }
    // Busses before channels, so that the channels' sends find their busses.
    SerializeStrips(archive, busses_, [this](const std::string& name) { return FindBuss(name); });
    SerializeStrips(archive, channels_, [this](const std::string& name) { return FindChannel(name); });
}

void Mixer::SerializeXML(CXMLArchive& archive)
{
    SeqEventTarget::SerializeXML(archive);
    if (!archive.IsLoading()) {
        StoreXMLList(archive, "BussList", busses_);
        StoreXMLList(archive, "ChannelList", channels_);
        return;
    }
    master_.Snap();
    LoadXMLList(archive, "BussList", "Buss", "Effect", [this](const std::string& name) { return FindBuss(name); });
    LoadXMLList(archive, "ChannelList", "Channel", "Instrument",
                [this](const std::string& name) { return FindChannel(name); });
}

} // namespace jorvo
