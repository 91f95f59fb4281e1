#include "sequencer/SeqEvent.h"

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "sequencer/MidiFile.h"
#include "sequencer/TimeText.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEvent, PersistentObject, 0)

std::string SeqEvent::ElementName(int type)
{
    switch (type) {
    case kSeqEventSong:
        return "Song";
    case kSeqEventSection:
        return "Section";
    case kSeqEventPattern:
        return "Pattern";
    case kSeqEventNote:
        return "Note";
    case kSeqEventController:
        return "CC";
    default:
        return std::string();
    }
}

void SeqEvent::Serialize(BinaryArchive& archive)
{
    archive.Field(offset_);
}

void SeqEvent::Assign(const SeqEvent& other)
{
    offset_ = other.offset_;
    parent_ = other.parent_;
}

void SeqEvent::CopyFrom(const SeqEvent& other)
{
    Assign(other);
}

void SeqEvent::ExportMIDI(MidiFile& file)
{
    file.ExportEvent(*this);
}

void SeqEvent::SerializeXML(CXMLArchive& archive)
{
    const std::string element = ElementName(GetType());
    if (!archive.IsLoading()) {
        if (element.empty())
            return;
        if (!archive.CreateChild(element))
            throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
        const std::string name = GetName();
        if (name != element)
            archive.Write("Name", name);
        archive.Write("Offset", PositionToText(offset_));
        return;
    }
    if (element.empty() || !archive.IsCurrent(element))
        throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
    std::string name;
    SetName(archive.Read("Name", name) ? name : element);
    std::string offset;
    offset_ = archive.Read("Offset", offset) ? PositionFromText(offset) : 0;
}

void SeqEvent::SetName(const std::string&) {}

void SeqEvent::Play(std::uint32_t, SeqEventTarget*) noexcept {}

bool SeqEvent::SetLength(std::uint32_t)
{
    return false;
}

std::uint32_t SeqEvent::GetAbsoluteStart() const
{
    return parent_ ? AddPulses(offset_, parent_->GetAbsoluteStart()) : offset_;
}

void SeqEvent::CollectNotes(std::vector<SeqEvent*>&, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}

void SeqEvent::CollectControllers(std::vector<SeqEvent*>&, std::uint32_t, std::uint32_t, std::uint32_t,
                                  std::uint32_t)
{
}

TreeSink::ItemId SeqEvent::AddToTree(TreeSink& tree, TreeSink::ItemId parent)
{
    return tree.InsertItem(parent, GetName(), GetType(), GetType(), this);
}

} // namespace jorvo
