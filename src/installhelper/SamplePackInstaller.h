#pragma once
// Installs one sample pack on a connected device: the pack's WAV files go into a folder named
// after the pack below the device's sample folder (sub-folders kept), and the pack's presets are
// merged into the sampler's preset file in the device's skins folder.
#include <set>
#include <string>
#include <utility>

#include "installhelper/DeviceLink.h"
#include "installhelper/InstallProgress.h"

namespace jorvo::installhelper {

class SamplePackInstaller {
public:
    // An installer onto `device`, which must stay connected while it works.
    explicit SamplePackInstaller(DeviceLink& device) : device_(device) {}

    // Installs pack `packName` from folder `folder` of this machine. False with LastError set;
    // sample files copied before a failure stay on the device.
    bool Install(const std::string& packName, const std::string& folder);
    // The text of the last failure; empty when none.
    const std::string& LastError() const { return lastError_; }

    // A folder's device and inode numbers, to notice a folder reached twice.
    using FolderIdentity = std::pair<unsigned long, unsigned long>;

private:

    bool CopySampleFolder(const std::string& folder, const std::string& deviceFolder, InstallProgress& progress,
                          std::set<FolderIdentity>& visited);
    bool FindSourcePresetFile(const std::string& folder, std::string& presetFile);
    bool MergePresets(const std::string& packPresets, InstallProgress& progress);
    bool FetchDevicePresets(const std::string& devicePresets, const std::string& localCopy);
    bool CopyToDevice(const std::string& file, const std::string& deviceFolder, const std::string& deviceFile);
    bool CopyFromDevice(const std::string& deviceFile, const std::string& file);
    bool Fail(std::string text);

    DeviceLink& device_;
    std::string lastError_;
};

} // namespace jorvo::installhelper
