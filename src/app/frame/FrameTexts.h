#pragma once
// Texts of the studio window: menus, commands, file dialogs, status strip, help, splash and about
// box. Placeholders ("%s", "%d") are filled with FormatText or FormatNumbers.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/ShellRequests.h"

namespace jorvo::FrameTexts {

// Menus and their items.
inline constexpr char kFileMenu[] = "File";
inline constexpr char kToolsMenu[] = "Tools";
inline constexpr char kViewsMenu[] = "Views";
inline constexpr char kNew[] = "&New";
inline constexpr char kOpen[] = "Open...";
inline constexpr char kSave[] = "Save";
inline constexpr char kSaveAs[] = "Save As...";
inline constexpr char kImportXml[] = "Import XML...";
inline constexpr char kExportXml[] = "Export As XML...";
inline constexpr char kExportAudio[] = "Export As Audio...";
inline constexpr char kExportMidi[] = "Export As MIDI...";
inline constexpr char kExit[] = "Exit";
inline constexpr char kAudioOutput[] = "Audio Output...";
inline constexpr char kResetAudio[] = "Reset Audio";
inline constexpr char kOptions[] = "Options...";
inline constexpr char kAbout[] = "About Jorvo...";
inline constexpr char kHelp[] = "Help";
inline constexpr char kStatusBar[] = "Status Bar";

// The command bar's buttons.
inline constexpr char kListSequencerViews[] = "List the Sequencer Views";
inline constexpr char kListInstruments[] = "List the Instruments";
inline constexpr char kListEffects[] = "List the Effects";
inline constexpr char kDisplayMixer[] = "Display the Mixer";
inline constexpr char kStartPause[] = "Start/Pause the Sequencer";
inline constexpr char kStopRewind[] = "Stop/Rewind the Sequencer";

// Context menus of the views.
inline constexpr char kDeleteInstrument[] = "Delete Instrument";
inline constexpr char kDeleteEffect[] = "Delete Effect";
inline constexpr char kLoadPreset[] = "Load Preset...";
inline constexpr char kSavePreset[] = "Save Preset...";
inline constexpr char kRename[] = "Rename";
inline constexpr char kAddInstrument[] = "Add Instrument";
inline constexpr char kAddEffect[] = "Add Effect";
inline constexpr char kSelectInstrument[] = "Select Instrument";
inline constexpr char kSelectEffect[] = "Select Effect";
// An instrument or effect view whose skin is missing (engine name).
inline constexpr char kNoTargetSkin[] =
    "No screen was found for %s. Hold the pen here (or right-click) for presets and other commands.";

// File dialogs.
inline constexpr char kOpenTitle[] = "Open";
inline constexpr char kSaveAsTitle[] = "Save As";
inline constexpr char kImportXmlTitle[] = "Import XML";
inline constexpr char kExportXmlTitle[] = "Export as XML";
inline constexpr char kExportMidiTitle[] = "Export as Midi";
inline const std::vector<FileFilter> kDocumentFilters{{"Jorvo Files", "*.jorvo"}, {"All Files", "*.*"}};
inline const std::vector<FileFilter> kXmlFilters{{"XML Files", "*.xml"}, {"Notes", "*.pwi"}, {"All Files", "*.*"}};
inline const std::vector<FileFilter> kMidiFilters{{"Midi Files", "*.mid"}, {"All Files", "*.*"}};
inline constexpr char kXmlExtension[] = ".xml";
inline constexpr char kMidiExtension[] = ".mid";

// The question before the document is replaced or the program ends (document title).
inline constexpr char kSaveChanges[] = "Save changes to %s?";

// Status strip.
inline constexpr char kMemory[] = "Mem: %02d%%";
inline constexpr char kNoSongPosition[] = "--:--";
inline constexpr char kSongPosition[] = "%03d:%02d";
inline constexpr char kUnderruns[] = "Underruns: %d";

// Help.
inline constexpr char kHelpFile[] = "Jorvo.htm";
inline constexpr char kHelpCaption[] = "Jorvo Help";
inline constexpr char kHelpMissing[] = "The help file %s could not be found.";

// Splash window and about box.
inline constexpr char kSplashText[] = "Jorvo\nPocket Music Studio\nFor PocketPC's";
inline constexpr char kSplashImage[] = "skins.dat";
inline constexpr char kAboutTitle[] = "About Jorvo";
inline constexpr char kVersion[] = "Jorvo Version: %d.%d.%d.%d";

// `pattern` (one of the numeric texts above) filled with `numbers`.
template <class... Numbers>
std::string FormatNumbers(const char* pattern, Numbers... numbers)
{
    char text[64];
    std::snprintf(text, sizeof(text), pattern, static_cast<int>(numbers)...);
    return text;
}

} // namespace jorvo::FrameTexts
