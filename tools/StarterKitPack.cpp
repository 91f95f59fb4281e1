#include "StarterKitPack.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "DrumSounds.h"
#include "SamplerPresets.h"
#include "TonalSounds.h"
#include "WaveFileWriter.h"
#include "document/Configuration.h"
#include "engine/SoundStudio.h"
#include "platform/Paths.h"

namespace jorvo {
namespace {

// A sound of `sounds` (by its path there) under the pack's own path.
SynthSound Take(std::vector<SynthSound>& sounds, const std::string& path, const std::string& packPath)
{
    auto found = std::find_if(sounds.begin(), sounds.end(), [&](const SynthSound& sound) {
        return sound.relativePath == path;
    });
    SynthSound sound = std::move(*found);
    sound.relativePath = packPath;
    return sound;
}

// The pack's samples: a few of the bundled kit's drums and bass under the pack's folder names,
// and a pluck of its own.
std::vector<SynthSound> SynthesisePackSounds()
{
    std::vector<SynthSound> drums = SynthesiseDrumKit();
    std::vector<SynthSound> tones = SynthesiseTonalSounds();
    std::vector<SynthSound> pack;
    pack.push_back(Take(drums, "Drums/Kick.wav", "Drums/Kick.wav"));
    pack.push_back(Take(drums, "Drums/Snare.wav", "Drums/Snare.wav"));
    pack.push_back(Take(drums, "Drums/HatClosed.wav", "Drums/HiHat.wav"));
    pack.push_back(Take(tones, kBassSample, "Tones/Bass.wav"));
    pack.push_back(SynthesisePluck("Tones/Pluck.wav"));
    return pack;
}

// A sample of the pack as the device's sampler names it.
std::string PackSample(const char* path)
{
    return std::string(kStarterKitName) + "/" + path;
}

std::vector<SamplerPresetBank> PackBanks()
{
    const SamplerPreset drums{"Starter Drums",
                              {DrumZone(DrumKey::kKick, PackSample("Drums/Kick.wav")),
                               DrumZone(DrumKey::kSnare, PackSample("Drums/Snare.wav")),
                               DrumZone(DrumKey::kHatClosed, PackSample("Drums/HiHat.wav"), true)}};
    // The bass below middle C, the pluck from there up.
    const SamplerPreset tones{"Starter Tones",
                              {KitZone{0, PackSample("Tones/Bass.wav"), 24}, KitZone{60, PackSample("Tones/Pluck.wav"), 40}}};
    return {{std::nullopt, {drums}}, {"Starter Kit", {tones, drums}}};
}

} // namespace

bool WriteStarterKit(const std::string& packsFolder)
{
    const std::string packFolder = JoinPath(packsFolder, kStarterKitName);
    for (const SynthSound& sound : SynthesisePackSounds()) {
        if (!WriteWaveFile(packFolder, sound)) {
            std::fprintf(stderr, "cannot write %s/%s\n", packFolder.c_str(), sound.relativePath.c_str());
            return false;
        }
        std::printf("wrote %s/%s\n", kStarterKitName, sound.relativePath.c_str());
    }
    Configuration().SetSampleDir(packsFolder);
    SoundStudio studio;
    return WriteSamplerPresetFile(studio, JoinPath(packFolder, std::string(kStarterKitName) + ".presets"), PackBanks());
}

} // namespace jorvo
