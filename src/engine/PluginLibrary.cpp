#include "engine/PluginLibrary.h"

#include <algorithm>
#include <atomic>
#include <exception>

#include "audio/SampleStore.h"
#include "engine/EngineMessages.h"
#include "engine/EventCodes.h"
#include "engine/SeqEventTarget.h"
#include "engine/SoundStudio.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

// A library that will not open is tried this many times before giving up.
constexpr int kOpenAttempts = 10;
// Codes from here up are events, never parameters (see the plug-in header).
constexpr std::uint16_t kFirstEventCode = 200;
// A plug-in cannot have more distinct parameter numbers than this; a larger count is garbage.
constexpr std::uint32_t kMaxParameterEntries = kFirstEventCode;

// The song position plug-ins read. Written through atomic_ref, so the host's stores are atomic;
// plug-ins read it with a plain 32-bit load through the volatile address.
alignas(std::atomic_ref<std::uint32_t>::required_alignment) std::uint32_t pulseCounter = 0;

void ShowStop(std::string_view pattern, const std::string& path)
{
    Shell().MessageBox(FormatText(pattern, {path}), "Jorvo", MessageButtons::Ok, MessageIcon::Error);
}

bool IsChannelCount(std::uint8_t channels)
{
    return channels == 1 || channels == 2;
}

// The information record in host form; false when it is missing or unusable.
bool ReadInformation(const JorvoPluginInfo* record, PluginKind kind, PluginInfo& info)
{
    if (!record || record->abiVersion != JORVO_PLUGIN_ABI_VERSION)
        return false;
    if (record->sampleRate == 0 || !IsChannelCount(record->channels))
        return false;
    if (kind == PluginKind::Effect && !IsChannelCount(record->outputChannels))
        return false;
    info.engineName = record->engineName ? record->engineName : "";
    info.sampleRate = record->sampleRate;
    info.channels = record->channels;
    info.outputChannels = kind == PluginKind::Effect ? record->outputChannels : 0;
    return true;
}

// True when the object has every operation the host calls for `kind`.
bool HasRequiredOperations(const JorvoPlugin& object, PluginKind kind)
{
    const bool runs = kind == PluginKind::Instrument ? object.Render != nullptr : object.Process != nullptr;
    return object.Destroy && object.HandleEvent && runs;
}

// True when the host can keep the record's invariant (both values within the range).
bool IsUsableParameter(const JorvoParameter& record)
{
    return record.name && record.name[0] != '\0' && record.number < kFirstEventCode &&
           record.minimum <= record.maximum && record.storedValue >= record.minimum &&
           record.storedValue <= record.maximum;
}

bool IsFrameCount(int frames)
{
    return frames > 0 && frames <= JORVO_PLUGIN_MAX_FRAMES;
}

} // namespace

void SetPluginPulseCounter(std::uint32_t pulse)
{
    std::atomic_ref<std::uint32_t>(pulseCounter).store(pulse, std::memory_order_relaxed);
}

const volatile std::uint32_t* PluginPulseCounter()
{
    return &pulseCounter;
}

// PluginLibrary -------------------------------------------------------------------------------

PluginLibrary::PluginLibrary(std::string path, PluginKind kind) : path_(std::move(path)), kind_(kind) {}

std::shared_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, PluginKind kind)
{
    if (!FileExists(path)) {
        ShowStop(kPluginFileMissing, path);
        return nullptr;
    }
    std::shared_ptr<PluginLibrary> library(new PluginLibrary(path, kind));
    try {
        if (!library->OpenLibrary() || !library->ReadEntryPoints())
            return nullptr;
    } catch (const std::exception& error) {
        // A plug-in written in C++ may let an exception escape its entry points.
        Shell().MessageBox(error.what(), "Jorvo", MessageButtons::Ok, MessageIcon::Error);
        ShowStop(kPluginBadFormat, path);
        return nullptr;
    } catch (...) {
        ShowStop(kPluginBadFormat, path);
        return nullptr;
    }
    return library;
}

bool PluginLibrary::OpenLibrary()
{
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        if (library_.Load(path_))
            return true;
    }
    if (kind_ == PluginKind::Instrument)
        Shell().MessageBox(library_.ErrorText(), std::string(kSystemErrorCaption), MessageButtons::Ok,
                           MessageIcon::Error);
    ShowStop(kPluginLoadFailed, path_);
    return false;
}

bool PluginLibrary::ReadEntryPoints()
{
    const auto getInfo = reinterpret_cast<JorvoGetInfoFunction>(library_.Symbol(JORVO_PLUGIN_GET_INFO));
    if (!getInfo) {
        ShowStop(kPluginBadFormat, path_);
        return false;
    }
    if (!ReadInformation(getInfo(), kind_, info_)) {
        ShowStop(kPluginNoInformation, path_);
        return false;
    }
    const char* createName =
        kind_ == PluginKind::Instrument ? JORVO_PLUGIN_CREATE_INSTRUMENT : JORVO_PLUGIN_CREATE_EFFECT;
    create_ = reinterpret_cast<JorvoCreatePluginFunction>(library_.Symbol(createName));
    if (!create_) {
        ShowStop(kPluginBadFormat, path_);
        return false;
    }
    setSample_ = reinterpret_cast<JorvoSetSampleFunction>(library_.Symbol(JORVO_PLUGIN_SET_SAMPLE));
    setPulseCounter_ =
        reinterpret_cast<JorvoSetCurPulseCounterFunction>(library_.Symbol(JORVO_PLUGIN_SET_CUR_PULSE_COUNTER));
    return true;
}

