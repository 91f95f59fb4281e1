#include "sequencer/Sequencer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "document/DeepCopy.h"
#include "engine/Mixer.h"
#include "engine/PluginLibrary.h"
#include "engine/SeqEventTarget.h"
#include "platform/DeviceIndicators.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "platform/WindowMessages.h"
#include "sequencer/MidiFile.h"
#include "sequencer/PatternBankList.h"
#include "sequencer/SeqEventFactory.h"
#include "sequencer/SequencerMessages.h"
#include "sequencer/SequencerSettings.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(Sequencer, PersistentObject, 0)

namespace {

std::atomic<Sequencer*> currentSequencer{nullptr};

// The highest number tried when making a name unique; past it the name takes kLastNameNumber + 1
// without a check.
constexpr int kLastNameNumber = 9999;
// New colours: attempts in all, the first distance limit, its step, and how close counts as near.
constexpr int kColourAttempts = 65;
constexpr int kColourLimit = 64;
constexpr int kColourLimitStep = 4;
constexpr int kColourNearness = 15;

constexpr char kRenameTitle[] = "Rename";

// The limits of beats per bar offered to the user (the tempo limits live with the configuration).
constexpr DWordSetting kMinSongBeatsPerBarSetting{"MinSongBeatsPerBar", 2};
constexpr DWordSetting kMaxSongBeatsPerBarSetting{"MaxSongBeatsPerBar", 8};

// Makes the loading sequencer the lookup that stored placements resolve through, for the
// duration of a load, then restores the previous one.
class LoadingLookup {
public:
    explicit LoadingLookup(SeqEventLookup& lookup) : previous_(SeqEventLookup::SetCurrent(&lookup)) {}
    ~LoadingLookup() { SeqEventLookup::SetCurrent(previous_); }
    LoadingLookup(const LoadingLookup&) = delete;
    LoadingLookup& operator=(const LoadingLookup&) = delete;

private:
    SeqEventLookup* previous_;
};

// `base` when `list` has no entry of that name, else base followed by the first free number.
template <class List>
std::string UniqueName(const List& list, const std::string& base)
{
    if (!list.contains(base))
        return base;
    for (int number = 2; number <= kLastNameNumber; ++number) {
        std::string candidate = base + std::to_string(number);
        if (!list.contains(candidate))
            return candidate;
    }
    return base + std::to_string(kLastNameNumber + 1);
}

// True when two or more of the three components of `a` and `b` lie within 14 of each other.
bool IsNear(Colour a, Colour b)
{
    const auto near = [](int x, int y) { return std::abs(x - y) < kColourNearness; };
    const int matches = static_cast<int>(near(a.Red(), b.Red())) + static_cast<int>(near(a.Green(), b.Green())) +
                        static_cast<int>(near(a.Blue(), b.Blue()));
    return matches >= 2;
}

// True when some member of `list` has a colour near `colour`.
template <class List>
bool IsNearAny(const List& list, Colour colour)
{
    return std::any_of(list.begin(), list.end(),
                       [colour](const auto& entry) { return IsNear(entry.second->GetColour(), colour); });
}

// Takes a timing value read from a file; out of range it is damage.
std::int32_t CheckedTiming(std::uint32_t value, std::int32_t highest)
{
    if (value < 1 || value > static_cast<std::uint32_t>(highest))
        throw ArchiveException(ArchiveException::Cause::Generic);
    return static_cast<std::int32_t>(value);
}

// Enters `object` in `list` under its name; one whose name is taken is destroyed (the first of a
// name wins). The entered object, or null.
template <class Container>
Container* Enter(std::map<std::string, std::unique_ptr<Container>>& list, std::unique_ptr<Container> object)
{
    if (!object)
        return nullptr;
    const std::string name = object->GetName();
    const auto [entry, entered] = list.try_emplace(name, std::move(object));
    return entered ? entry->second.get() : nullptr;
}

} // namespace

// The render lock -----------------------------------------------------------------------------

Sequencer::EditLock::EditLock(const Sequencer& sequencer)
{
    if (sequencer.studio_)
        studioLock_.emplace(*sequencer.studio_);
    else
        ownLock_ = std::unique_lock<std::mutex>(sequencer.ownMutex_);
}

// Life cycle ----------------------------------------------------------------------------------

