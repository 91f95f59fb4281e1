#include "audio/WavReader.h"

#include <gtest/gtest.h>
#include <sstream>

#include "audio/AudioMessages.h"
#include "audio/WavBuilder.h"

namespace jorvo {
namespace {

using test::Chunk;
using test::DataChunk;
using test::FormatChunk;
using test::Frames;
using test::LeftOf;
using test::Le32;
using test::RiffWave;
using test::RightOf;
using test::SamplerChunk;

WavReadResult Read(const std::string& bytes, SampleRecord& sample)
{
    std::istringstream in(bytes);
    return ReadWav(in, sample);
}

SampleRecord ReadLoaded(const std::string& bytes)
{
    SampleRecord sample;
    EXPECT_EQ(Read(bytes, sample), WavReadResult::Loaded);
    return sample;
}

const std::string kStereo1000 = RiffWave({FormatChunk(2), DataChunk(Frames(1000, true))});

// ---- frames and the guard frame ----

TEST(WavReaderFrames, StereoFileGivesEndFrameAndGuardPair)
{
    const SampleRecord sample = ReadLoaded(kStereo1000);
    EXPECT_EQ(sample.stereo, 1);
    EXPECT_EQ(sample.sampleRate, 44100u);
    EXPECT_EQ(sample.endFrame, 999u);
    EXPECT_EQ(sample.loopLength, 0u);
    EXPECT_EQ(sample.rootNote, 60);
    EXPECT_EQ(sample.fineTune, 0);
    EXPECT_EQ(sample.pitchRate, 44100.0f);
    ASSERT_EQ(sample.data.size(), 2002u);  // 1000 frames + the guard frame
    EXPECT_EQ(sample.data[0], LeftOf(0));
    EXPECT_EQ(sample.data[1], RightOf(0));
    EXPECT_EQ(sample.data[1998], LeftOf(999));
    EXPECT_EQ(sample.data[1999], RightOf(999));
    EXPECT_EQ(sample.data[2000], LeftOf(999));
    EXPECT_EQ(sample.data[2001], RightOf(999));
}

TEST(WavReaderFrames, MonoFileGivesEndFrameAndGuardSample)
{
    const SampleRecord sample = ReadLoaded(RiffWave({FormatChunk(1, 22050), DataChunk(Frames(1000, false))}));
    EXPECT_EQ(sample.stereo, 0);
    EXPECT_EQ(sample.sampleRate, 22050u);
    EXPECT_EQ(sample.pitchRate, 22050.0f);
    EXPECT_EQ(sample.endFrame, 999u);
    ASSERT_EQ(sample.data.size(), 1001u);
    EXPECT_EQ(sample.data[999], LeftOf(999));
    EXPECT_EQ(sample.data[1000], LeftOf(999));
}

TEST(WavReaderFrames, SingleFrameFileIsItsOwnGuard)
{
    const SampleRecord sample = ReadLoaded(RiffWave({FormatChunk(2), DataChunk({-5, 7})}));
    EXPECT_EQ(sample.endFrame, 0u);
    EXPECT_EQ(sample.data, (std::vector<std::int16_t>{-5, 7, -5, 7}));
}

TEST(WavReaderFrames, PartialLastFrameIsDropped)
{
    // Five samples of a stereo file: two whole frames, the fifth sample belongs to none.
    const SampleRecord sample = ReadLoaded(RiffWave({FormatChunk(2), DataChunk({1, 2, 3, 4, 5})}));
    EXPECT_EQ(sample.endFrame, 1u);
    EXPECT_EQ(sample.data, (std::vector<std::int16_t>{1, 2, 3, 4, 3, 4}));
}

TEST(WavReaderFrames, DataBeforeFormatStillCountsStereoFrames)
{
    const SampleRecord sample = ReadLoaded(RiffWave({DataChunk(Frames(1000, true)), FormatChunk(2)}));
    EXPECT_EQ(sample.endFrame, 999u);
    EXPECT_EQ(sample.data.size(), 2002u);
}

TEST(WavReaderFrames, WithoutFormatChunkTheSampleIsMonoAt44100)
{
    const SampleRecord sample = ReadLoaded(RiffWave({DataChunk(Frames(10, false))}));
    EXPECT_EQ(sample.stereo, 0);
    EXPECT_EQ(sample.sampleRate, 0u);
    EXPECT_EQ(sample.pitchRate, 44100.0f);
    EXPECT_EQ(sample.endFrame, 9u);
}

TEST(WavReaderFrames, FileWithoutDataChunkLoadsEmpty)
{
    const SampleRecord sample = ReadLoaded(RiffWave({FormatChunk(2, 32000)}));
    EXPECT_FALSE(sample.HasData());
    EXPECT_EQ(sample.sampleRate, 32000u);
    EXPECT_EQ(sample.endFrame, 0u);
}

// ---- the sampler chunk ----

TEST(WavReaderSampler, UnityNote72HalvesThePitchRate)
{
    const SampleRecord sample =
        ReadLoaded(RiffWave({FormatChunk(2), DataChunk(Frames(1000, true)), SamplerChunk(72, 0)}));
    EXPECT_EQ(sample.rootNote, 72);
    EXPECT_EQ(sample.fineTune, 0);
    EXPECT_FLOAT_EQ(sample.pitchRate, 22050.0f);
    EXPECT_EQ(sample.endFrame, 999u);
    EXPECT_EQ(sample.loopLength, 0u);
}

TEST(WavReaderSampler, UnityNoteAndFractionSetTheRateAndCents)
{
    const struct {
        std::uint32_t rate, unity, fraction;
        double pitchRate;
        std::int16_t cents;
    } cases[] = {
        {22050, 48, 0, 44100.0, 0},
        {44100, 60, 0x80000000u, 45392.2286, 50},  // 44100 × 2^(0.5 / 12)
        {44100, 60, 0x3F000000u, 44731.3552, 24},  // 0.24609375 semitone = 24.609375 cents, truncated
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fraction);
        const SampleRecord sample = ReadLoaded(
            RiffWave({FormatChunk(1, c.rate), DataChunk(Frames(8, false)), SamplerChunk(c.unity, c.fraction)}));
        EXPECT_EQ(sample.rootNote, c.unity);
        EXPECT_EQ(sample.fineTune, c.cents);
        EXPECT_NEAR(sample.pitchRate, c.pitchRate, 0.01);
    }
}

TEST(WavReaderSampler, FirstLoopSetsEndFrameAndLoopLength)
{
    const struct {
        std::uint32_t start, end, endFrame, loopLength;
    } cases[] = {
        {100, 499, 499, 400},  // the loop ends the played part
        {500, 999, 999, 500},  // a loop up to the last frame
        {0, 999, 999, 0},      // 1000 frames do not fit in endFrame 999
        {100, 5000, 999, 0},   // past the end of the file
        {600, 300, 300, 0},    // reversed: its end still cuts, the length is no loop
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "-" << c.end);
        const SampleRecord sample = ReadLoaded(
            RiffWave({FormatChunk(2), DataChunk(Frames(1000, true)), SamplerChunk(72, 0, c.start, c.end)}));
        EXPECT_EQ(sample.endFrame, c.endFrame);
        EXPECT_EQ(sample.loopLength, c.loopLength);
        // The frames after the loop are still held; the guard follows the last frame of the file.
        EXPECT_EQ(sample.data.size(), 2002u);
    }
}

