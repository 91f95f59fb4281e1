#include "document/UserSkinsFolder.h"

#include <cstdlib>

#include "document/Configuration.h"
#include "platform/FolderCopy.h"
#include "platform/Paths.h"

namespace jorvo {
namespace {

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

std::string UserSkinsFolder()
{
    const std::string dataFolder = UserDataFolder();
    return dataFolder.empty() ? std::string() : JoinPath(dataFolder, "Quistor/Jorvo/Skins");
}

bool PrepareUserSkinsFolder(CConfiguration& configuration, const std::string& shippedFolder,
                            const std::string& userFolder)
{
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
