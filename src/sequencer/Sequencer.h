#pragma once
// The sequencer: the clock and the owner of the song material. It keeps the tempo, beats per bar,
// resolution and timing accuracy (class-wide, SequencerSettings), every pattern and section by
// name, the song, and the play state (position, play range, loop). The audio side asks it for
// blocks: Render advances the pulse clock at the right samples, lets the song hand the due events
// to their targets and has the mixer render the samples between pulses.
//
// Threads and the render lock. Render (audio thread) holds the studio's render lock for a whole
// block. Every user-interface call that touches the play state, the song or a target (transport,
// edits of placements, SendToTarget, loading, Reset) takes it briefly, never around a prompt,
// dialog or file I/O. Editors that change patterns or placements themselves hold an EditLock.
// The pattern and section lists are the user-interface thread's alone: Render reaches patterns
// and sections only through the song, so creating and entering a new one needs no lock.
// The audio thread posts nothing: it publishes the song position and each beat as atomics, and
// the user-interface thread calls PollSongTime to announce them.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "document/RuntimeClass.h"
#include "document/XMLArchive.h"
#include "engine/SoundStudio.h"
#include "platform/ShellRequests.h"
#include "sequencer/SeqEventLookup.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"

namespace jorvo {

class MidiFile;
class PatternBankList;
class SeqEvent;
class SeqEventTarget;
class SeqParameter;

class Sequencer : public PersistentObject, public SeqEventLookup {
    JORVO_DECLARE_PERSISTENT(Sequencer)
public:
    using PatternList = std::map<std::string, std::unique_ptr<SeqEventPattern>>;
    using SectionList = std::map<std::string, std::unique_ptr<SeqEventSection>>;

    // Frames in one block and in one mixer chunk at the most.
    static constexpr int kMaxBlockFrames = 4096;
    static constexpr int kMaxChunkFrames = 1024;
    // The sample rate assumed until the studio sets one.
    static constexpr int kDefaultSampleRate = 44100;
    // The highest tempo accepted: keeps samples per pulse large enough that a block handles a
    // bounded number of pulses.
    static constexpr std::int32_t kMaxTempo = 999;

    // Holds the render lock (the studio's, or the sequencer's own without a studio) for its
    // lifetime. Not recursive. Editors hold one around every change to a pattern or placement.
    class EditLock {
    public:
        explicit EditLock(const Sequencer& sequencer);
        EditLock(const EditLock&) = delete;
        EditLock& operator=(const EditLock&) = delete;

    private:
        std::optional<SoundStudio::RenderLock> studioLock_;
        std::unique_lock<std::mutex> ownLock_;
    };

    // What plays and where, as one consistent snapshot.
    struct PlayState {
        bool playing = false;
        bool loop = true;
        SeqEvent* element = nullptr;
        std::uint32_t rangeStart = 0;
        std::uint32_t position = 0;
        std::uint32_t rangeEnd = 0;
        SeqEvent* pendingElement = nullptr;
        std::uint32_t pendingStart = 0;
    };

    // Publishes itself process-wide, resets, creates the song, goes to its start and asks the
    // shell for the four editor views. `studio` (may be null) supplies targets, the mixer and the
    // render lock. UI thread.
    explicit Sequencer(SoundStudio* studio = nullptr);
    // Removes the editor views and destroys the song, every section and every pattern. UI thread.
    ~Sequencer() override;
    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;

    // The published sequencer, or null.
    static Sequencer* Current();

    // Rendering ---------------------------------------------------------------------------------

    // The next block of `frames` stereo frames (cut to 4096; negative counts as 0); `frames`
    // comes back smaller when playback stopped inside the block. Returns the mix buffer (32-bit
    // interleaved stereo). Audio thread; takes the render lock; never allocates.
    const std::int32_t* Render(int& frames) noexcept;
    // Samples per pulse := rate × 60 ÷ (tempo × Q); countdown := 0. Ignores a rate below 1.
    void SetSampleRate(int rate);
    float GetSamplesPerPulse() const;

    // Transport (UI thread; each takes the render lock) ----------------------------------------

    // Starts playing from the current position (choosing the play range when none is set);
    // broadcasts 253 with the position.
    void Play();
    // Stops playing and broadcasts 255.
    void Stop();
    // Goes to the range start; when already there, the whole song from pulse 0 becomes the range.
    // While stopped, the events at the new position are delivered and 255 follows.
    void Rewind();
    // One quarter note ahead.
    void FastForward();
    // Moves the clock to `pulse` with the range, loop and notification handling.
    void SetPosition(std::uint32_t pulse);
    // Chooses what plays: the song (null element: the song from 0), a section or a pattern,
    // starting at `start`. While playing the switch waits for the next bar line.
    void SetPlayRange(SeqEvent* element, std::uint32_t start);
    // Position := range start; range end recomputed.
    void ResetPosition();
    // Sets the loop flag; returns the previous one.
    bool SetLoop(bool loop);
    // True while playing. Any thread.
    bool IsPlaying() const { return playing_.load(std::memory_order_relaxed); }
    // The play state under the render lock. UI thread.
    PlayState GetPlayState() const;
    // The last published song position. Any thread.
    std::uint32_t GetSongPosition() const { return songPosition_.load(std::memory_order_relaxed); }
    // When a beat was reached since the last call: broadcasts WM_UPDATE_SEQTIME (beat number,
    // pulse), blinks the LED when the configuration asks for it and resets the idle timer. True
    // when a beat was announced. UI thread (a timer).
    bool PollSongTime();