TEST(WavReaderSampler, SamplerChunkBeforeFormatChunkKeepsItsTuning)
{
    const SampleRecord sample =
        ReadLoaded(RiffWave({SamplerChunk(72, 0), FormatChunk(1), DataChunk(Frames(8, false))}));
    EXPECT_EQ(sample.rootNote, 72);
    EXPECT_FLOAT_EQ(sample.pitchRate, 22050.0f);
}

// ---- chunk walking ----

TEST(WavReaderChunks, OddLengthChunkIsPadded)
{
    const SampleRecord sample =
        ReadLoaded(RiffWave({Chunk("junk", "abc"), FormatChunk(2), DataChunk(Frames(1000, true))}));
    EXPECT_EQ(sample.stereo, 1);
    EXPECT_EQ(sample.endFrame, 999u);
}

TEST(WavReaderChunks, ListChunkIsSkipped)
{
    const std::string list = Chunk("LIST", "INFO" + Chunk("INAM", "Kick drum"));
    const SampleRecord sample = ReadLoaded(RiffWave({FormatChunk(1), list, DataChunk(Frames(100, false))}));
    EXPECT_EQ(sample.endFrame, 99u);
    EXPECT_EQ(sample.data[99], LeftOf(99));
}

TEST(WavReaderChunks, EmptyListChunkStillSkipsItsType)
{
    // A LIST whose length says 0 is followed by its 4-byte type all the same.
    const std::string emptyList = "LIST" + Le32(0) + "INFO";
    const SampleRecord sample = ReadLoaded(RiffWave({FormatChunk(1), emptyList, DataChunk(Frames(100, false))}));
    EXPECT_EQ(sample.endFrame, 99u);
}

