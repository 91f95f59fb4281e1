#include "engine/TargetPaths.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "document/Configuration.h"
#include "engine/SeqEventTargetFactory.h"
#include "platform/FolderCopy.h"
#include "platform/Paths.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

// The library registered for `engineName` among the plug-ins of `category`; nothing when none.
std::optional<std::string> FindPlugin(const std::string& engineName, const std::string& category)
{
    if (category == "Instrument")
        return SeqEventTargetFactory::FindInstrumentPlugin(engineName);
    if (category == "Effect")
        return SeqEventTargetFactory::FindEffectPlugin(engineName);
    return std::nullopt;
}

std::string TargetFilePath(const std::string& engineName, const std::string& category, const std::string& extension)
{
    const std::string fileName = engineName + extension;
    if (const std::optional<std::string> library = FindPlugin(engineName, category))
        return JoinPath(fs::path(*library).parent_path().string(), fileName);
    return JoinPath(JoinPath(Configuration().GetSkinsDir(), engineName), fileName);
}

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty without a home.
std::string UserDataFolder()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/')
        return RemoveTrailingSeparator(dataHome);
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : JoinPath(home, ".local/share");
}

} // namespace

std::string GetSkinPath(const std::string& engineName, const std::string& category)
{
    return TargetFilePath(engineName, category, ".skin");
}

std::string GetPresetPath(const std::string& engineName, const std::string& category)
{
    return TargetFilePath(engineName, category, ".presets");
}

std::string UserSkinsFolder()
{
    const std::string dataFolder = UserDataFolder();
    return dataFolder.empty() ? std::string() : JoinPath(dataFolder, "Quistor/Jorvo/Skins");
}

bool PrepareUserSkinsFolder()
{
    const std::string userFolder = UserSkinsFolder();
    if (userFolder.empty())
        return false;
    return PrepareUserSkinsFolder(JoinPath(Configuration().GetProgramFolder(), "Skins"), userFolder);
}

bool PrepareUserSkinsFolder(const std::string& shippedFolder, const std::string& userFolder)
{
    CConfiguration& configuration = Configuration();
    // Read without a default, so a missing setting stays missing until the copy succeeded.
    const std::string stored = configuration.GetString(kSkinsDirSetting);
    const std::string wanted = RemoveTrailingSeparator(NormalizeSeparators(userFolder));
    if (!stored.empty() && RemoveTrailingSeparator(NormalizeSeparators(stored)) != wanted)
        return true;
    if (!FolderExists(shippedFolder) || !CreateFolder(wanted) || !CopyMissingFiles(shippedFolder, wanted))
        return false;
    return !stored.empty() || configuration.SetSkinsDir(wanted);
}

} // namespace jorvo
