#pragma once
// The one object that owns everything that makes sound: instruments, effects, the mixer, the
// sequencer, the sample store and the audio output. One studio is current at a time; targets
// reach it (and through it the sample store) through SoundStudio::Current().
//
// The render lock. Rendering and editing meet here, so the studio owns one mutex:
// - the audio thread (the sequencer's Render, or the offline render worker) holds it for a whole
//   block, so no target, channel or buss changes or disappears while a block is rendered;
// - the user-interface thread holds it briefly around every structural edit (inserting and
//   deleting instruments and effects, channel, buss and send changes, parameter changes sent to
//   targets), never while a message box or dialog is shown, never around file I/O and never
//   while stopping the output;
// - the lock is not recursive: code called with it held (the mixer's structure operations,
//   ForgetTarget, and the view refreshes the mixer asks the shell for) never takes it again.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "audio/AudioOutput.h"
#include "document/RuntimeClass.h"

namespace jorvo {

class Effect;
class Instrument;
class MidiFile;
class Mixer;
class SampleStore;
class SeqEventTarget;
class Sequencer;

// Whether a studio plays through the real-time output. Batch work (commands, tests, offline
// rendering) builds its studio with None so that no sound device is ever opened.
enum class StudioOutput { RealTime, None };

class SoundStudio : public PersistentObject, public AudioSource, public AudioOutputStudio {
    JORVO_DECLARE_PERSISTENT(SoundStudio)
public:
    using InstrumentList = std::vector<std::unique_ptr<Instrument>>;
    using EffectList = std::vector<std::unique_ptr<Effect>>;

    // Holds the studio's render lock for its lifetime (see the rule above).
    class RenderLock {
    public:
        explicit RenderLock(SoundStudio& studio) : guard_(studio.renderMutex_) {}
        RenderLock(const RenderLock&) = delete;
        RenderLock& operator=(const RenderLock&) = delete;

    private:
        std::lock_guard<std::mutex> guard_;
    };

    // Becomes the current studio, then creates the sample store, the instrument and effect
    // lists, the mixer with its view ("MixerView"), the sequencer and the audio output, which
    // pulls from this studio and is started at once. With RealTime (the document's studio) that
    // is the real-time AudioOutputMME; with None a base AudioOutput that never opens a device and
    // never runs (the WAV render swaps its own output in). UI thread.
    explicit SoundStudio(StudioOutput output = StudioOutput::None);
    // Stops the sequencer and the output, then destroys the output, the mixer, the sequencer,
    // every instrument, every effect and the sample store; then stops being the current studio.
    // UI thread.
    ~SoundStudio() override;
    SoundStudio(const SoundStudio&) = delete;
    SoundStudio& operator=(const SoundStudio&) = delete;

    // The current studio, or null when none exists. Any thread.
    static SoundStudio* Current();

    // The program-wide sample store this studio owns.
    SampleStore& GetSampleStore();
    // The mixer: one channel per instrument, one buss per effect.
    Mixer& GetMixer();
    // The instruments and effects, in insertion order.
    const InstrumentList& Instruments() const { return instruments_; }
    const EffectList& Effects() const { return effects_; }

    // A new instrument of `engineName` from the target factory, named with its default name made
    // unique, and inserted. Null when the factory fails (it says why) or the insert is refused
    // (the object is destroyed). UI thread.
    Instrument* AddInstrument(const std::string& engineName);
    // The same for effects.
    Effect* AddEffect(const std::string& engineName);
    // Appends `instrument` and gives it a mixer channel; on success the studio owns it and
    // `instrument` is null. False, and the caller keeps it, when it is null, another instrument
    // has its name or the mixer refuses it. Takes the render lock. UI thread.
    bool InsertInstrument(std::unique_ptr<Instrument>& instrument);
    // The same for effects and mixer busses.
    bool InsertEffect(std::unique_ptr<Effect>& effect);
    // Asks "Are you sure you wish to delete '%1' ?"; on anything but No removes the instrument,
    // its channel and every reference to it, and destroys it. Nothing for an instrument that is
    // not in the list. Takes the render lock after the question. UI thread.
    void DeleteInstrument(Instrument* instrument);
    // The same for effects and their busses.
    void DeleteEffect(Effect* effect);

    // The first instrument or effect named exactly `name`, or null.
    Instrument* FindInstrument(const std::string& name) const;
    Effect* FindEffect(const std::string& name) const;
    // The target of type `typeName` ("Instrument", "Effect", "Channel", "Buss", "Mixer") named
    // `name`; for any other type the first of instrument, effect, channel and buss with the name.
    // Null when nothing matches.
    SeqEventTarget* FindTarget(const std::string& typeName, const std::string& name) const;

