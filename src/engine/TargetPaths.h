#pragma once
// Where each instrument and effect type keeps its skin file and its preset file, and the user's
// writable skins folder. A plug-in type keeps both beside its library; a built-in type in a folder
// of its own name below the skins folder ("Skins/Sampler/Sampler.presets"). UI thread only.
#include <string>

namespace jorvo {

// The skin file of engine `engineName` in `category` ("Instrument" or "Effect"): the plug-in
// library's folder + "/<engine>.skin" when a plug-in of that category has the name, else the
// SkinsDir setting + "/<engine>/<engine>.skin". Runs the plug-in scan when it has not run.
std::string GetSkinPath(const std::string& engineName, const std::string& category);

// The preset file of engine `engineName` in `category`, placed as GetSkinPath places the skin,
// with the extension ".presets".
std::string GetPresetPath(const std::string& engineName, const std::string& category);

// The user's own skins folder: $XDG_DATA_HOME (when absolute, else $HOME/.local/share) +
// "/Quistor/Jorvo/Skins"; empty when there is no home folder.
std::string UserSkinsFolder();

// Called once at program start, so that presets the user saves persist even where the program's
// own folder is read-only: copies the shipped skins (the program folder's "Skins") into
// UserSkinsFolder() and makes that the SkinsDir default. See the overload.
bool PrepareUserSkinsFolder();

// Copies every file below `shippedFolder` that is missing below `userFolder` (never replacing a
// file there), when the SkinsDir setting is missing or already names `userFolder`; when it was
// missing, stores `userFolder` as SkinsDir. A SkinsDir the user chose elsewhere is left alone
// (true, nothing copied). False, with the setting left as it was, when the shipped folder does not
// exist or a folder or file cannot be created; files already copied stay.
bool PrepareUserSkinsFolder(const std::string& shippedFolder, const std::string& userFolder);

} // namespace jorvo
