#include "engine/InstrumentSampler.h"

#include <algorithm>
#include <limits>

#include "audio/SampleStore.h"
#include "document/ArchiveException.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "engine/EngineMessages.h"
#include "engine/SoundStudio.h"
#include "platform/ShellServices.h"
#include "platform/TreeSink.h"
#include "platform/WindowMessages.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(InstrumentSampler, Instrument, 0)

namespace {

constexpr std::uint8_t kSamplerVersion = 4;
constexpr std::int32_t kKeyStride = 256;
constexpr std::int32_t kHiHatGroup = 128;
constexpr std::int32_t kHiHatKeyOffset = kHiHatGroup * kKeyStride;
constexpr std::int32_t kMaxVelocity = 127;
// Level at velocity 0 and mix 0, and how much each step of either brings it up.
constexpr std::int32_t kLoudestLevel = 90000;
constexpr std::int32_t kLevelPerStep = 198;
// The release rate of all notes off.
constexpr std::int32_t kAllNotesOffRate = 395;
// The least a stored zone takes in the binary form, to refuse counts a damaged file cannot hold.
constexpr std::uint64_t kMinZoneBytes = 27;

// The decay or release rate for a speed of 0…127: (127 − speed)³ >> 12.
std::int32_t FadeRate(std::int32_t speed)
{
    const std::int32_t distance = 127 - speed;
    return (distance * distance * distance) >> 12;
}

std::int32_t Saturate(std::int64_t sum)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

SampleStore* CurrentSampleStore()
{
    SoundStudio* studio = SoundStudio::Current();
    return studio ? &studio->GetSampleStore() : nullptr;
}

} // namespace

InstrumentSampler::InstrumentSampler() : store_(CurrentSampleStore())
{
    SetNameDirect("Sampler");
    SetChannels(2);
}

InstrumentSampler::~InstrumentSampler()
{
    DeleteAllZones();
}

// Zone map -------------------------------------------------------------------------------------

SampleZone* InstrumentSampler::ZoneAt(std::int32_t key) const
{
    return key >= 0 && key < kKeyCount ? zoneMap_[static_cast<std::size_t>(key)] : nullptr;
}

SampleZone* InstrumentSampler::FirstZone() const
{
    const auto found = std::find_if(zoneMap_.begin(), zoneMap_.end(), [](const SampleZone* z) { return z; });
    return found == zoneMap_.end() ? nullptr : *found;
}

SampleZone* InstrumentSampler::NextZone(const SampleZone& zone) const
{
    return ZoneAt(LastKeyOf(zone) + 1);
}

std::int32_t InstrumentSampler::FirstKeyOf(const SampleZone& zone) const
{
    const auto found = std::find(zoneMap_.begin(), zoneMap_.end(), &zone);
    return found == zoneMap_.end() ? -1 : static_cast<std::int32_t>(found - zoneMap_.begin());
}

std::int32_t InstrumentSampler::LastKeyOf(const SampleZone& zone) const
{
    const auto found = std::find(zoneMap_.rbegin(), zoneMap_.rend(), &zone);
    return found == zoneMap_.rend() ? -1 : static_cast<std::int32_t>(zoneMap_.rend() - found) - 1;
}

std::vector<SampleZone*> InstrumentSampler::ZonesInKeyOrder() const
{
    std::vector<SampleZone*> zones;
    for (SampleZone* zone = FirstZone(); zone; zone = NextZone(*zone))
        zones.push_back(zone);
    return zones;
}

bool InstrumentSampler::CanPlaceZoneAt(std::int32_t key) const
{
    if (key < 0 || key > kNoKey)
        return false;
    if (key == kNoKey)
        return true;
    const SampleZone* entry = zoneMap_[static_cast<std::size_t>(key)];
    if (key == 0)
        return entry == nullptr;
    return entry == nullptr || entry == zoneMap_[static_cast<std::size_t>(key - 1)];
}

void InstrumentSampler::PlaceZone(SampleZone& zone)
{
    RemoveZone(zone);
    const std::int32_t key = zone.Key();
    const SampleZone* run = zoneMap_[static_cast<std::size_t>(key)];
    for (std::int32_t k = key; k < kKeyCount && zoneMap_[static_cast<std::size_t>(k)] == run; ++k)
        zoneMap_[static_cast<std::size_t>(k)] = &zone;
}