Sequencer::Sequencer(SoundStudio* studio)
    : studio_(studio), colourRandom_(std::random_device{}())
{
    currentSequencer.store(this);
    SeqEventLookup::SetCurrent(this);
    Reset();
    mixBuffer_.assign(static_cast<std::size_t>(2 * kMaxBlockFrames), 0);
    InstallSong(std::make_unique<SeqEventSong>());
    ResetPosition();
    Configuration().SetTimingAccuracyListener([this](std::uint32_t mask) { SetTimingAccuracy(mask); });
    CreateEditorViews();
}

Sequencer::~Sequencer()
{
    // The banks go first, outside the lock: destroying them saves the changed ones to their files.
    patternBanks_.reset();
    for (const ViewId view : {songEditor_, sectionEditor_, patternEditor_, parameterEditor_})
        if (view != kNoView)
            Shell().RemoveView(view);
    Configuration().SetTimingAccuracyListener({});
    {
        EditLock lock(*this);
        // The song refers to sections and sections to patterns, so they go in that order.
        song_.reset();
        sections_.clear();
        patterns_.clear();
    }
    if (SeqEventLookup::Current() == this)
        SeqEventLookup::SetCurrent(nullptr);
    Sequencer* self = this;
    currentSequencer.compare_exchange_strong(self, nullptr);
}

Sequencer* Sequencer::Current()
{
    return currentSequencer.load();
}

void Sequencer::CreateEditorViews()
{
    const auto create = [this](const char* skinSection) {
        return Shell().CreateView(ViewRequest{"SeqEditorView", this, skinSection, std::string()});
    };
    songEditor_ = create("SongEditor");
    sectionEditor_ = create("SectionEditor");
    patternEditor_ = create("PatternEditor");
    parameterEditor_ = create("ParameterEditor");
}

void Sequencer::Reset()
{
    // Settings are read before the lock: reading them may touch the settings file.
    CConfiguration& configuration = Configuration();
    const auto tempo = static_cast<std::int32_t>(configuration.GetDWORD(kDefaultSongBpmSetting));
    const auto beats = static_cast<std::int32_t>(configuration.GetDWORD(kDefaultSongBeatsPerBarSetting));
    const auto pulses = static_cast<std::int32_t>(configuration.GetDWORD(kDefaultSongPpqnSetting));
    const std::uint32_t accuracy = configuration.GetDWORD(kDefaultTimingAccuracySetting);

    EditLock lock(*this);
    if (song_)
        song_->Clear();
    sections_.clear();
    patterns_.clear();
    ApplyTimingValues(tempo, beats, pulses);
    SequencerSettings::SetTimingAccuracy(accuracy);
    countdown_ = 0.0f;
    playElement_ = nullptr;
    rangeStart_ = 0;
    position_ = 0;
    rangeEnd_ = 0;
    pendingElement_ = nullptr;
    pendingStart_ = 0;
    loop_ = true;
    playing_.store(false);
    noParameterUpdate_ = false;
    PublishPosition(0);
}

// Rendering -----------------------------------------------------------------------------------

const std::int32_t* Sequencer::Render(int& frames) noexcept
{
    EditLock lock(*this);
    const int total = std::clamp(frames, 0, kMaxBlockFrames);
    std::fill_n(mixBuffer_.begin(), 2 * total, 0);
    int remaining = total;
    int place = 0;
    while (remaining > 0) {
        int chunk = std::min(remaining, kMaxChunkFrames);
        if (playing_.load(std::memory_order_relaxed)) {
            if (countdown_ <= 1.0f) {
                // A group ends when the position is a multiple of the accuracy mask + 1. A loop
                // shorter than a group may never reach one, so a group is also capped at twice its
                // size, which every other range reaches first.
                const std::uint32_t accuracy = SequencerSettings::GetTimingAccuracy();
                const std::uint32_t mostPulses = 2 * (accuracy + 1);
                std::uint32_t handled = 0;
                do {
                    song_->PlayAt(position_);
                    StepTo(AddPulses(position_, 1));
                    countdown_ += samplesPerPulse_;
                    ++handled;
                } while (playing_.load(std::memory_order_relaxed) && (position_ & accuracy) != 0 &&
                         handled < mostPulses);
            }
            chunk = std::min(chunk, static_cast<int>(std::min(countdown_, static_cast<float>(kMaxChunkFrames))));
            countdown_ -= static_cast<float>(chunk);
            if (!playing_.load(std::memory_order_relaxed)) {
                MixChunk(place, chunk);
                frames = total - remaining + chunk;
                return mixBuffer_.data();
            }
        }
        if (chunk > 0) {
            MixChunk(place, chunk);
            place += chunk;
            remaining -= chunk;
        }
    }
    frames = total;
    return mixBuffer_.data();
}

