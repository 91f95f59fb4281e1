#pragma once
// Small stand-ins for instruments and effects whose output is known exactly, so mixer tests can
// compute every expected sample by hand from the gain codes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Effect.h"
#include "engine/Instrument.h"

namespace jorvo::test {

// Renders a constant sample on each side (mono: `left` only) while `sounding`.
class ConstantInstrument : public Instrument {
public:
    ConstantInstrument(const std::string& name, int channels, std::int32_t left, std::int32_t right = 0)
        : left_(left), right_(right)
    {
        SetNameDirect(name);
        SetChannels(channels);
    }

    bool Render(int frames) override
    {
        ++renders;
        if (!sounding)
            return false;
        for (int frame = 0; frame < frames; ++frame) {
            if (Channels() == 1) {
                Output()[frame] = left_;
            } else {
                Output()[2 * frame] = left_;
                Output()[2 * frame + 1] = right_;
            }
        }
        SetRendered(true);
        return true;
    }

    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t, std::int32_t) override
    {
        events.push_back({code, a, b});
    }

    std::string GetEngineName() const override { return "Constant"; }

    // Renames without a studio, as a rename that went through one would.
    void ForceName(const std::string& name) { SetNameDirect(name); }

    bool sounding = true;
    int renders = 0;
    std::vector<std::vector<std::int32_t>> events;

private:
    std::int32_t left_;
    std::int32_t right_;
};

// Copies its input to its output (a mono input feeds both outputs of a stereo effect) and keeps
// the last input it saw.
class PassThroughEffect : public Effect {
public:
    PassThroughEffect(const std::string& name, int inputs, int outputs)
    {
        SetNameDirect(name);
        SetInputChannels(inputs);
        SetOutputChannels(outputs);
    }

    bool Process(const std::int32_t* input, int frames) override
    {
        ++processed;
        lastInput.assign(input, input + frames * InputChannels());
        bool sound = false;
        for (int frame = 0; frame < frames; ++frame) {
            for (int side = 0; side < OutputChannels(); ++side) {
                const std::int32_t sample = input[frame * InputChannels() + std::min(side, InputChannels() - 1)];
                Output()[frame * OutputChannels() + side] = sample;
                sound = sound || sample != 0;
            }
        }
        SetRendered(sound);
        return sound;
    }

    std::string GetEngineName() const override { return "PassThrough"; }
    void ForceName(const std::string& name) { SetNameDirect(name); }

    int processed = 0;
    std::vector<std::int32_t> lastInput;
};

} // namespace jorvo::test
