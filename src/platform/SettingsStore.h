#pragma once
// The settings store standing in for the device registry: keys (paths such as
// "Software\Quistor\Jorvo\Settings") holding named DWORD and string values, under two roots.
//
// Everything lives in one XML file. Several processes share it (the studio, its command-line
// configuration, the install helper), so the object keeps no copy: every read parses the file as
// it is now, and every write takes an exclusive lock on "<file>.lock", re-reads the file, applies
// its one change and replaces the file atomically. A reader therefore sees either the old or the
// new file, never half of one.
//
// A file that cannot be parsed reads as empty. The next write does not overwrite it: the damaged
// file is renamed to "<file>.damaged" (or "<file>.damaged-2", ...), the user is told, and a new
// file is started, so nothing that could still be rescued by hand is lost.
//
// Key paths are separated by '\'; empty parts are ignored. Key and value names compare without
// regard to the case of A-Z, as on the device; the spelling first written is kept.
#include <cstdint>
#include <optional>
#include <string>

namespace jorvo {

// The two roots of the store.
enum class SettingsRoot { CurrentUser, ClassesRoot };

class SettingsStore {
public:
    // The file of this user's settings: $JORVO_REGISTRY when set, else
    // $XDG_CONFIG_HOME/Quistor/Jorvo/registry.xml ($XDG_CONFIG_HOME defaulting to ~/.config).
    static std::string DefaultFile();

    // A store kept in `file` (the default file when none is given). Touches nothing until used.
    explicit SettingsStore(std::string file = DefaultFile());

    // The XML file the store lives in.
    const std::string& File() const { return file_; }

    // True when `key` exists under `root`.
    bool KeyExists(SettingsRoot root, const std::string& key) const;

    // Creates `key` under `root` when missing. True when it exists afterwards.
    bool CreateKey(SettingsRoot root, const std::string& key);

    // The DWORD value `name` of `key`; nothing when the key or value is missing, or the value is
    // not a DWORD.
    std::optional<std::uint32_t> ReadDWORD(SettingsRoot root, const std::string& key, const std::string& name) const;

    // The string value `name` of `key`; nothing when the key or value is missing, or the value is
    // not a string.
    std::optional<std::string> ReadString(SettingsRoot root, const std::string& key, const std::string& name) const;

    // Stores DWORD `value` as `name` in `key`, creating the key and replacing a value of either
    // type. False when the file cannot be written or the key path is empty. UI thread: may tell
    // the user about a damaged file.
    bool WriteDWORD(SettingsRoot root, const std::string& key, const std::string& name, std::uint32_t value);

    // Stores string `value` as `name` in `key`, as WriteDWORD does. False also for a value holding
    // a zero byte, which the store cannot keep.
    bool WriteString(SettingsRoot root, const std::string& key, const std::string& name, const std::string& value);

private:
    std::string file_;
};

} // namespace jorvo
