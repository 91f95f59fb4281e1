#pragma once
// Starting and ending the studio window. UI thread (the program's main thread).
#include <string>

namespace jorvo {

// Runs the studio window until it is closed and returns the exit code. Start-up order: the
// plug-in scan, the settings root, the splash window, the document type's registration, a new
// document with the default view shown, `documentPath` opened when given (an ".xml" file is
// imported), the main window shown and the splash gone, and on the very first start the help.
int RunStudioWindow(int& argc, char** argv, const std::string& documentPath);

} // namespace jorvo
