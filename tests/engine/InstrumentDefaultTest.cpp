#include "engine/InstrumentDefault.h"

#include <gtest/gtest.h>
#include <string>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/InstrumentMonoSynth.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

constexpr std::int32_t kLow127 = -16777216;
constexpr std::int32_t kHigh127 = 16777215;
constexpr std::int32_t kStep60 = 335544; // (16777215 + 16777216) / 100
constexpr std::int32_t kSentinel = 0x5A5A5A5A;

void FillOutput(Instrument& instrument, std::int32_t value)
{
    std::fill_n(instrument.Output(), Instrument::kMaxFrames * instrument.Channels(), value);
}

std::string StoreBinary(SeqEventTarget& target)
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store);
    target.Serialize(archive);
    archive.Close();
    return stream.BytesAsString();
}

// ---------------------------------------------------------------------------------------------
// Note start: pitch and ramp

TEST(InstrumentDefaultNote, Note60AtFullVelocityGivesPeriod100AndFullScaleRamp)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 127, 480, 0);
    EXPECT_TRUE(instrument.IsPlaying());
    EXPECT_EQ(instrument.Period(), 100);
    EXPECT_EQ(instrument.Low(), kLow127);
    EXPECT_EQ(instrument.High(), kHigh127);
    EXPECT_EQ(instrument.Step(), kStep60);
    EXPECT_EQ(instrument.Value(), kLow127);
}

TEST(InstrumentDefaultNote, SemitonesAreFractionalPowersOfTwo)
{
    // 440 × 2^(9/12) = 739.99 Hz → 739; 44100 / 739 = 59. An integer exponent would give 100.
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 69, 127, 0, 0);
    EXPECT_EQ(instrument.Period(), 59);
    // 440 × 2^(−5) = 13.75 Hz → 13; 44100 / 13 = 3392.
    instrument.HandleEvent(kEventNoteStart, 0, 127, 0, 0);
    EXPECT_EQ(instrument.Period(), 3392);
    // The note is taken modulo 256: 316 plays as 60.
    instrument.HandleEvent(kEventNoteStart, 316, 127, 0, 0);
    EXPECT_EQ(instrument.Period(), 100);
}

TEST(InstrumentDefaultNote, VelocityScalesTheRampWithTruncatingDivision)
{
    InstrumentDefault instrument;
    // −(64 × 16777216) / 127 = −8454660.03; 64 × 16777215 / 127 = 8454659.53.
    // Note 72: 880 Hz, period 50; step 16909319 / 50 = 338186.
    instrument.HandleEvent(kEventNoteStart, 72, 64, 0, 0);
    EXPECT_EQ(instrument.Low(), -8454660);
    EXPECT_EQ(instrument.High(), 8454659);
    EXPECT_EQ(instrument.Period(), 50);
    EXPECT_EQ(instrument.Step(), 338186);
    EXPECT_EQ(instrument.Velocity(), 64);
}

TEST(InstrumentDefaultNote, VelocityZeroPlaysSilence)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 0, 0, 0);
    EXPECT_EQ(instrument.Low(), 0);
    EXPECT_EQ(instrument.High(), 0);
    EXPECT_EQ(instrument.Step(), 0);
    instrument.BeginChunk(16);
    FillOutput(instrument, kSentinel);
    ASSERT_TRUE(instrument.Render(16));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(instrument.Output()[i], 0) << i;
}

TEST(InstrumentDefaultNote, BadVelocityIsIgnored)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 128, 0, 0);
    instrument.HandleEvent(kEventNoteStart, 60, -1, 0, 0);
    instrument.HandleEvent(kEventNoteStart, 60, 2147483647, 0, 0);
    EXPECT_FALSE(instrument.IsPlaying());
    EXPECT_EQ(instrument.Period(), 0);
}

