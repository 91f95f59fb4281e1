#include "engine/MixerStrip.h"

namespace jorvo {

namespace {

constexpr int kDefaultLevel = 100;
constexpr int kDefaultPan = 64;
constexpr std::string_view kLevelName = "Level";
constexpr std::string_view kPanName = "Pan";
constexpr std::string_view kActiveName = "Active";

std::string Joined(const std::string& head, std::string_view tail)
{
    return head + std::string(tail);
}

} // namespace

MixerStrip::MixerStrip(std::string_view defaultName, const StripLabels& labels)
    : labels_(labels),
      level_(std::string(kLevelName), std::string(labels.levelDescription), kLevelParameter, 0, 127, kDefaultLevel),
      pan_(std::string(kPanName), std::string(labels.panDescription), kPanParameter, 0, 127, kDefaultPan),
      active_(std::string(kActiveName), std::string(labels.activeDescription), kActiveParameter, 0, 1, 1),
      gains_(PanGains(kDefaultLevel, kDefaultPan))
{
    SetNameDirect(std::string(defaultName));
    AddParameter(&level_);
    AddParameter(&pan_);
    AddParameter(&active_);
}

void MixerStrip::SetName(const std::string&) {}

void MixerStrip::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t)
{
    switch (code) {
    case kLevelParameter:
        if (level_.SetLive(a))
            Retarget();
        return;
    case kPanParameter:
        if (pan_.SetLive(a))
            Retarget();
        return;
    case kActiveParameter:
        if (active_.SetLive(a))
            Retarget();
        return;
    case kEventStopReset:
        ApplyParameters();
        Retarget();
        gains_.Snap();
        AfterReset();
        return;
    default:
        HandleOtherCode(code, a);
    }
}

void MixerStrip::HandleOtherCode(std::int32_t, std::int32_t) {}

// A strip switched off fades to the silent code; switched on, toward its level and pan.
void MixerStrip::Retarget()
{
    gains_.SetTarget(IsActive() ? PanGains(Level(), Pan()) : GainPair{kSilentGain, kSilentGain});
}

void MixerStrip::RebuildStripNames(const std::string& source)
{
    const std::string& head = source;
    level_.SetName(Joined(head, " Level"));
    level_.SetDescription(Joined(head, labels_.levelSuffix));
    pan_.SetName(Joined(head, " Pan"));
    pan_.SetDescription(Joined(head, labels_.panSuffix));
    active_.SetName(Joined(head, " Active"));
    active_.SetDescription(Joined(head, labels_.activeSuffix));
}

void MixerStrip::MixOrSnap(std::int32_t* block, const std::int32_t* source, int sourceChannels, int frames,
                           bool sound)
{
    if (sound)
        MixIntoStereo(block, source, sourceChannels, frames, gains_.Current());
    else
        gains_.Snap();
}

} // namespace jorvo
