#include "document/XMLFileStream.h"

#include <gtest/gtest.h>
#include <string>

#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

TEST(XMLFileStream, ReadsUntilTheEndThenAnswersFalse)
{
    TempDir dir;
    WriteFileBytes(dir / "in.xml", "<a/>");
    CXMLFileStream stream;
    ASSERT_TRUE(stream.OpenForReading((dir / "in.xml").string()));
    EXPECT_TRUE(stream.IsReadOnly());
    char buffer[3] = {};
    std::size_t count = 99;
    EXPECT_EQ(stream.Read(buffer, 3, &count), StreamStatus::Success);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(std::string(buffer, 3), "<a/");
    EXPECT_EQ(stream.Read(buffer, 3, nullptr), StreamStatus::Success);
    EXPECT_EQ(buffer[0], '>');
    EXPECT_EQ(stream.Read(buffer, 3, &count), StreamStatus::False);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(stream.Write("x", 1, &count), StreamStatus::Failure);
}

TEST(XMLFileStream, WritesBesideTheTargetUntilPublished)
{
    TempDir dir;
    const std::string path = (dir / "out.xml").string();
    WriteFileBytes(path, "old");
    {
        CXMLFileStream stream;
        ASSERT_TRUE(stream.OpenForWriting(path));
        EXPECT_FALSE(stream.IsReadOnly());
        std::size_t count = 0;
        EXPECT_EQ(stream.Write("abandoned", 9, &count), StreamStatus::Success);
        EXPECT_EQ(count, 9u);
        char buffer[4];
        EXPECT_EQ(stream.Read(buffer, 4, &count), StreamStatus::Failure);
    }
    EXPECT_EQ(ReadFileBytes(path), "old");

    CXMLFileStream stream;
    ASSERT_TRUE(stream.OpenForWriting(path));
    EXPECT_FALSE(stream.OpenForReading(path));
    EXPECT_EQ(stream.Write("new", 3, nullptr), StreamStatus::Success);
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_TRUE(stream.Publish());
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_FALSE(stream.Publish());
    EXPECT_EQ(stream.Write("more", 4, nullptr), StreamStatus::Failure);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(XMLFileStream, ReferenceCountClosesTheFileAtZero)
{
    TempDir dir;
    WriteFileBytes(dir / "in.xml", "data");
    CXMLFileStream stream;
    ASSERT_TRUE(stream.OpenForReading((dir / "in.xml").string()));
    DomByteStream* same = nullptr;
    EXPECT_EQ(stream.QueryInterface(StreamInterface::ByteStream, &same), StreamStatus::Success);
    EXPECT_EQ(same, &stream);
    EXPECT_EQ(stream.QueryInterface(StreamInterface::Unknown, &same), StreamStatus::Success);
    EXPECT_EQ(stream.QueryInterface(StreamInterface::Other, &same), StreamStatus::NoInterface);
    EXPECT_EQ(same, nullptr);
    EXPECT_EQ(stream.AddRef(), 4u);
    EXPECT_EQ(stream.Release(), 3u);
    EXPECT_EQ(stream.Release(), 2u);
    EXPECT_EQ(stream.Release(), 1u);
    char buffer[4];
    EXPECT_EQ(stream.Read(buffer, 4, nullptr), StreamStatus::Success);
    EXPECT_EQ(stream.Release(), 0u);
    EXPECT_EQ(stream.Read(buffer, 4, nullptr), StreamStatus::Failure);
    EXPECT_EQ(stream.Release(), 0u);
}

TEST(XMLFileStream, OtherOperationsFail)
{
    TempDir dir;
    WriteFileBytes(dir / "in.xml", "data");
    CXMLFileStream stream;
    ASSERT_TRUE(stream.OpenForReading((dir / "in.xml").string()));
    std::uint64_t number = 7;
    DomByteStream* clone = &stream;
    EXPECT_EQ(stream.Seek(0, SeekOrigin::Begin, &number), StreamStatus::Failure);
    EXPECT_EQ(stream.SetSize(0), StreamStatus::Failure);
    EXPECT_EQ(stream.CopyTo(stream, 1, &number, &number), StreamStatus::Failure);
    EXPECT_EQ(stream.Commit(0), StreamStatus::Failure);
    EXPECT_EQ(stream.Revert(), StreamStatus::Failure);
    EXPECT_EQ(stream.LockRegion(0, 1, 0), StreamStatus::Failure);
    EXPECT_EQ(stream.UnlockRegion(0, 1, 0), StreamStatus::Failure);
    EXPECT_EQ(stream.Stat(&number), StreamStatus::Failure);
    EXPECT_EQ(stream.Clone(&clone), StreamStatus::Failure);
    EXPECT_EQ(clone, nullptr);
    EXPECT_EQ(number, 7u);
    EXPECT_FALSE(CXMLFileStream().OpenForReading((dir / "missing.xml").string()));
}

} // namespace
} // namespace jorvo
