#pragma once
// A zone of the sampler: one sample of the sample store played over a run of keys, starting at
// the zone's key and reaching up to the next zone. Its thirteen parameters are records of the
// sampler, numbered (zone key × 256) + event code, so events and the parameter editor reach them.
#include <cstdint>
#include <string>
#include <vector>

#include "document/XMLArchive.h"
#include "engine/SeqParameter.h"

namespace jorvo {

class BinaryArchive;
class InstrumentSampler;
struct SampleRecord;

// The values SetZoneValues takes (and storage carries), at their defaults.
struct ZoneValues {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t loop = 0;
    std::int32_t root = 60;
    std::int32_t semi = 0;
    std::int32_t cent = 0;
    std::int32_t decay = 127;
    std::int32_t release = 32;
    std::int32_t mix = 90;
    std::int32_t pan = 64;
    bool hiHat = false;
    bool monoPhonic = false;
    bool unpitched = false;
};

// A zone as storage carries it: everything needed to rebuild it.
struct StoredZone {
    std::int32_t key = -1;
    std::string fileName;
    std::string zoneName;
    bool autoName = true;
    ZoneValues values;
};

class SampleZone {
public:
    // The parameters, in the order of the parameter tree.
    enum Parameter { kStart, kEnd, kLoop, kRoot, kSemi, kCent, kDecay, kRelease, kMix, kPan, kHiHat, kMonoPhonic,
                     kUnpitched, kParameterCount };
    // The event codes of the parameters (the low byte of their numbers).
    enum Code : std::int32_t {
        kCodeStart = 30, kCodeEnd = 31, kCodeLoop = 32, kCodeRoot = 33, kCodeSemi = 34, kCodeCent = 35,
        kCodeDecay = 36, kCodeRelease = 72, kCodeMix = 11, kCodePan = 10, kCodeHiHat = 37, kCodeMonoPhonic = 38,
        kCodeUnpitched = 39,
    };

    // A zone of `owner`, not placed, without a sample, every parameter at its default, named
    // after its sample when it gets one, with a colour unlike the owner's other zones. UI thread.
    explicit SampleZone(InstrumentSampler& owner);
    // Unregisters the parameters, releases the sample and leaves the owner's key map. UI thread.
    ~SampleZone();
    SampleZone(const SampleZone&) = delete;
    SampleZone& operator=(const SampleZone&) = delete;

    // Names the zone and relabels its thirteen parameters. UI thread.
    void SetZoneName(const std::string& name);
    // Moves the zone to `key`: false when unchanged or when the owner refuses the key
    // (CanPlaceZoneAt). A key of 0…127 places the zone and registers its parameters under their
    // new numbers; 128 takes it off the keyboard. UI thread.
    bool SetZoneKey(std::int32_t key);
    // Gives the zone the sample `name` (LoadSample): false, with the zone unchanged, when it
    // cannot be loaded (the store has said why) or there is no sample store. Resets Start, End
    // and Loop to the whole sample and its loop; names the zone after the file when autoName is
    // set. UI thread.
    bool SetZoneSample(std::string name);
    // Sets every parameter (stored and live). Start outside 0…E becomes 0, End ≤ Start or > E
    // becomes E, Loop outside 0…E becomes the sample's loop (E, the loop: the sample's endFrame
    // and loopLength, or the given end and 0 without a sample); any other value outside its
    // range leaves its parameter unchanged. UI thread.
    void SetZoneValues(const ZoneValues& values);
    // A parameter event (`code` = the low byte of the event code). Out-of-range values and
    // unknown codes are ignored. Audio or UI thread.
    void HandleParameter(std::int32_t code, std::int32_t value);
    // Widens Start, End and Loop to the whole sample again, so the stored values can be applied.
    void ResetRanges();

    // The values now in use, the sample's store name and the zone's key and name, for storage.
    StoredZone Snapshot() const;
    // Takes name, autoName, sample and values of `stored` (not its key). UI thread.
    void Restore(const StoredZone& stored);

    // XML: a child "Zone" of the archive's element with "index", "filename", "name", then only
    // the values that differ from their defaults.
    void StoreXML(CXMLArchive& archive) const;
    // Reads a "Zone" element (the archive's current node); absent or malformed attributes keep
    // their defaults. The name comes from "name", or from "m_sName" when there is none.
    static StoredZone LoadXML(const CXMLArchive& archive);
    // Binary form (version 5): key, file, start, end, loop, seven value bytes, flag byte, name,
    // autoName.
    void Store(BinaryArchive& archive) const;
    // Reads the binary form of any version (below 2 without the root byte). Raises
    // ArchiveException (BadSchema) for a version above 5, (EndOfFile) when cut short.
    static StoredZone Load(BinaryArchive& archive);

    InstrumentSampler& Owner() const { return owner_; }
    const std::string& Name() const { return zoneName_; }
    std::int32_t Key() const { return zoneKey_; }
    std::int32_t SampleIndex() const { return sampleIndex_; }
    bool AutoName() const { return autoName_; }
    void SetAutoName(bool autoName) { autoName_ = autoName; }
    Colour ZoneColour() const { return zoneColour_; }
    // The parameter record and its live value.
    SeqParameter& Record(Parameter parameter) { return parameters_[parameter]; }
    const SeqParameter& Record(Parameter parameter) const { return parameters_[parameter]; }
    std::int32_t Live(Parameter parameter) const { return parameters_[parameter].LiveValue(); }

private:
    void RegisterParameters();
    void UnregisterParameters();
    void Relabel();
    void Renumber();
    Colour PickColour() const;
    // The sample's record, or null without a sample or store.
    const SampleRecord* Sample() const;
    // The last frame a value may name: the sample's endFrame, or `fallback` without a sample.
    std::int32_t LastFrame(std::int32_t fallback) const;
    void SetStart(std::int32_t value);
    void SetEnd(std::int32_t value);

    InstrumentSampler& owner_;
    std::vector<SeqParameter> parameters_;
    std::int32_t sampleIndex_ = -1;
    std::string zoneName_;
    std::int32_t zoneKey_ = -1;
    bool autoName_ = true;
    Colour zoneColour_;
};

} // namespace jorvo
