#include "engine/EffectPlugin.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(EffectPlugin, Effect, 0)

EffectPlugin::EffectPlugin() : PluginTarget(PluginKind::Effect) {}

void EffectPlugin::TakeInformation()
{
    if (const PluginInfo* info = Plugin().Info()) {
        SetSampleRate(info->sampleRate);
        SetInputChannels(info->channels);
        SetOutputChannels(info->outputChannels);
    }
}

bool EffectPlugin::Process(const std::int32_t* input, int frames)
{
    // The buffers hold the channel counts of the information record: never let a plug-in read or
    // write another layout.
    const PluginInfo* info = Plugin().Info();
    if (!info || !input || info->channels != InputChannels() || info->outputChannels != OutputChannels())
        return false;
    const bool sound = Plugin().Process(input, Output(), frames);
    SetRendered(sound);
    return sound;
}

} // namespace jorvo