TEST(WavReaderChunks, LastOddDataChunkMayLackItsPadByte)
{
    std::string bytes = RiffWave({FormatChunk(1), Chunk("data", std::string(201, '\x01'))});
    bytes.pop_back();  // the pad byte
    const SampleRecord sample = ReadLoaded(bytes);
    EXPECT_EQ(sample.endFrame, 99u);
    EXPECT_EQ(sample.data[100], 0x0101);
}

TEST(WavReaderChunks, ChunksAfterTheRiffSizeAreNotRead)
{
    // The RIFF length covers only "WAVE" and the format chunk; the data chunk behind it is ignored.
    std::string bytes = RiffWave({FormatChunk(1), DataChunk(Frames(10, false))});
    bytes.replace(4, 4, Le32(4 + 24));
    const SampleRecord sample = ReadLoaded(bytes);
    EXPECT_FALSE(sample.HasData());
    EXPECT_EQ(sample.sampleRate, 44100u);
}

// ---- refused files ----

struct Refusal {
    const char* what;
    std::string bytes;
    WavReadResult result;
    std::string_view message;
};

TEST(WavReaderRefusals, EachRefusedFormatHasItsMessage)
{
    const std::vector<std::int16_t> frames = Frames(10, false);
    const Refusal refusals[] = {
        {"8-bit", RiffWave({FormatChunk(1, 44100, 8), DataChunk(frames)}), WavReadResult::NotPcm,
         kInvalidCompression},
        {"ADPCM", RiffWave({FormatChunk(1, 44100, 16, 2), DataChunk(frames)}), WavReadResult::NotPcm,
         kInvalidCompression},
        {"24-bit", RiffWave({FormatChunk(2, 44100, 24), DataChunk(frames)}), WavReadResult::NotPcm,
         kInvalidCompression},
        {"3 channels", RiffWave({FormatChunk(3), DataChunk(frames)}), WavReadResult::BadChannels,
         kInvalidChannels},
        {"0 channels", RiffWave({FormatChunk(0), DataChunk(frames)}), WavReadResult::BadChannels,
         kInvalidChannels},
        {"no RIFF", "RIFX" + RiffWave({FormatChunk(1), DataChunk(frames)}).substr(4), WavReadResult::NotRiff,
         kInvalidRiffFile},
        {"no WAVE", "RIFF" + Le32(4) + "AVI ", WavReadResult::NotWave, kInvalidWavFile},
        {"empty data", RiffWave({FormatChunk(1), DataChunk({})}), WavReadResult::NoData, kNoWavData},
        {"one byte of data", RiffWave({FormatChunk(1), Chunk("data", "x")}), WavReadResult::NoData, kNoWavData},
        {"half a stereo frame", RiffWave({FormatChunk(2), DataChunk({1})}), WavReadResult::NoData, kNoWavData},
        {"short format chunk", RiffWave({Chunk("fmt ", std::string(14, '\0')), DataChunk(frames)}),
         WavReadResult::Damaged, kInvalidWavFile},
        {"short sampler chunk", RiffWave({FormatChunk(1), DataChunk(frames), Chunk("smpl", std::string(20, '\0'))}),
         WavReadResult::Damaged, kInvalidWavFile},
        {"sampler loop missing", RiffWave({FormatChunk(1), DataChunk(frames),
                                           Chunk("smpl", SamplerChunk(60, 0, 1, 5).substr(8, 36))}),
         WavReadResult::Damaged, kInvalidWavFile},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.what);
        SampleRecord sample;
        sample.name = "kept";
        sample.pitchRate = 1.0f;
        EXPECT_EQ(Read(refusal.bytes, sample), refusal.result);
        EXPECT_EQ(WavReadMessage(refusal.result), refusal.message);
        EXPECT_EQ(sample.name, "kept");
        EXPECT_EQ(sample.pitchRate, 1.0f);
        EXPECT_FALSE(sample.HasData());
    }
}

