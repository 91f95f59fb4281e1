#pragma once
// Texts the sound engine shows to the user.
#include <string_view>

namespace jorvo {

// The parameter tree of a target without parameters.
inline constexpr std::string_view kNoParameters = "No Parameters";
// The parameter tree of a sampler without zones.
inline constexpr std::string_view kNoZones = "No Zones";
// Loading a preset stored under another name than the target's.
inline constexpr std::string_view kAskRenameInstrument =
    "Would you like to change the name of this instrument from '%s' to '%s' ?";
inline constexpr std::string_view kAskRenameEffect =
    "Would you like to change the name of this effect from '%s' to '%s' ?";
// Renaming into a name another member of the family already has.
inline constexpr std::string_view kNameInUse = "Name '%s' is already in use.  '%s' will be used instead.";

// Plug-in libraries; "%s" is the library's path.
inline constexpr std::string_view kPluginFileMissing =
    "Jorvo failed to find the plug-in file '%s'. You may need to reinstall this plug-in.";
inline constexpr std::string_view kPluginLoadFailed =
    "Jorvo failed to load the plug-in file '%s'. You may be running short of memory.";
inline constexpr std::string_view kPluginBadFormat = "Plug-in file '%s' has a bad format.";
inline constexpr std::string_view kPluginNoInformation =
    "Plug-in file '%s' has a bad format, Failed to get plug-in information.";
inline constexpr std::string_view kPluginCreateFailed =
    "Failed to create the plug-in '%s'. You may be low on memory or the plugin file may be corrupt.";
// The caption of the loader's own error text, shown before kPluginLoadFailed for instruments.
inline constexpr std::string_view kSystemErrorCaption = "Error";

// The target factory; "%s" is the engine name (then the error's own text).
inline constexpr std::string_view kPluginNotFound =
    "Jorvo failed to find the plug-in '%s'. Plug-ins are available from their authors; copy the "
    "plug-in file into the Plugins folder and start Jorvo again.";
inline constexpr std::string_view kCreateInstrumentFailed =
    "Jorvo failed to create Instrument %s due to the following error: %s";
inline constexpr std::string_view kCreateEffectFailed =
    "Jorvo failed to create Effect %s due to the following error: %s";

// Loading a studio: one member of a list could not be read and is left out; "%s" is the family
// ("Instrument" or "Effect"), then the member's place in its list (from 1).
inline constexpr std::string_view kStudioMemberLoadFailed =
    "Jorvo failed to load %s %s of this studio. It has been left out.";

// Deleting an instrument or effect (Yes/No).
inline constexpr std::string_view kAskDeleteTarget = "Are you sure you wish to delete '%1' ?";

// Opening a preset file (Yes/No); "%s" is the file's path.
inline constexpr std::string_view kAskResetUnreadablePresetFile =
    "Failed to Load Preset File %s.\nWould you like to reset it ?";
inline constexpr std::string_view kAskResetBadPresetFile = "Preset File %s has a bad format.\nWould you like to reset it ?";

// The preset dialog. The bank shown for the bank stored without a name.
inline constexpr std::string_view kDefaultBankName = "Default";
// Titles of the name prompts.
inline constexpr std::string_view kInsertBankTitle = "Insert Bank";
inline constexpr std::string_view kRenameBankTitle = "Rename Bank";
inline constexpr std::string_view kRenamePresetTitle = "Rename Preset";
// A preset name taken in a bank; "%s" the bank, then the preset.
inline constexpr std::string_view kPresetNameTaken = "Bank '%s' already contains a preset named '%s'.";
inline constexpr std::string_view kPresetNameBlank = "The preset name cannot be blank";
// Removing a bank (Yes/No); the closing double quote belongs to the text.
inline constexpr std::string_view kAskRemoveBank = "Are you sure you wish to remove the Bank %s ?\"";
// A preset element that the target cannot read (another engine's, or damaged); "%s" the preset,
// then the engine.
inline constexpr std::string_view kPresetUnreadable = "Preset '%s' could not be loaded into %s.";

// Titles of the selection dialogs.
inline constexpr std::string_view kSelectInstrumentTitle = "Select Instrument";
inline constexpr std::string_view kSelectEffectTitle = "Select Effect";

} // namespace jorvo
