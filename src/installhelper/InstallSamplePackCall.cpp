#include "installhelper/InstallSamplePackCall.h"

#include <cstdlib>
#include <dlfcn.h>
#include <exception>
#include <filesystem>

#include "installhelper/DeviceLink.h"
#include "installhelper/InstallHelperMessages.h"
#include "installhelper/PropertyTableAccess.h"
#include "installhelper/SamplePackInstaller.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo::installhelper {
namespace {

std::string DeviceRoot(const PropertyTable* table)
{
    std::string root = GetProperty(table, kDeviceRootProperty);
    if (root.empty()) {
        if (const char* variable = std::getenv(kDeviceRootVariable))
            root = variable;
    }
    return root;
}

// The pack name becomes one folder on the device, so it may not climb out of the sample folder.
bool IsValidPackName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

int Install(PropertyTable* table, const std::string& programFolder)
{
    DeviceLink device(DeviceRoot(table), programFolder);
    if (!device.Connect()) {
        SetProperty(table, kErrorProperty, kConnectFailed);
        return 1;
    }
    const std::string packName = GetProperty(table, kPackNameProperty);
    const std::string folder = GetProperty(table, kFolderProperty);
    if (!IsValidPackName(packName)) {
        SetProperty(table, kErrorProperty, kInvalidPackName);
        return 1;
    }
    if (folder.empty()) {
        SetProperty(table, kErrorProperty, kInvalidInstallFolder);
        return 1;
    }
    SamplePackInstaller installer(device);
    if (!installer.Install(packName, folder)) {
        SetProperty(table, kErrorProperty, installer.LastError());
        return 1;
    }
    return 0;
}

} // namespace

int RunInstallSamplePack(PropertyTable* table, const std::string& programFolder)
{
    try {
        const WaitCursor wait;
        return Install(table, programFolder);
    } catch (const std::exception& error) {
        SetProperty(table, kErrorProperty, FormatText(kUnexpectedFailure, {error.what()}));
    } catch (...) {
        SetProperty(table, kErrorProperty, FormatText(kUnexpectedFailure, {"unknown error"}));
    }
    return 1;
}

std::string InstallHelperFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void*>(&InstallHelperFolder), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::string() : file.parent_path().string();
}

} // namespace jorvo::installhelper
