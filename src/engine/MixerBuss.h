#pragma once
// The mixer strip of one effect: gathers the channels' sends in its input, lets the effect
// process it each chunk and adds the effect's output to the stereo block with the buss's level
// and pan. Channels address their send to this buss with its send number.
#include <cstdint>
#include <vector>

#include "engine/MixerStrip.h"

namespace jorvo {

class Effect;

class MixerBuss : public MixerStrip {
    JORVO_DECLARE_PERSISTENT(MixerBuss)
public:
    // Send numbers run 101…32767; 100 and below are controller codes.
    static constexpr int kFirstSendNumber = 101;
    static constexpr int kLastSendNumber = 32767;

    // The input is allocated here, at its largest, so the audio thread never allocates.
    MixerBuss();

    // True for a number a buss may take: 101…32767, except 200…255, which are event codes (a
    // send there would switch the channel or be taken for a transport code).
    static bool IsValidSendNumber(int number);

    // The effect's name; "Buss" without one.
    std::string GetName() const override;
    std::string GetTypeName() const override { return "Buss"; }
    std::string GetEngineName() const override { return "Buss"; }

    // Runs `target` on this buss (null: none) and rebuilds the names. False, nothing changed, for
    // a target that is not an effect. UI thread, under the render lock.
    bool SetEffect(SeqEventTarget* target);
    Effect* GetEffect() const { return effect_; }
    // Renames the parameters after the effect.
    void RebuildNames();

    // The number channels' sends to this buss answer to; 0 until the mixer assigns one.
    std::uint16_t SendParameterType() const { return sendParameterType_; }
    // Only the mixer sets it (AssignSendNumber), which re-registers the channels' sends.
    void SetSendParameterType(std::uint16_t number) { sendParameterType_ = number; }

    // Lets the effect prepare and clears the input for `frames` frames. Audio thread.
    void Prepare(int frames);
    // Adds `frames` frames of `source` (mono or interleaved stereo by `sourceChannels`) to the
    // input with the send's codes; a stereo source into a mono input is summed, each side with
    // its own code. Audio thread; nothing without an effect.
    void AddInput(const std::int32_t* source, int sourceChannels, int frames, GainPair codes);
    // Lets the effect process the input, adds its output to `block` (stereo), then moves the
    // gains one step. Audio thread.
    void Render(std::int32_t* block, int frames);
    // The input: the effect's input channel count × 1024 frames, interleaved.
    const std::int32_t* Input() const { return input_.data(); }

    // Base part, then the send number (u16; loading accepts only a valid number).
    void Serialize(BinaryArchive& archive) override;
    // Base element "Buss" with the attributes "Effect" and "SendParameterType".
    void SerializeXML(CXMLArchive& archive) override;

private:
    void TakeStoredSendNumber(int number);

    std::vector<std::int32_t> input_;
    Effect* effect_ = nullptr;
    std::uint16_t sendParameterType_ = 0;
};

} // namespace jorvo
