#pragma once
// The commands of `jorvo` that need no display: render, play, export-midi, export-xml,
// import-xml, info and config. Each works on a ".jorvo" or an XML document; the document's own
// messages go to the installed shell (standard error when headless). Batch commands never open
// the real-time output, `play` aside, so what they write does not depend on the machine.
#include <iosfwd>
#include <string>
#include <vector>

namespace jorvo {

// Exit codes of the batch commands.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;   // the command's own job failed
inline constexpr int kExitUsage = 2;    // unknown command or wrong arguments

// Runs the command line `arguments` (without the program's name): results and help on `out`,
// errors on `err`. Returns one of the exit codes above. UI thread (the program's main thread).
int RunBatchCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// Stops a running `play` at the next poll; safe to call from a signal handler.
void InterruptBatchPlay();

} // namespace jorvo
