#include "document/ArchiveStreams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/ArchiveException.h"
#include "platform/AtomicFileWriter.h"

namespace jorvo {

MemoryStream::MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

MemoryStream::MemoryStream(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}

std::size_t MemoryStream::Read(void* data, std::size_t size)
{
    const std::size_t count = std::min(size, bytes_.size() - position_);
    if (count > 0)
        std::memcpy(data, bytes_.data() + position_, count);
    position_ += count;
    return count;
}

void MemoryStream::Write(const void* data, std::size_t size)
{
    if (size == 0)
        return;
    if (position_ + size > bytes_.size())
        bytes_.resize(position_ + size);
    std::memcpy(bytes_.data() + position_, data, size);
    position_ += size;
}

void MemoryStream::Seek(std::uint64_t position)
{
    if (position > bytes_.size())
        throw ArchiveException(ArchiveException::Cause::EndOfFile);
    position_ = static_cast<std::size_t>(position);
}

std::unique_ptr<FileStream> FileStream::OpenForReading(const std::filesystem::path& path)
{
    std::unique_ptr<FileStream> stream(new FileStream(path));
    stream->descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (stream->descriptor_ < 0 || ::fstat(stream->descriptor_, &status) != 0 || !S_ISREG(status.st_mode))
        stream->Fail();
    return stream;
}

std::unique_ptr<FileStream> FileStream::CreateForWriting(const std::filesystem::path& path)
{
    std::unique_ptr<FileStream> stream(new FileStream(path));
    stream->writer_ = std::make_unique<AtomicFileWriter>(path);
    if (!stream->writer_->Open())
        stream->Fail();
    return stream;
}

FileStream::FileStream(std::filesystem::path path) : path_(std::move(path)) {}

FileStream::~FileStream()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

std::size_t FileStream::Read(void* data, std::size_t size)
{
    if (writer_)
        return pending_.Read(data, size);
    std::size_t total = 0;
    while (total < size) {
        const ssize_t count = ::read(descriptor_, static_cast<char*>(data) + total, size - total);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            Fail();
        if (count == 0)
            break;
        total += static_cast<std::size_t>(count);
    }
    return total;
}

void FileStream::Write(const void* data, std::size_t size)
{
    if (!writer_)
        Fail();
    pending_.Write(data, size);
}

std::uint64_t FileStream::Position() const
{
    if (writer_)
        return pending_.Position();
    const off_t position = ::lseek(descriptor_, 0, SEEK_CUR);
    if (position < 0)
        Fail();
    return static_cast<std::uint64_t>(position);
}

void FileStream::Seek(std::uint64_t position)
{
    if (writer_)
        return pending_.Seek(position);
    if (position > Size())
        throw ArchiveException(ArchiveException::Cause::EndOfFile, path_.string());
    if (::lseek(descriptor_, static_cast<off_t>(position), SEEK_SET) < 0)
        Fail();
}

std::uint64_t FileStream::Size() const
{
    if (writer_)
        return pending_.Size();
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0)
        Fail();
    return static_cast<std::uint64_t>(status.st_size);
}

void FileStream::Commit()
{
    const auto& bytes = pending_.Bytes();
    if (!writer_ || !writer_->Write(bytes.data(), bytes.size()) || !writer_->Commit())
        Fail();
}

void FileStream::Fail() const
{
    throw ArchiveException(ArchiveException::Cause::Generic, path_.string());
}

} // namespace jorvo
