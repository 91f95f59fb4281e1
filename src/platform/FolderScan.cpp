#include "platform/FolderScan.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/Paths.h"

namespace jorvo {
namespace {

enum class EntryKind { Folder, File };

std::vector<std::string> ListEntries(const std::string& folder, EntryKind kind, std::string_view mask)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, std::filesystem::directory_options::skip_permission_denied,
                                                error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::error_code typeError;
        const bool isKind = kind == EntryKind::Folder ? entries->is_directory(typeError)
                                                      : entries->is_regular_file(typeError);
        std::string name = entries->path().filename().string();
        if (isKind && !typeError && (kind == EntryKind::Folder || MatchesMask(name, mask)))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

using FolderIdentity = std::pair<dev_t, ino_t>;

void ScanInto(const std::string& folder, const std::string& mask, std::set<FolderIdentity>& visited,
              std::vector<std::string>& found)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !visited.insert({info.st_dev, info.st_ino}).second)
        return;
    for (const std::string& sub : ListSubFolders(folder))
        ScanInto(JoinPath(folder, sub), mask, visited, found);
    for (const std::string& file : ListFiles(folder, mask))
        found.push_back(JoinPath(folder, file));
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask)
{
    if (mask == "*.*")
        return true;
    const std::string text = ToLowerAscii(name);
    const std::string pattern = ToLowerAscii(mask);
    // Greedy match with one backtrack point: the last '*' seen and where its run ended.
    std::size_t t = 0, p = 0;
    std::size_t star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> ListSubFolders(const std::string& folder)
{
    return ListEntries(folder, EntryKind::Folder, {});
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask)
{
    return ListEntries(folder, EntryKind::File, mask);
}

std::vector<std::string> ScanFiles(const std::string& folder, const std::string& mask)
{
    std::set<FolderIdentity> visited;
    std::vector<std::string> found;
    ScanInto(folder, mask, visited, found);
    return found;
}

} // namespace jorvo
