#include "app/BatchCommands.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>
#include <unistd.h>

#include "app/BatchMessages.h"
#include "app/JorvoDoc.h"
#include "audio/AudioOutputMME.h"
#include "document/Configuration.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/SongRenderer.h"
#include "engine/SoundStudio.h"
#include "platform/AsciiText.h"
#include "platform/TextFormat.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "sequencer/TimeText.h"

namespace jorvo {
namespace {

std::atomic<bool> playInterrupted{false};

constexpr auto kPollInterval = std::chrono::milliseconds(50);
constexpr int kProgressWidth = 40;

// A command line split into its positional arguments and the "-o" file.
struct Arguments {
    std::vector<std::string> positional;
    std::string output;
    bool help = false;
    bool valid = true;
};

Arguments ParseArguments(const std::vector<std::string>& words)
{
    Arguments arguments;
    for (std::size_t at = 1; at < words.size(); ++at) {
        if (words[at] == "--help" || words[at] == "-h")
            arguments.help = true;
        else if (words[at] == "-o" && at + 1 < words.size() && arguments.output.empty())
            arguments.output = words[++at];
        else if (!words[at].empty() && words[at][0] == '-')
            arguments.valid = false;
        else
            arguments.positional.push_back(words[at]);
    }
    return arguments;
}

// What one command needs: its name, its usage line, how many positional arguments it takes,
// whether it takes "-o", and what it does.
struct Command {
    const char* name;
    const char* usage;
    std::size_t minimum;
    std::size_t maximum;
    bool takesOutput;
    std::function<int(const Arguments&, std::ostream&, std::ostream&)> run;
};

bool IsXmlDocument(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == ".xml")
        return true;
    // A native file starts with its header (or, from old versions, with binary counts); an XML
    // document with its declaration or root element.
    std::ifstream file(path, std::ios::binary);
    char start[5] = {};
    file.read(start, sizeof(start));
    return file.gcount() == sizeof(start) && std::string(start, sizeof(start)) == "<?xml";
}

// Reads `path` into `document`; false (said on `err`) when it cannot.
bool LoadDocument(CJorvoDoc& document, const std::string& path, std::ostream& err)
{
    const bool loaded = IsXmlDocument(path) ? document.ImportXML(path) : document.OpenDocument(path);
    if (!loaded)
        err << FormatText(BatchMessages::kCannotRead, {path}) << '\n';
    return loaded;
}

std::string OutputPath(const Arguments& arguments, const char* extension)
{
    if (!arguments.output.empty())
        return arguments.output;
    return std::filesystem::path(arguments.positional[0]).replace_extension(extension).string();
}

int Finish(bool written, const std::string& path, std::ostream& out, std::ostream& err)
{
    if (!written) {
        err << FormatText(BatchMessages::kCannotWrite, {path}) << '\n';
        return kExitFailed;
    }
    out << FormatText(BatchMessages::kWritten, {path}) << '\n';
    return kExitDone;
}

int ExportMidi(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CJorvoDoc document;
    if (!LoadDocument(document, arguments.positional[0], err))
        return kExitFailed;
    const std::string path = OutputPath(arguments, ".mid");
    return Finish(document.ExportMIDI(path), path, out, err);
}

int ExportXml(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CJorvoDoc document;
    if (!LoadDocument(document, arguments.positional[0], err))
        return kExitFailed;
    const std::string path = OutputPath(arguments, ".xml");
    return Finish(document.ExportXML(path), path, out, err);
}

int ImportXml(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CJorvoDoc document;
    if (!document.ImportXML(arguments.positional[0])) {
        err << FormatText(BatchMessages::kCannotRead, {arguments.positional[0]}) << '\n';
        return kExitFailed;
    }
    const std::string path = arguments.output.empty() ? document.GetPathName() : arguments.output;
    return Finish(document.SaveDocument(path), path, out, err);
}

int Info(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CJorvoDoc document;
    if (!LoadDocument(document, arguments.positional[0], err))
        return kExitFailed;
    SoundStudio& studio = *document.GetStudio();
    Sequencer& sequencer = studio.GetSequencer();
    const SeqEventSong& song = *sequencer.GetSong();
    out << "Document:    " << arguments.positional[0] << '\n'
        << "Tempo:       " << SequencerSettings::GetTempo() << " bpm\n"
        << "Signature:   " << SequencerSettings::GetBeatsPerBar() << "/4, "
        << SequencerSettings::GetPulsesPerQuarterNote() << " pulses per quarter note\n"
        << "Song:        " << song.GetName() << ", length " << LengthToText(song.GetLength()) << '\n';
    out << "Instruments: " << studio.Instruments().size() << '\n';
    for (const auto& instrument : studio.Instruments())
        out << "  " << instrument->GetName() << " (" << instrument->GetEngineName() << ")\n";
    out << "Effects:     " << studio.Effects().size() << '\n';
    for (const auto& effect : studio.Effects())
        out << "  " << effect->GetName() << " (" << effect->GetEngineName() << ")\n";
    out << "Sections:    " << sequencer.Sections().size() << '\n';
    for (const auto& [name, section] : sequencer.Sections())
        out << "  " << name << ", length " << LengthToText(section->GetLength()) << '\n';
    out << "Patterns:    " << sequencer.Patterns().size() << '\n';
    for (const auto& [name, pattern] : sequencer.Patterns())
        out << "  " << name << ", length " << LengthToText(pattern->GetLength()) << '\n';
    return kExitDone;
}

// Draws "[####....]  42%" over the previous bar; only on a terminal.
void DrawProgress(std::ostream& err, std::uint32_t done, std::uint32_t total)
{
    if (::isatty(STDERR_FILENO) == 0 || total == 0)
        return;
    const std::uint64_t percent = std::min<std::uint64_t>(100, std::uint64_t{done} * 100 / total);
    const int filled = static_cast<int>(percent * kProgressWidth / 100);
    err << "\r[" << std::string(filled, '#') << std::string(kProgressWidth - filled, '.') << "] " << percent << "%"
        << std::flush;
}

// Plays the song once from its start while `keepGoing` says so, drawing the progress.
void PlaySongOnce(Sequencer& sequencer, std::ostream& err, const std::function<bool()>& keepGoing)
{
    const std::uint32_t length = sequencer.GetSong()->GetLength();
    sequencer.SetLoop(false);
    sequencer.SetPlayRange(nullptr, 0);
    sequencer.Play();
    while (sequencer.IsPlaying() && keepGoing()) {
        DrawProgress(err, sequencer.GetSongPosition(), length);
        std::this_thread::sleep_for(kPollInterval);
    }
    sequencer.Stop();
    DrawProgress(err, length, length);
    if (::isatty(STDERR_FILENO) != 0)
        err << '\n';
}

// The render's front end on a terminal: the file comes from the command line, nothing is asked,
// progress is a bar on standard error, Ctrl-C cancels, and the outcome text is collected.
class TerminalRenderFrontEnd : public RenderFrontEnd {
public:
    TerminalRenderFrontEnd(std::string path, std::ostream& progress) : path_(std::move(path)), progress_(progress) {}

