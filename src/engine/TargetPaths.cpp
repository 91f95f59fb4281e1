#include "engine/TargetPaths.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "document/Configuration.h"
#include "engine/SeqEventTargetFactory.h"
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

} // namespace

std::string GetSkinPath(const std::string& engineName, const std::string& category)
{
    return TargetFilePath(engineName, category, ".skin");
}

std::string GetPresetPath(const std::string& engineName, const std::string& category)
{
    return TargetFilePath(engineName, category, ".presets");
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
    return PrepareUserSkinsFolder(Configuration(), shippedFolder, userFolder);
}

} // namespace jorvo
