#pragma once
// What every fuzz target shares: a private home folder and settings store (so fuzzing never
// touches the settings of the person running it), a shell that answers like the batch commands'
// but prints nothing, and scratch files for the loaders that read from a path.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jorvo::fuzz {

// Prepares the process on the first call; later calls do nothing.
void Prepare();

// The private folder of this process (removed at exit).
const std::string& ScratchFolder();

// Writes `size` bytes at `data` to the file `path`, creating its folders.
void WriteFileBytes(const std::string& path, const std::uint8_t* data, std::size_t size);

// Writes `size` bytes at `data` to the file `name` below the private folder and returns its path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

} // namespace jorvo::fuzz

// The entry point every target defines (libFuzzer's interface).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
