#pragma once
// What the core hands the user interface when it asks for a view or a dialog, and what it gets
// back. Plain data, free of any toolkit, so the Qt, headless and recording shells share them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace jorvo {

// Models that the dialogs drive; the engine and sequencer define them.
class PresetModel;
class PatternBankList;
class SeqEventPattern;

// An opaque number naming a view the shell created for the core; kNoView when none.
using ViewId = std::uintptr_t;
inline constexpr ViewId kNoView = 0;

// A view the core asks for.
struct ViewRequest {
    // The view's class keyword: "InstrumentView", "EffectView", "MixerView", "SeqEditorView", "View"
    // or "JorvoView".
    std::string keyword;
    // The object the view shows and edits (instrument, effect, mixer, sequencer); may be null.
    void* target = nullptr;
    // For editor views, which description of the sequencer skin to build it from ("SongEditor",
    // "SectionEditor", "PatternEditor", "ParameterEditor"); empty otherwise.
    std::string skinSection;
    // The title shown in the Views menu and the frame.
    std::string title;
};

// One wave-out device offered in the audio output dialog.
struct AudioDeviceEntry {
    std::uint32_t index = 0;
    std::string name;
};

// The settings the audio output dialog edits.
struct AudioOutputChoice {
    std::uint32_t blockCount = 0;
    std::uint32_t blockSize = 0;
    std::uint32_t device = 0;
};

// The "Audio Output Options" dialog.
struct AudioOutputOptionsRequest {
    std::vector<AudioDeviceEntry> devices;
    AudioOutputChoice current;
    std::uint32_t sampleRate = 44100;
    // The latency read-out for the values shown.
    std::function<std::string(const AudioOutputChoice&)> latencyText;
    // Called on OK with the values entered; it may put fields back and returns false to keep the
    // dialog open. Without it OK always closes the dialog.
    std::function<bool(AudioOutputChoice&)> acceptOk;
};

// The selection dialog: a list to choose from and a name field ("Select Instrument",
// "Select Effect").
struct SelectRequest {
    std::string title;
    std::vector<std::string> choices;
    std::size_t selected = 0;
    std::string name;
};

// What the selection dialog was closed with.
struct SelectResult {
    std::size_t choice = 0;
    std::string name;
};

enum class PresetDialogMode { Load, Save };

// The preset dialog; every change it makes goes through `model`.
struct PresetDialogRequest {
    PresetModel* model = nullptr;
    PresetDialogMode mode = PresetDialogMode::Load;
    std::string title = "Preset";
};

// The pattern selection dialog over the pattern banks.
struct PickPatternRequest {
    PatternBankList* banks = nullptr;
    std::string title = "Select Pattern";
};

// The pattern chosen in the pattern selection dialog.
struct PatternPick {
    SeqEventPattern* pattern = nullptr;
    // The dialog asked for an alias of the pattern rather than the pattern itself.
    bool asAlias = false;
};

// The bank selection dialog ("Select Preset Bank"), for presets and pattern banks alike.
struct SelectPresetBankRequest {
    std::string title = "Select Preset Bank";
    std::vector<std::string> banks;
    std::size_t selected = 0;
};

// The modeless file browser ("Select File", the sample browser). The chosen file is posted to
// `requester` as WM_TREE_DLG_SEL_PATH.
struct FileBrowserRequest {
    // The object keeping the browser; one browser per owner is reused.
    const void* owner = nullptr;
    // The element to notify of the choice.
    const void* requester = nullptr;
    // The file or folder selected when the browser opens.
    std::string startPath;
    std::string mask = "*.*";
    std::string title = "Select File";
};

// One entry of a file dialog's type list.
struct FileFilter {
    std::string name;    // "Wav Files"
    std::string pattern; // "*.wav"
};

enum class FileDialogMode { Open, Save };

// A modal open-file or save-file dialog.
struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string title;
    std::vector<FileFilter> filters;
    std::string initialPath;
};

} // namespace jorvo
