#pragma once
// One channel's send into one buss: a level parameter numbered with the buss's send number (so
// controller events address it through the channel) and the two gain codes it feeds the buss
// with. Sends do not fade: their codes change at once with the level, on reset and after loading.
#include <cstdint>
#include <string>

#include "engine/GainCode.h"
#include "engine/SeqParameter.h"

namespace jorvo {

class MixerBuss;

class MixerSend {
public:
    // A send into `buss` with `level` (0…127; a level outside is taken as 0) as stored and live
    // value, numbered with the buss's send number; codes from `level` and `pan`.
    MixerSend(MixerBuss& buss, int level, int pan);
    MixerSend(const MixerSend&) = delete;
    MixerSend& operator=(const MixerSend&) = delete;

    MixerBuss& Buss() const { return buss_; }
    SeqParameter& Parameter() { return parameter_; }
    const SeqParameter& Parameter() const { return parameter_; }
    int Level() const { return parameter_.LiveValue(); }
    const GainPair& Codes() const { return codes_; }

    // The codes from the live level and the channel's `pan`.
    void Recompute(int pan);
    // Names the parameter "<buss> Send", described "<source> Send To <buss>".
    void Rename(const std::string& source);

private:
    MixerBuss& buss_;
    SeqParameter parameter_;
    GainPair codes_;
};

} // namespace jorvo
