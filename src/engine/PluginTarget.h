#pragma once
// What an instrument and an effect supplied by a plug-in library share: loading the library,
// forwarding events and samples to the plug-in object, and storing the target so that the
// plug-in gets its parameter values back after loading. `Base` is Instrument or Effect; the
// derived class adds rendering and says which sample rate and channels the library's
// information gives it. Only PluginTarget<Instrument> and PluginTarget<Effect> exist.
#include <cstdint>
#include <string>

#include "engine/PluginLibrary.h"

namespace jorvo {

class BinaryArchive;
class CXMLArchive;

template <class Base>
class PluginTarget : public Base {
public:
    // Opens the library at `path`; with `create`, also creates the plug-in object and registers
    // its parameters (without, only the information is read, as the plug-in scan does). Takes
    // the engine name, sample rate and channels from the library and the engine name as its
    // name. False on failure, after showing why. UI thread.
    bool Load(const std::string& path, bool create);

    // Forwards all five arguments to the plug-in object (updating the live value of a parameter
    // code first); 255 also restores the stored parameter values (ResetBase). Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // Fills the slot, then describes its sample to the plug-in. An emptied slot is described as
    // empty too, so the plug-in never keeps the frames of a sample the store may free. UI thread.
    void SetSampleSlot(int slot, int index) override;
    // Copies the other target's name and timing; the rate and channels stay the plug-in's.
    void Assign(const SeqEventTarget& other) override;

    // The engine name the library reports; empty before a successful Load.
    std::string GetEngineName() const override { return engineName_; }

    // Base storage, then one version byte (1; skipped when loading). After loading, every
    // stored parameter value is sent to the plug-in again. UI thread.
    void Serialize(BinaryArchive& archive) override;
    // Base storage; after loading, every stored parameter value is sent to the plug-in again.
    void SerializeXML(CXMLArchive& archive) override;

    // True when a plug-in object exists (Load with `create` succeeded).
    bool HasPluginObject() const { return plugin_.HasObject(); }
    // The path of the loaded library; empty when none.
    std::string LibraryPath() const { return plugin_.Path(); }

protected:
    // A target without a library: silent, engine name empty.
    explicit PluginTarget(PluginKind kind);

    // Takes the sample rate and channels from the loaded library's information; nothing when
    // none is loaded.
    virtual void TakeInformation() = 0;

    PluginInstance& Plugin() { return plugin_; }

private:
    // Which kind of library Load accepts.
    PluginKind kind_;
    std::string engineName_;
    PluginInstance plugin_;
};

} // namespace jorvo
