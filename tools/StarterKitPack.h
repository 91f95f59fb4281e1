#pragma once
// The shipped example sample pack, "StarterKit": what a pack installer copies onto a device. Its
// samples lie in sub-folders (Drums/, Tones/) and its preset file StarterKit.presets holds two
// banks: the default bank, which every device has, and "Starter Kit", which a device gets from
// the pack. The presets name their samples as the device sees them once the pack is installed
// under its own name below the sample folder ("StarterKit/Drums/Kick.wav").
#include <string>

namespace jorvo {

// The pack's name: its folder, and the folder it is installed into on a device.
inline constexpr char kStarterKitName[] = "StarterKit";

// Writes the pack into `packsFolder` + "/StarterKit" (replacing its files). Changes the SampleDir
// setting to `packsFolder`, which the preset file's sample names are relative to. False when a
// file cannot be written or a sample cannot be read back (said on standard error or by the store).
// UI thread.
bool WriteStarterKit(const std::string& packsFolder);

} // namespace jorvo
