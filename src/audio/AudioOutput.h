#pragma once
// The end of the sound chain: an output pulls finished blocks from its source and delivers them
// (to the sound device in real time, or to a file). AudioOutput is the interface with the base
// behaviour; the studio owns exactly one current output.
//
// Threads: creation, Start, Stop, Reset, Configure, SetFormat and destruction run on the
// user-interface thread (or a batch command's thread); a real-time output renders on the audio
// driver's thread. The `running` flag is the only gate between the two.
#include <atomic>
#include <cstdint>

#include "document/RuntimeClass.h"

namespace jorvo {

// Where an output pulls its audio from. The studio implements it with its RenderBlock.
class AudioSource {
public:
    virtual ~AudioSource() = default;

    // Renders up to `frames` frames (at most kMaxRenderFrames) of interleaved left/right signed
    // 32-bit samples (16-bit scale × 256) into `buffer`, and returns the frames produced (never
    // more than `frames`). Audio thread; must not allocate, wait or show anything.
    virtual std::uint32_t RenderAudio(std::int32_t* buffer, std::uint32_t frames) noexcept = 0;
};

// The most frames an output asks of its source at once.
inline constexpr std::uint32_t kMaxRenderFrames = 4096;

// What an output tells the studio, and the studio's processor-time meter it feeds.
class AudioOutputStudio {
public:
    virtual ~AudioOutputStudio() = default;

    // The output's format is now `channels`, `bits`, `rate`. UI thread.
    virtual void SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) = 0;
    // The meter's Begin: a time stamp taken before a block is rendered. Audio thread.
    virtual std::uint64_t BeginBlock() noexcept = 0;
    // The meter's Account: the block begun at `start` produced `frames` frames. Audio thread.
    virtual void AccountBlock(std::uint64_t start, std::uint32_t frames) noexcept = 0;
};

class AudioOutput : public PersistentObject {
    JORVO_DECLARE_PERSISTENT(AudioOutput)

    // An output with no studio of its own: it uses the class-wide one.
    AudioOutput();
    // An output that makes `studio` the class-wide studio.
    explicit AudioOutput(AudioOutputStudio* studio);
    ~AudioOutput() override = default;
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // The studio every output tells about format changes and meters through; null when none.
    static AudioOutputStudio* Studio();
    // Replaces the class-wide studio (null when the studio goes away). UI thread.
    static void SetStudio(AudioOutputStudio* studio);

    // Where blocks are pulled from (not owned); set right after creation. UI thread, stopped.
    void SetSource(AudioSource* source) { source_ = source; }
    // The source blocks are pulled from; null when none is set.
    AudioSource* Source() const { return source_; }

    // Lets the user change the output's settings. The base has none and returns false.
    virtual bool Configure();
    // Begins producing audio; true when running afterwards. The base returns false.
    virtual bool Start();
    // Stops producing audio. The base does nothing.
    virtual void Stop();
    // Returns the output to its freshly created state: the base stops and clears `running`.
    virtual void Reset();
    // Sets the output's own fields to their start values; true on success.
    virtual bool Initialise();
    // Stores the format (bytes per sample = bits / 8) and tells the studio; true on success.
    virtual bool SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate);

    // The current format through three out-values.
    void GetFormat(std::uint16_t& channels, std::uint16_t& bits, std::uint32_t& rate) const;
    // Bytes of one sample of one channel (bits / 8).
    std::uint16_t BytesPerSample() const { return bytesPerSample_; }

    // True while blocks are being produced. Any thread.
    bool IsRunning() const { return running_.load(std::memory_order_acquire); }

    // Underruns since the output was created: blocks its device had to wait for because the
    // output did not refill them in time. UI thread. The base has no device and counts none.
    virtual std::uint32_t Underruns() const { return 0; }

    // An output stores nothing in documents: its settings live in the configuration.
    void Serialize(BinaryArchive& archive) override;
    void SerializeXML(CXMLArchive& archive) override;

protected:
    void SetRunning(bool running) { running_.store(running, std::memory_order_release); }

    AudioSource* source_ = nullptr;
    std::uint16_t channels_ = 0;
    std::uint16_t bitsPerSample_ = 0;
    std::uint16_t bytesPerSample_ = 0;
    std::uint32_t sampleRate_ = 0;

private:
    std::atomic<bool> running_{false};
};

} // namespace jorvo
