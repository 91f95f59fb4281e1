#pragma once
// The program's settings, kept in the settings store under "Software\Quistor\Jorvo\Settings" of
// the current user. Reading a setting that is missing stores its default, so the store always
// shows the values in force. Folder settings are read on each use, so a change made on the
// Folders page takes effect the next time a subsystem asks.
//
// Besides the stored settings the configuration keeps two folders apart: the current document
// folder (set by the document when it opens or saves a file; the sample and pattern-bank folders
// default below it) and the current skin folder (set by skin loading; the image search starts
// there).
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "document/RegistryKey.h"

namespace jorvo {

// The key holding every setting.
inline constexpr char kSettingsKey[] = "Software\\Quistor\\Jorvo\\Settings";

// A default passed to CConfiguration::GetDWORD that is returned without being stored.
inline constexpr std::uint32_t kUnstoredDefault = 0xDEF0;

// A DWORD setting: its name in the store and its default.
struct DWordSetting {
    const char* name;
    std::uint32_t fallback;
};

inline constexpr DWordSetting kFlashLEDSetting{"FlashLED", 0};
inline constexpr DWordSetting kTapNHoldDelaySetting{"TapNHoldDelay", 400};
inline constexpr DWordSetting kMinSongBpmSetting{"MinSongBpm", 30};
inline constexpr DWordSetting kMaxSongBpmSetting{"MaxSongBpm", 240};
inline constexpr DWordSetting kDefaultSongBpmSetting{"DefaultSongBpm", 120};
inline constexpr DWordSetting kDefaultSongBeatsPerBarSetting{"DefaultSongBeatsPerBar", 4};
inline constexpr DWordSetting kDefaultSongPpqnSetting{"DefaultSongPpqn", 480};
inline constexpr DWordSetting kDefaultSongLengthSetting{"DefaultSongLength", 16};
// The sequencer's default; the General page reads the same value with default 0.
inline constexpr DWordSetting kDefaultTimingAccuracySetting{"DefaultTimingAccuracy", 7};
inline constexpr DWordSetting kMMEBlockCountSetting{"MMEBlockCount", 16};
inline constexpr DWordSetting kMMEBlockSizeSetting{"MMEBlockSize", 1024};
inline constexpr DWordSetting kRunBeforeSetting{"RunBefore", 0};

// String settings; the folders' defaults are computed (see the folder getters).
inline constexpr char kDefaultDocDirSetting[] = "DefaultDocDir";
inline constexpr char kPluginsDirSetting[] = "PluginsDir";
inline constexpr char kPatternBankDirSetting[] = "PatternBankDir";
inline constexpr char kSampleDirSetting[] = "SampleDir";
inline constexpr char kSkinsDirSetting[] = "SkinsDir";
inline constexpr char kJorvoImageSetting[] = "JorvoImage";
inline constexpr char kJorvoImageDefault[] = "Splash.png";

class CConfiguration {
public:
    // Receives the timing accuracy chosen on the General page, at once. UI thread.
    using TimingAccuracyListener = std::function<void(std::uint32_t accuracy)>;

    // Opens (creating) the settings key of `store` and loads "TapNHoldDelay" and "FlashLED".
    // `programFolder` is the folder the plug-ins and skins folders default below.
    explicit CConfiguration(SettingsStore store = SettingsStore(), std::string programFolder = DefaultProgramFolder());
    // Writes the tap-and-hold delay and the LED option back to the store.
    ~CConfiguration();
    CConfiguration(const CConfiguration&) = delete;
    CConfiguration& operator=(const CConfiguration&) = delete;

    // The running program's folder.
    static std::string DefaultProgramFolder();

    // The DWORD `name`; when missing, `fallback` is stored (unless it is kUnstoredDefault) and
    // returned. A value that cannot be read counts as missing.
    std::uint32_t GetDWORD(const std::string& name, std::uint32_t fallback);
    // The DWORD setting `setting`, with its own default.
    std::uint32_t GetDWORD(const DWordSetting& setting) { return GetDWORD(setting.name, setting.fallback); }
    // Stores DWORD `value` as `name`. False when it cannot be stored.
    bool SetDWORD(const std::string& name, std::uint32_t value);

