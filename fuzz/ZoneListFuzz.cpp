// The clipboard's zone list ("SampleZoneList"): zones read from the object archive by a sampler,
// then adopted onto its keyboard as a drop does.
#include "FuzzSupport.h"

#include <memory>
#include <vector>

#include "engine/InstrumentSampler.h"
#include "engine/SampleZone.h"
#include "engine/SoundStudio.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jorvo;
    fuzz::Prepare();
    static SoundStudio studio; // the zones' samples come from its sample store
    InstrumentSampler sampler;
    std::vector<std::unique_ptr<SampleZone>> zones = sampler.ReadZoneList(std::vector<std::uint8_t>(data, data + size));
    int key = 0;
    for (std::unique_ptr<SampleZone>& zone : zones)
        sampler.AdoptZone(zone, key++ % InstrumentSampler::kKeyCount);
    return 0;
}
