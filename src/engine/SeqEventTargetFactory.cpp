#include "engine/SeqEventTargetFactory.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <map>
#include <span>

#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/EffectChorus.h"
#include "engine/EffectDelay.h"
#include "engine/EffectDistortion.h"
#include "engine/EffectFlanger.h"
#include "engine/EffectPlugin.h"
#include "engine/EffectReverb.h"
#include "engine/EffectReverbLite.h"
#include "engine/EngineMessages.h"
#include "engine/InstrumentDefault.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/InstrumentPlugin.h"
#include "engine/InstrumentSampler.h"
#include "platform/FolderScan.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

// The target stream's opening mark and end marker.
constexpr std::array<std::uint8_t, 4> kStreamMark{'E', 'D', 'C', 'B'};
constexpr std::array<std::uint8_t, 4> kEndMarker{0x1B, 0x1A, 0x19, 0x18};
// How much of an error's own text the creation message quotes.
constexpr std::size_t kMaxErrorText = 255;

// A built-in engine: its name, whether the selection dialog offers it, and how to make one.
template <class Target>
struct BuiltInEngine {
    const char* engineName;
    bool offered;
    std::unique_ptr<Target> (*create)();
};

template <class Target, class Engine>
std::unique_ptr<Target> Make()
{
    return std::make_unique<Engine>();
}

// The built-in instruments, in the order the selection dialog offers them.
const BuiltInEngine<Instrument> kBuiltInInstruments[] = {
    {"Sampler", true, &Make<Instrument, InstrumentSampler>},
    {"mSyn", true, &Make<Instrument, InstrumentMonoSynth>},
    {"DefaultInstrument", false, &Make<Instrument, InstrumentDefault>},
};

// The built-in effects, in the order the selection dialog offers them.
const BuiltInEngine<Effect> kBuiltInEffects[] = {
    {"Distortion", true, &Make<Effect, EffectDistortion>},
    {"Flanger", true, &Make<Effect, EffectFlanger>},
    {"Chorus", true, &Make<Effect, EffectChorus>},
    {"Delay", true, &Make<Effect, EffectDelay>},
    {"Reverb", true, &Make<Effect, EffectReverb>},
    {"Reverb Lite", true, &Make<Effect, EffectReverbLite>},
};

// Engine name → library path, per kind, filled by the scan and kept for the program's life.
using PluginTable = std::map<std::string, std::string>;

struct PluginTables {
    PluginTable instruments;
    PluginTable effects;
    bool scanned = false;
};

PluginTables& Tables()
{
    static PluginTables tables;
    return tables;
}

// What differs between instruments and effects.
struct InstrumentKind {
    using Target = Instrument;
    using Plugin = InstrumentPlugin;
    static constexpr const char* kMask = "*.Instrument";
    static constexpr std::string_view kCreateFailed = kCreateInstrumentFailed;
    static std::span<const BuiltInEngine<Instrument>> BuiltIns() { return kBuiltInInstruments; }
    static PluginTable& Plugins() { return Tables().instruments; }
};

struct EffectKind {
    using Target = Effect;
    using Plugin = EffectPlugin;
    static constexpr const char* kMask = "*.Effect";
    static constexpr std::string_view kCreateFailed = kCreateEffectFailed;
    static std::span<const BuiltInEngine<Effect>> BuiltIns() { return kBuiltInEffects; }
    static PluginTable& Plugins() { return Tables().effects; }
};

template <class Kind>
const BuiltInEngine<typename Kind::Target>* FindBuiltIn(const std::string& engineName)
{
    for (const auto& engine : Kind::BuiltIns()) {
        if (engineName == engine.engineName)
            return &engine;
    }
    return nullptr;
}

// Registers every library of the kind below the plug-ins folder; the number registered. A
// library is opened for its information only. One reporting a built-in name is left out, since
// that name always creates the built-in engine.
template <class Kind>
int ScanKind(const std::string& folder)
{
    int count = 0;
    for (const std::string& path : ScanFiles(folder, Kind::kMask)) {
        typename Kind::Plugin probe;
        if (!probe.Load(path, false))
            continue;
        const std::string engineName = probe.GetEngineName();
        if (engineName.empty() || FindBuiltIn<Kind>(engineName))
            continue;
        Kind::Plugins()[engineName] = path;
        ++count;
    }
    return count;
}

void EnsureScanned()
{
    if (!Tables().scanned)
        SeqEventTargetFactory::RescanPlugins();
}

template <class Kind>
std::unique_ptr<typename Kind::Target> CreatePlugin(const std::string& engineName)
{
    EnsureScanned();
    const auto found = Kind::Plugins().find(engineName);
    if (found == Kind::Plugins().end()) {
        Shell().MessageBox(FormatText(kPluginNotFound, {engineName}), "Jorvo", MessageButtons::Ok,
                           MessageIcon::Error);
        return nullptr;
    }
    auto plugin = std::make_unique<typename Kind::Plugin>();
    if (!plugin->Load(found->second, true))
        return nullptr;
    return plugin;
}

