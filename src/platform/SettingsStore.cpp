#include "platform/SettingsStore.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pugixml.hpp>
#include <sstream>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/AtomicFileWriter.h"
#include "platform/FileLock.h"
#include "platform/TextFormat.h"
#include "platform/Paths.h"
#include "platform/PlatformMessages.h"
#include "platform/ShellServices.h"

// The file, element by element (names and attributes are part of the format; never rename them):
//
//   <Registry>                                   root element
//     <CurrentUser>                              one element per root: CurrentUser, ClassesRoot
//       <Key Name="Software\Quistor\Jorvo\Settings">        one per key, Name = its full path
//         <Value Name="FlashLED" Type="DWORD" Data="0"/>    Data in decimal
//         <Value Name="DefaultDocDir" Type="String" Data="/home/ann/Documents/Jorvo"/>
//
// The default value of a key has the empty Name "". Unknown elements are kept as they are.

namespace jorvo {
namespace {

constexpr const char* kRegistryElement = "Registry";
constexpr const char* kKeyElement = "Key";
constexpr const char* kValueElement = "Value";
constexpr const char* kNameAttribute = "Name";
constexpr const char* kTypeAttribute = "Type";
constexpr const char* kDataAttribute = "Data";
constexpr const char* kDWordType = "DWORD";
constexpr const char* kStringType = "String";

// Larger files are not settings written by us; they are treated as damaged rather than loaded.
constexpr std::size_t kLargestStoreFile = 16 * 1024 * 1024;
// How many "<file>.damaged-N" names are tried before giving up on keeping a damaged file.
constexpr int kDamagedFileNames = 1000;

enum class FileState { Absent, Valid, Damaged, Unreadable };

const char* RootElement(SettingsRoot root)
{
    return root == SettingsRoot::CurrentUser ? "CurrentUser" : "ClassesRoot";
}

// `key` with empty parts dropped; empty when no part is left.
std::string NormalKeyPath(const std::string& key)
{
    std::string normal;
    std::size_t at = 0;
    while (at <= key.size()) {
        std::size_t end = key.find('\\', at);
        if (end == std::string::npos)
            end = key.size();
        if (end > at) {
            if (!normal.empty())
                normal += '\\';
            normal.append(key, at, end - at);
        }
        at = end + 1;
    }
    return normal;
}

FileState LoadStoreFile(const std::string& file, pugi::xml_document& document)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return FileState::Absent;
    if (error || !std::filesystem::is_regular_file(status))
        return FileState::Unreadable;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return FileState::Unreadable;
    if (size > kLargestStoreFile)
        return FileState::Damaged;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return FileState::Unreadable;
    // One byte more than the size found, to notice a file that grew in between.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return FileState::Unreadable;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.empty())
        return FileState::Absent; // an empty file holds nothing that could be lost
    if (bytes.size() > kLargestStoreFile)
        return FileState::Damaged;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed || std::string_view(document.document_element().name()) != kRegistryElement) {
        document.reset();
        return FileState::Damaged;
    }
    return FileState::Valid;
}

// The child `element` of `parent` whose Name matches `name`, or an empty node.
pugi::xml_node FindNamed(pugi::xml_node parent, const char* element, std::string_view name)
{
    for (pugi::xml_node child : parent.children(element)) {
        if (EqualsIgnoringCase(child.attribute(kNameAttribute).value(), name))
            return child;
    }
    return {};
}

// The Value element `name` of `key`, read from the file as it is now; empty when absent.
struct FoundValue {
    pugi::xml_document document;
    pugi::xml_node value;
};

void FindValue(const std::string& file, SettingsRoot root, const std::string& key, const std::string& name,
               FoundValue& found)
{
    const std::string keyPath = NormalKeyPath(key);
    if (keyPath.empty() || LoadStoreFile(file, found.document) != FileState::Valid)
        return;
    const pugi::xml_node rootNode = found.document.document_element().child(RootElement(root));
    found.value = FindNamed(FindNamed(rootNode, kKeyElement, keyPath), kValueElement, name);
}

// Renames the damaged `file` to the first free "<file>.damaged[-N]"; that name, or empty on failure.
std::string KeepDamagedFile(const std::string& file)
{
    for (int n = 1; n <= kDamagedFileNames; ++n) {
        const std::string candidate = file + ".damaged" + (n == 1 ? std::string() : "-" + std::to_string(n));
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(candidate, error)))
            continue;
        std::filesystem::rename(file, candidate, error);
        return error ? std::string() : candidate;
    }
    return {};
}

bool WriteStoreFile(const std::string& file, const pugi::xml_document& document)
{
    std::ostringstream text;
    document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    const std::string bytes = text.str();
    AtomicFileWriter writer(file);
    return writer.Open() && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}

