// jorvo_content: writes the shipped content into a repository checkout.
//   jorvo_content <repository> [samples|pack|song|all] [--listen out.wav]
// samples: synthesises the bundled samples into <repository>/samples. pack: writes the pack
// installer's example pack <repository>/samples/packs/StarterKit. song: writes the demo song
// <repository>/examples/Demo.xml and the sampler's presets <repository>/skins/Sampler/
// Sampler.presets, both naming samples relative to <repository>/samples. --listen also renders
// the demo song to a WAV file. The settings go to a temporary store, never the user's.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "DemoSong.h"
#include "DrumSounds.h"
#include "SamplerPresets.h"
#include "StarterKitPack.h"
#include "TonalSounds.h"
#include "WaveFileWriter.h"
#include "app/JorvoDoc.h"
#include "document/Configuration.h"
#include "engine/SoundStudio.h"
#include "sequencer/Sequencer.h"

namespace {

bool WriteBundledSamples(const std::string& sampleFolder)
{
    std::vector<jorvo::SynthSound> sounds = jorvo::SynthesiseDrumKit();
    for (jorvo::SynthSound& sound : jorvo::SynthesiseTonalSounds())
        sounds.push_back(std::move(sound));
    for (const jorvo::SynthSound& sound : sounds) {
        if (!jorvo::WriteWaveFile(sampleFolder, sound)) {
            std::fprintf(stderr, "cannot write %s/%s\n", sampleFolder.c_str(), sound.relativePath.c_str());
            return false;
        }
        std::printf("wrote %s\n", sound.relativePath.c_str());
    }
    return true;
}

// Renders the whole song once (no loop) through the studio's block render into a stereo WAV.
bool RenderSong(jorvo::SoundStudio& studio, const std::string& path)
{
    jorvo::Sequencer& sequencer = studio.GetSequencer();
    sequencer.SetLoop(false);
    sequencer.Play();
    std::vector<std::vector<float>> channels(2);
    while (sequencer.IsPlaying()) {
        int frames = 256;
        const std::int32_t* block = studio.RenderBlock(frames);
        for (int i = 0; i < frames; ++i)
            for (int side = 0; side < 2; ++side)
                channels[static_cast<std::size_t>(side)].push_back(static_cast<float>(block[2 * i + side] / 8388608.0));
    }
    sequencer.Stop();
    return jorvo::WriteWaveFile(std::filesystem::path(path).parent_path().string(),
                                {std::filesystem::path(path).filename().string(), channels, std::nullopt, std::nullopt});
}

bool WriteSongAndPresets(const std::string& repository, const std::string& listenPath)
{
    jorvo::Configuration().SetSampleDir(repository + "/samples");
    {
        jorvo::SoundStudio presetStudio;
        if (!jorvo::WriteSamplerPresets(presetStudio, repository + "/skins/Sampler/Sampler.presets"))
            return false;
    }
    jorvo::CJorvoDoc document;
    if (!document.NewDocument() || !jorvo::BuildDemoSong(*document.GetStudio()))
        return false;
    std::filesystem::create_directories(repository + "/examples");
    if (!document.ExportXML(repository + "/examples/Demo.xml"))
        return false;
    return listenPath.empty() || RenderSong(*document.GetStudio(), listenPath);
}

// A settings store of our own, so generating never touches the user's settings.
void UseTemporarySettings()
{
    char folder[] = "/tmp/jorvo_content_XXXXXX";
    if (mkdtemp(folder))
        setenv("JORVO_REGISTRY", (std::string(folder) + "/registry.xml").c_str(), 1);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string listenPath;
    if (arguments.size() >= 2 && arguments[arguments.size() - 2] == "--listen") {
        listenPath = arguments.back();
        arguments.resize(arguments.size() - 2);
    }
    if (arguments.empty() || arguments.size() > 2) {
        std::fprintf(stderr, "usage: jorvo_content <repository> [samples|pack|song|all] [--listen out.wav]\n");
        return 2;
    }
    UseTemporarySettings();
    const std::string repository = std::filesystem::absolute(arguments[0]).string();
    const std::string what = arguments.size() == 2 ? arguments[1] : "all";
    if ((what == "samples" || what == "all") && !WriteBundledSamples(repository + "/samples"))
        return 1;
    if ((what == "pack" || what == "all") && !jorvo::WriteStarterKit(repository + "/samples/packs"))
        return 1;
    if ((what == "song" || what == "all") && !WriteSongAndPresets(repository, listenPath))
        return 1;
    return 0;
}
