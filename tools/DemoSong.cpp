#include "DemoSong.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "SamplerKits.h"
#include "engine/Effect.h"
#include "engine/EffectDelay.h"
#include "engine/EffectReverb.h"
#include "engine/Instrument.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/InstrumentSampler.h"
#include "engine/Mixer.h"
#include "engine/MixerBuss.h"
#include "engine/MixerChannel.h"
#include "engine/MixerStrip.h"
#include "engine/SoundStudio.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/Sequencer.h"

namespace jorvo {
namespace {

constexpr std::int32_t kTempo = 100;
constexpr std::uint32_t kBeat = 480;
constexpr std::uint32_t kEighth = kBeat / 2;
constexpr std::uint32_t kSixteenth = kBeat / 4;
constexpr std::uint32_t kBar = 4 * kBeat;
// Every harmonic pattern covers the four chords of the progression, one bar each.
constexpr std::uint32_t kPhrase = 4 * kBar;

// Am – F – C – G: a chord as its notes, lowest first.
using Chord = std::array<int, 3>;
constexpr std::array<Chord, 4> kPadChords = {{{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}}};
constexpr std::array<int, 4> kBassRoots = {33, 29, 36, 31};

// The default instrument sounds note 60 at 440 Hz, nine semitones above concert pitch.
constexpr int kDefaultInstrumentOffset = 9;

void AddNote(SeqEventPattern& pattern, std::uint32_t start, std::uint32_t length, int pitch, int velocity)
{
    auto note = std::make_unique<SeqEventNote>();
    note->SetStart(start);
    note->SetLength(length);
    note->SetPitch(static_cast<std::uint32_t>(pitch));
    note->SetVelocity(static_cast<std::uint32_t>(velocity));
    std::unique_ptr<SeqEvent> event = std::move(note);
    pattern.InsertEvent(event);
}

void AddController(SeqEventPattern& pattern, std::uint32_t start, std::uint16_t controller, std::int32_t value)
{
    auto cc = std::make_unique<SeqEventCC>();
    cc->SetStart(start);
    cc->SetController(controller);
    cc->SetValue(value);
    std::unique_ptr<SeqEvent> event = std::move(cc);
    pattern.InsertEvent(event);
}

// A controller moving in straight steps from `from` to `to` over `length` pulses, one value per
// sixteenth note.
void AddRamp(SeqEventPattern& pattern, std::uint32_t start, std::uint32_t length, std::uint16_t controller,
             int from, int to)
{
    const std::uint32_t steps = length / kSixteenth;
    for (std::uint32_t i = 0; i < steps; ++i) {
        const int value = from + static_cast<int>((to - from) * static_cast<long>(i) / static_cast<long>(steps - 1));
        AddController(pattern, start + i * kSixteenth, controller, value);
    }
}

// Every note of `pattern` in the first bar whose pitch is `pitch` and whose start falls on an
// off-beat eighth.
std::vector<SeqEvent*> OffBeatNotes(const SeqEventPattern& pattern, int pitch)
{
    std::vector<SeqEvent*> found;
    for (const auto& event : pattern.Events()) {
        const auto* note = dynamic_cast<const SeqEventNote*>(event.get());
        if (note && note->GetPitch() == pitch && note->GetStart() % kBeat == kEighth)
            found.push_back(event.get());
    }
    return found;
}

// The events of `pattern` that start at or after `from`.
std::vector<SeqEvent*> EventsFrom(const SeqEventPattern& pattern, std::uint32_t from)
{
    std::vector<SeqEvent*> found;
    for (const auto& event : pattern.Events())
        if (event->GetStart() >= from)
            found.push_back(event.get());
    return found;
}

// Sets a parameter's stored and live value, as an editor would.
void SetParameter(SeqEventTarget& target, std::uint16_t number, std::int32_t value)
{
    target.SetStoredValue(number, value);
    target.HandleEvent(number, value, 0, 0, 0);
}

class DemoBuilder {
public:
    explicit DemoBuilder(SoundStudio& studio) : studio_(studio), sequencer_(studio.GetSequencer()) {}

