#pragma once
// The clipboard formats through which drags and copies carry song material: "SeqEventList" (a
// list of events written with the binary object archive, each in its own archive form) and
// "SampleZoneList" (the sampler's zone list). A registered format travels under the MIME type Qt
// gives registered clipboard formats, so the data looks the same to every part of the program.
// UI thread only.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

namespace jorvo {

class SeqEvent;

namespace EventClipboard {

inline constexpr char kSeqEventListFormat[] = "SeqEventList";
inline constexpr char kSampleZoneListFormat[] = "SampleZoneList";

// The MIME type that carries registered clipboard format `format`.
QString MimeType(const char* format);

// Replaces the clipboard's content with `bytes` in `format`. False when there is no clipboard.
bool PutBytes(const char* format, const std::vector<std::uint8_t>& bytes);
// The clipboard's bytes in `format`; nothing when the clipboard holds none.
std::optional<std::vector<std::uint8_t>> ReadBytes(const char* format);

// The "SeqEventList" form of `events`: an object list (count, then each event's reference).
std::vector<std::uint8_t> EncodeEvents(const std::vector<SeqEvent*>& events);
// New events read from a "SeqEventList" form; empty when the bytes are damaged (nothing is
// leaked or half-built).
std::vector<std::unique_ptr<SeqEvent>> DecodeEvents(const std::vector<std::uint8_t>& bytes);

// Puts `events` on the clipboard as "SeqEventList".
bool PutEvents(const std::vector<SeqEvent*>& events);
// The events on the clipboard ("SeqEventList"), as new objects; empty when there are none.
std::vector<std::unique_ptr<SeqEvent>> ReadEvents();

} // namespace EventClipboard
} // namespace jorvo
