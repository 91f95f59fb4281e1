#include "engine/InstrumentMonoSynth.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/InstrumentDefault.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using Synth = InstrumentMonoSynth;
constexpr std::int32_t kSentinel = 0x5A5A5A5A;

void SetLive(Synth& synth, std::int32_t number, std::int32_t value)
{
    synth.HandleEvent(number, value, 0, 0, 0);
    ASSERT_EQ(synth.GetParameterValue(static_cast<std::uint16_t>(number)), value);
}

// True when Render wrote nothing over the sentinel-filled buffer.
bool RenderLeavesBufferAlone(Synth& synth, int frames)
{
    synth.BeginChunk(frames);
    std::fill_n(synth.Output(), Instrument::kMaxFrames, kSentinel);
    const bool sound = synth.Render(frames);
    return !sound && std::all_of(synth.Output(), synth.Output() + Instrument::kMaxFrames,
                                 [](std::int32_t sample) { return sample == kSentinel; });
}

// ---------------------------------------------------------------------------------------------
// An independent transcription of the per-sample loop: 64-bit arithmetic, with every product and
// sum cut to 32 bits explicitly, as a 32-bit register would hold it.

std::int64_t Cut(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

struct ReferenceVoice {
    std::int64_t phase1 = 0, phase2 = 0, inc1 = 0, inc2 = 0, target1 = 0, target2 = 0;
    std::int64_t band = 0, low = 0, cutoff = 0, amp = 0, ampStep = 0, ampTarget = 0;
    std::int64_t ampMul = 0, filterMul = 0, filterEnv = 0, cutoffBase = 0, keyTrack = 0;
    std::int64_t glideCoef = 0, tick = 1;
    int resonance = 0;

    std::int64_t Next()
    {
        tick = tick - 1;
        if (tick == 0) {
            tick = 64;
            const std::int64_t plus = inc1 < target1 ? 1 : 0;
            inc1 = Cut(inc1 + (Cut(Cut(target1 - inc1) * glideCoef) >> 16) + plus);
            inc2 = Cut(inc2 + (Cut(Cut(target2 - inc2) * glideCoef) >> 16) + plus);
            filterEnv = Cut(filterMul * filterEnv) >> 16;
            ampTarget = Cut(ampTarget * ampMul) >> 16;
            ampStep = Cut(ampTarget - amp) >> 6;
            cutoff = std::clamp<std::int64_t>(keyTrack + cutoffBase + filterEnv, 32, 4096);
        }
        phase1 = Cut(phase1 + inc1);
        std::int64_t s = phase1;
        if (phase1 > 32768) {
            s = Cut(s - Cut(Cut((phase1 - 32768) * 65536) / inc1));
            phase1 = Cut(phase1 - 65536);
        }
        phase2 = Cut(phase2 + inc2);
        s = Cut(s - phase2);
        if (phase2 > 32768) {
            s = Cut(s + Cut(Cut((phase2 - 32768) * 65536) / inc2));
            phase2 = Cut(phase2 - 65536);
        }
        band = Cut(band + (Cut(Cut(Cut(s - (band >> resonance)) - low) * cutoff) >> 12));
        low = Cut(low + (Cut(band * cutoff) >> 12));
        amp = Cut(amp + ampStep);
        return Cut((amp >> 4) * low) >> 6;
    }
};

// Renders `total` frames in chunks of `chunk` and compares each with the reference; returns how
// many of the engine's samples were not zero, so callers can check the comparison meant something.
int CompareWithReference(Synth& synth, ReferenceVoice& reference, int total, int chunk)
{
    int nonZero = 0;
    for (int done = 0; done < total; done += chunk) {
        const int frames = std::min(chunk, total - done);
        synth.BeginChunk(frames);
        EXPECT_TRUE(synth.Render(frames)) << "at frame " << done;
        for (int i = 0; i < frames; ++i) {
            const std::int64_t expected = reference.Next();
            if (synth.Output()[i] != expected) {
                ADD_FAILURE() << "frame " << done + i << ": " << synth.Output()[i] << " != " << expected;
                return nonZero;
            }
            nonZero += synth.Output()[i] != 0 ? 1 : 0;
        }
    }
    return nonZero;
}

// ---------------------------------------------------------------------------------------------
// Parameters and coefficients

struct ParameterRow {
    const char* name;
    const char* description;
    std::uint16_t number;
    std::int32_t minimum, maximum, value;
};

TEST(MonoSynthParameters, TableOfThirteen)
{
    const std::vector<ParameterRow> rows = {
        {"Waveform", "Wave Saw/Pulse", 30, 0, 1, 0},
        {"Wave Adjust", "Saw detune/Pulse width", 31, 0, 127, 127},
        {"Octave", "Octave", 32, 0, 5, 2},
        {"Glide", "Glide Time", 33, 0, 127, 64},
        {"Frequency", "VCF Cutoff Frequency", 71, 0, 127, 0},
        {"Resonance", "VCF Resonance", 74, 0, 4, 2},
        {"VCF Depth", "VCF Envelope Depth", 34, 0, 127, 127},
        {"VCF Decay", "VCF Envelope Decay", 35, 0, 127, 32},
        {"VCF Release", "VCF Envelope Decay", 72, 0, 127, 32},
        {"VCF V.Sens", "VCF Velocity Sensitivity", 36, 0, 1, 1},
        {"Decay", "Envelope Decay", 37, 0, 127, 127},
        {"Release", "Envelope Release", 38, 0, 127, 12},
        {"V.Sens", "Envelope Velocity Sensitivity", 39, 0, 1, 0},
    };
    Synth synth;
    EXPECT_EQ(synth.GetName(), "mSyn");
    EXPECT_EQ(synth.GetEngineName(), "mSyn");
    ASSERT_EQ(synth.Parameters().size(), rows.size());
    for (const ParameterRow& row : rows) {
        const SeqParameter* parameter = synth.FindParameter(row.number);
        ASSERT_NE(parameter, nullptr) << row.name;
        EXPECT_EQ(parameter->Name(), row.name);
        EXPECT_EQ(parameter->Description(), row.description);
        EXPECT_EQ(parameter->Minimum(), row.minimum) << row.name;
        EXPECT_EQ(parameter->Maximum(), row.maximum) << row.name;
        EXPECT_EQ(parameter->StoredValue(), row.value) << row.name;
        EXPECT_EQ(parameter->LiveValue(), row.value) << row.name;
    }
}

TEST(MonoSynthParameters, EnvelopeCoefficients)
{
    EXPECT_EQ(Synth::EnvelopeCoefficient(1), 59776);
    EXPECT_EQ(Synth::EnvelopeCoefficient(65), 65176);
    EXPECT_EQ(Synth::EnvelopeCoefficient(127), 65512);
    EXPECT_EQ(Synth::EnvelopeCoefficient(128), 65536);
    EXPECT_EQ(Synth::EnvelopeCoefficient(0), 59584);   // 65536 − 31 × 192
    EXPECT_EQ(Synth::EnvelopeCoefficient(16), 62560);  // 65536 − (5952 >> 1)
    EXPECT_EQ(Synth::EnvelopeCoefficient(101), 65458); // 65536 − (4992 >> 6)
}

TEST(MonoSynthParameters, FrequencyActsAtOnceAndStopRestoresIt)
{
    Synth synth;
    SetLive(synth, Synth::kFrequency, 127);
    EXPECT_EQ(synth.Voice().cutoffBase, 8001); // 2048383 >> 8
    synth.HandleEvent(Synth::kFrequency, 128, 0, 0, 0); // out of range: ignored
    EXPECT_EQ(synth.GetParameterValue(Synth::kFrequency), 127);
    EXPECT_EQ(synth.Voice().cutoffBase, 8001);
    synth.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    EXPECT_EQ(synth.GetParameterValue(Synth::kFrequency), 0);
    EXPECT_EQ(synth.Voice().cutoffBase, 0);
}

// ---------------------------------------------------------------------------------------------
// Note start

TEST(MonoSynthNote, PitchOfNote69)
{
    Synth synth;
    synth.HandleEvent(kEventNoteStart, 69, 100, 0, 0);
    EXPECT_EQ(synth.Voice().target1, 327); // 326.937 at the default octave 2
    synth.HandleEvent(kEventNoteEnd, 69, 0, 0, 0);
    SetLive(synth, Synth::kOctave, 3);
    synth.HandleEvent(kEventNoteStart, 69, 100, 0, 0);
    EXPECT_EQ(synth.Voice().target1, 654); // 653.874: 440 Hz at 44100 Hz
}

TEST(MonoSynthNote, DefaultsSetTheVoiceUp)
{
    Synth synth;
    synth.HandleEvent(kEventNoteStart, 69, 100, 0, 0);
    const MonoSynthVoice& v = synth.Voice();
    EXPECT_EQ(v.glideCoef, 3907);      // (63³ >> 6) + 1
    EXPECT_EQ(v.ampTarget, 76 * 255);  // V.Sens 0 plays at 76; one saw alone adds 76 × 85
    EXPECT_EQ(v.ampMul, 65536);        // Decay 127 holds
    EXPECT_EQ(v.target2, 0);
    EXPECT_EQ(v.inc1, 327);
    EXPECT_EQ(v.inc2, 0);
    EXPECT_EQ(v.keyTrack, 204);        // 1635 >> 3
    EXPECT_EQ(v.filterEnv, 7569);      // (100³ >> 7) × 63² >> 12
    EXPECT_EQ(v.filterMul, 64096);     // E(33)
    EXPECT_EQ(v.note, 69);
}

TEST(MonoSynthNote, SingleSawPlaysAtVelocityTimes255)
{
    Synth synth;
    SetLive(synth, Synth::kVelocitySens, 1);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    EXPECT_EQ(synth.Voice().ampTarget, 25500);
    EXPECT_EQ(synth.Voice().phase2, 0);
    EXPECT_EQ(synth.Voice().target2, 0);
    // Just below the threshold both saws play at v × 170.
    synth.HandleEvent(kEventNoteEnd, 60, 0, 0, 0);
    SetLive(synth, Synth::kWaveAdjust, 123);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    EXPECT_EQ(synth.Voice().ampTarget, 17000);
}

TEST(MonoSynthNote, DetunedSecondSaw)
{
    Synth synth;
    SetLive(synth, Synth::kWaveAdjust, 40); // ratio 0.6008
    SetLive(synth, Synth::kOctave, 3);
    synth.HandleEvent(kEventNoteStart, 60, 90, 0, 0);
    EXPECT_EQ(synth.Voice().target1, 389); // 388.796
    EXPECT_EQ(synth.Voice().target2, 234); // 233.588
    synth.HandleEvent(kEventNoteEnd, 60, 0, 0, 0);
    SetLive(synth, Synth::kWaveAdjust, 100); // 1 − 27² × 0.000063 = 0.954073
    synth.HandleEvent(kEventNoteStart, 60, 90, 0, 0);
    EXPECT_EQ(synth.Voice().target2, 371); // 370.94
}

TEST(MonoSynthNote, PulseWidthIsThePhaseOffset)
{
    Synth synth;
    SetLive(synth, Synth::kWaveform, 1);
    SetLive(synth, Synth::kWaveAdjust, 40);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    EXPECT_EQ(synth.Voice().phase2, 11018); // 40 × 250 + 0 + 1018
    EXPECT_EQ(synth.Voice().target2, synth.Voice().target1);
    synth.HandleEvent(kEventNoteEnd, 60, 0, 0, 0);
    SetLive(synth, Synth::kWaveAdjust, 127);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    EXPECT_EQ(synth.Voice().phase2, 32768); // 127 × 250 + 1018 lands on the top, not above it
}

TEST(MonoSynthNote, NegativeDepthInvertsTheFilterEnvelope)
{
    Synth synth;
    SetLive(synth, Synth::kVcfDepth, 20);
    synth.HandleEvent(kEventNoteStart, 60, 90, 0, 0);
    EXPECT_EQ(synth.Voice().filterEnv, -2692); // −5695 × 44² >> 12, rounded down
    synth.HandleEvent(kEventNoteEnd, 60, 0, 0, 0);
    SetLive(synth, Synth::kVcfVelocitySens, 0);
    SetLive(synth, Synth::kVcfDepth, 0);
    synth.HandleEvent(kEventNoteStart, 60, 90, 0, 0);
    EXPECT_EQ(synth.Voice().filterEnv, -4096);
}

TEST(MonoSynthNote, BadNoteOrVelocityIsIgnored)
{
    Synth synth;
    synth.HandleEvent(kEventNoteStart, 128, 100, 0, 0);
    synth.HandleEvent(kEventNoteStart, -1, 100, 0, 0);
    synth.HandleEvent(kEventNoteStart, 60, 128, 0, 0);
    EXPECT_EQ(synth.Voice().note, 0);
    EXPECT_EQ(synth.Voice().ampTarget, 6);
}

// ---------------------------------------------------------------------------------------------
// Note end, legato and transport

TEST(MonoSynthEvents, VelocityZeroEndsTheNoteLike201)
{
    Synth byVelocity;
    Synth byNoteEnd;
    for (Synth* synth : {&byVelocity, &byNoteEnd}) {
        synth->HandleEvent(kEventNoteStart, 64, 100, 0, 0);
        synth->BeginChunk(100);
        synth->Render(100);
    }
    byVelocity.HandleEvent(kEventNoteStart, 64, 0, 0, 0);
    byNoteEnd.HandleEvent(kEventNoteEnd, 64, 0, 0, 0);
    for (const Synth* synth : {&byVelocity, &byNoteEnd}) {
        EXPECT_EQ(synth->Voice().note, 0);
        EXPECT_EQ(synth->Voice().ampMul, 61888);    // E(Release 12)
        EXPECT_EQ(synth->Voice().filterMul, 64048); // E(VCF Release 32)
    }
    for (Synth* synth : {&byVelocity, &byNoteEnd}) {
        synth->BeginChunk(200);
        ASSERT_TRUE(synth->Render(200));
    }
    EXPECT_TRUE(std::equal(byVelocity.Output(), byVelocity.Output() + 200, byNoteEnd.Output()));
}

TEST(MonoSynthEvents, NoteEndForAnotherNoteIsIgnored)
{
    Synth synth;
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    synth.HandleEvent(kEventNoteEnd, 61, 0, 0, 0);
    synth.HandleEvent(kEventNoteStart, 61, 0, 0, 0);
    EXPECT_EQ(synth.Voice().note, 60);
    EXPECT_EQ(synth.Voice().ampMul, 65536);
}

TEST(MonoSynthEvents, LegatoGlideKeepsTheFilterEnvelope)
{
    Synth synth;
    SetLive(synth, Synth::kWaveAdjust, 40);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0); // target1 194, target2 117
    synth.BeginChunk(1);
    ASSERT_TRUE(synth.Render(1)); // the control tick at frame 0
    EXPECT_EQ(synth.Voice().filterEnv, 7402); // 64096 × 7569 >> 16
    EXPECT_EQ(synth.Voice().inc1, 194);
    EXPECT_EQ(synth.Voice().inc2, 117);

    // Legato, to a single saw an octave up: pitch re-targets, filter envelope and increments stay.
    SetLive(synth, Synth::kWaveAdjust, 127);
    synth.HandleEvent(kEventNoteStart, 72, 50, 0, 0);
    EXPECT_EQ(synth.Voice().note, 72);
    EXPECT_EQ(synth.Voice().target1, 389);
    EXPECT_EQ(synth.Voice().target2, 0);
    EXPECT_EQ(synth.Voice().filterEnv, 7402);
    EXPECT_EQ(synth.Voice().filterMul, 64096);
    EXPECT_EQ(synth.Voice().inc1, 194);
    EXPECT_EQ(synth.Voice().inc2, 117);

    synth.BeginChunk(64);
    ASSERT_TRUE(synth.Render(64)); // the next control tick is the 64th frame
    // inc1: 194 + (195 × 3907 >> 16) + 1. inc2 falls, yet takes the +1 because inc1 rose:
    // 117 + (−117 × 3907 >> 16) + 1 = 117 − 7 + 1.
    EXPECT_EQ(synth.Voice().inc1, 206);
    EXPECT_EQ(synth.Voice().inc2, 111);
    EXPECT_EQ(synth.Voice().filterEnv, 7239); // 64096 × 7402 >> 16

    // After the note ends, a new note restarts the filter envelope and jumps to its pitch.
    synth.HandleEvent(kEventNoteEnd, 72, 0, 0, 0);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    EXPECT_EQ(synth.Voice().filterEnv, 7569);
    EXPECT_EQ(synth.Voice().inc1, 194);
}