    bool Build()
    {
        if (!CreateTargets())
            return false;
        SetUpSynths();
        SetUpEffects();
        SetUpMixer();
        sequencer_.SetTempo(kTempo);
        BuildPatterns();
        BuildSong();
        return true;
    }

private:
    bool CreateTargets()
    {
        drums_ = studio_.AddInstrument("Sampler");
        keys_ = studio_.AddInstrument("Sampler");
        pad_ = studio_.AddInstrument("Sampler");
        bass_ = studio_.AddInstrument("mSyn");
        lead_ = studio_.AddInstrument("mSyn");
        arp_ = studio_.AddInstrument("DefaultInstrument");
        reverb_ = studio_.AddEffect("Reverb");
        delay_ = studio_.AddEffect("Delay");
        if (!drums_ || !keys_ || !pad_ || !bass_ || !lead_ || !arp_ || !reverb_ || !delay_)
            return false;
        drums_->SetName("Drums");
        keys_->SetName("Keys");
        pad_->SetName("Pad");
        bass_->SetName("Bass");
        lead_->SetName("Lead");
        arp_->SetName("Arp");
        return LoadDrumKit(static_cast<InstrumentSampler&>(*drums_)) &&
               LoadTonalSample(static_cast<InstrumentSampler&>(*keys_), kElectricPianoSample, 40) &&
               LoadTonalSample(static_cast<InstrumentSampler&>(*pad_), kPadSample, 60);
    }

    void SetUpSynths()
    {
        using P = InstrumentMonoSynth::ParameterNumber;
        // A single saw with a short filter pluck.
        SetParameter(*bass_, P::kOctave, 3);
        SetParameter(*bass_, P::kWaveAdjust, 127);
        SetParameter(*bass_, P::kFrequency, 36);
        SetParameter(*bass_, P::kVcfDepth, 112);
        SetParameter(*bass_, P::kVcfDecay, 28);
        SetParameter(*bass_, P::kDecay, 110);
        SetParameter(*bass_, P::kRelease, 20);
        // Two slightly detuned saws, a quick glide between overlapping notes, a softer filter.
        SetParameter(*lead_, P::kOctave, 3);
        SetParameter(*lead_, P::kWaveAdjust, 118);
        SetParameter(*lead_, P::kGlide, 50);
        SetParameter(*lead_, P::kFrequency, 40);
        SetParameter(*lead_, P::kVcfDepth, 96);
        SetParameter(*lead_, P::kVcfDecay, 60);
        SetParameter(*lead_, P::kRelease, 40);
        SetParameter(*lead_, P::kVelocitySens, 1);
    }

    void SetUpEffects()
    {
        SetParameter(*reverb_, EffectReverb::kTime, 11);
        SetParameter(*reverb_, EffectReverb::kDamp, 3);
        // A dotted eighth at 100 beats per minute, the right tap a little earlier than the left.
        SetParameter(*delay_, EffectDelay::kTime, 19845);
        SetParameter(*delay_, EffectDelay::kBalance, 100);
        SetParameter(*delay_, EffectDelay::kFeedback, 90);
    }

    struct ChannelMix {
        Instrument* instrument;
        int level;
        int pan;
        int reverbSend;
        int delaySend;
    };

    void SetUpMixer()
    {
        Mixer& mixer = studio_.GetMixer();
        MixerBuss& reverbBuss = *mixer.BussOf(*reverb_);
        MixerBuss& delayBuss = *mixer.BussOf(*delay_);
        const std::array<ChannelMix, 6> mix = {{
            {drums_, 96, 64, 24, 0},
            {keys_, 92, 50, 64, 30},
            {pad_, 80, 64, 56, 0},
            {bass_, 127, 64, 0, 0},
            {lead_, 118, 74, 48, 60},
            {arp_, 60, 40, 40, 70},
        }};
        for (const ChannelMix& strip : mix) {
            MixerChannel& channel = *mixer.ChannelOf(*strip.instrument);
            SetParameter(channel, kLevelParameter, strip.level);
            SetParameter(channel, kPanParameter, strip.pan);
            channel.SetSend(reverbBuss, strip.reverbSend);
            channel.SetSend(delayBuss, strip.delaySend);
        }
        SetParameter(delayBuss, kLevelParameter, 90);
    }

    SeqEventPattern& NewPattern(const char* name, std::uint32_t length)
    {
        SeqEventPattern& pattern = *sequencer_.CreatePattern(name);
        pattern.SetLength(length);
        return pattern;
    }

    void BuildPatterns()
    {
        BuildDrumPatterns();
        BuildHarmonyPatterns();
        BuildLeadPatterns();
        BuildAutomationPatterns();
    }

