#include "document/XMLFileStream.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace jorvo {

CXMLFileStream::~CXMLFileStream()
{
    Close();
}

bool CXMLFileStream::OpenForReading(const std::string& path)
{
    if (descriptor_ >= 0 || writer_)
        return false;
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    readOnly_ = descriptor_ >= 0;
    return readOnly_;
}

bool CXMLFileStream::OpenForWriting(const std::string& path)
{
    if (descriptor_ >= 0 || writer_)
        return false;
    auto writer = std::make_unique<AtomicFileWriter>(path);
    if (!writer->Open())
        return false;
    writer_ = std::move(writer);
    readOnly_ = false;
    return true;
}

bool CXMLFileStream::Publish()
{
    if (!writer_)
        return false;
    const bool published = writer_->Commit();
    writer_.reset();
    return published;
}

StreamStatus CXMLFileStream::QueryInterface(StreamInterface id, DomByteStream** object)
{
    if (object == nullptr)
        return StreamStatus::Failure;
    if (id != StreamInterface::Unknown && id != StreamInterface::ByteStream) {
        *object = nullptr;
        return StreamStatus::NoInterface;
    }
    *object = this;
    AddRef();
    return StreamStatus::Success;
}

std::uint32_t CXMLFileStream::AddRef()
{
    return ++references_;
}

std::uint32_t CXMLFileStream::Release()
{
    if (references_ == 0)
        return 0;
    if (--references_ == 0)
        Close();
    return references_;
}

StreamStatus CXMLFileStream::Read(void* buffer, std::size_t size, std::size_t* count)
{
    if (!readOnly_ || descriptor_ < 0)
        return StreamStatus::Failure;
    ssize_t got = 0;
    do {
        got = ::read(descriptor_, buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got < 0)
        return StreamStatus::Failure;
    if (count != nullptr)
        *count = static_cast<std::size_t>(got);
    return got > 0 ? StreamStatus::Success : StreamStatus::False;
}

StreamStatus CXMLFileStream::Write(const void* buffer, std::size_t size, std::size_t* count)
{
    if (readOnly_ || !writer_ || !writer_->Write(buffer, size))
        return StreamStatus::Failure;
    if (count != nullptr)
        *count = size;
    return StreamStatus::Success;
}

StreamStatus CXMLFileStream::Seek(std::int64_t, SeekOrigin, std::uint64_t*)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::SetSize(std::uint64_t)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::CopyTo(DomByteStream&, std::uint64_t, std::uint64_t*, std::uint64_t*)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::Commit(std::uint32_t)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::Revert()
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::LockRegion(std::uint64_t, std::uint64_t, std::uint32_t)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::UnlockRegion(std::uint64_t, std::uint64_t, std::uint32_t)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::Stat(std::uint64_t*)
{
    return StreamStatus::Failure;
}

StreamStatus CXMLFileStream::Clone(DomByteStream** clone)
{
    if (clone != nullptr)
        *clone = nullptr;
    return StreamStatus::Failure;
}

void CXMLFileStream::Close()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    writer_.reset();
}

} // namespace jorvo
