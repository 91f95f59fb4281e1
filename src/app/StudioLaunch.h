#pragma once
// Which of the two programs a command line is for. `jorvo` runs the batch commands and needs no
// display libraries, so rendering and playing start quickly; the studio window lives in
// `jorvo-studio` beside it, which `jorvo` hands a window's command line to.
#include <string>
#include <vector>

namespace jorvo {

// The studio window's program, in the same folder as `jorvo`.
inline constexpr const char* kStudioProgramName = "jorvo-studio";

// True when a window can be shown: $DISPLAY or $WAYLAND_DISPLAY is set, or a Qt platform was
// chosen explicitly ($QT_QPA_PLATFORM).
bool HasDisplay();

// True when the command line `arguments` (without the program's name) asks for the studio window
// rather than a batch command: nothing, or just the path of an existing document, while a
// display is available.
bool WantsStudioWindow(const std::vector<std::string>& arguments);

// Replaces this process with the studio program beside it, passing `argv` on. Returns only when
// that program cannot be started (built without the window, or removed).
void ExecStudioProgram(char** argv);

} // namespace jorvo
