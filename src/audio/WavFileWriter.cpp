#include "audio/WavFileWriter.h"

#include <array>
#include <bit>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/AtomicFileWriter.h"

namespace jorvo {
namespace {

// Frames are handed over as they sit in memory; the file wants little-endian samples.
static_assert(std::endian::native == std::endian::little, "WAV frames are written in host byte order");

using HeaderBytes = std::array<std::uint8_t, WavFileWriter::kHeaderBytes>;

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kChannels = 2;
constexpr std::uint32_t kSampleRate = 44100;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kFormatChunkLength = 16;

void Put(HeaderBytes& bytes, std::size_t offset, const char (&tag)[5])
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(tag[i]);
}

void Put(HeaderBytes& bytes, std::size_t offset, std::uint32_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The canonical header: the RIFF header (12 bytes), the format chunk (24) and the data chunk
// header (8). The format is fixed whatever the output's own format fields say.
HeaderBytes BuildHeader(std::uint32_t riffLength, std::uint32_t dataLength)
{
    HeaderBytes bytes{};
    Put(bytes, 0, "RIFF");
    Put(bytes, 4, riffLength, 4);
    Put(bytes, 8, "WAVE");
    Put(bytes, 12, "fmt ");
    Put(bytes, 16, kFormatChunkLength, 4);
    Put(bytes, 20, kPcmFormat, 2);
    Put(bytes, 22, kChannels, 2);
    Put(bytes, 24, kSampleRate, 4);
    Put(bytes, 28, kSampleRate * kBlockAlign, 4);
    Put(bytes, 32, kBlockAlign, 2);
    Put(bytes, 34, kBitsPerSample, 2);
    Put(bytes, 36, "data");
    Put(bytes, 40, dataLength, 4);
    return bytes;
}

// Overwrites the start of `file` with `bytes` through a descriptor of its own, leaving the
// appending descriptor's position at the end.
bool WriteAtStart(const std::filesystem::path& file, const HeaderBytes& bytes)
{
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::pwrite(descriptor, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        done += static_cast<std::size_t>(written);
    }
    const bool closed = ::close(descriptor) == 0;
    return done == bytes.size() && closed;
}

} // namespace

WavFileWriter::WavFileWriter() = default;

WavFileWriter::~WavFileWriter() = default;

bool WavFileWriter::Create(const std::filesystem::path& path)
{
    if (file_)
        return false;
    auto file = std::make_unique<AtomicFileWriter>(path);
    if (!file->Open())
        return false;
    framesWritten_ = 0;
    riffLength_ = 0;
    dataLength_ = 0;
    failed_ = false;
    pending_.clear();
    pending_.reserve(kBufferBytes);
    const HeaderBytes header = BuildHeader(riffLength_, dataLength_);
    if (!file->Write(header.data(), header.size()))
        return false;
    file_ = std::move(file);
    return true;
}

bool WavFileWriter::WriteFrames(const std::int16_t* samples, std::uint32_t frames)
{
    if (!file_ || failed_)
        return false;
    if (frames > kMaxFrames - framesWritten_)
        return Fail();
    const std::size_t bytes = std::size_t{frames} * kFrameBytes;
    if (pending_.size() + bytes > kBufferBytes && !WritePending())
        return false;
    if (bytes > kBufferBytes) {
        if (!file_->Write(samples, bytes))
            return Fail();
    } else {
        const auto* from = reinterpret_cast<const std::uint8_t*>(samples);
        pending_.insert(pending_.end(), from, from + bytes);
    }
    framesWritten_ += frames;
    return true;
}

bool WavFileWriter::WritePending()
{
    const bool written = pending_.empty() || file_->Write(pending_.data(), pending_.size());
    pending_.clear();
    return written || Fail();
}

bool WavFileWriter::WriteHeader()
{
    if (!file_ || failed_ || !WritePending())
        return false;
    if (!WriteAtStart(file_->TemporaryPath(), BuildHeader(riffLength_, dataLength_)))
        return Fail();
    return true;
}

bool WavFileWriter::Close()
{
    if (!file_)
        return false;
    riffLength_ = kHeaderBytes - 8 + framesWritten_ * kFrameBytes;
    dataLength_ = framesWritten_ * kFrameBytes;
    const bool complete = WriteHeader() && file_->Commit();
    file_.reset();
    return complete;
}

void WavFileWriter::Abandon()
{
    file_.reset();
    pending_.clear();
}

bool WavFileWriter::Fail()
{
    failed_ = true;
    return false;
}

} // namespace jorvo
