#include "audio/AudioOutput.h"

namespace jorvo {
namespace {

std::atomic<AudioOutputStudio*> classStudio{nullptr};

} // namespace

JORVO_IMPLEMENT_PERSISTENT(AudioOutput, PersistentObject, 0)

AudioOutput::AudioOutput() = default;

AudioOutput::AudioOutput(AudioOutputStudio* studio)
{
    SetStudio(studio);
}

AudioOutputStudio* AudioOutput::Studio()
{
    return classStudio.load(std::memory_order_acquire);
}

void AudioOutput::SetStudio(AudioOutputStudio* studio)
{
    classStudio.store(studio, std::memory_order_release);
}

bool AudioOutput::Configure()
{
    return false;
}

bool AudioOutput::Start()
{
    return false;
}

void AudioOutput::Stop()
{
}

void AudioOutput::Reset()
{
    Stop();
    SetRunning(false);
}

bool AudioOutput::Initialise()
{
    return true;
}

bool AudioOutput::SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate)
{
    channels_ = channels;
    bitsPerSample_ = bits;
    bytesPerSample_ = static_cast<std::uint16_t>(bits / 8);
    sampleRate_ = rate;
    if (AudioOutputStudio* studio = Studio())
        studio->SetFormat(channels, bits, rate);
    return true;
}

void AudioOutput::GetFormat(std::uint16_t& channels, std::uint16_t& bits, std::uint32_t& rate) const
{
    channels = channels_;
    bits = bitsPerSample_;
    rate = sampleRate_;
}

void AudioOutput::Serialize(BinaryArchive&)
{
}

void AudioOutput::SerializeXML(CXMLArchive&)
{
}

} // namespace jorvo
