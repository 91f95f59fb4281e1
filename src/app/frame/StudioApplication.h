#pragma once
// Starting and ending the studio window. UI thread (the program's main thread).
#include <string>
#include <vector>

namespace jorvo {

// True when a window can be shown: $DISPLAY or $WAYLAND_DISPLAY is set, or a Qt platform was
// chosen explicitly ($QT_QPA_PLATFORM).
bool HasDisplay();

// True when the command line `arguments` (without the program's name) asks for the studio window
// rather than a batch command: nothing, or just the path of an existing document, while a
// display is available.
bool WantsStudioWindow(const std::vector<std::string>& arguments);

// Runs the studio window until it is closed and returns the exit code. Start-up order: the
// plug-in scan, the settings root, the splash window, the document type's registration, a new
// document with the default view shown, `documentPath` opened when given (an ".xml" file is
// imported), the main window shown and the splash gone, and on the very first start the help.
int RunStudioWindow(int& argc, char** argv, const std::string& documentPath);

} // namespace jorvo
