#pragma once
// A section: places patterns in time, each placement aimed at one sound target. The section
// refers to its patterns (the sequencer's pattern list owns them) and to its targets (the studio
// owns them); it owns its placements.
//
// Threads: PlayAt runs on the audio thread. Every edit of a section a song can reach is a
// structural edit: the caller holds the studio's render lock. The section itself takes no lock.
// Patterns must outlive the sections that place them (the sequencer destroys sections first).
#include <cstdint>
#include <memory>
#include <vector>

#include "document/XMLArchive.h"
#include "sequencer/SeqEventContainer.h"
#include "sequencer/SortedPlayList.h"

namespace jorvo {

class SeqEventPattern;

// One use of a pattern in a section: which pattern, for which target, from which pulse of the
// section. A placement without a target is kept but never played.
struct PatternPlacement {
    SeqEventPattern* pattern = nullptr;   // not owned; never null in a section
    SeqEventTarget* target = nullptr;     // not owned; may be null
    std::uint32_t offset = 0;             // pulses from the section start

    // The first pulse covered (the offset).
    std::uint32_t GetStart() const { return offset; }
    // The last pulse covered: the offset + the pattern's end.
    std::uint32_t GetEnd() const;
    // The offset + the pattern's length (the first pulse after it).
    std::uint32_t GetEndExclusive() const;
};

class SeqEventSection : public SeqEventContainer {
    JORVO_DECLARE_PERSISTENT(SeqEventSection)
public:
    using PlacementList = SortedPlayList<PatternPlacement>::List;

    static constexpr Colour kDefaultColour = Colour::FromRgb(0x64, 0x3C, 0xC4);

    // An empty section of length 0, in the default colour.
    SeqEventSection();
    // Destroys the placements; patterns that have this section as parent lose it.
    ~SeqEventSection() override;

    // Binary storage: offset, BYTE 1, name, length (0 reads as 1), colour as 3 bytes, placement
    // count DWORD, then per placement pattern name, target name, target class (empty without a
    // target) and offset DWORD. Loading resolves names through SeqEventLookup::Current():
    // placements of unknown patterns are dropped, unknown targets leave the placement targetless.
    void Serialize(BinaryArchive& archive) override;
    // XML storage: element "Section" with "Name", "Offset", "Length" (0 reads as 1) and "Colour",
    // then one child "Pattern" per placement ("Name", "Offset", and the target's "Target" child).
    // Loading resolves names as Serialize does.
    void SerializeXML(CXMLArchive& archive) override;
    int GetType() const override { return kSeqEventSection; }
    // The section's item, then each placed pattern's items under it. Returns the section's item.
    TreeSink::ItemId AddToTree(TreeSink& tree, TreeSink::ItemId parent) override;

    // Takes `placement` (with a pattern) into the list, sorted by offset after equal offsets; the
    // section becomes the pattern's parent. False, and the caller keeps it, for null or a
    // placement without a pattern.
    bool InsertPlacement(std::unique_ptr<PatternPlacement>& placement);
    // Places `pattern` for `target` (may be null) at `offset`. The new placement; null for a null
    // pattern.
    PatternPlacement* AddPlacement(SeqEventPattern* pattern, SeqEventTarget* target, std::uint32_t offset);
    // Destroys `placement` (not its pattern); clears the active placement if it was that one.
    // False when it is not in the list.
    bool RemovePlacement(PatternPlacement* placement);
    // Moves `placement` to `offset` and gives its pattern `length` (SetLength) when either
    // differs, then aims it at `target`. False (nothing changed) when it is not in the list or the
    // pattern refuses the length.
    bool MovePlacement(PatternPlacement* placement, std::uint32_t offset, std::uint32_t length,
                       SeqEventTarget* target);
    // Aims every placement aimed at `oldTarget` at `newTarget` (null: no target).
    void ReplaceTarget(const SeqEventTarget* oldTarget, SeqEventTarget* newTarget);
    // The next placement after `placement`, aimed at the same target, that starts after its end
    // (offset + pattern length). Null when there is none or `placement` is not in the list.
    PatternPlacement* FindNextPlacement(const PatternPlacement* placement) const;
    // The placement the editors work on, or null.
    PatternPlacement* GetActivePlacement() const { return activePlacement_; }
    // Makes `placement` active; false (unchanged) for null or a placement not in the list.
    bool SetActivePlacement(PatternPlacement* placement);
    // Finds the placement for `target` at `pulse` (section-relative) and makes it active: the
    // first one aimed at `target` that covers the pulse, else the first aimed at it at all, else
    // a new pattern named after the target placed at the start of the pulse's bar. Null for a
    // pulse before the section start, a null target, or when no pattern could be created.
    PatternPlacement* ActivateAt(SeqEventTarget* target, std::uint32_t pulse);
    // Appends the placement records themselves (not copies; the section keeps owning them).
    void CopyPlacementsTo(std::vector<PatternPlacement*>& list) const;
    // True when the current song places this section more than once.
    bool IsAliased() const;
    // Plays every placement due at `pulse` (section-relative): each placed pattern's Play with
    // the pulse relative to the placement and the placement's target. Audio thread.
    void PlayAt(std::uint32_t pulse) noexcept;

    // The placements in play order.
    const PlacementList& Placements() const { return placements_.Items(); }
    Colour GetColour() const { return colour_; }
    void SetColour(Colour colour) { colour_ = colour; }

protected:
    // Pulses per quarter note.
    std::uint32_t MinimumLength() const override;
    // The largest (placement offset + pattern end + 1), minus the section start.
    std::uint32_t ContentLength() const override;

private:
    void SerializePlacements(BinaryArchive& archive);
    void LoadXMLPlacements(const CXMLArchive& archive);
    void StoreXMLPlacements(const CXMLArchive& archive) const;
    void ClearPlacements();

    SortedPlayList<PatternPlacement> placements_;
    PatternPlacement* activePlacement_ = nullptr;
    Colour colour_ = kDefaultColour;
};

} // namespace jorvo
