#include "engine/SoundStudio.h"

#include <algorithm>
#include <atomic>

#include "audio/SampleStore.h"
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

namespace {

std::atomic<SoundStudio*> currentStudio{nullptr};

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

} // namespace

SoundStudio::SoundStudio()
{
    currentStudio.store(this);
    sampleStore_ = std::make_unique<SampleStore>();
    instruments_.reserve(10);
    effects_.reserve(10);
    mixer_ = std::make_unique<Mixer>();
    mixer_->OpenView();
    sequencer_ = std::make_unique<Sequencer>(this);
    // The audio output, whose source is the sequencer and which starts at once, is created here.
}

SoundStudio::~SoundStudio()
{
    // The sequencer goes first: nothing renders once it is stopped, and its song refers to the
    // mixer's channels and busses and to the targets. The output is stopped and destroyed here.
    sequencer_->Stop();
    sequencer_.reset();
    mixer_.reset();
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

void SoundStudio::SetFormat(int, int, int rate)
{
    ProcessorMeter::Instance().SetSampleRate(rate > 0 ? static_cast<std::uint32_t>(rate) : 0);
    sequencer_->SetSampleRate(rate);
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
    // The audio output is started here, when it is not running, before "ID_PLAY".
    if (command == "ID_PLAY") {
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

} // namespace jorvo