    // Makes `name` unique within the family of `target` (instruments or effects; other targets keep
    // the name) and, when it had to change, says so: "Name '%s' is already in use.  '%s' will be
    // used instead." The target's own current name does not count as taken. UI thread.
    void MakeUniqueName(const SeqEventTarget& target, std::string& name);
    // `name` unchanged when no instrument has it, else the name followed by the first of 2, 3, …
    // that makes it unique. Shows nothing.
    void MakeUniqueInstrumentName(std::string& name) const;
    // The same within the effects.
    void MakeUniqueEffectName(std::string& name) const;

    // HandleEvent(code, a, b, 0, 0) on every instrument, then every effect (not the mixer, its
    // channels or busses). Audio thread, or UI thread under the render lock.
    void Broadcast(std::int32_t code, std::int32_t a, std::int32_t b);

    // Tells the mixer that `target` was renamed, so channel and buss labels follow. UI thread.
    void NameChanged(SeqEventTarget& target);

    // The output's format was set: the meter computes loads for `rate`, and the sequencer its
    // samples per pulse. UI thread.
    void SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) override;
    // The meter's Begin before the output renders a block. Audio thread.
    std::uint64_t BeginBlock() noexcept override;
    // The meter's Account after the output rendered `frames` frames begun at `start`. Audio thread.
    void AccountBlock(std::uint64_t start, std::uint32_t frames) noexcept override;
    // RenderBlock into `buffer`: at most `frames` (cut to 4096) frames; returns those produced.
    // Audio thread.
    std::uint32_t RenderAudio(std::int32_t* buffer, std::uint32_t frames) noexcept override;

    // The studio's current output (never null while the studio lives).
    AudioOutput& GetOutput() { return *output_; }
    // Underruns of the current output since it was created (see AudioOutput::Underruns): what the
    // main window's status strip and `jorvo play` show. UI thread.
    std::uint32_t OutputUnderruns() const { return output_->Underruns(); }
    // Puts `output` in place of the current output and hands the previous one back (the WAV
    // render swaps its file output in and the real-time one back). The previous output is
    // stopped first; the new one gets this studio as its source and is not started. A null
    // `output` changes nothing and returns null. UI thread.
    std::unique_ptr<AudioOutput> SwapOutput(std::unique_ptr<AudioOutput> output);
    // "Audio Output...": stops the output when it is running, then runs its options dialog.
    // False when the dialog could not run. UI thread.
    bool ConfigureOutput();
    // "Reset the Audio Output": stops the sequencer when it is playing, then resets the output
    // (which leaves it stopped). UI thread.
    void ResetOutput();

    // Writes the song as a standard MIDI file through `file` (the sequencer's ExportMIDI).
    // UI thread.
    void ExportMIDI(MidiFile& file);

    // Binary storage: the effect list and the instrument list (each a 16-bit count and members
    // stored by the target factory), then the mixer and the sequencer. On load, a member that
    // fails to load is reported and skipped, one whose insert is refused is destroyed. Other
    // damage raises ArchiveException. UI thread, with the output stopped.
    void Serialize(BinaryArchive& archive) override;
    // Element "Studio": "InstrumentList" (only when not empty), "EffectList", "Mixer",
    // "Sequencer". Loading requires "Studio" (else ArchiveException) and reads "EffectList"
    // before "InstrumentList", then "Mixer" and "Sequencer" when present. UI thread.
    void SerializeXML(CXMLArchive& archive) override;

    // The sequencer, which owns the song material and plays it.
    Sequencer& GetSequencer();
    // The next block of at most 4096 stereo frames (the sequencer's Render); `frames` comes back
    // smaller when playback stopped inside the block. Audio thread.
    const std::int32_t* RenderBlock(int& frames);
    // The transport commands of skin buttons: "ID_PLAY" (starts the output when it is not
    // running, then start or pause), "ID_STOP" (stop, or
    // rewind when stopped; then unreferenced samples are purged), "ID_REWIND", "ID_FFORWARD" (one
    // beat ahead). Any other name does nothing. UI thread.
    void Transport(const std::string& command);

    // Drops every reference the song material holds to `target`, which is about to be destroyed.
    // Called with the render lock held. UI thread.
    void ForgetTarget(SeqEventTarget& target);

private:
    std::mutex renderMutex_;
    std::unique_ptr<AudioOutput> output_;
    std::unique_ptr<SampleStore> sampleStore_;
    InstrumentList instruments_;
    EffectList effects_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<Sequencer> sequencer_;
};

} // namespace jorvo
