// Plain values, strings, counts, buffering and streams of the binary archive.
#include <gtest/gtest.h>

#include <string>

#include "document/BinaryArchive.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using Cause = ArchiveException::Cause;
using Mode = BinaryArchive::Mode;

// Stores through `write` into a fresh memory block and returns the bytes.
template <class Write>
std::string Stored(Write write, std::size_t bufferSize = BinaryArchive::DefaultBufferSize)
{
    MemoryStream memory;
    BinaryArchive archive(memory, Mode::Store, bufferSize);
    write(archive);
    archive.Close();
    return memory.BytesAsString();
}

std::string ReadStringFrom(const std::string& bytes)
{
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    return archive.ReadString();
}

std::string StoredString(const std::string& text)
{
    return Stored([&](BinaryArchive& archive) { archive.WriteString(text); });
}

template <class Read>
Cause LoadFailure(const std::string& bytes, Read read)
{
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    try {
        read(archive);
    } catch (const ArchiveException& error) {
        return error.GetCause();
    }
    ADD_FAILURE() << "no archive error";
    return Cause::Generic;
}

const std::string WideMark("\xFF\xFE\xFF", 3);

TEST(BinaryArchiveValues, IntegersAreLittleEndian)
{
    const std::string bytes = Stored([](BinaryArchive& archive) {
        archive.WriteByte(0xAB);
        archive.WriteWord(0x1234);
        archive.WriteDword(0x89ABCDEF);
        archive.WriteInt8(-2);
        archive.WriteInt16(-300);
        archive.WriteInt32(-70000);
    });
    EXPECT_EQ(bytes, std::string("\xAB\x34\x12\xEF\xCD\xAB\x89\xFE\xD4\xFE\x90\xEE\xFE\xFF", 14));

    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_EQ(archive.ReadByte(), 0xAB);
    EXPECT_EQ(archive.ReadWord(), 0x1234);
    EXPECT_EQ(archive.ReadDword(), 0x89ABCDEFu);
    EXPECT_EQ(archive.ReadInt8(), -2);
    EXPECT_EQ(archive.ReadInt16(), -300);
    EXPECT_EQ(archive.ReadInt32(), -70000);
    EXPECT_EQ(archive.BytesAvailable(), 0u);
}

TEST(BinaryArchiveValues, FieldWritesWhenStoringAndReadsWhenLoading)
{
    std::uint16_t word = 0xBEEF;
    std::string text = "Hi";
    const std::string bytes = Stored([&](BinaryArchive& archive) {
        archive.Field(word);
        archive.Field(text);
    });
    EXPECT_EQ(bytes, "\xEF\xBE" + WideMark + std::string("\x02H\0i\0", 5));

    word = 0;
    text.clear();
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    archive.Field(word);
    archive.Field(text);
    EXPECT_EQ(word, 0xBEEF);
    EXPECT_EQ(text, "Hi");
}

TEST(BinaryArchiveStrings, ShortStringsUseOneLengthByte)
{
    EXPECT_EQ(StoredString("Bass"), std::string("\xFF\xFE\xFF\x04\x42\x00\x61\x00\x73\x00\x73\x00", 12));
    EXPECT_EQ(StoredString(""), std::string("\xFF\xFE\xFF\x00", 4));
    EXPECT_EQ(ReadStringFrom(StoredString("Bass")), "Bass");
    EXPECT_EQ(ReadStringFrom(StoredString("")), "");
}

