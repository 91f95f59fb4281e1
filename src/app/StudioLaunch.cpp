#include "app/StudioLaunch.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/Paths.h"

namespace jorvo {
namespace {

bool IsSet(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

bool HasDisplay()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

bool WantsStudioWindow(const std::vector<std::string>& arguments)
{
    if (!HasDisplay())
        return false;
    return arguments.empty() || (arguments.size() == 1 && FileExists(arguments.front()));
}

void ExecStudioProgram(char** argv)
{
    const std::string folder = ProgramFolder();
    if (folder.empty())
        return;
    const std::string studio = JoinPath(folder, kStudioProgramName);
    ::execv(studio.c_str(), argv);
}

} // namespace jorvo
