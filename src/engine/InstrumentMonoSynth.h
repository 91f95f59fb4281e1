#pragma once
// "mSyn": a monophonic synthesiser of two sawtooths (or a pulse, their phase-offset difference)
// with glide, a resonant state-variable filter and two exponential envelopes. Pitch is worked out
// in floating point at note start; everything per sample is 32-bit integer fixed point.
#include <cstdint>

#include "engine/Instrument.h"

namespace jorvo {

// The state of the one voice. Phases run over 65536 per cycle; multipliers are 16.16.
struct MonoSynthVoice {
    std::int32_t phase1 = 0;
    std::int32_t phase2 = 0;
    std::int32_t inc1 = 0;       // phase increments now …
    std::int32_t inc2 = 0;
    std::int32_t target1 = 0;    // … and those they glide to
    std::int32_t target2 = 0;
    std::int32_t band = 0;       // filter state
    std::int32_t low = 0;
    std::int32_t cutoff = 0;     // filter coefficient, 32…4096 for 32/4096…1
    std::int32_t amp = 0;
    std::int32_t ampStep = 0;
    std::int32_t ampTarget = 0;
    std::int32_t ampMul = 0;
    std::int32_t filterMul = 0;
    std::int32_t filterEnv = 0;
    std::int32_t cutoffBase = 0;
    std::int32_t keyTrack = 0;
    std::int32_t glideCoef = 0;
    std::int32_t tick = 0;       // samples left in the 64-sample control period
    std::int32_t note = 0;       // the sounding note; 0 = none
};

class InstrumentMonoSynth final : public Instrument {
    JORVO_DECLARE_PERSISTENT(InstrumentMonoSynth)
public:
    // Parameter numbers (controller codes).
    enum ParameterNumber : std::uint16_t {
        kWaveform = 30,
        kWaveAdjust = 31,
        kOctave = 32,
        kGlide = 33,
        kFrequency = 71,
        kResonance = 74,
        kVcfDepth = 34,
        kVcfDecay = 35,
        kVcfRelease = 72,
        kVcfVelocitySens = 36,
        kDecay = 37,
        kRelease = 38,
        kVelocitySens = 39,
    };

    // A silent synthesiser named "mSyn" with every parameter at its default.
    InstrumentMonoSynth();

    // Parameter codes set live values (only "Frequency" acts at once; the rest at the next note);
    // 200 starts a note (velocity 0 ends it), 201 ends note a if it sounds, 202 ends the sounding
    // note, 255 ends it and resets. A note start with note or velocity outside 0…127 is ignored.
    // Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // Renders `frames` frames into Output(); false, with nothing written, once the amplitude
    // envelope has died away. Audio thread.
    bool Render(int frames) override;
    // Back to the silent start state; live parameter values return to the stored ones.
    void Reset() override;

    // "mSyn".
    std::string GetEngineName() const override { return "mSyn"; }

    // Instrument storage, then one version byte (1; skipped when loading). Loading a record of
    // another engine raises ArchiveException (Generic). UI thread.
    void Serialize(BinaryArchive& archive) override;

    // The envelope coefficient for `v` in 0…128 (16.16 per control tick): 65536 at 128 (hold),
    // otherwise 65536 − (((31 − (v AND 15)) × 192) SHIFT RIGHT (v SHIFT RIGHT 4)).
    static std::int32_t EnvelopeCoefficient(std::int32_t v);

    // The voice state, read by displays and tests.
    const MonoSynthVoice& Voice() const { return voice_; }

private:
    void StartNote(std::int32_t note, std::int32_t velocity);
    void EndNote(std::int32_t note);
    // Works out target2 (and the pulse's phase offset) from f1; returns the amplitude the second
    // oscillator adds (non-zero only when it is silenced).
    std::int32_t SetUpSecondOscillator(float f1, std::int32_t amplitude);
    void ControlTick();
    std::int32_t NextSample(int resonance);
    void UpdateCutoffBase();

    SeqParameter waveform_{"Waveform", "Wave Saw/Pulse", kWaveform, 0, 1, 0};
    SeqParameter waveAdjust_{"Wave Adjust", "Saw detune/Pulse width", kWaveAdjust, 0, 127, 127};
    SeqParameter octave_{"Octave", "Octave", kOctave, 0, 5, 2};
    SeqParameter glide_{"Glide", "Glide Time", kGlide, 0, 127, 64};
    SeqParameter frequency_{"Frequency", "VCF Cutoff Frequency", kFrequency, 0, 127, 0};
    SeqParameter resonance_{"Resonance", "VCF Resonance", kResonance, 0, 4, 2};
    SeqParameter vcfDepth_{"VCF Depth", "VCF Envelope Depth", kVcfDepth, 0, 127, 127};
    SeqParameter vcfDecay_{"VCF Decay", "VCF Envelope Decay", kVcfDecay, 0, 127, 32};
    SeqParameter vcfRelease_{"VCF Release", "VCF Envelope Decay", kVcfRelease, 0, 127, 32};
    SeqParameter vcfVelocitySens_{"VCF V.Sens", "VCF Velocity Sensitivity", kVcfVelocitySens, 0, 1, 1};
    SeqParameter decay_{"Decay", "Envelope Decay", kDecay, 0, 127, 127};
    SeqParameter release_{"Release", "Envelope Release", kRelease, 0, 127, 12};
    SeqParameter velocitySens_{"V.Sens", "Envelope Velocity Sensitivity", kVelocitySens, 0, 1, 0};

    MonoSynthVoice voice_;
};

} // namespace jorvo
