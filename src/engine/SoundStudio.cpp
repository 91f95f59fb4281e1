#include "engine/SoundStudio.h"

#include <algorithm>
#include <atomic>

#include "audio/AudioOutputMME.h"
#include "audio/SampleStore.h"
#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/EngineMessages.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/ProcessorMeter.h"
#include "engine/SeqEventTargetFactory.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "sequencer/Sequencer.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(SoundStudio, PersistentObject, 0)

namespace {

std::atomic<SoundStudio*> currentStudio{nullptr};

// The one format the studio renders: 16-bit stereo at 44100 Hz.
constexpr std::uint16_t kOutputChannels = 2;
constexpr std::uint16_t kOutputBits = 16;
constexpr std::uint32_t kOutputRate = 44100;

// The first member of `list` named `name`, or null.
template <class Target>
Target* FindNamed(const std::vector<std::unique_ptr<Target>>& list, const std::string& name)
{
    const auto found = std::find_if(list.begin(), list.end(), [&name](const auto& member) {
        return member->GetName() == name;
    });
    return found == list.end() ? nullptr : found->get();
}

// `wanted`, or when a member other than `except` carries it, `wanted` followed by the first of
// 2, 3, … that none carries.
template <class Target>
std::string UniqueName(const std::vector<std::unique_ptr<Target>>& list, const std::string& wanted,
                       const SeqEventTarget* except)
{
    const auto taken = [&list, except](const std::string& name) {
        return std::any_of(list.begin(), list.end(), [&name, except](const auto& member) {
            return member.get() != except && member->GetName() == name;
        });
    };
    if (!taken(wanted))
        return wanted;
    for (unsigned number = 2;; ++number) {
        std::string candidate = wanted + std::to_string(number);
        if (!taken(candidate))
            return candidate;
    }
}

// Removes `target` from `list` and hands it over; null when it is not there.
template <class Target>
std::unique_ptr<Target> Unlink(std::vector<std::unique_ptr<Target>>& list, const Target* target)
{
    const auto found = std::find_if(list.begin(), list.end(),
                                    [target](const auto& member) { return member.get() == target; });
    if (found == list.end())
        return nullptr;
    std::unique_ptr<Target> member = std::move(*found);
    list.erase(found);
    return member;
}

// Asks whether `target` may be deleted; anything but No is a yes. Unattended, the answer is No.
bool ConfirmDelete(const SeqEventTarget& target)
{
    return Shell().MessageBox(FormatText(kAskDeleteTarget, {target.GetName()}), "Jorvo", MessageButtons::YesNo,
                              MessageIcon::Warning, MessageAnswer::No) != MessageAnswer::No;
}

// Tells the user that member `number` (1-based) of the `family` list could not be loaded.
void ReportMemberLoadFailed(const char* family, std::size_t number)
{
    Shell().MessageBox(FormatText(kStudioMemberLoadFailed, {family, std::to_string(number)}), "Jorvo",
                       MessageButtons::Ok, MessageIcon::Error);
}

// Binary: a 16-bit count, then every member as a target stream.
template <class Target>
void StoreList(BinaryArchive& archive, const std::vector<std::unique_ptr<Target>>& list)
{
    if (list.size() > 0xFFFF)
        throw ArchiveException(ArchiveException::Cause::Generic);
    archive.WriteWord(static_cast<std::uint16_t>(list.size()));
    for (const auto& member : list)
        SeqEventTargetFactory::StoreTarget(archive, member.get());
}

// Binary: reads a list stored by StoreList; `load` reads one member stream, `insert` takes it.
// A member that cannot be read is reported and left out, one refused by `insert` is destroyed.
// A stream that does not even hold a target (nothing was consumed) means the rest of the file
// cannot be found, so it raises ArchiveException.
template <class Load, class Insert>
void LoadList(BinaryArchive& archive, const char* family, Load load, Insert insert)
{
    const std::uint16_t count = archive.ReadWord();
    for (std::size_t number = 1; number <= count; ++number) {
        const std::uint64_t before = archive.BytesAvailable();
        auto member = load(archive);
        if (member) {
            insert(member);
            continue;
        }
        if (archive.BytesAvailable() == before)
            throw ArchiveException(ArchiveException::Cause::Generic);
        ReportMemberLoadFailed(family, number);
    }
}

// XML: a child `listName` with one element per member; written only when there is a member.
template <class Target>
void StoreXMLList(CXMLArchive& archive, const char* listName, const std::vector<std::unique_ptr<Target>>& list)
{
    if (list.empty())
        return;
    CXMLArchive listArchive(archive);
    listArchive.CreateChild(listName);
    for (const auto& member : list) {
        CXMLArchive memberArchive(listArchive);
        member->SerializeXML(memberArchive);
    }
}

// XML: every `family` element of the child `listName` is created by `create` and handed to
// `insert`. A member that fails to load is reported and left out; one refused is destroyed.
template <class Create, class Insert>
void LoadXMLList(const CXMLArchive& archive, const char* listName, const char* family, Create create,
                 Insert insert)
{
    CXMLArchive listArchive(archive);
    if (!listArchive.Descend(listName))
        return;
    DomNodeList nodes;
    listArchive.SelectChildren(family, nodes);
    DomNode node;
    for (std::size_t number = 1; listArchive.NextNode(nodes, node); ++number) {
        CXMLArchive memberArchive(listArchive);
        memberArchive.SetCurrentNode(node);
        try {
            if (auto member = create(memberArchive))
                insert(member);
        } catch (const std::exception&) {
            ReportMemberLoadFailed(family, number);
        }
    }
}

// Runs `serialize` on the child `name` of the archive's current element, when there is one.
template <class Part>
void LoadXMLPart(const CXMLArchive& archive, const char* name, Part& part)
{
    CXMLArchive partArchive(archive);
    if (partArchive.Descend(name))
        part.SerializeXML(partArchive);
}

} // namespace

