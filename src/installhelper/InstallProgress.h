#pragma once
// The install's progress, handed to the receiver the setup program registered (if any).
#include <string>

#include "jorvo/InstallHelper.h"

namespace jorvo::installhelper {

// Sets (null: clears) the process-wide receiver of progress reports. Any thread.
void SetProgressReceiver(InstallProgressCallback receiver);

// One install's progress bar: a range of steps, advanced one step at a time.
class InstallProgress {
public:
    // Reports step 0 of `range` with the title of the progress display.
    explicit InstallProgress(int range);
    // Advances one step and reports it with `text` (what was just done).
    void Step(const std::string& text);

private:
    void Report(const char* text) const;

    int range_;
    int step_ = 0;
};

} // namespace jorvo::installhelper
