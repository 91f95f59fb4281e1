#include "SamplerPresets.h"

#include <filesystem>

#include "SamplerKits.h"
#include "document/XMLArchive.h"
#include "engine/InstrumentSampler.h"
#include "engine/SoundStudio.h"

namespace jorvo {

bool WriteSamplerPresets(SoundStudio& studio, const std::string& path)
{
    auto* sampler = static_cast<InstrumentSampler*>(studio.AddInstrument("Sampler"));
    if (!sampler)
        return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    CXMLArchive archive;
    if (error || !archive.Open(nullptr, path, CXMLArchive::kStore) || !archive.CreateRoot("PresetFile") ||
        !archive.CreateChild("PresetList"))
        return false;
    struct TonalPreset {
        const char* name;
        const char* sample;
        int release;
    };
    if (!LoadDrumKit(*sampler))
        return false;
    CXMLArchive kitWriter(archive);
    sampler->SerializeXMLAs(kitWriter, "Drum Kit");
    for (const TonalPreset& preset : {TonalPreset{"Electric Piano", kElectricPianoSample, 40},
                                      TonalPreset{"Synth Bass", kBassSample, 24},
                                      TonalPreset{"Warm Pad", kPadSample, 60}}) {
        if (!LoadTonalSample(*sampler, preset.sample, preset.release))
            return false;
        CXMLArchive writer(archive);
        sampler->SerializeXMLAs(writer, preset.name);
    }
    return archive.Save();
}

} // namespace jorvo