void Sequencer::MixChunk(int place, int frames)
{
    if (!studio_ || frames <= 0)
        return;
    Mixer& mixer = studio_->GetMixer();
    mixer.Prepare(frames);
    mixer.Mix(mixBuffer_.data() + 2 * place, frames);
}

void Sequencer::SetSampleRate(int rate)
{
    if (rate < 1)
        return;
    EditLock lock(*this);
    sampleRate_ = rate;
    RecomputeSamplesPerPulse();
}

float Sequencer::GetSamplesPerPulse() const
{
    EditLock lock(*this);
    return samplesPerPulse_;
}

void Sequencer::RecomputeSamplesPerPulse()
{
    const float beatsTimesPulses = static_cast<float>(SequencerSettings::GetTempo()) *
                                   static_cast<float>(SequencerSettings::GetPulsesPerQuarterNote());
    samplesPerPulse_ = static_cast<float>(sampleRate_) * 60.0f / beatsTimesPulses;
    countdown_ = 0.0f;
}

// The clock -----------------------------------------------------------------------------------

void Sequencer::StepTo(std::uint32_t pulse)
{
    if (pulse >= rangeEnd_) {
        if (!loop_) {
            StopLocked();
            return;
        }
        if (pendingElement_) {
            playElement_ = pendingElement_;
            rangeStart_ = pendingStart_;
            pendingElement_ = nullptr;
            pendingStart_ = 0;
        }
        rangeEnd_ = AddPulses(rangeStart_, ElementLength(playElement_));
        if (pulse < rangeStart_ || pulse >= rangeEnd_)
            pulse = rangeStart_;
    }
    if (rangeStart_ == rangeEnd_)
        StopLocked();
    const std::uint32_t old = position_;
    position_ = pulse;
    PublishPosition(pulse);
    if (pulse != old + 1) {
        Broadcast(kEventPositionJumped);
        BroadcastPosition(kEventPlayStart, pulse);
        countdown_ = 0.0f;
    }
    if (pulse % static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote()) == 0)
        beatMark_.store((static_cast<std::uint64_t>(++beatSerial_) << 32) | pulse, std::memory_order_release);
}

std::uint32_t Sequencer::ElementLength(const SeqEvent* element) const
{
    return element ? element->GetLength() : SequencerSettings::GetPulsesPerBar();
}

void Sequencer::PublishPosition(std::uint32_t pulse)
{
    songPosition_.store(pulse, std::memory_order_relaxed);
    SetPluginPulseCounter(pulse);
}

void Sequencer::Broadcast(std::int32_t code, std::int32_t a, std::int32_t b)
{
    if (studio_)
        studio_->Broadcast(code, a, b);
}

void Sequencer::BroadcastPosition(std::int32_t code, std::uint32_t pulse)
{
    Broadcast(code, static_cast<std::int32_t>(pulse >> 16), static_cast<std::int32_t>(pulse & 0xFFFF));
}

// Transport -----------------------------------------------------------------------------------

void Sequencer::Play()
{
    EditLock lock(*this);
    PlayLocked();
}

void Sequencer::PlayLocked()
{
    if (!playElement_) {
        if (pendingElement_) {
            playElement_ = pendingElement_;
            rangeStart_ = pendingStart_;
            pendingElement_ = nullptr;
            pendingStart_ = 0;
        } else {
            playElement_ = song_.get();
            rangeStart_ = 0;
        }
        rangeEnd_ = AddPulses(rangeStart_, ElementLength(playElement_));
    }
    // Targets learn where playing starts: the position, which differs from the range start after
    // a pause.
    BroadcastPosition(kEventPlayStart, position_);
    playing_.store(true);
}

void Sequencer::Stop()
{
    EditLock lock(*this);
    StopLocked();
}

void Sequencer::StopLocked()
{
    playing_.store(false);
    Broadcast(kEventStopReset);
}