TEST(MonoSynthEvents, DecayOf127HoldsUntilNoteEnd)
{
    Synth synth;
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    for (int chunk = 0; chunk < 50; ++chunk) {
        synth.BeginChunk(1024);
        ASSERT_TRUE(synth.Render(1024));
    }
    EXPECT_EQ(synth.Voice().ampTarget, 19380);
    // The first period climbs 64 × (19380 >> 6); the remaining 52 are below one step per sample.
    EXPECT_EQ(synth.Voice().amp, 19328);
}

TEST(MonoSynthEvents, ReleaseDiesAwayToSilence)
{
    Synth synth;
    SetLive(synth, Synth::kRelease, 0);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    synth.HandleEvent(kEventNoteEnd, 60, 0, 0, 0);
    // E(0) ≈ 0.909 per tick: 19380 falls to 6 within a hundred ticks.
    int chunks = 0;
    while (chunks < 20 && synth.Render(1024))
        ++chunks;
    EXPECT_GT(chunks, 0);
    EXPECT_LT(chunks, 20);
    EXPECT_LE(synth.Voice().ampTarget, 6);
    EXPECT_TRUE(RenderLeavesBufferAlone(synth, 1024));
}

TEST(MonoSynthEvents, SilentAfterConstructionAndAfterStop)
{
    Synth synth;
    EXPECT_TRUE(RenderLeavesBufferAlone(synth, 256));
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    synth.BeginChunk(256);
    EXPECT_TRUE(synth.Render(256));
    synth.HandleEvent(kEventStopReset, 0, 0, 0, 0);
    EXPECT_EQ(synth.Voice().note, 0);
    EXPECT_EQ(synth.Voice().amp, 0);
    EXPECT_EQ(synth.Voice().tick, 1);
    EXPECT_TRUE(RenderLeavesBufferAlone(synth, 256));
}

