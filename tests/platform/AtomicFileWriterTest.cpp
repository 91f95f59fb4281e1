#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

int CountEntries(const std::filesystem::path& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

bool WriteText(AtomicFileWriter& writer, const std::string& text)
{
    return writer.Write(text.data(), text.size());
}

TEST(AtomicFileWriter, WritesNewFileAndLeavesNoTemporary)
{
    TempDir dir;
    {
        AtomicFileWriter writer(dir / "song.xml");
        ASSERT_TRUE(writer.Open());
        EXPECT_EQ(writer.TemporaryPath().parent_path(), dir.path());
        EXPECT_TRUE(WriteText(writer, "<a/>"));
        EXPECT_TRUE(WriteText(writer, "\n"));
        EXPECT_TRUE(writer.Commit());
    }
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "<a/>\n");
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicFileWriter, ReplacesPreviousFileOnlyAtCommit)
{
    TempDir dir;
    WriteFileBytes(dir / "song.xml", "old");
    AtomicFileWriter writer(dir / "song.xml");
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(WriteText(writer, "new contents"));
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "old");
    EXPECT_TRUE(std::filesystem::exists(writer.TemporaryPath()));
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "new contents");
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicFileWriter, UncommittedWriterRemovesTemporaryAndKeepsOldFile)
{
    TempDir dir;
    WriteFileBytes(dir / "song.xml", "old");
    std::filesystem::path temporary;
    {
        AtomicFileWriter writer(dir / "song.xml");
        ASSERT_TRUE(writer.Open());
        temporary = writer.TemporaryPath();
        ASSERT_TRUE(WriteText(writer, "half"));
    }
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "old");
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicFileWriter, RefusesUnusableTargets)
{
    TempDir dir;
    AtomicFileWriter missingFolder(dir / "no-such-folder" / "song.xml");
    EXPECT_FALSE(missingFolder.Open());
    EXPECT_EQ(missingFolder.LastError(), ENOENT);

    std::filesystem::create_directory(dir / "folder");
    AtomicFileWriter folder(dir / "folder");
    EXPECT_FALSE(folder.Open());
    EXPECT_EQ(folder.LastError(), EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
    EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(AtomicFileWriter, CallsOutOfOrderFail)
{
    TempDir dir;
    AtomicFileWriter writer(dir / "song.xml");
    EXPECT_FALSE(WriteText(writer, "x"));
    EXPECT_FALSE(writer.Commit());
    ASSERT_TRUE(writer.Open());
    EXPECT_FALSE(writer.Open());
    ASSERT_TRUE(writer.Commit());
    EXPECT_FALSE(WriteText(writer, "x"));
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "");
}

TEST(AtomicFileWriter, TwoWritersOfOneTargetUseDifferentTemporaries)
{
    TempDir dir;
    AtomicFileWriter first(dir / "song.xml");
    AtomicFileWriter second(dir / "song.xml");
    ASSERT_TRUE(first.Open());
    ASSERT_TRUE(second.Open());
    EXPECT_NE(first.TemporaryPath(), second.TemporaryPath());
    ASSERT_TRUE(WriteText(first, "first"));
    ASSERT_TRUE(WriteText(second, "second"));
    ASSERT_TRUE(first.Commit());
    ASSERT_TRUE(second.Commit());
    EXPECT_EQ(ReadFileBytes(dir / "song.xml"), "second");
}

TEST(AtomicFileWriter, KeepsPermissionsOfReplacedFile)
{
    TempDir dir;
    WriteFileBytes(dir / "song.xml", "old");
    ASSERT_EQ(::chmod((dir / "song.xml").c_str(), 0640), 0);
    AtomicFileWriter writer(dir / "song.xml");
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Commit());
    struct stat info {};
    ASSERT_EQ(::stat((dir / "song.xml").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

} // namespace
} // namespace jorvo
