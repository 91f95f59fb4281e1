#include "engine/InstrumentMonoSynth.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "document/BinaryArchive.h"
#include "engine/FixedPoint.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(InstrumentMonoSynth, Instrument, 0)

namespace {

constexpr std::uint8_t kMonoSynthVersion = 1;
constexpr std::int32_t kControlPeriod = 64;
constexpr std::int32_t kHalfCycle = 32768;
constexpr std::int32_t kCycle = 65536;
constexpr std::int32_t kUnity = 65536;
constexpr std::int32_t kMaxNote = 127;
constexpr std::int32_t kMaxVelocity = 127;
// Below this the amplitude envelope counts as silent.
constexpr std::int32_t kSilentAmplitude = 6;
constexpr std::int32_t kMinCutoff = 32;
constexpr std::int32_t kMaxCutoff = 4096;
// From this Wave Adjust on the second sawtooth is silenced and the first plays alone, louder.
constexpr std::int32_t kSingleSawAdjust = 124;
// ln 2 / 12 as the pitch formula stores it.
constexpr double kSemitoneLog = 0.05776226505;

// The phase increment of MIDI note 0 three octaves down at 44100 Hz, then one octave up per entry.
constexpr std::array<float, 6> kOctaveRate = {1.5187334f, 1.5187334f * 2, 1.5187334f * 4,
                                              1.5187334f * 8, 1.5187334f * 16, 1.5187334f * 32};

// a / b as the 32-bit divide gives it; a zero divisor gives 0 rather than a trap.
std::int32_t Div32(std::int32_t a, std::int32_t b)
{
    return b == 0 ? 0 : Wrap32(static_cast<std::int64_t>(a) / b);
}

std::int32_t Cube(std::int32_t value)
{
    return value * value * value;
}

// Advances a sawtooth by `increment` and returns its sample; when it passes the top it wraps,
// and the sample is corrected by the fraction of the step past the edge, so the falling edge lies
// between samples.
std::int32_t AdvanceSaw(std::int32_t& phase, std::int32_t increment)
{
    phase = Add32(phase, increment);
    std::int32_t sample = phase;
    if (phase > kHalfCycle) {
        sample = Sub32(sample, Div32(Mul32(phase - kHalfCycle, kCycle), increment));
        phase = Sub32(phase, kCycle);
    }
    return sample;
}

} // namespace

InstrumentMonoSynth::InstrumentMonoSynth()
{
    SetNameDirect("mSyn");
    for (SeqParameter* parameter : {&waveform_, &waveAdjust_, &octave_, &glide_, &frequency_, &resonance_,
                                    &vcfDepth_, &vcfDecay_, &vcfRelease_, &vcfVelocitySens_, &decay_, &release_,
                                    &velocitySens_})
        AddParameter(parameter);
    Reset();
}

std::int32_t InstrumentMonoSynth::EnvelopeCoefficient(std::int32_t v)
{
    if (v == 128)
        return kUnity;
    return kUnity - (((31 - (v & 15)) * 192) >> (v >> 4));
}

void InstrumentMonoSynth::HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t, std::int32_t)
{
    switch (code) {
    case kEventNoteStart:
        if (b == 0)
            EndNote(a);
        else
            StartNote(a, b);
        return;
    case kEventNoteEnd:
        EndNote(a);
        return;
    case kEventPositionJumped:
        EndNote(voice_.note);
        return;
    case kEventStopReset:
        EndNote(voice_.note);
        Reset();
        return;
    default:
        break;
    }
    if (code < 0 || code > 0xFFFF)
        return;
    SeqParameter* parameter = FindParameter(static_cast<std::uint16_t>(code));
    if (parameter && parameter->SetLive(a) && code == kFrequency)
        UpdateCutoffBase();
}

void InstrumentMonoSynth::UpdateCutoffBase()
{
    voice_.cutoffBase = Cube(frequency_.LiveValue()) >> 8;
}

void InstrumentMonoSynth::StartNote(std::int32_t note, std::int32_t velocity)
{
    if (note < 0 || note > kMaxNote || velocity < 1 || velocity > kMaxVelocity)
        return;
    MonoSynthVoice& v = voice_;
    v.glideCoef = (Cube(glide_.Maximum() - glide_.LiveValue()) >> 6) + 1;

    const std::int32_t amplitude = velocitySens_.LiveValue() == 0 ? 76 : velocity;
    v.ampTarget = amplitude * 170;
    v.ampMul = EnvelopeCoefficient(decay_.LiveValue() + 1);

    const float f1 = kOctaveRate[static_cast<std::size_t>(octave_.LiveValue())] *
                     static_cast<float>(std::exp(note * kSemitoneLog));
    v.target1 = static_cast<std::int32_t>(f1 + 0.5);
    v.ampTarget += SetUpSecondOscillator(f1, amplitude);
    v.keyTrack = (v.target1 * 5) >> 3;

    // A note that starts while another sounds glides to its pitch and keeps the filter envelope.
    if (v.note == 0) {
        std::int32_t envelope = vcfVelocitySens_.LiveValue() == 0 ? 4096 : Cube(velocity) >> 7;
        const std::int32_t depth = vcfDepth_.LiveValue() - 64;
        if (depth < 0)
            envelope = -envelope;
        v.filterEnv = (envelope * depth * depth) >> 12;
        v.filterMul = EnvelopeCoefficient(vcfDecay_.LiveValue() + 1);
        v.inc1 = v.target1;
        v.inc2 = v.target2;
    }
    v.note = note;
}

