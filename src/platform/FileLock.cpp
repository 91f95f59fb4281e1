#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace jorvo {

FileLock::FileLock(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return;
    int result;
    do {
        result = ::flock(descriptor, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(descriptor);
        return;
    }
    descriptor_ = descriptor;
}

FileLock::~FileLock()
{
    if (descriptor_ >= 0)
        ::close(descriptor_); // closing the last descriptor releases the lock
}

} // namespace jorvo
