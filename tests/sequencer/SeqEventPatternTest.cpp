#include "sequencer/SeqEventPattern.h"

#include <gtest/gtest.h>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/DeepCopy.h"
#include "engine/EventCodes.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventNote.h"
#include "SeqEventTestSupport.h"

namespace jorvo {
namespace {

using test::TargetCall;
using test::RecordingTarget;

class SeqEventPatternTest : public test::SequencerValuesTest {
protected:
    // Adds a note to `pattern` and returns it.
    static SeqEventNote* AddNote(SeqEventPattern& pattern, std::uint32_t offset, std::uint32_t pitch,
                                 std::uint32_t length, std::uint32_t velocity = 100)
    {
        auto note = std::make_unique<SeqEventNote>();
        note->SetStart(offset);
        note->SetPitch(pitch);
        note->SetVelocity(velocity);
        note->SetLength(length);
        SeqEventNote* added = note.get();
        std::unique_ptr<SeqEvent> event = std::move(note);
        EXPECT_TRUE(pattern.InsertEvent(event));
        return added;
    }
    static SeqEventCC* AddController(SeqEventPattern& pattern, std::uint32_t offset, std::uint16_t code,
                                     std::int32_t value)
    {
        auto cc = std::make_unique<SeqEventCC>();
        cc->SetStart(offset);
        cc->SetController(code);
        cc->SetValue(value);
        SeqEventCC* added = cc.get();
        std::unique_ptr<SeqEvent> event = std::move(cc);
        EXPECT_TRUE(pattern.InsertEvent(event));
        return added;
    }
    // The codes and first arguments received, as (code, a) pairs.
    static std::vector<std::pair<int, int>> CodesAndNotes(const RecordingTarget& target)
    {
        std::vector<std::pair<int, int>> result;
        for (const TargetCall& event : target.received)
            result.emplace_back(event.code, event.a);
        return result;
    }