void Sequencer::Rewind()
{
    EditLock lock(*this);
    if (position_ == rangeStart_) {
        playElement_ = song_.get();
        rangeStart_ = 0;
        rangeEnd_ = song_->GetLength();
    }
    StepTo(rangeStart_);
    if (!playing_.load()) {
        song_->PlayAt(position_);
        Broadcast(kEventStopReset);
    }
}

void Sequencer::FastForward()
{
    EditLock lock(*this);
    StepTo(AddPulses(position_, static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote())));
}

void Sequencer::SetPosition(std::uint32_t pulse)
{
    EditLock lock(*this);
    StepTo(pulse);
}

void Sequencer::SetPlayRange(SeqEvent* element, std::uint32_t start)
{
    if (!element) {
        element = song_.get();
        start = 0;
    }
    EditLock lock(*this);
    if (playing_.load()) {
        pendingElement_ = element;
        pendingStart_ = start;
        const std::uint64_t bar = SequencerSettings::GetPulsesPerBar();
        const std::uint64_t nextBarLine = (position_ / bar + 1) * bar;
        if (nextBarLine < rangeEnd_)
            rangeEnd_ = static_cast<std::uint32_t>(nextBarLine);
        return;
    }
    playElement_ = element;
    rangeStart_ = start;
    ResetPositionLocked();
}

void Sequencer::ResetPosition()
{
    EditLock lock(*this);
    ResetPositionLocked();
}

void Sequencer::ResetPositionLocked()
{
    if (!playElement_) {
        playElement_ = pendingElement_ ? pendingElement_ : song_.get();
        rangeStart_ = pendingElement_ ? pendingStart_ : 0;
    }
    position_ = rangeStart_;
    PublishPosition(position_);
    rangeEnd_ = AddPulses(rangeStart_, ElementLength(playElement_));
    pendingElement_ = nullptr;
    pendingStart_ = 0;
}

bool Sequencer::SetLoop(bool loop)
{
    EditLock lock(*this);
    const bool previous = loop_;
    loop_ = loop;
    return previous;
}

Sequencer::PlayState Sequencer::GetPlayState() const
{
    EditLock lock(*this);
    return PlayState{playing_.load(), loop_,        playElement_,    rangeStart_,
                     position_,       rangeEnd_,    pendingElement_, pendingStart_};
}

bool Sequencer::PollSongTime()
{
    const std::uint64_t mark = beatMark_.load(std::memory_order_acquire);
    const auto serial = static_cast<std::uint32_t>(mark >> 32);
    if (serial == announcedBeatSerial_)
        return false;
    announcedBeatSerial_ = serial;
    const auto pulse = static_cast<std::uint32_t>(mark);
    const auto pulsesPerBeat = static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote());
    PostMessage("WM_UPDATE_SEQTIME", pulse / pulsesPerBeat, static_cast<std::intptr_t>(pulse));
    if (Configuration().GetFlashLED()) {
        const LedBlink blink{0, 1000, 1000, 0, 100};
        SetNotificationLed(blink, true);
        SetNotificationLed(blink, false);
    }
    ResetSystemIdleTimer();
    return true;
}

// Timing values -------------------------------------------------------------------------------

bool Sequencer::SetTempo(std::int32_t bpm)
{
    if (bpm < 1 || bpm > kMaxTempo)
        return false;
    EditLock lock(*this);
    ApplyTimingValues(bpm, SequencerSettings::GetBeatsPerBar(), SequencerSettings::GetPulsesPerQuarterNote());
    return true;
}

bool Sequencer::SetBeatsPerBar(std::int32_t beats)
{
    return SequencerSettings::SetBeatsPerBar(beats);
}

bool Sequencer::SetPulsesPerQuarterNote(std::int32_t pulses)
{
    if (pulses < 1 || pulses > SequencerSettings::kMaxDivision)
        return false;
    EditLock lock(*this);
    ApplyTimingValues(SequencerSettings::GetTempo(), SequencerSettings::GetBeatsPerBar(), pulses);
    return true;
}

bool Sequencer::SetTimingAccuracy(std::uint32_t mask)
{
    return SequencerSettings::SetTimingAccuracy(mask);
}