    // Kick on 1, the "and" of 2 and 3; snare on 2 and 4; closed hats on every eighth.
    void BuildDrumPatterns()
    {
        beat_ = &NewPattern("Beat", kBar);
        for (std::uint32_t start : {0u, 3 * kEighth, 2 * kBeat})
            AddNote(*beat_, start, kSixteenth, DrumKey::kKick, 110);
        for (std::uint32_t start : {kBeat, 3 * kBeat})
            AddNote(*beat_, start, kSixteenth, DrumKey::kSnare, 100);
        AddNote(*beat_, 3 * kBeat + 3 * kSixteenth, kSixteenth, DrumKey::kSnare, 45);
        for (std::uint32_t i = 0; i < 8; ++i)
            AddNote(*beat_, i * kEighth, kSixteenth, DrumKey::kHatClosed, i % 2 == 0 ? 106 : 80);

        // The chorus beat: the same groove with open hats on the off-beats (the next closed hat
        // chokes each one) and a clap doubling the snare.
        beatOpen_ = sequencer_.ReplicatePattern(beat_);
        sequencer_.Rename(beatOpen_, "BeatOpen");
        for (SeqEvent* hat : OffBeatNotes(*beatOpen_, DrumKey::kHatClosed))
            beatOpen_->MoveEvent(hat, hat->GetStart(), hat->GetLength(), DrumKey::kHatOpen, 84);
        for (std::uint32_t start : {kBeat, 3 * kBeat})
            AddNote(*beatOpen_, start, kSixteenth, DrumKey::kClap, 85);

        fill_ = &NewPattern("Fill", kBar);
        AddNote(*fill_, 0, kSixteenth, DrumKey::kKick, 110);
        AddNote(*fill_, kBeat, kSixteenth, DrumKey::kSnare, 100);
        for (std::uint32_t i = 0; i < 4; ++i)
            AddNote(*fill_, i * kEighth, kSixteenth, DrumKey::kHatClosed, 80);
        const std::array<int, 8> toms = {DrumKey::kTomHigh, DrumKey::kTomHigh, DrumKey::kTomLow, DrumKey::kTomLow,
                                         DrumKey::kSnare, DrumKey::kSnare, DrumKey::kSnare, DrumKey::kSnare};
        for (std::uint32_t i = 0; i < toms.size(); ++i)
            AddNote(*fill_, 2 * kBeat + i * kSixteenth, kSixteenth, toms[i], 70 + static_cast<int>(i) * 5);

        hats_ = &NewPattern("Hats", kBar);
        AddNote(*hats_, 0, kSixteenth, DrumKey::kKick, 100);
        for (std::uint32_t i = 0; i < 16; ++i)
            AddNote(*hats_, i * kSixteenth, kSixteenth / 2, DrumKey::kHatClosed, i % 4 == 0 ? 104 : (i % 2 == 0 ? 86 : 66));

        crash_ = &NewPattern("Crash", kBar);
        AddNote(*crash_, 0, kSixteenth, DrumKey::kCrash, 100);
    }

    // Bass on eighths with octave jumps; electric-piano stabs; the pad holding each chord.
    void BuildHarmonyPatterns()
    {
        bassLine_ = &NewPattern("BassLine", kPhrase);
        keysPattern_ = &NewPattern("Keys", kPhrase);
        padPattern_ = &NewPattern("PadChords", kPhrase);
        arpPattern_ = &NewPattern("Arp", kPhrase);
        static constexpr std::array<int, 8> kBassSteps = {0, 0, 12, 0, 0, 12, 0, 7};
        for (std::uint32_t bar = 0; bar < 4; ++bar) {
            const std::uint32_t at = bar * kBar;
            for (std::uint32_t i = 0; i < kBassSteps.size(); ++i)
                AddNote(*bassLine_, at + i * kEighth, i % 2 == 0 ? 200 : 110, kBassRoots[bar] + kBassSteps[i],
                        i % 2 == 0 ? 112 : 84);
            for (int note : kPadChords[bar]) {
                AddNote(*padPattern_, at, kBar - 40, note, 76);
                AddNote(*keysPattern_, at, 3 * kBeat / 2 + kEighth, note + 12, 84);
                AddNote(*keysPattern_, at + 5 * kEighth, 3 * kEighth, note + 12, 70);
            }
            const Chord& chord = kPadChords[bar];
            const std::array<int, 8> arp = {chord[0], chord[1], chord[2], chord[0] + 12,
                                            chord[2], chord[1], chord[0], chord[1]};
            for (std::uint32_t i = 0; i < arp.size(); ++i)
                AddNote(*arpPattern_, at + i * kEighth, kEighth - 40, arp[i] + 12 - kDefaultInstrumentOffset,
                        i % 2 == 0 ? 100 : 80);
        }
        // The intro's bass: the same line while the filter opens over the four bars.
        bassIntro_ = sequencer_.ReplicatePattern(bassLine_);
        sequencer_.Rename(bassIntro_, "BassIntro");
        AddRamp(*bassIntro_, 0, kPhrase, InstrumentMonoSynth::kFrequency, 4, 36);
    }

