#pragma once
// The common base of everything the sequencer plays: notes and controller events, and the
// containers built from them (pattern, section, song). An event knows its position in pulses
// relative to its parent container, how to hand itself to a sound target when the play position
// reaches it, and how to store itself.
//
// Threads: Play runs on the audio thread (under the studio's render lock, which Render holds).
// Everything else is user-interface work; changing an event that a song can reach is a
// structural edit, so the caller holds the render lock around it.
#include <cstdint>
#include <string>
#include <vector>

#include "document/RuntimeClass.h"
#include "platform/TreeSink.h"

namespace jorvo {

class MidiFile;
class SeqEventTarget;

// What GetType returns; persisted (element names are chosen by it), so never renumber.
enum SeqEventType : int {
    kSeqEventPlain = 0,
    kSeqEventSong = 1,
    kSeqEventSection = 2,
    kSeqEventPattern = 3,
    kSeqEventNote = 4,
    kSeqEventController = 5,
};

// `a + b` in pulses, held at 0xFFFFFFFF instead of wrapping.
inline std::uint32_t AddPulses(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t sum = a + b;
    return sum > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(sum);
}

// `a − b` in pulses, held at 0 instead of wrapping.
inline std::uint32_t SubtractPulses(std::uint32_t a, std::uint32_t b)
{
    return a > b ? a - b : 0;
}

class SeqEvent : public PersistentObject {
    JORVO_DECLARE_PERSISTENT(SeqEvent)
public:
    SeqEvent() = default;
    ~SeqEvent() override = default;
    SeqEvent(const SeqEvent&) = delete;
    SeqEvent& operator=(const SeqEvent&) = delete;

    // The XML element name of event type `type` ("Song", "Section", "Pattern", "Note", "CC");
    // empty for plain events, which are never stored.
    static std::string ElementName(int type);

    // Binary storage: the offset as a DWORD. Throws ArchiveException on damaged input.
    void Serialize(BinaryArchive& archive) override;
    // Copies the position (offset and parent) of `other`, nothing else.
    virtual void Assign(const SeqEvent& other);
    // The same as Assign.
    virtual void CopyFrom(const SeqEvent& other);
    // Writes this event to `file` as its kind exports (MidiFile::ExportEvent): a container walks
    // its content, a note or controller writes itself, a plain event writes nothing.
    virtual void ExportMIDI(MidiFile& file);
    // XML storage: the element of this type with "Name" (only when it differs from the element
    // name) and "Offset" (position text). Loading an element of another name raises
    // ArchiveException (Generic) for the archive's file.
    void SerializeXML(CXMLArchive& archive) override;
    // The type number (SeqEventType); 0 for a plain event.
    virtual int GetType() const { return kSeqEventPlain; }
    // The name shown for this event; empty for a plain event.
    virtual std::string GetName() const { return std::string(); }
    // Renames the event; plain events, notes and controller events have no name and ignore it.
    virtual void SetName(const std::string& name);
    // Hands the event to `target` when it is due at `pulse` (relative to the parent's start).
    // Nothing without a target. Audio thread; never allocates, locks or throws.
    virtual void Play(std::uint32_t pulse, SeqEventTarget* target) noexcept;
    // The first pulse of the event (its offset).
    virtual std::uint32_t GetStart() const { return offset_; }
    // The last pulse of the event; the offset for events without length.
    virtual std::uint32_t GetEnd() const { return offset_; }
    // The length in pulses; 0 for events without length.
    virtual std::uint32_t GetLength() const { return 0; }
    // Moves the event to start at `pulses` (relative to its parent).
    virtual void SetStart(std::uint32_t pulses) { offset_ = pulses; }
    // Sets the length; false (unchanged) for events without length.
    virtual bool SetLength(std::uint32_t pulses);
    // The start counted from the outermost parent (the offset itself without a parent).
    virtual std::uint32_t GetAbsoluteStart() const;
    // The absolute end; GetAbsoluteStart for events without length.
    virtual std::uint32_t GetAbsoluteEnd() const { return GetAbsoluteStart(); }
    // Appends the notes overlapping [from, to] with pitches in [low, high] to `list`; the base
    // has none.
    virtual void CollectNotes(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                              std::uint32_t low, std::uint32_t high);
    // Appends the controller events starting in [from, to] with codes in [low, high]; the base
    // has none.
    virtual void CollectControllers(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                                    std::uint32_t low, std::uint32_t high);
    // Sets the containing event (not owned; may be null). Containers call it on insertion.
    virtual void SetParent(SeqEvent* parent) { parent_ = parent; }
    // Adds an item labelled GetName, carrying this event, as the last child of `parent`; the
    // item's image is the event type. Returns the new item.
    virtual TreeSink::ItemId AddToTree(TreeSink& tree, TreeSink::ItemId parent);

    // The containing event, or null.
    SeqEvent* GetParent() const { return parent_; }

private:
    std::uint32_t offset_ = 0;
    SeqEvent* parent_ = nullptr;
};

} // namespace jorvo
