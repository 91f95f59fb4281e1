#pragma once
// One track chunk ("MTrk") of a MIDI file: the events for one sound target on its own channel, or,
// without a target, the song's name, tempo and time signature.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sequencer/MidiEvent.h"

namespace jorvo {

class SeqEventTarget;

class MidiTrack {
public:
    // The channel of the track that belongs to no target.
    static constexpr std::uint8_t kNoChannel = 0xFF;

    // Events by absolute time in pulses; events at equal times stay in the order they were added.
    using EventMap = std::multimap<std::uint64_t, MidiEvent>;

    // An empty track for `target` (not owned; null for the song's track) named `name` on
    // `channel`. The target's name is taken now, for the track-name event.
    MidiTrack(const SeqEventTarget* target, std::string name, std::uint8_t channel);

    // Adds `event` at absolute `time` (pulses), after every event at the same or an earlier time;
    // the events already there keep their times.
    void AddEvent(std::uint64_t time, MidiEvent event);

    // Appends the whole chunk to `out`: "MTrk", the 32-bit big-endian length, then at delta 0 the
    // instrument name (meta 0x04, when the name is not empty), the target's name (meta 0x03, when
    // there is a target) and the channel prefix (meta 0x20, for channels up to 16); the events,
    // each with its delta from the previous one and running status; the end of track (meta 0x2F).
    // Raises ArchiveException (Generic) when a gap between events or a text is too long for a
    // variable-length quantity, or the chunk for its 32-bit length; `out` is then unchanged.
    void AppendChunk(std::vector<std::uint8_t>& out) const;

    // The target the track belongs to; null for the song's track.
    const SeqEventTarget* GetTarget() const { return target_; }
    // The name written as the instrument name (the section that created the track).
    const std::string& GetName() const { return name_; }
    // The channel (0…15), or kNoChannel.
    std::uint8_t GetChannel() const { return channel_; }
    // The events by absolute time.
    const EventMap& Events() const { return events_; }

private:
    void AppendHeaderEvents(std::vector<std::uint8_t>& body, std::uint8_t& runningStatus) const;

    const SeqEventTarget* target_;
    std::string targetName_;
    std::string name_;
    std::uint8_t channel_;
    EventMap events_;
};

// Appends `value` to `out` as `byteCount` bytes, most significant first (the byte order of every
// number in a MIDI file).
void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int byteCount);

} // namespace jorvo