    struct Melody {
        std::uint32_t start;
        std::uint32_t length;
        int pitch;
    };

    void BuildLeadPatterns()
    {
        // Overlapping notes glide (the C to the A in bar 2).
        static constexpr std::array<Melody, 15> kTune = {{
            {0, 460, 76}, {kBeat, 220, 74}, {3 * kEighth, 220, 72}, {2 * kBeat, 460, 74}, {3 * kBeat, 460, 76},
            {kBar, 1000, 72}, {kBar + 2 * kBeat, 460, 69}, {kBar + 3 * kBeat, 460, 72},
            {2 * kBar, 460, 67}, {2 * kBar + kBeat, 460, 72}, {2 * kBar + 2 * kBeat, 460, 76},
            {2 * kBar + 3 * kBeat, 460, 79},
            {3 * kBar, 1420, 74}, {3 * kBar + 3 * kBeat, 460, 71}, {3 * kBar + 3 * kBeat + kEighth, 200, 72},
        }};
        leadTune_ = &NewPattern("Lead", kPhrase);
        AddController(*leadTune_, 0, InstrumentMonoSynth::kFrequency, 40);
        for (const Melody& note : kTune)
            AddNote(*leadTune_, note.start, note.length, note.pitch, 100);

        // The second half of the chorus ends by stepping down to the tonic.
        leadEnd_ = sequencer_.ReplicatePattern(leadTune_);
        sequencer_.Rename(leadEnd_, "LeadEnd");
        for (SeqEvent* event : EventsFrom(*leadEnd_, 3 * kBar))
            leadEnd_->RemoveEvent(event);
        const std::array<int, 4> descent = {74, 72, 71, 69};
        for (std::uint32_t i = 0; i < descent.size(); ++i)
            AddNote(*leadEnd_, 3 * kBar + i * kBeat, i == 3 ? kBeat - 20 : kBeat + 20, descent[i], 100);

        // The break: long notes while the filter sweeps open.
        leadBreak_ = &NewPattern("LeadBreak", kPhrase);
        const std::array<int, 4> held = {69, 72, 76, 74};
        for (std::uint32_t bar = 0; bar < 4; ++bar)
            AddNote(*leadBreak_, bar * kBar, kBar - 60, held[bar], 90);
        AddRamp(*leadBreak_, 0, kPhrase, InstrumentMonoSynth::kFrequency, 8, 72);
    }

    void BuildAutomationPatterns()
    {
        // The pad swings left and right in the break and comes back to the centre.
        padSwing_ = &NewPattern("PadSwing", kPhrase);
        AddRamp(*padSwing_, 0, kBar, kPanParameter, 64, 24);
        AddRamp(*padSwing_, kBar, 2 * kBar, kPanParameter, 24, 104);
        AddRamp(*padSwing_, 3 * kBar, kBar, kPanParameter, 104, 64);
        // The master fades out over the outro; the intro puts it back for the next round.
        fadeOut_ = &NewPattern("FadeOut", kPhrase);
        AddRamp(*fadeOut_, 0, kPhrase, kLevelParameter, 113, 20);
        masterReset_ = &NewPattern("MasterLevel", kBar);
        AddController(*masterReset_, 0, kLevelParameter, 113);
    }

    // Places `pattern` for `target` at each of `bars` (bar numbers within the section).
    static void Place(SeqEventSection& section, SeqEventPattern* pattern, SeqEventTarget* target,
                      std::initializer_list<std::uint32_t> bars)
    {
        for (std::uint32_t bar : bars)
            section.AddPlacement(pattern, target, bar * kBar);
    }

    SeqEventSection& NewSection(const char* name, std::uint32_t bars)
    {
        SeqEventSection& section = *sequencer_.CreateSection(name);
        section.SetLength(bars * kBar);
        return section;
    }