    SeqEventPattern pattern;
    RecordingTarget target{"Lead"};
    RecordingShell shell;
    ScopedShell scopedShell{shell};
    test::TempDir dir;
};

TEST_F(SeqEventPatternTest, NewPatternDefaults)
{
    EXPECT_EQ(pattern.GetType(), kSeqEventPattern);
    EXPECT_EQ(pattern.GetLength(), 1u);
    EXPECT_EQ(pattern.GetColour(), Colour::FromRgb(0x85, 0xC2, 0xC2));
    EXPECT_EQ(pattern.GetRuntimeClass().Name(), "SeqEventPattern");
}

TEST_F(SeqEventPatternTest, SetLengthBounds)
{
    EXPECT_FALSE(pattern.SetLength(0));
    EXPECT_TRUE(pattern.SetLength(10));
    EXPECT_EQ(pattern.GetLength(), 60u);   // 480 ÷ 8
    EXPECT_TRUE(pattern.SetLength(60));
    EXPECT_TRUE(pattern.SetLength(5000));
    EXPECT_EQ(pattern.GetLength(), 5000u);
    EXPECT_EQ(pattern.GetEnd(), 4999u);

    AddNote(pattern, 2000, 60, 501);   // last pulse 2500
    EXPECT_TRUE(pattern.SetLength(100));
    EXPECT_EQ(pattern.GetLength(), 2500u);
    EXPECT_TRUE(pattern.SetLength(3000));
    EXPECT_EQ(pattern.GetLength(), 3000u);
}

TEST_F(SeqEventPatternTest, EqualStartsPlayInInsertionOrder)
{
    ASSERT_TRUE(pattern.SetLength(1920));
    AddNote(pattern, 5, 90, 1);
    AddNote(pattern, 0, 1, 4);
    AddController(pattern, 0, 7, 100);
    AddNote(pattern, 0, 2, 4);
    AddNote(pattern, 0, 3, 4);
    pattern.Play(0, &target);
    EXPECT_EQ(CodesAndNotes(target), (std::vector<std::pair<int, int>>{
                                         {kEventNoteStart, 1}, {7, 100}, {kEventNoteStart, 2}, {kEventNoteStart, 3}}));
    std::vector<std::uint32_t> starts;
    for (const auto& event : pattern.Events())
        starts.push_back(event->GetStart());
    EXPECT_EQ(starts, (std::vector<std::uint32_t>{0, 0, 0, 0, 5}));
}

TEST_F(SeqEventPatternTest, InsertionHintKeepsTheOrder)
{
    SeqEventPattern::EventPosition hint = pattern.Events().end();
    for (std::uint32_t offset : {10u, 20u, 20u, 5u, 30u}) {
        std::unique_ptr<SeqEvent> note = std::make_unique<SeqEventNote>();
        note->SetStart(offset);
        note->SetLength(1);
        ASSERT_TRUE(pattern.InsertEvent(note, &hint));
        EXPECT_EQ((*hint)->GetStart(), offset);   // the hint moves to the new event
    }
    std::vector<std::uint32_t> starts;
    for (const auto& event : pattern.Events()) {
        starts.push_back(event->GetStart());
        EXPECT_EQ(event->GetParent(), &pattern);
    }
    EXPECT_EQ(starts, (std::vector<std::uint32_t>{5, 10, 20, 20, 30}));
}

TEST_F(SeqEventPatternTest, InsertRefusesWhatDoesNotBelong)
{
    pattern.SetStart(10);
    std::unique_ptr<SeqEvent> none;
    EXPECT_FALSE(pattern.InsertEvent(none));

    std::unique_ptr<SeqEvent> early = std::make_unique<SeqEventCC>();
    early->SetStart(9);
    EXPECT_FALSE(pattern.InsertEvent(early));
    EXPECT_NE(early, nullptr);   // the caller keeps it

    std::unique_ptr<SeqEvent> nested = std::make_unique<SeqEventPattern>();
    nested->SetStart(20);
    EXPECT_FALSE(pattern.InsertEvent(nested));
    EXPECT_TRUE(pattern.Events().empty());

    SeqEventNote stranger;
    EXPECT_FALSE(pattern.RemoveEvent(&stranger));
    EXPECT_FALSE(pattern.RemoveEvent(nullptr));
}

TEST_F(SeqEventPatternTest, JumpRestartsTheCursor)
{
    ASSERT_TRUE(pattern.SetLength(1920));
    AddNote(pattern, 0, 10, 1);
    AddNote(pattern, 1, 11, 1);
    AddNote(pattern, 2, 12, 1);
    AddNote(pattern, 100, 20, 1);
    AddController(pattern, 100, 7, 5);
    AddNote(pattern, 100, 21, 3);
    for (std::uint32_t pulse : {0u, 1u, 2u, 100u})
        pattern.Play(pulse, &target);
    EXPECT_EQ(CodesAndNotes(target),
              (std::vector<std::pair<int, int>>{{kEventNoteStart, 10}, {kEventNoteStart, 11}, {kEventNoteStart, 12},
                                                {kEventNoteStart, 20}, {7, 5}, {kEventNoteStart, 21}}));

    // Jumping back plays the earlier events again.
    target.received.clear();
    pattern.Play(102, &target);
    pattern.Play(1, &target);
    EXPECT_EQ(CodesAndNotes(target),
              (std::vector<std::pair<int, int>>{{kEventNoteEnd, 21}, {kEventNoteStart, 11}}));
}

TEST_F(SeqEventPatternTest, LongNotesEndWhileTheCursorMoves)
{
    ASSERT_TRUE(pattern.SetLength(1920));
    AddNote(pattern, 0, 40, 1000);   // ends at 999
    AddNote(pattern, 10, 41, 2);     // ends at 11
    AddNote(pattern, 500, 42, 1);
    for (std::uint32_t pulse = 0; pulse < 1920; ++pulse)
        pattern.Play(pulse, &target);
    EXPECT_EQ(CodesAndNotes(target), (std::vector<std::pair<int, int>>{{kEventNoteStart, 40},
                                                                       {kEventNoteStart, 41},
                                                                       {kEventNoteEnd, 41},
                                                                       {kEventNoteStart, 42},
                                                                       {kEventNoteEnd, 40}}));
}

TEST_F(SeqEventPatternTest, NothingPlaysOutsideThePattern)
{
    ASSERT_TRUE(pattern.SetLength(480));
    AddNote(pattern, 0, 60, 600);   // its end lies beyond the pattern
    pattern.Play(480, &target);
    pattern.Play(599, &target);
    EXPECT_TRUE(target.received.empty());
    pattern.Play(0, &target);
    pattern.Play(1, nullptr);
    EXPECT_EQ(target.received.size(), 1u);
}

TEST_F(SeqEventPatternTest, MoveEventClampsAndResorts)
{
    ASSERT_TRUE(pattern.SetLength(480));
    SeqEventNote* first = AddNote(pattern, 0, 60, 10);
    SeqEventNote* second = AddNote(pattern, 100, 61, 10);
    EXPECT_TRUE(pattern.MoveEvent(first, 100, 50, 70, 90));
    EXPECT_EQ(first->GetStart(), 100u);
    EXPECT_EQ(first->GetLength(), 50u);
    EXPECT_EQ(first->GetPitch(), 70);
    EXPECT_EQ(first->GetVelocity(), 90);
    // Moved after the event that already started at 100.
    EXPECT_EQ(pattern.Events().front().get(), second);
    EXPECT_EQ(pattern.Events().back().get(), first);

    // The start is clamped into the pattern and the length to the room left: 479 − 400 = 79.
    EXPECT_TRUE(pattern.MoveEvent(second, 400, 1000, 200, 5));
    EXPECT_EQ(second->GetStart(), 400u);
    EXPECT_EQ(second->GetLength(), 79u);
    EXPECT_EQ(second->GetPitch(), 61);   // 200 is refused
    EXPECT_EQ(second->GetVelocity(), 5);

    // At the very end no length is left: refused, nothing changed.
    EXPECT_FALSE(pattern.MoveEvent(second, 5000, 10, 1, 1));
    EXPECT_EQ(second->GetStart(), 400u);
    EXPECT_EQ(second->GetVelocity(), 5);

    SeqEventCC* cc = AddController(pattern, 0, 7, 1);
    EXPECT_TRUE(pattern.MoveEvent(cc, 200, 0, 0, 0));
    EXPECT_EQ(cc->GetStart(), 200u);
    SeqEventNote stranger;
    EXPECT_FALSE(pattern.MoveEvent(&stranger, 0, 1, 1, 1));
}

TEST_F(SeqEventPatternTest, CollectsOnlyWhenThePatternOverlaps)
{
    ASSERT_TRUE(pattern.SetLength(480));
    SeqEventNote* low = AddNote(pattern, 0, 40, 100);
    AddNote(pattern, 200, 80, 10);
    SeqEventCC* cc = AddController(pattern, 300, 10, 64);
    std::vector<SeqEvent*> list;
    pattern.CollectNotes(list, 0, 479, 0, 60);
    pattern.CollectNotes(list, 480, 1000, 0, 127);
    pattern.CollectControllers(list, 250, 350, 0, 127);
    EXPECT_EQ(list, (std::vector<SeqEvent*>{low, cc}));
}

TEST_F(SeqEventPatternTest, TreeHoldsThePatternAndItsEvents)
{
    pattern.SetName("Bass");
    AddNote(pattern, 0, 40, 1);
    AddController(pattern, 1, 7, 1);
    test::RecordingTree tree;
    const TreeSink::ItemId item = pattern.AddToTree(tree, TreeSink::Root);
    ASSERT_EQ(tree.items.size(), 3u);
    EXPECT_EQ(item, 0);
    EXPECT_EQ(tree.items[0].label, "Bass");
    EXPECT_EQ(tree.items[0].parent, TreeSink::Root);
    EXPECT_EQ(tree.items[0].data, &pattern);
    EXPECT_EQ(tree.items[1].label, "Note");
    EXPECT_EQ(tree.items[2].label, "CC");
    EXPECT_EQ(tree.items[2].parent, item);
}

TEST_F(SeqEventPatternTest, IsAliasedCountsUsesInTheSong)
{
    test::TestLookup lookup;
    SeqEventPattern* bass = lookup.AddPattern("Bass", 480);
    SeqEventPattern* drums = lookup.AddPattern("Drums", 480);
    SeqEventSection* verse = lookup.AddSection("Verse", 1920);
    lookup.song = std::make_unique<SeqEventSong>();
    lookup.song->AddPlacement(verse, 0);
    verse->AddPlacement(bass, nullptr, 0);
    verse->AddPlacement(drums, nullptr, 0);
    EXPECT_FALSE(bass->IsAliased());
    verse->AddPlacement(bass, nullptr, 960);
    EXPECT_TRUE(bass->IsAliased());
    EXPECT_FALSE(drums->IsAliased());
    EXPECT_FALSE(verse->IsAliased());
    lookup.song->AddPlacement(verse, 1920);
    EXPECT_TRUE(verse->IsAliased());
    EXPECT_TRUE(drums->IsAliased());   // its section is placed twice
}

TEST_F(SeqEventPatternTest, XMLRoundTrip)
{
    pattern.SetName("Bass");
    pattern.SetStart(0);
    ASSERT_TRUE(pattern.SetLength(1920));
    pattern.SetColour(Colour::FromRgb(1, 2, 3));
    AddNote(pattern, 480, 36, 240, 127);
    AddController(pattern, 480, 74, 99);
    AddNote(pattern, 0, 38, 1);
    const std::string text = test::StoreXML(pattern, dir / "pattern.xml");
    EXPECT_NE(text.find("<Pattern Name=\"Bass\" Offset=\"001:01:001\" Length=\"001:00:000\" Colour=\"#010203\">"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("<EventList>"), std::string::npos);
    EXPECT_NE(text.find("Event=\"BRIGHTNESS\""), std::string::npos);

    SeqEventPattern read;
    AddNote(read, 7, 1, 1);   // replaced by the load
    test::LoadXML(read, dir / "pattern.xml", "Pattern");
    EXPECT_EQ(read.GetName(), "Bass");
    EXPECT_EQ(read.GetLength(), 1920u);
    EXPECT_EQ(read.GetColour(), Colour::FromRgb(1, 2, 3));
    ASSERT_EQ(read.Events().size(), 3u);
    auto at = read.Events().begin();
    EXPECT_EQ(static_cast<SeqEventNote&>(**at).GetPitch(), 38);
    ++at;
    EXPECT_EQ(static_cast<SeqEventNote&>(**at).GetLength(), 240u);
    EXPECT_EQ((*at)->GetParent(), &read);
    ++at;
    EXPECT_EQ(static_cast<SeqEventCC&>(**at).GetController(), 74);
}

TEST_F(SeqEventPatternTest, XMLLoadCorrectsAndSkipsForeignElements)
{
    test::WriteXMLElement(dir / "in.xml", R"(<Pattern Length="000:00:000"><EventList>)"
                                          R"(<Note Offset="001:01:011" Pitch="60" Length="000:00:002"/>)"
                                          R"(<Pattern Name="Inner"><EventList><Note/></EventList></Pattern>)"
                                          R"(<Bogus/>text<CC Offset="001:01:001" Event="PAN"/>)"
                                          R"(</EventList></Pattern>)");
    SeqEventPattern read;
    test::LoadXML(read, dir / "in.xml", "Pattern");
    EXPECT_EQ(read.GetName(), "Pattern");   // no Name attribute: the element name
    EXPECT_EQ(read.GetLength(), 1u);
    ASSERT_EQ(read.Events().size(), 2u);
    EXPECT_EQ(read.Events().front()->GetType(), kSeqEventController);
    EXPECT_EQ(read.Events().back()->GetStart(), 10u);
    EXPECT_TRUE(shell.messages.empty());

    // A pattern named "Pattern" is stored without a Name.
    const std::string text = test::StoreXML(read, dir / "out.xml");
    EXPECT_EQ(text.find("Name="), std::string::npos) << text;
}

TEST_F(SeqEventPatternTest, BinaryRoundTrip)
{
    pattern.SetName("Bäss");
    ASSERT_TRUE(pattern.SetLength(960));
    pattern.SetColour(Colour::FromRgb(0x10, 0x20, 0x30));
    AddNote(pattern, 10, 50, 20);
    AddController(pattern, 10, 1, -5);
    std::unique_ptr<SeqEventPattern> copy = DeepCopy(pattern);
    EXPECT_EQ(copy->GetName(), "Bäss");
    EXPECT_EQ(copy->GetLength(), 960u);
    EXPECT_EQ(copy->GetColour(), Colour::FromRgb(0x10, 0x20, 0x30));
    ASSERT_EQ(copy->Events().size(), 2u);
    EXPECT_EQ(copy->Events().front()->GetRuntimeClass().Name(), "SeqEventNote");
    EXPECT_EQ(copy->Events().back()->GetRuntimeClass().Name(), "SeqEventCC");
    EXPECT_EQ(copy->Events().back()->GetParent(), copy.get());
    copy->Play(10, &target);
    EXPECT_EQ(CodesAndNotes(target), (std::vector<std::pair<int, int>>{{kEventNoteStart, 50}, {1, -5}}));
}

TEST_F(SeqEventPatternTest, BinaryLoadRefusesAPatternAmongTheEvents)
{
    SeqEventPattern inner;
    MemoryStream crafted;
    {
        BinaryArchive archive(crafted, BinaryArchive::Mode::Store);
        archive.WriteDword(0);      // offset
        archive.WriteByte(1);
        archive.WriteString("Outer");
        archive.WriteDword(0);      // length 0, read as 1
        archive.WriteBytes("\x01\x02\x03", 3);
        archive.WriteCount(1);
        archive.WriteObject(&inner);
        archive.Close();
    }
    crafted.Seek(0);
    BinaryArchive load(crafted, BinaryArchive::Mode::Load);
    SeqEventPattern read;
    try {
        read.Serialize(load);
        FAIL() << "a pattern was accepted as an event";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), ArchiveException::Cause::BadClass);
    }
    EXPECT_EQ(read.GetLength(), 1u);
    EXPECT_TRUE(read.Events().empty());
}

} // namespace
} // namespace jorvo
