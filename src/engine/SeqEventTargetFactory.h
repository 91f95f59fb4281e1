#pragma once
// Turns an engine name ("mSyn", "Delay", or the name a plug-in reports) into a new instrument or
// effect. Built-in engines are fixed; plug-in engines come from the libraries found below the
// plug-ins folder ("*.Instrument", "*.Effect"), which are scanned once on first need and
// remembered as two tables, engine name → library path. Engine names compare exactly
// (case-sensitive). UI thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace jorvo {

class BinaryArchive;
class CXMLArchive;
class Effect;
class Instrument;
class SeqEventTarget;

class SeqEventTargetFactory {
public:
    SeqEventTargetFactory() = delete;

    // A new instrument of engine `engineName`; null for an empty name, an unknown plug-in name
    // ("Jorvo failed to find the plug-in '%s'. …" shown), a plug-in that fails to load (its
    // message shown) or an error while creating ("Jorvo failed to create Instrument %s due to
    // the following error: %s" shown).
    static std::unique_ptr<Instrument> CreateInstrument(const std::string& engineName);
    // The same for effects ("Jorvo failed to create Effect %s …").
    static std::unique_ptr<Effect> CreateEffect(const std::string& engineName);

    // Reads "Engine" of the archive's current element, creates that instrument and lets it read
    // itself. Null when the attribute is missing or creation fails; a damaged element raises
    // ArchiveException as the target's own SerializeXML does.
    static std::unique_ptr<Instrument> CreateInstrumentFromXML(CXMLArchive& archive);
    // The same for effects.
    static std::unique_ptr<Effect> CreateEffectFromXML(CXMLArchive& archive);

    // Writes the target stream: "EDCB", the engine name (empty for no target), the target's binary
    // data, the end marker 1B 1A 19 18.
    static void StoreTarget(BinaryArchive& archive, SeqEventTarget* target);
    // Reads a target stream and returns the instrument it holds. A stream that does not begin with
    // "EDCB" is left where it was and gives null; bytes the target does not read are skipped up to
    // the end marker; a damaged stream or a failed creation gives null.
    static std::unique_ptr<Instrument> LoadInstrument(BinaryArchive& archive);
    // The same for effects.
    static std::unique_ptr<Effect> LoadEffect(BinaryArchive& archive);

    // Forgets both plug-in tables and scans the plug-ins folder again; the number of libraries
    // registered (a later library reporting a name already registered replaces it and counts too).
    static int RescanPlugins();

    // The instruments the selection dialog offers: the built-ins, then every instrument plug-in.
    static std::vector<std::string> ListInstruments();
    // The effects the selection dialog offers: the built-ins, then every effect plug-in.
    static std::vector<std::string> ListEffects();

    // The library registered for instrument (effect) plug-in `engineName`; nothing when none.
    static std::optional<std::string> FindInstrumentPlugin(const std::string& engineName);
    static std::optional<std::string> FindEffectPlugin(const std::string& engineName);
};

} // namespace jorvo
