#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace jorvo {
namespace {

std::string LastLoaderError(const char* fallback)
{
    const char* text = ::dlerror();
    return text ? std::string(text) : std::string(fallback);
}

} // namespace

DynamicLibrary::~DynamicLibrary()
{
    Unload();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool DynamicLibrary::Load(const std::string& path)
{
    Unload();
    ::dlerror();
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    error_ = handle_ ? std::string() : LastLoaderError("the library could not be loaded");
    return handle_ != nullptr;
}

void DynamicLibrary::Unload()
{
    if (handle_)
        ::dlclose(handle_);
    handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const std::string& name)
{
    if (!handle_) {
        error_ = "no library is loaded";
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(handle_, name.c_str());
    error_ = address ? std::string() : LastLoaderError("the symbol was not found");
    return address;
}

} // namespace jorvo
