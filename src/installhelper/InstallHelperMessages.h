#pragma once
// Every text the install helper puts into "DLLERROR" or shows; format strings take a path.

namespace jorvo::installhelper {

inline constexpr char kConnectFailed[] = "Unable to connect to Remote Device\nCheck your PocketPC is connected.";
inline constexpr char kInvalidPackName[] = "Invalid Pack Name";
inline constexpr char kInvalidInstallFolder[] = "Invalid Install Folder";
// An unexpected failure inside the call (out of memory and the like), with its own text.
inline constexpr char kUnexpectedFailure[] = "Installation failed: %s";

inline constexpr char kRemoteRegistryFailed[] = "Failed to Connect to Remote Registry";
inline constexpr char kNoDestinationSampleFolder[] = "Failed to Find Destination Sample Folder";
inline constexpr char kNoSourcePresetFile[] = "Failed to find source preset file.";
inline constexpr char kSourcePresetIsFolder[] = "Failed to locate source preset file %s.";
inline constexpr char kNoTemporaryFile[] = "Failed to Get Temporary filename";

inline constexpr char kOpenSourceFile[] = "Failed to open Source file %s";
inline constexpr char kCreateDestinationFile[] = "Failed to Create Destination file %s";
inline constexpr char kWriteDestinationFile[] = "Failed to Write to Destination file %s";
inline constexpr char kOpenDeviceSourceFile[] = "Failed to Open Source file %s";
inline constexpr char kOpenDestFile[] = "Failed to open Dest file %s";
inline constexpr char kReadSourceFile[] = "Failed to Read source file %s";

inline constexpr char kCreatePresetDocument[] = "Failed to Create source preset document";
inline constexpr char kPresetParseError[] = "Error reading Source preset file\n%s\nLine %d, Col %d.";
inline constexpr char kPresetLoadFailed[] = "Failed to load source preset file\n%s\n%s";
inline constexpr char kNoDestinationRoot[] = "Failed to Get root node of dest preset file";
inline constexpr char kNoPresets[] = "No Presets found in preset file";
inline constexpr char kAppendFailed[] = "Error Appending Preset file";
inline constexpr char kSaveFailed[] = "Failed to save file %s";

// The title of the progress display.
inline constexpr char kProgressTitle[] = "Installing, Please Wait.";

} // namespace jorvo::installhelper
