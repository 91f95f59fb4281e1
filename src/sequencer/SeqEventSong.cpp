#include "sequencer/SeqEventSong.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "sequencer/SeqEventLookup.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SequencerSettings.h"
#include "sequencer/TimeText.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEventSong, SeqEvent, 0)

namespace {

SeqEventSection* FindStoredSection(const std::string& name)
{
    const SeqEventLookup* lookup = SeqEventLookup::Current();
    return lookup ? lookup->FindSection(name) : nullptr;
}

} // namespace

std::uint32_t SectionPlacement::GetEnd() const
{
    return AddPulses(offset, section->GetEnd());
}

std::uint32_t SectionPlacement::GetEndExclusive() const
{
    return AddPulses(offset, section->GetLength());
}

SeqEventSong::SeqEventSong()
{
    const std::uint64_t bars = Configuration().GetDWORD(kDefaultSongLengthSetting);
    SetStoredLength(AddPulses(0, bars * SequencerSettings::GetPulsesPerBar()));
}

SeqEventSong::~SeqEventSong() = default;

std::string SeqEventSong::GetName() const
{
    const std::string name = SeqEventContainer::GetName();
    return name.empty() ? kUntitled : name;
}

// Storage -------------------------------------------------------------------------------------

void SeqEventSong::Serialize(BinaryArchive& archive)
{
    SerializeHead(archive);
    SerializePlacements(archive);
}

void SeqEventSong::SerializePlacements(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteDword(static_cast<std::uint32_t>(placements_.Items().size()));
        for (const std::unique_ptr<SectionPlacement>& placement : placements_.Items()) {
            archive.WriteString(placement->section->GetName());
            archive.WriteDword(placement->offset);
        }
        return;
    }
    Clear();
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        const std::string sectionName = archive.ReadString();
        const std::uint32_t offset = archive.ReadDword();
        AddPlacement(FindStoredSection(sectionName), offset);
    }
    ActivateFirstWhenNone();
}

void SeqEventSong::SerializeXML(CXMLArchive& archive)
{
    SerializeXMLHead(archive);
    if (!archive.IsLoading()) {
        StoreXMLPlacements(archive);
        return;
    }
    LoadXMLPlacements(archive);
    ActivateFirstWhenNone();
}

void SeqEventSong::StoreXMLPlacements(const CXMLArchive& archive) const
{
    for (const std::unique_ptr<SectionPlacement>& placement : placements_.Items()) {
        CXMLArchive child(archive);
        child.CreateChild("Section");
        child.Write("Name", placement->section->GetName());
        child.Write("Offset", PositionToText(placement->offset));
    }
}

void SeqEventSong::LoadXMLPlacements(const CXMLArchive& archive)
{
    Clear();
    DomNodeList nodes;
    archive.SelectChildren("Section", nodes);
    DomNode node;
    while (archive.NextNode(nodes, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::string sectionName;
        std::string offset;
        child.Read("Name", sectionName);
        child.Read("Offset", offset);
        AddPlacement(FindStoredSection(sectionName), PositionFromText(offset));
    }
}

// Playing and queries -------------------------------------------------------------------------

void SeqEventSong::PlayAt(std::uint32_t pulse) noexcept
{
    placements_.PlayAt(pulse, [pulse](const SectionPlacement& placement) {
        if (placement.section)
            placement.section->PlayAt(pulse - placement.offset);
    });
}

TreeSink::ItemId SeqEventSong::AddToTree(TreeSink& tree, TreeSink::ItemId parent)
{
    const TreeSink::ItemId item = SeqEvent::AddToTree(tree, parent);
    for (const std::unique_ptr<SectionPlacement>& placement : placements_.Items())
        placement->section->AddToTree(tree, item);
    return item;
}

SectionPlacement* SeqEventSong::FindNextPlacement(const SectionPlacement* placement) const
{
    if (!placement)
        return placements_.Empty() ? nullptr : placements_.Items().front().get();
    auto at = placements_.Find(placement);
    if (at == placements_.Items().end())
        return nullptr;
    const std::uint32_t end = placement->GetEndExclusive();
    for (++at; at != placements_.Items().end(); ++at)
        if ((*at)->offset > end)
            return at->get();
    return nullptr;
}

SectionPlacement* SeqEventSong::GetActivePlacement()
{
    ActivateFirstWhenNone();
    return activePlacement_;
}

void SeqEventSong::ActivateFirstWhenNone()
{
    if (!activePlacement_ && !placements_.Empty())
        activePlacement_ = placements_.Items().front().get();
}

bool SeqEventSong::SetActivePlacement(SectionPlacement* placement)
{
    if (!placements_.Contains(placement))
        return false;
    activePlacement_ = placement;
    return true;
}

void SeqEventSong::CopyPlacementsTo(std::vector<SectionPlacement*>& list) const
{
    for (const std::unique_ptr<SectionPlacement>& placement : placements_.Items())
        list.push_back(placement.get());
}

std::uint32_t SeqEventSong::ContentLength() const
{
    std::uint32_t contentEnd = 0;
    for (const std::unique_ptr<SectionPlacement>& placement : placements_.Items())
        contentEnd = std::max(contentEnd, AddPulses(placement->GetEnd(), 1));
    return SubtractPulses(contentEnd, GetStart());
}

// Editing -------------------------------------------------------------------------------------

bool SeqEventSong::InsertPlacement(std::unique_ptr<SectionPlacement>& placement)
{
    if (!placement || !placement->section)
        return false;
    placements_.Insert(std::move(placement));
    return true;
}

SectionPlacement* SeqEventSong::AddPlacement(SeqEventSection* section, std::uint32_t offset)
{
    auto placement = std::make_unique<SectionPlacement>(SectionPlacement{section, offset});
    SectionPlacement* added = placement.get();
    return InsertPlacement(placement) ? added : nullptr;
}

bool SeqEventSong::RemovePlacement(SectionPlacement* placement)
{
    if (!placements_.Take(placement))
        return false;
    if (activePlacement_ == placement)
        activePlacement_ = nullptr;
    return true;
}

bool SeqEventSong::MovePlacement(SectionPlacement* placement, std::uint32_t offset, std::uint32_t length)
{
    if (!placements_.Contains(placement))
        return false;
    if (offset != placement->offset || length != placement->section->GetLength()) {
        if (!placement->section->SetLength(length))
            return false;
        placement->offset = offset;
        placements_.Reposition(placement);
    }
    return true;
}

void SeqEventSong::Clear()
{
    activePlacement_ = nullptr;
    placements_.Clear();
}

} // namespace jorvo
