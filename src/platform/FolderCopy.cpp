#include "platform/FolderCopy.h"

#include <filesystem>
#include <system_error>

#include "platform/Paths.h"

namespace jorvo {

namespace fs = std::filesystem;

bool CopyMissingFiles(const std::string& from, const std::string& to)
{
    if (!FolderExists(from))
        return false;
    std::error_code error;
    if (fs::exists(to, error) && fs::equivalent(from, to, error))
        return true;
    if (!CreateFolder(to))
        return false;
    fs::recursive_directory_iterator entry(from, error), end;
    for (; !error && entry != end; entry.increment(error)) {
        const fs::path target = fs::path(to) / fs::relative(entry->path(), from, error);
        if (error)
            return false;
        if (entry->is_directory(error)) {
            if (!CreateFolder(target.string()))
                return false;
        } else if (entry->is_regular_file(error) && !fs::exists(fs::symlink_status(target, error))) {
            if (!fs::copy_file(entry->path(), target, fs::copy_options::skip_existing, error))
                return false;
        }
    }
    return !error;
}

} // namespace jorvo
