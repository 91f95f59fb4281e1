#pragma once
// Where each instrument and effect type keeps its skin file and its preset file, and the user's
// writable skins folder. A plug-in type keeps both beside its library; a built-in type in a folder
// of its own name below the skins folder ("Skins/Sampler/Sampler.presets"). UI thread only.
#include <string>

#include "document/UserSkinsFolder.h"

namespace jorvo {

// The skin file of engine `engineName` in `category` ("Instrument" or "Effect"): the plug-in
// library's folder + "/<engine>.skin" when a plug-in of that category has the name, else the
// SkinsDir setting + "/<engine>/<engine>.skin". Runs the plug-in scan when it has not run.
std::string GetSkinPath(const std::string& engineName, const std::string& category);

// The preset file of engine `engineName` in `category`, placed as GetSkinPath places the skin,
// with the extension ".presets".
std::string GetPresetPath(const std::string& engineName, const std::string& category);

// Called once at program start, so that presets the user saves persist even where the program's
// own folder is read-only: copies the shipped skins (the program folder's "Skins") into
// UserSkinsFolder() and makes that the SkinsDir default. See the overload.
bool PrepareUserSkinsFolder();

// PrepareUserSkinsFolder with the program's configuration.
bool PrepareUserSkinsFolder(const std::string& shippedFolder, const std::string& userFolder);

} // namespace jorvo
