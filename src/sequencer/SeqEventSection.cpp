#include "sequencer/SeqEventSection.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "engine/SeqEventTarget.h"
#include "sequencer/SeqEventLookup.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSong.h"
#include "sequencer/SequencerSettings.h"
#include "sequencer/TimeText.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEventSection, SeqEvent, 0)

namespace {

SeqEventPattern* FindStoredPattern(const std::string& name)
{
    const SeqEventLookup* lookup = SeqEventLookup::Current();
    return lookup ? lookup->FindPattern(name) : nullptr;
}

// The target a placement stored; null without a stored name or when nothing has that name.
SeqEventTarget* FindStoredTarget(const std::string& name, const std::string& typeName)
{
    const SeqEventLookup* lookup = SeqEventLookup::Current();
    return lookup && !name.empty() ? lookup->FindTarget(name, typeName) : nullptr;
}

} // namespace

std::uint32_t PatternPlacement::GetEnd() const
{
    return AddPulses(offset, pattern->GetEnd());
}

std::uint32_t PatternPlacement::GetEndExclusive() const
{
    return AddPulses(offset, pattern->GetLength());
}

SeqEventSection::SeqEventSection() = default;

SeqEventSection::~SeqEventSection()
{
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items())
        if (placement->pattern->GetParent() == this)
            placement->pattern->SetParent(nullptr);
}

// Storage -------------------------------------------------------------------------------------

void SeqEventSection::Serialize(BinaryArchive& archive)
{
    SerializeHead(archive);
    SerializeColour(archive, colour_);
    if (archive.IsLoading() && GetLength() == 0)
        SetStoredLength(1);
    SerializePlacements(archive);
}

void SeqEventSection::SerializePlacements(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteDword(static_cast<std::uint32_t>(placements_.Items().size()));
        for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items()) {
            archive.WriteString(placement->pattern->GetName());
            archive.WriteString(placement->target ? placement->target->GetName() : std::string());
            archive.WriteString(placement->target ? placement->target->GetTypeName() : std::string());
            archive.WriteDword(placement->offset);
        }
        return;
    }
    ClearPlacements();
    const std::uint32_t count = archive.ReadDword();
    archive.RequireAvailable(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        const std::string patternName = archive.ReadString();
        const std::string targetName = archive.ReadString();
        const std::string targetClass = archive.ReadString();
        const std::uint32_t offset = archive.ReadDword();
        if (SeqEventPattern* pattern = FindStoredPattern(patternName))
            AddPlacement(pattern, FindStoredTarget(targetName, targetClass), offset);
    }
}

void SeqEventSection::SerializeXML(CXMLArchive& archive)
{
    SerializeXMLHead(archive);
    if (!archive.IsLoading()) {
        archive.Write("Colour", colour_);
        StoreXMLPlacements(archive);
        return;
    }
    if (GetLength() == 0)
        SetStoredLength(1);
    archive.Read("Colour", colour_);
    LoadXMLPlacements(archive);
}

void SeqEventSection::StoreXMLPlacements(const CXMLArchive& archive) const
{
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items()) {
        CXMLArchive child(archive);
        child.CreateChild("Pattern");
        child.Write("Name", placement->pattern->GetName());
        child.Write("Offset", PositionToText(placement->offset));
        if (placement->target)
            placement->target->WriteReference(child);
    }
}

void SeqEventSection::LoadXMLPlacements(const CXMLArchive& archive)
{
    ClearPlacements();
    DomNodeList nodes;
    archive.SelectChildren("Pattern", nodes);
    DomNode node;
    while (archive.NextNode(nodes, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::string patternName;
        child.Read("Name", patternName);
        SeqEventPattern* pattern = FindStoredPattern(patternName);
        if (!pattern)
            continue;
        std::string offset;
        child.Read("Offset", offset);
        SeqEventTarget* target = nullptr;
        if (child.Descend("Target")) {
            std::string targetName;
            std::string targetClass;
            child.Read("Name", targetName);
            child.Read("Class", targetClass);
            target = FindStoredTarget(targetName, targetClass);
        }
        AddPlacement(pattern, target, PositionFromText(offset));
    }
}

// Playing and queries -------------------------------------------------------------------------

void SeqEventSection::PlayAt(std::uint32_t pulse) noexcept
{
    placements_.PlayAt(pulse, [pulse](const PatternPlacement& placement) {
        if (placement.pattern && placement.target)
            placement.pattern->Play(pulse - placement.offset, placement.target);
    });
}

TreeSink::ItemId SeqEventSection::AddToTree(TreeSink& tree, TreeSink::ItemId parent)
{
    const TreeSink::ItemId item = SeqEvent::AddToTree(tree, parent);
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items())
        placement->pattern->AddToTree(tree, item);
    return item;
}

