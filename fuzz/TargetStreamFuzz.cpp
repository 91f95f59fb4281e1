// The binary target stream ("EDCB", engine name, the target's data, end marker) as documents and
// the clipboard carry instruments and effects: members are read one after another, an instrument
// or an effect each, until the stream gives none.
#include "FuzzSupport.h"

#include <vector>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/SeqEventTargetFactory.h"
#include "engine/SoundStudio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jorvo;
    fuzz::Prepare();
    static SoundStudio studio; // the sampler's zones play from its sample store
    MemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    for (int member = 0; member < 8; ++member) {
        const bool instrument = SeqEventTargetFactory::LoadInstrument(archive) != nullptr;
        const bool effect = SeqEventTargetFactory::LoadEffect(archive) != nullptr;
        if (!instrument && !effect)
            break;
    }
    return 0;
}
