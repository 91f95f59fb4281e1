#include "sequencer/SeqEventPattern.h"

#include <algorithm>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "sequencer/SeqEventFactory.h"
#include "sequencer/SeqEventLookup.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"
#include "sequencer/SequencerSettings.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEventPattern, SeqEvent, 0)

SeqEventPattern::SeqEventPattern()
{
    SetStoredLength(1);
}

SeqEventPattern::~SeqEventPattern() = default;

bool SeqEventPattern::IsPatternEvent(const SeqEvent& event)
{
    return event.GetType() == kSeqEventNote || event.GetType() == kSeqEventController;
}

// Storage -------------------------------------------------------------------------------------

void SeqEventPattern::Serialize(BinaryArchive& archive)
{
    SerializeHead(archive);
    SerializeColour(archive, colour_);
    if (archive.IsLoading() && GetLength() == 0)
        SetStoredLength(1);
    SerializeEvents(archive);
}

void SeqEventPattern::SerializeEvents(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteObjectList(events_.Items());
        return;
    }
    events_.Clear();
    EventPosition hint = events_.Items().end();
    for (std::uint32_t remaining = archive.ReadCount(); remaining > 0; --remaining) {
        std::unique_ptr<SeqEvent> event = archive.ReadObject<SeqEvent>();
        if (!event)
            continue;
        // A pattern inside a pattern would play itself through its own events.
        if (!IsPatternEvent(*event))
            throw ArchiveException(ArchiveException::Cause::BadClass);
        InsertEvent(event, &hint);
    }
}

void SeqEventPattern::SerializeXML(CXMLArchive& archive)
{
    SerializeXMLHead(archive);
    if (!archive.IsLoading()) {
        archive.Write("Colour", colour_);
        if (!events_.Empty())
            StoreXMLEvents(archive);
        return;
    }
    if (GetLength() == 0)
        SetStoredLength(1);
    archive.Read("Colour", colour_);
    LoadXMLEvents(archive);
}

void SeqEventPattern::StoreXMLEvents(const CXMLArchive& archive)
{
    CXMLArchive list(archive);
    list.CreateChild("EventList");
    for (const std::unique_ptr<SeqEvent>& event : events_.Items()) {
        CXMLArchive child(list);
        event->SerializeXML(child);
    }
}

void SeqEventPattern::LoadXMLEvents(const CXMLArchive& archive)
{
    events_.Clear();
    DomNodeList nodes;
    if (!archive.GetChildList("EventList", nodes))
        return;
    EventPosition hint = events_.Items().end();
    DomNode node;
    while (archive.NextNode(nodes, node)) {
        // Only notes and controller events belong here; anything else is passed over unread, so
        // a damaged file cannot nest containers without end.
        const std::string tag = node.TagName();
        if (tag != ElementName(kSeqEventNote) && tag != ElementName(kSeqEventController))
            continue;
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::unique_ptr<SeqEvent> event = SeqEventFactory::CreateFromXML(child);
        if (event)
            InsertEvent(event, &hint);
    }
}

// Playing and queries -------------------------------------------------------------------------

void SeqEventPattern::Play(std::uint32_t pulse, SeqEventTarget* target) noexcept
{
    if (events_.Empty() || pulse > GetEnd() || pulse < GetStart())
        return;
    events_.PlayAt(pulse, [pulse, target](SeqEvent& event) { event.Play(pulse, target); });
}

void SeqEventPattern::CollectNotes(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                                   std::uint32_t low, std::uint32_t high)
{
    if (GetStart() > to || from > GetEnd())
        return;
    for (const std::unique_ptr<SeqEvent>& event : events_.Items())
        event->CollectNotes(list, from, to, low, high);
}

void SeqEventPattern::CollectControllers(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                                         std::uint32_t low, std::uint32_t high)
{
    if (GetStart() > to || from > GetEnd())
        return;
    for (const std::unique_ptr<SeqEvent>& event : events_.Items())
        event->CollectControllers(list, from, to, low, high);
}

TreeSink::ItemId SeqEventPattern::AddToTree(TreeSink& tree, TreeSink::ItemId parent)
{
    const TreeSink::ItemId item = SeqEvent::AddToTree(tree, parent);
    for (const std::unique_ptr<SeqEvent>& event : events_.Items())
        event->AddToTree(tree, item);
    return item;
}

bool SeqEventPattern::IsAliased() const
{
    const SeqEventLookup* lookup = SeqEventLookup::Current();
    const SeqEventSong* song = lookup ? lookup->GetSong() : nullptr;
    if (!song)
        return false;
    int uses = 0;
    for (const std::unique_ptr<SectionPlacement>& sectionPlacement : song->Placements())
        for (const std::unique_ptr<PatternPlacement>& placement : sectionPlacement->section->Placements())
            if (placement->pattern == this && ++uses > 1)
                return true;
    return false;
}

std::uint32_t SeqEventPattern::MinimumLength() const
{
    return static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote()) / 8;
}

std::uint32_t SeqEventPattern::ContentLength() const
{
    std::uint32_t lastEnd = 0;
    for (const std::unique_ptr<SeqEvent>& event : events_.Items())
        lastEnd = std::max(lastEnd, event->GetEnd());
    return SubtractPulses(lastEnd, GetStart());
}

// Editing -------------------------------------------------------------------------------------

bool SeqEventPattern::InsertEvent(std::unique_ptr<SeqEvent>& event, EventPosition* hint)
{
    if (!event || !IsPatternEvent(*event) || event->GetStart() < GetStart())
        return false;
    event->SetParent(this);
    events_.Insert(std::move(event), hint);
    return true;
}

bool SeqEventPattern::RemoveEvent(SeqEvent* event)
{
    return events_.Take(event) != nullptr;
}

bool SeqEventPattern::MoveEvent(SeqEvent* event, std::uint32_t start, std::uint32_t length, std::uint32_t pitch,
                                std::uint32_t velocity)
{
    if (!events_.Contains(event))
        return false;
    start = std::clamp(start, GetStart(), GetEnd());
    length = std::min(length, GetEnd() - start);
    // Events without a length (controller events) move without one.
    const bool lengthChanges = event->GetLength() != 0 && length != event->GetLength();
    if (lengthChanges && !event->SetLength(length))
        return false;
    const bool startChanges = start != event->GetStart();
    if (startChanges)
        event->SetStart(start);
    // Taken out and inserted again, so it follows the events that start with it.
    if (startChanges || lengthChanges)
        events_.Reposition(event);
    if (SeqEventNote* note = PersistentCast<SeqEventNote>(event)) {
        note->SetPitch(pitch);
        note->SetVelocity(velocity);
    }
    return true;
}

} // namespace jorvo
