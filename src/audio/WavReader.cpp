#include "audio/WavReader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <utility>

#include "audio/AudioMessages.h"

namespace jorvo {
namespace {

constexpr std::uint64_t kChunkHeaderSize = 8;
constexpr std::uint64_t kRiffHeaderSize = 12;  // "RIFF", length, "WAVE"
constexpr std::uint64_t kFormatSize = 16;
constexpr std::uint64_t kSamplerFixedSize = 36;  // up to and including the sampler-data length
constexpr std::uint64_t kSampleLoopSize = 24;
constexpr std::uint16_t kPcmFormatTag = 1;
constexpr std::uint16_t kBitsPerSample = 16;

std::uint16_t Le16(const unsigned char* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t Le32(const unsigned char* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool IsId(const unsigned char* bytes, const char (&id)[5])
{
    return std::memcmp(bytes, id, 4) == 0;
}

// What the sampler chunk says about pitch and the first loop.
struct SamplerInfo {
    std::uint32_t unityNote = 0;
    std::uint32_t pitchFraction = 0;
    bool hasLoop = false;
    std::uint32_t loopStart = 0;
    std::uint32_t loopEnd = 0;
};

// One pass over the chunks of a RIFF/WAVE stream. Everything is collected first and combined at
// the end, so the result does not depend on the order of the chunks, and a refused file changes
// nothing.
class ChunkWalk {
public:
    explicit ChunkWalk(std::istream& in) : in_(in) {}

    WavReadResult Run()
    {
        fileSize_ = StreamSize();
        unsigned char header[kRiffHeaderSize];
        if (!ReadAt(0, header, kChunkHeaderSize) || !IsId(header, "RIFF"))
            return WavReadResult::NotRiff;
        if (!ReadAt(kChunkHeaderSize, header + kChunkHeaderSize, 4) || !IsId(header + kChunkHeaderSize, "WAVE"))
            return WavReadResult::NotWave;
        const std::uint32_t riffLength = Le32(header + 4);
        // Chunks must lie inside both the file and the RIFF extent.
        limit_ = std::min(fileSize_, kChunkHeaderSize + riffLength);
        return WalkChunks(riffLength);
    }

    // Moves what was read into `sample`; only after Run returned Loaded.
    WavReadResult Finish(SampleRecord& sample)
    {
        const std::uint16_t channels = static_cast<std::uint16_t>(stereo_ + 1);
        const std::uint32_t frames = (dataLength_ / 2) >> stereo_;
        if (haveData_ && frames == 0)
            return WavReadResult::NoData;
        if (haveData_)
            AppendGuardFrame(frames, channels);

        sample.data = std::move(data_);
        sample.stereo = stereo_;
        sample.sampleRate = sampleRate_;
        sample.rootNote = sampler_ ? static_cast<std::uint16_t>(sampler_->unityNote) : kDefaultRootNote;
        sample.fineTune = sampler_ ? FineTune(sampler_->pitchFraction) : 0;
        sample.pitchRate = PitchRate();
        sample.endFrame = haveData_ ? frames - 1 : 0;
        sample.loopLength = 0;
        if (sampler_ && sampler_->hasLoop)
            ApplyLoop(sample);
        return WavReadResult::Loaded;
    }

private:
    WavReadResult WalkChunks(std::uint32_t riffLength)
    {
        std::int64_t remaining = riffLength;
        std::uint64_t position = kRiffHeaderSize;
        while (remaining > 8) {
            unsigned char header[kChunkHeaderSize];
            if (position + kChunkHeaderSize > limit_ || !ReadAt(position, header, kChunkHeaderSize))
                return WavReadResult::Damaged;
            const std::uint32_t length = Le32(header + 4);
            const std::uint64_t content = position + kChunkHeaderSize;
            if (content + length > limit_)
                return WavReadResult::Damaged;
            // Chunks are word aligned; a missing pad byte after the last chunk does no harm.
            const std::uint64_t padded = length + (length & 1u);
            std::uint64_t next = content + padded;

            WavReadResult result = WavReadResult::Loaded;
            if (IsId(header, "LIST") && length == 0) {
                // An empty list still carries its 4-byte type.
                next += 4;
                remaining -= 4;
            } else if (IsId(header, "fmt ")) {
                result = ReadFormat(content, length);
            } else if (IsId(header, "data")) {
                result = ReadData(content, length);
            } else if (IsId(header, "smpl")) {
                result = ReadSampler(content, length);
            }
            if (result != WavReadResult::Loaded)
                return result;
            remaining -= static_cast<std::int64_t>(padded + kChunkHeaderSize);
            position = next;
        }
        return WavReadResult::Loaded;
    }

    WavReadResult ReadFormat(std::uint64_t at, std::uint32_t length)
    {
        unsigned char format[kFormatSize];
        if (length < kFormatSize || !ReadAt(at, format, kFormatSize))
            return WavReadResult::Damaged;
        const std::uint16_t tag = Le16(format);
        const std::uint16_t channels = Le16(format + 2);
        const std::uint16_t bits = Le16(format + 14);
        if (tag != kPcmFormatTag || bits != kBitsPerSample)
            return WavReadResult::NotPcm;
        if (channels < 1 || channels > 2)
            return WavReadResult::BadChannels;
        haveFormat_ = true;
        stereo_ = static_cast<std::uint16_t>(channels - 1);
        sampleRate_ = Le32(format + 4);
        return WavReadResult::Loaded;
    }

    WavReadResult ReadData(std::uint64_t at, std::uint32_t length)
    {
        if (length == 0)
            return WavReadResult::NoData;
        // Room for the length rounded up to whole samples, plus the guard frame.
        const std::uint64_t samples = (std::uint64_t{length} + 1) / 2 + 2;
        try {
            data_.assign(samples, 0);
        } catch (const std::bad_alloc&) {
            return WavReadResult::OutOfMemory;
        } catch (const std::length_error&) {
            return WavReadResult::OutOfMemory;
        }
        if (!ReadAt(at, data_.data(), length))
            return WavReadResult::Damaged;
        if constexpr (std::endian::native == std::endian::big) {
            for (std::int16_t& value : data_) {
                const auto bits = static_cast<std::uint16_t>(value);
                value = static_cast<std::int16_t>(static_cast<std::uint16_t>((bits >> 8) | (bits << 8)));
            }
        }
        haveData_ = true;
        dataLength_ = length;
        return WavReadResult::Loaded;
    }

    WavReadResult ReadSampler(std::uint64_t at, std::uint32_t length)
    {
        unsigned char fixed[kSamplerFixedSize];
        if (length < kSamplerFixedSize || !ReadAt(at, fixed, kSamplerFixedSize))
            return WavReadResult::Damaged;
        SamplerInfo info;
        info.unityNote = Le32(fixed + 12);
        info.pitchFraction = Le32(fixed + 16);
        const std::uint32_t loopCount = Le32(fixed + 28);
        if (loopCount != 0) {
            unsigned char loop[kSampleLoopSize];
            if (length < kSamplerFixedSize + kSampleLoopSize || !ReadAt(at + kSamplerFixedSize, loop, kSampleLoopSize))
                return WavReadResult::Damaged;
            info.hasLoop = true;
            info.loopStart = Le32(loop + 8);
            info.loopEnd = Le32(loop + 12);
        }
        sampler_ = info;
        return WavReadResult::Loaded;
    }

    // Trims the block to the whole frames and repeats the last frame once after them.
    void AppendGuardFrame(std::uint32_t frames, std::uint16_t channels)
    {
        const std::size_t last = static_cast<std::size_t>(frames - 1) * channels;
        data_.resize(last + 2 * std::size_t{channels});
        for (std::size_t c = 0; c < channels; ++c)
            data_[last + channels + c] = data_[last + c];
    }

    static std::int16_t FineTune(std::uint32_t pitchFraction)
    {
        const float cents = static_cast<float>(pitchFraction) * 0x1p-32f * 100.0f;
        return static_cast<std::int16_t>(static_cast<int>(cents));
    }

    float PitchRate() const
    {
        const float rate = haveFormat_ ? static_cast<float>(sampleRate_) : kDefaultPitchRate;
        if (!sampler_)
            return rate;
        const double semitones = (60.0 - sampler_->unityNote) + sampler_->pitchFraction * 0x1p-32;
        return static_cast<float>(rate * std::exp(semitones * std::numbers::ln2 / 12.0));
    }

    void ApplyLoop(SampleRecord& sample) const
    {
        const std::int64_t loopEnd = sampler_->loopEnd;
        const std::int64_t loopLength = loopEnd - std::int64_t{sampler_->loopStart} + 1;
        if (loopEnd > 0 && loopEnd < sample.endFrame)
            sample.endFrame = static_cast<std::uint32_t>(loopEnd);
        if (loopLength > 0 && loopLength <= sample.endFrame)
            sample.loopLength = static_cast<std::uint32_t>(loopLength);
    }

    std::uint64_t StreamSize()
    {
        in_.clear();
        in_.seekg(0, std::ios::end);
        const std::streamoff size = in_.tellg();
        return size > 0 ? static_cast<std::uint64_t>(size) : 0;
    }

    bool ReadAt(std::uint64_t offset, void* into, std::uint64_t count)
    {
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(static_cast<char*>(into), static_cast<std::streamsize>(count));
        return in_.good() && static_cast<std::uint64_t>(in_.gcount()) == count;
    }

    std::istream& in_;
    std::uint64_t fileSize_ = 0;
    std::uint64_t limit_ = 0;
    bool haveFormat_ = false;
    std::uint16_t stereo_ = 0;
    std::uint32_t sampleRate_ = 0;
    std::optional<SamplerInfo> sampler_;
    bool haveData_ = false;
    std::uint32_t dataLength_ = 0;
    std::vector<std::int16_t> data_;
};

} // namespace

WavReadResult ReadWav(std::istream& in, SampleRecord& sample)
{
    ChunkWalk walk(in);
    const WavReadResult result = walk.Run();
    return result == WavReadResult::Loaded ? walk.Finish(sample) : result;
}

std::string_view WavReadMessage(WavReadResult result)
{
    switch (result) {
    case WavReadResult::Loaded: return {};
    case WavReadResult::NotRiff: return kInvalidRiffFile;
    case WavReadResult::NotWave: return kInvalidWavFile;
    case WavReadResult::NotPcm: return kInvalidCompression;
    case WavReadResult::BadChannels: return kInvalidChannels;
    case WavReadResult::NoData: return kNoWavData;
    case WavReadResult::OutOfMemory: return kNotEnoughMemory;
    case WavReadResult::Damaged: return kInvalidWavFile;
    }
    return kInvalidWavFile;
}

} // namespace jorvo
