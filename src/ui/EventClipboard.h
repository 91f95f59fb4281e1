#pragma once
// The clipboard format "SeqEventList" through which factories and editors hand events (notes,
// patterns, sections) to each other during a drag and on paste: a list of events written with the
// binary archive. UI thread only.
#include <memory>
#include <vector>

namespace jorvo {

class SeqEvent;

namespace EventClipboard {

// The format's name on the clipboard.
inline constexpr char kFormat[] = "SeqEventList";

// Replaces the clipboard's content by `events` (their own stored forms). False when they cannot
// be written.
bool Put(const std::vector<SeqEvent*>& events);
// New copies of the events on the clipboard; empty when there are none or the data is damaged.
std::vector<std::unique_ptr<SeqEvent>> Take();

} // namespace EventClipboard
} // namespace jorvo
