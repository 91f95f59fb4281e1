#pragma once
// One voice of the sampler: where it reads in a sample, how fast it steps through it (16.16
// fixed point), and its envelope as a level whose gain is mantissa / 2^shift. Everything per
// frame is integer arithmetic; nothing here allocates.
#include <cstdint>

namespace jorvo {

struct SamplerVoice {
    // Envelope positions from here on are silent; the sampler frees such voices after a render.
    static constexpr std::int32_t kSilentLevel = 100000;
    // Frames between two envelope steps.
    static constexpr std::int32_t kEnvelopePeriod = 64;

    const std::int16_t* data = nullptr; // the sample's frames, followed by one guard frame
    std::uint16_t stereo = 0;           // 0 mono, 1 stereo (interleaved)
    std::int32_t position = 0;          // current frame
    std::int32_t end = 0;               // last frame played
    std::int32_t loop = 0;              // loop length ending at `end`; 0 = play once
    std::uint32_t fraction = 0;         // position fraction, 0…65535
    std::int32_t step = 0;              // frames per output frame, 16.16
    std::int32_t rate = 0;              // level increment per envelope step
    std::int32_t mantissa = 0;          // 8191 − (level mod 4096)
    std::int32_t shift = 0;             // level / 4096
    std::int32_t pan = 0;               // 0 left … 64 centre … 127 right
    std::int32_t level = kSilentLevel;  // 0…100000; each 4096 halves the gain
    std::int32_t key = 0;               // note + zone key × 256, or note + 32768 for hi-hat zones

    // The 16.16 step that plays a sample of `pitchRate` `cents` above its pitch at 44100 Hz:
    // integer part of pitchRate × e^(cents × ln 2 / 1200) / 44100 × 65536 + 0.5 in single
    // precision (the exponential in double), kept within 0…0x7FFF0000 so stepping cannot overflow.
    static std::int32_t PitchStep(float pitchRate, std::int32_t cents);

    // Sets the level and derives mantissa and shift from it.
    void SetLevel(std::int32_t newLevel);
    // True once the envelope has reached the silent level.
    bool IsSilent() const { return level >= kSilentLevel; }
    // For each of `frames` frames: adds the interpolated sample, gained by the level and panned
    // (weights out of 128), to left[i] and right[i], then moves on by `step` (past `end` back by
    // `loop`, or stopped when there is no loop). The level must not change meanwhile (callers
    // split blocks at envelope steps); a silent or stopped voice adds nothing and stays where it
    // is. Audio thread.
    void MixFrames(std::int64_t* left, std::int64_t* right, int frames);
    // One envelope step: level += rate (rate stops once the level passes the silent level).
    void StepEnvelope();
    // Stops the voice at once: silent, not moving, at frame 0.
    void Stop();

private:
    // Moving past `end` to frame `next`: back by `loop` (wrapped within it), or Stop.
    void PassEnd(std::int64_t next);
    // How many steps from frame `at` and fraction `part` land at or before `end`.
    std::int64_t StepsWithin(std::int32_t at, std::uint32_t part) const;
    template <bool Stereo>
    void MixFramesOf(std::int64_t* left, std::int64_t* right, int frames);
};

} // namespace jorvo
