// The WAV reader: RIFF chunks, the format, the sampler chunk and the frames.
#include "FuzzSupport.h"

#include <sstream>

#include "audio/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    jorvo::SampleRecord sample;
    jorvo::ReadWav(in, sample);
    return 0;
}
