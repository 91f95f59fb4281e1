#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/WavFileWriter.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

// The canonical header with the given lengths, written out byte by byte.
std::string Header(std::string riffLength, std::string dataLength)
{
    return "RIFF" + riffLength + "WAVEfmt " + std::string("\x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0", 20) +
           "data" + dataLength;
}

TEST(WavFileWriterTest, TheHeaderCarriesTheFinalLengthsAndTheFramesFollowIt)
{
    test::TempDir dir;
    WavFileWriter writer;
    ASSERT_TRUE(writer.Create(dir / "empty.wav"));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(test::ReadFileBytes(dir / "empty.wav"), Header(std::string("\x24\0\0\0", 4), std::string(4, '\0')));

    test::WriteFileBytes(dir / "three.wav", "older");
    ASSERT_TRUE(writer.Create(dir / "three.wav"));
    const std::int16_t first[] = {1, -1, 0x1234, -32768};
    const std::int16_t second[] = {32767, 2};
    ASSERT_TRUE(writer.WriteFrames(first, 2));
    ASSERT_TRUE(writer.WriteFrames(second, 1));
    EXPECT_EQ(test::ReadFileBytes(dir / "three.wav"), "older"); // replaced only when complete
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(test::ReadFileBytes(dir / "three.wav"),
              Header(std::string("\x30\0\0\0", 4), std::string("\x0C\0\0\0", 4)) +
                  std::string("\x01\x00\xFF\xFF\x34\x12\x00\x80\xFF\x7F\x02\x00", 12));
}

// Chunks that fill the gathering buffer exactly, overflow it, and exceed it on their own all land
// in order, whole.
TEST(WavFileWriterTest, FramesBeyondTheGatheringBufferArriveInOrder)
{
    test::TempDir dir;
    WavFileWriter writer;
    ASSERT_TRUE(writer.Create(dir / "long.wav"));
    constexpr std::uint32_t kBufferFrames = WavFileWriter::kBufferBytes / WavFileWriter::kFrameBytes;
    std::string expected;
    std::uint16_t counter = 0;
    for (std::uint32_t frames : {kBufferFrames / 2, kBufferFrames / 2, 1u, kBufferFrames - 1, 3 * kBufferFrames, 7u}) {
        std::vector<std::int16_t> samples(2 * std::size_t{frames});
        for (std::int16_t& sample : samples) {
            sample = static_cast<std::int16_t>(counter++);
            expected += static_cast<char>(sample & 0xFF);
            expected += static_cast<char>((sample >> 8) & 0xFF);
        }
        ASSERT_TRUE(writer.WriteFrames(samples.data(), frames));
    }
    ASSERT_TRUE(writer.Close());
    const std::string file = test::ReadFileBytes(dir / "long.wav");
    ASSERT_EQ(file.size(), WavFileWriter::kHeaderBytes + expected.size());
    EXPECT_TRUE(file.substr(WavFileWriter::kHeaderBytes) == expected);
    const std::uint32_t dataLength = static_cast<std::uint32_t>(expected.size());
    EXPECT_EQ(file.substr(40, 4), std::string(reinterpret_cast<const char*>(&dataLength), 4));
}

TEST(WavFileWriterTest, AFileThatCannotBeCompletedNeverReplacesTheTarget)
{
    test::TempDir dir;
    WavFileWriter writer;
    const std::int16_t frame[] = {0, 0};
    EXPECT_FALSE(writer.WriteFrames(frame, 1));
    EXPECT_FALSE(writer.Close());
    EXPECT_FALSE(writer.Create(dir / "missing" / "x.wav"));
    EXPECT_FALSE(writer.Create(dir.path()));

    ASSERT_TRUE(writer.Create(dir / "dropped.wav"));
    writer.Abandon();
    // More frames than a 32-bit RIFF length can count are refused before anything is read, and
    // the file is not completed with wrapped lengths.
    ASSERT_TRUE(writer.Create(dir / "huge.wav"));
    EXPECT_FALSE(writer.WriteFrames(frame, WavFileWriter::kMaxFrames + 1));
    EXPECT_FALSE(writer.WriteFrames(frame, 1));
    EXPECT_FALSE(writer.Close());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())); // no file and no temporary left behind
}

} // namespace
} // namespace jorvo