TEST(BinaryArchiveStrings, LengthFormsChangeAt255And0xFFFE)
{
    const std::string chars254(254, 'x');
    EXPECT_EQ(StoredString(chars254).substr(0, 4), WideMark + "\xFE");

    const std::string chars255(255, 'x');
    EXPECT_EQ(StoredString(chars255).substr(0, 6), WideMark + std::string("\xFF\xFF\x00", 3));

    const std::string chars300(300, 'y');
    const std::string stored300 = StoredString(chars300);
    ASSERT_EQ(stored300.size(), 6u + 600u);
    EXPECT_EQ(stored300.substr(0, 6), WideMark + "\xFF\x2C\x01");
    EXPECT_EQ(stored300.substr(6, 4), std::string("y\0y\0", 4));
    EXPECT_EQ(ReadStringFrom(stored300), chars300);

    const std::string chars0xFFFD(0xFFFD, 'z');
    EXPECT_EQ(StoredString(chars0xFFFD).substr(0, 6), WideMark + "\xFF\xFD\xFF");

    const std::string chars0xFFFE(0xFFFE, 'z');
    const std::string stored0xFFFE = StoredString(chars0xFFFE);
    EXPECT_EQ(stored0xFFFE.substr(0, 10), WideMark + std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));
    EXPECT_EQ(ReadStringFrom(stored0xFFFE), chars0xFFFE);
}

TEST(BinaryArchiveStrings, TextIsUtf8InMemoryAndUtf16OnDisk)
{
    // é is U+00E9; the G clef U+1D11E needs the surrogate pair D834 DD1E.
    const std::string text = "\xC3\xA9\xF0\x9D\x84\x9E";
    const std::string stored = StoredString(text);
    EXPECT_EQ(stored, WideMark + std::string("\x03\xE9\x00\x34\xD8\x1E\xDD", 7));
    EXPECT_EQ(ReadStringFrom(stored), text);
}

TEST(BinaryArchiveStrings, InvalidUtf8IsStoredAsReplacementCharacters)
{
    // A lone lead byte, an overlong slash (two bad bytes), an encoded surrogate (one bad sequence).
    EXPECT_EQ(StoredString("a\xC3"), WideMark + std::string("\x02" "a\0\xFD\xFF", 5));
    EXPECT_EQ(StoredString("\xC0\xAF"), WideMark + std::string("\x02\xFD\xFF\xFD\xFF", 5));
    EXPECT_EQ(StoredString("\xED\xA0\x80"), WideMark + std::string("\x01\xFD\xFF", 3));
}

TEST(BinaryArchiveStrings, UnpairedSurrogatesReadAsReplacementCharacters)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(ReadStringFrom(WideMark + std::string("\x02\x00\xD8" "A\0", 5)), replacement + "A");
    EXPECT_EQ(ReadStringFrom(WideMark + std::string("\x01\x00\xDC", 3)), replacement);
    EXPECT_EQ(ReadStringFrom(WideMark + std::string("\x01\x00\xD8", 3)), replacement);
}

TEST(BinaryArchiveStrings, StringsWithoutWideMarkReadAsLatin1)
{
    EXPECT_EQ(ReadStringFrom(std::string("\x03" "AB\xE9", 4)), "AB\xC3\xA9");
    EXPECT_EQ(ReadStringFrom(std::string("\xFF\x02\x00" "Hi", 5)), "Hi");
}

TEST(BinaryArchiveStrings, LengthBeyondTheDataIsEndOfFile)
{
    const auto readString = [](BinaryArchive& archive) { archive.ReadString(); };
    EXPECT_EQ(LoadFailure(WideMark + std::string("\x04" "B\0a\0s\0", 7), readString), Cause::EndOfFile);
    // A damaged DWORD length of 2^32-1 characters must fail before anything is allocated.
    EXPECT_EQ(LoadFailure(WideMark + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7), readString), Cause::EndOfFile);
}

TEST(BinaryArchiveCounts, SmallCountsAreOneWordLargeOnesEscaped)
{
    EXPECT_EQ(Stored([](BinaryArchive& archive) { archive.WriteCount(3); }), std::string("\x03\x00", 2));
    EXPECT_EQ(Stored([](BinaryArchive& archive) { archive.WriteCount(0xFFFE); }), "\xFE\xFF");
    EXPECT_EQ(Stored([](BinaryArchive& archive) { archive.WriteCount(0xFFFF); }),
              std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));
    EXPECT_EQ(Stored([](BinaryArchive& archive) { archive.WriteCount(70000); }),
              std::string("\xFF\xFF\x70\x11\x01\x00", 6));
}

