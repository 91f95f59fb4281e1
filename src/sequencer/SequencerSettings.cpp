#include "sequencer/SequencerSettings.h"

#include <atomic>

namespace jorvo {

namespace {

std::atomic<std::int32_t> tempo{SequencerSettings::kInitialTempo};
std::atomic<std::int32_t> beatsPerBar{SequencerSettings::kInitialBeatsPerBar};
std::atomic<std::int32_t> pulsesPerQuarterNote{SequencerSettings::kInitialPulsesPerQuarterNote};
std::atomic<std::uint32_t> timingAccuracy{SequencerSettings::kInitialTimingAccuracy};

bool IsValidDivision(std::int32_t value)
{
    return value >= 1 && value <= SequencerSettings::kMaxDivision;
}

} // namespace

std::int32_t SequencerSettings::GetTempo()
{
    return tempo.load(std::memory_order_relaxed);
}

bool SequencerSettings::SetTempo(std::int32_t bpm)
{
    if (bpm < 1)
        return false;
    tempo.store(bpm, std::memory_order_relaxed);
    return true;
}

std::int32_t SequencerSettings::GetBeatsPerBar()
{
    return beatsPerBar.load(std::memory_order_relaxed);
}

bool SequencerSettings::SetBeatsPerBar(std::int32_t beats)
{
    if (!IsValidDivision(beats))
        return false;
    beatsPerBar.store(beats, std::memory_order_relaxed);
    return true;
}

std::int32_t SequencerSettings::GetPulsesPerQuarterNote()
{
    return pulsesPerQuarterNote.load(std::memory_order_relaxed);
}

bool SequencerSettings::SetPulsesPerQuarterNote(std::int32_t pulses)
{
    if (!IsValidDivision(pulses))
        return false;
    pulsesPerQuarterNote.store(pulses, std::memory_order_relaxed);
    return true;
}

std::uint32_t SequencerSettings::GetTimingAccuracy()
{
    return timingAccuracy.load(std::memory_order_relaxed);
}

bool SequencerSettings::SetTimingAccuracy(std::uint32_t mask)
{
    if (!IsValidTimingAccuracy(mask))
        return false;
    timingAccuracy.store(mask, std::memory_order_relaxed);
    return true;
}

bool SequencerSettings::IsValidTimingAccuracy(std::uint32_t mask)
{
    return mask == 0 || mask == 1 || mask == 3 || mask == 7;
}

std::uint32_t SequencerSettings::GetPulsesPerBar()
{
    return static_cast<std::uint32_t>(GetBeatsPerBar()) * static_cast<std::uint32_t>(GetPulsesPerQuarterNote());
}

void SequencerSettings::RestoreInitialValues()
{
    tempo.store(kInitialTempo, std::memory_order_relaxed);
    beatsPerBar.store(kInitialBeatsPerBar, std::memory_order_relaxed);
    pulsesPerQuarterNote.store(kInitialPulsesPerQuarterNote, std::memory_order_relaxed);
    timingAccuracy.store(kInitialTimingAccuracy, std::memory_order_relaxed);
}

} // namespace jorvo
