// Preset files: opening a type's file for the preset dialog, reading its banks, and loading every
// preset of every bank into the target. The first byte picks the instrument or effect type; the
// rest is the file.
#include "FuzzSupport.h"

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/PresetFile.h"
#include "engine/PresetModel.h"
#include "engine/SeqEventTargetFactory.h"
#include "engine/SoundStudio.h"
#include "engine/TargetPaths.h"

namespace {

using namespace jorvo;

// The built-in instrument and effect types; the first byte of an input picks one (modulo their count).
constexpr const char* kInstruments[] = {"Sampler", "mSyn", "DefaultInstrument"};
constexpr const char* kEffects[] = {"Distortion", "Flanger", "Chorus", "Delay", "Reverb", "Reverb Lite"};

std::unique_ptr<SeqEventTarget> CreateTarget(std::uint8_t choice)
{
    constexpr std::size_t kInstrumentCount = std::size(kInstruments);
    const std::size_t index = choice % (kInstrumentCount + std::size(kEffects));
    if (index < kInstrumentCount)
        return SeqEventTargetFactory::CreateInstrument(kInstruments[index]);
    return SeqEventTargetFactory::CreateEffect(kEffects[index - kInstrumentCount]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Prepare();
    static const bool skinsSet = Configuration().SetSkinsDir(fuzz::ScratchFolder() + "/Skins");
    static SoundStudio studio; // the sampler's zones play from its sample store
    (void)skinsSet;
    if (size == 0)
        return 0;
    const std::unique_ptr<SeqEventTarget> target = CreateTarget(data[0]);
    if (!target)
        return 0;
    fuzz::WriteFileBytes(GetPresetPath(target->GetEngineName(), target->GetTypeName()), data + 1, size - 1);
    CXMLArchive archive;
    if (!OpenPresetFile(*target, archive))
        return 0;
    PresetModel model(archive, *target);
    const std::vector<PresetBank> banks = model.Banks();
    for (std::size_t bank = 0; bank < banks.size(); ++bank) {
        for (const std::string& preset : banks[bank].presets)
            model.LoadPreset(bank, preset, preset);
    }
    return 0;
}