void Sequencer::ApplyTimingValues(std::int32_t tempo, std::int32_t beats, std::int32_t pulses)
{
    const bool tempoChanged = tempo != SequencerSettings::GetTempo() && tempo <= kMaxTempo &&
                              SequencerSettings::SetTempo(tempo);
    SequencerSettings::SetBeatsPerBar(beats);
    const bool pulsesChanged =
        pulses != SequencerSettings::GetPulsesPerQuarterNote() && SequencerSettings::SetPulsesPerQuarterNote(pulses);
    // Samples per pulse follow the resolution as well as the tempo, so a load that changes only
    // the resolution does not play at the old speed.
    if (tempoChanged || pulsesChanged || samplesPerPulse_ == 0.0f)
        RecomputeSamplesPerPulse();
    if (tempoChanged)
        Broadcast(kEventTempoChanged, SequencerSettings::GetTempo(), SequencerSettings::GetPulsesPerQuarterNote());
}

std::int32_t Sequencer::GetMinTempo() const
{
    return static_cast<std::int32_t>(Configuration().GetDWORD(kMinSongBpmSetting));
}

std::int32_t Sequencer::GetMaxTempo() const
{
    return static_cast<std::int32_t>(Configuration().GetDWORD(kMaxSongBpmSetting));
}

std::int32_t Sequencer::GetMinBeatsPerBar() const
{
    return static_cast<std::int32_t>(Configuration().GetDWORD(kMinSongBeatsPerBarSetting));
}

std::int32_t Sequencer::GetMaxBeatsPerBar() const
{
    return static_cast<std::int32_t>(Configuration().GetDWORD(kMaxSongBeatsPerBarSetting));
}

// Patterns and sections -----------------------------------------------------------------------

SeqEventPattern* Sequencer::FindPattern(const std::string& name) const
{
    const auto found = patterns_.find(name);
    return found == patterns_.end() ? nullptr : found->second.get();
}

SeqEventSection* Sequencer::FindSection(const std::string& name) const
{
    const auto found = sections_.find(name);
    return found == sections_.end() ? nullptr : found->second.get();
}

SeqEventTarget* Sequencer::FindTarget(const std::string& name, const std::string& typeName) const
{
    return studio_ ? studio_->FindTarget(typeName, name) : nullptr;
}

std::string Sequencer::UniquePatternName(const std::string& base) const
{
    return UniqueName(patterns_, base);
}

std::string Sequencer::UniqueSectionName(const std::string& base) const
{
    return UniqueName(sections_, base);
}

SeqEventPattern* Sequencer::CreatePattern(const std::string& baseName)
{
    // No lock: a new pattern is out of the song's reach until a placement (made under the lock)
    // uses it, and ActivateAt calls this with the lock held.
    auto pattern = std::make_unique<SeqEventPattern>();
    pattern->SetName(UniquePatternName(baseName));
    pattern->SetLength(SequencerSettings::GetPulsesPerBar());
    return Enter(patterns_, std::move(pattern));
}

SeqEventSection* Sequencer::CreateSection(const std::string& baseName)
{
    auto section = std::make_unique<SeqEventSection>();
    section->SetName(UniqueSectionName(baseName));
    return Enter(sections_, std::move(section));
}

SeqEventPattern* Sequencer::ReplicatePattern(SeqEventPattern* pattern)
{
    if (!pattern)
        return nullptr;
    std::unique_ptr<SeqEventPattern> copy;
    try {
        EditLock lock(*this);
        copy = DeepCopy(*pattern);
    } catch (const ArchiveException&) {
        return nullptr;
    }
    if (!copy)
        return nullptr;
    copy->SetName(UniquePatternName(pattern->GetName()));
    copy->SetColour(NewColour(true));
    return Enter(patterns_, std::move(copy));
}

SeqEventSection* Sequencer::ReplicateSection(SeqEventSection* section)
{
    if (!section)
        return nullptr;
    std::unique_ptr<SeqEventSection> copy;
    try {
        // Reading the copy back makes it the parent of the patterns it places.
        LoadingLookup lookup(*this);
        EditLock lock(*this);
        copy = DeepCopy(*section);
    } catch (const ArchiveException&) {
        return nullptr;
    }
    if (!copy)
        return nullptr;
    copy->SetName(UniqueSectionName(section->GetName()));
    copy->SetColour(NewColour(false));
    return Enter(sections_, std::move(copy));
}

