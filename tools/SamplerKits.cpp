#include "SamplerKits.h"

#include <array>

#include "engine/InstrumentSampler.h"
#include "engine/SampleZone.h"

namespace jorvo {
namespace {

struct DrumZone {
    std::int32_t key;
    const char* sample;
    bool hiHat;
};

// In key order: each zone reaches up to the next one, the crash to the top of the keyboard.
constexpr std::array<DrumZone, 8> kDrumZones = {{
    {DrumKey::kKick, "Drums/Kick.wav", false},
    {DrumKey::kSnare, "Drums/Snare.wav", false},
    {DrumKey::kClap, "Drums/Clap.wav", false},
    {DrumKey::kHatClosed, "Drums/HatClosed.wav", true},
    {DrumKey::kTomLow, "Drums/TomLow.wav", false},
    {DrumKey::kHatOpen, "Drums/HatOpen.wav", true},
    {DrumKey::kTomHigh, "Drums/TomHigh.wav", false},
    {DrumKey::kCrash, "Drums/Crash.wav", false},
}};

// Release 120 lets a drum ring out after its (short) note; the store's End and Loop stay.
bool AddZone(InstrumentSampler& sampler, std::int32_t key, const std::string& sample, ZoneValues values)
{
    SampleZone* zone = sampler.CreateZone(key);
    if (!zone || !zone->SetZoneSample(sample)) {
        if (zone)
            sampler.DeleteZone(zone);
        return false;
    }
    const StoredZone loaded = zone->Snapshot();
    values.end = loaded.values.end;
    values.loop = loaded.values.loop;
    zone->SetZoneValues(values);
    return true;
}

} // namespace

bool LoadDrumKit(InstrumentSampler& sampler)
{
    sampler.DeleteAllZones();
    for (const DrumZone& drum : kDrumZones) {
        ZoneValues values;
        values.release = 120;
        values.hiHat = drum.hiHat;
        values.unpitched = true;
        if (!AddZone(sampler, drum.key, drum.sample, values))
            return false;
    }
    return true;
}

bool LoadTonalSample(InstrumentSampler& sampler, const std::string& sample, std::int32_t release)
{
    sampler.DeleteAllZones();
    ZoneValues values;
    values.release = release;
    return AddZone(sampler, 0, sample, values);
}

} // namespace jorvo