// ---- damaged files ----

TEST(WavReaderDamage, EveryCutOfAValidFileIsRefused)
{
    const std::string whole = RiffWave({FormatChunk(2), Chunk("LIST", "INFO" + Chunk("INAM", "odd")),
                                        DataChunk(Frames(50, true)), SamplerChunk(72, 0, 10, 40)});
    ASSERT_EQ(ReadLoaded(whole).loopLength, 31u);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        SampleRecord sample;
        const WavReadResult result = Read(whole.substr(0, cut), sample);
        const WavReadResult expected = cut < 8    ? WavReadResult::NotRiff
                                       : cut < 12 ? WavReadResult::NotWave
                                                  : WavReadResult::Damaged;
        EXPECT_EQ(result, expected);
        EXPECT_FALSE(sample.HasData());
    }
}

TEST(WavReaderDamage, DataLengthBeyondTheFileIsRefusedWithoutAllocating)
{
    // A data chunk claiming nearly 4 GiB in a file of a few bytes, with a RIFF size to match.
    const std::string bytes = "RIFF" + Le32(0xFFFFFFFFu) + "WAVE" + FormatChunk(1) + "data" + Le32(0xFFFFFFF0u) + "ab";
    SampleRecord sample;
    EXPECT_EQ(Read(bytes, sample), WavReadResult::Damaged);
}

TEST(WavReaderDamage, ChunkRunningPastTheRiffSizeIsRefused)
{
    std::string bytes = RiffWave({FormatChunk(1), DataChunk(Frames(100, false))});
    bytes.replace(4, 4, Le32(4 + 24 + 8 + 10));  // the data chunk holds 200 bytes, the RIFF size allows 10
    SampleRecord sample;
    EXPECT_EQ(Read(bytes, sample), WavReadResult::Damaged);
}

TEST(WavReaderDamage, RandomlyCorruptedFilesNeverBreakTheInvariants)
{
    const std::string whole = RiffWave({FormatChunk(2), Chunk("LIST", "INFO" + Chunk("INAM", "abc")),
                                        DataChunk(Frames(64, true)), SamplerChunk(60, 0, 8, 40)});
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = whole;
        const int flips = 1 + static_cast<int>(next() % 6);
        for (int i = 0; i < flips; ++i)
            bytes[next() % bytes.size()] = static_cast<char>(next() >> 24);
        SampleRecord sample;
        if (Read(bytes, sample) != WavReadResult::Loaded || !sample.HasData())
            continue;
        ++loaded;
        // A loaded sample is playable: whole frames plus the guard, a loop inside the played part.
        SCOPED_TRACE(round);
        const std::size_t channels = sample.stereo + 1u;
        ASSERT_LE(sample.stereo, 1);
        ASSERT_EQ(sample.data.size() % channels, 0u);
        const std::size_t frames = sample.data.size() / channels - 1;
        ASSERT_GE(frames, 1u);
        EXPECT_LT(sample.endFrame, frames);
        EXPECT_LE(sample.loopLength, sample.endFrame);
        for (std::size_t c = 0; c < channels; ++c)
            EXPECT_EQ(sample.data[frames * channels + c], sample.data[(frames - 1) * channels + c]);
    }
    // Most flips land in the frames and leave a loadable file; the invariants were really checked.
    EXPECT_GT(loaded, 1000);
}

} // namespace
} // namespace jorvo
