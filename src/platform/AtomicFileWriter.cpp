#include "platform/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace jorvo {
namespace {

constexpr int kNameAttempts = 100;

// A name no other writer of this process uses; another process (or a leftover of a crashed one
// with the same id) is caught by O_EXCL and the next number is tried.
std::filesystem::path TemporaryName(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++);
    return target.parent_path() / name;
}

// Best effort: makes the rename itself durable. The new file is already in place either way.
void SyncFolder(const std::filesystem::path& folder)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

bool AtomicFileWriter::Open()
{
    if (descriptor_ >= 0)
        return false;
    if (target_.filename().empty())
        return Fail(EINVAL);

    struct stat existing {};
    const bool replacing = ::stat(target_.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode))
        return Fail(EISDIR);
    // A file the user made read-only stays as it is, as it would if written in place.
    if (replacing && ::access(target_.c_str(), W_OK) != 0)
        return Fail(errno);

    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path candidate = TemporaryName(target_);
        descriptor_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) {
            temporary_ = candidate;
            if (replacing)
                ::fchmod(descriptor_, existing.st_mode & 07777);
            lastError_ = 0;
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool AtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (descriptor_ < 0)
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(errno);
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicFileWriter::Commit()
{
    if (descriptor_ < 0)
        return false;
    if (::fsync(descriptor_) != 0)
        return Fail(errno);
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0)
        return Fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        return Fail(errno);
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return true;
}

bool AtomicFileWriter::Fail(int error)
{
    lastError_ = error;
    Discard();
    return false;
}

void AtomicFileWriter::Discard()
{
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

} // namespace jorvo
