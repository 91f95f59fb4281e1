#pragma once
// The codes of HandleEvent, the one entry of every sound target. Any code not listed here sets
// the parameter with that number (controller codes 0…127, send numbers from 101 up).
#include <cstdint>

namespace jorvo {

enum EventCode : std::int32_t {
    kEventNoteStart = 200,       // a: note 0…127, b: velocity 0…127, c: length in pulses
    kEventNoteEnd = 201,         // a: note
    kEventPositionJumped = 202,  // stop the sounding note
    kEventActivate = 205,        // a: 0 or 1 (mixer channel and buss on/off)
    kEventTempoChanged = 252,    // a: tempo, b: pulses per quarter note
    kEventPlayStart = 253,       // a: position bits 31…16, b: position bits 15…0
    kEventStopReset = 255,       // all notes off, parameters back to their stored values
};

} // namespace jorvo