SoundStudio::SoundStudio(StudioOutput output)
{
    currentStudio.store(this);
    sampleStore_ = std::make_unique<SampleStore>();
    instruments_.reserve(10);
    effects_.reserve(10);
    mixer_ = std::make_unique<Mixer>();
    mixer_->OpenView();
    sequencer_ = std::make_unique<Sequencer>(this);
    // A batch studio gets the base output, which neither queries nor opens a device; its format
    // still reaches the meter and the sequencer.
    if (output == StudioOutput::RealTime) {
        output_ = std::make_unique<AudioOutputMME>(this);
    } else {
        output_ = std::make_unique<AudioOutput>(this);
        output_->SetFormat(kOutputChannels, kOutputBits, kOutputRate);
    }
    output_->SetSource(this);
    if (!output_->IsRunning())
        output_->Start();
}

SoundStudio::~SoundStudio()
{
    // Nothing renders once the sequencer and the output are stopped; the song refers to the
    // mixer's channels and busses and to the targets, so the sequencer goes before them.
    sequencer_->Stop();
    if (output_->IsRunning())
        output_->Stop();
    output_.reset();
    if (AudioOutput::Studio() == this)
        AudioOutput::SetStudio(nullptr);
    mixer_.reset();
    sequencer_.reset();
    instruments_.clear();
    effects_.clear();
    sampleStore_.reset();
    // A studio built before this one was destroyed stays current.
    SoundStudio* self = this;
    currentStudio.compare_exchange_strong(self, nullptr);
}

SoundStudio* SoundStudio::Current()
{
    return currentStudio.load();
}

SampleStore& SoundStudio::GetSampleStore()
{
    return *sampleStore_;
}

Mixer& SoundStudio::GetMixer()
{
    return *mixer_;
}

// Adding and deleting -------------------------------------------------------------------------

Instrument* SoundStudio::AddInstrument(const std::string& engineName)
{
    std::unique_ptr<Instrument> instrument = SeqEventTargetFactory::CreateInstrument(engineName);
    if (!instrument)
        return nullptr;
    std::string name = instrument->GetName();
    MakeUniqueInstrumentName(name);
    instrument->SetName(name);
    Instrument* added = instrument.get();
    return InsertInstrument(instrument) ? added : nullptr;
}

Effect* SoundStudio::AddEffect(const std::string& engineName)
{
    std::unique_ptr<Effect> effect = SeqEventTargetFactory::CreateEffect(engineName);
    if (!effect)
        return nullptr;
    std::string name = effect->GetName();
    MakeUniqueEffectName(name);
    effect->SetName(name);
    Effect* added = effect.get();
    return InsertEffect(effect) ? added : nullptr;
}

