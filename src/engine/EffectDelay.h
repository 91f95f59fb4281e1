#pragma once
// "Delay": a feedback echo with one delay line read by two taps, left and right, whose lengths
// the balance offsets from each other. Times are in samples. Send effect: only the echoes are
// produced.
#include <cstdint>
#include <vector>

#include "engine/Effect.h"

namespace jorvo {

class EffectDelay final : public Effect {
    JORVO_DECLARE_PERSISTENT(EffectDelay)
public:
    // The engine's fixed shape: one input channel, this many output channels.
    static constexpr int kOutputChannels = 2;

    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kTime = 72,
        kMaximumTime = 100,
        kBalance = 10,
        kFeedback = 71,
    };
    // The longest line Maximum Time allows; the line is allocated once at this size.
    static constexpr std::int32_t kLongestLine = 88200;

    // A delay named "Delay", one input channel, two output channels, parameters at their
    // defaults and an empty line of Maximum Time samples.
    EffectDelay();

    // Parameter codes set live values and recompute the taps; Maximum Time also empties the line
    // and lowers Time when it exceeds the new maximum; 255 resets. Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // Reads `frames` mono frames (at most kMaxFrames) and writes as many stereo frames; true.
    // False, with nothing written, when the output channel count is not the engine's. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Live values back to stored ones and an empty line (the echo tail is discarded).
    void Reset() override;

    // "Delay".
    std::string GetEngineName() const override { return "Delay"; }
    // Effect storage, then one version byte (1; skipped when loading); a load keeps the engine's
    // channel counts and ends with Reset. UI thread, playback stopped.
    void Serialize(BinaryArchive& archive) override;
    // Effect element; a load keeps the engine's channel counts and ends with Reset, so the line is
    // rebuilt. UI thread, playback stopped.
    void SerializeXML(CXMLArchive& archive) override;

    // The samples of the line in use (= the live Maximum Time).
    std::int32_t LineLength() const { return length_; }
    // The samples allocated for the line; never changes after construction.
    std::size_t LineCapacity() const { return line_.size(); }
    // The current tap lengths in samples.
    std::int32_t LeftTap() const { return leftTap_; }
    std::int32_t RightTap() const { return rightTap_; }

private:
    // One input channel and kOutputChannels outputs: Process writes that many per frame.
    void KeepChannelLayout();
    void RebuildLine();
    void UpdateTaps();
    void LimitTime();
    void SetTimeRange(std::int32_t maximum, std::int32_t stored, std::int32_t live);
    template <class Load>
    void LoadStoredValues(Load load);

    SeqParameter time_{"Time", "Delay Time", kTime, 1, 44100, 11250};
    SeqParameter maximumTime_{"Maximum Time", "Maximum Delay Time", kMaximumTime, 127, kLongestLine, 44100};
    SeqParameter balance_{"Balance", "Left/Right Offset", kBalance, 0, 127, 64};
    SeqParameter feedback_{"Feedback", "Delay Feedback", kFeedback, 0, 127, 64};

    std::vector<std::int32_t> line_;
    std::int32_t length_ = 0;     // 0 until the first rebuild
    std::int32_t write_ = 0;      // 1…length_, moves down before each write
    std::int32_t leftTap_ = 0;
    std::int32_t rightTap_ = 0;
};

} // namespace jorvo
