#pragma once
// A Standard MIDI File (format 1) being built from the song. The export walks the song: a first
// track carries the song's name, the tempo and the time signature, and every sound target that a
// section aims a pattern at gets a track of its own on its own channel (0, 1, 2, … in order of
// first appearance, wrapping after 16). Then the file writes itself through a binary archive.
//
// Threads: user-interface thread (or a batch command); the caller keeps the song and its targets
// from changing while it walks them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "sequencer/MidiEvent.h"
#include "sequencer/MidiTrack.h"

namespace jorvo {

class BinaryArchive;
class SeqEvent;
class SeqEventCC;
class SeqEventNote;
class SeqEventPattern;
class SeqEventSection;
class SeqEventSong;
class SeqEventTarget;

class MidiFile {
public:
    // The archive buffer a MIDI file is written through.
    static constexpr std::size_t kArchiveBufferSize = 4096;
    // The division until SetDivision is called.
    static constexpr std::int32_t kDefaultDivision = 480;

    // An empty file without tracks. Unless `writing` is set, the export operations add nothing.
    explicit MidiFile(bool writing);

    // True when the export operations fill the file.
    bool IsWriting() const { return writing_; }

    // Makes the track of `target` (null: the song's track) current, creating it named `name` when
    // there is none: without a target on no channel (0xFF), else on the target's channel, which a
    // new target takes as the number of targets met so far modulo 16.
    void SelectTrack(const SeqEventTarget* target, const std::string& name);
    // Sets the header's division (pulses per quarter note). Write refuses a value outside 1…0x7FFF.
    void SetDivision(std::int32_t pulsesPerQuarterNote) { division_ = pulsesPerQuarterNote; }
    // Adds the tempo (meta 0x51: 60,000,000 ÷ bpm microseconds per quarter note, held within the
    // three bytes) at time 0 of the current track. Nothing for bpm ≤ 0 or without a current track.
    void AddTempo(std::int32_t bpm);
    // Adds the time signature `beatsPerBar`/4 (meta 0x58: n, 2, 24, 8) at time 0 of the current
    // track. Nothing for a numerator outside 1…255 or without a current track.
    void AddTimeSignature(std::int32_t beatsPerBar);
    // Adds a note on (0x9n, pitch, velocity) at section offset + pattern offset + `offset` and its
    // note off (0x8n, pitch, 0) `length` pulses later to the current track. The velocity is held
    // at 127; nothing for a pitch above 127 or without a current track.
    void AddNote(std::uint32_t offset, std::uint32_t length, std::uint32_t pitch, std::uint32_t velocity);
    // Adds a controller change (0xBn, controller, value) at section offset + pattern offset +
    // `offset` to the current track. The value is held within 0…127; nothing for a controller
    // above 127 (the internal codes) or without a current track.
    void AddController(std::uint32_t offset, std::uint32_t controller, std::int32_t value);
    // Sets the start of the section placement being exported (pulses from the song start).
    void SetSectionOffset(std::uint32_t pulses) { sectionOffset_ = pulses; }
    // Sets the start of the pattern placement being exported (pulses from the section start).
    void SetPatternOffset(std::uint32_t pulses) { patternOffset_ = pulses; }

    // The sequencer's export: the song's track (named after the song), the division, the tempo
    // and the time signature, then the song. Nothing unless writing.
    void ExportSequencer(const SeqEventSong& song, std::int32_t tempo, std::int32_t beatsPerBar,
                         std::int32_t pulsesPerQuarterNote);
    // Exports one event as its kind does: a song its section placements, a section its pattern
    // placements that have a target (each into that target's track), a pattern its events, a
    // note or a controller change itself. Nothing unless writing, or for a plain event.
    void ExportEvent(const SeqEvent& event);

    // Writes the header chunk ("MThd", length 6, format 1, track count, division; big-endian) and
    // every track chunk in creation order. Raises ArchiveException (Generic) for a division
    // outside 1…0x7FFF, more than 65535 tracks, or a track too long for the format.
    void Write(BinaryArchive& archive) const;
    // Writes the file to `path` through an archive of kArchiveBufferSize bytes. Raises
    // ArchiveException when it cannot be written; a previous file at `path` is then left as it was.
    void WriteFile(const std::filesystem::path& path) const;

    // The tracks in creation order.
    const std::vector<std::unique_ptr<MidiTrack>>& Tracks() const { return tracks_; }

private:
    void ExportSong(const SeqEventSong& song);
    void ExportSection(const SeqEventSection& section);
    void ExportPattern(const SeqEventPattern& pattern);
    void ExportNote(const SeqEventNote& note);
    void ExportController(const SeqEventCC& controller);
    std::uint8_t ChannelOf(const SeqEventTarget* target);
    std::uint64_t PlacedTime(std::uint32_t offset) const;
    void AddChannelEvent(std::uint64_t time, std::uint8_t message, std::uint8_t data1, std::uint8_t data2);

    bool writing_;
    std::int32_t division_ = kDefaultDivision;
    std::vector<std::unique_ptr<MidiTrack>> tracks_;
    std::unordered_map<const SeqEventTarget*, std::uint16_t> channelMap_;
    MidiTrack* currentTrack_ = nullptr;
    std::uint32_t sectionOffset_ = 0;
    std::uint32_t patternOffset_ = 0;
};

} // namespace jorvo
