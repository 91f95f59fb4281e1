#pragma once
// The host side of plug-in libraries (include/jorvo/Plugin.h): opening a library and reading its
// information (PluginLibrary), and one plug-in object with the host's copies of its parameters
// (PluginInstance), which InstrumentPlugin and EffectPlugin each hold. Every object keeps a
// shared reference to the library that made it, so a library stays loaded while any of its
// objects lives and is closed after the last one is destroyed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jorvo/Plugin.h"
#include "engine/SeqParameter.h"
#include "platform/DynamicLibrary.h"

namespace jorvo {

class SeqEventTarget;
struct SampleRecord;

enum class PluginKind { Instrument, Effect };

// What a library reports about itself, copied out of its information record.
struct PluginInfo {
    std::string engineName;
    std::uint16_t sampleRate = 0;
    // Instruments: channels rendered. Effects: channels read.
    std::uint8_t channels = 0;
    // Effects: channels written; 0 for instruments.
    std::uint8_t outputChannels = 0;
};

// Stores the song position that instrument plug-ins read through SetCurPulseCounter. The
// sequencer calls it on every position change. Audio or UI thread.
void SetPluginPulseCounter(std::uint32_t pulse);
// The address of that position as plug-ins receive it.
const volatile std::uint32_t* PluginPulseCounter();

// An opened plug-in library: its information and entry points.
class PluginLibrary {
public:
    // Opens the library at `path` as a library of `kind`, reads its information and checks that
    // its create entry exists. Null on failure, after showing why (stop-icon message naming
    // `path`); the library is then closed again. UI thread.
    static std::shared_ptr<PluginLibrary> Open(const std::string& path, PluginKind kind);

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    const std::string& Path() const { return path_; }
    PluginKind Kind() const { return kind_; }
    const PluginInfo& Info() const { return info_; }

    // A new plug-in object from the create entry; null when the library gives none. UI thread.
    JorvoPlugin* CreateObject() const { return create_(); }
    // The optional entry points; null when the library does not export them.
    JorvoSetSampleFunction SampleEntry() const { return setSample_; }
    JorvoSetCurPulseCounterFunction PulseCounterEntry() const { return setPulseCounter_; }

private:
    PluginLibrary(std::string path, PluginKind kind);
    bool OpenLibrary();
    bool ReadEntryPoints();

    std::string path_;
    PluginKind kind_;
    DynamicLibrary library_;
    PluginInfo info_;
    JorvoCreatePluginFunction create_ = nullptr;
    JorvoSetSampleFunction setSample_ = nullptr;
    JorvoSetCurPulseCounterFunction setPulseCounter_ = nullptr;
};

// One plug-in object as a target holds it: the object, the library that made it, and the host's
// parameter records registered with the target.
class PluginInstance {
public:
    PluginInstance() = default;
    // Destroys the object, then lets go of the library.
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // Opens `path` as a library of `kind`; with `create`, also creates the object, registers its
    // parameters with `target`, and hands it the pulse counter (instruments). Whatever was loaded
    // before is unloaded first. False on failure, after showing why; nothing is then loaded. UI
    // thread.
    bool Load(const std::string& path, PluginKind kind, bool create, SeqEventTarget& target);
    // Destroys the object, removes its parameters from `target` and lets go of the library.
    void Unload(SeqEventTarget& target);

    // True when a library is loaded (with or without an object).
    bool IsLoaded() const { return library_ != nullptr; }
    // True when a plug-in object exists.
    bool HasObject() const { return object_ != nullptr; }
    // The loaded library's information; null when none is loaded.
    const PluginInfo* Info() const;
    // The loaded library's path; empty when none is loaded.
    std::string Path() const;

    // Sets the live value of `target`'s parameter `code` (when `code` is a parameter and `a` in
    // range), then hands the event to the object unchanged. Nothing else without an object.
    // Audio or UI thread.
    void HandleEvent(SeqEventTarget& target, std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c,
                     std::int32_t d);
    // The object's Render into `output` (channels × frames samples). False without an object or
    // for a frame count outside 1…JORVO_PLUGIN_MAX_FRAMES. Audio thread.
    bool Render(std::int32_t* output, int frames);
    // The object's Process from `input` into `output`. False without an object or for a frame
    // count outside 1…JORVO_PLUGIN_MAX_FRAMES. Audio thread.
    bool Process(const std::int32_t* input, std::int32_t* output, int frames);

    // Describes the sample now in `target`'s slot `slot` to the object (an empty description for
    // an empty slot). Nothing without an object, a sample entry or such a slot. UI thread.
    void PassSampleSlot(const SeqEventTarget& target, int slot);
    // Tells the object that every slot of `target` is empty, before the slots are loaded again
    // (the samples they held may be freed afterwards). UI thread.
    void ClearSampleSlots(const SeqEventTarget& target);

private:
    bool CreateObject(SeqEventTarget& target);
    void RegisterParameters(SeqEventTarget& target);
    void DestroyObject();
    void PassSample(int slot, const SampleRecord* record);

    std::shared_ptr<PluginLibrary> library_;
    JorvoPlugin* object_ = nullptr;
    std::vector<std::unique_ptr<SeqParameter>> parameters_;
};

} // namespace jorvo
