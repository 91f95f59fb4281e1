#pragma once
// Finds out whether a device folder answers, without letting a hung mount hang the caller: the
// looking is done by a child process, which is given up on (and killed) after the time-out.
#include <chrono>
#include <string>

namespace jorvo::installhelper {

// True when, within `timeout`, `folder` (unless empty) turned out to be a folder and
// `settingsFile` either does not exist or yielded its first byte. False on a time-out, when a
// child process cannot be started, or when the check failed.
bool ProbeReachable(const std::string& folder, const std::string& settingsFile, std::chrono::milliseconds timeout);

} // namespace jorvo::installhelper
