#include "sequencer/SeqEventCC.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "sequencer/ControllerNames.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SeqEventCC, SeqEvent, 0)

void SeqEventCC::Serialize(BinaryArchive& archive)
{
    SeqEvent::Serialize(archive);
    archive.Field(controller_);
    archive.Field(value_);
}

void SeqEventCC::SerializeXML(CXMLArchive& archive)
{
    SeqEvent::SerializeXML(archive);
    if (!archive.IsLoading()) {
        archive.Write("Event", ControllerName(controller_));
        archive.Write("Value", static_cast<int>(value_));
        return;
    }
    std::string event;
    controller_ = archive.Read("Event", event) ? ControllerCode(event) : 0;
    int value = value_;
    if (archive.Read("Value", value))
        value_ = value;
}

void SeqEventCC::Play(std::uint32_t pulse, SeqEventTarget* target) noexcept
{
    if (target && pulse == GetStart())
        target->HandleEvent(controller_, value_, 0, 0, 0);
}

void SeqEventCC::CollectControllers(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                                    std::uint32_t low, std::uint32_t high)
{
    if (from <= GetStart() && GetStart() <= to && low <= controller_ && controller_ <= high)
        list.push_back(this);
}

} // namespace jorvo
