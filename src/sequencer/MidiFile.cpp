#include "sequencer/MidiFile.h"

#include <algorithm>

#include "document/ArchiveException.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"

namespace jorvo {

namespace {

constexpr char kHeaderChunkId[] = "MThd";
constexpr std::uint32_t kHeaderLength = 6;
constexpr std::uint16_t kFormatMultiTrack = 1;
constexpr std::int32_t kMaxDivision = 0x7FFF;   // a set top bit would mean SMPTE time
constexpr std::uint32_t kMaxTrackCount = 0xFFFF;
constexpr std::size_t kChannelMapBuckets = 29;
constexpr std::uint32_t kChannelCount = 16;

constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint32_t kMaxDataValue = 127;

constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint32_t kMicrosecondsPerMinute = 60000000;
constexpr std::uint32_t kMaxTempoValue = 0xFFFFFF;   // the tempo has three bytes

constexpr std::uint8_t kMetaTimeSignature = 0x58;
constexpr std::int32_t kMaxNumerator = 255;
// A beat is a quarter note: the denominator is 2 to the power 2.
constexpr std::uint8_t kQuarterNoteDenominator = 2;
constexpr std::uint8_t kClocksPerClick = 24;
constexpr std::uint8_t kThirtySecondsPerQuarter = 8;

} // namespace

MidiFile::MidiFile(bool writing) : writing_(writing), channelMap_(kChannelMapBuckets) {}

void MidiFile::SelectTrack(const SeqEventTarget* target, const std::string& name)
{
    for (const auto& track : tracks_) {
        if (track->GetTarget() == target) {
            currentTrack_ = track.get();
            return;
        }
    }
    const std::uint8_t channel = target ? ChannelOf(target) : MidiTrack::kNoChannel;
    tracks_.push_back(std::make_unique<MidiTrack>(target, name, channel));
    currentTrack_ = tracks_.back().get();
}

std::uint8_t MidiFile::ChannelOf(const SeqEventTarget* target)
{
    const auto entry =
        channelMap_.try_emplace(target, static_cast<std::uint16_t>(channelMap_.size() % kChannelCount)).first;
    return static_cast<std::uint8_t>(entry->second);
}

void MidiFile::AddTempo(std::int32_t bpm)
{
    if (!currentTrack_ || bpm <= 0)
        return;
    // Below 4 bpm the quotient needs a fourth byte: hold it at the slowest tempo the file can say.
    const std::uint32_t perQuarter =
        std::clamp<std::uint32_t>(kMicrosecondsPerMinute / static_cast<std::uint32_t>(bpm), 1, kMaxTempoValue);
    std::vector<std::uint8_t> data;
    AppendBigEndian(data, perQuarter, 3);
    currentTrack_->AddEvent(0, MidiEvent::Meta(kMetaTempo, std::move(data)));
}

void MidiFile::AddTimeSignature(std::int32_t beatsPerBar)
{
    if (!currentTrack_ || beatsPerBar <= 0 || beatsPerBar > kMaxNumerator)
        return;
    currentTrack_->AddEvent(0, MidiEvent::Meta(kMetaTimeSignature, {static_cast<std::uint8_t>(beatsPerBar),
                                                                     kQuarterNoteDenominator, kClocksPerClick,
                                                                     kThirtySecondsPerQuarter}));
}

std::uint64_t MidiFile::PlacedTime(std::uint32_t offset) const
{
    return std::uint64_t{sectionOffset_} + patternOffset_ + offset;
}

void MidiFile::AddChannelEvent(std::uint64_t time, std::uint8_t message, std::uint8_t data1, std::uint8_t data2)
{
    const auto status = static_cast<std::uint8_t>(message | currentTrack_->GetChannel());
    currentTrack_->AddEvent(time, MidiEvent::Channel(status, data1, data2));
}

void MidiFile::AddNote(std::uint32_t offset, std::uint32_t length, std::uint32_t pitch, std::uint32_t velocity)
{
    if (!currentTrack_ || pitch > kMaxDataValue)
        return;
    const std::uint64_t start = PlacedTime(offset);
    const auto key = static_cast<std::uint8_t>(pitch);
    AddChannelEvent(start, kNoteOn, key, static_cast<std::uint8_t>(std::min(velocity, kMaxDataValue)));
    AddChannelEvent(start + length, kNoteOff, key, 0);
}

void MidiFile::AddController(std::uint32_t offset, std::uint32_t controller, std::int32_t value)
{
    if (!currentTrack_ || controller > kMaxDataValue)
        return;
    const auto data = static_cast<std::uint8_t>(std::clamp<std::int32_t>(value, 0, kMaxDataValue));
    AddChannelEvent(PlacedTime(offset), kControlChange, static_cast<std::uint8_t>(controller), data);
}

void MidiFile::ExportSequencer(const SeqEventSong& song, std::int32_t tempo, std::int32_t beatsPerBar,
                               std::int32_t pulsesPerQuarterNote)
{
    if (!writing_)
        return;
    SelectTrack(nullptr, song.GetName());
    SetDivision(pulsesPerQuarterNote);
    AddTempo(tempo);
    AddTimeSignature(beatsPerBar);
    ExportSong(song);
}

void MidiFile::ExportEvent(const SeqEvent& event)
{
    if (!writing_)
        return;
    if (const auto* note = dynamic_cast<const SeqEventNote*>(&event))
        ExportNote(*note);
    else if (const auto* controller = dynamic_cast<const SeqEventCC*>(&event))
        ExportController(*controller);
    else if (const auto* pattern = dynamic_cast<const SeqEventPattern*>(&event))
        ExportPattern(*pattern);
    else if (const auto* section = dynamic_cast<const SeqEventSection*>(&event))
        ExportSection(*section);
    else if (const auto* song = dynamic_cast<const SeqEventSong*>(&event))
        ExportSong(*song);
}

void MidiFile::ExportSong(const SeqEventSong& song)
{
    for (const auto& placement : song.Placements()) {
        if (!placement->section)
            continue;
        SetSectionOffset(placement->offset);
        ExportSection(*placement->section);
    }
}

void MidiFile::ExportSection(const SeqEventSection& section)
{
    for (const auto& placement : section.Placements()) {
        if (!placement->pattern || !placement->target)
            continue;
        SelectTrack(placement->target, section.GetName());
        SetPatternOffset(placement->offset);
        ExportPattern(*placement->pattern);
    }
}

void MidiFile::ExportPattern(const SeqEventPattern& pattern)
{
    for (const auto& event : pattern.Events())
        ExportEvent(*event);
}

void MidiFile::ExportNote(const SeqEventNote& note)
{
    AddNote(note.GetStart(), note.GetLength(), note.GetPitch(), note.GetVelocity());
}

void MidiFile::ExportController(const SeqEventCC& controller)
{
    AddController(controller.GetStart(), controller.GetController(), controller.GetValue());
}

void MidiFile::Write(BinaryArchive& archive) const
{
    if (division_ < 1 || division_ > kMaxDivision || tracks_.size() > kMaxTrackCount)
        throw ArchiveException(ArchiveException::Cause::Generic, archive.Stream().Name());

    std::vector<std::uint8_t> bytes(kHeaderChunkId, kHeaderChunkId + 4);
    AppendBigEndian(bytes, kHeaderLength, 4);
    AppendBigEndian(bytes, kFormatMultiTrack, 2);
    AppendBigEndian(bytes, static_cast<std::uint32_t>(tracks_.size()), 2);
    AppendBigEndian(bytes, static_cast<std::uint32_t>(division_), 2);
    archive.WriteBytes(bytes.data(), bytes.size());

    for (const auto& track : tracks_) {
        bytes.clear();
        track->AppendChunk(bytes);
        archive.WriteBytes(bytes.data(), bytes.size());
    }
}

void MidiFile::WriteFile(const std::filesystem::path& path) const
{
    const std::unique_ptr<FileStream> stream = FileStream::CreateForWriting(path);
    BinaryArchive archive(*stream, BinaryArchive::Mode::Store, kArchiveBufferSize);
    Write(archive);
    archive.Close();
    stream->Commit();
}

} // namespace jorvo
