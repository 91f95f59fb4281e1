#include "SamplerKits.h"

#include "engine/InstrumentSampler.h"
#include "engine/SampleZone.h"

namespace jorvo {
namespace {

// Drums ring out after their short notes.
constexpr std::int32_t kDrumRelease = 120;

bool AddZone(InstrumentSampler& sampler, const KitZone& kitZone)
{
    SampleZone* zone = sampler.CreateZone(kitZone.key);
    if (!zone || !zone->SetZoneSample(kitZone.sample)) {
        if (zone)
            sampler.DeleteZone(zone);
        return false;
    }
    ZoneValues values = zone->Snapshot().values;
    values.release = kitZone.release;
    values.hiHat = kitZone.hiHat;
    values.unpitched = kitZone.unpitched;
    zone->SetZoneValues(values);
    return true;
}

} // namespace

KitZone DrumZone(std::int32_t key, std::string sample, bool hiHat)
{
    return KitZone{key, std::move(sample), kDrumRelease, hiHat, true};
}

std::vector<KitZone> DrumKitZones()
{
    return {
        DrumZone(DrumKey::kKick, "Drums/Kick.wav"),
        DrumZone(DrumKey::kSnare, "Drums/Snare.wav"),
        DrumZone(DrumKey::kClap, "Drums/Clap.wav"),
        DrumZone(DrumKey::kHatClosed, "Drums/HatClosed.wav", true),
        DrumZone(DrumKey::kTomLow, "Drums/TomLow.wav"),
        DrumZone(DrumKey::kHatOpen, "Drums/HatOpen.wav", true),
        DrumZone(DrumKey::kTomHigh, "Drums/TomHigh.wav"),
        DrumZone(DrumKey::kCrash, "Drums/Crash.wav"),
    };
}

bool LoadKit(InstrumentSampler& sampler, const std::vector<KitZone>& zones)
{
    sampler.DeleteAllZones();
    for (const KitZone& zone : zones) {
        if (!AddZone(sampler, zone))
            return false;
    }
    return true;
}

bool LoadDrumKit(InstrumentSampler& sampler)
{
    return LoadKit(sampler, DrumKitZones());
}

bool LoadTonalSample(InstrumentSampler& sampler, const std::string& sample, std::int32_t release)
{
    return LoadKit(sampler, {KitZone{0, sample, release}});
}

} // namespace jorvo
