#pragma once
// The time text of every XML file: "%03d:%02d:%03d" (bars, beats, ticks), computed with the
// class-wide beats per bar and pulses per quarter note (SequencerSettings). A beat is a quarter
// note. Positions are written 1-based (pulse 0 is "001:01:001"), lengths 0-based (one quarter
// note at 480 pulses is "000:01:000"); the bar is clamped to 999 (bar index 998).
#include <cstdint>
#include <string>
#include <string_view>

namespace jorvo {

// The 1-based text of position `pulses`.
std::string PositionToText(std::uint32_t pulses);
// The 0-based text of length `pulses`.
std::string LengthToText(std::uint32_t pulses);

// The pulses of a position text: up to three ":"-separated decimal fields (a negative, missing
// or non-numeric field counts as 0), each non-zero field decreased by 1. A result beyond the
// 32-bit range gives 0xFFFFFFFF.
std::uint32_t PositionFromText(std::string_view text);
// The pulses of a length text (fields read as for positions, not decreased).
std::uint32_t LengthFromText(std::string_view text);

} // namespace jorvo