void InstrumentSampler::RemoveZone(SampleZone& zone)
{
    const std::int32_t first = FirstKeyOf(zone);
    if (first < 0)
        return;
    SampleZone* below = first > 0 ? zoneMap_[static_cast<std::size_t>(first - 1)] : nullptr;
    std::replace(zoneMap_.begin(), zoneMap_.end(), &zone, below);
}

void InstrumentSampler::ForgetZone(const SampleZone& zone)
{
    if (activeZone_ == &zone)
        activeZone_ = nullptr;
}

SampleZone* InstrumentSampler::CreateZone(std::int32_t key)
{
    auto zone = std::make_unique<SampleZone>(*this);
    SampleZone* created = zone.get();
    return AdoptZone(zone, key) ? created : nullptr;
}

bool InstrumentSampler::AdoptZone(std::unique_ptr<SampleZone>& zone, std::int32_t key)
{
    if (!zone || &zone->Owner() != this || key < 0 || key >= kKeyCount)
        return false;
    zones_.reserve(zones_.size() + 1);
    if (!zone->SetZoneKey(key))
        return false;
    zones_.push_back(std::move(zone));
    return true;
}

bool InstrumentSampler::DeleteZone(SampleZone* zone)
{
    const auto found = std::find_if(zones_.begin(), zones_.end(), [zone](const auto& z) { return z.get() == zone; });
    if (found == zones_.end())
        return false;
    zones_.erase(found);
    return true;
}

void InstrumentSampler::DeleteAllZones()
{
    while (!zones_.empty())
        zones_.pop_back();
}

void InstrumentSampler::SetActiveZone(SampleZone* zone)
{
    activeZone_ = zone;
    const WParam key = static_cast<WParam>(zone ? zone->Key() : kNoKey);
    Shell().SendToTargetView(this, RegisterWindowMessage("WM_SET_EVENT_TYPE_HIGH"), key, 0);
    Shell().SendToTargetView(this, RegisterWindowMessage("WM_SET_ACTIVE_SAMPLER_ZONE"), key, 0);
}

bool InstrumentSampler::SetPolyphony(std::int32_t polyphony)
{
    if (polyphony < 1 || polyphony > kVoiceCount)
        return false;
    polyphony_ = polyphony;
    return true;
}

// Events and rendering -------------------------------------------------------------------------

void InstrumentSampler::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t, std::int32_t)
{
    switch (code & 0xFF) {
    case kEventNoteStart:
        if (b < 1)
            NoteOff(a);
        else
            NoteOn(a, b);
        return;
    case kEventNoteEnd:
        NoteOff(a);
        return;
    case kEventPositionJumped:
        for (SamplerVoice& voice : voices_)
            voice.rate = kAllNotesOffRate;
        return;
    case kEventStopReset:
        Reset();
        return;
    default:
        if (SampleZone* zone = ZoneAt(code >> 8); zone && zone->Key() == code >> 8)
            zone->HandleParameter(code & 0xFF, a);
        return;
    }
}

namespace {

// The key a voice of `zone` carries for `note`: hi-hat zones share one group.
std::int32_t VoiceKey(const SampleZone& zone, std::int32_t note)
{
    return zone.Live(SampleZone::kHiHat) ? note + kHiHatKeyOffset : note + zone.Key() * kKeyStride;
}

} // namespace

void InstrumentSampler::NoteOff(std::int32_t note)
{
    const SampleZone* zone = ZoneAt(note);
    if (!zone)
        return;
    const std::int32_t key = VoiceKey(*zone, note);
    const std::int32_t rate = FadeRate(zone->Live(SampleZone::kRelease)) + 4;
    for (SamplerVoice& voice : voices_) {
        if (voice.key == key)
            voice.rate = rate;
    }
}