    std::optional<std::string> ChooseFile(const std::string&) override { return path_; }
    bool Confirm(const std::string&) override { return true; }
    void BeginProgress(std::uint32_t start, std::uint32_t end) override
    {
        start_ = start;
        end_ = end;
    }
    void SetProgress(std::uint32_t pulse) override { DrawProgress(progress_, pulse - start_, end_ - start_); }
    bool CancelRequested() override { return playInterrupted.load(); }
    void EndProgress() override
    {
        if (::isatty(STDERR_FILENO) != 0)
            progress_ << '\n';
    }
    void ShowResult(const std::string& text) override { result_ = text; }

    // The outcome text the render showed; empty when none.
    const std::string& Result() const { return result_; }

private:
    std::string path_;
    std::ostream& progress_;
    std::uint32_t start_ = 0;
    std::uint32_t end_ = 0;
    std::string result_;
};

// Renders the whole song once through the same procedure as the studio window's "Export As Audio".
int Render(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CJorvoDoc document;
    if (!LoadDocument(document, arguments.positional[0], err))
        return kExitFailed;
    SoundStudio& studio = *document.GetStudio();
    studio.GetSequencer().SetPlayRange(nullptr, 0);
    playInterrupted = false;
    TerminalRenderFrontEnd frontEnd(OutputPath(arguments, ".wav"), err);
    const bool rendered = SongRenderer(studio, frontEnd).Run({}) == RenderOutcome::Rendered;
    (rendered ? out : err) << frontEnd.Result() << '\n';
    return rendered ? kExitDone : kExitFailed;
}

// The name of the device the studio's real-time output plays through; "none" without one.
std::string OutputDeviceName(SoundStudio& studio)
{
    const auto* output = dynamic_cast<const AudioOutputMME*>(&studio.GetOutput());
    if (!output)
        return "none";
    return AudioDriver().DeviceName(output->Device()).value_or("none");
}

// Restarts the studio's real-time output on the device named `name`; false (said on `err`, with
// the names of every device) when no device of that name takes the output's format.
bool UseDevice(SoundStudio& studio, const std::string& name, std::ostream& err)
{
    auto* output = dynamic_cast<AudioOutputMME*>(&studio.GetOutput());
    WaveOutDriver& driver = AudioDriver();
    std::string names;
    for (std::uint32_t index = 0; index < driver.DeviceCount(); ++index) {
        const std::string device = driver.DeviceName(index).value_or("");
        if (output && device == name) {
            output->Stop();
            if (output->SelectDevice(index))
                return output->Start();
        }
        names += (names.empty() ? "'" : ", '") + device + "'";
    }
    err << FormatText(BatchMessages::kUnknownDevice, {name, names}) << '\n';
    return false;
}

int Play(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CJorvoDoc document(StudioOutput::RealTime);
    if (!LoadDocument(document, arguments.positional[0], err))
        return kExitFailed;
    playInterrupted = false;
    SoundStudio& studio = *document.GetStudio();
    if (!arguments.output.empty() && !UseDevice(studio, arguments.output, err))
        return kExitFailed;
    const auto start = std::chrono::steady_clock::now();
    PlaySongOnce(studio.GetSequencer(), err, [] { return !playInterrupted.load(); });
    const std::chrono::duration<double> played = std::chrono::steady_clock::now() - start;
    char seconds[32];
    std::snprintf(seconds, sizeof(seconds), "%.1f", played.count());
    out << FormatText(BatchMessages::kPlaySummary,
                      {seconds, OutputDeviceName(studio), std::to_string(studio.OutputUnderruns())})
        << '\n';
    return kExitDone;
}

// The settings `config` knows: the DWORDs with their defaults, then the strings.
constexpr DWordSetting kDWordSettings[] = {
    kFlashLEDSetting, kTapNHoldDelaySetting, kMinSongBpmSetting, kMaxSongBpmSetting,
    kDefaultSongBpmSetting, kDefaultSongBeatsPerBarSetting, kDefaultSongPpqnSetting,
    kDefaultSongLengthSetting, kDefaultTimingAccuracySetting, kMMEBlockCountSetting,
    kMMEBlockSizeSetting, kRunBeforeSetting};
constexpr const char* kStringSettings[] = {kDefaultDocDirSetting, kPluginsDirSetting, kPatternBankDirSetting,
                                           kSampleDirSetting, kSkinsDirSetting, kJorvoImageSetting};

const DWordSetting* FindDWordSetting(const std::string& name)
{
    for (const DWordSetting& setting : kDWordSettings) {
        if (EqualsIgnoringCase(setting.name, name))
            return &setting;
    }
    return nullptr;
}

const char* FindStringSetting(const std::string& name)
{
    for (const char* setting : kStringSettings) {
        if (EqualsIgnoringCase(setting, name))
            return setting;
    }
    return nullptr;
}

// The value in force of string setting `name`: the folders with their computed defaults.
std::string StringSettingValue(CConfiguration& config, const char* name)
{
    const std::string setting(name);
    if (setting == kDefaultDocDirSetting)
        return config.GetDefaultDocDir();
    if (setting == kPluginsDirSetting)
        return config.GetPluginsDir();
    if (setting == kPatternBankDirSetting)
        return config.GetPatternBankDir();
    if (setting == kSampleDirSetting)
        return config.GetSampleDir();
    if (setting == kSkinsDirSetting)
        return config.GetSkinsDir();
    return config.GetString(setting, std::string(kJorvoImageDefault));
}

int Config(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    CConfiguration& config = Configuration();
    if (arguments.positional.empty()) {
        for (const DWordSetting& setting : kDWordSettings)
            out << setting.name << " = " << config.GetDWORD(setting) << '\n';
        for (const char* setting : kStringSettings)
            out << setting << " = " << StringSettingValue(config, setting) << '\n';
        return kExitDone;
    }
    const std::string& name = arguments.positional[0];
    const DWordSetting* dword = FindDWordSetting(name);
    const char* text = FindStringSetting(name);
    if (dword == nullptr && text == nullptr) {
        err << FormatText(BatchMessages::kUnknownSetting, {name}) << '\n';
        return kExitFailed;
    }
    if (arguments.positional.size() == 1) {
        out << (dword ? std::to_string(config.GetDWORD(*dword)) : StringSettingValue(config, text)) << '\n';
        return kExitDone;
    }
    const std::string& value = arguments.positional[1];
    bool stored = false;
    if (dword != nullptr) {
        std::uint32_t number = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size() || value.empty()) {
            err << FormatText(BatchMessages::kNotANumber, {name}) << '\n';
            return kExitUsage;
        }
        stored = config.SetDWORD(dword->name, number);
    } else {
        stored = config.SetString(text, value);
    }
    if (!stored) {
        err << FormatText(BatchMessages::kCannotWrite, {config.Store().File()}) << '\n';
        return kExitFailed;
    }
    return kExitDone;
}

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"render", "render DOC [-o out.wav]", 1, 1, true, Render},
        {"play", "play DOC [-o DEVICE]", 1, 1, true, Play},
        {"export-midi", "export-midi DOC [-o out.mid]", 1, 1, true, ExportMidi},
        {"export-xml", "export-xml DOC [-o out.xml]", 1, 1, true, ExportXml},
        {"import-xml", "import-xml DOC.xml [-o out.jorvo]", 1, 1, true, ImportXml},
        {"info", "info DOC", 1, 1, false, Info},
        {"config", "config [NAME [VALUE]]", 0, 2, false, Config},
    };
    return commands;
}

} // namespace

void InterruptBatchPlay()
{
    playInterrupted = true;
}

int RunBatchCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        out << BatchMessages::kUsage;
        return kExitDone;
    }
    for (const Command& command : Commands()) {
        if (arguments[0] != command.name)
            continue;
        const Arguments parsed = ParseArguments(arguments);
        if (parsed.help) {
            out << "Usage: jorvo " << command.usage << '\n';
            return kExitDone;
        }
        if (!parsed.valid || parsed.positional.size() < command.minimum ||
            parsed.positional.size() > command.maximum || (!command.takesOutput && !parsed.output.empty())) {
            err << FormatText(BatchMessages::kBadArguments, {command.name, command.name}) << '\n';
            return kExitUsage;
        }
        return command.run(parsed, out, err);
    }
    err << FormatText(BatchMessages::kUnknownCommand, {arguments[0]}) << '\n' << BatchMessages::kUsage;
    return kExitUsage;
}

} // namespace jorvo