    // The string `name`; when missing, `fallback` is stored and returned when given, else "".
    std::string GetString(const std::string& name, const std::optional<std::string>& fallback = std::nullopt);
    // Stores string `value` as `name`. False for an empty name or when it cannot be stored.
    bool SetString(const std::string& name, const std::string& value);

    // True on the very first start: reads "RunBefore" (default 0), then stores 1.
    bool IsFirstRun();

    // The folder settings, '\' read as '/', without a trailing separator. Defaults:
    // DefaultDocDir $HOME/Documents/Jorvo; PluginsDir and SkinsDir the program folder + "/Plugins"
    // and "/Skins"; SampleDir and PatternBankDir the current document folder + "/Samples" and
    // "/PatternBanks" at the time of the call.
    std::string GetDefaultDocDir();
    std::string GetPluginsDir();
    std::string GetPatternBankDir();
    std::string GetSampleDir();
    std::string GetSkinsDir();

    // Store a folder setting with '/' separators and without a trailing separator. False for an
    // empty folder or when it cannot be stored.
    bool SetDefaultDocDir(const std::string& folder);
    bool SetPluginsDir(const std::string& folder);
    bool SetPatternBankDir(const std::string& folder);
    bool SetSampleDir(const std::string& folder);
    bool SetSkinsDir(const std::string& folder);

    // The running program's folder, as given at creation.
    const std::string& GetProgramFolder() const { return programFolder_; }

    // The folder of the open document; until the document sets one, the DefaultDocDir setting.
    std::string GetDocumentFolder();
    // Sets the folder of the open document (without a trailing separator). UI thread.
    void SetDocumentFolder(const std::string& folder);
    // The folder of the skin being loaded; until skin loading sets one, the SkinsDir setting.
    std::string GetSkinFolder();
    // Sets the folder of the skin being loaded. UI thread.
    void SetSkinFolder(const std::string& folder);

    // The tap-and-hold delay in milliseconds. Any thread.
    std::uint32_t GetTapNHoldDelay() const { return tapNHoldDelay_.load(); }
    // Sets the tap-and-hold delay; stored when the configuration is destroyed. UI thread.
    void SetTapNHoldDelay(std::uint32_t milliseconds) { tapNHoldDelay_.store(milliseconds); }
    // True when the LED flashes on every beat. Any thread (the sequencer reads it while rendering).
    bool GetFlashLED() const { return flashLED_.load(); }
    // Sets the LED option; stored when the configuration is destroyed. UI thread.
    void SetFlashLED(bool flash) { flashLED_.store(flash); }

    // Registers the sequencer's receiver of timing-accuracy changes (an empty one unregisters).
    void SetTimingAccuracyListener(TimingAccuracyListener listener) { timingAccuracyListener_ = std::move(listener); }
    // Hands `accuracy` to the registered receiver, if any. UI thread.
    void NotifyTimingAccuracy(std::uint32_t accuracy);

    // The store the settings live in.
    const SettingsStore& Store() const { return settingsKey_.Store(); }

private:
    std::string GetFolder(const char* name, const std::string& fallback);
    std::string GetDocumentSubfolder(const char* name, const char* subfolder);
    bool SetFolder(const char* name, const std::string& folder);

    RegistryKey settingsKey_;
    std::string programFolder_;
    std::string documentFolder_;
    std::string skinFolder_;
    std::atomic<std::uint32_t> tapNHoldDelay_;
    std::atomic<bool> flashLED_;
    TimingAccuracyListener timingAccuracyListener_;
};

// The program's configuration, created on first use from the default settings store.
CConfiguration& Configuration();

// Destroys the program's configuration (which stores its two remembered values); the next call
// of Configuration() creates a fresh one, reading the settings store location again. For program
// exit and tests; no reference to the old configuration may be used afterwards.
void ResetConfiguration();

} // namespace jorvo
