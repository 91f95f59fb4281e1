#pragma once
// The sample pack shipped beside the program ("Samples" in the program folder) is copied into the
// user's sample folder, so a new user's documents find the bundled sounds by their folder-relative
// names ("Drums/Kick.wav"). The user's own files are never replaced. UI thread.
#include <string>

namespace jorvo {

// The folder of the shipped sample pack: the program folder + "/Samples".
std::string BundledSamplesFolder();

// Called once at program start: copies every bundled sample that is missing from the SampleDir
// folder into it. False when the bundled folder is missing or a folder or file cannot be created
// (files already copied stay).
bool InstallBundledSamples();

} // namespace jorvo