Colour Sequencer::NewColour(bool light)
{
    std::uniform_int_distribution<int> randomByte(0, 255);
    int limit = kColourLimit;
    Colour colour;
    for (int attempt = 0; attempt < kColourAttempts; ++attempt) {
        std::array<int, 3> components{};
        for (int& component : components) {
            component = randomByte(colourRandom_);
            if (light && component < limit)
                component = (component + limit) % 256;
            else if (!light && component > limit)
                component -= limit;
        }
        if (attempt % 8 == 0)
            limit += light ? -kColourLimitStep : kColourLimitStep;
        colour = Colour::FromRgb(static_cast<std::uint8_t>(components[0]), static_cast<std::uint8_t>(components[1]),
                                 static_cast<std::uint8_t>(components[2]));
        const bool near = light ? IsNearAny(patterns_, colour) : IsNearAny(sections_, colour);
        if (!near)
            return colour;
    }
    return colour;
}

template <class Container>
bool Sequencer::Rekey(std::map<std::string, std::unique_ptr<Container>>& list, SeqEvent* event,
                      const std::string& name)
{
    const auto taken = list.find(name);
    if (taken != list.end() && taken->second.get() != event)
        return false;
    const auto entry =
        std::find_if(list.begin(), list.end(), [event](const auto& member) { return member.second.get() == event; });
    // An event outside the list (a pattern bank's, say) is only renamed: the list cannot own it.
    if (entry != list.end() && entry->first != name) {
        std::unique_ptr<Container> owned = std::move(entry->second);
        list.erase(entry);
        list.emplace(name, std::move(owned));
    }
    event->SetName(name);
    return true;
}

bool Sequencer::Rename(SeqEvent* event, const std::string& newName)
{
    if (!event || newName.empty())
        return false;
    switch (event->GetType()) {
    case kSeqEventPattern:
        return Rekey(patterns_, event, newName);
    case kSeqEventSection:
        return Rekey(sections_, event, newName);
    case kSeqEventSong:
        event->SetName(newName);
        return true;
    default:
        return false;
    }
}

bool Sequencer::RenameWithDialog(SeqEvent* event)
{
    if (!event)
        return false;
    const int type = event->GetType();
    if (type != kSeqEventPattern && type != kSeqEventSection && type != kSeqEventSong)
        return false;
    std::string initial = event->GetName();
    for (;;) {
        const std::optional<std::string> entered = Shell().PromptName(kRenameTitle, initial);
        if (!entered)
            return false;
        std::string name = *entered;
        SeqEvent* holder = type == kSeqEventPattern   ? static_cast<SeqEvent*>(FindPattern(name))
                           : type == kSeqEventSection ? static_cast<SeqEvent*>(FindSection(name))
                                                      : nullptr;
        if (holder && holder != event) {
            const std::string proposal = type == kSeqEventPattern ? UniquePatternName(name) : UniqueSectionName(name);
            const std::string_view question = type == kSeqEventPattern ? SequencerMessages::kPatternNameInUse
                                                                       : SequencerMessages::kSectionNameInUse;
            if (Shell().MessageBox(FormatText(question, {name, proposal}), "Jorvo", MessageButtons::YesNo,
                                   MessageIcon::Question) != MessageAnswer::Yes) {
                initial = name;
                continue;
            }
            name = proposal;
        }
        return Rename(event, name);
    }
}

void Sequencer::ReplaceTarget(const SeqEventTarget* oldTarget, SeqEventTarget* newTarget)
{
    EditLock lock(*this);
    ReplaceTargetLocked(oldTarget, newTarget);
}

void Sequencer::ReplaceTargetLocked(const SeqEventTarget* oldTarget, SeqEventTarget* newTarget)
{
    for (const auto& [name, section] : sections_)
        section->ReplaceTarget(oldTarget, newTarget);
}

bool Sequencer::IsPatternAliased(const SeqEventPattern* pattern) const
{
    return pattern && pattern->IsAliased();
}

bool Sequencer::IsSectionAliased(const SeqEventSection* section) const
{
    return section && section->IsAliased();
}

// The editors' focus --------------------------------------------------------------------------

SectionPlacement* Sequencer::GetActiveSection() const
{
    return song_->GetActivePlacement();
}

PatternPlacement* Sequencer::GetActivePattern() const
{
    const SectionPlacement* section = GetActiveSection();
    return section && section->section ? section->section->GetActivePlacement() : nullptr;
}

