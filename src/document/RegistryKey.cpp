#include "document/RegistryKey.h"

#include <utility>

namespace jorvo {

RegistryKey::RegistryKey(SettingsStore store) : store_(std::move(store)) {}

bool RegistryKey::Create(SettingsRoot root, const std::string& path)
{
    Close();
    if (!store_.KeyExists(root, path) && !store_.CreateKey(root, path))
        return false;
    root_ = root;
    path_ = path;
    open_ = true;
    return true;
}

void RegistryKey::Close()
{
    open_ = false;
    path_.clear();
}

std::optional<std::uint32_t> RegistryKey::QueryDWORD(const std::string& name) const
{
    return open_ ? store_.ReadDWORD(root_, path_, name) : std::nullopt;
}

std::optional<std::string> RegistryKey::QueryString(const std::string& name) const
{
    return open_ ? store_.ReadString(root_, path_, name) : std::nullopt;
}

std::uint32_t RegistryKey::GetDWORD(const std::string& name, std::uint32_t fallback)
{
    if (const std::optional<std::uint32_t> value = QueryDWORD(name))
        return *value;
    SetDWORD(name, fallback);
    return fallback;
}

std::string RegistryKey::GetString(const std::string& name, const std::string& fallback)
{
    if (std::optional<std::string> value = QueryString(name))
        return std::move(*value);
    SetString(name, fallback);
    return fallback;
}

bool RegistryKey::GetBool(const std::string& name, bool fallback)
{
    return GetDWORD(name, fallback ? 1 : 0) != 0;
}

bool RegistryKey::SetDWORD(const std::string& name, std::uint32_t value)
{
    return open_ && store_.WriteDWORD(root_, path_, name, value);
}

bool RegistryKey::SetString(const std::string& name, const std::string& value)
{
    return open_ && store_.WriteString(root_, path_, name, value);
}

bool RegistryKey::SetBool(const std::string& name, bool value)
{
    return SetDWORD(name, value ? 1 : 0);
}

} // namespace jorvo
