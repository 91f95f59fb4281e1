#include "sequencer/SeqEventFactory.h"

#include <exception>
#include <string>

#include "document/ArchiveException.h"
#include "document/XMLArchive.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"
#include "sequencer/SequencerMessages.h"

namespace jorvo {

namespace {

std::unique_ptr<SeqEvent> CreateByElementName(const std::string& name)
{
    if (name == SeqEvent::ElementName(kSeqEventController))
        return std::make_unique<SeqEventCC>();
    if (name == SeqEvent::ElementName(kSeqEventNote))
        return std::make_unique<SeqEventNote>();
    if (name == SeqEvent::ElementName(kSeqEventPattern))
        return std::make_unique<SeqEventPattern>();
    if (name == SeqEvent::ElementName(kSeqEventSection))
        return std::make_unique<SeqEventSection>();
    if (name == SeqEvent::ElementName(kSeqEventSong))
        return std::make_unique<SeqEventSong>();
    return nullptr;
}

void ReportReadFailure(const CXMLArchive& archive, const std::string& cause)
{
    std::string element;
    archive.GetCurrentName(element);
    Shell().MessageBox(FormatText(SequencerMessages::kEventReadFailed, {element, cause}), "Jorvo",
                       MessageButtons::Ok, MessageIcon::Error);
}

// Lets `event` read the archive's current element; on any error the error is reported, the
// half-read event destroyed and null returned.
template <class Event>
std::unique_ptr<Event> ReadOrReport(std::unique_ptr<Event> event, const CXMLArchive& archive)
{
    CXMLArchive reader(archive);
    try {
        event->SerializeXML(reader);
        return event;
    } catch (const ArchiveException& error) {
        ReportReadFailure(archive, ArchiveException::CauseText(error.GetCause()));
    } catch (const std::exception& error) {
        ReportReadFailure(archive, error.what());
    }
    return nullptr;
}

} // namespace

std::unique_ptr<SeqEvent> SeqEventFactory::CreateFromXML(const CXMLArchive& archive)
{
    std::string name;
    archive.GetCurrentName(name);
    std::unique_ptr<SeqEvent> event = CreateByElementName(name);
    return event ? ReadOrReport(std::move(event), archive) : nullptr;
}

std::unique_ptr<SeqEventPattern> SeqEventFactory::CreatePatternFromXML(const CXMLArchive& archive)
{
    return ReadOrReport(std::make_unique<SeqEventPattern>(), archive);
}

std::unique_ptr<SeqEventSection> SeqEventFactory::CreateSectionFromXML(const CXMLArchive& archive)
{
    return ReadOrReport(std::make_unique<SeqEventSection>(), archive);
}

} // namespace jorvo
