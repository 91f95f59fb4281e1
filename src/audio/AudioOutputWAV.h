#pragma once
// The output that writes the block stream into a WAV file instead of a sound device. It is swapped
// in for the real-time output to render a song offline: Start creates the file and starts a
// worker that pulls 256-frame chunks from the source while the song plays and appends them; Stop
// joins the worker and completes the file.
//
// Threads: construction, Start, Stop, Abandon, Reset, SetFormat and destruction on the thread that
// drives the render (the user-interface thread or a batch command's). The worker is the only
// other thread; it touches the writer and the buffers only while `running` is set, and Stop joins
// it before closing the file, so the worker never writes into a closed writer.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioOutput.h"
#include "audio/WavFileWriter.h"

namespace jorvo {

class AudioOutputWAV : public AudioOutput {
    JORVO_DECLARE_PERSISTENT(AudioOutputWAV)

    // Frames the worker asks of the source at a time.
    static constexpr std::uint32_t kChunkFrames = 256;
    // The file an output created by class name writes, inside the default document folder.
    static constexpr const char* kDefaultFileName = "jorvo.wav";

    // An output for "jorvo.wav" in the default document folder, using the class-wide studio.
    AudioOutputWAV();
    // A stopped output for `fileName`, making `studio` the class-wide studio; the format is set to
    // 2 channels, 16 bits, 44100 Hz.
    AudioOutputWAV(AudioOutputStudio* studio, std::string fileName);
    // Stops a running output as Stop does (completing its file).
    ~AudioOutputWAV() override;

    // Tells the worker whether the song is playing; it renders only while this says true. Without
    // one nothing is rendered. Set while stopped; called on the worker thread.
    void SetPlayingCheck(std::function<bool()> isPlaying) { isPlaying_ = std::move(isPlaying); }

    // No dialog: true when not running, false otherwise.
    bool Configure() override;
    // Creates the file with a provisional header and starts the worker. True when running
    // (also when it already was); false when the file cannot be created or the worker cannot start.
    bool Start() override;
    // Joins the worker and completes the file (see FileCompleted). Nothing when stopped.
    void Stop() override;
    // Joins the worker and drops the file: the target keeps what it held before Start. Nothing
    // when stopped.
    void Abandon();
    // Stops, drops writer and buffers and sets the format again.
    void Reset() override;
    // Not running; true.
    bool Initialise() override;
    // Drops writer and buffers, then stores the format and tells the studio. Only 2 channels of
    // 16 bits at 44100 Hz (the file's fixed format) are taken; anything else, or a call while
    // running, gives false and keeps the old format.
    bool SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) override;

    // The file this output writes.
    const std::string& FileName() const { return fileName_; }
    // True when the last Stop put a complete file in place with every frame rendered; false
    // before, after Abandon, or when a write or the completion failed.
    bool FileCompleted() const { return fileCompleted_; }

private:
    bool Open();
    void JoinWorker();
    void DiscardWriter();
    void Work() noexcept;

    std::string fileName_;
    std::unique_ptr<WavFileWriter> writer_;
    std::vector<std::int32_t> mix_;    // what the source renders into: one chunk
    std::vector<std::int16_t> buffer_; // the chunk converted to 16 bits
    std::function<bool()> isPlaying_;
    std::thread worker_;
    bool fileCompleted_ = false;
};

} // namespace jorvo
