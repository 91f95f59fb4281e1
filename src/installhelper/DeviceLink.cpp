#include "installhelper/DeviceLink.h"

#include <sstream>
#include <utility>

#include "document/UserSkinsFolder.h"
#include "installhelper/ReachabilityProbe.h"
#include "platform/Paths.h"

namespace jorvo::installhelper {

DeviceLink::DeviceLink(std::string deviceRoot, std::string programFolder)
    : deviceRoot_(RemoveTrailingSeparator(std::move(deviceRoot))),
      programFolder_(std::move(programFolder)),
      deviceKey_(SettingsStore(SettingsFile()))
{
}

DeviceLink::~DeviceLink()
{
    Disconnect();
}

std::string DeviceLink::SettingsFile() const
{
    return IsThisMachine() ? SettingsStore::DefaultFile() : JoinPath(deviceRoot_, kDeviceSettingsFile);
}

bool DeviceLink::Connect(std::chrono::milliseconds timeout)
{
    if (connected_)
        return true;
    if (!ProbeReachable(deviceRoot_, SettingsFile(), timeout))
        return false;
    if (IsThisMachine())
        localConfiguration_ = std::make_unique<CConfiguration>(SettingsStore(SettingsFile()), programFolder_);
    connected_ = true;
    return true;
}

void DeviceLink::Disconnect()
{
    localConfiguration_.reset();
    deviceKey_.Close();
    connected_ = false;
}

std::optional<std::string> DeviceLink::SampleFolder()
{
    if (IsThisMachine())
        return LocalFolder(&CConfiguration::GetSampleDir);
    if (!OpenDeviceKey())
        return std::nullopt;
    if (const std::optional<std::string> stored = deviceKey_.QueryString(kSampleDirSetting))
        return LocalPath(*stored);
    // As on the handheld: the sample folder defaults below the document folder.
    const std::string documents = deviceKey_.GetString(kDefaultDocDirSetting, kDeviceDocDirDefault);
    return LocalPath(deviceKey_.GetString(kSampleDirSetting, RemoveTrailingSeparator(documents) + "\\Samples"));
}

std::optional<std::string> DeviceLink::SkinsFolder()
{
    if (IsThisMachine()) {
        // As Jorvo does at start: its shipped skins go to the user's own folder, which becomes
        // SkinsDir, so the merged presets land where Jorvo looks and its program folder stays as
        // shipped (and may be read-only). When that cannot be done, Jorvo falls back to the
        // program folder, and so does the installer.
        if (connected_)
            PrepareUserSkinsFolder(*localConfiguration_, JoinPath(programFolder_, "Skins"), UserSkinsFolder());
        return LocalFolder(&CConfiguration::GetSkinsDir);
    }
    if (!OpenDeviceKey())
        return std::nullopt;
    return LocalPath(deviceKey_.GetString(kSkinsDirSetting, kDeviceSkinsDirDefault));
}

std::optional<std::string> DeviceLink::LocalFolder(std::string (CConfiguration::*getter)())
{
    if (!connected_ || !localConfiguration_->Store().KeyExists(SettingsRoot::CurrentUser, kSettingsKey))
        return std::nullopt;
    return ((*localConfiguration_).*getter)();
}

bool DeviceLink::OpenDeviceKey()
{
    return connected_ && (deviceKey_.IsOpen() || deviceKey_.Create(SettingsRoot::CurrentUser, kSettingsKey));
}

std::optional<std::string> DeviceLink::LocalPath(const std::string& devicePath) const
{
    const std::string path = NormalizeSeparators(devicePath);
    if (IsThisMachine())
        return path;
    std::string local = deviceRoot_;
    std::istringstream parts(path);
    for (std::string part; std::getline(parts, part, '/');) {
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".")
            local = JoinPath(local, part);
    }
    return local;
}

} // namespace jorvo::installhelper
