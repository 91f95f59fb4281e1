#include "engine/SampleZone.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <utility>

#include "audio/SampleStore.h"
#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "engine/InstrumentSampler.h"

namespace jorvo {

namespace {

constexpr std::uint8_t kZoneVersion = 5;
// The first version that stores the root note.
constexpr std::uint8_t kRootNoteVersion = 2;
constexpr std::int32_t kKeyStride = 256;

constexpr std::uint8_t kFlagMonoPhonic = 1;
constexpr std::uint8_t kFlagHiHat = 2;
constexpr std::uint8_t kFlagUnpitched = 4;

// One parameter's code, range, default and the two label suffixes.
struct ParameterSpec {
    std::int32_t code;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t value;
    const char* shortLabel;
    const char* longLabel;
};

// In the order of SampleZone::Parameter. Start, End and Loop get their ranges from the sample.
constexpr std::array<ParameterSpec, SampleZone::kParameterCount> kSpecs{{
    {SampleZone::kCodeStart, 0, 0, 0, " Start", " Sample Start Position"},
    {SampleZone::kCodeEnd, 0, 0, 0, " End", " End Sample Position"},
    {SampleZone::kCodeLoop, 0, 0, 0, " Loop", " Loop Sample Position"},
    {SampleZone::kCodeRoot, 0, 127, 60, " Root", " Root Note"},
    {SampleZone::kCodeSemi, -127, 127, 0, " Semi", " Tuning (Semi)"},
    {SampleZone::kCodeCent, -100, 100, 0, " Cent", " Tuning (Cent)"},
    {SampleZone::kCodeDecay, 0, 127, 127, " Decay", " Sample Decay"},
    {SampleZone::kCodeRelease, 0, 127, 32, " Release", " Sample Release"},
    {SampleZone::kCodeMix, 0, 127, 90, " Mix", " Mix Level"},
    {SampleZone::kCodePan, 0, 127, 64, " Pan", " Pan Level"},
    {SampleZone::kCodeHiHat, 0, 1, 0, " HiHat", " Hihat (Group) Mode"},
    {SampleZone::kCodeMonoPhonic, 0, 1, 0, " MonoPhonic", " Monophonic Mode"},
    {SampleZone::kCodeUnpitched, 0, 1, 0, " Unpitched", " Unpitched Mode"},
}};

// Sets stored and live value when `value` is in range.
void SetBoth(SeqParameter& record, std::int32_t value)
{
    if (record.SetStored(value))
        record.SetLive(value);
}

std::int32_t ToFrame(std::uint32_t frame)
{
    return static_cast<std::int32_t>(std::min<std::uint32_t>(frame, std::numeric_limits<std::int32_t>::max()));
}

// The file name of a sample without folder and extension.
std::string FileTitle(const std::string& name)
{
    return std::filesystem::path(name).stem().string();
}

// True when two of the three components of `a` and `b` lie within 15 of each other.
bool LooksAlike(Colour a, Colour b)
{
    const auto near = [](int x, int y) { return std::abs(x - y) <= 15; };
    return near(a.Red(), b.Red()) + near(a.Green(), b.Green()) + near(a.Blue(), b.Blue()) >= 2;
}

} // namespace

SampleZone::SampleZone(InstrumentSampler& owner) : owner_(owner)
{
    parameters_.reserve(kParameterCount);
    for (const ParameterSpec& spec : kSpecs)
        parameters_.emplace_back(spec.shortLabel, spec.longLabel, static_cast<std::uint16_t>(spec.code),
                                 spec.minimum, spec.maximum, spec.value);
    Relabel();
    zoneColour_ = PickColour();
}

SampleZone::~SampleZone()
{
    if (zoneKey_ >= 0 && zoneKey_ < InstrumentSampler::kKeyCount)
        UnregisterParameters();
    if (SampleStore* store = owner_.GetSampleStore())
        store->Release(sampleIndex_);
    owner_.RemoveZone(*this);
    owner_.ForgetZone(*this);
}

// Up to 65 draws; components below a threshold (126, dropping by 4 every 8 draws) are raised by
// it, keeping colours light enough to draw names on.
Colour SampleZone::PickColour() const
{
    static std::minstd_rand random{std::random_device{}()};
    std::uniform_int_distribution<int> byte(0, 255);
    Colour colour;
    for (int attempt = 0; attempt < 65; ++attempt) {
        const int threshold = 126 - 4 * (attempt / 8);
        const auto component = [&] {
            const int value = byte(random);
            return static_cast<std::uint8_t>(value < threshold ? value + threshold : value);
        };
        const std::uint8_t red = component();
        const std::uint8_t green = component();
        const std::uint8_t blue = component();
        colour = Colour::FromRgb(red, green, blue);
        bool unlike = true;
        for (const SampleZone* other = owner_.FirstZone(); other && unlike; other = owner_.NextZone(*other))
            unlike = other == this || !LooksAlike(colour, other->zoneColour_);
        if (unlike)
            break;
    }
    return colour;
}

void SampleZone::SetZoneName(const std::string& name)
{
    zoneName_ = name;
    Relabel();
}

void SampleZone::Relabel()
{
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        parameters_[i].SetName(zoneName_ + kSpecs[i].shortLabel);
        parameters_[i].SetDescription(zoneName_ + kSpecs[i].longLabel);
    }
}

