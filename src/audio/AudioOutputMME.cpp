#include "audio/AudioOutputMME.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <string>
#include <thread>

#include "audio/AudioMessages.h"
#include "audio/AudioOutputOptions.h"
#include "document/Configuration.h"
#include "platform/AudioDeviceReports.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

constexpr std::uint16_t kOutputChannels = 2;
constexpr std::uint16_t kOutputBits = 16;
constexpr std::uint32_t kOutputRate = 44100;
// Stop waits in sleeps of 20 ms for the driver to finish a block; a driver that never does is
// given up on after 5 s rather than hanging the program.
constexpr auto kDoneWaitStep = std::chrono::milliseconds(20);
constexpr int kDoneWaitSteps = 250;

bool HasFlag(const WaveHeader& header, std::uint32_t flag)
{
    return (header.flags.load() & flag) != 0;
}

} // namespace

// One block of the ring: its wave header and the 16-bit frames it points at.
struct AudioOutputMME::AudioBlock {
    explicit AudioBlock(std::uint32_t frames) : samples(std::size_t{frames} * kOutputChannels), frames(frames)
    {
        header.data = reinterpret_cast<std::uint8_t*>(samples.data());
        header.bufferLength = static_cast<std::uint32_t>(samples.size() * sizeof(std::int16_t));
        header.user = reinterpret_cast<std::uintptr_t>(this);
    }

    WaveHeader header;
    std::vector<std::int16_t> samples;
    std::uint32_t frames; // the block's capacity
};

JORVO_IMPLEMENT_PERSISTENT(AudioOutputMME, AudioOutput, 0)

AudioOutputMME::AudioOutputMME() : AudioOutputMME(Studio())
{
}

AudioOutputMME::AudioOutputMME(AudioOutputStudio* studio) : AudioOutput(studio)
{
    Initialise();
    Reset();
}

AudioOutputMME::~AudioOutputMME()
{
    if (IsRunning()) {
        SetRunning(false);
        if (deviceHandle_->Reset() != WaveResult::Ok) {
            ReportAudioFailure(kWaveOutResetFailed);
        } else {
            UnprepareBlocks();
            CloseDevice();
        }
    }
    CloseDevice();
    deviceHandle_.reset(); // a device that refused to close is torn down before its blocks go
    FreeBlocks();
    WriteSettings();
}

void AudioOutputMME::ReadSettings()
{
    CConfiguration& configuration = Configuration();
    blockCount_ = ClampBlockCount(configuration.GetDWORD(kMMEBlockCountSetting));
    blockSize_ = ClampBlockSize(configuration.GetDWORD(kMMEBlockSizeSetting));
}

void AudioOutputMME::WriteSettings()
{
    CConfiguration& configuration = Configuration();
    configuration.SetDWORD(kMMEBlockCountSetting.name, blockCount_);
    configuration.SetDWORD(kMMEBlockSizeSetting.name, blockSize_);
}

bool AudioOutputMME::Initialise()
{
    device_ = 0;
    SetRunning(false);
    return true;
}

bool AudioOutputMME::SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate)
{
    WaveOutDriver& driver = AudioDriver();
    const WaveFormat format = MakePcmFormat(channels, bits, rate);
    bool found = channels == kOutputChannels && bits == kOutputBits;
    if (found && driver.QueryFormat(device_, format) != WaveResult::Ok) {
        found = false;
        const std::uint32_t count = driver.DeviceCount();
        for (std::uint32_t index = 0; index < count && !found; ++index) {
            if (driver.QueryFormat(index, format) == WaveResult::Ok) {
                device_ = index;
                found = true;
            }
        }
    }
    if (!found) {
        Shell().MessageBox(FormatText(kNoDeviceForFormat,
                                      {std::to_string(channels), std::to_string(bits), std::to_string(rate)}),
                           std::string(kWaveOutDriverCaption));
        return false;
    }
    AudioOutput::SetFormat(channels, bits, rate);
    FreeBlocks();
    blockCount_ = ClampBlockCount(blockCount_);
    blockSize_ = ClampBlockSize(blockSize_);
    return true;
}