std::int32_t InstrumentMonoSynth::SetUpSecondOscillator(float f1, std::int32_t amplitude)
{
    const std::int32_t adjust = waveAdjust_.LiveValue();
    float f2 = f1;
    std::int32_t addedAmplitude = 0;
    if (waveform_.LiveValue() == 0) {
        if (adjust < kSingleSawAdjust) {
            // From one octave below (0.5) to almost unison (0.99937).
            const float ratio = adjust < 64
                                    ? static_cast<float>(adjust * adjust) * 0.000063f + 0.5f
                                    : 1.0f - static_cast<float>((127 - adjust) * (127 - adjust)) * 0.000063f;
            f2 = ratio * f1;
        } else {
            voice_.phase2 = 0;
            f2 = 0.0f;
            addedAmplitude = amplitude * 85;
        }
    } else {
        // The pulse is the difference of two equal sawtooths; its width is their phase offset.
        voice_.phase2 = Add32(voice_.phase1, adjust * 250 + 1018);
        if (voice_.phase2 > kHalfCycle)
            voice_.phase2 = Sub32(voice_.phase2, kCycle);
    }
    voice_.target2 = static_cast<std::int32_t>(f2 + 0.5f);
    return addedAmplitude;
}

void InstrumentMonoSynth::EndNote(std::int32_t note)
{
    if (note != voice_.note)
        return;
    voice_.note = 0;
    // Release values are used as they are (not plus one), so a release always decays.
    voice_.ampMul = EnvelopeCoefficient(release_.LiveValue());
    voice_.filterMul = EnvelopeCoefficient(vcfRelease_.LiveValue());
}

void InstrumentMonoSynth::Reset()
{
    ResetBase();
    voice_.low = 0;
    voice_.band = 0;
    voice_.phase2 = 0;
    voice_.phase1 = 0;
    voice_.ampStep = 0;
    voice_.amp = 0;
    voice_.filterEnv = 0;
    voice_.note = 0;
    voice_.tick = 1;
    voice_.ampTarget = kSilentAmplitude;
    UpdateCutoffBase();
}

bool InstrumentMonoSynth::Render(int frames)
{
    if (voice_.ampTarget <= kSilentAmplitude)
        return false;
    const int count = std::clamp(frames, 0, kMaxFrames);
    const int channels = Channels();
    const int resonance = resonance_.LiveValue();
    std::int32_t* out = Output();
    for (int frame = 0; frame < count; ++frame)
        std::fill_n(out + frame * channels, channels, NextSample(resonance));
    return true;
}

// Glide, both envelopes and the cutoff move once per 64 samples; the amplitude is interpolated
// linearly across the period.
void InstrumentMonoSynth::ControlTick()
{
    MonoSynthVoice& v = voice_;
    v.tick = kControlPeriod;
    const std::int32_t rising = v.inc1 < v.target1 ? 1 : 0;
    v.inc1 = Add32(v.inc1, Add32(Mul32(Sub32(v.target1, v.inc1), v.glideCoef) >> 16, rising));
    v.inc2 = Add32(v.inc2, Add32(Mul32(Sub32(v.target2, v.inc2), v.glideCoef) >> 16, rising));
    v.filterEnv = Mul32(v.filterMul, v.filterEnv) >> 16;
    v.ampTarget = Mul32(v.ampTarget, v.ampMul) >> 16;
    v.ampStep = Sub32(v.ampTarget, v.amp) >> 6;
    const std::int64_t cutoff = static_cast<std::int64_t>(v.keyTrack) + v.cutoffBase + v.filterEnv;
    v.cutoff = static_cast<std::int32_t>(std::clamp<std::int64_t>(cutoff, kMinCutoff, kMaxCutoff));
}

std::int32_t InstrumentMonoSynth::NextSample(int resonance)
{
    MonoSynthVoice& v = voice_;
    if (--v.tick == 0)
        ControlTick();
    // The signal is the difference of the two sawtooths.
    const std::int32_t s = Sub32(AdvanceSaw(v.phase1, v.inc1), AdvanceSaw(v.phase2, v.inc2));
    // State-variable filter with damping 2^−resonance.
    const std::int32_t drive = Sub32(Sub32(s, v.band >> resonance), v.low);
    v.band = Add32(v.band, Mul32(drive, v.cutoff) >> 12);
    v.low = Add32(v.low, Mul32(v.band, v.cutoff) >> 12);
    v.amp = Add32(v.amp, v.ampStep);
    return Mul32(v.amp >> 4, v.low) >> 6;
}

void InstrumentMonoSynth::Serialize(BinaryArchive& archive)
{
    Instrument::Serialize(archive);
    if (archive.IsStoring())
        archive.WriteByte(kMonoSynthVersion);
    else
        archive.ReadByte();
}

} // namespace jorvo