// Applies `change` to the file under the lock; `change` returns whether it changed anything.
bool ChangeStoreFile(const std::string& file, const std::function<bool(pugi::xml_node registry)>& change)
{
    const std::filesystem::path path(file);
    if (path.has_parent_path() && !CreateFolder(path.parent_path().string()))
        return false;
    std::string keptAs;
    bool written = false;
    {
        FileLock lock(file + ".lock");
        if (!lock.IsLocked())
            return false;
        pugi::xml_document document;
        const FileState state = LoadStoreFile(file, document);
        if (state == FileState::Unreadable)
            return false;
        if (state == FileState::Damaged && (keptAs = KeepDamagedFile(file)).empty())
            return false;
        if (state != FileState::Valid)
            document.append_child(kRegistryElement);
        const bool changed = change(document.document_element());
        written = (!changed && state == FileState::Valid) || WriteStoreFile(file, document);
    }
    // Told after the lock is released, so other processes do not wait on the user.
    if (!keptAs.empty()) {
        Shell().MessageBox(FormatText(kSettingsFileDamaged, {file, keptAs}), "Jorvo", MessageButtons::Ok,
                           MessageIcon::Warning);
    }
    return written;
}

// The child `element` of `parent` named `name` (any name when null), appended when missing.
pugi::xml_node EnsureChild(pugi::xml_node parent, const char* element, const std::string* name, bool& changed)
{
    pugi::xml_node child = name ? FindNamed(parent, element, *name) : parent.child(element);
    if (!child) {
        child = parent.append_child(element);
        if (name)
            child.append_attribute(kNameAttribute).set_value(name->c_str());
        changed = true;
    }
    return child;
}

pugi::xml_node EnsureKey(pugi::xml_node registry, SettingsRoot root, const std::string& keyPath, bool& changed)
{
    return EnsureChild(EnsureChild(registry, RootElement(root), nullptr, changed), kKeyElement, &keyPath, changed);
}

void SetAttribute(pugi::xml_node node, const char* attribute, const char* value, bool& changed)
{
    pugi::xml_attribute current = node.attribute(attribute);
    if (!current)
        current = node.append_attribute(attribute);
    else if (std::string_view(current.value()) == value)
        return;
    current.set_value(value);
    changed = true;
}

bool WriteValue(const std::string& file, SettingsRoot root, const std::string& key, const std::string& name,
                const char* type, const std::string& data)
{
    const std::string keyPath = NormalKeyPath(key);
    if (keyPath.empty())
        return false;
    return ChangeStoreFile(file, [&](pugi::xml_node registry) {
        bool changed = false;
        const pugi::xml_node value = EnsureChild(EnsureKey(registry, root, keyPath, changed), kValueElement, &name, changed);
        SetAttribute(value, kTypeAttribute, type, changed);
        SetAttribute(value, kDataAttribute, data.c_str(), changed);
        return changed;
    });
}

} // namespace

std::string SettingsStore::DefaultFile()
{
    const char* configured = std::getenv("JORVO_REGISTRY");
    if (configured && *configured)
        return configured;
    return JoinPath(UserConfigFolder(), "Quistor/Jorvo/registry.xml");
}

SettingsStore::SettingsStore(std::string file) : file_(std::move(file)) {}

bool SettingsStore::KeyExists(SettingsRoot root, const std::string& key) const
{
    const std::string keyPath = NormalKeyPath(key);
    pugi::xml_document document;
    if (keyPath.empty() || LoadStoreFile(file_, document) != FileState::Valid)
        return false;
    return FindNamed(document.document_element().child(RootElement(root)), kKeyElement, keyPath);
}

bool SettingsStore::CreateKey(SettingsRoot root, const std::string& key)
{
    const std::string keyPath = NormalKeyPath(key);
    if (keyPath.empty())
        return false;
    return ChangeStoreFile(file_, [&](pugi::xml_node registry) {
        bool changed = false;
        EnsureKey(registry, root, keyPath, changed);
        return changed;
    });
}

std::optional<std::uint32_t> SettingsStore::ReadDWORD(SettingsRoot root, const std::string& key,
                                                      const std::string& name) const
{
    FoundValue found;
    FindValue(file_, root, key, name, found);
    if (!found.value || std::string_view(found.value.attribute(kTypeAttribute).value()) != kDWordType)
        return std::nullopt;
    const std::string_view data = found.value.attribute(kDataAttribute).value();
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(data.data(), data.data() + data.size(), number);
    if (error != std::errc() || end != data.data() + data.size() || data.empty())
        return std::nullopt;
    return number;
}

std::optional<std::string> SettingsStore::ReadString(SettingsRoot root, const std::string& key,
                                                     const std::string& name) const
{
    FoundValue found;
    FindValue(file_, root, key, name, found);
    if (!found.value || std::string_view(found.value.attribute(kTypeAttribute).value()) != kStringType)
        return std::nullopt;
    return std::string(found.value.attribute(kDataAttribute).value());
}

bool SettingsStore::WriteDWORD(SettingsRoot root, const std::string& key, const std::string& name,
                               std::uint32_t value)
{
    return WriteValue(file_, root, key, name, kDWordType, std::to_string(value));
}

bool SettingsStore::WriteString(SettingsRoot root, const std::string& key, const std::string& name,
                                const std::string& value)
{
    if (value.find('\0') != std::string::npos || name.find('\0') != std::string::npos)
        return false;
    return WriteValue(file_, root, key, name, kStringType, value);
}

} // namespace jorvo
