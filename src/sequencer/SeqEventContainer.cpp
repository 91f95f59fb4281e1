#include "sequencer/SeqEventContainer.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "sequencer/TimeText.h"

namespace jorvo {

namespace {

// The leading byte of every container's binary form; readers skip it whatever it holds.
constexpr std::uint8_t kBinaryVersion = 1;

} // namespace

std::uint32_t SeqEventContainer::GetEnd() const
{
    return length_ == 0 ? GetStart() : AddPulses(GetStart(), length_ - 1);
}

bool SeqEventContainer::SetLength(std::uint32_t pulses)
{
    if (pulses == 0)
        return false;
    if (pulses != length_)
        length_ = std::max({pulses, MinimumLength(), ContentLength()});
    return true;
}

std::uint32_t SeqEventContainer::GetAbsoluteEnd() const
{
    return AddPulses(GetAbsoluteStart(), length_);
}

void SeqEventContainer::SerializeHead(BinaryArchive& archive)
{
    SeqEvent::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteByte(kBinaryVersion);
        archive.WriteString(GetName());
        archive.WriteDword(length_);
        return;
    }
    archive.ReadByte();
    SetName(archive.ReadString());
    length_ = archive.ReadDword();
}

void SeqEventContainer::SerializeColour(BinaryArchive& archive, Colour& colour)
{
    std::uint8_t red = colour.Red();
    std::uint8_t green = colour.Green();
    std::uint8_t blue = colour.Blue();
    archive.Field(red);
    archive.Field(green);
    archive.Field(blue);
    colour = Colour::FromRgb(red, green, blue);
}

void SeqEventContainer::SerializeXMLHead(CXMLArchive& archive)
{
    SeqEvent::SerializeXML(archive);
    if (!archive.IsLoading()) {
        archive.Write("Length", LengthToText(length_));
        return;
    }
    std::string length;
    if (archive.Read("Length", length))
        length_ = LengthFromText(length);
}

} // namespace jorvo