int InstrumentSampler::ChooseSlot(const SampleZone& zone)
{
    std::int32_t group = -1;
    if (zone.Live(SampleZone::kHiHat))
        group = kHiHatGroup;
    else if (zone.Live(SampleZone::kMonoPhonic))
        group = zone.Key();
    if (group >= 0) {
        for (int slot = activeVoices_ - 1; slot >= 0; --slot) {
            if (voices_[static_cast<std::size_t>(slot)].key / kKeyStride == group)
                return slot;
        }
    }
    if (activeVoices_ < polyphony_)
        return activeVoices_++;
    int quietest = 0;
    for (int slot = 1; slot < polyphony_; ++slot) {
        if (voices_[static_cast<std::size_t>(slot)].level > voices_[static_cast<std::size_t>(quietest)].level)
            quietest = slot;
    }
    return quietest;
}

void InstrumentSampler::NoteOn(std::int32_t note, std::int32_t velocity)
{
    const SampleZone* zone = ZoneAt(note);
    const SampleRecord* record = zone && store_ ? store_->GetRecord(zone->SampleIndex()) : nullptr;
    if (!record || !record->HasData())
        return;
    SamplerVoice& voice = voices_[static_cast<std::size_t>(ChooseSlot(*zone))];

    // The data ends with one guard frame; the last frame played must have one after it.
    const std::int32_t frames = static_cast<std::int32_t>(
        std::min<std::size_t>(record->data.size() >> record->stereo, std::numeric_limits<std::int32_t>::max()));
    const std::int32_t lastFrame = std::max(frames - 2, 0);
    voice.data = record->data.data();
    voice.stereo = record->stereo ? 1 : 0;
    voice.end = std::clamp(zone->Live(SampleZone::kEnd), 0, lastFrame);
    voice.position = std::clamp(zone->Live(SampleZone::kStart), 0, voice.end);
    voice.loop = std::clamp(zone->Live(SampleZone::kLoop), 0, voice.end + 1);
    voice.fraction = 0;
    voice.key = VoiceKey(*zone, note);

    const std::int32_t root = zone->Live(SampleZone::kRoot);
    const std::int32_t pitch = zone->Live(SampleZone::kUnpitched) ? root : note;
    const std::int32_t cents = (zone->Live(SampleZone::kSemi) - root + pitch) * 100 + zone->Live(SampleZone::kCent);
    voice.step = SamplerVoice::PitchStep(record->pitchRate, cents);

    const std::int32_t mix = zone->Live(SampleZone::kMix);
    const std::int32_t loudness = mix + std::min(velocity, kMaxVelocity);
    voice.SetLevel(mix == 0 ? SamplerVoice::kSilentLevel : kLoudestLevel - kLevelPerStep * loudness);
    voice.rate = FadeRate(zone->Live(SampleZone::kDecay));
    voice.pan = zone->Live(SampleZone::kPan);
}

bool InstrumentSampler::Render(int frames)
{
    if (activeVoices_ == 0 || Channels() != 2)
        return false;
    if (IsRendered())
        return true;
    const int count = std::clamp(frames, 0, kMaxFrames);
    const auto live = static_cast<std::size_t>(activeVoices_);
    std::fill_n(leftSums_.begin(), count, 0);
    std::fill_n(rightSums_.begin(), count, 0);
    // Voice by voice over the runs between envelope steps: the sums are exact integers, so the
    // order of the additions does not change them.
    for (int done = 0; done < count;) {
        const int run = std::min(count - done, envelopeCountdown_);
        for (std::size_t slot = 0; slot < live; ++slot)
            voices_[slot].MixFrames(&leftSums_[done], &rightSums_[done], run);
        done += run;
        envelopeCountdown_ -= run;
        if (envelopeCountdown_ == 0) {
            envelopeCountdown_ = SamplerVoice::kEnvelopePeriod;
            for (std::size_t slot = 0; slot < live; ++slot)
                voices_[slot].StepEnvelope();
        }
    }
    std::int32_t* out = Output();
    for (int frame = 0; frame < count; ++frame) {
        out[2 * frame] = Saturate(leftSums_[frame]);
        out[2 * frame + 1] = Saturate(rightSums_[frame]);
    }
    RemoveSilentVoices();
    SetRendered(true);
    return true;
}

void InstrumentSampler::RemoveSilentVoices()
{
    int slot = 0;
    while (slot < activeVoices_) {
        if (voices_[static_cast<std::size_t>(slot)].IsSilent())
            voices_[static_cast<std::size_t>(slot)] = voices_[static_cast<std::size_t>(--activeVoices_)];
        else
            ++slot;
    }
}