bool SoundStudio::InsertInstrument(std::unique_ptr<Instrument>& instrument)
{
    if (!instrument)
        return false;
    RenderLock lock(*this);
    if (FindInstrument(instrument->GetName()) || !mixer_->AddChannel(*instrument))
        return false;
    instruments_.push_back(std::move(instrument));
    return true;
}

bool SoundStudio::InsertEffect(std::unique_ptr<Effect>& effect)
{
    if (!effect)
        return false;
    RenderLock lock(*this);
    if (FindEffect(effect->GetName()) || !mixer_->AddBuss(*effect))
        return false;
    effects_.push_back(std::move(effect));
    return true;
}

void SoundStudio::DeleteInstrument(Instrument* instrument)
{
    if (!instrument || !ConfirmDelete(*instrument))
        return;
    std::unique_ptr<Instrument> removed;
    {
        RenderLock lock(*this);
        removed = Unlink(instruments_, instrument);
        if (!removed)
            return;
        // Placements may aim at the instrument's channel as well as at the instrument.
        if (MixerChannel* channel = mixer_->ChannelOf(*removed))
            ForgetTarget(*channel);
        mixer_->RemoveChannel(*removed);
        ForgetTarget(*removed);
    }
    // Destroyed outside the lock: nothing refers to it any more.
}

void SoundStudio::DeleteEffect(Effect* effect)
{
    if (!effect || !ConfirmDelete(*effect))
        return;
    std::unique_ptr<Effect> removed;
    {
        RenderLock lock(*this);
        removed = Unlink(effects_, effect);
        if (!removed)
            return;
        if (MixerBuss* buss = mixer_->BussOf(*removed))
            ForgetTarget(*buss);
        mixer_->RemoveBuss(*removed);
        ForgetTarget(*removed);
    }
}

void SoundStudio::ForgetTarget(SeqEventTarget& target)
{
    // The sections' placements hold the only references to targets outside the studio.
    sequencer_->ReplaceTargetLocked(&target, nullptr);
}

// Finding and naming --------------------------------------------------------------------------

Instrument* SoundStudio::FindInstrument(const std::string& name) const
{
    return FindNamed(instruments_, name);
}

Effect* SoundStudio::FindEffect(const std::string& name) const
{
    return FindNamed(effects_, name);
}

SeqEventTarget* SoundStudio::FindTarget(const std::string& typeName, const std::string& name) const
{
    if (typeName == "Instrument")
        return FindInstrument(name);
    if (typeName == "Effect")
        return FindEffect(name);
    if (typeName == "Channel")
        return mixer_->FindChannel(name);
    if (typeName == "Buss")
        return mixer_->FindBuss(name);
    if (typeName == "Mixer")
        return mixer_.get();
    if (SeqEventTarget* instrument = FindInstrument(name))
        return instrument;
    if (SeqEventTarget* effect = FindEffect(name))
        return effect;
    if (SeqEventTarget* channel = mixer_->FindChannel(name))
        return channel;
    return mixer_->FindBuss(name);
}

void SoundStudio::MakeUniqueName(const SeqEventTarget& target, std::string& name)
{
    const std::string typeName = target.GetTypeName();
    std::string unique;
    if (typeName == "Instrument")
        unique = UniqueName(instruments_, name, &target);
    else if (typeName == "Effect")
        unique = UniqueName(effects_, name, &target);
    else
        return;
    if (unique != name)
        Shell().MessageBox(FormatText(kNameInUse, {name, unique}), "Jorvo", MessageButtons::Ok,
                           MessageIcon::Information);
    name = unique;
}

void SoundStudio::MakeUniqueInstrumentName(std::string& name) const
{
    name = UniqueName(instruments_, name, nullptr);
}

void SoundStudio::MakeUniqueEffectName(std::string& name) const
{
    name = UniqueName(effects_, name, nullptr);
}

void SoundStudio::NameChanged(SeqEventTarget& target)
{
    if (mixer_)
        mixer_->NameChanged(target);
}

// Playback ------------------------------------------------------------------------------------

void SoundStudio::Broadcast(std::int32_t code, std::int32_t a, std::int32_t b)
{
    for (const auto& instrument : instruments_)
        instrument->HandleEvent(code, a, b, 0, 0);
    for (const auto& effect : effects_)
        effect->HandleEvent(code, a, b, 0, 0);
}

