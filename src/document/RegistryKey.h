#pragma once
// One open key of the settings store, with reads that store the supplied default when the value
// is missing, so the store always shows the values in force. Booleans are kept as DWORDs 0 and 1.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/SettingsStore.h"

namespace jorvo {

class RegistryKey {
public:
    // A closed key of `store` (the default settings file when none is given).
    explicit RegistryKey(SettingsStore store = SettingsStore());

    // Opens key `path` under `root`, creating it when missing; closes any key opened before.
    // False, leaving the key closed, when it neither exists nor can be created.
    bool Create(SettingsRoot root, const std::string& path);
    // Closes the key; reads then give their defaults and writes fail.
    void Close();
    // True while a key is open.
    bool IsOpen() const { return open_; }
    // The store the key lives in.
    const SettingsStore& Store() const { return store_; }

    // The DWORD `name`, or nothing when the key is closed or the value is missing or not a DWORD.
    std::optional<std::uint32_t> QueryDWORD(const std::string& name) const;
    // The string `name`, or nothing when the key is closed or the value is missing or not a string.
    std::optional<std::string> QueryString(const std::string& name) const;

    // The DWORD `name`; when missing, `fallback` is stored and returned.
    std::uint32_t GetDWORD(const std::string& name, std::uint32_t fallback);
    // The string `name`; when missing, `fallback` is stored and returned.
    std::string GetString(const std::string& name, const std::string& fallback);
    // The boolean `name` (any non-zero DWORD is true); when missing, `fallback` is stored and returned.
    bool GetBool(const std::string& name, bool fallback);

    // Stores DWORD `value` as `name`. False when the key is closed or the store cannot be written.
    bool SetDWORD(const std::string& name, std::uint32_t value);
    // Stores string `value` as `name`. False as for SetDWORD, or for a value with a zero byte.
    bool SetString(const std::string& name, const std::string& value);
    // Stores `value` as DWORD 1 or 0. False as for SetDWORD.
    bool SetBool(const std::string& name, bool value);

private:
    SettingsStore store_;
    SettingsRoot root_ = SettingsRoot::CurrentUser;
    std::string path_;
    bool open_ = false;
};

} // namespace jorvo
