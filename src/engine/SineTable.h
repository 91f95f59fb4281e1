#pragma once
// The 256-entry sine tables of the modulated delays (chorus, flanger) and their interpolated
// look-up by a 20-bit phase. The tables come from a two-term recurrence in single precision, so
// every machine builds exactly the same integers.
#include <array>
#include <cstdint>

namespace jorvo {

class SineTable {
public:
    static constexpr int kSize = 256;
    // Phases run over 2^20 per period: 8 bits of entry, 12 bits of fraction.
    static constexpr std::int32_t kPhaseMask = 0xFFFFF;

    // One period of A·sin(2π(n + 1)/256) with A = 2047, offset by 2047 (0…4094).
    static SineTable Chorus();
    // One period of A·sin(2π(n + 1)/256) with A = 4094, centred on 0 (−4094…4094).
    static SineTable Flanger();

    // Entry `index` (0…255).
    std::int32_t operator[](int index) const { return entries_[static_cast<std::size_t>(index)]; }
    // The value at 20-bit phase `phase`, interpolated linearly between neighbouring entries
    // (the last wraps to the first). Bits above the 20th are ignored.
    std::int32_t Lookup(std::int32_t phase) const;

private:
    // Entries from y(n) = 1.9993976·y(n−1) − y(n−2), y(−1) = 0, y(−2) = `start`, each truncated
    // toward zero and `offset` added.
    SineTable(float start, std::int32_t offset);

    std::array<std::int32_t, kSize> entries_{};
};

// Read positions of the modulated delay lines: 20.12 fixed point (sample index and a 12-bit
// fraction) over a line that is written downward, so older samples lie at higher indices.
namespace ReadPosition {

// One sample in read-position units.
inline constexpr std::int32_t kOne = 4096;

// The per-sample step that carries `position` over the next 256 samples to `delay` (1/4096
// sample) above write index `write`, on a line of `span` read-position units.
std::int32_t GlideStep(std::int32_t delay, std::int32_t write, std::int32_t position, std::int32_t span);
// `position` moved by `step` (|step| < span) and wrapped into 0…span − 1.
std::int32_t Advance(std::int32_t position, std::int32_t step, std::int32_t span);
// The line read at `position` (within the span), interpolating towards the next entry, which the
// line mirrors past its end so that the read never wraps.
std::int32_t Interpolate(const std::int32_t* line, std::int32_t position);

} // namespace ReadPosition

} // namespace jorvo
