#pragma once
// An effect supplied by a plug-in library (include/jorvo/Plugin.h). It forwards every event to
// the plug-in object, lets it process each chunk of its buss's input into the output buffer,
// passes it the samples of its slots, and takes its sample rate and channel counts from the
// library's information.
#include <cstdint>
#include <string>

#include "engine/Effect.h"
#include "engine/PluginLibrary.h"

namespace jorvo {

class EffectPlugin final : public Effect {
    JORVO_DECLARE_PERSISTENT(EffectPlugin)
public:
    // An effect without a library: silent, engine name empty.
    EffectPlugin();

    // Opens the library at `path`; with `create`, also creates the plug-in object and registers
    // its parameters (without, only the information is read, as the plug-in scan does). Takes
    // the engine name, sample rate and channel counts from the library and the engine name as
    // its name. False on failure, after showing why. UI thread.
    bool Load(const std::string& path, bool create);

    // Forwards all five arguments to the plug-in object (updating the live value of a parameter
    // code first); 255 also restores the stored parameter values (ResetBase). Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // False without a plug-in object; otherwise the plug-in processes `frames` frames of `input`
    // into Output() and its answer is returned. Audio thread.
    bool Process(const std::int32_t* input, int frames) override;
    // Fills the slot, then describes its sample to the plug-in. An emptied slot is described as
    // empty too, so the plug-in never keeps the frames of a sample the store may free. UI thread.
    void SetSampleSlot(int slot, int index) override;
    // Copies the other effect's name and timing; the rate and channels stay the plug-in's.
    void Assign(const SeqEventTarget& other) override;

    // The engine name the library reports; empty before a successful Load.
    std::string GetEngineName() const override { return engineName_; }

    // Effect storage, then one version byte (1; skipped when loading). After loading, every
    // stored parameter value is sent to the plug-in again. UI thread.
    void Serialize(BinaryArchive& archive) override;
    // Effect storage; after loading, every stored parameter value is sent to the plug-in again.
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
