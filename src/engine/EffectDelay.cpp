#include "engine/EffectDelay.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectDelay, Effect, 0)

namespace {
constexpr std::uint8_t kDelayVersion = 1;
} // namespace

EffectDelay::EffectDelay() : line_(static_cast<std::size_t>(kLongestLine), 0)
{
    SetNameDirect("Delay");
    KeepChannelLayout();
    AddParameter(&time_);
    AddParameter(&maximumTime_);
    AddParameter(&balance_);
    AddParameter(&feedback_);
    RebuildLine();
    UpdateTaps();
}

void EffectDelay::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t)
{
    if (code == kEventStopReset) {
        Reset();
        return;
    }
    if (code < 0 || code > 0xFFFF)
        return;
    SeqParameter* parameter = FindParameter(static_cast<std::uint16_t>(code));
    if (!parameter || !parameter->SetLive(a))
        return;
    if (parameter == &maximumTime_)
        RebuildLine();
    UpdateTaps();
}

// Maximum Time goes first: Time's range follows it, and the stored Time must be admitted when
// ApplyParameters reaches it. The Maximum Time event of ApplyParameters rebuilds the line.
void EffectDelay::Reset()
{
    maximumTime_.SetLive(maximumTime_.StoredValue());
    ResetBase();
}

// The line keeps its allocation: "rebuilding" empties the part in use, so the audio thread never
// allocates.
void EffectDelay::RebuildLine()
{
    const bool hadLine = length_ > 0;
    const std::int32_t newLength = maximumTime_.LiveValue();
    std::fill_n(line_.begin(), newLength, 0);
    length_ = newLength;
    if (!hadLine || write_ > length_)
        write_ = length_;
}

void EffectDelay::UpdateTaps()
{
    LimitTime();
    const std::int32_t time = time_.LiveValue();
    const std::int32_t balance = balance_.LiveValue();
    leftTap_ = time;
    rightTap_ = time;
    if (balance >= 64)
        rightTap_ = ((192 - balance) * time) >> 7;
    else
        leftTap_ = ((balance + 65) * time) >> 7;
}

// Time may not exceed Maximum Time. The engine's Time follows the live maximum; the document's
// Time follows the stored one, so a controller briefly lowering Maximum Time during playback
// does not rewrite the document. The range admits both.
void EffectDelay::LimitTime()
{
    const std::int32_t liveMaximum = maximumTime_.LiveValue();
    const std::int32_t storedMaximum = maximumTime_.StoredValue();
    SetTimeRange(std::max(liveMaximum, storedMaximum), std::min(time_.StoredValue(), storedMaximum),
                 std::min(time_.LiveValue(), liveMaximum));
}

// Time's range follows Maximum Time; the record is changed in place (the map refers to it).
void EffectDelay::SetTimeRange(std::int32_t maximum, std::int32_t stored, std::int32_t live)
{
    time_.SetRange(time_.Minimum(), maximum);
    time_.SetStored(stored);
    time_.SetLive(live);
}

// Parameters arrive in number order, Time before Maximum Time: while they are read, Time admits
// every length the line can have, so a Time above the previous maximum is not dropped. Reset then
// applies them in a working order and rebuilds the line.
template <class Load>
void EffectDelay::LoadStoredValues(Load load)
{
    SetTimeRange(kLongestLine, time_.StoredValue(), time_.LiveValue());
    try {
        load();
    } catch (...) {
        UpdateTaps();
        throw;
    }
    KeepChannelLayout();
    Reset();
}

bool EffectDelay::Process(const std::int32_t* input, int frames)
{
    if (OutputChannels() != kOutputChannels)
        return false;
    std::int32_t* output = Output();
    const std::int32_t feedback = feedback_.LiveValue();
    std::int32_t readLeft = write_ + leftTap_;
    if (readLeft > length_)
        readLeft -= length_;
    std::int32_t readRight = write_ + rightTap_;
    if (readRight > length_)
        readRight -= length_;
    const int count = std::clamp(frames, 0, kMaxFrames);
    for (int frame = 0; frame < count; ++frame) {
        const std::int32_t left = line_[static_cast<std::size_t>(--readLeft)];
        if (readLeft == 0)
            readLeft = length_;
        const std::int32_t right = line_[static_cast<std::size_t>(--readRight)];
        if (readRight == 0)
            readRight = length_;
        line_[static_cast<std::size_t>(--write_)] = Add32(input[frame], Mul32(Add32(left, right), feedback) >> 8);
        if (write_ == 0)
            write_ = length_;
        output[2 * frame] = left;
        output[2 * frame + 1] = right;
    }
    SetRendered(true);
    return true;
}

void EffectDelay::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        Effect::Serialize(archive);
        archive.WriteByte(kDelayVersion);
        return;
    }
    LoadStoredValues([&] {
        Effect::Serialize(archive);
        archive.ReadByte();
    });
}

void EffectDelay::SerializeXML(CXMLArchive& archive)
{
    if (archive.IsLoading())
        LoadStoredValues([&] { Effect::SerializeXML(archive); });
    else
        Effect::SerializeXML(archive);
}

// A stored record may carry other channel counts; the engine's own always win, so that the output
// buffer fits what Process writes.
void EffectDelay::KeepChannelLayout()
{
    SetInputChannels(1);
    SetOutputChannels(kOutputChannels);
}

} // namespace jorvo