PatternPlacement* SeqEventSection::FindNextPlacement(const PatternPlacement* placement) const
{
    auto at = placements_.Find(placement);
    if (at == placements_.Items().end())
        return nullptr;
    const std::uint32_t end = placement->GetEndExclusive();
    for (++at; at != placements_.Items().end(); ++at)
        if ((*at)->target == placement->target && (*at)->offset > end)
            return at->get();
    return nullptr;
}

void SeqEventSection::CopyPlacementsTo(std::vector<PatternPlacement*>& list) const
{
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items())
        list.push_back(placement.get());
}

bool SeqEventSection::IsAliased() const
{
    const SeqEventLookup* lookup = SeqEventLookup::Current();
    const SeqEventSong* song = lookup ? lookup->GetSong() : nullptr;
    if (!song)
        return false;
    int uses = 0;
    for (const std::unique_ptr<SectionPlacement>& placement : song->Placements())
        if (placement->section == this && ++uses > 1)
            return true;
    return false;
}

std::uint32_t SeqEventSection::MinimumLength() const
{
    return static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote());
}

std::uint32_t SeqEventSection::ContentLength() const
{
    std::uint32_t contentEnd = 0;
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items())
        contentEnd = std::max(contentEnd, AddPulses(placement->GetEnd(), 1));
    return SubtractPulses(contentEnd, GetStart());
}

// Editing -------------------------------------------------------------------------------------

bool SeqEventSection::InsertPlacement(std::unique_ptr<PatternPlacement>& placement)
{
    if (!placement || !placement->pattern)
        return false;
    placement->pattern->SetParent(this);
    placements_.Insert(std::move(placement));
    return true;
}

PatternPlacement* SeqEventSection::AddPlacement(SeqEventPattern* pattern, SeqEventTarget* target,
                                                std::uint32_t offset)
{
    auto placement = std::make_unique<PatternPlacement>(PatternPlacement{pattern, target, offset});
    PatternPlacement* added = placement.get();
    return InsertPlacement(placement) ? added : nullptr;
}

bool SeqEventSection::RemovePlacement(PatternPlacement* placement)
{
    if (!placements_.Take(placement))
        return false;
    if (activePlacement_ == placement)
        activePlacement_ = nullptr;
    return true;
}

void SeqEventSection::ClearPlacements()
{
    activePlacement_ = nullptr;
    placements_.Clear();
}

bool SeqEventSection::MovePlacement(PatternPlacement* placement, std::uint32_t offset, std::uint32_t length,
                                    SeqEventTarget* target)
{
    if (!placements_.Contains(placement))
        return false;
    if (offset != placement->offset || length != placement->pattern->GetLength()) {
        if (!placement->pattern->SetLength(length))
            return false;
        placement->offset = offset;
        placements_.Reposition(placement);
    }
    placement->target = target;
    return true;
}

void SeqEventSection::ReplaceTarget(const SeqEventTarget* oldTarget, SeqEventTarget* newTarget)
{
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items())
        if (placement->target == oldTarget)
            placement->target = newTarget;
}

bool SeqEventSection::SetActivePlacement(PatternPlacement* placement)
{
    if (!placements_.Contains(placement))
        return false;
    activePlacement_ = placement;
    return true;
}

PatternPlacement* SeqEventSection::ActivateAt(SeqEventTarget* target, std::uint32_t pulse)
{
    if (!target || pulse < GetStart())
        return nullptr;
    PatternPlacement* firstForTarget = nullptr;
    PatternPlacement* covering = nullptr;
    for (const std::unique_ptr<PatternPlacement>& placement : placements_.Items()) {
        if (placement->target != target)
            continue;
        if (!firstForTarget)
            firstForTarget = placement.get();
        if (placement->offset <= pulse && pulse < placement->GetEndExclusive()) {
            covering = placement.get();
            break;
        }
    }
    PatternPlacement* found = covering ? covering : firstForTarget;
    if (!found) {
        SeqEventLookup* lookup = SeqEventLookup::Current();
        SeqEventPattern* pattern = lookup ? lookup->CreatePattern(target->GetName()) : nullptr;
        if (!pattern)
            return nullptr;
        const std::uint32_t bar = SequencerSettings::GetPulsesPerBar();
        found = AddPlacement(pattern, target, pulse - pulse % bar);
    }
    activePlacement_ = found;
    return found;
}

} // namespace jorvo
