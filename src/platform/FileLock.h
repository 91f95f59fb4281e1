#pragma once
// An exclusive advisory lock (flock) on a lock file, shared by every process that uses the same
// file. Two FileLock objects in one process exclude each other too.
#include <string>

namespace jorvo {

class FileLock {
public:
    // Opens `path` (creating it) and waits until this process holds the lock alone.
    explicit FileLock(const std::string& path);
    // Releases the lock.
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // True when the lock is held; false when the lock file could not be opened or locked.
    bool IsLocked() const { return descriptor_ >= 0; }

private:
    int descriptor_ = -1;
};

} // namespace jorvo
