#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"

#include <gtest/gtest.h>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "engine/EventCodes.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventNote.h"
#include "SeqEventTestSupport.h"

namespace jorvo {
namespace {

using test::TargetCall;
using test::RecordingTarget;

class SeqEventSectionSongTest : public test::SequencerValuesTest {
protected:
    // A note of one pulse at `offset` with `pitch`, added to `pattern`.
    static void AddNote(SeqEventPattern& pattern, std::uint32_t offset, std::uint32_t pitch)
    {
        std::unique_ptr<SeqEvent> note = std::make_unique<SeqEventNote>();
        note->SetStart(offset);
        note->SetLength(1);
        static_cast<SeqEventNote&>(*note).SetPitch(pitch);
        ASSERT_TRUE(pattern.InsertEvent(note));
    }
    static std::vector<int> NotesStarted(const RecordingTarget& target)
    {
        std::vector<int> pitches;
        for (const TargetCall& event : target.received)
            if (event.code == kEventNoteStart)
                pitches.push_back(event.a);
        return pitches;
    }
    // Stores `object` with the binary archive and reads it back into `read`.
    template <class Object>
    static void BinaryRoundTrip(Object& object, Object& read)
    {
        MemoryStream memory;
        {
            BinaryArchive store(memory, BinaryArchive::Mode::Store);
            object.Serialize(store);
            store.Close();
        }
        memory.Seek(0);
        BinaryArchive load(memory, BinaryArchive::Mode::Load);
        read.Serialize(load);
    }

