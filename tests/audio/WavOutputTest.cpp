#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "audio/AudioOutputWAV.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

// A song of `length` frames: frame n holds n × 256 on the left and a value that saturates on the
// right. It stops playing inside the block that reaches its end, as the sequencer does.
class CountingSource : public AudioSource {
public:
    explicit CountingSource(std::uint32_t length) : length_(length) {}

    std::uint32_t RenderAudio(std::int32_t* buffer, std::uint32_t frames) noexcept override
    {
        const std::uint32_t produced = std::min(frames, length_ - next_);
        for (std::uint32_t i = 0; i < produced; ++i) {
            buffer[2 * i] = static_cast<std::int32_t>((next_ + i) * 256);
            buffer[2 * i + 1] = 0x7FFFFFFF;
        }
        next_ += produced;
        playing = next_ < length_;
        return produced;
    }

    std::atomic<bool> playing{true};

private:
    std::uint32_t length_;
    std::uint32_t next_ = 0;
};

TEST(WavOutputTest, CreatedByClassNameItWritesJorvoWavInTheDefaultDocumentFolder)
{
    std::unique_ptr<PersistentObject> object = RuntimeClass::FromName("AudioOutputWAV")->CreateObject();
    auto* output = dynamic_cast<AudioOutputWAV*>(object.get());
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->FileName(), std::string(std::getenv("HOME")) + "/Documents/Jorvo/jorvo.wav");
    EXPECT_FALSE(output->SetFormat(1, 16, 44100)); // the file's format is fixed
}

TEST(WavOutputTest, TheWorkerAppendsEveryFrameWhileTheSongPlays)
{
    constexpr std::uint32_t kFrames = 600; // two full chunks and a short one
    test::TempDir dir;
    AudioOutputWAV output(nullptr, (dir / "song.wav").string());
    CountingSource source(kFrames);
    output.SetSource(&source);
    output.SetPlayingCheck([&source] { return source.playing.load(); });

    ASSERT_TRUE(output.Start());
    EXPECT_FALSE(output.Configure());
    while (source.playing)
        std::this_thread::yield();
    output.Stop();
    EXPECT_TRUE(output.Configure());
    EXPECT_TRUE(output.FileCompleted());

    const std::string bytes = test::ReadFileBytes(dir / "song.wav");
    ASSERT_EQ(bytes.size(), 44u + 4 * kFrames);
    // Frame 18: 18 × 256 shifted right by 8 is 18 (0x12); the right side saturates at 32767.
    EXPECT_EQ(bytes.substr(44 + 4 * 18, 4), std::string("\x12\x00\xFF\x7F", 4));
    EXPECT_EQ(bytes.substr(44 + 4 * 599, 2), std::string("\x57\x02", 2));
}

} // namespace
} // namespace jorvo
