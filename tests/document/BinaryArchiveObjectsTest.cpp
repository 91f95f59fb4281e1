// Object references, lists, maps, damaged input and deep copies in the binary archive.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "document/BinaryArchive.h"
#include "document/DeepCopy.h"

namespace jorvo::archive_test {

using Cause = ArchiveException::Cause;
using Mode = BinaryArchive::Mode;

// Counts live test objects, so tests can prove that a failed load leaks nothing.
int liveObjects = 0;

class CountedObject : public PersistentObject {
    JORVO_DECLARE_PERSISTENT(CountedObject)
    CountedObject() { ++liveObjects; }
    CountedObject(const CountedObject&) : PersistentObject() { ++liveObjects; }
    ~CountedObject() override { --liveObjects; }
    // The XML side is not what these tests exercise.
    void SerializeXML(CXMLArchive&) override {}
};
JORVO_IMPLEMENT_ABSTRACT(CountedObject, PersistentObject)

// A small note: start DWORD, pitch BYTE, velocity BYTE.
class SeqEventNote : public CountedObject {
    JORVO_DECLARE_PERSISTENT(SeqEventNote)
    SeqEventNote() = default;
    SeqEventNote(std::uint32_t start, std::uint8_t pitch, std::uint8_t velocity)
        : start(start), pitch(pitch), velocity(velocity) {}
    void Serialize(BinaryArchive& archive) override
    {
        archive.Field(start);
        archive.Field(pitch);
        archive.Field(velocity);
    }
    bool operator==(const SeqEventNote& other) const
    {
        return start == other.start && pitch == other.pitch && velocity == other.velocity;
    }
    std::uint32_t start = 0;
    std::uint8_t pitch = 0;
    std::uint8_t velocity = 0;
};
JORVO_IMPLEMENT_PERSISTENT(SeqEventNote, CountedObject, 0)

// A named list of owned notes.
class TestPattern : public CountedObject {
    JORVO_DECLARE_PERSISTENT(TestPattern)
    void Serialize(BinaryArchive& archive) override
    {
        archive.Field(name);
        if (archive.IsStoring())
            archive.WriteObjectList(notes);
        else
            notes = archive.ReadObjectList<SeqEventNote>();
    }
    std::string name;
    std::vector<std::unique_ptr<SeqEventNote>> notes;
};
JORVO_IMPLEMENT_PERSISTENT(TestPattern, CountedObject, 0)

// A chain of nodes, each owning the next.
class TestNode : public CountedObject {
    JORVO_DECLARE_PERSISTENT(TestNode)
    void Serialize(BinaryArchive& archive) override
    {
        if (archive.IsStoring())
            archive.WriteObject(child.get());
        else
            child = archive.ReadObject<TestNode>();
    }
    std::unique_ptr<TestNode> child;
};
JORVO_IMPLEMENT_PERSISTENT(TestNode, CountedObject, 0)

// Lacks its own declaration, so it reports the abstract class above it.
class Undeclared : public CountedObject {
public:
    void Serialize(BinaryArchive&) override {}
};

const std::string NoteClassRecord("\xFF\xFF\x00\x00\x0C\x00SeqEventNote", 18);

template <class Write>
std::string Stored(Write write)
{
    MemoryStream memory;
    BinaryArchive archive(memory, Mode::Store);
    write(archive);
    archive.Close();
    return memory.BytesAsString();
}

// The cause of the archive error `read` raises on `bytes`; also checks that nothing leaked.
template <class Read>
Cause LoadFailure(const std::string& bytes, Read read)
{
    const int liveBefore = liveObjects;
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    try {
        read(archive);
    } catch (const ArchiveException& error) {
        EXPECT_EQ(liveObjects, liveBefore) << "objects leaked";
        return error.GetCause();
    }
    ADD_FAILURE() << "no archive error";
    return Cause::Generic;
}

std::vector<std::unique_ptr<SeqEventNote>> ThreeNotes()
{
    std::vector<std::unique_ptr<SeqEventNote>> notes;
    notes.push_back(std::make_unique<SeqEventNote>(480, 60, 100));
    notes.push_back(std::make_unique<SeqEventNote>(960, 62, 90));
    notes.push_back(std::make_unique<SeqEventNote>(1440, 64, 80));
    return notes;
}

TEST(BinaryArchiveObjects, ListOfThreeNotesWritesTheClassOnceThenItsIndex)
{
    auto notes = ThreeNotes();
    const std::string bytes = Stored([&](BinaryArchive& archive) {
        archive.WriteObjectList(notes);
        // The notes took the indices 2, 3 and 4 after the class's 1.
        archive.WriteObject(notes[0].get());
        archive.WriteObject(notes[2].get());
    });
    const std::string expected = std::string("\x03\x00", 2) + NoteClassRecord +
                                 std::string("\xE0\x01\x00\x00\x3C\x64", 6) + std::string("\x01\x80", 2) +
                                 std::string("\xC0\x03\x00\x00\x3E\x5A", 6) + std::string("\x01\x80", 2) +
                                 std::string("\xA0\x05\x00\x00\x40\x50", 6) + std::string("\x02\x00\x04\x00", 4);
    EXPECT_EQ(bytes, expected);

    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    const auto loaded = archive.ReadObjectList<SeqEventNote>();
    ASSERT_EQ(loaded.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(*loaded[i], *notes[i]);
    EXPECT_EQ(archive.ReadReference<SeqEventNote>(), loaded[0].get());
    EXPECT_EQ(archive.ReadReference<SeqEventNote>(), loaded[2].get());
}

TEST(BinaryArchiveObjects, SameObjectTwiceIsStoredOnce)
{
    SeqEventNote note(480, 60, 100);
    const std::string bytes = Stored([&](BinaryArchive& archive) {
        archive.WriteObject(&note);
        archive.WriteObject(&note);
        archive.WriteObject(nullptr);
    });
    EXPECT_EQ(bytes, NoteClassRecord + std::string("\xE0\x01\x00\x00\x3C\x64\x02\x00\x00\x00", 10));

    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    const auto owned = archive.ReadObject<SeqEventNote>();
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(*owned, note);
    EXPECT_EQ(archive.ReadReference<SeqEventNote>(), owned.get());
    EXPECT_EQ(archive.ReadObject<SeqEventNote>(), nullptr);
}

TEST(BinaryArchiveObjects, ReadObjectCanAskForABaseClass)
{
    SeqEventNote note(1, 2, 3);
    const std::string bytes = Stored([&](BinaryArchive& archive) { archive.WriteObject(&note); });
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    const std::unique_ptr<PersistentObject> object = archive.ReadObject<PersistentObject>();
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf<SeqEventNote>());
}

TEST(BinaryArchiveObjects, StringKeyedMapStoresKeyThenReference)
{
    std::map<std::string, std::unique_ptr<SeqEventNote>> map;
    map["a"] = std::make_unique<SeqEventNote>(480, 60, 100);
    map["b"] = nullptr;
    const std::string bytes = Stored([&](BinaryArchive& archive) { archive.WriteObjectMap(map); });
    EXPECT_EQ(bytes, std::string("\x02\x00\xFF\xFE\xFF\x01\x61\x00", 8) + NoteClassRecord +
                         std::string("\xE0\x01\x00\x00\x3C\x64\xFF\xFE\xFF\x01\x62\x00\x00\x00", 14));

    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    const auto entries = archive.ReadObjectMap<SeqEventNote>();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].first, "a");
    ASSERT_NE(entries[0].second, nullptr);
    EXPECT_EQ(*entries[0].second, *map["a"]);
    EXPECT_EQ(entries[1].first, "b");
    EXPECT_EQ(entries[1].second, nullptr);
}