TEST(BinaryArchiveCounts, CountIsReadBackWhenTheDataCanHoldIt)
{
    std::string bytes = std::string("\xFF\xFF\x70\x11\x01\x00", 6) + std::string(70000, '\0');
    MemoryStream memory(bytes);
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_EQ(archive.ReadCount(), 70000u);
}

TEST(BinaryArchiveCounts, CountLargerThanTheRemainingDataIsEndOfFile)
{
    const auto readCount = [](BinaryArchive& archive) { archive.ReadCount(); };
    EXPECT_EQ(LoadFailure(std::string("\x03\x00\x01\x00", 4), readCount), Cause::EndOfFile);
    EXPECT_EQ(LoadFailure(std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6), readCount), Cause::EndOfFile);
}

TEST(BinaryArchiveReading, PastTheEndIsEndOfFile)
{
    EXPECT_EQ(LoadFailure("", [](BinaryArchive& archive) { archive.ReadByte(); }), Cause::EndOfFile);
    EXPECT_EQ(LoadFailure("\x01", [](BinaryArchive& archive) { archive.ReadWord(); }), Cause::EndOfFile);
    EXPECT_EQ(LoadFailure("\x01\x02\x03", [](BinaryArchive& archive) { archive.ReadDword(); }), Cause::EndOfFile);
    char raw[8];
    EXPECT_EQ(LoadFailure("1234567", [&](BinaryArchive& archive) { archive.ReadBytes(raw, sizeof raw); }),
              Cause::EndOfFile);
}

TEST(BinaryArchiveBuffer, BufferSizeDoesNotChangeTheBytes)
{
    const auto write = [](BinaryArchive& archive) {
        archive.WriteDword(0x01020304);
        archive.WriteString("Pattern");
        archive.WriteBytes(std::string(10, 'r').data(), 10);
        archive.WriteWord(0x0506);
    };
    const std::string reference = Stored(write, 4096);
    EXPECT_EQ(Stored(write, 1), reference);
    EXPECT_EQ(Stored(write, 3), reference);

    MemoryStream memory(reference);
    BinaryArchive archive(memory, Mode::Load, 3);
    EXPECT_EQ(archive.ReadDword(), 0x01020304u);
    EXPECT_EQ(archive.ReadString(), "Pattern");
    std::string raw(10, '\0');
    archive.ReadBytes(raw.data(), raw.size());
    EXPECT_EQ(raw, std::string(10, 'r'));
    EXPECT_EQ(archive.ReadWord(), 0x0506);
}

TEST(BinaryArchiveBuffer, StoredBytesReachTheStreamOnFlush)
{
    MemoryStream memory;
    BinaryArchive archive(memory, Mode::Store, 16);
    archive.WriteDword(7);
    EXPECT_EQ(memory.Size(), 0u);
    archive.Flush();
    EXPECT_EQ(memory.BytesAsString(), std::string("\x07\x00\x00\x00", 4));
    // Bytes written directly after a flush sit between the archive's own.
    memory.Write("X", 1);
    archive.WriteByte('Y');
    archive.Close();
    EXPECT_EQ(memory.BytesAsString(), std::string("\x07\x00\x00\x00XY", 6));
}

TEST(BinaryArchiveBuffer, LoadingFlushHandsBackTheBytesReadAhead)
{
    MemoryStream memory(std::string("\x02\x00" "JorvoDoc\x04\x09", 12));
    BinaryArchive archive(memory, Mode::Load);
    EXPECT_EQ(archive.ReadWord(), 2);
    archive.Flush();
    EXPECT_EQ(memory.Position(), 2u);
    char header[9];
    ASSERT_EQ(memory.Read(header, sizeof header), 9u);
    EXPECT_EQ(std::string(header, 8), "JorvoDoc");
    EXPECT_EQ(archive.ReadByte(), 9);
}