    // Class-wide timing values (UI thread) ------------------------------------------------------

    // When changed: stores the tempo, recomputes samples per pulse and broadcasts 252. False
    // (unchanged) outside 1…kMaxTempo.
    bool SetTempo(std::int32_t bpm);
    // False (unchanged) outside 1…SequencerSettings::kMaxDivision.
    bool SetBeatsPerBar(std::int32_t beats);
    // When changed: stores the resolution and recomputes samples per pulse. False (unchanged)
    // outside 1…SequencerSettings::kMaxDivision.
    bool SetPulsesPerQuarterNote(std::int32_t pulses);
    // Accepts 0, 1, 3 and 7; false (unchanged) otherwise.
    bool SetTimingAccuracy(std::uint32_t mask);
    // The limits offered to the user, from the settings ("MinSongBpm" and so on).
    std::int32_t GetMinTempo() const;
    std::int32_t GetMaxTempo() const;
    std::int32_t GetMinBeatsPerBar() const;
    std::int32_t GetMaxBeatsPerBar() const;

    // Patterns and sections (UI thread) ---------------------------------------------------------

    SeqEventPattern* FindPattern(const std::string& name) const override;
    SeqEventSection* FindSection(const std::string& name) const override;
    // The studio's target of class `typeName` named `name`; null without a studio or a match.
    SeqEventTarget* FindTarget(const std::string& name, const std::string& typeName) const override;
    SeqEventSong* GetSong() const override { return song_.get(); }
    // A new pattern one bar long named `baseName` made unique, entered in the pattern list; null
    // when the name turns out to be taken.
    SeqEventPattern* CreatePattern(const std::string& baseName) override;
    // The same for a section (length 0 until set).
    SeqEventSection* CreateSection(const std::string& baseName);
    // A deep copy of `pattern` under a unique name derived from its own and a new light colour,
    // entered in the list; null when it cannot be copied or entered.
    SeqEventPattern* ReplicatePattern(SeqEventPattern* pattern);
    // The same for sections (placed patterns are shared) with a new dark colour.
    SeqEventSection* ReplicateSection(SeqEventSection* section);
    // `base` when free in the list, else base followed by the first free number of 2…9999, else
    // base followed by 10000.
    std::string UniquePatternName(const std::string& base) const;
    std::string UniqueSectionName(const std::string& base) const;
    // Renames a pattern or section (re-keying its list entry) or the song. False for null, an
    // empty name, another kind of event, or a name another pattern (section) holds.
    bool Rename(SeqEvent* event, const std::string& newName);
    // The rename dialog: asks for a name ("Rename"); a name in use proposes the unique one
    // ("Pattern Name '%s' is already in use. …"), No asks again. False on Cancel.
    bool RenameWithDialog(SeqEvent* event);
    // Every section's placements aimed at `oldTarget` are aimed at `newTarget`. Takes the lock.
    void ReplaceTarget(const SeqEventTarget* oldTarget, SeqEventTarget* newTarget);
    // The same without taking the lock, for callers that hold it (the studio deleting a target).
    void ReplaceTargetLocked(const SeqEventTarget* oldTarget, SeqEventTarget* newTarget);
    bool IsPatternAliased(const SeqEventPattern* pattern) const;
    bool IsSectionAliased(const SeqEventSection* section) const;
    const PatternList& Patterns() const { return patterns_; }
    const SectionList& Sections() const { return sections_; }

    // The editors' focus (UI thread) ------------------------------------------------------------

    // The song's active placement, or null.
    SectionPlacement* GetActiveSection() const;
    // The active section's active placement, or null.
    PatternPlacement* GetActivePattern() const;
    // Makes `placement` active and announces WM_CHANGE_ACTIVE_SECTION and
    // WM_CHANGE_ACTIVE_PATTERN. False for a placement that is not the song's.
    bool SetActiveSection(SectionPlacement* placement);
    // Makes `placement` the active section's active placement and announces
    // WM_CHANGE_ACTIVE_PATTERN. False without an active section or for another placement.
    bool SetActivePattern(PatternPlacement* placement);
    // The active song placement's offset (0 without one).
    std::uint32_t GetActiveSectionStart() const;
    // That plus the active pattern placement's offset.
    std::uint32_t GetActivePatternStart() const;
    // Finds (or creates) the active section's pattern for `target` at the current position and
    // makes it the active pattern, then shows the parameter editor and posts WM__EDIT_PARAMETER
    // with `parameter`. False when there is no active section or nothing was found.
    bool EditTargetParameters(SeqEventTarget* target, const SeqParameter* parameter = nullptr);
    // Posts WM_SET_ACTIVE_VIEW with the song editor, the section editor, or the pattern editor
    // (the parameter editor for kind 2).
    void ShowSongEditor();
    void ShowSectionEditor();
    void ShowPatternEditor(int kind);
    // The editor views the shell created (kNoView without a main frame).
    ViewId SongEditorView() const { return songEditor_; }
    ViewId SectionEditorView() const { return sectionEditor_; }
    ViewId PatternEditorView() const { return patternEditor_; }
    ViewId ParameterEditorView() const { return parameterEditor_; }