TEST(BinaryArchiveObjects, ListOf0xFFFFElementsUsesTheCountEscape)
{
    const std::vector<SeqEventNote*> nulls(0xFFFF, nullptr);
    const std::string bytes = Stored([&](BinaryArchive& archive) { archive.WriteObjectList(nulls); });
    ASSERT_EQ(bytes.size(), 6u + 2u * 0xFFFF);
    EXPECT_EQ(bytes.substr(0, 8), std::string("\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 8));

    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_EQ(archive.ReadObjectList<SeqEventNote>().size(), 0xFFFFu);
}

TEST(BinaryArchiveObjects, IndicesFrom0x7FFFUseTheDwordEscape)
{
    // The class takes index 1 and the notes 2 … 0x8000; notes[0x7FFD] has index 0x7FFF.
    std::vector<std::unique_ptr<SeqEventNote>> notes;
    for (std::uint32_t i = 0; i < 0x7FFF; ++i)
        notes.push_back(std::make_unique<SeqEventNote>(i, 1, 2));
    TestPattern first, second;
    const std::string bytes = Stored([&](BinaryArchive& archive) {
        archive.WriteObjectList(notes);
        archive.WriteObject(notes[0x7FFC].get());
        archive.WriteObject(notes[0x7FFD].get());
        archive.WriteObject(&first);    // class 0x8001, object 0x8002
        archive.WriteObject(&second);   // class already written, under an escaped index
    });
    const std::size_t listSize = 2 + NoteClassRecord.size() + 6 + (0x7FFF - 1) * (2 + 6);
    const std::string patternRecord("\xFF\xFF\x00\x00\x0B\x00TestPattern", 17);
    const std::string emptyPattern("\xFF\xFE\xFF\x00\x00\x00", 6);
    EXPECT_EQ(bytes.substr(listSize), std::string("\xFE\x7F\xFF\x7F\xFF\x7F\x00\x00", 8) + patternRecord +
                                          emptyPattern + std::string("\xFF\x7F\x01\x80\x00\x80", 6) + emptyPattern);

    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    const auto loaded = archive.ReadObjectList<SeqEventNote>();
    ASSERT_EQ(loaded.size(), 0x7FFFu);
    EXPECT_EQ(loaded[0x7FFE]->start, 0x7FFEu);
    EXPECT_EQ(archive.ReadReference<SeqEventNote>(), loaded[0x7FFC].get());
    EXPECT_EQ(archive.ReadReference<SeqEventNote>(), loaded[0x7FFD].get());
    EXPECT_NE(archive.ReadObject<TestPattern>(), nullptr);
    EXPECT_NE(archive.ReadObject<TestPattern>(), nullptr);
}

TEST(BinaryArchiveDamage, UnknownOrUnsuitableClassIsBadClass)
{
    const auto readNote = [](BinaryArchive& archive) { archive.ReadObject<SeqEventNote>(); };
    EXPECT_EQ(LoadFailure(std::string("\xFF\xFF\x00\x00\x05\x00" "Bogus", 11), readNote), Cause::BadClass);
    // A registered class that is not a note.
    EXPECT_EQ(LoadFailure(std::string("\xFF\xFF\x00\x00\x0B\x00TestPattern\xFF\xFE\xFF\x00\x00\x00", 23), readNote),
              Cause::BadClass);
    // An abstract class cannot be created.
    const auto readAny = [](BinaryArchive& archive) { archive.ReadObject<PersistentObject>(); };
    EXPECT_EQ(LoadFailure(std::string("\xFF\xFF\x00\x00\x0D\x00" "CountedObject", 19), readAny), Cause::BadClass);
}

TEST(BinaryArchiveDamage, AnySchemaIsAccepted)
{
    MemoryStream memory(std::string("\xFF\xFF\x07\x00\x0C\x00SeqEventNote\x01\x00\x00\x00\x02\x03", 24));
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_EQ(*archive.ReadObject<SeqEventNote>(), SeqEventNote(1, 2, 3));
}

TEST(BinaryArchiveDamage, UnassignedOrWrongKindOfIndexIsBadIndex)
{
    const auto readNote = [](BinaryArchive& archive) { archive.ReadObject<SeqEventNote>(); };
    const auto referNote = [](BinaryArchive& archive) { archive.ReadReference<SeqEventNote>(); };
    const std::string oneNote = NoteClassRecord + std::string("\x01\x00\x00\x00\x02\x03", 6);
    const auto thenRefer = [](BinaryArchive& archive) {
        const auto owned = archive.ReadObject<SeqEventNote>();
        archive.ReadReference<SeqEventNote>();
    };
    const auto thenRead = [](BinaryArchive& archive) {
        const auto owned = archive.ReadObject<SeqEventNote>();
        archive.ReadObject<SeqEventNote>();
    };

    EXPECT_EQ(LoadFailure(std::string("\x05\x00", 2), referNote), Cause::BadIndex);       // never assigned
    EXPECT_EQ(LoadFailure(std::string("\x02\x80", 2), readNote), Cause::BadIndex);        // class never assigned
    EXPECT_EQ(LoadFailure(std::string("\x00\x80", 2), readNote), Cause::BadIndex);        // class index 0
    EXPECT_EQ(LoadFailure(std::string("\xFF\x7F\x00\x00\x00\x00", 6), referNote), Cause::BadIndex);
    EXPECT_EQ(LoadFailure(std::string("\xFF\x7F\x09\x00\x00\x80", 6), readNote), Cause::BadIndex);
    EXPECT_EQ(LoadFailure(oneNote + std::string("\x01\x00", 2), thenRefer), Cause::BadIndex);  // class as object
    EXPECT_EQ(LoadFailure(oneNote + std::string("\x02\x80", 2), thenRead), Cause::BadIndex);   // object as class
    EXPECT_EQ(LoadFailure(oneNote + std::string("\x02\x00", 2), thenRead), Cause::BadIndex);   // second owner
    // A new object where only a reference to a known one may stand.
    EXPECT_EQ(LoadFailure(oneNote + std::string("\x01\x80\x04\x00\x00\x00\x05\x06", 8), thenRefer), Cause::BadIndex);
}

TEST(BinaryArchiveDamage, FailedListLeaksNothingAndForgetsItsObjects)
{
    // Two good notes, then a reference to an index never assigned.
    const std::string bytes = std::string("\x03\x00", 2) + NoteClassRecord +
                              std::string("\x01\x00\x00\x00\x02\x03\x01\x80\x04\x00\x00\x00\x05\x06\x09\x00", 16);
    const int liveBefore = liveObjects;
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_THROW(archive.ReadObjectList<SeqEventNote>(), ArchiveException);
    EXPECT_EQ(liveObjects, liveBefore);
}

TEST(BinaryArchiveDamage, ObjectWhoseLoadFailedCannotBeReferencedLater)
{
    // A node (index 2) whose child is a bad reference, then a reference back to that node.
    MemoryStream memory(std::string("\xFF\xFF\x00\x00\x08\x00TestNode\x09\x00\x02\x00", 18));
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_THROW(archive.ReadObject<TestNode>(), ArchiveException);
    try {
        archive.ReadReference<TestNode>();
        FAIL() << "a destroyed object was handed out";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), Cause::BadIndex);
    }
}