template <class Kind>
std::unique_ptr<typename Kind::Target> Create(const std::string& engineName)
{
    try {
        if (engineName.empty())
            return nullptr;
        if (const auto* builtIn = FindBuiltIn<Kind>(engineName))
            return builtIn->create();
        return CreatePlugin<Kind>(engineName);
    } catch (const std::exception& error) {
        const std::string text = std::string(error.what()).substr(0, kMaxErrorText);
        Shell().MessageBox(FormatText(Kind::kCreateFailed, {engineName, text}), "Jorvo", MessageButtons::Ok,
                           MessageIcon::Error);
        return nullptr;
    }
}

template <class Kind>
std::unique_ptr<typename Kind::Target> CreateFromXML(CXMLArchive& archive)
{
    std::string engineName;
    if (!archive.Read("Engine", engineName))
        return nullptr;
    auto target = Create<Kind>(engineName);
    if (target)
        target->SerializeXML(archive);
    return target;
}

template <class Kind>
std::vector<std::string> List()
{
    EnsureScanned();
    std::vector<std::string> names;
    for (const auto& engine : Kind::BuiltIns()) {
        if (engine.offered)
            names.emplace_back(engine.engineName);
    }
    for (const auto& [engineName, path] : Kind::Plugins())
        names.push_back(engineName);
    return names;
}

template <class Kind>
std::optional<std::string> FindPlugin(const std::string& engineName)
{
    EnsureScanned();
    const auto found = Kind::Plugins().find(engineName);
    if (found == Kind::Plugins().end())
        return std::nullopt;
    return found->second;
}

// Reads the opening mark; when it is not "EDCB", moves the stream back to where it stood.
bool ReadStreamMark(BinaryArchive& archive)
{
    if (archive.BytesAvailable() < kStreamMark.size())
        return false;
    archive.Flush();
    const std::uint64_t start = archive.Stream().Position();
    std::array<std::uint8_t, 4> mark{};
    archive.ReadBytes(mark.data(), mark.size());
    if (mark == kStreamMark)
        return true;
    archive.Flush();
    archive.Stream().Seek(start);
    return false;
}

// Reads byte by byte until the last four bytes read are the end marker, so whatever the target
// did not read is skipped. Raises ArchiveException (EndOfFile) when the stream ends first.
void SkipToEndMarker(BinaryArchive& archive)
{
    std::array<std::uint8_t, 4> last{};
    std::size_t read = 0;
    while (read < last.size() || last != kEndMarker) {
        std::rotate(last.begin(), last.begin() + 1, last.end());
        last.back() = archive.ReadByte();
        ++read;
    }
}

template <class Kind>
std::unique_ptr<typename Kind::Target> LoadTarget(BinaryArchive& archive)
{
    if (!ReadStreamMark(archive))
        return nullptr;
    try {
        auto target = Create<Kind>(archive.ReadString());
        if (target)
            target->Serialize(archive);
        SkipToEndMarker(archive);
        return target;
    } catch (const std::exception&) {
        // A member that failed part way is skipped up to its end marker, so the members after it
        // can still be read; when the marker never comes, the stream is left where it ended.
        try {
            SkipToEndMarker(archive);
        } catch (const std::exception&) {
        }
        return nullptr;
    }
}

} // namespace

std::unique_ptr<Instrument> SeqEventTargetFactory::CreateInstrument(const std::string& engineName)
{
    return Create<InstrumentKind>(engineName);
}

std::unique_ptr<Effect> SeqEventTargetFactory::CreateEffect(const std::string& engineName)
{
    return Create<EffectKind>(engineName);
}

std::unique_ptr<Instrument> SeqEventTargetFactory::CreateInstrumentFromXML(CXMLArchive& archive)
{
    return CreateFromXML<InstrumentKind>(archive);
}

std::unique_ptr<Effect> SeqEventTargetFactory::CreateEffectFromXML(CXMLArchive& archive)
{
    return CreateFromXML<EffectKind>(archive);
}

void SeqEventTargetFactory::StoreTarget(BinaryArchive& archive, SeqEventTarget* target)
{
    archive.WriteBytes(kStreamMark.data(), kStreamMark.size());
    archive.WriteString(target ? target->GetEngineName() : std::string());
    if (target)
        target->Serialize(archive);
    archive.WriteBytes(kEndMarker.data(), kEndMarker.size());
}

std::unique_ptr<Instrument> SeqEventTargetFactory::LoadInstrument(BinaryArchive& archive)
{
    return LoadTarget<InstrumentKind>(archive);
}

std::unique_ptr<Effect> SeqEventTargetFactory::LoadEffect(BinaryArchive& archive)
{
    return LoadTarget<EffectKind>(archive);
}

int SeqEventTargetFactory::RescanPlugins()
{
    PluginTables& tables = Tables();
    tables.instruments.clear();
    tables.effects.clear();
    const std::string folder = Configuration().GetPluginsDir();
    const int count = ScanKind<InstrumentKind>(folder) + ScanKind<EffectKind>(folder);
    tables.scanned = true;
    return count;
}

std::vector<std::string> SeqEventTargetFactory::ListInstruments()
{
    return List<InstrumentKind>();
}

std::vector<std::string> SeqEventTargetFactory::ListEffects()
{
    return List<EffectKind>();
}

std::optional<std::string> SeqEventTargetFactory::FindInstrumentPlugin(const std::string& engineName)
{
    return FindPlugin<InstrumentKind>(engineName);
}

std::optional<std::string> SeqEventTargetFactory::FindEffectPlugin(const std::string& engineName)
{
    return FindPlugin<EffectKind>(engineName);
}

} // namespace jorvo
