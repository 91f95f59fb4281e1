#include "document/Configuration.h"

#include <memory>
#include <mutex>
#include <utility>

#include "platform/Paths.h"

namespace jorvo {
namespace {

// A folder as the program uses it: '/' separators, no trailing separator.
std::string NormalFolder(const std::string& folder)
{
    return RemoveTrailingSeparator(NormalizeSeparators(folder));
}

struct ProgramConfiguration {
    std::mutex lock;
    std::unique_ptr<CConfiguration> configuration;
};

ProgramConfiguration& Program()
{
    static ProgramConfiguration program;
    return program;
}

} // namespace

CConfiguration::CConfiguration(SettingsStore store, std::string programFolder)
    : settingsKey_(std::move(store)), programFolder_(std::move(programFolder))
{
    settingsKey_.Create(SettingsRoot::CurrentUser, kSettingsKey);
    tapNHoldDelay_ = GetDWORD(kTapNHoldDelaySetting);
    flashLED_ = GetDWORD(kFlashLEDSetting) != 0;
}

CConfiguration::~CConfiguration()
{
    settingsKey_.SetDWORD(kTapNHoldDelaySetting.name, tapNHoldDelay_.load());
    settingsKey_.SetBool(kFlashLEDSetting.name, flashLED_.load());
    settingsKey_.Close();
}

std::string CConfiguration::DefaultProgramFolder()
{
    return ProgramFolder();
}

std::uint32_t CConfiguration::GetDWORD(const std::string& name, std::uint32_t fallback)
{
    if (const std::optional<std::uint32_t> value = settingsKey_.QueryDWORD(name))
        return *value;
    if (fallback != kUnstoredDefault)
        settingsKey_.SetDWORD(name, fallback);
    return fallback;
}

bool CConfiguration::SetDWORD(const std::string& name, std::uint32_t value)
{
    return !name.empty() && settingsKey_.SetDWORD(name, value);
}

std::string CConfiguration::GetString(const std::string& name, const std::optional<std::string>& fallback)
{
    if (std::optional<std::string> value = settingsKey_.QueryString(name))
        return std::move(*value);
    if (!fallback)
        return {};
    settingsKey_.SetString(name, *fallback);
    return *fallback;
}

bool CConfiguration::SetString(const std::string& name, const std::string& value)
{
    return !name.empty() && settingsKey_.SetString(name, value);
}

bool CConfiguration::IsFirstRun()
{
    const bool firstRun = GetDWORD(kRunBeforeSetting) == 0;
    SetDWORD(kRunBeforeSetting.name, 1);
    return firstRun;
}

std::string CConfiguration::GetFolder(const char* name, const std::string& fallback)
{
    return NormalFolder(GetString(name, fallback));
}

bool CConfiguration::SetFolder(const char* name, const std::string& folder)
{
    const std::string normal = NormalFolder(folder);
    return !normal.empty() && SetString(name, normal);
}

std::string CConfiguration::GetDefaultDocDir()
{
    return GetFolder(kDefaultDocDirSetting, DefaultDocumentsFolder());
}

std::string CConfiguration::GetPluginsDir()
{
    return GetFolder(kPluginsDirSetting, JoinPath(programFolder_, "Plugins"));
}

std::string CConfiguration::GetDocumentSubfolder(const char* name, const char* subfolder)
{
    // The document folder is looked up only when the setting is missing and its default is needed.
    if (const std::optional<std::string> stored = settingsKey_.QueryString(name))
        return NormalFolder(*stored);
    return GetFolder(name, JoinPath(GetDocumentFolder(), subfolder));
}

std::string CConfiguration::GetPatternBankDir()
{
    return GetDocumentSubfolder(kPatternBankDirSetting, "PatternBanks");
}

std::string CConfiguration::GetSampleDir()
{
    return GetDocumentSubfolder(kSampleDirSetting, "Samples");
}

std::string CConfiguration::GetSkinsDir()
{
    return GetFolder(kSkinsDirSetting, JoinPath(programFolder_, "Skins"));
}

bool CConfiguration::SetDefaultDocDir(const std::string& folder)
{
    return SetFolder(kDefaultDocDirSetting, folder);
}

bool CConfiguration::SetPluginsDir(const std::string& folder)
{
    return SetFolder(kPluginsDirSetting, folder);
}

bool CConfiguration::SetPatternBankDir(const std::string& folder)
{
    return SetFolder(kPatternBankDirSetting, folder);
}

bool CConfiguration::SetSampleDir(const std::string& folder)
{
    return SetFolder(kSampleDirSetting, folder);
}

bool CConfiguration::SetSkinsDir(const std::string& folder)
{
    return SetFolder(kSkinsDirSetting, folder);
}

std::string CConfiguration::GetDocumentFolder()
{
    return documentFolder_.empty() ? GetDefaultDocDir() : documentFolder_;
}

void CConfiguration::SetDocumentFolder(const std::string& folder)
{
    documentFolder_ = NormalFolder(folder);
}

std::string CConfiguration::GetSkinFolder()
{
    return skinFolder_.empty() ? GetSkinsDir() : skinFolder_;
}

void CConfiguration::SetSkinFolder(const std::string& folder)
{
    skinFolder_ = NormalFolder(folder);
}

void CConfiguration::NotifyTimingAccuracy(std::uint32_t accuracy)
{
    if (timingAccuracyListener_)
        timingAccuracyListener_(accuracy);
}

CConfiguration& Configuration()
{
    ProgramConfiguration& program = Program();
    std::lock_guard guard(program.lock);
    if (!program.configuration)
        program.configuration = std::make_unique<CConfiguration>();
    return *program.configuration;
}

void ResetConfiguration()
{
    ProgramConfiguration& program = Program();
    std::lock_guard guard(program.lock);
    program.configuration.reset();
}

} // namespace jorvo
