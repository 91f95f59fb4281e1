#include "engine/Instrument.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(Instrument, SeqEventTarget, 0)

// The buffer is allocated here rather than at the first chunk, so the audio thread never allocates.
Instrument::Instrument() : output_(static_cast<std::size_t>(kMaxFrames), 0) {}

void Instrument::Assign(const SeqEventTarget& other)
{
    CopyFrom(other);
    if (const auto* instrument = PersistentCast<Instrument>(&other)) {
        SetSampleRate(instrument->sampleRate_);
        SetChannels(instrument->channels_);
    }
}

bool Instrument::Render(int)
{
    return false;
}

void Instrument::BeginChunk(int frames)
{
    rendered_ = false;
    const int count = std::clamp(frames, 0, kMaxFrames) * channels_;
    std::fill_n(output_.begin(), count, 0);
}

bool Instrument::SetChannels(int channels)
{
    if (channels != 1 && channels != 2)
        return false;
    if (channels != channels_) {
        channels_ = static_cast<std::uint8_t>(channels);
        output_.assign(static_cast<std::size_t>(channels_) * kMaxFrames, 0);
    }
    return true;
}

bool Instrument::SetSampleRate(int rate)
{
    if (rate <= 0 || rate > 65535)
        return false;
    sampleRate_ = static_cast<std::uint16_t>(rate);
    return true;
}

void Instrument::ResetBase()
{
    ApplyParameters();
    rendered_ = false;
}

void Instrument::Serialize(BinaryArchive& archive)
{
    SeqEventTarget::Serialize(archive);
    SerializeEngineName(archive);
    if (archive.IsStoring()) {
        archive.WriteWord(sampleRate_);
        archive.WriteByte(channels_);
        return;
    }
    SetSampleRate(archive.ReadWord());
    SetChannels(archive.ReadByte());
}

void Instrument::SerializeXML(CXMLArchive& archive)
{
    SeqEventTarget::SerializeXML(archive);
    SerializeXMLEngineName(archive);
    if (!archive.IsLoading()) {
        archive.Write("SampleRate", sampleRate_);
        archive.Write("Channels", channels_);
        return;
    }
    std::uint16_t rate = sampleRate_;
    if (archive.Read("SampleRate", rate))
        SetSampleRate(rate);
    std::uint8_t channels = channels_;
    if (archive.Read("Channels", channels))
        SetChannels(channels);
}

} // namespace jorvo
