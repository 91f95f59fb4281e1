#include "sequencer/SeqEvent.h"

#include <gtest/gtest.h>

#include "document/ArchiveException.h"
#include "document/DeepCopy.h"
#include "engine/EventCodes.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventFactory.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SequencerMessages.h"
#include "SeqEventTestSupport.h"

namespace jorvo {
namespace {

using test::TargetCall;
using test::RecordingTarget;

class SeqEventTest : public test::SequencerValuesTest {
protected:
    std::filesystem::path File(const std::string& name) const { return dir / name; }

    static void SetNote(SeqEventNote& note, std::uint32_t offset, std::uint32_t pitch, std::uint32_t velocity,
                        std::uint32_t length)
    {
        note.SetStart(offset);
        EXPECT_TRUE(note.SetPitch(pitch));
        EXPECT_TRUE(note.SetVelocity(velocity));
        EXPECT_TRUE(note.SetLength(length));
    }

    // Reads `object` from `xml`, the only element inside the root.
    template <class Object>
    void LoadFrom(Object& object, const std::string& xml, const std::string& element)
    {
        test::WriteXMLElement(File("in.xml"), xml);
        test::LoadXML(object, File("in.xml"), element);
    }

    RecordingShell shell;
    ScopedShell scopedShell{shell};
    test::TempDir dir;
};

TEST_F(SeqEventTest, NoteOfLengthThreeStartsAtTenAndEndsAtTwelve)
{
    SeqEventNote note;
    SetNote(note, 10, 64, 100, 3);
    RecordingTarget target("Lead");
    for (std::uint32_t pulse = 8; pulse <= 14; ++pulse)
        note.Play(pulse, &target);
    EXPECT_EQ(target.received,
              (std::vector<TargetCall>{{kEventNoteStart, 64, 100, 3, 0}, {kEventNoteEnd, 64, 0, 0, 0}}));
    EXPECT_EQ(note.GetEnd(), 12u);
    EXPECT_EQ(note.GetAbsoluteEnd(), 13u);

    // Played at exactly 10 and 12: the end belongs to pulse 12 only.
    target.received.clear();
    note.Play(12, &target);
    EXPECT_EQ(target.received, (std::vector<TargetCall>{{kEventNoteEnd, 64, 0, 0, 0}}));
}

TEST_F(SeqEventTest, NoteOfLengthOneOnlyStarts)
{
    SeqEventNote note;
    SetNote(note, 5, 60, 1, 1);
    RecordingTarget target("Lead");
    note.Play(5, &target);
    note.Play(6, &target);
    EXPECT_EQ(target.received, (std::vector<TargetCall>{{kEventNoteStart, 60, 1, 1, 0}}));
    note.Play(5, nullptr);   // without a target nothing happens
}

TEST_F(SeqEventTest, ControllerPlaysAtItsStartOnly)
{
    SeqEventCC cc;
    cc.SetStart(7);
    cc.SetController(10);
    cc.SetValue(-3);
    RecordingTarget target("Lead");
    cc.Play(6, &target);
    cc.Play(7, &target);
    cc.Play(8, &target);
    EXPECT_EQ(target.received, (std::vector<TargetCall>{{10, -3, 0, 0, 0}}));
    EXPECT_EQ(cc.GetEnd(), 7u);
    EXPECT_EQ(cc.GetLength(), 0u);
    EXPECT_FALSE(cc.SetLength(5));
}

TEST_F(SeqEventTest, NoteSettersRefuseOutOfRangeValues)
{
    SeqEventNote note;
    EXPECT_EQ(note.GetLength(), 0u);
    EXPECT_EQ(note.GetEnd(), 0u);   // length 0 ends at the offset
    EXPECT_FALSE(note.SetLength(0));
    EXPECT_FALSE(note.SetPitch(128));
    EXPECT_FALSE(note.SetVelocity(200));
    EXPECT_EQ(note.GetPitch(), 0);
    EXPECT_EQ(note.GetVelocity(), 0);
    EXPECT_TRUE(note.SetPitch(0));   // unchanged is fine
    EXPECT_TRUE(note.SetPitch(127));
    EXPECT_EQ(note.GetPitch(), 127);
}

TEST_F(SeqEventTest, AbsoluteTimesFollowTheParent)
{
    SeqEventPattern pattern;
    pattern.SetStart(1000);
    SeqEventNote note;
    SetNote(note, 10, 60, 60, 5);
    note.SetParent(&pattern);
    EXPECT_EQ(note.GetAbsoluteStart(), 1010u);
    EXPECT_EQ(note.GetAbsoluteEnd(), 1015u);

    SeqEventNote copy;
    copy.CopyFrom(note);
    EXPECT_EQ(copy.GetStart(), 10u);
    EXPECT_EQ(copy.GetParent(), &pattern);
    EXPECT_EQ(copy.GetPitch(), 0);   // only the position is copied
}

TEST_F(SeqEventTest, CollectingNotesAndControllers)
{
    SeqEventNote note;
    SetNote(note, 100, 60, 60, 10);   // pulses 100…109
    std::vector<SeqEvent*> list;
    note.CollectNotes(list, 109, 200, 60, 60);
    note.CollectNotes(list, 0, 100, 0, 127);
    note.CollectNotes(list, 110, 200, 0, 127);   // after the end
    note.CollectNotes(list, 0, 99, 0, 127);      // before the start
    note.CollectNotes(list, 0, 200, 61, 127);    // pitch outside
    note.CollectControllers(list, 0, 200, 0, 65535);
    EXPECT_EQ(list, (std::vector<SeqEvent*>{&note, &note}));

    SeqEventCC cc;
    cc.SetStart(50);
    cc.SetController(7);
    list.clear();
    cc.CollectControllers(list, 50, 50, 7, 7);
    cc.CollectControllers(list, 51, 100, 0, 127);
    cc.CollectControllers(list, 0, 100, 8, 127);
    cc.CollectNotes(list, 0, 100, 0, 127);
    EXPECT_EQ(list, (std::vector<SeqEvent*>{&cc}));
}

TEST_F(SeqEventTest, NoteXMLRoundTrip)
{
    SeqEventNote note;
    SetNote(note, 1920 + 10, 64, 99, 480);
    const std::string text = test::StoreXML(note, File("note.xml"));
    EXPECT_NE(text.find("<Note Offset=\"002:01:011\" Pitch=\"64\" Velocity=\"99\" Length=\"000:01:000\""),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Name="), std::string::npos);

    SeqEventNote read;
    test::LoadXML(read, File("note.xml"), "Note");
    EXPECT_EQ(read.GetStart(), 1930u);
    EXPECT_EQ(read.GetPitch(), 64);
    EXPECT_EQ(read.GetVelocity(), 99);
    EXPECT_EQ(read.GetLength(), 480u);
}

TEST_F(SeqEventTest, NoteXMLLoadCorrectsOutOfRangeValues)
{
    SeqEventNote note;
    LoadFrom(note, R"(<Note Offset="001:01:001" Pitch="200" Velocity="200" Length="000:00:000"/>)", "Note");
    EXPECT_EQ(note.GetPitch(), 60);
    EXPECT_EQ(note.GetVelocity(), 127);
    EXPECT_EQ(note.GetLength(), 1u);

    SeqEventNote bare;
    LoadFrom(bare, R"(<Note Pitch="127" Velocity="0"/>)", "Note");
    EXPECT_EQ(bare.GetStart(), 0u);
    EXPECT_EQ(bare.GetPitch(), 127);
    EXPECT_EQ(bare.GetLength(), 1u);
}

TEST_F(SeqEventTest, ControllerXMLNames)
{
    struct Case {
        std::uint16_t code;
        const char* stored;
        std::uint16_t readBack;
    };
    for (const Case& c : {Case{120, "120", 120}, Case{7, "VOLUME", 7}, Case{201, "NOTE", 200}}) {
        SeqEventCC cc;
        cc.SetController(c.code);
        cc.SetValue(-70000);
        const std::string text = test::StoreXML(cc, File("cc.xml"));
        EXPECT_NE(text.find(std::string("Event=\"") + c.stored + "\" Value=\"-70000\""), std::string::npos) << text;
        SeqEventCC read;
        test::LoadXML(read, File("cc.xml"), "CC");
        EXPECT_EQ(read.GetController(), c.readBack);
        EXPECT_EQ(read.GetValue(), -70000);
    }

    SeqEventCC note;
    LoadFrom(note, R"(<CC Event="NOTE" Value="5"/>)", "CC");
    EXPECT_EQ(note.GetController(), 200);

    // A missing Event reads as 0, a missing Value keeps the value.
    SeqEventCC kept;
    kept.SetController(9);
    kept.SetValue(42);
    LoadFrom(kept, R"(<CC Offset="001:01:005"/>)", "CC");
    EXPECT_EQ(kept.GetController(), 0);
    EXPECT_EQ(kept.GetValue(), 42);
    EXPECT_EQ(kept.GetStart(), 4u);
}

TEST_F(SeqEventTest, NoteElementReadAsControllerIsRefused)
{
    SeqEventCC cc;
    test::WriteXMLElement(File("note.xml"), R"(<Note Offset="001:01:001" Pitch="60"/>)");
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, File("note.xml").string(), CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Note"));
    try {
        cc.SerializeXML(archive);
        FAIL() << "a Note element was read as a controller event";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), ArchiveException::Cause::Generic);
        EXPECT_EQ(error.FileName(), File("note.xml").string());
    }
}

TEST_F(SeqEventTest, PlainEventsAreNeverStored)
{
    SeqEvent plain;
    plain.SetStart(5);
    const std::string text = test::StoreXML(plain, File("plain.xml"));
    EXPECT_EQ(text.find("Offset"), std::string::npos) << text;
    EXPECT_EQ(SeqEvent::ElementName(kSeqEventPlain), "");
}

TEST_F(SeqEventTest, BinaryRoundTripsAndCorrections)
{
    SeqEventNote note;
    SetNote(note, 77, 61, 62, 1000);
    std::unique_ptr<SeqEventNote> copy = DeepCopy(note);
    EXPECT_EQ(copy->GetRuntimeClass().Name(), "SeqEventNote");
    EXPECT_EQ(copy->GetStart(), 77u);
    EXPECT_EQ(copy->GetPitch(), 61);
    EXPECT_EQ(copy->GetVelocity(), 62);
    EXPECT_EQ(copy->GetLength(), 1000u);

    SeqEventNote unset;   // length 0 stored, read back as 1
    EXPECT_EQ(DeepCopy(unset)->GetLength(), 1u);

    SeqEventCC cc;
    cc.SetStart(3);
    cc.SetController(65535);
    cc.SetValue(-1);
    std::unique_ptr<SeqEventCC> ccCopy = DeepCopy(cc);
    EXPECT_EQ(ccCopy->GetStart(), 3u);
    EXPECT_EQ(ccCopy->GetController(), 65535);
    EXPECT_EQ(ccCopy->GetValue(), -1);
}

TEST_F(SeqEventTest, BinaryNoteLayout)
{
    SeqEventNote note;
    SetNote(note, 0x01020304, 0x40, 0x7F, 0x0A0B0C0D);
    MemoryStream memory;
    {
        BinaryArchive archive(memory, BinaryArchive::Mode::Store);
        note.Serialize(archive);
    }
    EXPECT_EQ(memory.BytesAsString(), std::string("\x04\x03\x02\x01\x40\x7F\x0D\x0C\x0B\x0A", 10));

    // Damaged values: pitch 200, velocity 255, length 0.
    MemoryStream damaged(std::string("\x00\x00\x00\x00\xC8\xFF\x00\x00\x00\x00", 10));
    BinaryArchive archive(damaged, BinaryArchive::Mode::Load);
    SeqEventNote read;
    read.Serialize(archive);
    EXPECT_EQ(read.GetPitch(), 60);
    EXPECT_EQ(read.GetVelocity(), 127);
    EXPECT_EQ(read.GetLength(), 1u);

    MemoryStream truncated(std::string("\x00\x00\x00\x00\x40", 5));
    BinaryArchive shortArchive(truncated, BinaryArchive::Mode::Load);
    EXPECT_THROW(read.Serialize(shortArchive), ArchiveException);
}

TEST_F(SeqEventTest, FactoryCreatesByElementName)
{
    test::WriteXMLElement(File("events.xml"), R"(<Note Offset="001:01:002" Pitch="70"/><CC Event="PAN" Value="64"/>)"
                                              R"(<Pattern Name="Bass"/><Section Name="Verse"/><Song Name="Tune"/>)"
                                              R"(<Bogus/>)");
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, File("events.xml").string(), CXMLArchive::kLoad));
    std::vector<int> types;
    std::vector<std::string> names;
    DomNodeList nodes = archive.GetCurrentNode().ChildNodes();
    DomNode node;
    while (archive.NextNode(nodes, node)) {
        CXMLArchive child(archive);
        child.SetCurrentNode(node);
        std::unique_ptr<SeqEvent> event = SeqEventFactory::CreateFromXML(child);
        types.push_back(event ? event->GetType() : -1);
        names.push_back(event ? event->GetName() : "");
    }
    EXPECT_EQ(types, (std::vector<int>{4, 5, 3, 2, 1, -1}));
    EXPECT_EQ(names, (std::vector<std::string>{"Note", "CC", "Bass", "Verse", "Tune", ""}));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(SeqEventTest, FactoryReportsElementsThatCannotBeRead)
{
    test::WriteXMLElement(File("section.xml"), R"(<Section Name="Verse"/>)");
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, File("section.xml").string(), CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Section"));
    EXPECT_EQ(SeqEventFactory::CreatePatternFromXML(archive), nullptr);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], "The Section element could not be read: " +
                                     std::string(ArchiveException::CauseText(ArchiveException::Cause::Generic)) +
                                     ".");

    std::unique_ptr<SeqEventSection> section = SeqEventFactory::CreateSectionFromXML(archive);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->GetName(), "Verse");
    EXPECT_EQ(shell.messages.size(), 1u);
}

} // namespace
} // namespace jorvo
