#pragma once
// The byte stream through which the XML archive reads and writes files. A stream opened for
// reading reads the file; one opened for writing writes a temporary file beside the target that
// Publish puts in place, so the previous file survives every failure. Reference-counted: when
// the count drops to 0 the file is closed (an unpublished temporary file is removed). The object
// itself belongs to whoever created it. UI thread only.
#include <memory>
#include <string>

#include "document/DomByteStream.h"
#include "platform/AtomicFileWriter.h"

namespace jorvo {

class CXMLFileStream : public DomByteStream {
public:
    // A stream with no file; the reference count starts at 1.
    CXMLFileStream() = default;
    ~CXMLFileStream() override;
    CXMLFileStream(const CXMLFileStream&) = delete;
    CXMLFileStream& operator=(const CXMLFileStream&) = delete;

    // Opens an existing file for reading; false when it cannot be opened or a file is open.
    bool OpenForReading(const std::string& path);
    // Starts writing `path` through a temporary file beside it; false when that cannot be
    // created or a file is open.
    bool OpenForWriting(const std::string& path);
    // Puts everything written in place of the target and closes the stream; false when that fails
    // (the previous file untouched) or the stream is not writing.
    bool Publish();
    // True when the stream was opened for reading.
    bool IsReadOnly() const { return readOnly_; }

    StreamStatus QueryInterface(StreamInterface id, DomByteStream** object) override;
    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    StreamStatus Read(void* buffer, std::size_t size, std::size_t* count) override;
    StreamStatus Write(const void* buffer, std::size_t size, std::size_t* count) override;

    // These fail with Failure: the document object model only reads and writes in sequence.
    StreamStatus Seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) override;
    StreamStatus SetSize(std::uint64_t size) override;
    StreamStatus CopyTo(DomByteStream& target, std::uint64_t size, std::uint64_t* read,
                        std::uint64_t* written) override;
    StreamStatus Commit(std::uint32_t flags) override;
    StreamStatus Revert() override;
    StreamStatus LockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) override;
    StreamStatus UnlockRegion(std::uint64_t offset, std::uint64_t size, std::uint32_t lockType) override;
    StreamStatus Stat(std::uint64_t* size) override;
    StreamStatus Clone(DomByteStream** clone) override;

private:
    void Close();

    int descriptor_ = -1;
    std::unique_ptr<AtomicFileWriter> writer_;
    bool readOnly_ = false;
    std::uint32_t references_ = 1;
};

} // namespace jorvo