TEST(InstrumentDefaultNote, PitchAboveTheSampleRateStillRendersSafely)
{
    // At 8000 Hz, note 127 (21092 Hz) would have a period of 0.
    InstrumentDefault instrument;
    ASSERT_TRUE(instrument.SetSampleRate(8000));
    instrument.HandleEvent(kEventNoteStart, 127, 127, 0, 0);
    EXPECT_EQ(instrument.Period(), 1);
    EXPECT_EQ(instrument.Step(), kHigh127 - kLow127);
    instrument.BeginChunk(8);
    ASSERT_TRUE(instrument.Render(8));
    // Every step reaches the top and falls back to the bottom.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(instrument.Output()[i], kLow127) << i;
}

// ---------------------------------------------------------------------------------------------
// Render

TEST(InstrumentDefaultRender, FirstTwoSamplesEqualThenRampWrapsAtHigh)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 127, 0, 0);
    instrument.BeginChunk(128);
    ASSERT_TRUE(instrument.Render(128));
    const std::int32_t* out = instrument.Output();
    EXPECT_EQ(out[0], kLow127);
    EXPECT_EQ(out[1], kLow127);
    EXPECT_EQ(out[2], kLow127 + kStep60);
    EXPECT_EQ(out[3], kLow127 + 2 * kStep60);
    // low + 100 × step = 16777184 is still below high; one step more passes it and wraps.
    EXPECT_EQ(out[101], 16777184);
    EXPECT_EQ(out[102], kLow127);
    EXPECT_EQ(out[103], kLow127 + kStep60);
    EXPECT_EQ(out[127], kLow127 + 25 * kStep60);
    // 127 advances in the chunk: 26 since the wrap.
    EXPECT_EQ(instrument.Value(), kLow127 + 26 * kStep60);
}

TEST(InstrumentDefaultRender, EachChunkRepeatsItsFirstSample)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 127, 0, 0);
    instrument.BeginChunk(10);
    ASSERT_TRUE(instrument.Render(10));
    EXPECT_EQ(instrument.Output()[9], kLow127 + 8 * kStep60);
    instrument.BeginChunk(10);
    ASSERT_TRUE(instrument.Render(10));
    EXPECT_EQ(instrument.Output()[0], kLow127 + 9 * kStep60);
    EXPECT_EQ(instrument.Output()[1], kLow127 + 9 * kStep60);
    EXPECT_EQ(instrument.Output()[2], kLow127 + 10 * kStep60);
}

TEST(InstrumentDefaultRender, SecondRenderInAChunkWritesNothing)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 127, 0, 0);
    instrument.BeginChunk(4);
    ASSERT_TRUE(instrument.Render(4));
    EXPECT_TRUE(instrument.IsRendered());
    FillOutput(instrument, kSentinel);
    EXPECT_TRUE(instrument.Render(4));
    EXPECT_EQ(instrument.Output()[0], kSentinel);
    EXPECT_EQ(instrument.Value(), kLow127 + 3 * kStep60);
}

TEST(InstrumentDefaultRender, SilentAfterConstructionWritingNothing)
{
    InstrumentDefault instrument;
    EXPECT_EQ(instrument.GetName(), "Default");
    EXPECT_EQ(instrument.GetEngineName(), "DefaultInstrument");
    EXPECT_TRUE(instrument.Parameters().empty());
    instrument.BeginChunk(32);
    FillOutput(instrument, kSentinel);
    EXPECT_FALSE(instrument.Render(32));
    EXPECT_EQ(instrument.Output()[0], kSentinel);
}

TEST(InstrumentDefaultRender, StereoBufferGetsTheSampleOnBothSides)
{
    InstrumentDefault instrument;
    ASSERT_TRUE(instrument.SetChannels(2));
    instrument.HandleEvent(kEventNoteStart, 60, 127, 0, 0);
    instrument.BeginChunk(Instrument::kMaxFrames);
    ASSERT_TRUE(instrument.Render(Instrument::kMaxFrames));
    const std::int32_t* out = instrument.Output();
    EXPECT_EQ(out[4], kLow127 + kStep60);
    EXPECT_EQ(out[5], kLow127 + kStep60);
    EXPECT_EQ(out[2 * 1023], out[2 * 1023 + 1]);
}

