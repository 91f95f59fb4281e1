#pragma once
// The base of every instrument: an output buffer the engine fills once per chunk, its sample rate
// and channel count, and the render contract the mixer relies on:
// 1. BeginChunk(frames) once per chunk for every instrument with a channel, before any mixing;
// 2. Render(frames) at most once per chunk (engines tolerate more callers by checking rendered);
// 3. samples are 16-bit audio scaled by 256, mono or interleaved stereo.
#include <cstdint>
#include <vector>

#include "engine/SeqEventTarget.h"

namespace jorvo {

class Instrument : public SeqEventTarget {
    JORVO_DECLARE_PERSISTENT(Instrument)
public:
    // Frames in one chunk at the most, and so in every target buffer.
    static constexpr int kMaxFrames = 1024;

    Instrument();

    // CopyFrom, then the sample rate and channel count of another instrument.
    void Assign(const SeqEventTarget& other) override;
    virtual void AssignFrom(const SeqEventTarget& other) { Assign(other); }

    // Fills Output() with `frames` frames; true when it holds sound. Audio thread. The base is silent.
    virtual bool Render(int frames);
    // Returns to the silent start state. The base restores the parameters (ResetBase).
    virtual void Reset() { ResetBase(); }

    // Clears `rendered` and zeroes the first `frames` frames of the buffer. Audio thread.
    void BeginChunk(int frames);
    // Sets mono (1) or stereo (2); the buffer is reallocated when the count changes. UI thread,
    // under the render lock. False for any other count.
    bool SetChannels(int channels);
    bool SetSampleRate(int rate);
    // ApplyParameters, then `rendered` := false.
    void ResetBase();

    int Channels() const { return channels_; }
    int SampleRate() const { return sampleRate_; }
    bool IsRendered() const { return rendered_; }
    // The chunk buffer: Channels() × kMaxFrames samples, interleaved when stereo.
    std::int32_t* Output() { return output_.data(); }
    const std::int32_t* Output() const { return output_.data(); }

    std::string GetTypeName() const override { return "Instrument"; }
    int GetTargetKind() const override { return 1; }

    // Base storage, then version byte 1, engine name, sample rate and channels. Loading a record of
    // another engine raises ArchiveException (Generic).
    void Serialize(BinaryArchive& archive) override;
    // Base element, then "Engine", "SampleRate" and "Channels".
    void SerializeXML(CXMLArchive& archive) override;

protected:
    void SetRendered(bool rendered) { rendered_ = rendered; }

private:
    std::vector<std::int32_t> output_;
    bool rendered_ = false;
    std::uint16_t sampleRate_ = 44100;
    std::uint8_t channels_ = 1;
};

} // namespace jorvo
