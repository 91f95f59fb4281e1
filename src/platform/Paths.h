#pragma once
// Paths and folders. Inside the program every path uses '/'; a '\' read from a setting or a file
// written on the device is accepted and converted with NormalizeSeparators.
#include <string>
#include <string_view>

namespace jorvo {

// `path` with every '\' turned into '/'.
std::string NormalizeSeparators(std::string_view path);

// `path` without one trailing '/' or '\'; "/" itself and an empty path are returned unchanged.
std::string RemoveTrailingSeparator(std::string_view path);

// `folder` + "/" + `name`; just `name` when `folder` is empty.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder holding the running program (from /proc/self/exe); empty when it cannot be read.
std::string ProgramFolder();

// The user's home folder: $HOME, else the password database's entry; empty when neither exists.
std::string HomeFolder();

// The default documents folder, $HOME/Documents/Jorvo.
std::string DefaultDocumentsFolder();

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
std::string UserConfigFolder();

// True when `path` names an existing folder (symbolic links followed).
bool FolderExists(const std::string& path);

// True when `path` names an existing regular file (symbolic links followed).
bool FileExists(const std::string& path);

// Creates `path` and any missing parents. True when `path` is a folder afterwards, false when it
// could not be created (or something other than a folder is in the way).
bool CreateFolder(const std::string& path);

} // namespace jorvo
