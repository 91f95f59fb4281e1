#include "engine/InstrumentDefault.h"

#include <algorithm>
#include <cmath>

#include "document/BinaryArchive.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(InstrumentDefault, Instrument, 0)

namespace {

constexpr std::uint8_t kDefaultVersion = 1;
constexpr std::int64_t kFullScaleLow = 16777216;
constexpr std::int64_t kFullScaleHigh = 16777215;
constexpr std::int32_t kMaxVelocity = 127;

// The note's frequency in whole hertz; note 60 sounds at 440 Hz, one semitone per step.
std::int32_t NoteFrequency(std::int32_t note)
{
    const double semitones = static_cast<double>((note & 255) - 60) / 12.0;
    return static_cast<std::int32_t>(440.0 * std::pow(2.0, semitones));
}

} // namespace

InstrumentDefault::InstrumentDefault()
{
    SetNameDirect("Default");
}

void InstrumentDefault::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t, std::int32_t)
{
    switch (code) {
    case kEventNoteStart:
        StartNote(a, b);
        break;
    case kEventNoteEnd:
        playing_ = false;
        break;
    case kEventPositionJumped:
        Reset();
        break;
    default:
        break;
    }
}

void InstrumentDefault::StartNote(std::int32_t note, std::int32_t velocity)
{
    if (velocity < 0 || velocity > kMaxVelocity)
        return;
    // Notes above the sample rate's reach would give a period of 0; they play at the shortest one.
    period_ = std::max(SampleRate() / NoteFrequency(note), 1);
    low_ = static_cast<std::int32_t>(-(velocity * kFullScaleLow) / kMaxVelocity);
    high_ = static_cast<std::int32_t>(velocity * kFullScaleHigh / kMaxVelocity);
    step_ = (high_ - low_) / period_;
    value_ = low_;
    velocity_ = velocity;
    playing_ = true;
}

void InstrumentDefault::Reset()
{
    ResetBase();
    period_ = 0;
    step_ = 0;
    value_ = 0;
    velocity_ = kMaxVelocity;
    playing_ = false;
}

bool InstrumentDefault::Render(int frames)
{
    if (!playing_)
        return false;
    if (IsRendered())
        return true;
    const int count = std::clamp(frames, 0, kMaxFrames);
    const int channels = Channels();
    std::int32_t* out = Output();
    // The first two samples of a chunk are equal: the ramp advances frames − 1 times per chunk.
    for (int frame = 0; frame < count; ++frame) {
        std::fill_n(out + frame * channels, channels, value_);
        if (frame == 0)
            continue;
        value_ += step_;
        if (value_ >= high_)
            value_ = low_;
    }
    SetRendered(true);
    return true;
}

void InstrumentDefault::Serialize(BinaryArchive& archive)
{
    Instrument::Serialize(archive);
    if (archive.IsStoring())
        archive.WriteByte(kDefaultVersion);
    else
        archive.ReadByte();
}

} // namespace jorvo
