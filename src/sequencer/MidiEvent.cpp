#include "sequencer/MidiEvent.h"

#include <utility>

#include "document/ArchiveException.h"

namespace jorvo {

namespace {

constexpr std::uint8_t kDataMask = 0x7F;
constexpr std::uint8_t kMessageMask = 0xF0;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kChannelPressure = 0xD0;

// How many data bytes a channel event with `status` carries: 1 for 0xCn and 0xDn, else 2.
int DataByteCount(std::uint8_t status)
{
    const std::uint8_t message = status & kMessageMask;
    return message == kProgramChange || message == kChannelPressure ? 1 : 2;
}

} // namespace

MidiEvent::MidiEvent(std::uint8_t status, std::uint8_t metaType, std::vector<std::uint8_t> data)
    : status_(status), metaType_(metaType), data_(std::move(data))
{
}

MidiEvent MidiEvent::Channel(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)
{
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(data1 & kDataMask)};
    if (DataByteCount(status) == 2)
        data.push_back(static_cast<std::uint8_t>(data2 & kDataMask));
    return MidiEvent(status, 0, std::move(data));
}

MidiEvent MidiEvent::Meta(std::uint8_t type, std::vector<std::uint8_t> data)
{
    return MidiEvent(kMetaStatus, type, std::move(data));
}

void MidiEvent::AppendTo(std::vector<std::uint8_t>& out, std::uint32_t delta, std::uint8_t& runningStatus) const
{
    AppendVariableLength(out, delta);
    if (IsMeta()) {
        out.push_back(kMetaStatus);
        out.push_back(metaType_);
        AppendVariableLength(out, data_.size());
    } else if (status_ != runningStatus) {
        out.push_back(status_);
    }
    out.insert(out.end(), data_.begin(), data_.end());
    runningStatus = status_;
}

void MidiEvent::AppendVariableLength(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    if (value > kMaxVariableLength)
        throw ArchiveException(ArchiveException::Cause::Generic);
    int shift = 21;
    while (shift > 0 && (value >> shift) == 0)
        shift -= 7;
    for (; shift > 0; shift -= 7)
        out.push_back(static_cast<std::uint8_t>(0x80 | ((value >> shift) & kDataMask)));
    out.push_back(static_cast<std::uint8_t>(value & kDataMask));
}

} // namespace jorvo
