#include "sequencer/TimeText.h"

#include <array>
#include <cstdio>

#include "sequencer/SequencerSettings.h"

namespace jorvo {

namespace {

// The bar index a written bar is clamped to, so that the text keeps three digits.
constexpr std::uint32_t kLastBarIndex = 998;

struct BarBeatTick {
    std::uint64_t bar = 0;
    std::uint64_t beat = 0;
    std::uint64_t tick = 0;
};

BarBeatTick Split(std::uint32_t pulses)
{
    const std::uint64_t perBeat = static_cast<std::uint64_t>(SequencerSettings::GetPulsesPerQuarterNote());
    const std::uint64_t beatsPerBar = static_cast<std::uint64_t>(SequencerSettings::GetBeatsPerBar());
    BarBeatTick split;
    split.bar = pulses / (beatsPerBar * perBeat);
    if (split.bar > kLastBarIndex)
        split.bar = kLastBarIndex;
    split.beat = (pulses / perBeat) % beatsPerBar;
    split.tick = pulses % perBeat;
    return split;
}

std::string Format(std::uint64_t bar, std::uint64_t beat, std::uint64_t tick)
{
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%03llu:%02llu:%03llu", static_cast<unsigned long long>(bar),
                  static_cast<unsigned long long>(beat), static_cast<unsigned long long>(tick));
    return text.data();
}

// A field read as a decimal number the way the stored texts were written: leading blanks and a
// sign allowed, reading stops at the first other character. Negative or missing gives 0; the
// value is held at 0xFFFFFFFF.
std::uint64_t ReadField(std::string_view field)
{
    std::size_t at = 0;
    while (at < field.size() && (field[at] == ' ' || field[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < field.size() && (field[at] == '-' || field[at] == '+'))
        negative = field[at++] == '-';
    std::uint64_t value = 0;
    for (; at < field.size() && field[at] >= '0' && field[at] <= '9'; ++at) {
        value = value * 10 + static_cast<std::uint64_t>(field[at] - '0');
        if (value > UINT32_MAX)
            value = UINT32_MAX;
    }
    return negative ? 0 : value;
}

BarBeatTick ReadFields(std::string_view text)
{
    std::array<std::uint64_t, 3> fields{};
    for (std::uint64_t& field : fields) {
        const std::size_t colon = text.find(':');
        field = ReadField(text.substr(0, colon));
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    return {fields[0], fields[1], fields[2]};
}

// (bar · beats per bar + beat) · pulses per quarter note + tick, held at 0xFFFFFFFF. Every
// factor is at most 2^32, so the products below cannot leave 64 bits before the checks.
std::uint32_t Combine(const BarBeatTick& split)
{
    const std::uint64_t beatsPerBar = static_cast<std::uint64_t>(SequencerSettings::GetBeatsPerBar());
    const std::uint64_t perBeat = static_cast<std::uint64_t>(SequencerSettings::GetPulsesPerQuarterNote());
    const std::uint64_t beats = split.bar * beatsPerBar + split.beat;
    if (beats > UINT32_MAX)
        return UINT32_MAX;
    const std::uint64_t pulses = beats * perBeat + split.tick;
    return pulses > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(pulses);
}

std::uint64_t OneBased(std::uint64_t field)
{
    return field == 0 ? 0 : field - 1;
}

} // namespace

std::string PositionToText(std::uint32_t pulses)
{
    const BarBeatTick split = Split(pulses);
    return Format(split.bar + 1, split.beat + 1, split.tick + 1);
}

std::string LengthToText(std::uint32_t pulses)
{
    const BarBeatTick split = Split(pulses);
    return Format(split.bar, split.beat, split.tick);
}

std::uint32_t PositionFromText(std::string_view text)
{
    const BarBeatTick fields = ReadFields(text);
    return Combine({OneBased(fields.bar), OneBased(fields.beat), OneBased(fields.tick)});
}

std::uint32_t LengthFromText(std::string_view text)
{
    return Combine(ReadFields(text));
}

} // namespace jorvo
