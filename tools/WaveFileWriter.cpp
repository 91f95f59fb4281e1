#include "WaveFileWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace jorvo {
namespace {

constexpr std::uint32_t kSampleRate = 44100;

void PutLe16(std::string& out, std::uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutLe32(std::string& out, std::uint32_t value)
{
    PutLe16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutLe16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutChunk(std::string& out, const char* id, const std::string& body)
{
    out.append(id, 4);
    PutLe32(out, static_cast<std::uint32_t>(body.size()));
    out += body;
    if (body.size() % 2 != 0)
        out += '\0';
}

std::string FormatBody(std::uint16_t channels)
{
    std::string body;
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * 2);
    PutLe16(body, 1);
    PutLe16(body, channels);
    PutLe32(body, kSampleRate);
    PutLe32(body, kSampleRate * blockAlign);
    PutLe16(body, blockAlign);
    PutLe16(body, 16);
    return body;
}

std::int16_t ToPcm16(float value)
{
    const double scaled = std::round(static_cast<double>(value) * 32767.0);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

std::string DataBody(const SynthSound& sound)
{
    std::string body;
    const std::size_t frames = sound.channels.front().size();
    for (std::size_t frame = 0; frame < frames; ++frame)
        for (const auto& channel : sound.channels)
            PutLe16(body, static_cast<std::uint16_t>(ToPcm16(channel[frame])));
    return body;
}

// Manufacturer, product, sample period (ns), unity note, pitch fraction, SMPTE format and
// offset, loop count, extra data; then each loop: id, type 0 (forward), start, end, fraction,
// play count 0 (endless).
std::string SamplerBody(const SynthSound& sound)
{
    std::string body;
    PutLe32(body, 0);
    PutLe32(body, 0);
    PutLe32(body, 1000000000u / kSampleRate);
    PutLe32(body, static_cast<std::uint32_t>(*sound.rootNote));
    PutLe32(body, 0);
    PutLe32(body, 0);
    PutLe32(body, 0);
    PutLe32(body, sound.loop ? 1 : 0);
    PutLe32(body, 0);
    if (sound.loop) {
        PutLe32(body, 0);
        PutLe32(body, 0);
        PutLe32(body, sound.loop->first);
        PutLe32(body, sound.loop->last);
        PutLe32(body, 0);
        PutLe32(body, 0);
    }
    return body;
}

} // namespace

std::string EncodeWaveFile(const SynthSound& sound)
{
    std::string chunks = "WAVE";
    PutChunk(chunks, "fmt ", FormatBody(static_cast<std::uint16_t>(sound.channels.size())));
    if (sound.rootNote)
        PutChunk(chunks, "smpl", SamplerBody(sound));
    PutChunk(chunks, "data", DataBody(sound));
    std::string file = "RIFF";
    PutLe32(file, static_cast<std::uint32_t>(chunks.size()));
    return file + chunks;
}

bool WriteWaveFile(const std::string& sampleFolder, const SynthSound& sound)
{
    const std::filesystem::path path = std::filesystem::path(sampleFolder) / sound.relativePath;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error)
        return false;
    const std::string bytes = EncodeWaveFile(sound);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace jorvo