// PluginInstance ------------------------------------------------------------------------------

PluginInstance::~PluginInstance()
{
    DestroyObject();
}

bool PluginInstance::Load(const std::string& path, PluginKind kind, bool create, SeqEventTarget& target)
{
    Unload(target);
    library_ = PluginLibrary::Open(path, kind);
    if (!library_)
        return false;
    if (create && !CreateObject(target)) {
        Unload(target);
        return false;
    }
    return true;
}

bool PluginInstance::CreateObject(SeqEventTarget& target)
{
    try {
        object_ = library_->CreateObject();
        if (object_ && !HasRequiredOperations(*object_, library_->Kind())) {
            if (object_->Destroy)
                object_->Destroy(object_);
            object_ = nullptr;
        }
        if (!object_) {
            ShowStop(kPluginCreateFailed, library_->Path());
            return false;
        }
        RegisterParameters(target);
        if (library_->Kind() == PluginKind::Instrument && library_->PulseCounterEntry())
            library_->PulseCounterEntry()(object_, PluginPulseCounter());
    } catch (const std::exception& error) {
        Shell().MessageBox(error.what(), "Jorvo", MessageButtons::Ok, MessageIcon::Error);
        ShowStop(kPluginBadFormat, library_->Path());
        return false;
    } catch (...) {
        ShowStop(kPluginBadFormat, library_->Path());
        return false;
    }
    return true;
}

void PluginInstance::RegisterParameters(SeqEventTarget& target)
{
    if (!object_->GetParameters)
        return;
    JorvoParameter* const* records = nullptr;
    std::uint32_t count = 0;
    object_->GetParameters(object_, &records, &count);
    if (!records)
        return;
    count = std::min(count, kMaxParameterEntries);
    for (std::uint32_t i = 0; i < count; ++i) {
        const JorvoParameter* record = records[i];
        if (!record || !IsUsableParameter(*record))
            continue;
        auto parameter = std::make_unique<SeqParameter>(record->name, record->description ? record->description : "",
                                                        record->number, record->minimum, record->maximum,
                                                        record->storedValue);
        parameter->SetLive(record->liveValue);
        if (target.AddParameter(parameter.get()))
            parameters_.push_back(std::move(parameter));
    }
}

void PluginInstance::DestroyObject()
{
    if (object_)
        object_->Destroy(object_);
    object_ = nullptr;
}

void PluginInstance::Unload(SeqEventTarget& target)
{
    DestroyObject();
    for (const auto& parameter : parameters_)
        target.RemoveParameter(parameter.get());
    parameters_.clear();
    library_.reset();
}

const PluginInfo* PluginInstance::Info() const
{
    return library_ ? &library_->Info() : nullptr;
}

std::string PluginInstance::Path() const
{
    return library_ ? library_->Path() : std::string();
}

void PluginInstance::HandleEvent(SeqEventTarget& target, std::int32_t code, std::int32_t a, std::int32_t b,
                                 std::int32_t c, std::int32_t d)
{
    if (code >= 0 && code < kFirstEventCode) {
        if (SeqParameter* parameter = target.FindParameter(static_cast<std::uint16_t>(code)))
            parameter->SetLive(a);
    }
    if (object_)
        object_->HandleEvent(object_, code, a, b, c, d);
}

bool PluginInstance::Render(std::int32_t* output, int frames)
{
    return object_ && IsFrameCount(frames) && object_->Render(object_, output, frames) != 0;
}

bool PluginInstance::Process(const std::int32_t* input, std::int32_t* output, int frames)
{
    return object_ && IsFrameCount(frames) && object_->Process(object_, input, output, frames) != 0;
}

void PluginInstance::PassSampleSlot(const SeqEventTarget& target, int slot)
{
    const int index = target.GetSampleSlot(slot);
    if (index < 0)
        return;
    const SampleRecord* record = nullptr;
    if (index != SeqEventTarget::kEmptySlot) {
        if (SoundStudio* studio = SoundStudio::Current())
            record = studio->GetSampleStore().GetRecord(index);
    }
    PassSample(slot, record);
}

void PluginInstance::ClearSampleSlots(const SeqEventTarget& target)
{
    for (int slot = 0; slot < target.SampleSlotCount(); ++slot)
        PassSample(slot, nullptr);
}

void PluginInstance::PassSample(int slot, const SampleRecord* record)
{
    if (!object_ || !library_->SampleEntry())
        return;
    JorvoSampleDescription description{};
    const std::size_t channels = record ? std::size_t{record->stereo} + 1u : 1u;
    // The store keeps one guard frame after the frames to play.
    if (record && record->HasData() && record->stereo <= 1 && record->data.size() >= 2 * channels) {
        const auto frames = static_cast<std::uint32_t>(record->data.size() / channels - 1);
        description.data = record->data.data();
        description.frameCount = frames;
        description.stereo = record->stereo;
        description.sampleRate = record->sampleRate;
        description.rootNote = record->rootNote;
        description.fineTune = record->fineTune;
        // Kept inside the frames, so a plug-in trusting them never reads past the data.
        description.endFrame = std::min(record->endFrame, frames - 1);
        description.loopLength = std::min(record->loopLength, description.endFrame + 1);
    }
    library_->SampleEntry()(object_, static_cast<std::int32_t>(slot), &description);
}

} // namespace jorvo
