#pragma once
// Writes a RIFF/WAVE file of 16-bit stereo frames at 44100 Hz. The 44-byte header goes out first
// with both lengths 0; frames are appended, gathered in memory and written kBufferBytes at a time
// (a render hands over a few hundred frames per chunk, and a system call each would cost more
// than rendering them); Close writes what is left and patches the lengths in. The file is written
// beside its target and renamed into place only by a successful Close, so an unfinished or failed
// file never replaces what the target held before.
//
// Threads: one thread at a time. The WAV output's worker appends; the thread that stops the
// worker (after joining it) closes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace jorvo {

class AtomicFileWriter;

class WavFileWriter {
public:
    // Bytes of the canonical header in front of the frames.
    static constexpr std::uint32_t kHeaderBytes = 44;
    // Bytes of one frame: signed 16-bit left, then right.
    static constexpr std::uint32_t kFrameBytes = 4;
    // The most frames a file can hold while its RIFF length (36 + 4 × frames) fits 32 bits.
    static constexpr std::uint32_t kMaxFrames = (0xFFFFFFFFu - (kHeaderBytes - 8)) / kFrameBytes;

    WavFileWriter();
    // Drops a file that was not closed: the target keeps its previous content.
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    // Starts a new file for `path` and writes the header with both lengths 0. False when the file
    // cannot be created there (missing folder, no permission, a folder of that name) or a file is
    // already open.
    bool Create(const std::filesystem::path& path);
    // Bytes of frames gathered before they are written.
    static constexpr std::size_t kBufferBytes = 64 * 1024;

    // Appends `frames` interleaved left/right frames. False when no file is open, a write fails
    // (it may be one of frames gathered earlier) or the file would outgrow kMaxFrames; the file
    // is then marked failed and Close refuses it. Allocates nothing.
    bool WriteFrames(const std::int16_t* samples, std::uint32_t frames);
    // Writes the gathered frames, then rewrites the header at offset 0 with the lengths held now.
    // False when no file is open or a write fails (the file is then marked failed).
    bool WriteHeader();
    // Patches the final lengths (RIFF 36 + 4 × frames, data 4 × frames) into the header and puts
    // the file in place of its target. False when nothing was open, an earlier write failed or
    // completing fails; the target then keeps its previous content.
    bool Close();
    // Drops the open file without touching the target. Nothing when none is open.
    void Abandon();

    // True between a successful Create and Close or Abandon.
    bool IsOpen() const { return file_ != nullptr; }
    // Frames appended to the open (or last) file.
    std::uint32_t FramesWritten() const { return framesWritten_; }

private:
    bool Fail();
    // Writes the gathered frames; false (the file marked failed) when that fails.
    bool WritePending();

    std::unique_ptr<AtomicFileWriter> file_;
    std::vector<std::uint8_t> pending_; // frames not yet written; kBufferBytes reserved by Create
    std::uint32_t framesWritten_ = 0;
    std::uint32_t riffLength_ = 0;
    std::uint32_t dataLength_ = 0;
    bool failed_ = false;
};

} // namespace jorvo
