#pragma once
// The byte streams a binary archive is bound to: a file, or a growable block of memory.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace jorvo {

class AtomicFileWriter;

// A seekable byte stream. Errors of the underlying device raise ArchiveException (Generic).
class ArchiveStream {
public:
    virtual ~ArchiveStream() = default;

    // Reads up to `size` bytes into `data` and returns how many were read (0 at the end).
    virtual std::size_t Read(void* data, std::size_t size) = 0;

    // Writes `size` bytes at the current position, overwriting or extending the stream.
    virtual void Write(const void* data, std::size_t size) = 0;

    // The current position in bytes from the start.
    virtual std::uint64_t Position() const = 0;

    // Moves to `position`; a position past the end raises ArchiveException (EndOfFile).
    virtual void Seek(std::uint64_t position) = 0;

    // The stream's length in bytes.
    virtual std::uint64_t Size() const = 0;

    // The file behind the stream, named in error reports; empty for memory.
    virtual std::string Name() const { return {}; }
};

// A growable block of memory; reading starts at the beginning.
class MemoryStream : public ArchiveStream {
public:
    MemoryStream() = default;
    // A stream over a copy of `bytes`, positioned at the start.
    explicit MemoryStream(std::vector<std::uint8_t> bytes);
    explicit MemoryStream(const std::string& bytes);

    std::size_t Read(void* data, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;
    std::uint64_t Position() const override { return position_; }
    void Seek(std::uint64_t position) override;
    std::uint64_t Size() const override { return bytes_.size(); }

    // The whole content.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    // The whole content as a byte string (handy for comparisons).
    std::string BytesAsString() const { return std::string(bytes_.begin(), bytes_.end()); }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// A file opened either for reading or for writing. A writer gathers the file in memory (so it can
// move back and patch what it wrote) and on Commit() writes it to a temporary file beside the
// target that then replaces it, so a failed save never destroys the previous file; a writer
// destroyed without Commit() leaves the previous file as it was.
class FileStream : public ArchiveStream {
public:
    // Opens `path` for reading; raises ArchiveException (Generic, with the path) when it cannot.
    static std::unique_ptr<FileStream> OpenForReading(const std::filesystem::path& path);

    // Starts writing `path`; raises ArchiveException (Generic, with the path) when it cannot.
    static std::unique_ptr<FileStream> CreateForWriting(const std::filesystem::path& path);

    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    std::size_t Read(void* data, std::size_t size) override;
    void Write(const void* data, std::size_t size) override;
    std::uint64_t Position() const override;
    void Seek(std::uint64_t position) override;
    std::uint64_t Size() const override;
    std::string Name() const override { return path_.string(); }

    // Writer only: makes the written bytes the file's content. Raises ArchiveException (Generic)
    // when the file cannot be completed; the previous file is then left as it was.
    void Commit();

    // The file this stream reads or writes.
    const std::filesystem::path& Path() const { return path_; }

private:
    explicit FileStream(std::filesystem::path path);
    [[noreturn]] void Fail() const;

    std::filesystem::path path_;
    int descriptor_ = -1;                      // reader: the open file
    std::unique_ptr<AtomicFileWriter> writer_; // writer: the temporary file, opened at creation
    MemoryStream pending_;                     // writer: the content until Commit
};

} // namespace jorvo
