#pragma once
// One event of a MIDI file track: a channel event (a status byte with one or two data bytes) or a
// meta event (0xFF, a type byte, its data). The event does not know its time: the track keeps
// events by time and hands each its delta when it is written.
#include <cstdint>
#include <vector>

namespace jorvo {

class MidiEvent {
public:
    // The largest value a variable-length quantity of four bytes can carry.
    static constexpr std::uint32_t kMaxVariableLength = 0x0FFFFFFF;
    // The byte that starts every meta event in a track.
    static constexpr std::uint8_t kMetaStatus = 0xFF;

    // A channel event with `status` (0x80…0xEF); it carries `data1` and, for the statuses with two
    // data bytes (0x8n, 0x9n, 0xAn, 0xBn, 0xEn), `data2`. Data bytes keep their low 7 bits only, so
    // no data byte can be taken for a status byte.
    static MidiEvent Channel(std::uint8_t status, std::uint8_t data1, std::uint8_t data2 = 0);
    // A meta event of `type` carrying `data`.
    static MidiEvent Meta(std::uint8_t type, std::vector<std::uint8_t> data);

    // True for a meta event.
    bool IsMeta() const { return status_ == kMetaStatus; }

    // Appends the event with `delta` to `out`. `runningStatus` is the status of the track's
    // previous event (0 for none): a channel event with that same status leaves its status byte
    // out. Afterwards it holds this event's status (meta events cancel running status). Raises
    // ArchiveException (Generic) when the delta or the meta data length exceeds
    // kMaxVariableLength; `out` may then hold part of the event.
    void AppendTo(std::vector<std::uint8_t>& out, std::uint32_t delta, std::uint8_t& runningStatus) const;

    // Appends `value` as a variable-length quantity: 7 bits a byte, most significant group
    // first, the high bit set on every byte but the last. Raises ArchiveException (Generic)
    // above kMaxVariableLength, appending nothing.
    static void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint64_t value);

private:
    MidiEvent(std::uint8_t status, std::uint8_t metaType, std::vector<std::uint8_t> data);

    std::uint8_t status_;
    std::uint8_t metaType_;
    std::vector<std::uint8_t> data_;
};

} // namespace jorvo
