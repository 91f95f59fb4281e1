#include "sequencer/MidiTrack.h"

#include <utility>

#include "document/ArchiveException.h"
#include "engine/SeqEventTarget.h"

namespace jorvo {

namespace {

constexpr char kTrackChunkId[] = "MTrk";
constexpr std::uint8_t kMetaTrackName = 0x03;
constexpr std::uint8_t kMetaInstrumentName = 0x04;
constexpr std::uint8_t kMetaChannelPrefix = 0x20;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
// Channels above this get no channel-prefix event.
constexpr std::uint8_t kMaxPrefixedChannel = 16;

// The 8-bit bytes of `text` (kept as they are: the core's text is UTF-8).
std::vector<std::uint8_t> TextBytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int byteCount)
{
    for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

MidiTrack::MidiTrack(const SeqEventTarget* target, std::string name, std::uint8_t channel)
    : target_(target), targetName_(target ? target->GetName() : std::string()), name_(std::move(name)),
      channel_(channel)
{
}

void MidiTrack::AddEvent(std::uint64_t time, MidiEvent event)
{
    // A multimap puts a new element after every element with an equal key.
    events_.emplace(time, std::move(event));
}

void MidiTrack::AppendHeaderEvents(std::vector<std::uint8_t>& body, std::uint8_t& runningStatus) const
{
    if (!name_.empty())
        MidiEvent::Meta(kMetaInstrumentName, TextBytes(name_)).AppendTo(body, 0, runningStatus);
    if (target_)
        MidiEvent::Meta(kMetaTrackName, TextBytes(targetName_)).AppendTo(body, 0, runningStatus);
    if (channel_ <= kMaxPrefixedChannel)
        MidiEvent::Meta(kMetaChannelPrefix, {channel_}).AppendTo(body, 0, runningStatus);
}

void MidiTrack::AppendChunk(std::vector<std::uint8_t>& out) const
{
    std::vector<std::uint8_t> body;
    std::uint8_t runningStatus = 0;
    AppendHeaderEvents(body, runningStatus);
    std::uint64_t previousTime = 0;
    for (const auto& [time, event] : events_) {
        const std::uint64_t delta = time - previousTime;
        if (delta > MidiEvent::kMaxVariableLength)
            throw ArchiveException(ArchiveException::Cause::Generic);
        event.AppendTo(body, static_cast<std::uint32_t>(delta), runningStatus);
        previousTime = time;
    }
    MidiEvent::Meta(kMetaEndOfTrack, {}).AppendTo(body, 0, runningStatus);
    if (body.size() > UINT32_MAX)
        throw ArchiveException(ArchiveException::Cause::Generic);

    out.insert(out.end(), kTrackChunkId, kTrackChunkId + 4);
    AppendBigEndian(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}

} // namespace jorvo
