#include "sequencer/SeqEventNote.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/EventCodes.h"
#include "engine/SeqEventTarget.h"
#include "sequencer/TimeText.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEventNote, SeqEvent, 0)

namespace {

constexpr std::uint32_t kMaxMidiValue = 127;

} // namespace

void SeqEventNote::Serialize(BinaryArchive& archive)
{
    SeqEvent::Serialize(archive);
    archive.Field(pitch_);
    archive.Field(velocity_);
    archive.Field(length_);
    if (archive.IsLoading())
        CorrectStoredValues(pitch_, velocity_);
}

void SeqEventNote::SerializeXML(CXMLArchive& archive)
{
    SeqEvent::SerializeXML(archive);
    if (!archive.IsLoading()) {
        archive.Write("Pitch", pitch_);
        archive.Write("Velocity", velocity_);
        archive.Write("Length", LengthToText(length_));
        return;
    }
    std::uint32_t pitch = pitch_;
    std::uint32_t velocity = velocity_;
    archive.Read("Pitch", pitch);
    archive.Read("Velocity", velocity);
    std::string length;
    if (archive.Read("Length", length))
        length_ = LengthFromText(length);
    CorrectStoredValues(pitch, velocity);
}

void SeqEventNote::CorrectStoredValues(std::uint32_t pitch, std::uint32_t velocity)
{
    pitch_ = static_cast<std::uint8_t>(pitch > kMaxMidiValue ? kDefaultPitch : pitch);
    velocity_ = static_cast<std::uint8_t>(velocity > kMaxMidiValue ? kMaxMidiValue : velocity);
    if (length_ == 0)
        length_ = 1;
}

void SeqEventNote::Play(std::uint32_t pulse, SeqEventTarget* target) noexcept
{
    if (!target)
        return;
    if (pulse == GetStart())
        target->HandleEvent(kEventNoteStart, pitch_, velocity_, static_cast<std::int32_t>(length_), 0);
    else if (pulse == GetEnd())
        target->HandleEvent(kEventNoteEnd, pitch_, 0, 0, 0);
}

std::uint32_t SeqEventNote::GetEnd() const
{
    return length_ == 0 ? GetStart() : AddPulses(GetStart(), length_ - 1);
}

bool SeqEventNote::SetLength(std::uint32_t pulses)
{
    if (pulses == 0)
        return false;
    length_ = pulses;
    return true;
}

std::uint32_t SeqEventNote::GetAbsoluteEnd() const
{
    return AddPulses(GetAbsoluteStart(), length_);
}

void SeqEventNote::CollectNotes(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                                std::uint32_t low, std::uint32_t high)
{
    if (GetStart() <= to && from <= GetEnd() && low <= pitch_ && pitch_ <= high)
        list.push_back(this);
}

bool SeqEventNote::SetPitch(std::uint32_t pitch)
{
    if (pitch > kMaxMidiValue)
        return false;
    pitch_ = static_cast<std::uint8_t>(pitch);
    return true;
}

bool SeqEventNote::SetVelocity(std::uint32_t velocity)
{
    if (velocity > kMaxMidiValue)
        return false;
    velocity_ = static_cast<std::uint8_t>(velocity);
    return true;
}

} // namespace jorvo
