#pragma once
// The byte-stream interface the document object model loads from and saves to. Streams are
// reference-counted; the operations past Write exist for callers that probe a stream and may
// answer Failure.
#include <cstddef>
#include <cstdint>

namespace jorvo {

// Results of stream operations: Success, the non-error "nothing more" status, or a failure.
enum class StreamStatus { Success = 0, False = 1, Failure, NoInterface };

// Interfaces a stream may be asked for.
enum class StreamInterface { Unknown, ByteStream, Other };

// Where a seek counts from.
enum class SeekOrigin { Begin, Current, End };

class DomByteStream {
public:
    virtual ~DomByteStream() = default;

    // Answers this object with a reference added for Unknown and ByteStream; NoInterface (and
    // null) otherwise.
    virtual StreamStatus QueryInterface(StreamInterface id, DomByteStream** object) = 0;
    // Adds a reference; returns the new count.
    virtual std::uint32_t AddRef() = 0;
    // Drops a reference; returns the new count.
    virtual std::uint32_t Release() = 0;

    // Reads up to `size` bytes; `count` (may be null) receives how many. Success when at least
    // one byte was read, False at the end, Failure on an error.
    virtual StreamStatus Read(void* buffer, std::size_t size, std::size_t* count) = 0;
    // Writes `size` bytes; `count` (may be null) receives how many. Success or Failure.
    virtual StreamStatus Write(const void* buffer, std::size_t size, std::size_t* count) = 0;

    // Moves the position; `position` (may be null) receives the new one.
    virtual StreamStatus Seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) = 0;
    // Changes the stream's size.
    virtual StreamStatus SetSize(std::uint64_t size) = 0;
    // Copies `size` bytes to `target`; the counts (may be null) receive what was read and written.
    virtual StreamStatus CopyTo(DomByteStream& target, std::uint64_t size, std::uint64_t* read,
                                std::uint64_t* written) = 0;
    // Makes written data final.
    virtual StreamStatus Commit(std::uint32_t flags) = 0;
    // Discards changes since the last Commit.
    virtual StreamStatus Revert() = 0;
    // Locks a byte range.
    virtual StreamStatus LockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) = 0;
    // Unlocks a byte range.
    virtual StreamStatus UnlockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) = 0;
    // Reports the stream's size in `size` (may be null).
    virtual StreamStatus Stat(std::uint64_t* size) = 0;
    // Creates a second stream over the same data in `clone` (null on failure).
    virtual StreamStatus Clone(DomByteStream** clone) = 0;
};

} // namespace jorvo