    // Hands one event straight to `target` (editors, keyboard) under the render lock; unless
    // no-parameter-update is set, `a` becomes the stored value of parameter `code`.
    void SendToTarget(SeqEventTarget* target, std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c,
                      std::int32_t d);
    // Sets no-parameter-update; returns the previous value. Reset clears it.
    bool SetNoParameterUpdate(bool noUpdate);

    // Storage and reset (UI thread) -------------------------------------------------------------

    // Tempo, beats per bar and Q DWORDs; the patterns and the sections, each a count DWORD and
    // object references; then the song without a class tag. Loading resets first, enters each
    // object under its name (the first of a name wins) and ends with ResetPosition. Raises
    // ArchiveException on damaged input or timing values out of range.
    void Serialize(BinaryArchive& archive) override;
    // Element "Sequencer" with "Tempo", "BeatsPerBar", "PulsesPerQuarterNote", then "PatternList"
    // and "SectionList" (each only when not empty) and the song's "Song". Loading requires the
    // current element to be "Sequencer" (else ArchiveException Generic) and reads as Serialize.
    void SerializeXML(CXMLArchive& archive) override;
    // The pattern-bank manager, created on first use. UI thread.
    PatternBankList& GetPatternBankList();
    // Writes the song with the tempo, beats per bar and resolution through `file`. UI thread.
    void ExportMIDI(MidiFile& file);
    // Empties the song, destroys every section and pattern, takes the default timing values from
    // the settings and clears the play state.
    void Reset();

private:
    void Broadcast(std::int32_t code, std::int32_t a = 0, std::int32_t b = 0);
    void BroadcastPosition(std::int32_t code, std::uint32_t pulse);
    void StepTo(std::uint32_t pulse);
    void StopLocked();
    void PlayLocked();
    void ResetPositionLocked();
    void RecomputeSamplesPerPulse();
    void MixChunk(int place, int frames);
    std::uint32_t ElementLength(const SeqEvent* element) const;
    void PublishPosition(std::uint32_t pulse);
    void AnnounceActivePattern();
    void PostMessage(const char* name, std::uintptr_t wParam, std::intptr_t lParam);
    void CreateEditorViews();
    void ApplyTimingValues(std::int32_t tempo, std::int32_t beats, std::int32_t pulses);
    void EnterLoaded(std::vector<std::unique_ptr<SeqEventPattern>> patterns,
                     std::vector<std::unique_ptr<SeqEventSection>> sections);
    void InstallSong(std::unique_ptr<SeqEventSong> song);
    Colour NewColour(bool light);
    template <class Container>
    bool Rekey(std::map<std::string, std::unique_ptr<Container>>& list, SeqEvent* event, const std::string& name);

    SoundStudio* studio_;
    mutable std::mutex ownMutex_;
    std::vector<std::int32_t> mixBuffer_;
    int sampleRate_ = kDefaultSampleRate;
    float samplesPerPulse_ = 0.0f;
    float countdown_ = 0.0f;
    std::atomic<bool> playing_{false};
    bool noParameterUpdate_ = false;
    SeqEvent* playElement_ = nullptr;
    std::uint32_t rangeStart_ = 0;
    std::uint32_t position_ = 0;
    std::uint32_t rangeEnd_ = 0;
    SeqEvent* pendingElement_ = nullptr;
    std::uint32_t pendingStart_ = 0;
    bool loop_ = true;
    PatternList patterns_;
    SectionList sections_;
    std::unique_ptr<SeqEventSong> song_;
    std::atomic<std::uint32_t> songPosition_{0};
    // The last beat reached: its serial number in the high half, its pulse in the low half.
    std::atomic<std::uint64_t> beatMark_{0};
    std::uint32_t beatSerial_ = 0;        // audio side, under the lock
    std::uint32_t announcedBeatSerial_ = 0; // UI side
    std::minstd_rand colourRandom_;
    ViewId songEditor_ = kNoView;
    ViewId sectionEditor_ = kNoView;
    ViewId patternEditor_ = kNoView;
    ViewId parameterEditor_ = kNoView;
    std::unique_ptr<PatternBankList> patternBanks_;
};

} // namespace jorvo