bool Sequencer::SetActiveSection(SectionPlacement* placement)
{
    if (!song_->SetActivePlacement(placement))
        return false;
    PostMessage("WM_CHANGE_ACTIVE_SECTION", reinterpret_cast<std::uintptr_t>(placement->section), 0);
    AnnounceActivePattern();
    return true;
}

bool Sequencer::SetActivePattern(PatternPlacement* placement)
{
    const SectionPlacement* section = GetActiveSection();
    if (!section || !section->section || !section->section->SetActivePlacement(placement))
        return false;
    AnnounceActivePattern();
    return true;
}

void Sequencer::AnnounceActivePattern()
{
    const PatternPlacement* placement = GetActivePattern();
    PostMessage("WM_CHANGE_ACTIVE_PATTERN", reinterpret_cast<std::uintptr_t>(placement ? placement->pattern : nullptr),
                0);
}

std::uint32_t Sequencer::GetActiveSectionStart() const
{
    const SectionPlacement* section = GetActiveSection();
    return section ? section->offset : 0;
}

std::uint32_t Sequencer::GetActivePatternStart() const
{
    const PatternPlacement* pattern = GetActivePattern();
    return AddPulses(GetActiveSectionStart(), pattern ? pattern->offset : 0);
}

bool Sequencer::EditTargetParameters(SeqEventTarget* target, const SeqParameter* parameter)
{
    const SectionPlacement* section = GetActiveSection();
    if (!target || !section || !section->section)
        return false;
    const std::uint32_t position = GetSongPosition();
    const std::uint32_t pulse = position >= section->offset ? position - section->offset : position;
    PatternPlacement* found = nullptr;
    {
        EditLock lock(*this);
        found = section->section->ActivateAt(target, pulse);
    }
    if (!found)
        return false;
    AnnounceActivePattern();
    PostMessage("WM_SET_ACTIVE_VIEW", parameterEditor_, 0);
    PostMessage("WM__EDIT_PARAMETER", reinterpret_cast<std::uintptr_t>(parameter), 0);
    return true;
}

void Sequencer::ShowSongEditor()
{
    PostMessage("WM_SET_ACTIVE_VIEW", songEditor_, 0);
}

void Sequencer::ShowSectionEditor()
{
    PostMessage("WM_SET_ACTIVE_VIEW", sectionEditor_, 0);
}

void Sequencer::ShowPatternEditor(int kind)
{
    PostMessage("WM_SET_ACTIVE_VIEW", kind == 2 ? parameterEditor_ : patternEditor_, 0);
}

void Sequencer::PostMessage(const char* name, std::uintptr_t wParam, std::intptr_t lParam)
{
    Shell().BroadcastMessage(RegisterWindowMessage(name), wParam, lParam);
}

void Sequencer::SendToTarget(SeqEventTarget* target, std::int32_t code, std::int32_t a, std::int32_t b,
                             std::int32_t c, std::int32_t d)
{
    if (!target)
        return;
    EditLock lock(*this);
    target->HandleEvent(code, a, b, c, d);
    if (!noParameterUpdate_ && code >= 0 && code <= 0xFFFF)
        target->SetStoredValue(static_cast<std::uint16_t>(code), a);
}

bool Sequencer::SetNoParameterUpdate(bool noUpdate)
{
    EditLock lock(*this);
    const bool previous = noParameterUpdate_;
    noParameterUpdate_ = noUpdate;
    return previous;
}

// Storage -------------------------------------------------------------------------------------

void Sequencer::InstallSong(std::unique_ptr<SeqEventSong> song)
{
    std::unique_ptr<SeqEventSong> old;
    EditLock lock(*this);
    old = std::exchange(song_, std::move(song));
    playElement_ = playElement_ == old.get() ? nullptr : playElement_;
    pendingElement_ = pendingElement_ == old.get() ? nullptr : pendingElement_;
}

