#include "audio/AudioOutputWAV.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "audio/AudioOutputMME.h"
#include "document/Configuration.h"

namespace jorvo {
namespace {

constexpr std::uint16_t kFileChannels = 2;
constexpr std::uint16_t kFileBits = 16;
constexpr std::uint32_t kFileRate = 44100;
// How long the worker rests when the song is not playing: it waits for Play or for Stop, and
// spinning would take a whole core from the threads it waits for.
constexpr auto kIdleRest = std::chrono::milliseconds(1);
// Chunks rendered between two yields of the processor, so a thread waiting for the render lock
// gets it within a fraction of a millisecond, without a system call per chunk (which on a busy
// machine also costs a whole time slice each).
constexpr int kChunksPerYield = 16;

std::string DefaultFileName()
{
    return Configuration().GetDefaultDocDir() + "/" + AudioOutputWAV::kDefaultFileName;
}

} // namespace

JORVO_IMPLEMENT_PERSISTENT(AudioOutputWAV, AudioOutput, 0)

AudioOutputWAV::AudioOutputWAV() : AudioOutputWAV(Studio(), DefaultFileName())
{
}

AudioOutputWAV::AudioOutputWAV(AudioOutputStudio* studio, std::string fileName)
    : AudioOutput(studio), fileName_(std::move(fileName))
{
    Initialise();
    AudioOutput::Reset();
    DiscardWriter();
    SetFormat(kFileChannels, kFileBits, kFileRate);
}

AudioOutputWAV::~AudioOutputWAV()
{
    Stop();
    DiscardWriter();
}

bool AudioOutputWAV::Configure()
{
    return !IsRunning();
}

bool AudioOutputWAV::Open()
{
    DiscardWriter();
    const std::size_t samples = std::size_t{channels_} * kChunkFrames;
    mix_.assign(samples, 0);
    buffer_.assign(samples, 0);
    writer_ = std::make_unique<WavFileWriter>();
    return writer_->Create(fileName_);
}

bool AudioOutputWAV::Start()
{
    if (IsRunning())
        return true;
    fileCompleted_ = false;
    if (!Open()) {
        DiscardWriter();
        return false;
    }
    SetRunning(true);
    try {
        worker_ = std::thread(&AudioOutputWAV::Work, this);
    } catch (const std::system_error&) {
        SetRunning(false);
        DiscardWriter();
        return false;
    }
    return true;
}

void AudioOutputWAV::Work() noexcept
{
    AudioOutputStudio* studio = Studio();
    int chunksSinceYield = 0;
    while (IsRunning()) {
        const std::uint64_t start = studio ? studio->BeginBlock() : 0;
        std::uint32_t frames = kChunkFrames;
        if (source_ && isPlaying_ && isPlaying_()) {
            frames = std::min(source_->RenderAudio(mix_.data(), frames), frames);
            AudioOutputMME::ConvertToPcm16(mix_.data(), std::size_t{frames} * channels_, buffer_.data());
            writer_->WriteFrames(buffer_.data(), frames); // a failure marks the file; Stop reports it
            if (frames > 0 && studio)
                studio->AccountBlock(start, frames);
            if (++chunksSinceYield == kChunksPerYield) {
                chunksSinceYield = 0;
                std::this_thread::yield();
            }
        } else {
            std::this_thread::sleep_for(kIdleRest);
        }
    }
}

void AudioOutputWAV::JoinWorker()
{
    SetRunning(false);
    if (worker_.joinable())
        worker_.join();
}

void AudioOutputWAV::Stop()
{
    if (!IsRunning())
        return;
    JoinWorker();
    fileCompleted_ = writer_->Close();
    DiscardWriter();
}

void AudioOutputWAV::Abandon()
{
    if (!IsRunning())
        return;
    JoinWorker();
    fileCompleted_ = false;
    DiscardWriter();
}

void AudioOutputWAV::Reset()
{
    AudioOutput::Reset();
    DiscardWriter();
    SetFormat(kFileChannels, kFileBits, kFileRate);
}

bool AudioOutputWAV::Initialise()
{
    SetRunning(false);
    return true;
}

bool AudioOutputWAV::SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate)
{
    if (IsRunning() || channels != kFileChannels || bits != kFileBits || rate != kFileRate)
        return false;
    DiscardWriter();
    return AudioOutput::SetFormat(channels, bits, rate);
}

void AudioOutputWAV::DiscardWriter()
{
    writer_.reset(); // an unfinished file is dropped, never put in place
    mix_.clear();
    buffer_.clear();
}

} // namespace jorvo