void SoundStudio::SetFormat(std::uint16_t, std::uint16_t, std::uint32_t rate)
{
    ProcessorMeter::Instance().SetSampleRate(rate);
    // The output reports its format from its constructor, before the studio holds it, but
    // always after the sequencer exists.
    if (sequencer_)
        sequencer_->SetSampleRate(static_cast<int>(std::min<std::uint32_t>(rate, INT32_MAX)));
}

std::uint64_t SoundStudio::BeginBlock() noexcept
{
    return ProcessorMeter::Instance().Begin();
}

void SoundStudio::AccountBlock(std::uint64_t start, std::uint32_t frames) noexcept
{
    ProcessorMeter::Instance().Account(start, frames);
}

std::uint32_t SoundStudio::RenderAudio(std::int32_t* buffer, std::uint32_t frames) noexcept
{
    int count = static_cast<int>(std::min(frames, kMaxRenderFrames));
    const std::int32_t* block = RenderBlock(count);
    std::copy_n(block, 2 * static_cast<std::size_t>(count), buffer);
    return static_cast<std::uint32_t>(count);
}

Sequencer& SoundStudio::GetSequencer()
{
    return *sequencer_;
}

const std::int32_t* SoundStudio::RenderBlock(int& frames)
{
    return sequencer_->Render(frames);
}

void SoundStudio::Transport(const std::string& command)
{
    if (command == "ID_PLAY") {
        if (!output_->IsRunning())
            output_->Start();
        if (sequencer_->IsPlaying())
            sequencer_->Stop();
        else
            sequencer_->Play();
    } else if (command == "ID_STOP") {
        if (sequencer_->IsPlaying())
            sequencer_->Stop();
        else
            sequencer_->Rewind();
        sampleStore_->Purge();
    } else if (command == "ID_REWIND") {
        sequencer_->Rewind();
    } else if (command == "ID_FFORWARD") {
        sequencer_->FastForward();
    }
}

// The output -----------------------------------------------------------------------------------

std::unique_ptr<AudioOutput> SoundStudio::SwapOutput(std::unique_ptr<AudioOutput> output)
{
    if (!output)
        return nullptr;
    if (output_->IsRunning())
        output_->Stop();
    output->SetSource(this);
    std::swap(output, output_);
    return output;
}

bool SoundStudio::ConfigureOutput()
{
    if (output_->IsRunning())
        output_->Stop();
    return output_->Configure();
}

void SoundStudio::ResetOutput()
{
    if (sequencer_->IsPlaying())
        sequencer_->Stop();
    output_->Reset();
}

void SoundStudio::ExportMIDI(MidiFile& file)
{
    sequencer_->ExportMIDI(file);
}

// Storage -------------------------------------------------------------------------------------

void SoundStudio::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        StoreList(archive, effects_);
        StoreList(archive, instruments_);
    } else {
        LoadList(archive, "Effect", &SeqEventTargetFactory::LoadEffect,
                 [this](std::unique_ptr<Effect>& effect) { InsertEffect(effect); });
        LoadList(archive, "Instrument", &SeqEventTargetFactory::LoadInstrument,
                 [this](std::unique_ptr<Instrument>& instrument) { InsertInstrument(instrument); });
    }
    mixer_->Serialize(archive);
    sequencer_->Serialize(archive);
}

void SoundStudio::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        archive.CreateChild("Studio");
        StoreXMLList(archive, "InstrumentList", instruments_);
        StoreXMLList(archive, "EffectList", effects_);
        CXMLArchive mixerArchive(archive);
        mixer_->SerializeXML(mixerArchive);
        CXMLArchive sequencerArchive(archive);
        sequencer_->SerializeXML(sequencerArchive);
        return;
    }
    if (!archive.IsCurrent("Studio"))
        throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
    // Effects first, so that the busses exist before the channels' sends name them.
    LoadXMLList(archive, "EffectList", "Effect", &SeqEventTargetFactory::CreateEffectFromXML,
                [this](std::unique_ptr<Effect>& effect) { InsertEffect(effect); });
    LoadXMLList(archive, "InstrumentList", "Instrument", &SeqEventTargetFactory::CreateInstrumentFromXML,
                [this](std::unique_ptr<Instrument>& instrument) { InsertInstrument(instrument); });
    LoadXMLPart(archive, "Mixer", *mixer_);
    LoadXMLPart(archive, "Sequencer", *sequencer_);
}

} // namespace jorvo
