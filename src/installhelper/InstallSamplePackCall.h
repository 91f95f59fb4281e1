#pragma once
// The work behind the exported InstallSamplePack: reads the property table, connects to the
// device, installs the pack and reports the outcome back into the table.
#include <string>

#include "jorvo/InstallHelper.h"

namespace jorvo::installhelper {

// Optional input property naming the device folder; else $JORVO_DEVICE_ROOT; else this machine.
inline constexpr char kDeviceRootProperty[] = "DEVICE_ROOT";
inline constexpr char kDeviceRootVariable[] = "JORVO_DEVICE_ROOT";
inline constexpr char kPackNameProperty[] = "PACK_NAME";
inline constexpr char kFolderProperty[] = "FOLDER";
inline constexpr char kErrorProperty[] = "DLLERROR";

// Installs the pack `table` describes. 0 when installed; 1 otherwise, with the reason in
// "DLLERROR". `programFolder` is this machine's Jorvo program folder, used when the pack goes to
// this machine's own Jorvo. Never throws. The setup program's thread, one call at a time.
int RunInstallSamplePack(PropertyTable* table, const std::string& programFolder);

// The folder of the library (or program) holding this code; empty when it cannot be found.
std::string InstallHelperFolder();

} // namespace jorvo::installhelper
