#include "SamplerPresets.h"

#include <filesystem>

#include "document/XMLArchive.h"
#include "engine/InstrumentSampler.h"
#include "engine/SoundStudio.h"

namespace jorvo {
namespace {

bool WriteBank(InstrumentSampler& sampler, const CXMLArchive& root, const SamplerPresetBank& bank)
{
    CXMLArchive bankWriter(root);
    if (!bankWriter.CreateChild("PresetList") || (bank.name && !bankWriter.Write("Name", *bank.name)))
        return false;
    for (const SamplerPreset& preset : bank.presets) {
        if (!LoadKit(sampler, preset.zones))
            return false;
        CXMLArchive writer(bankWriter);
        sampler.SerializeXMLAs(writer, preset.name);
    }
    return true;
}

} // namespace

bool WriteSamplerPresetFile(SoundStudio& studio, const std::string& path, const std::vector<SamplerPresetBank>& banks)
{
    auto* sampler = static_cast<InstrumentSampler*>(studio.AddInstrument("Sampler"));
    if (!sampler)
        return false;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    CXMLArchive archive;
    if (error || !archive.Open(nullptr, path, CXMLArchive::kStore) || !archive.CreateRoot("PresetFile"))
        return false;
    for (const SamplerPresetBank& bank : banks) {
        if (!WriteBank(*sampler, archive, bank))
            return false;
    }
    return archive.Save();
}

bool WriteSamplerPresets(SoundStudio& studio, const std::string& path)
{
    return WriteSamplerPresetFile(studio, path,
                                  {{std::nullopt,
                                    {{"Drum Kit", DrumKitZones()},
                                     {"Electric Piano", {KitZone{0, kElectricPianoSample, 40}}},
                                     {"Synth Bass", {KitZone{0, kBassSample, 24}}},
                                     {"Warm Pad", {KitZone{0, kPadSample, 60}}}}}});
}

} // namespace jorvo
