#pragma once
// An instrument supplied by a plug-in library (include/jorvo/Plugin.h). It forwards every event
// to the plug-in object, lets it render each chunk into the output buffer, passes it the samples
// of its slots, and takes its sample rate and channel count from the library's information.
#include <cstdint>
#include <string>

#include "engine/Instrument.h"
#include "engine/PluginLibrary.h"

namespace jorvo {

class InstrumentPlugin final : public Instrument {
    JORVO_DECLARE_PERSISTENT(InstrumentPlugin)
public:
    // An instrument without a library: silent, engine name empty.
    InstrumentPlugin();

    // Opens the library at `path`; with `create`, also creates the plug-in object and registers
    // its parameters (without, only the information is read, as the plug-in scan does). Takes
    // the engine name, sample rate and channel count from the library and the engine name as
    // its name. False on failure, after showing why. UI thread.
    bool Load(const std::string& path, bool create);

    // Forwards all five arguments to the plug-in object (updating the live value of a parameter
    // code first); 255 also restores the stored parameter values (ResetBase). Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // True at once when already rendered this chunk; false without a plug-in object; otherwise the
    // plug-in renders `frames` frames into Output() and its answer is returned. Audio thread.
    bool Render(int frames) override;
    // Fills the slot, then describes its sample to the plug-in (an empty description for an empty
    // slot). UI thread.
    void SetSampleSlot(int slot, int index) override;
    // Copies the other instrument's name and timing; the rate and channels stay the plug-in's.
    void Assign(const SeqEventTarget& other) override;

    // The engine name the library reports; empty before a successful Load.
    std::string GetEngineName() const override { return engineName_; }

    // Instrument storage, then one version byte (1; skipped when loading). After loading, every
    // stored parameter value is sent to the plug-in again. UI thread.
    void Serialize(BinaryArchive& archive) override;
    // Instrument storage; after loading, every stored parameter value is sent to the plug-in again.
    void SerializeXML(CXMLArchive& archive) override;

    // True when a plug-in object exists (Load with `create` succeeded).
    bool HasPluginObject() const { return plugin_.HasObject(); }
    // The path of the loaded library; empty when none.
    std::string LibraryPath() const { return plugin_.Path(); }

private:
    void TakeInformation();

    std::string engineName_;
    PluginInstance plugin_;
};

} // namespace jorvo
