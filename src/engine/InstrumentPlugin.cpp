#include "engine/InstrumentPlugin.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(InstrumentPlugin, Instrument, 0)

InstrumentPlugin::InstrumentPlugin() : PluginTarget(PluginKind::Instrument) {}

void InstrumentPlugin::TakeInformation()
{
    if (const PluginInfo* info = Plugin().Info()) {
        SetSampleRate(info->sampleRate);
        SetChannels(info->channels);
    }
}

bool InstrumentPlugin::Render(int frames)
{
    if (IsRendered())
        return true;
    // The buffer holds Channels() × kMaxFrames samples: never let a plug-in write another layout.
    const PluginInfo* info = Plugin().Info();
    if (!info || info->channels != Channels() || !Plugin().Render(Output(), frames))
        return false;
    SetRendered(true);
    return true;
}

} // namespace jorvo
