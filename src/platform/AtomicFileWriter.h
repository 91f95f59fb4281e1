#pragma once
// Writes a file so that the previous one is never lost: the bytes go to a temporary file beside
// the target, and only a successful Commit renames it over the target.
#include <cstddef>
#include <filesystem>

namespace jorvo {

class AtomicFileWriter {
public:
    // Prepares to write `target`; nothing touches the file system until Open.
    explicit AtomicFileWriter(std::filesystem::path target);
    // Removes the temporary file unless Commit succeeded.
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates a temporary file with a unique name in the target's folder. False when the folder
    // cannot take it, when the target is a folder or an existing file we may not write, or when
    // already open.
    bool Open();
    // Appends `size` bytes to the temporary file. False when not open or the write fails.
    bool Write(const void* data, std::size_t size);
    // Flushes the temporary file to disk and renames it over the target; only now is the previous
    // file replaced. False (target untouched, temporary file removed) when any step fails.
    bool Commit();

    // The file being written.
    const std::filesystem::path& Target() const { return target_; }
    // The temporary file while open, else an empty path.
    const std::filesystem::path& TemporaryPath() const { return temporary_; }
    // The system error number of the last failure, 0 when none.
    int LastError() const { return lastError_; }

private:
    bool Fail(int error);
    void Discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int descriptor_ = -1;
    int lastError_ = 0;
};

} // namespace jorvo