    RecordingShell shell;
    ScopedShell scopedShell{shell};
    test::TempDir dir;
    test::TestLookup lookup;
};

TEST_F(SeqEventSectionSongTest, SetLengthBounds)
{
    SeqEventSection section;
    EXPECT_EQ(section.GetLength(), 0u);
    EXPECT_EQ(section.GetColour(), Colour::FromRgb(0x64, 0x3C, 0xC4));
    EXPECT_FALSE(section.SetLength(0));
    EXPECT_TRUE(section.SetLength(10));
    EXPECT_EQ(section.GetLength(), 480u);

    SeqEventSong song;
    EXPECT_TRUE(song.SetLength(10));
    EXPECT_EQ(song.GetLength(), 10u);
    EXPECT_FALSE(song.SetLength(0));

    // A pattern whose last pulse is 1919, placed at 1920: 1920 + 1919 + 1.
    SeqEventPattern* pattern = lookup.AddPattern("Bass", 1920);
    ASSERT_EQ(pattern->GetEnd(), 1919u);
    section.AddPlacement(pattern, nullptr, 1920);
    EXPECT_TRUE(section.SetLength(100));
    EXPECT_EQ(section.GetLength(), 3840u);

    // The song: a section of 3840 pulses at 960 needs 960 + 3839 + 1.
    song.AddPlacement(&section, 960);
    EXPECT_TRUE(song.SetLength(1));
    EXPECT_EQ(song.GetLength(), 4800u);
}

TEST_F(SeqEventSectionSongTest, NewSongLengthComesFromTheSettings)
{
    EXPECT_EQ(SeqEventSong().GetLength(), 16u * 1920u);
    ASSERT_TRUE(Configuration().SetDWORD(kDefaultSongLengthSetting.name, 2));
    ASSERT_TRUE(SequencerSettings::SetBeatsPerBar(3));
    EXPECT_EQ(SeqEventSong().GetLength(), 2u * 3u * 480u);
    ASSERT_TRUE(Configuration().SetDWORD(kDefaultSongLengthSetting.name, 16));
}

TEST_F(SeqEventSectionSongTest, UntitledSong)
{
    SeqEventSong song;
    EXPECT_EQ(song.GetName(), "Untitled");
    song.SetName("Tune");
    EXPECT_EQ(song.GetName(), "Tune");

    test::WriteXMLElement(dir / "song.xml", R"(<Song Name="" Length="001:00:000"/>)");
    test::LoadXML(song, dir / "song.xml", "Song");
    EXPECT_EQ(song.GetName(), "Untitled");
    EXPECT_EQ(song.GetLength(), 1920u);

    test::WriteXMLElement(dir / "song.xml", R"(<Song Length="000:00:000"/>)");
    test::LoadXML(song, dir / "song.xml", "Song");
    EXPECT_EQ(song.GetName(), "Song");
    EXPECT_EQ(song.GetLength(), 0u);   // no correction for the song
}

TEST_F(SeqEventSectionSongTest, DeliveryOrderAndRelativePulses)
{
    RecordingTarget* lead = lookup.AddTarget("Lead");
    SeqEventPattern* a = lookup.AddPattern("A", 480);
    SeqEventPattern* b = lookup.AddPattern("B", 480);
    AddNote(*a, 0, 1);
    AddNote(*a, 10, 2);
    AddNote(*b, 0, 3);
    SeqEventSection* verse = lookup.AddSection("Verse", 1920);
    SeqEventSection* chorus = lookup.AddSection("Chorus", 1920);
    verse->AddPlacement(b, lead, 100);
    verse->AddPlacement(a, lead, 90);
    chorus->AddPlacement(a, lead, 0);
    SeqEventSong song;
    song.AddPlacement(chorus, 100);
    song.AddPlacement(verse, 0);

    // Pulse 90: verse's A at 0 (pitch 1). Pulse 100, in order of song and section placements:
    // verse's A at 10 (pitch 2), verse's B at 0 (pitch 3), chorus's A at 0 (pitch 1). Pulse 110:
    // chorus's A at 10 (pitch 2).
    for (std::uint32_t pulse = 0; pulse <= 200; ++pulse)
        song.PlayAt(pulse);
    EXPECT_EQ(NotesStarted(*lead), (std::vector<int>{1, 2, 3, 1, 2}));
}

TEST_F(SeqEventSectionSongTest, PlacementWithoutTargetIsStoredButSilent)
{
    RecordingTarget* lead = lookup.AddTarget("Lead");
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    AddNote(*bass, 0, 40);
    SeqEventSection* verse = lookup.AddSection("Verse", 1920);
    verse->AddPlacement(bass, nullptr, 0);
    verse->AddPlacement(bass, lead, 960);
    for (std::uint32_t pulse = 0; pulse < 1920; ++pulse)
        verse->PlayAt(pulse);
    EXPECT_EQ(lead->received.size(), 1u);

    const std::string text = test::StoreXML(*verse, dir / "verse.xml");
    SeqEventSection fromXML;
    test::LoadXML(fromXML, dir / "verse.xml", "Section");
    SeqEventSection fromBinary;
    BinaryRoundTrip(*verse, fromBinary);
    for (SeqEventSection* read : {&fromXML, &fromBinary}) {
        ASSERT_EQ(read->Placements().size(), 2u);
        EXPECT_EQ(read->Placements().front()->target, nullptr);
        EXPECT_EQ(read->Placements().front()->pattern, bass);
        EXPECT_EQ(read->Placements().back()->target, lead);
        EXPECT_EQ(read->Placements().back()->offset, 960u);
        lead->received.clear();
        for (std::uint32_t pulse = 0; pulse < 1920; ++pulse)
            read->PlayAt(pulse);
        EXPECT_EQ(lead->received.size(), 1u);
    }
}

TEST_F(SeqEventSectionSongTest, SectionXMLRoundTripResolvesByName)
{
    RecordingTarget* lead = lookup.AddTarget("Lead");
    RecordingTarget* delay = lookup.AddTarget("Lead", "Effect");
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    SeqEventPattern* drums = lookup.AddPattern("Drums", 480);
    SeqEventSection section;
    section.SetName("Verse");
    ASSERT_TRUE(section.SetLength(3840));
    section.SetColour(Colour::FromRgb(0x11, 0x22, 0x33));
    section.AddPlacement(bass, lead, 0);
    section.AddPlacement(drums, delay, 1920);
    const std::string text = test::StoreXML(section, dir / "section.xml");
    EXPECT_NE(text.find(R"(<Section Name="Verse" Offset="001:01:001" Length="002:00:000" Colour="#112233">)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(R"(<Pattern Name="Drums" Offset="002:01:001">)"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(<Target Name="Lead" Class="Effect")"), std::string::npos) << text;

    SeqEventSection read;
    read.AddPlacement(bass, nullptr, 5);   // replaced by the load
    test::LoadXML(read, dir / "section.xml", "Section");
    EXPECT_EQ(read.GetName(), "Verse");
    EXPECT_EQ(read.GetLength(), 3840u);
    EXPECT_EQ(read.GetColour(), Colour::FromRgb(0x11, 0x22, 0x33));
    ASSERT_EQ(read.Placements().size(), 2u);
    EXPECT_EQ(read.Placements().front()->pattern, bass);
    EXPECT_EQ(read.Placements().front()->target, lead);
    EXPECT_EQ(read.Placements().back()->pattern, drums);
    EXPECT_EQ(read.Placements().back()->target, delay);
    EXPECT_EQ(read.Placements().back()->offset, 1920u);
    EXPECT_EQ(drums->GetParent(), &read);
}

TEST_F(SeqEventSectionSongTest, SectionXMLDropsUnknownPatternsAndTargets)
{
    lookup.AddPattern("Bass", 480);
    test::WriteXMLElement(dir / "in.xml", R"(<Section Name="Verse" Length="000:00:000">)"
                                          R"(<Pattern Name="Gone" Offset="001:01:001"/>)"
                                          R"(<Pattern Name="Bass" Offset="001:02:001"><Target Name="Nobody" Class="Instrument"/></Pattern>)"
                                          R"(</Section>)");
    SeqEventSection read;
    test::LoadXML(read, dir / "in.xml", "Section");
    EXPECT_EQ(read.GetLength(), 1u);
    ASSERT_EQ(read.Placements().size(), 1u);
    EXPECT_EQ(read.Placements().front()->pattern->GetName(), "Bass");
    EXPECT_EQ(read.Placements().front()->target, nullptr);
    EXPECT_EQ(read.Placements().front()->offset, 480u);
}

TEST_F(SeqEventSectionSongTest, SectionBinaryRoundTripDropsUnknownPatterns)
{
    RecordingTarget* lead = lookup.AddTarget("Lead");
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    SeqEventPattern* gone = lookup.AddPattern("Gone", 480);
    SeqEventSection section;
    section.SetName("Verse");
    ASSERT_TRUE(section.SetLength(1920));
    section.SetColour(Colour::FromRgb(9, 8, 7));
    section.AddPlacement(gone, lead, 0);
    section.AddPlacement(bass, lead, 480);
    section.AddPlacement(bass, nullptr, 960);

    MemoryStream memory;
    {
        BinaryArchive store(memory, BinaryArchive::Mode::Store);
        section.Serialize(store);
        store.Close();
    }
    section.RemovePlacement(section.Placements().front().get());
    lookup.patterns.erase("Gone");
    memory.Seek(0);
    BinaryArchive load(memory, BinaryArchive::Mode::Load);
    SeqEventSection read;
    read.Serialize(load);
    EXPECT_EQ(read.GetName(), "Verse");
    EXPECT_EQ(read.GetLength(), 1920u);
    EXPECT_EQ(read.GetColour(), Colour::FromRgb(9, 8, 7));
    ASSERT_EQ(read.Placements().size(), 2u);
    EXPECT_EQ(read.Placements().front()->pattern, bass);
    EXPECT_EQ(read.Placements().front()->target, lead);
    EXPECT_EQ(read.Placements().front()->offset, 480u);
    EXPECT_EQ(read.Placements().back()->target, nullptr);
}

TEST_F(SeqEventSectionSongTest, SectionBinaryLayoutAndDamage)
{
    RecordingTarget* lead = lookup.AddTarget("Ld");
    SeqEventSection section;
    section.SetName("V");
    section.AddPlacement(lookup.AddPattern("B", 480), lead, 0x0102);
    MemoryStream memory;
    {
        BinaryArchive store(memory, BinaryArchive::Mode::Store);
        section.Serialize(store);
        store.Close();
    }
    // A wide string: the mark FF FE FF, a length byte, then UTF-16LE characters.
    const auto wide = [](const std::string& text) {
        std::string bytes = std::string("\xFF\xFE\xFF", 3) + static_cast<char>(text.size());
        for (char c : text)
            bytes += std::string{c, '\0'};
        return bytes;
    };
    const std::string expected = std::string("\x00\x00\x00\x00\x01", 5) + wide("V") +
                                 std::string("\x00\x00\x00\x00", 4) +       // length 0
                                 std::string("\x64\x3C\xC4", 3) +            // colour
                                 std::string("\x01\x00\x00\x00", 4) +       // one placement
                                 wide("B") + wide("Ld") + wide("Instrument") +
                                 std::string("\x02\x01\x00\x00", 4);        // offset
    EXPECT_EQ(memory.BytesAsString(), expected);

    // A placement count far beyond the data ends in an archive error, not a long loop.
    std::string damaged = expected;
    damaged.replace(5 + 6 + 7, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    MemoryStream damagedMemory(damaged);
    BinaryArchive load(damagedMemory, BinaryArchive::Mode::Load);
    SeqEventSection read;
    EXPECT_THROW(read.Serialize(load), ArchiveException);
}

TEST_F(SeqEventSectionSongTest, SongRoundTripsResolveSectionsByName)
{
    SeqEventSection* verse = lookup.AddSection("Verse", 1920);
    SeqEventSection* chorus = lookup.AddSection("Chorus", 1920);
    SeqEventSection* bridge = lookup.AddSection("Bridge", 1920);
    SeqEventSong song;
    song.SetName("Tune");
    ASSERT_TRUE(song.SetLength(7680));
    song.AddPlacement(verse, 0);
    song.AddPlacement(bridge, 1920);
    song.AddPlacement(chorus, 3840);
    song.AddPlacement(verse, 5760);
    const std::string text = test::StoreXML(song, dir / "song.xml");
    EXPECT_NE(text.find(R"(<Song Name="Tune" Offset="001:01:001" Length="004:00:000">)"), std::string::npos) << text;
    EXPECT_NE(text.find(R"(<Section Name="Chorus" Offset="003:01:001" />)"), std::string::npos) << text;
    SeqEventSong fromBinary;
    MemoryStream memory;
    {
        BinaryArchive store(memory, BinaryArchive::Mode::Store);
        song.Serialize(store);
        store.Close();
    }

    lookup.sections.erase("Bridge");
    memory.Seek(0);
    BinaryArchive load(memory, BinaryArchive::Mode::Load);
    fromBinary.Serialize(load);
    SeqEventSong fromXML;
    test::LoadXML(fromXML, dir / "song.xml", "Song");
    for (SeqEventSong* read : {&fromXML, &fromBinary}) {
        EXPECT_EQ(read->GetName(), "Tune");
        EXPECT_EQ(read->GetLength(), 7680u);
        ASSERT_EQ(read->Placements().size(), 3u);
        std::vector<SectionPlacement*> placements;
        read->CopyPlacementsTo(placements);
        EXPECT_EQ(placements[0]->section, verse);
        EXPECT_EQ(placements[1]->section, chorus);
        EXPECT_EQ(placements[1]->offset, 3840u);
        EXPECT_EQ(placements[2]->offset, 5760u);
        EXPECT_EQ(read->GetActivePlacement(), placements[0]);
    }
}

TEST_F(SeqEventSectionSongTest, PlacementEditing)
{
    RecordingTarget* lead = lookup.AddTarget("Lead");
    RecordingTarget* pad = lookup.AddTarget("Pad");
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    SeqEventSection section;
    PatternPlacement* first = section.AddPlacement(bass, lead, 0);
    PatternPlacement* second = section.AddPlacement(bass, lead, 480);   // right after the first
    PatternPlacement* third = section.AddPlacement(bass, lead, 1000);
    PatternPlacement* other = section.AddPlacement(bass, pad, 500);
    EXPECT_EQ(section.AddPlacement(nullptr, lead, 0), nullptr);
    std::unique_ptr<PatternPlacement> empty = std::make_unique<PatternPlacement>();
    EXPECT_FALSE(section.InsertPlacement(empty));

    // Next for the same target that starts after the end (offset + length).
    EXPECT_EQ(section.FindNextPlacement(first), third);
    EXPECT_EQ(section.FindNextPlacement(other), nullptr);
    EXPECT_EQ(section.FindNextPlacement(nullptr), nullptr);

    EXPECT_TRUE(section.SetActivePlacement(second));
    EXPECT_EQ(section.GetActivePlacement(), second);
    PatternPlacement stranger;
    EXPECT_FALSE(section.SetActivePlacement(&stranger));
    EXPECT_FALSE(section.SetActivePlacement(nullptr));
    EXPECT_EQ(section.GetActivePlacement(), second);
    EXPECT_TRUE(section.RemovePlacement(second));
    EXPECT_EQ(section.GetActivePlacement(), nullptr);
    EXPECT_FALSE(section.RemovePlacement(second));

    // Moved behind the third, with a longer pattern and a new target.
    EXPECT_TRUE(section.MovePlacement(first, 1000, 960, pad));
    EXPECT_EQ(bass->GetLength(), 960u);
    EXPECT_EQ(section.Placements().back().get(), first);
    EXPECT_EQ(first->target, pad);
    EXPECT_FALSE(section.MovePlacement(first, 0, 0, lead));   // length 0 refused, nothing changed
    EXPECT_EQ(first->offset, 1000u);
    EXPECT_EQ(first->target, pad);

    section.ReplaceTarget(pad, nullptr);
    EXPECT_EQ(other->target, nullptr);
    EXPECT_EQ(first->target, nullptr);
    EXPECT_EQ(third->target, lead);
}

TEST_F(SeqEventSectionSongTest, SongPlacementEditing)
{
    SeqEventSection* verse = lookup.AddSection("Verse", 1920);
    SeqEventSong song;
    EXPECT_EQ(song.GetActivePlacement(), nullptr);
    EXPECT_EQ(song.FindNextPlacement(nullptr), nullptr);
    SectionPlacement* second = song.AddPlacement(verse, 1920);
    SectionPlacement* first = song.AddPlacement(verse, 0);
    SectionPlacement* third = song.AddPlacement(verse, 4000);
    EXPECT_EQ(song.AddPlacement(nullptr, 0), nullptr);
    EXPECT_EQ(song.GetActivePlacement(), first);
    EXPECT_EQ(song.FindNextPlacement(nullptr), first);
    EXPECT_EQ(song.FindNextPlacement(first), third);   // the second starts at the first's end

    EXPECT_TRUE(song.MovePlacement(first, 5000, 2400));
    EXPECT_EQ(verse->GetLength(), 2400u);
    EXPECT_EQ(song.Placements().back().get(), first);
    EXPECT_EQ(song.Placements().front().get(), second);

    EXPECT_TRUE(song.RemovePlacement(first));
    EXPECT_EQ(song.GetActivePlacement(), second);
    song.Clear();
    EXPECT_TRUE(song.Placements().empty());
    EXPECT_EQ(song.GetActivePlacement(), nullptr);
}

TEST_F(SeqEventSectionSongTest, ActivateAtFindsOrCreates)
{
    RecordingTarget* lead = lookup.AddTarget("Lead");
    RecordingTarget* pad = lookup.AddTarget("Pad");
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    SeqEventSection section;
    section.SetStart(0);
    PatternPlacement* early = section.AddPlacement(bass, lead, 0);
    PatternPlacement* late = section.AddPlacement(bass, lead, 960);
    EXPECT_EQ(section.ActivateAt(lead, 1000), late);   // covers 960…1439
    EXPECT_EQ(section.GetActivePlacement(), late);
    EXPECT_EQ(section.ActivateAt(lead, 600), early);   // none covers: the first for the target
    EXPECT_EQ(section.ActivateAt(nullptr, 0), nullptr);

    // No placement for Pad: a pattern named after it, placed at the start of the pulse's bar.
    PatternPlacement* created = section.ActivateAt(pad, 2000);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(lookup.createdPatterns, std::vector<std::string>{"Pad"});
    EXPECT_EQ(created->pattern, lookup.FindPattern("Pad"));
    EXPECT_EQ(created->target, pad);
    EXPECT_EQ(created->offset, 1920u);
    EXPECT_EQ(section.GetActivePlacement(), created);

    section.SetStart(100);
    EXPECT_EQ(section.ActivateAt(lead, 99), nullptr);
}

TEST_F(SeqEventSectionSongTest, TreeAndParents)
{
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    AddNote(*bass, 0, 40);
    SeqEventSong song;
    song.SetName("Tune");
    test::RecordingTree tree;
    {
        SeqEventSection verse;
        verse.SetName("Verse");
        verse.AddPlacement(bass, nullptr, 0);
        EXPECT_EQ(bass->GetParent(), &verse);
        song.AddPlacement(&verse, 0);
        song.AddToTree(tree, TreeSink::Root);
        song.Clear();
    }
    EXPECT_EQ(bass->GetParent(), nullptr);   // the section is gone
    ASSERT_EQ(tree.items.size(), 4u);
    EXPECT_EQ(tree.items[0].label, "Tune");
    EXPECT_EQ(tree.items[1].label, "Verse");
    EXPECT_EQ(tree.items[1].parent, 0);
    EXPECT_EQ(tree.items[2].label, "Bass");
    EXPECT_EQ(tree.items[2].parent, 1);
    EXPECT_EQ(tree.items[3].label, "Note");
    EXPECT_EQ(tree.items[3].parent, 2);
}

TEST_F(SeqEventSectionSongTest, NothingResolvesWithoutALookup)
{
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    SeqEventSection section;
    section.AddPlacement(bass, nullptr, 0);
    MemoryStream memory;
    {
        BinaryArchive store(memory, BinaryArchive::Mode::Store);
        section.Serialize(store);
        store.Close();
    }
    SeqEventLookup* published = SeqEventLookup::SetCurrent(nullptr);
    memory.Seek(0);
    BinaryArchive load(memory, BinaryArchive::Mode::Load);
    SeqEventSection read;
    read.Serialize(load);
    EXPECT_TRUE(read.Placements().empty());
    EXPECT_FALSE(bass->IsAliased());
    SeqEventLookup::SetCurrent(published);
}

} // namespace
} // namespace jorvo
