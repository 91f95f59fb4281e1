#pragma once
// The common base of everything the sequencer can address: instruments, effects, the mixer, its
// channels and busses. It gives them a name unique within their family, numbered parameters with
// stored and live values, sample slots, one event entry (HandleEvent) and their storage.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "document/RuntimeClass.h"
#include "engine/EventCodes.h"
#include "engine/SeqParameter.h"

namespace jorvo {

class TreeSink;

class SeqEventTarget : public PersistentObject {
    JORVO_DECLARE_PERSISTENT(SeqEventTarget)
public:
    // Parameters by number; the records belong to the subclass object, the map only refers to them.
    using ParameterMap = std::map<std::uint16_t, SeqParameter*>;
    // A sample slot that holds no sample.
    static constexpr std::uint16_t kEmptySlot = 65535;

    SeqEventTarget() = default;
    // Releases every sample slot.
    ~SeqEventTarget() override;
    SeqEventTarget(const SeqEventTarget&) = delete;
    SeqEventTarget& operator=(const SeqEventTarget&) = delete;

    // Takes the other target's name (through SetName) and its timing switch.
    virtual void CopyFrom(const SeqEventTarget& other);
    // The same as CopyFrom; subclasses extend it with their own fields.
    virtual void Assign(const SeqEventTarget& other) { CopyFrom(other); }

    // Binary storage: version byte 2, name, parameter block, sample block. UI thread.
    void Serialize(BinaryArchive& archive) override;
    // XML storage: element GetTypeName() with "Name", "Parameter" and "AudioFile" children. Raises
    // ArchiveException (Generic) when loading an element of another type. UI thread.
    void SerializeXML(CXMLArchive& archive) override;
    // Stores or loads under `presetName` (presets); after a load under another name, asks whether
    // to take it. UI thread.
    virtual void SerializeXMLAs(CXMLArchive& archive, const std::string& presetName);

    // The one event entry: notes, controller changes, transport codes (EventCodes.h). Called on the
    // audio thread (the sequencer) and the UI thread (editors). The base ignores every code.
    virtual void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);

    // The user-visible name.
    virtual std::string GetName() const { return name_; }
    // Renames: the current studio makes the name unique in the target's family and tells the mixer.
    // Without a studio the name is not changed. UI thread.
    virtual void SetName(const std::string& name);
    // "Instrument", "Effect", "Mixer", "Channel", "Buss"; "No Class" for the base.
    virtual std::string GetTypeName() const { return "No Class"; }
    // The engine name ("mSyn", "Sampler", …); "No Engine" for the base.
    virtual std::string GetEngineName() const { return "No Engine"; }
    // The live value of parameter `number`; 0 when there is none.
    virtual std::int32_t GetParameterValue(std::uint16_t number) const;
    // The record with `number`, or null.
    virtual SeqParameter* FindParameter(std::uint16_t number) const;
    // Redraws the target's open editor view; the base has none.
    virtual void RefreshView() {}
    // 1 for instruments, 2 for everything else.
    virtual int GetTargetKind() const { return 2; }
    // Fills `tree` with a root item (the name) and one child per parameter ("No Parameters" when
    // there is none).
    virtual void FillParameterTree(TreeSink& tree);
    // Puts sample-store index `index` into `slot` (releasing the old one, adding a reference to the
    // new one, growing the slot list). Nothing for a negative slot or without a sample store.
    virtual void SetSampleSlot(int slot, int index);
    // The index in `slot`; −1 when the slot does not exist.
    virtual int GetSampleSlot(int slot) const;

    // Registers `parameter` (not owned) under its number; false for null or a number taken.
    bool AddParameter(SeqParameter* parameter);
    // Removes the entry with the record's number; false when there was none.
    bool RemoveParameter(SeqParameter* parameter);
    // True when this very record is registered.
    bool ContainsParameter(const SeqParameter* parameter) const;
    // Sets the stored value of parameter `number` when it exists and `value` is in range.
    void SetStoredValue(std::uint16_t number, std::int32_t value);
    // Hands every stored value to HandleEvent, so live values return to the document's.
    void ApplyParameters();
    // Asks for a new name in the rename dialog; true when one was entered and set. UI thread.
    bool Rename();
    // Writes a "Target" child with "Name" and "Class" (storing only): how sections record the
    // target a pattern plays.
    void WriteReference(CXMLArchive& archive) const;

    const ParameterMap& Parameters() const { return parameters_; }
    int SampleSlotCount() const { return static_cast<int>(sampleSlots_.size()); }

    // When set, rendering targets measure their render time with the processor-time meter.
    bool IsTiming() const { return timing_; }
    void SetTiming(bool timing) { timing_ = timing; }
    std::uint32_t RenderTime() const { return renderTime_; }
    void SetRenderTime(std::uint32_t time) { renderTime_ = time; }

protected:
    // Sets the name as given, without the studio's uniqueness check (construction, the studio).
    void SetNameDirect(const std::string& name) { name_ = name; }
    // Releases every sample slot and empties the list (before loading slots again).
    void ReleaseSampleSlots();
    // The engine part that instrument and effect records start with after the base part: version
    // byte 1 and the engine name. Loading another engine's record raises ArchiveException (Generic).
    void SerializeEngineName(BinaryArchive& archive);
    // The "Engine" attribute; loading an element of another engine (or none) raises ArchiveException.
    void SerializeXMLEngineName(CXMLArchive& archive);

private:
    void SerializeParameterBlock(BinaryArchive& archive);
    void SerializeSampleBlock(BinaryArchive& archive);
    void LoadXMLParameters(CXMLArchive& archive);
    void LoadXMLSampleSlots(CXMLArchive& archive);
    void StoreXMLChildren(CXMLArchive& archive);

    std::string name_;
    bool timing_ = false;
    std::uint32_t renderTime_ = 0;
    ParameterMap parameters_;
    std::vector<std::uint16_t> sampleSlots_;
};

} // namespace jorvo