TEST(BinaryArchiveDamage, EveryTruncationIsEndOfFile)
{
    TestPattern pattern;
    pattern.name = "Bass line";
    pattern.notes = ThreeNotes();
    std::map<std::string, std::unique_ptr<SeqEventNote>> map;
    map["Lead"] = std::make_unique<SeqEventNote>(7, 8, 9);
    const std::string bytes = Stored([&](BinaryArchive& archive) {
        archive.WriteObject(&pattern);
        archive.WriteObjectMap(map);
        archive.WriteObject(pattern.notes[1].get());
        archive.WriteString("end");
        archive.WriteDword(5);
    });
    const auto readAll = [](BinaryArchive& archive) {
        const auto loaded = archive.ReadObject<TestPattern>();
        const auto entries = archive.ReadObjectMap<SeqEventNote>();
        EXPECT_EQ(archive.ReadReference<SeqEventNote>(), loaded->notes[1].get());
        EXPECT_EQ(archive.ReadString(), "end");
        EXPECT_EQ(archive.ReadDword(), 5u);
    };
    {
        MemoryStream memory(bytes);
        BinaryArchive archive(memory, Mode::Load, 7);
        readAll(archive);
        EXPECT_EQ(archive.BytesAvailable(), 0u);
    }
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_EQ(LoadFailure(bytes.substr(0, length), readAll), Cause::EndOfFile) << "cut at " << length;
}