void SampleZone::Renumber()
{
    for (std::size_t i = 0; i < parameters_.size(); ++i)
        parameters_[i].SetNumber(static_cast<std::uint16_t>(zoneKey_ * kKeyStride + kSpecs[i].code));
}

void SampleZone::RegisterParameters()
{
    for (SeqParameter& record : parameters_)
        owner_.AddParameter(&record);
}

void SampleZone::UnregisterParameters()
{
    for (SeqParameter& record : parameters_) {
        if (owner_.ContainsParameter(&record))
            owner_.RemoveParameter(&record);
    }
}

bool SampleZone::SetZoneKey(std::int32_t key)
{
    if (key == zoneKey_ || !owner_.CanPlaceZoneAt(key))
        return false;
    if (zoneKey_ >= 0 && zoneKey_ < InstrumentSampler::kKeyCount) {
        UnregisterParameters();
        owner_.RemoveZone(*this);
    }
    zoneKey_ = key;
    if (key >= 0 && key < InstrumentSampler::kKeyCount) {
        Renumber();
        RegisterParameters();
        owner_.PlaceZone(*this);
    }
    return true;
}

const SampleRecord* SampleZone::Sample() const
{
    const SampleStore* store = owner_.GetSampleStore();
    return store ? store->GetRecord(sampleIndex_) : nullptr;
}

std::int32_t SampleZone::LastFrame(std::int32_t fallback) const
{
    const SampleRecord* record = Sample();
    return record ? ToFrame(record->endFrame) : std::max(fallback, 0);
}

bool SampleZone::SetZoneSample(std::string name)
{
    SampleStore* store = owner_.GetSampleStore();
    if (!store)
        return false;
    const int index = store->LoadSample(name);
    if (index < 0)
        return false;
    store->Release(sampleIndex_);
    sampleIndex_ = index;
    store->AddRef(index);
    if (autoName_)
        SetZoneName(FileTitle(name));
    const SampleRecord& record = *store->GetRecord(index);
    const std::int32_t last = ToFrame(record.endFrame);
    ResetRanges();
    SetBoth(parameters_[kStart], 0);
    SetBoth(parameters_[kEnd], last);
    SetBoth(parameters_[kLoop], std::min(ToFrame(record.loopLength), last));
    owner_.RefreshView();
    return true;
}

void SampleZone::ResetRanges()
{
    const std::int32_t last = LastFrame(parameters_[kEnd].Maximum());
    for (Parameter parameter : {kStart, kEnd, kLoop})
        parameters_[parameter].SetRange(0, last);
}