bool AudioOutputMME::SelectDevice(std::uint32_t index)
{
    if (IsRunning() || AudioDriver().QueryFormat(index, MakePcmFormat(channels_, bitsPerSample_, sampleRate_)) != WaveResult::Ok)
        return false;
    device_ = index;
    return true;
}

bool AudioOutputMME::Open()
{
    if (deviceHandle_)
        return true;
    const RingGeometry geometry{blockSize_, blockCount_};
    const WaveResult opened = AudioDriver().Open(device_, MakePcmFormat(channels_, bitsPerSample_, sampleRate_),
                                                 geometry, &DriverCallback, reinterpret_cast<std::uintptr_t>(this),
                                                 deviceHandle_);
    if (opened != WaveResult::Ok || !deviceHandle_) {
        deviceHandle_.reset();
        ReportAudioFailure(kWaveOutOpenFailed);
        return false;
    }
    return true;
}

bool AudioOutputMME::AllocateBlocks()
{
    try {
        if (mix_.size() != std::size_t{blockSize_} * kOutputChannels)
            mix_.assign(std::size_t{blockSize_} * kOutputChannels, 0);
        while (blocks_.size() < blockCount_)
            blocks_.push_back(std::make_unique<AudioBlock>(blockSize_));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void AudioOutputMME::FreeBlocks()
{
    const bool queued = std::any_of(blocks_.begin(), blocks_.end(), [](const std::unique_ptr<AudioBlock>& block) {
        return HasFlag(block->header, kWaveHeaderInQueue);
    });
    if (queued)
        deviceHandle_.reset(); // never free a block a device may still read
    blocks_.clear();
    mix_.clear();
    mix_.shrink_to_fit();
}

void AudioOutputMME::UnprepareBlocks()
{
    for (const std::unique_ptr<AudioBlock>& block : blocks_) {
        WaveHeader& header = block->header;
        if (!HasFlag(header, kWaveHeaderPrepared))
            continue;
        for (int step = 0; step < kDoneWaitSteps && HasFlag(header, kWaveHeaderInQueue); ++step)
            std::this_thread::sleep_for(kDoneWaitStep);
        if (!deviceHandle_)
            header.flags.fetch_and(~kWaveHeaderPrepared);
        else if (deviceHandle_->UnprepareHeader(header) != WaveResult::Ok)
            ReportAudioFailure(kWaveOutUnprepareHeaderFailed);
    }
}

bool AudioOutputMME::CloseDevice()
{
    if (!deviceHandle_)
        return true;
    if (deviceHandle_->Close() != WaveResult::Ok) {
        ReportAudioFailure(kWaveOutCloseFailed);
        return false;
    }
    closedUnderruns_ += deviceHandle_->Underruns();
    deviceHandle_.reset();
    return true;
}

std::uint32_t AudioOutputMME::Underruns() const
{
    return closedUnderruns_ + (deviceHandle_ ? deviceHandle_->Underruns() : 0);
}

bool AudioOutputMME::Start()
{
    if (IsRunning())
        return true;
    if (!Open())
        return false;
    if (deviceHandle_->Pause() != WaveResult::Ok) {
        ReportAudioFailure(kWaveOutPauseFailed);
        return false;
    }
    if (!AllocateBlocks())
        return false;
    for (const std::unique_ptr<AudioBlock>& block : blocks_) {
        if (deviceHandle_->PrepareHeader(block->header) != WaveResult::Ok)
            ReportAudioFailure(kWaveOutPrepareHeaderFailed);
    }
    for (const std::unique_ptr<AudioBlock>& block : blocks_)
        FillBlock(*block, *deviceHandle_);
    // Running is set before the restart: the paused device returns nothing until then, and a
    // block returned between the restart and the flag would otherwise drop out of the ring.
    SetRunning(true);
    if (deviceHandle_->Restart() != WaveResult::Ok) {
        SetRunning(false);
        ReportAudioFailure(kWaveOutRestartFailed);
        return false;
    }
    return true;
}

void AudioOutputMME::Stop()
{
    if (!IsRunning())
        return;
    SetRunning(false); // blocks handed back by the reset are not refilled
    if (!deviceHandle_)
        return;
    if (deviceHandle_->Reset() != WaveResult::Ok) {
        ReportAudioFailure(kWaveOutResetFailed);
        return;
    }
    UnprepareBlocks();
    CloseDevice();
}

void AudioOutputMME::Reset()
{
    AudioOutput::Reset();
    UnprepareBlocks();
    CloseDevice();
    FreeBlocks();
    ReadSettings();
    SetFormat(kOutputChannels, kOutputBits, kOutputRate);
}

bool AudioOutputMME::Configure()
{
    if (IsRunning())
        return false;
    const AudioOutputChoice current{blockCount_, blockSize_, device_};
    const std::optional<AudioOutputChoice> chosen =
        Shell().AudioOutputOptions(MakeAudioOutputOptionsRequest(AudioDriver(), current, sampleRate_));
    if (chosen) {
        blockCount_ = ClampBlockCount(chosen->blockCount);
        FreeBlocks();
        blockSize_ = ClampBlockSize(chosen->blockSize);
        device_ = chosen->device;
    }
    return true;
}

void AudioOutputMME::ConvertToPcm16(const std::int32_t* from, std::size_t samples, std::int16_t* to) noexcept
{
    for (std::size_t i = 0; i < samples; ++i)
        to[i] = static_cast<std::int16_t>(std::clamp<std::int32_t>(from[i] >> 8, -32768, 32767));
}

void AudioOutputMME::FillBlock(AudioBlock& block, WaveOutDevice& device) noexcept
{
    AudioOutputStudio* studio = Studio();
    const std::uint64_t start = studio ? studio->BeginBlock() : 0;
    const std::size_t mixFrames = mix_.size() / kOutputChannels;
    std::uint32_t frames = static_cast<std::uint32_t>(std::min<std::size_t>({block.frames, mixFrames, kMaxRenderFrames}));
    if (source_)
        frames = std::min(source_->RenderAudio(mix_.data(), frames), frames);
    else
        std::fill_n(mix_.begin(), std::size_t{frames} * kOutputChannels, 0);
    ConvertToPcm16(mix_.data(), std::size_t{frames} * kOutputChannels, block.samples.data());

    WaveHeader& header = block.header;
    const std::uint32_t bytes = std::uint32_t{bytesPerSample_} * channels_ * frames;
    if (bytes != header.bufferLength) {
        if (HasFlag(header, kWaveHeaderPrepared) && device.UnprepareHeader(header) != WaveResult::Ok)
            ReportAudioFailure(kWaveOutUnprepareHeaderFailed);
        header.bufferLength = bytes;
        header.flags.store(0);
        if (device.PrepareHeader(header) != WaveResult::Ok)
            ReportAudioFailure(kWaveOutPrepareHeaderFailed);
    }
    device.Write(header);
    if (frames > 0 && studio)
        studio->AccountBlock(start, frames);
}

void AudioOutputMME::DriverCallback(WaveOutDevice* device, WaveOutMessage message, std::uintptr_t instance,
                                    std::uintptr_t param1, std::uintptr_t)
{
    auto* output = reinterpret_cast<AudioOutputMME*>(instance);
    if (output == nullptr || device == nullptr || message != WaveOutMessage::Done || param1 == 0 || !output->IsRunning())
        return;
    auto* header = reinterpret_cast<WaveHeader*>(param1);
    if (auto* block = reinterpret_cast<AudioBlock*>(header->user))
        output->FillBlock(*block, *device);
}

} // namespace jorvo
