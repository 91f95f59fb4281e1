#pragma once
// The link to the device a pack is installed on. A device is a folder reachable from this machine
// (a mounted handheld, another machine's share, or an empty folder that becomes a device) laid out
// like the handheld's file system: its settings store at the top as "registry.xml", and the paths
// its settings name ("\My Documents\Jorvo\Samples") found below the folder. Without a device
// folder the link reaches this machine's own Jorvo: its settings store, folders and defaults.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "document/Configuration.h"
#include "document/RegistryKey.h"

namespace jorvo::installhelper {

// The longest a connection may take before the device counts as missing.
inline constexpr std::chrono::milliseconds kConnectTimeout{5000};

// The handheld's own defaults for the folders the installer needs.
inline constexpr char kDeviceDocDirDefault[] = "\\My Documents\\Jorvo";
inline constexpr char kDeviceSkinsDirDefault[] = "\\Program Files\\Jorvo\\Skins";
// The device's settings store, at the top of its folder.
inline constexpr char kDeviceSettingsFile[] = "registry.xml";

class DeviceLink {
public:
    // A link to the device kept in folder `deviceRoot`; an empty root stands for this machine's
    // own Jorvo, whose program (and its Skins folder) lives in `programFolder`.
    DeviceLink(std::string deviceRoot, std::string programFolder);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Connects unless connected. False when the device did not answer within `timeout`.
    bool Connect(std::chrono::milliseconds timeout = kConnectTimeout);
    // Drops the connection; nothing when not connected.
    void Disconnect();
    // True between a successful Connect and Disconnect.
    bool IsConnected() const { return connected_; }

    // The local path of the device's sample folder ("SampleDir", its missing defaults stored as
    // Jorvo stores them). Nothing when not connected, when the settings key cannot be opened, or
    // when the setting points outside the device.
    std::optional<std::string> SampleFolder();
    // The local path of the device's skins folder ("SkinsDir"), as SampleFolder. For this
    // machine's Jorvo, first prepares the user's own skins folder as Jorvo's start does.
    std::optional<std::string> SkinsFolder();

    // The local path of `devicePath` ('\' or '/' separated, relative to the device's top); nothing
    // when it would leave the device through "..". For this machine's Jorvo the path itself.
    std::optional<std::string> LocalPath(const std::string& devicePath) const;

private:
    bool IsThisMachine() const { return deviceRoot_.empty(); }
    std::string SettingsFile() const;
    std::optional<std::string> LocalFolder(std::string (CConfiguration::*getter)());
    bool OpenDeviceKey();

    std::string deviceRoot_;
    std::string programFolder_;
    bool connected_ = false;
    std::unique_ptr<CConfiguration> localConfiguration_; // this machine's Jorvo, while connected
    RegistryKey deviceKey_;                              // a device folder's settings key, while connected
};

} // namespace jorvo::installhelper