TEST(MonoSynthEvents, PositionJumpReleasesTheSoundingNote)
{
    Synth synth;
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);
    synth.HandleEvent(kEventPositionJumped, 0, 0, 0, 0);
    EXPECT_EQ(synth.Voice().note, 0);
    EXPECT_EQ(synth.Voice().ampMul, 61888);
}

// ---------------------------------------------------------------------------------------------
// The per-sample loop against the reference

TEST(MonoSynthRender, TwoSawsThroughLegatoAndReleaseMatchTheReference)
{
    Synth synth;
    SetLive(synth, Synth::kWaveAdjust, 40);
    SetLive(synth, Synth::kOctave, 3);
    SetLive(synth, Synth::kFrequency, 50);
    SetLive(synth, Synth::kResonance, 3);
    SetLive(synth, Synth::kVcfDepth, 20);
    SetLive(synth, Synth::kVcfDecay, 10);
    SetLive(synth, Synth::kDecay, 100);
    SetLive(synth, Synth::kRelease, 5);
    SetLive(synth, Synth::kVelocitySens, 1);
    synth.HandleEvent(kEventNoteStart, 60, 90, 0, 0);

    // Worked out by hand from the note-start formulas.
    ReferenceVoice ref;
    ref.resonance = 3;
    ref.glideCoef = 3907;
    ref.ampTarget = 15300;   // 90 × 170
    ref.ampMul = 65458;      // E(101)
    ref.target1 = ref.inc1 = 389;
    ref.target2 = ref.inc2 = 234;
    ref.keyTrack = 243;      // 1945 >> 3
    ref.cutoffBase = 488;    // 125000 >> 8
    ref.filterEnv = -2692;
    ref.filterMul = 61696;   // E(11)
    EXPECT_GT(CompareWithReference(synth, ref, 200, 70), 100);

    synth.HandleEvent(kEventNoteStart, 67, 110, 0, 0);
    ref.ampTarget = 18700;   // 110 × 170
    ref.target1 = 583;       // 582.535
    ref.target2 = 350;       // 349.987
    ref.keyTrack = 364;      // 2915 >> 3
    EXPECT_GT(CompareWithReference(synth, ref, 500, 128), 400);

    synth.HandleEvent(kEventNoteEnd, 67, 0, 0, 0);
    ref.ampMul = 60544;      // E(5)
    ref.filterMul = 64048;   // E(32)
    EXPECT_GT(CompareWithReference(synth, ref, 300, 100), 200);
}

