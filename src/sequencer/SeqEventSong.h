#pragma once
// The song: places sections in time. It refers to its sections (the sequencer's section list
// owns them) and owns its placements. The sequencer plays the song with PlayAt.
//
// Threads: PlayAt runs on the audio thread. Every edit of the sequencer's song is a structural
// edit: the caller holds the studio's render lock. The song itself takes no lock.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sequencer/SeqEventContainer.h"
#include "sequencer/SortedPlayList.h"

namespace jorvo {

class SeqEventSection;

// One use of a section in the song.
struct SectionPlacement {
    SeqEventSection* section = nullptr;   // not owned; never null in a song
    std::uint32_t offset = 0;             // pulses from the song start

    // The first pulse covered (the offset).
    std::uint32_t GetStart() const { return offset; }
    // The last pulse covered: the offset + the section's end.
    std::uint32_t GetEnd() const;
    // The offset + the section's length (the first pulse after it).
    std::uint32_t GetEndExclusive() const;
};

class SeqEventSong : public SeqEventContainer {
    JORVO_DECLARE_PERSISTENT(SeqEventSong)
public:
    using PlacementList = SortedPlayList<SectionPlacement>::List;

    // The title shown for a song without a name.
    static constexpr char kUntitled[] = "Untitled";

    // An empty song of DefaultSongLength bars (setting, default 16) at the current beats per bar
    // and pulses per quarter note.
    SeqEventSong();
    ~SeqEventSong() override;

    // Binary storage: offset, BYTE 1, name, length DWORD, placement count DWORD, then per
    // placement the section name and offset DWORD. Loading resolves section names through
    // SeqEventLookup::Current() and drops unknown ones; the first placement becomes active.
    void Serialize(BinaryArchive& archive) override;
    // XML storage: element "Song" with "Name", "Offset" and "Length", then one child "Section"
    // per placement ("Name", "Offset"). Loading resolves names as Serialize does.
    void SerializeXML(CXMLArchive& archive) override;
    int GetType() const override { return kSeqEventSong; }
    // The name; "Untitled" when empty.
    std::string GetName() const override;
    // The song's item, then each placed section's items under it. Returns the song's item.
    TreeSink::ItemId AddToTree(TreeSink& tree, TreeSink::ItemId parent) override;

    // Takes `placement` (with a section) into the list, sorted by offset after equal offsets.
    // False, and the caller keeps it, for null or a placement without a section.
    bool InsertPlacement(std::unique_ptr<SectionPlacement>& placement);
    // Places `section` at `offset`. The new placement; null for a null section.
    SectionPlacement* AddPlacement(SeqEventSection* section, std::uint32_t offset);
    // Destroys `placement` (not its section); clears the active placement if it was that one.
    // False when it is not in the list.
    bool RemovePlacement(SectionPlacement* placement);
    // Moves `placement` to `offset` and gives its section `length` (SetLength) when either
    // differs. False (nothing changed) when it is not in the list or the section refuses the length.
    bool MovePlacement(SectionPlacement* placement, std::uint32_t offset, std::uint32_t length);
    // With null, the first placement; otherwise the next placement after `placement` that starts
    // after its end (offset + section length). Null when there is none or `placement` is not in
    // the list.
    SectionPlacement* FindNextPlacement(const SectionPlacement* placement) const;
    // The active placement; when none is set and the list is not empty, the first becomes active.
    SectionPlacement* GetActivePlacement();
    // Makes `placement` active; false (unchanged) for null or a placement not in the list.
    bool SetActivePlacement(SectionPlacement* placement);
    // Appends the placement records themselves (not copies; the song keeps owning them).
    void CopyPlacementsTo(std::vector<SectionPlacement*>& list) const;
    // Destroys every placement; no placement is active afterwards.
    void Clear();
    // Plays every section due at `pulse` (from the song start): each placed section's PlayAt with
    // the pulse relative to the placement. Audio thread.
    void PlayAt(std::uint32_t pulse) noexcept;

    // The placements in play order.
    const PlacementList& Placements() const { return placements_.Items(); }

protected:
    // None: 0.
    std::uint32_t MinimumLength() const override { return 0; }
    // The largest (placement offset + section end + 1), minus the song start.
    std::uint32_t ContentLength() const override;

private:
    void SerializePlacements(BinaryArchive& archive);
    void LoadXMLPlacements(const CXMLArchive& archive);
    void StoreXMLPlacements(const CXMLArchive& archive) const;
    void ActivateFirstWhenNone();

    SortedPlayList<SectionPlacement> placements_;
    SectionPlacement* activePlacement_ = nullptr;
};

} // namespace jorvo
