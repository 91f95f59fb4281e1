#include "engine/Effect.h"

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(Effect, SeqEventTarget, 0)

namespace {
bool IsChannelCount(int channels)
{
    return channels == 1 || channels == 2;
}
} // namespace

// The buffer is allocated here rather than at the first chunk, so the audio thread never allocates.
Effect::Effect() : output_(static_cast<std::size_t>(2 * kMaxFrames), 0) {}

void Effect::Assign(const SeqEventTarget& other)
{
    CopyFrom(other);
    if (const auto* effect = PersistentCast<Effect>(&other)) {
        SetSampleRate(effect->sampleRate_);
        SetInputChannels(effect->inputChannels_);
        SetOutputChannels(effect->outputChannels_);
    }
}

bool Effect::Process(const std::int32_t*, int)
{
    return false;
}

bool Effect::SetSampleRate(int rate)
{
    if (rate <= 0 || rate > 65535)
        return false;
    sampleRate_ = static_cast<std::uint16_t>(rate);
    return true;
}

bool Effect::SetInputChannels(int channels)
{
    if (!IsChannelCount(channels))
        return false;
    inputChannels_ = static_cast<std::uint8_t>(channels);
    return true;
}

bool Effect::SetOutputChannels(int channels)
{
    if (!IsChannelCount(channels))
        return false;
    if (channels != outputChannels_) {
        outputChannels_ = static_cast<std::uint8_t>(channels);
        output_.assign(static_cast<std::size_t>(outputChannels_) * kMaxFrames, 0);
    }
    return true;
}

void Effect::ResetBase()
{
    ApplyParameters();
    rendered_ = false;
}

void Effect::Serialize(BinaryArchive& archive)
{
    SeqEventTarget::Serialize(archive);
    SerializeEngineName(archive);
    if (archive.IsStoring()) {
        archive.WriteWord(sampleRate_);
        archive.WriteByte(inputChannels_);
        archive.WriteByte(outputChannels_);
        return;
    }
    SetSampleRate(archive.ReadWord());
    SetInputChannels(archive.ReadByte());
    SetOutputChannels(archive.ReadByte());
}

void Effect::SerializeXML(CXMLArchive& archive)
{
    SeqEventTarget::SerializeXML(archive);
    SerializeXMLEngineName(archive);
    if (!archive.IsLoading()) {
        archive.Write("SampleRate", sampleRate_);
        archive.Write("InputChannels", inputChannels_);
        archive.Write("OutputChannels", outputChannels_);
        return;
    }
    std::uint16_t rate = sampleRate_;
    if (archive.Read("SampleRate", rate))
        SetSampleRate(rate);
    std::uint8_t channels = inputChannels_;
    if (archive.Read("InputChannels", channels))
        SetInputChannels(channels);
    channels = outputChannels_;
    if (archive.Read("OutputChannels", channels))
        SetOutputChannels(channels);
}

} // namespace jorvo