void InstrumentSampler::Reset()
{
    for (const auto& zone : zones_)
        zone->ResetRanges();
    ResetBase();
    activeVoices_ = 0;
    envelopeCountdown_ = 1;
}

// Tree and storage -------------------------------------------------------------------------------

void InstrumentSampler::FillParameterTree(TreeSink& tree)
{
    const TreeSink::ItemId root = tree.InsertItem(TreeSink::Root, GetName(), 0, 0, nullptr);
    SampleZone* zone = FirstZone();
    if (!zone) {
        tree.InsertItem(root, std::string(kNoZones), 0, 0, nullptr);
        return;
    }
    for (; zone; zone = NextZone(*zone)) {
        const TreeSink::ItemId item = tree.InsertItem(root, zone->Name(), 1, 1, nullptr);
        for (int parameter = 0; parameter < SampleZone::kParameterCount; ++parameter) {
            SeqParameter& record = zone->Record(static_cast<SampleZone::Parameter>(parameter));
            tree.InsertItem(item, record.Name(), 2, 2, &record);
        }
    }
}

void InstrumentSampler::RestoreZone(const StoredZone& stored)
{
    if (stored.key < 0 || stored.key >= kKeyCount)
        return;
    auto zone = std::make_unique<SampleZone>(*this);
    zone->Restore(stored);
    AdoptZone(zone, stored.key);
}

void InstrumentSampler::SerializeXML(CXMLArchive& archive)
{
    Instrument::SerializeXML(archive);
    if (!archive.IsLoading()) {
        archive.Write("Polyphony", static_cast<int>(polyphony_));
        for (const SampleZone* zone : ZonesInKeyOrder())
            zone->StoreXML(archive);
        return;
    }
    // The sampler renders stereo whatever the file says.
    SetChannels(2);
    int polyphony = polyphony_;
    archive.Read("Polyphony", polyphony);
    polyphony_ = std::clamp(polyphony, 1, static_cast<int>(kVoiceCount));
    Reset();
    DeleteAllZones();
    DomNodeList list;
    archive.SelectChildren("Zone", list);
    DomNode node;
    while (archive.NextNode(list, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        RestoreZone(SampleZone::LoadXML(child));
    }
    RefreshView();
}

void InstrumentSampler::Serialize(BinaryArchive& archive)
{
    Instrument::Serialize(archive);
    if (archive.IsStoring()) {
        const std::vector<SampleZone*> zones = ZonesInKeyOrder();
        archive.WriteByte(kSamplerVersion);
        archive.WriteInt32(polyphony_);
        archive.WriteDword(static_cast<std::uint32_t>(zones.size()));
        for (const SampleZone* zone : zones)
            zone->Store(archive);
        return;
    }
    SetChannels(2);
    archive.ReadByte();
    polyphony_ = std::clamp(archive.ReadInt32(), 1, static_cast<std::int32_t>(kVoiceCount));
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(count * kMinZoneBytes);
    std::vector<StoredZone> stored;
    stored.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        stored.push_back(SampleZone::Load(archive));
    Reset();
    DeleteAllZones();
    for (const StoredZone& zone : stored)
        RestoreZone(zone);
    RefreshView();
}

std::vector<std::uint8_t> InstrumentSampler::WriteZoneList(const std::vector<const SampleZone*>& zones)
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store);
    archive.WriteCount(static_cast<std::uint32_t>(zones.size()));
    for (const SampleZone* zone : zones)
        zone->Store(archive);
    archive.Close();
    return stream.Bytes();
}

std::vector<std::unique_ptr<SampleZone>> InstrumentSampler::ReadZoneList(const std::vector<std::uint8_t>& bytes)
{
    std::vector<StoredZone> stored;
    try {
        MemoryStream stream(bytes);
        BinaryArchive archive(stream, BinaryArchive::Mode::Load);
        for (std::uint32_t remaining = archive.ReadCount(); remaining > 0; --remaining)
            stored.push_back(SampleZone::Load(archive));
    } catch (const ArchiveException&) {
        return {};
    }
    std::vector<std::unique_ptr<SampleZone>> zones;
    for (const StoredZone& zone : stored) {
        zones.push_back(std::make_unique<SampleZone>(*this));
        zones.back()->Restore(zone);
    }
    return zones;
}

} // namespace jorvo