void SampleZone::SetZoneValues(const ZoneValues& values)
{
    const SampleRecord* record = Sample();
    const std::int32_t last = record ? ToFrame(record->endFrame) : std::max(values.end, 0);
    const std::int32_t loopLength = record ? std::min(ToFrame(record->loopLength), last) : 0;
    const std::int32_t start = values.start < 0 || values.start > last ? 0 : values.start;
    const std::int32_t end = values.end <= start || values.end > last ? last : values.end;
    const std::int32_t loop = values.loop < 0 || values.loop > last ? loopLength : values.loop;
    for (Parameter parameter : {kStart, kEnd, kLoop})
        parameters_[parameter].SetRange(0, last);
    const std::array<std::int32_t, kParameterCount> all{
        start, end, loop, values.root, values.semi, values.cent, values.decay, values.release, values.mix,
        values.pan, values.hiHat ? 1 : 0, values.monoPhonic ? 1 : 0, values.unpitched ? 1 : 0};
    for (std::size_t i = 0; i < all.size(); ++i)
        SetBoth(parameters_[i], all[i]);
    if (autoName_ && record)
        SetZoneName(FileTitle(record->name));
}

void SampleZone::SetStart(std::int32_t value)
{
    SeqParameter& end = parameters_[kEnd];
    if (!parameters_[kStart].SetLive(value))
        return;
    end.SetRange(value, std::max(end.Maximum(), value));
}

void SampleZone::SetEnd(std::int32_t value)
{
    SeqParameter& start = parameters_[kStart];
    if (!parameters_[kEnd].SetLive(value))
        return;
    start.SetRange(std::min(start.Minimum(), value), value);
}

void SampleZone::HandleParameter(std::int32_t code, std::int32_t value)
{
    const auto found =
        std::find_if(kSpecs.begin(), kSpecs.end(), [code](const ParameterSpec& spec) { return spec.code == code; });
    if (found == kSpecs.end())
        return;
    SeqParameter& record = parameters_[static_cast<std::size_t>(found - kSpecs.begin())];
    switch (code) {
    case kCodeStart:
        SetStart(value);
        break;
    case kCodeEnd:
        SetEnd(value);
        break;
    case kCodeLoop:
        if (value <= Live(kEnd))
            record.SetLive(value);
        break;
    case kCodeHiHat:
    case kCodeMonoPhonic:
    case kCodeUnpitched:
        record.SetLive(value > 0 ? 1 : 0);
        break;
    default:
        // The 8-bit values arrive as signed bytes.
        record.SetLive(static_cast<std::int8_t>(value & 0xFF));
        break;
    }
}

// Storage ---------------------------------------------------------------------------------------

StoredZone SampleZone::Snapshot() const
{
    StoredZone stored;
    stored.key = zoneKey_;
    if (const SampleStore* store = owner_.GetSampleStore())
        stored.fileName = store->GetSampleName(sampleIndex_);
    stored.zoneName = zoneName_;
    stored.autoName = autoName_;
    ZoneValues& v = stored.values;
    v.start = Live(kStart);
    v.end = Live(kEnd);
    v.loop = Live(kLoop);
    v.root = Live(kRoot);
    v.semi = Live(kSemi);
    v.cent = Live(kCent);
    v.decay = Live(kDecay);
    v.release = Live(kRelease);
    v.mix = Live(kMix);
    v.pan = Live(kPan);
    v.hiHat = Live(kHiHat) != 0;
    v.monoPhonic = Live(kMonoPhonic) != 0;
    v.unpitched = Live(kUnpitched) != 0;
    return stored;
}

void SampleZone::Restore(const StoredZone& stored)
{
    autoName_ = stored.autoName;
    SetZoneName(stored.zoneName);
    SetZoneSample(stored.fileName);
    SetZoneValues(stored.values);
}

void SampleZone::StoreXML(CXMLArchive& archive) const
{
    const StoredZone stored = Snapshot();
    const ZoneValues& v = stored.values;
    const ZoneValues defaults;
    CXMLArchive zone(archive);
    zone.CreateChild("Zone");
    zone.Write("index", static_cast<int>(stored.key));
    zone.Write("filename", stored.fileName);
    zone.Write("name", stored.zoneName);
    const auto writeChanged = [&zone](const char* name, std::int32_t value, std::int32_t standard) {
        if (value != standard)
            zone.Write(name, static_cast<int>(value));
    };
    writeChanged("start", v.start, defaults.start);
    writeChanged("end", v.end, defaults.end);
    writeChanged("loop", v.loop, defaults.loop);
    writeChanged("root_note", v.root, defaults.root);
    writeChanged("semi", v.semi, defaults.semi);
    writeChanged("cent", v.cent, defaults.cent);
    writeChanged("decay", v.decay, defaults.decay);
    writeChanged("release", v.release, defaults.release);
    writeChanged("mix", v.mix, defaults.mix);
    writeChanged("pan", v.pan, defaults.pan);
    if (v.hiHat)
        zone.Write("HiHat", true);
    if (v.monoPhonic)
        zone.Write("Polyphonic", false);
    if (v.unpitched)
        zone.Write("pitched", false);
    if (!stored.autoName)
        zone.Write("AutoName", false);
}

