#include "engine/SineTable.h"

#include "engine/FixedPoint.h"

namespace jorvo {

namespace {
// 2·cos(2π/256) as the recurrence has always used it (single precision).
constexpr float kRecurrence = 1.9993976f;
constexpr float kChorusStart = -50.2358017f;    // −2047·sin(2π/256)
constexpr float kFlangerStart = -100.4716034f;  // −4094·sin(2π/256)
constexpr std::int32_t kChorusOffset = 2047;
constexpr int kFractionBits = 12;
constexpr std::int32_t kFractionMask = (1 << kFractionBits) - 1;
} // namespace

SineTable SineTable::Chorus()
{
    return SineTable(kChorusStart, kChorusOffset);
}

SineTable SineTable::Flanger()
{
    return SineTable(kFlangerStart, 0);
}

SineTable::SineTable(float start, std::int32_t offset)
{
    float previous = 0.0f;
    float beforePrevious = start;
    for (std::int32_t& entry : entries_) {
        const float product = kRecurrence * previous;
        const float value = product - beforePrevious;
        entry = static_cast<std::int32_t>(value) + offset;
        beforePrevious = previous;
        previous = value;
    }
}

std::int32_t SineTable::Lookup(std::int32_t phase) const
{
    const std::int32_t masked = phase & kPhaseMask;
    const int index = masked >> kFractionBits;
    const std::int32_t here = (*this)[index];
    const std::int32_t next = (*this)[(index + 1) & (kSize - 1)];
    return here + (((next - here) * (masked & kFractionMask)) >> kFractionBits);
}

namespace ReadPosition {

std::int32_t GlideStep(std::int32_t delay, std::int32_t write, std::int32_t position, std::int32_t span)
{
    std::int32_t distance = write * kOne - position;
    if (distance > 0)
        distance -= span;
    return ((delay + distance) >> 8) - kOne;
}

// A step may also carry the position upward past the end (a sudden jump to a much longer delay),
// so the position is wrapped both ways: reading stays inside the line.
std::int32_t Advance(std::int32_t position, std::int32_t step, std::int32_t span)
{
    std::int32_t moved = position + step;
    if (moved < 0)
        moved += span;
    else if (moved >= span)
        moved -= span;
    return moved;
}

// Samples use the full 32-bit range, so the difference times the fraction wraps as a 32-bit
// register would.
std::int32_t Interpolate(const std::int32_t* line, std::int32_t position)
{
    const std::int32_t index = position >> kFractionBits;
    const std::int32_t here = line[index];
    const std::int32_t difference = Sub32(line[index + 1], here);
    return Add32(here, Mul32(difference, position & kFractionMask) >> kFractionBits);
}

} // namespace ReadPosition

} // namespace jorvo