TEST(MonoSynthRender, PulseMatchesTheReference)
{
    Synth synth;
    SetLive(synth, Synth::kWaveform, 1);
    SetLive(synth, Synth::kWaveAdjust, 40);
    synth.HandleEvent(kEventNoteStart, 60, 100, 0, 0);

    ReferenceVoice ref;
    ref.resonance = 2;
    ref.glideCoef = 3907;
    ref.ampTarget = 12920;   // 76 × 170
    ref.ampMul = 65536;
    ref.target1 = ref.inc1 = 194;
    ref.target2 = ref.inc2 = 194;
    ref.phase2 = 11018;
    ref.keyTrack = 121;      // 970 >> 3
    ref.filterEnv = 7569;
    ref.filterMul = 64096;
    EXPECT_GT(CompareWithReference(synth, ref, 700, 1024), 600);
}

TEST(MonoSynthRender, HighestPitchWrapsLikeA32BitRegister)
{
    // Octave 5, note 127: an increment above a whole cycle makes the phase climb until it wraps
    // around 32 bits (after about 240000 samples); the edge product overflows on the way.
    Synth synth;
    SetLive(synth, Synth::kOctave, 5);
    synth.HandleEvent(kEventNoteStart, 127, 100, 0, 0);
    ASSERT_EQ(synth.Voice().target1, 74565); // 74564.53

    ReferenceVoice ref;
    ref.resonance = 2;
    ref.glideCoef = 3907;
    ref.ampTarget = 19380;
    ref.ampMul = 65536;
    ref.target1 = ref.inc1 = 74565;
    ref.keyTrack = 46603;
    ref.filterEnv = 7569;
    ref.filterMul = 64096;
    CompareWithReference(synth, ref, 250 * 1024, 1024);
    EXPECT_LT(ref.phase1, 0); // the wrap did happen within the render
}