    SeqEventSection& Intro()
    {
        SeqEventSection& intro = NewSection("Intro", 4);
        Place(intro, masterReset_, &studio_.GetMixer(), {0});
        Place(intro, padPattern_, pad_, {0});
        Place(intro, bassIntro_, bass_, {0});
        Place(intro, hats_, drums_, {2, 3});
        return intro;
    }

    // The bass, keys and pad phrase twice (aliases of the same patterns), with a beat.
    void PlaceGroove(SeqEventSection& section, SeqEventPattern* beat)
    {
        Place(section, beat, drums_, {0, 1, 2, 3, 4, 5, 6});
        Place(section, fill_, drums_, {7});
        Place(section, bassLine_, bass_, {0, 4});
        Place(section, keysPattern_, keys_, {0, 4});
        Place(section, padPattern_, pad_, {0, 4});
    }

    SeqEventSection& Verse()
    {
        SeqEventSection& verse = NewSection("Verse", 8);
        PlaceGroove(verse, beat_);
        return verse;
    }

    SeqEventSection& Chorus()
    {
        SeqEventSection& chorus = NewSection("Chorus", 8);
        Place(chorus, crash_, drums_, {0});
        PlaceGroove(chorus, beatOpen_);
        Place(chorus, leadTune_, lead_, {0});
        Place(chorus, leadEnd_, lead_, {4});
        Place(chorus, arpPattern_, arp_, {0, 4});
        return chorus;
    }

    SeqEventSection& Break()
    {
        SeqEventSection& section = NewSection("Break", 4);
        Place(section, padPattern_, pad_, {0});
        Place(section, padSwing_, studio_.GetMixer().ChannelOf(*pad_), {0});
        Place(section, keysPattern_, keys_, {0});
        Place(section, leadBreak_, lead_, {0});
        Place(section, fill_, drums_, {3});
        return section;
    }

    SeqEventSection& Outro()
    {
        SeqEventSection& outro = NewSection("Outro", 4);
        Place(outro, crash_, drums_, {0});
        Place(outro, beat_, drums_, {0, 1});
        Place(outro, bassLine_, bass_, {0});
        Place(outro, keysPattern_, keys_, {0});
        Place(outro, padPattern_, pad_, {0});
        Place(outro, fadeOut_, &studio_.GetMixer(), {0});
        return outro;
    }

    void BuildSong()
    {
        SeqEventSong& song = *sequencer_.GetSong();
        song.SetName("Demo");
        SeqEventSection& chorus = Chorus();
        const std::array<std::pair<SeqEventSection*, std::uint32_t>, 6> order = {{
            {&Intro(), 0}, {&Verse(), 4}, {&chorus, 12}, {&Break(), 20}, {&chorus, 24}, {&Outro(), 32},
        }};
        for (const auto& [section, bar] : order)
            song.AddPlacement(section, bar * kBar);
        song.SetLength(36 * kBar);
        sequencer_.ResetPosition();
    }

    SoundStudio& studio_;
    Sequencer& sequencer_;
    Instrument* drums_ = nullptr;
    Instrument* keys_ = nullptr;
    Instrument* pad_ = nullptr;
    Instrument* bass_ = nullptr;
    Instrument* lead_ = nullptr;
    Instrument* arp_ = nullptr;
    Effect* reverb_ = nullptr;
    Effect* delay_ = nullptr;
    SeqEventPattern* beat_ = nullptr;
    SeqEventPattern* beatOpen_ = nullptr;
    SeqEventPattern* fill_ = nullptr;
    SeqEventPattern* hats_ = nullptr;
    SeqEventPattern* crash_ = nullptr;
    SeqEventPattern* bassLine_ = nullptr;
    SeqEventPattern* bassIntro_ = nullptr;
    SeqEventPattern* keysPattern_ = nullptr;
    SeqEventPattern* padPattern_ = nullptr;
    SeqEventPattern* arpPattern_ = nullptr;
    SeqEventPattern* leadTune_ = nullptr;
    SeqEventPattern* leadEnd_ = nullptr;
    SeqEventPattern* leadBreak_ = nullptr;
    SeqEventPattern* padSwing_ = nullptr;
    SeqEventPattern* fadeOut_ = nullptr;
    SeqEventPattern* masterReset_ = nullptr;
};

} // namespace

bool BuildDemoSong(SoundStudio& studio)
{
    return DemoBuilder(studio).Build();
}

} // namespace jorvo