void Sequencer::Serialize(BinaryArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteInt32(SequencerSettings::GetTempo());
        archive.WriteInt32(SequencerSettings::GetBeatsPerBar());
        archive.WriteInt32(SequencerSettings::GetPulsesPerQuarterNote());
        archive.WriteDword(static_cast<std::uint32_t>(patterns_.size()));
        for (const auto& [name, pattern] : patterns_)
            archive.WriteObject(pattern.get());
        archive.WriteDword(static_cast<std::uint32_t>(sections_.size()));
        for (const auto& [name, section] : sections_)
            archive.WriteObject(section.get());
        song_->Serialize(archive);
        return;
    }
    LoadingLookup lookup(*this);
    Reset();
    const std::int32_t tempo = CheckedTiming(archive.ReadDword(), kMaxTempo);
    const std::int32_t beats = CheckedTiming(archive.ReadDword(), SequencerSettings::kMaxDivision);
    const std::int32_t pulses = CheckedTiming(archive.ReadDword(), SequencerSettings::kMaxDivision);
    {
        EditLock lock(*this);
        ApplyTimingValues(tempo, beats, pulses);
    }
    // Patterns are entered before the sections are read, and sections before the song, because
    // placements name what they place.
    for (std::uint32_t count = archive.ReadDword(); count > 0; --count)
        Enter(patterns_, archive.ReadObject<SeqEventPattern>());
    for (std::uint32_t count = archive.ReadDword(); count > 0; --count)
        Enter(sections_, archive.ReadObject<SeqEventSection>());
    auto song = std::make_unique<SeqEventSong>();
    song->Serialize(archive);
    InstallSong(std::move(song));
    ResetPosition();
}

PatternBankList& Sequencer::GetPatternBankList()
{
    if (!patternBanks_)
        patternBanks_ = std::make_unique<PatternBankList>(*this);
    return *patternBanks_;
}

void Sequencer::ExportMIDI(MidiFile& file)
{
    file.ExportSequencer(*song_, SequencerSettings::GetTempo(), SequencerSettings::GetBeatsPerBar(),
                         SequencerSettings::GetPulsesPerQuarterNote());
}

void Sequencer::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        archive.CreateChild("Sequencer");
        archive.Write("Tempo", SequencerSettings::GetTempo());
        archive.Write("BeatsPerBar", SequencerSettings::GetBeatsPerBar());
        archive.Write("PulsesPerQuarterNote", SequencerSettings::GetPulsesPerQuarterNote());
        const auto storeList = [&archive](const char* listName, const auto& list) {
            if (list.empty())
                return;
            CXMLArchive listArchive(archive);
            listArchive.CreateChild(listName);
            for (const auto& [name, member] : list) {
                CXMLArchive memberArchive(listArchive);
                member->SerializeXML(memberArchive);
            }
        };
        storeList("PatternList", patterns_);
        storeList("SectionList", sections_);
        CXMLArchive songArchive(archive);
        song_->SerializeXML(songArchive);
        return;
    }
    if (!archive.IsCurrent("Sequencer"))
        throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
    LoadingLookup lookup(*this);
    Reset();
    std::uint32_t tempo = static_cast<std::uint32_t>(SequencerSettings::GetTempo());
    std::uint32_t beats = static_cast<std::uint32_t>(SequencerSettings::GetBeatsPerBar());
    std::uint32_t pulses = static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote());
    archive.Read("Tempo", tempo);
    archive.Read("BeatsPerBar", beats);
    archive.Read("PulsesPerQuarterNote", pulses);
    {
        const std::int32_t checkedTempo = CheckedTiming(tempo, kMaxTempo);
        const std::int32_t checkedBeats = CheckedTiming(beats, SequencerSettings::kMaxDivision);
        const std::int32_t checkedPulses = CheckedTiming(pulses, SequencerSettings::kMaxDivision);
        EditLock lock(*this);
        ApplyTimingValues(checkedTempo, checkedBeats, checkedPulses);
    }
    const auto loadList = [&archive](const char* listName, auto create) {
        DomNodeList nodes;
        if (!archive.GetChildList(listName, nodes))
            return;
        DomNode node;
        while (archive.NextNode(nodes, node)) {
            if (node.Type() != DomNodeType::Element)
                continue;
            CXMLArchive memberArchive(archive);
            memberArchive.SetCurrentNode(node);
            create(memberArchive);
        }
    };
    loadList("PatternList",
             [this](CXMLArchive& member) { Enter(patterns_, SeqEventFactory::CreatePatternFromXML(member)); });
    loadList("SectionList",
             [this](CXMLArchive& member) { Enter(sections_, SeqEventFactory::CreateSectionFromXML(member)); });
    CXMLArchive songArchive(archive);
    if (songArchive.Descend("Song")) {
        auto song = std::make_unique<SeqEventSong>();
        song->SerializeXML(songArchive);
        InstallSong(std::move(song));
    }
    ResetPosition();
}

} // namespace jorvo
