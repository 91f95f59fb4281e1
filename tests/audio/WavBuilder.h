#pragma once
// Builds WAV files byte by byte for the reader's tests, so each test states exactly which chunks
// a file holds and in which order.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace jorvo::test {

inline std::string Le16(std::uint16_t value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string Le32(std::uint32_t value)
{
    return Le16(static_cast<std::uint16_t>(value & 0xFFFF)) + Le16(static_cast<std::uint16_t>(value >> 16));
}

// A chunk: identifier, length, body and, for an odd length, one pad byte.
inline std::string Chunk(const std::string& id, const std::string& body)
{
    std::string chunk = id + Le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2 != 0)
        chunk += '\0';
    return chunk;
}

inline std::string FormatChunk(std::uint16_t channels, std::uint32_t rate = 44100, std::uint16_t bits = 16,
                               std::uint16_t tag = 1)
{
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    return Chunk("fmt ", Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * blockAlign) + Le16(blockAlign) +
                             Le16(bits));
}

inline std::string DataChunk(const std::vector<std::int16_t>& samples)
{
    std::string body;
    for (std::int16_t sample : samples)
        body += Le16(static_cast<std::uint16_t>(sample));
    return Chunk("data", body);
}

// A sampler chunk with the given unity note and pitch fraction, and one loop when loopEnd ≥ 0.
inline std::string SamplerChunk(std::uint32_t unityNote, std::uint32_t pitchFraction, std::int64_t loopStart = -1,
                                std::int64_t loopEnd = -1)
{
    const bool hasLoop = loopEnd >= 0;
    std::string body = Le32(0) + Le32(0) + Le32(22676) + Le32(unityNote) + Le32(pitchFraction) + Le32(0) +
                       Le32(0) + Le32(hasLoop ? 1 : 0) + Le32(0);
    if (hasLoop)
        body += Le32(0) + Le32(0) + Le32(static_cast<std::uint32_t>(loopStart)) +
                Le32(static_cast<std::uint32_t>(loopEnd)) + Le32(0) + Le32(0);
    return Chunk("smpl", body);
}

// "RIFF", the length of everything after it, "WAVE", then the chunks.
inline std::string RiffWave(std::initializer_list<std::string> chunks)
{
    std::string body = "WAVE";
    for (const std::string& chunk : chunks)
        body += chunk;
    return "RIFF" + Le32(static_cast<std::uint32_t>(body.size())) + body;
}

// Left channel of frame i in the test files; distinct for every frame of a 1000-frame file.
inline std::int16_t LeftOf(int frame)
{
    return static_cast<std::int16_t>(frame * 3 - 1500);
}

// Right channel of frame i; never equal to the left one.
inline std::int16_t RightOf(int frame)
{
    return static_cast<std::int16_t>(-frame * 7 - 1);
}

// Interleaved samples of `frames` frames (left only when mono).
inline std::vector<std::int16_t> Frames(int frames, bool stereo)
{
    std::vector<std::int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        samples.push_back(LeftOf(i));
        if (stereo)
            samples.push_back(RightOf(i));
    }
    return samples;
}

} // namespace jorvo::test