// ---------------------------------------------------------------------------------------------
// Note end and transport codes

TEST(InstrumentDefaultEvents, NoteEndSilencesAtOnceWhateverItsNote)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 127, 0, 0);
    instrument.HandleEvent(kEventNoteEnd, 61, 0, 0, 0);
    EXPECT_FALSE(instrument.IsPlaying());
    instrument.BeginChunk(8);
    FillOutput(instrument, kSentinel);
    EXPECT_FALSE(instrument.Render(8));
    EXPECT_EQ(instrument.Output()[0], kSentinel);
}

TEST(InstrumentDefaultEvents, NewNoteRestartsTheRampAtItsPitch)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 127, 0, 0);
    instrument.BeginChunk(50);
    instrument.Render(50);
    instrument.HandleEvent(kEventNoteStart, 72, 127, 0, 0);
    EXPECT_EQ(instrument.Value(), kLow127);
    EXPECT_EQ(instrument.Step(), 671088); // 33554431 / 50
}

TEST(InstrumentDefaultEvents, PositionJumpResetsButStopIsIgnored)
{
    InstrumentDefault instrument;
    instrument.HandleEvent(kEventNoteStart, 60, 64, 0, 0);
    instrument.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    EXPECT_TRUE(instrument.IsPlaying());
    instrument.HandleEvent(kEventPositionJumped, 0, 0, 0, 0);
    EXPECT_FALSE(instrument.IsPlaying());
    EXPECT_EQ(instrument.Period(), 0);
    EXPECT_EQ(instrument.Step(), 0);
    EXPECT_EQ(instrument.Value(), 0);
    EXPECT_EQ(instrument.Velocity(), 127);
}

// ---------------------------------------------------------------------------------------------
// Storage

TEST(InstrumentDefaultStorage, BinaryRoundTripEndsWithItsOwnVersionByte)
{
    InstrumentDefault written;
    ASSERT_TRUE(written.SetSampleRate(22050));
    ASSERT_TRUE(written.SetChannels(2));
    const std::string bytes = StoreBinary(written);
    // … sample rate 22050 (0x5622), channels 2, then the instrument's own version byte 1.
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\x22\x56\x02\x01", 4));

    InstrumentDefault read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    read.Serialize(archive);
    EXPECT_EQ(archive.BytesAvailable(), 0u);
    EXPECT_EQ(read.SampleRate(), 22050);
    EXPECT_EQ(read.Channels(), 2);
}

TEST(InstrumentDefaultStorage, MissingVersionByteIsAnEndOfFile)
{
    InstrumentDefault written;
    std::string bytes = StoreBinary(written);
    bytes.pop_back();
    InstrumentDefault read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    try {
        read.Serialize(archive);
        FAIL() << "a truncated record loaded";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), ArchiveException::Cause::EndOfFile);
    }
}

TEST(InstrumentDefaultStorage, AnotherEnginesRecordIsRefused)
{
    InstrumentMonoSynth synth;
    const std::string bytes = StoreBinary(synth);
    InstrumentDefault read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    EXPECT_THROW(read.Serialize(archive), ArchiveException);
}

TEST(InstrumentDefaultStorage, XmlRoundTrip)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
    const std::string path = (dir / "default.xml").string();
    InstrumentDefault written;
    ASSERT_TRUE(written.SetSampleRate(32000));
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        written.SerializeXML(child);
        ASSERT_TRUE(archive.Save());
    }
    const std::string text = test::ReadFileBytes(path);
    EXPECT_NE(text.find("Engine=\"DefaultInstrument\""), std::string::npos);
    EXPECT_NE(text.find("SampleRate=\"32000\""), std::string::npos);

    InstrumentDefault read;
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Instrument"));
    read.SerializeXML(archive);
    EXPECT_EQ(read.SampleRate(), 32000);
    EXPECT_EQ(read.Channels(), 1);
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
