#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/ArchiveException.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "sequencer/MidiFile.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventTestSupport.h"

namespace jorvo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes WrittenBytes(const MidiFile& file)
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store, MidiFile::kArchiveBufferSize);
    file.Write(archive);
    archive.Close();
    return stream.Bytes();
}

// Adds a note of velocity 100 to `pattern`.
void PlaceNote(SeqEventPattern& pattern, std::uint32_t start, std::uint32_t length, std::uint32_t pitch)
{
    auto note = std::make_unique<SeqEventNote>();
    note->SetStart(start);
    ASSERT_TRUE(note->SetLength(length) && note->SetPitch(pitch) && note->SetVelocity(100));
    std::unique_ptr<SeqEvent> event = std::move(note);
    ASSERT_TRUE(pattern.InsertEvent(event));
}

// Track `index` as written, without its chunk head, its first `headerBytes` and its end of track.
Bytes TrackEvents(const MidiFile& file, std::size_t index, std::size_t headerBytes)
{
    Bytes chunk;
    file.Tracks().at(index)->AppendChunk(chunk);
    EXPECT_EQ(Bytes(chunk.end() - 4, chunk.end()), (Bytes{0x00, 0xFF, 0x2F, 0x00}));
    return Bytes(chunk.begin() + 8 + headerBytes, chunk.end() - 4);
}

// A song "Tune" whose section "Verse" (placed at 0) places pattern "Riff" for target "Bass".
class MidiExportTest : public SequencerValuesTest {
protected:
    void SetUp() override
    {
        SequencerValuesTest::SetUp();
        lookup.song = std::make_unique<SeqEventSong>();
        lookup.song->SetName("Tune");
        bass = lookup.AddTarget("Bass");
        riff = lookup.AddPattern("Riff", 1920);
        verse = lookup.AddSection("Verse", 1920);
        verse->AddPlacement(riff, bass, 0);
        lookup.song->AddPlacement(verse, 0);
    }

    void Export() { file.ExportSequencer(*lookup.song, 120, 4, 480); }

    TestLookup lookup;
    RecordingTarget* bass = nullptr;
    SeqEventPattern* riff = nullptr;
    SeqEventSection* verse = nullptr;
    MidiFile file{true};
};

TEST_F(MidiExportTest, HeaderAndFirstTrackCarryTheSongNameTempoAndTimeSignature)
{
    Export();
    const Bytes bytes = WrittenBytes(file);
    const Bytes expected{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 0x1B,
                         0x00, 0xFF, 0x04, 0x04, 'T', 'u', 'n', 'e', 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,
                         0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08, 0x00, 0xFF, 0x2F, 0x00};
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + expected.size()), expected);

    MidiFile reading(false);   // only a file in writing mode is filled
    reading.ExportSequencer(*lookup.song, 120, 4, 480);
    EXPECT_TRUE(reading.Tracks().empty());
}

TEST_F(MidiExportTest, AQuarterNoteEndsAfterDelta8360)
{
    PlaceNote(*riff, 0, 480, 60);
    Export();
    EXPECT_EQ(TrackEvents(file, 1, 0), (Bytes{0x00, 0xFF, 0x04, 0x05, 'V', 'e', 'r', 's', 'e', 0x00, 0xFF, 0x03, 0x04,
                                              'B', 'a', 's', 's', 0x00, 0xFF, 0x20, 0x01, 0x00, 0x00, 0x90, 60, 100,
                                              0x83, 0x60, 0x80, 60, 0}));
}

TEST_F(MidiExportTest, OverlappingNotesKeepTheirTimesAndShareStatusBytes)
{
    PlaceNote(*riff, 0, 480, 60);
    PlaceNote(*riff, 240, 480, 64);
    Export();
    // Note ons at 0 and 240, note offs at 480 and 720; each second status byte is left out.
    EXPECT_EQ(TrackEvents(file, 1, 22),
              (Bytes{0x00, 0x90, 60, 100, 0x81, 0x70, 64, 100, 0x81, 0x70, 0x80, 60, 0, 0x81, 0x70, 64, 0}));
}

