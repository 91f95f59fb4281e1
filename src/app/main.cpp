// The jorvo and jorvo-studio executables. With a command both run headless (no display needed);
// without one, or with just a document's path, they open the studio window when a display is
// available: jorvo-studio itself, jorvo by handing the command line on to jorvo-studio.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/BatchCommands.h"
#include "app/StudioLaunch.h"
#include "engine/BundledContent.h"
#include "engine/TargetPaths.h"
#include "platform/HeadlessShell.h"
#include "platform/ShellServices.h"

#ifdef JORVO_WITH_GUI
#include "app/frame/StudioApplication.h"
#endif

namespace {

extern "C" void StopPlaying(int)
{
    jorvo::InterruptBatchPlay();
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
#ifndef JORVO_WITH_GUI
    if (jorvo::WantsStudioWindow(arguments))
        jorvo::ExecStudioProgram(argv); // back here only without a studio program: show the usage
#endif
    jorvo::HeadlessShell shell;
    jorvo::ScopedShell headless(shell);
    std::signal(SIGINT, StopPlaying);
    // Shipped skins, presets and samples go where a user's own files live, so they can be
    // changed and saved even when the program's folder is read-only.
    jorvo::PrepareUserSkinsFolder();
    jorvo::InstallBundledSamples();
#ifdef JORVO_WITH_GUI
    if (jorvo::WantsStudioWindow(arguments))
        return jorvo::RunStudioWindow(argc, argv, arguments.empty() ? std::string() : arguments.front());
#endif
    return jorvo::RunBatchCommand(arguments, std::cout, std::cerr);
}