TEST(BinaryArchiveDamage, DeepNestingIsRefusedNotOverflowed)
{
    // A node whose child reference repeats the node's class 100000 times.
    std::string bytes("\xFF\xFF\x00\x00\x08\x00TestNode", 14);
    for (int i = 0; i < 100000; ++i)
        bytes += std::string("\x01\x80", 2);
    bytes += std::string("\x00\x00", 2);
    EXPECT_EQ(LoadFailure(bytes, [](BinaryArchive& archive) { archive.ReadObject<TestNode>(); }), Cause::Generic);
}

TEST(BinaryArchiveDamage, ModerateNestingLoads)
{
    TestNode root;
    TestNode* last = &root;
    for (int i = 0; i < 150; ++i) {
        last->child = std::make_unique<TestNode>();
        last = last->child.get();
    }
    MemoryStream memory(Stored([&](BinaryArchive& archive) { archive.WriteObject(&root); }));
    BinaryArchive archive(memory, Mode::Load);
    auto loaded = archive.ReadObject<TestNode>();
    int depth = 0;
    for (const TestNode* node = loaded.get(); node->child; node = node->child.get())
        ++depth;
    EXPECT_EQ(depth, 150);
}

TEST(BinaryArchiveStoring, ObjectWhoseClassCannotBeReadBackIsRefused)
{
    Undeclared object;
    MemoryStream memory;
    BinaryArchive archive(memory, Mode::Store);
    try {
        archive.WriteObject(&object);
        FAIL() << "stored an object of an abstract class";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), Cause::BadClass);
    }
}

