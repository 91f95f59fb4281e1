#pragma once
// The base of every effect. Effects are send effects: Process reads the input of their mixer
// buss (the sum of the channel sends) and writes only the processed signal to their output
// buffer, which the buss adds to the master mix.
#include <cstdint>
#include <vector>

#include "engine/SeqEventTarget.h"

namespace jorvo {

class Effect : public SeqEventTarget {
    JORVO_DECLARE_PERSISTENT(Effect)
public:
    // Frames in one chunk at the most, and so in every target buffer.
    static constexpr int kMaxFrames = 1024;

    Effect();

    // CopyFrom, then the sample rate and channel counts of another effect.
    void Assign(const SeqEventTarget& other) override;
    virtual void AssignFrom(const SeqEventTarget& other) { Assign(other); }

    // Reads `frames` frames from `input` (interleaved by InputChannels) and writes `frames` frames
    // to Output(); true when the output holds sound. Audio thread. The base produces nothing.
    virtual bool Process(const std::int32_t* input, int frames);
    // Returns to the silent start state. The base restores the parameters (ResetBase).
    virtual void Reset() { ResetBase(); }

    // Clears `rendered` before the chunk (the buffer is not zeroed). Audio thread.
    void PrepareChunk() { rendered_ = false; }
    bool SetSampleRate(int rate);
    // One or two channels; false for any other count.
    bool SetInputChannels(int channels);
    // One or two channels; the buffer is reallocated when the count changes. UI thread, under the
    // render lock. False for any other count.
    bool SetOutputChannels(int channels);
    // ApplyParameters, then `rendered` := false.
    void ResetBase();

    int SampleRate() const { return sampleRate_; }
    int InputChannels() const { return inputChannels_; }
    int OutputChannels() const { return outputChannels_; }
    bool IsRendered() const { return rendered_; }
    // The chunk buffer: OutputChannels() × kMaxFrames samples, interleaved when stereo.
    std::int32_t* Output() { return output_.data(); }
    const std::int32_t* Output() const { return output_.data(); }

    std::string GetTypeName() const override { return "Effect"; }

    // Base storage, then version byte 1, engine name, sample rate, input and output channels.
    // Loading a record of another engine raises ArchiveException (Generic).
    void Serialize(BinaryArchive& archive) override;
    // Base element, then "Engine", "SampleRate", "InputChannels" and "OutputChannels".
    void SerializeXML(CXMLArchive& archive) override;

protected:
    void SetRendered(bool rendered) { rendered_ = rendered; }

private:
    std::vector<std::int32_t> output_;
    bool rendered_ = false;
    std::uint16_t sampleRate_ = 44100;
    std::uint8_t inputChannels_ = 2;
    std::uint8_t outputChannels_ = 2;
};

} // namespace jorvo