StoredZone SampleZone::LoadXML(const CXMLArchive& archive)
{
    StoredZone stored;
    ZoneValues& v = stored.values;
    const auto readByte = [&archive](const char* name, std::int32_t& value) {
        std::int8_t byte = 0;
        if (archive.Read(name, byte))
            value = byte;
    };
    int number = 0;
    if (archive.Read("index", number))
        stored.key = number;
    archive.Read("filename", stored.fileName);
    if (!archive.Read("name", stored.zoneName))
        archive.Read("m_sName", stored.zoneName);
    using Field = std::pair<const char*, std::int32_t*>;
    for (const Field& field : {Field{"start", &v.start}, Field{"end", &v.end}, Field{"loop", &v.loop}}) {
        if (archive.Read(field.first, number))
            *field.second = number;
    }
    readByte("root_note", v.root);
    readByte("semi", v.semi);
    readByte("cent", v.cent);
    readByte("decay", v.decay);
    readByte("release", v.release);
    readByte("mix", v.mix);
    readByte("pan", v.pan);
    bool flag = false;
    if (archive.Read("HiHat", flag))
        v.hiHat = flag;
    if (archive.Read("Polyphonic", flag))
        v.monoPhonic = !flag;
    if (archive.Read("pitched", flag))
        v.unpitched = !flag;
    archive.Read("AutoName", stored.autoName);
    return stored;
}

void SampleZone::Store(BinaryArchive& archive) const
{
    const StoredZone stored = Snapshot();
    const ZoneValues& v = stored.values;
    archive.WriteByte(kZoneVersion);
    archive.WriteInt32(stored.key);
    archive.WriteString(stored.fileName);
    archive.WriteInt32(v.start);
    archive.WriteInt32(v.end);
    archive.WriteInt32(v.loop);
    for (std::int32_t value : {v.root, v.semi, v.cent, v.decay, v.release, v.mix, v.pan})
        archive.WriteInt8(static_cast<std::int8_t>(value));
    archive.WriteByte(static_cast<std::uint8_t>((v.monoPhonic ? kFlagMonoPhonic : 0) | (v.hiHat ? kFlagHiHat : 0) |
                                                (v.unpitched ? kFlagUnpitched : 0)));
    archive.WriteString(stored.zoneName);
    archive.WriteByte(stored.autoName ? 1 : 0);
}

StoredZone SampleZone::Load(BinaryArchive& archive)
{
    const std::uint8_t version = archive.ReadByte();
    if (version > kZoneVersion)
        throw ArchiveException(ArchiveException::Cause::BadSchema);
    StoredZone stored;
    ZoneValues& v = stored.values;
    stored.key = archive.ReadInt32();
    stored.fileName = archive.ReadString();
    v.start = archive.ReadInt32();
    v.end = archive.ReadInt32();
    v.loop = archive.ReadInt32();
    if (version >= kRootNoteVersion)
        v.root = archive.ReadInt8();
    for (std::int32_t* field : {&v.semi, &v.cent, &v.decay, &v.release, &v.mix, &v.pan})
        *field = archive.ReadInt8();
    const std::uint8_t flags = archive.ReadByte();
    v.monoPhonic = (flags & kFlagMonoPhonic) != 0;
    v.hiHat = (flags & kFlagHiHat) != 0;
    v.unpitched = (flags & kFlagUnpitched) != 0;
    stored.zoneName = archive.ReadString();
    stored.autoName = archive.ReadByte() != 0;
    return stored;
}

} // namespace jorvo
