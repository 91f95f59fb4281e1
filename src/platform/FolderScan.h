#pragma once
// Folder scans with file masks ("*.wav", "*.*", "*.PatternBank"). Results come in name order so
// that they do not depend on the file system; a folder that cannot be read yields nothing.
#include <string>
#include <string_view>
#include <vector>

namespace jorvo {

// True when file name `name` matches `mask`: '*' stands for any run of characters, '?' for one,
// letters match in either case, and "*.*" (like "*") matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);

// Names (not paths) of the sub-folders of `folder`, in name order.
std::vector<std::string> ListSubFolders(const std::string& folder);

// Names (not paths) of the files in `folder` that match `mask`, in name order.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& mask);

// Full paths of the files matching `mask` in `folder` and below, depth first: the files of each
// sub-folder (in name order, recursively) come before the folder's own files. A folder reached
// twice through symbolic links is scanned once.
std::vector<std::string> ScanFiles(const std::string& folder, const std::string& mask);

} // namespace jorvo