// ---------------------------------------------------------------------------------------------
// Storage

std::string StoreBinary(SeqEventTarget& target)
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store);
    target.Serialize(archive);
    archive.Close();
    return stream.BytesAsString();
}

void SetStored(Synth& synth)
{
    synth.SetStoredValue(Synth::kOctave, 4);
    synth.SetStoredValue(Synth::kGlide, 10);
    synth.SetStoredValue(Synth::kFrequency, 100);
    synth.SetStoredValue(Synth::kVcfVelocitySens, 0);
    synth.SetStoredValue(Synth::kRelease, 99);
}

void ExpectStored(const Synth& synth)
{
    for (const auto& [number, value] : std::vector<std::pair<std::uint16_t, int>>{
             {Synth::kOctave, 4}, {Synth::kGlide, 10}, {Synth::kFrequency, 100},
             {Synth::kVcfVelocitySens, 0}, {Synth::kRelease, 99}, {Synth::kDecay, 127}}) {
        EXPECT_EQ(synth.FindParameter(number)->StoredValue(), value) << number;
        EXPECT_EQ(synth.GetParameterValue(number), value) << number;
    }
    EXPECT_EQ(synth.Voice().cutoffBase, 3906); // 100³ >> 8
}

TEST(MonoSynthStorage, BinaryRoundTripWithItsOwnVersionByte)
{
    Synth written;
    SetStored(written);
    const std::string bytes = StoreBinary(written);
    // … sample rate 44100 (0xAC44), channels 1, then the synthesiser's version byte 1.
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\x44\xAC\x01\x01", 4));

    Synth read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    read.Serialize(archive);
    EXPECT_EQ(archive.BytesAvailable(), 0u);
    ExpectStored(read);
}

TEST(MonoSynthStorage, TruncatedRecordIsAnEndOfFile)
{
    Synth written;
    std::string bytes = StoreBinary(written);
    bytes.pop_back();
    Synth read;
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    try {
        read.Serialize(archive);
        FAIL() << "a truncated record loaded";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), ArchiveException::Cause::EndOfFile);
    }
}

TEST(MonoSynthStorage, XmlRoundTripAndEngineCheck)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
    const std::string path = (dir / "msyn.xml").string();
    Synth written;
    SetStored(written);
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        written.SerializeXML(child);
        ASSERT_TRUE(archive.Save());
    }
    const std::string text = test::ReadFileBytes(path);
    EXPECT_NE(text.find("Engine=\"mSyn\""), std::string::npos);
    EXPECT_NE(text.find("Name=\"VCF V.Sens\" Value=\"0\""), std::string::npos);

    Synth read;
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(archive.Descend("Instrument"));
        read.SerializeXML(archive);
    }
    ExpectStored(read);

    InstrumentDefault other;
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Instrument"));
    EXPECT_THROW(other.SerializeXML(archive), ArchiveException);
    EXPECT_TRUE(shell.messages.empty());
}

} // namespace
} // namespace jorvo
