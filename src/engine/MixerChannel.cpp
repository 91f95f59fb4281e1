#include "engine/MixerChannel.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/MixerBuss.h"
#include "engine/ProcessorMeter.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(MixerChannel, SeqEventTarget, 0)

namespace {

constexpr StripLabels kChannelLabels{
    "Channel Level", "Channel Pan", "Channel On/Off", " Channel Level", " Channel Pan", " Channel Mute",
};

// The bytes of one stored send at the least: an empty string's length and the level.
constexpr std::uint64_t kMinStoredSendBytes = 5;

} // namespace

MixerChannel::MixerChannel() : MixerStrip("Channel", kChannelLabels) {}

MixerChannel::~MixerChannel() = default;

std::string MixerChannel::GetName() const
{
    return instrument_ ? instrument_->GetName() : std::string("Channel");
}

std::string MixerChannel::SourceName() const
{
    return instrument_ ? instrument_->GetName() : std::string(kInactiveLabel);
}

bool MixerChannel::SetInstrument(SeqEventTarget* target)
{
    Instrument* instrument = PersistentCast<Instrument>(target);
    if (target && (!instrument || target->GetTypeName() != "Instrument"))
        return false;
    instrument_ = instrument;
    RebuildNames();
    return true;
}

MixerSend& MixerChannel::SetSend(MixerBuss& buss, int level)
{
    if (MixerSend* send = FindSend(buss)) {
        if (send->Parameter().SetStored(level))
            send->Parameter().SetLive(level);
        send->Recompute(Pan());
        return *send;
    }
    auto send = std::make_unique<MixerSend>(buss, level, Pan());
    send->Rename(SourceName());
    AddParameter(&send->Parameter());
    sends_.push_back(std::move(send));
    return *sends_.back();
}

void MixerChannel::RemoveSend(const MixerBuss& buss)
{
    const auto found = std::find_if(sends_.begin(), sends_.end(),
                                    [&buss](const auto& send) { return &send->Buss() == &buss; });
    if (found == sends_.end())
        return;
    // Only this very record: a failed registration must not remove another record's entry.
    if (ContainsParameter(&(*found)->Parameter()))
        RemoveParameter(&(*found)->Parameter());
    sends_.erase(found);
}

MixerSend* MixerChannel::FindSend(const MixerBuss& buss) const
{
    for (const auto& send : sends_) {
        if (&send->Buss() == &buss)
            return send.get();
    }
    return nullptr;
}

void MixerChannel::RenumberSend(const MixerBuss& buss)
{
    MixerSend* send = FindSend(buss);
    if (!send)
        return;
    SeqParameter& parameter = send->Parameter();
    if (ContainsParameter(&parameter))
        RemoveParameter(&parameter);
    parameter.SetNumber(buss.SendParameterType());
    AddParameter(&parameter);
    RebuildNames();
}

void MixerChannel::RebuildNames()
{
    const std::string source = SourceName();
    RebuildStripNames(source);
    for (const auto& send : sends_)
        send->Rename(source);
}

void MixerChannel::RecomputeSendCodes()
{
    for (const auto& send : sends_)
        send->Recompute(Pan());
}

void MixerChannel::HandleOtherCode(std::int32_t code, std::int32_t value)
{
    if (code < 0 || code > 0xFFFF)
        return;
    const SeqParameter* parameter = FindParameter(static_cast<std::uint16_t>(code));
    for (const auto& send : sends_) {
        if (&send->Parameter() == parameter && send->Parameter().SetLive(value))
            send->Recompute(Pan());
    }
}

// Rendering -----------------------------------------------------------------------------------

void MixerChannel::Prepare(int frames)
{
    if (instrument_)
        instrument_->BeginChunk(frames);
}

void MixerChannel::Render(std::int32_t* block, int frames)
{
    if (!instrument_)
        return;
    if (NeedsRendering()) {
        const bool sound = RenderInstrument(frames);
        MixOrSnap(block, instrument_->Output(), instrument_->Channels(), frames, sound);
        if (sound)
            FeedSends(frames);
    }
    StepGains();
}

bool MixerChannel::RenderInstrument(int frames)
{
    if (!instrument_->IsTiming())
        return instrument_->Render(frames);
    ProcessorMeter& meter = ProcessorMeter::Instance();
    const std::uint64_t start = meter.Begin();
    const bool sound = instrument_->Render(frames);
    instrument_->SetRenderTime(meter.Elapsed(start, frames));
    return sound;
}

void MixerChannel::FeedSends(int frames)
{
    for (const auto& send : sends_) {
        MixerBuss& buss = send->Buss();
        if (buss.GetEffect() && send->Level() > 0)
            buss.AddInput(instrument_->Output(), instrument_->Channels(), frames, send->Codes());
    }
}

// Storage -------------------------------------------------------------------------------------

void MixerChannel::LoadSend(const std::string& bussName, std::int32_t level)
{
    MixerBuss* buss = OwningMixer() ? OwningMixer()->FindBuss(bussName) : nullptr;
    if (buss)
        SetSend(*buss, level);
}

void MixerChannel::Serialize(BinaryArchive& archive)
{
    SeqEventTarget::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDword(static_cast<std::uint32_t>(sends_.size()));
        for (const auto& send : sends_) {
            archive.WriteString(send->Buss().GetName());
            archive.WriteInt32(send->Parameter().StoredValue());
        }
        return;
    }
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(count * kMinStoredSendBytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string bussName = archive.ReadString();
        LoadSend(bussName, archive.ReadInt32());
    }
    RecomputeSendCodes();
}

void MixerChannel::SerializeXML(CXMLArchive& archive)
{
    SeqEventTarget::SerializeXML(archive);
    if (!archive.IsLoading()) {
        archive.Write("Instrument", instrument_ ? instrument_->GetName() : std::string());
        for (const auto& send : sends_) {
            CXMLArchive child(archive);
            child.CreateChild("Send");
            child.Write("Name", send->Buss().GetName());
            child.Write("Level", send->Parameter().StoredValue());
        }
        return;
    }
    DomNodeList list;
    archive.SelectChildren("Send", list);
    DomNode node;
    while (archive.NextNode(list, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::string bussName;
        int level = 0;
        if (child.Read("Name", bussName) && child.Read("Level", level))
            LoadSend(bussName, level);
    }
    RecomputeSendCodes();
}

} // namespace jorvo
