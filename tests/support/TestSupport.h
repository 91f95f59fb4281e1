#pragma once
// Helpers shared by the test programs.
#include <filesystem>
#include <optional>
#include <string>

namespace jorvo::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Sets an environment variable (null: removes it) for the object's lifetime, then restores it.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A user who has never run Jorvo, for the object's lifetime: an empty home folder, no XDG folders
// of their own (so settings and data go below the home folder) and no Jorvo variables set. Code
// that already holds the program's configuration must drop it (ResetConfiguration) to see it.
class FreshHome {
public:
    FreshHome();
    const std::filesystem::path& path() const { return home_.path(); }

private:
    TempDir home_;
    ScopedEnvironment homeVariable_;
    ScopedEnvironment config_;
    ScopedEnvironment data_;
    ScopedEnvironment registry_;
    ScopedEnvironment device_;
};

// Whole-file helpers; reading a missing file gives an empty string.
std::string ReadFileBytes(const std::filesystem::path& file);
void WriteFileBytes(const std::filesystem::path& file, const std::string& bytes);

} // namespace jorvo::test
