// The clipboard's event list ("SeqEventList"): a list of events in the object archive, as the
// pattern editor pastes it (each event taken into a pattern and moved) and as the section editor
// takes a pattern from it.
#include "FuzzSupport.h"

#include <memory>
#include <vector>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "sequencer/SeqEvent.h"
#include "sequencer/SeqEventPattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jorvo;
    fuzz::Prepare();
    std::vector<std::unique_ptr<SeqEvent>> events;
    try {
        MemoryStream stream(std::vector<std::uint8_t>(data, data + size));
        BinaryArchive archive(stream, BinaryArchive::Mode::Load);
        events = archive.ReadObjectList<SeqEvent>();
    } catch (const ArchiveException&) {
        return 0;
    }
    SeqEventPattern pattern;
    for (std::unique_ptr<SeqEvent>& event : events) {
        if (!event)
            continue;
        SeqEvent* pasted = event.get();
        if (pattern.InsertEvent(event))
            pattern.MoveEvent(pasted, pasted->GetStart() + 96, pasted->GetLength(), 60, 100);
    }
    // Storing what was pasted must work whatever was read.
    MemoryStream out;
    BinaryArchive archive(out, BinaryArchive::Mode::Store);
    pattern.Serialize(archive);
    archive.Close();
    return 0;
}
