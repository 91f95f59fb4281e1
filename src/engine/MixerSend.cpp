#include "engine/MixerSend.h"

#include "engine/MixerBuss.h"

namespace jorvo {

namespace {
constexpr int kMaxSendLevel = 127;

int AcceptedLevel(int level)
{
    return level >= 0 && level <= kMaxSendLevel ? level : 0;
}
} // namespace

MixerSend::MixerSend(MixerBuss& buss, int level, int pan)
    : buss_(buss),
      parameter_(buss.GetName() + " Send", buss.GetName() + " Send", buss.SendParameterType(), 0, kMaxSendLevel,
                 AcceptedLevel(level)),
      codes_(PanGains(parameter_.LiveValue(), pan))
{
}

void MixerSend::Recompute(int pan)
{
    codes_ = PanGains(parameter_.LiveValue(), pan);
}

void MixerSend::Rename(const std::string& source)
{
    parameter_.SetName(buss_.GetName() + " Send");
    parameter_.SetDescription(source + " Send To " + buss_.GetName());
}

} // namespace jorvo
