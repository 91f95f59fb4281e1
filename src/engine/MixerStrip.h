#pragma once
// What a mixer channel and a mixer buss share: a level, a pan and an on/off switch as parameters
// (controller codes 7, 10 and 205), the running gain codes they set, and the way a strip adds its
// source's output to the stereo block. The strip's name is always its source's name.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/GainCode.h"
#include "engine/SeqEventTarget.h"

namespace jorvo {

class Mixer;

// Parameter numbers every strip answers to.
inline constexpr std::uint16_t kLevelParameter = 7;
inline constexpr std::uint16_t kPanParameter = 10;
inline constexpr std::uint16_t kActiveParameter = 205;

// The shown name of a strip's parameters while it has no source.
inline constexpr std::string_view kInactiveLabel = "Inactive";

// The descriptions a strip's parameters start with, and the suffixes of the descriptions they get
// once built from the source's name.
struct StripLabels {
    std::string_view levelDescription;
    std::string_view panDescription;
    std::string_view activeDescription;
    std::string_view levelSuffix;
    std::string_view panSuffix;
    std::string_view activeSuffix;
};

class MixerStrip : public SeqEventTarget {
public:
    // A strip's name follows its source; renaming the strip itself does nothing.
    void SetName(const std::string& name) override;

    // 7 level, 10 pan, 205 on/off, 255 reset to stored values with the gains jumping to their
    // targets; any other code goes to HandleOtherCode. Audio thread, or UI thread under the
    // render lock.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;

    int Level() const { return level_.LiveValue(); }
    int Pan() const { return pan_.LiveValue(); }
    bool IsActive() const { return active_.LiveValue() != 0; }
    const FadingGains& Gains() const { return gains_; }

    // The mixer this strip belongs to (null for a strip outside a mixer); storage resolves busses
    // and send numbers through it.
    Mixer* OwningMixer() const { return mixer_; }
    void SetMixer(Mixer* mixer) { mixer_ = mixer; }

protected:
    // Registers level (100), pan (64) and on/off (1); the gains start at their targets.
    MixerStrip(std::string_view defaultName, const StripLabels& labels);

    // Renames the three parameters after `source` (the source's name, or "Inactive").
    void RebuildStripNames(const std::string& source);
    // True when the source must render this chunk: switched on, or a fade still running.
    bool NeedsRendering() const { return IsActive() || gains_.IsFading(); }
    // Adds the source's output to the block with the current gains, or, when the source reported
    // no sound, lets the gains jump to their targets. Audio thread.
    void MixOrSnap(std::int32_t* block, const std::int32_t* source, int sourceChannels, int frames, bool sound);
    // Moves the gains one code step toward their targets. Once per chunk, audio thread.
    void StepGains() { gains_.Step(); }

    // A code other than 7, 10, 205 and 255; `value` is the event's first argument.
    virtual void HandleOtherCode(std::int32_t code, std::int32_t value);
    // After a reset (255) has restored the parameters and the gains.
    virtual void AfterReset() {}

private:
    void Retarget();

    StripLabels labels_;
    SeqParameter level_;
    SeqParameter pan_;
    SeqParameter active_;
    FadingGains gains_;
    Mixer* mixer_ = nullptr;
};

} // namespace jorvo