TEST(BinaryArchiveStoring, EmbeddedObjectHasNoClassRecordAndNoIndex)
{
    SeqEventNote embedded(1, 2, 3);
    SeqEventNote referenced(4, 5, 6);
    const std::string bytes = Stored([&](BinaryArchive& archive) {
        embedded.Serialize(archive);
        archive.WriteObject(&referenced);
        archive.WriteObject(&referenced);
    });
    EXPECT_EQ(bytes, std::string("\x01\x00\x00\x00\x02\x03", 6) + NoteClassRecord +
                         std::string("\x04\x00\x00\x00\x05\x06\x02\x00", 8));
}

TEST(DeepCopy, CopyIsEqualAndIndependent)
{
    TestPattern pattern;
    pattern.name = "Drums \xC3\xA9t\xC3\xA9";
    pattern.notes = ThreeNotes();
    const int liveBefore = liveObjects;

    auto copy = DeepCopy(pattern);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(liveObjects, liveBefore + 4);
    EXPECT_EQ(copy->name, pattern.name);
    ASSERT_EQ(copy->notes.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(copy->notes[i].get(), pattern.notes[i].get());
        EXPECT_EQ(*copy->notes[i], *pattern.notes[i]);
    }
    copy->notes[0]->pitch = 99;
    copy->notes.pop_back();
    copy->name = "changed";
    EXPECT_EQ(pattern.notes[0]->pitch, 60);
    EXPECT_EQ(pattern.notes.size(), 3u);
    EXPECT_EQ(pattern.name, "Drums \xC3\xA9t\xC3\xA9");
}

TEST(DeepCopy, CopyThroughABasePointerKeepsTheMostDerivedClass)
{
    SeqEventNote note(5, 6, 7);
    CountedObject& base = note;
    const std::unique_ptr<CountedObject> copy = DeepCopy(base);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(&copy->GetRuntimeClass(), &SeqEventNote::StaticRuntimeClass());
    EXPECT_EQ(static_cast<const SeqEventNote&>(*copy), note);
}

} // namespace jorvo::archive_test
