#pragma once
// A pattern: a named, coloured list of notes and controller events with a length. Patterns live
// once, by name, in the sequencer's pattern list; sections place them for a target. A pattern
// placed more than once is an alias: editing it changes every place it is used.
//
// Threads: Play runs on the audio thread. Every edit of a pattern a song can reach (inserting,
// removing and moving events, loading) is a structural edit: the caller holds the studio's render
// lock. The pattern itself takes no lock.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/XMLArchive.h"
#include "sequencer/SeqEventContainer.h"
#include "sequencer/SortedPlayList.h"

namespace jorvo {

class SeqEventPattern : public SeqEventContainer {
    JORVO_DECLARE_PERSISTENT(SeqEventPattern)
public:
    using EventList = SortedPlayList<SeqEvent>::List;
    // A place in the event list, used as an insertion hint.
    using EventPosition = SortedPlayList<SeqEvent>::Position;

    static constexpr Colour kDefaultColour = Colour::FromRgb(0x85, 0xC2, 0xC2);

    // An empty pattern, 1 pulse long, in the default colour.
    SeqEventPattern();
    ~SeqEventPattern() override;

    // Binary storage: offset, BYTE 1, name, length (0 reads as 1), colour as 3 bytes red, green,
    // blue, then the events as an object list. Loading replaces the events; a stored event that is
    // not a note or controller event raises ArchiveException (BadClass).
    void Serialize(BinaryArchive& archive) override;
    // XML storage: element "Pattern" with "Name" (unless "Pattern"), "Offset", "Length" and
    // "Colour", and a child "EventList" of "Note" and "CC" elements when there are events.
    // Loading replaces the events; elements that cannot be read are reported and left out.
    void SerializeXML(CXMLArchive& archive) override;
    int GetType() const override { return kSeqEventPattern; }
    // Hands every event due at `pulse` (counted from the pattern start) to `target`: notes and
    // controllers that start there, notes that end there. Nothing outside the pattern. Audio thread.
    void Play(std::uint32_t pulse, SeqEventTarget* target) noexcept override;
    // When the pattern overlaps [from, to], every event's CollectNotes with the same arguments.
    void CollectNotes(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to, std::uint32_t low,
                      std::uint32_t high) override;
    // When the pattern overlaps [from, to], every event's CollectControllers.
    void CollectControllers(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                            std::uint32_t low, std::uint32_t high) override;
    // The pattern's item, then each event's item under it. Returns the pattern's item.
    TreeSink::ItemId AddToTree(TreeSink& tree, TreeSink::ItemId parent) override;

    // Takes `event` (a note or controller event starting at or after the pattern start) into the
    // list, sorted by start after equal starts; it becomes the event's parent. `hint` (may be
    // null) speeds up ordered insertion and is moved to the new event. False, and the caller keeps
    // the event, for null, another kind of event or a start before the pattern's.
    bool InsertEvent(std::unique_ptr<SeqEvent>& event, EventPosition* hint = nullptr);
    // Removes and destroys `event`; false when it is not in the list.
    bool RemoveEvent(SeqEvent* event);
    // Moves `event` to `start` (clamped into the pattern) with `length` (at most the room left to
    // the pattern's end), then sets a note's pitch and velocity (values of 128 and above are left
    // as they were). False when the event is not in the list or its new length is refused; nothing
    // is changed then.
    bool MoveEvent(SeqEvent* event, std::uint32_t start, std::uint32_t length, std::uint32_t pitch,
                   std::uint32_t velocity);
    // True when the current song uses this pattern more than once (through every section
    // placement of the song and every pattern placement of those sections).
    bool IsAliased() const;

    // The events in play order.
    const EventList& Events() const { return events_.Items(); }
    Colour GetColour() const { return colour_; }
    void SetColour(Colour colour) { colour_ = colour; }

protected:
    // Pulses per quarter note ÷ 8.
    std::uint32_t MinimumLength() const override;
    // The largest end of the events, minus the pattern start.
    std::uint32_t ContentLength() const override;

private:
    static bool IsPatternEvent(const SeqEvent& event);
    void SerializeEvents(BinaryArchive& archive);
    void LoadXMLEvents(const CXMLArchive& archive);
    void StoreXMLEvents(const CXMLArchive& archive);

    SortedPlayList<SeqEvent> events_;
    Colour colour_ = kDefaultColour;
};

} // namespace jorvo