TEST(BinaryArchiveBuffer, DestructionFlushesAnArchiveNotClosed)
{
    MemoryStream memory;
    {
        BinaryArchive archive(memory, Mode::Store);
        archive.WriteWord(0x0102);
    }
    EXPECT_EQ(memory.BytesAsString(), "\x02\x01");
}

TEST(BinaryArchiveDirection, WrongDirectionOrClosedArchiveIsRefused)
{
    MemoryStream memory(std::string("\x01\x02", 2));
    BinaryArchive loader(memory, Mode::Load);
    EXPECT_THROW(loader.WriteByte(1), ArchiveException);
    EXPECT_EQ(loader.ReadByte(), 1);
    loader.Close();
    EXPECT_THROW(loader.ReadByte(), ArchiveException);

    MemoryStream target;
    BinaryArchive storer(target, Mode::Store);
    EXPECT_THROW(storer.ReadByte(), ArchiveException);
    storer.Close();
    EXPECT_THROW(storer.WriteByte(1), ArchiveException);
}

TEST(ArchiveFileStream, WrittenFileReplacesTheOldOneOnlyOnCommit)
{
    test::TempDir dir;
    const auto path = dir / "song.jorvo";
    test::WriteFileBytes(path, "old");
    {
        auto file = FileStream::CreateForWriting(path);
        BinaryArchive archive(*file, Mode::Store);
        archive.WriteString("new");
        archive.Close();
        // Dropped without Commit: a failed save.
    }
    EXPECT_EQ(test::ReadFileBytes(path), "old");

    auto file = FileStream::CreateForWriting(path);
    BinaryArchive archive(*file, Mode::Store);
    archive.WriteDword(0x11223344);
    archive.Close();
    file->Commit();
    EXPECT_EQ(test::ReadFileBytes(path), "\x44\x33\x22\x11");
}

TEST(ArchiveFileStream, WriterCanPatchWhatItWrote)
{
    test::TempDir dir;
    const auto path = dir / "out.mid";
    auto file = FileStream::CreateForWriting(path);
    file->Write("MTrk\0\0\0\0", 8);
    file->Write("abc", 3);
    file->Seek(7);
    file->Write("\x03", 1);
    file->Commit();
    EXPECT_EQ(test::ReadFileBytes(path), std::string("MTrk\0\0\0\x03" "abc", 11));
}

TEST(ArchiveFileStream, ReadsAFileThroughTheArchive)
{
    test::TempDir dir;
    const auto path = dir / "in.jorvo";
    test::WriteFileBytes(path, WideMark + std::string("\x04\x42\x00\x61\x00\x73\x00\x73\x00", 9));
    auto file = FileStream::OpenForReading(path);
    EXPECT_EQ(file->Size(), 12u);
    BinaryArchive archive(*file, Mode::Load);
    EXPECT_EQ(archive.ReadString(), "Bass");
    try {
        archive.ReadByte();
        FAIL() << "read past the end";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), Cause::EndOfFile);
        EXPECT_EQ(error.FileName(), path.string());
    }
}

TEST(ArchiveFileStream, MissingFileOrFolderIsAGenericErrorNamingThePath)
{
    test::TempDir dir;
    try {
        FileStream::OpenForReading(dir / "missing.jorvo");
        FAIL() << "opened a missing file";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), Cause::Generic);
        EXPECT_EQ(error.FileName(), (dir / "missing.jorvo").string());
    }
    EXPECT_THROW(FileStream::OpenForReading(dir.path()), ArchiveException);
    EXPECT_THROW(FileStream::CreateForWriting(dir / "no-folder" / "x.jorvo"), ArchiveException);
}

} // namespace
} // namespace jorvo
