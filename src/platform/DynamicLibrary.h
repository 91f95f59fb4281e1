#pragma once
// A shared library loaded at run time (plug-in instruments and effects). Symbols are resolved at
// load (RTLD_NOW) so a library with missing symbols fails to load instead of failing mid-play, and
// kept local (RTLD_LOCAL) so two plug-ins may export the same names.
#include <string>

namespace jorvo {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    // Unloads the library.
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

    // Loads the library at `path`, unloading any loaded before. False (see ErrorText) on failure.
    bool Load(const std::string& path);
    // Unloads the library; nothing when none is loaded.
    void Unload();
    // True while a library is loaded.
    bool IsLoaded() const { return handle_ != nullptr; }

    // The address of the exported symbol `name`; null (see ErrorText) when absent or not loaded.
    void* Symbol(const std::string& name);

    // The loader's text for the last failure of Load or Symbol; empty after a success.
    const std::string& ErrorText() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace jorvo