TEST_F(MidiExportTest, TimesAddTheSectionAndPatternPlacements)
{
    PlaceNote(*riff, 10, 5, 60);
    lookup.song->AddPlacement(verse, 1920);
    SeqEventSection* bridge = lookup.AddSection("Bridge", 1920);
    bridge->AddPlacement(riff, bass, 480);
    bridge->AddPlacement(riff, nullptr, 0);   // no target: nothing
    lookup.song->AddPlacement(bridge, 3840);
    Export();
    std::vector<std::uint64_t> times;
    for (const auto& [time, event] : file.Tracks()[1]->Events())
        times.push_back(time);
    EXPECT_EQ(times, (std::vector<std::uint64_t>{10, 15, 1930, 1935, 4330, 4335}));
    EXPECT_EQ(file.Tracks().size(), 2u);
    EXPECT_EQ(file.Tracks()[0]->Events().size(), 2u);   // the tempo and the time signature only
}

TEST_F(MidiExportTest, EveryTargetGetsATrackWithChannelsInOrderOfFirstAppearance)
{
    PlaceNote(*riff, 0, 1, 60);
    for (int index = 2; index <= 17; ++index)
        verse->AddPlacement(riff, lookup.AddTarget("T" + std::to_string(index)), 0);
    verse->AddPlacement(riff, bass, 960);
    Export();
    ASSERT_EQ(file.Tracks().size(), 18u);
    EXPECT_EQ(file.Tracks()[0]->GetChannel(), MidiTrack::kNoChannel);
    for (std::size_t track = 1; track <= 16; ++track)
        EXPECT_EQ(file.Tracks()[track]->GetChannel(), track - 1);
    EXPECT_EQ(file.Tracks()[17]->GetChannel(), 0);
    EXPECT_EQ(file.Tracks()[1]->Events().size(), 4u);   // "Bass" twice, in one track
    EXPECT_EQ(TrackEvents(file, 6, 20), (Bytes{0x00, 0x95, 60, 100, 0x01, 0x85, 60, 0}));   // "T6": channel 5
}

TEST_F(MidiExportTest, ControllersAreReducedToSevenBits)
{
    file.SelectTrack(bass, "Verse");
    const std::vector<std::pair<int, int>> changes{{7, 100}, {10, 300}, {11, -5}, {200, 1}, {128, 1}};
    for (const auto& [code, value] : changes) {
        SeqEventCC change;
        change.SetStart(3);
        change.SetController(static_cast<std::uint16_t>(code));
        change.SetValue(value);
        file.ExportEvent(change);
    }
    // Codes 200 and 128 are left out.
    EXPECT_EQ(TrackEvents(file, 0, 22), (Bytes{0x03, 0xB0, 7, 100, 0x00, 10, 127, 0x00, 11, 0}));
}

TEST(MidiFileTest, TempoAndTimeSignatureEdges)
{
    MidiFile file(true);
    file.SelectTrack(nullptr, "");
    file.AddTempo(0);
    file.AddTimeSignature(0);
    file.AddTimeSignature(256);
    file.AddTempo(4);   // 15,000,000 µs
    file.AddTempo(1);   // 60,000,000 µs needs four bytes: the slowest tempo the file can say
    EXPECT_EQ(TrackEvents(file, 0, 0),
              (Bytes{0x00, 0xFF, 0x51, 0x03, 0xE4, 0xE1, 0xC0, 0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF}));
}

TEST(MidiFileTest, UnwritableContentFailsAndKeepsThePreviousFile)
{
    TempDir folder;
    const auto path = folder / "song.mid";
    WriteFileBytes(path, "previous");
    MidiFile file(true);
    file.SelectTrack(nullptr, "");
    file.SetDivision(0x8000);   // would read as SMPTE time
    EXPECT_THROW(file.WriteFile(path), ArchiveException);
    file.SetDivision(96);
    file.AddNote(0x10000000, 1, 60, 1);   // a gap no variable-length quantity can hold
    EXPECT_THROW(file.WriteFile(path), ArchiveException);
    EXPECT_EQ(ReadFileBytes(path), "previous");

    MidiFile good(true);
    good.WriteFile(path);
    EXPECT_EQ(ReadFileBytes(path), std::string("MThd\0\0\0\6\0\1\0\0\1\xE0", 14));
}

} // namespace
} // namespace jorvo::test
