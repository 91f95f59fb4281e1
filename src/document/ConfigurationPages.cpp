#include "document/ConfigurationPages.h"

#include "document/Configuration.h"
#include "document/ConfigurationMessages.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

// The timing accuracy of each list entry, in list order.
constexpr std::array<std::uint32_t, 4> kEntryAccuracies = {0, 1, 3, 7};

// The General page reads the timing accuracy with a default of its own: the first entry.
constexpr std::uint32_t kGeneralPageTimingDefault = 0;

CConfiguration& Chosen(CConfiguration* configuration)
{
    return configuration ? *configuration : Configuration();
}

void TellSettingsNotSaved(const CConfiguration& configuration)
{
    Shell().MessageBox(FormatText(kSettingsNotSaved, {configuration.Store().File()}), "Jorvo", MessageButtons::Ok,
                       MessageIcon::Error);
}

std::string TrimSpaces(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

int TimingEntryForAccuracy(std::uint32_t accuracy)
{
    for (std::size_t entry = 1; entry < kEntryAccuracies.size(); ++entry) {
        if (kEntryAccuracies[entry] == accuracy)
            return static_cast<int>(entry);
    }
    return 0;
}

std::uint32_t AccuracyForTimingEntry(int entry)
{
    if (entry < 0 || static_cast<std::size_t>(entry) >= kEntryAccuracies.size())
        return kEntryAccuracies[0];
    return kEntryAccuracies[static_cast<std::size_t>(entry)];
}

GeneralPageValues LoadGeneralPage(CConfiguration* configuration)
{
    CConfiguration& settings = Chosen(configuration);
    GeneralPageValues values;
    values.minBpm = settings.GetDWORD(kMinSongBpmSetting);
    values.maxBpm = settings.GetDWORD(kMaxSongBpmSetting);
    values.defaultBpm = settings.GetDWORD(kDefaultSongBpmSetting);
    values.beatsPerBar = settings.GetDWORD(kDefaultSongBeatsPerBarSetting);
    values.timingEntry =
        TimingEntryForAccuracy(settings.GetDWORD(kDefaultTimingAccuracySetting.name, kGeneralPageTimingDefault));
    values.popUpMenuDelay = settings.GetTapNHoldDelay();
    values.flashLED = settings.GetFlashLED();
    return values;
}

bool ApplyGeneralPage(const GeneralPageValues& values, CConfiguration* configuration)
{
    CConfiguration& settings = Chosen(configuration);
    const std::uint32_t accuracy = AccuracyForTimingEntry(values.timingEntry);
    // Every value is attempted even when one fails, so as much as possible is kept.
    bool stored = settings.SetDWORD(kMinSongBpmSetting.name, values.minBpm);
    stored &= settings.SetDWORD(kMaxSongBpmSetting.name, values.maxBpm);
    stored &= settings.SetDWORD(kDefaultSongBpmSetting.name, values.defaultBpm);
    stored &= settings.SetDWORD(kDefaultSongBeatsPerBarSetting.name, values.beatsPerBar);
    stored &= settings.SetDWORD(kDefaultTimingAccuracySetting.name, accuracy);
    settings.NotifyTimingAccuracy(accuracy);
    settings.SetTapNHoldDelay(values.popUpMenuDelay);
    settings.SetFlashLED(values.flashLED);
    if (!stored)
        TellSettingsNotSaved(settings);
    return stored;
}

FoldersPageValues LoadFoldersPage(CConfiguration* configuration)
{
    CConfiguration& settings = Chosen(configuration);
    FoldersPageValues values;
    values[FolderField::Document] = settings.GetDefaultDocDir();
    values[FolderField::Plugin] = settings.GetPluginsDir();
    values[FolderField::Sample] = settings.GetSampleDir();
    values[FolderField::Skins] = settings.GetSkinsDir();
    values[FolderField::PatternBank] = settings.GetPatternBankDir();
    return values;
}

std::optional<std::string> BrowseFolderField(const std::string& current)
{
    return Shell().BrowseForFolder(std::string(kBrowseForDirectory), current);
}

std::optional<std::string> ValidateFolderField(const std::string& typed)
{
    const std::string trimmed = TrimSpaces(typed);
    if (trimmed.empty()) {
        Shell().MessageBox(std::string(kEmptyDirectoryNotAllowed));
        return std::nullopt;
    }
    const std::string folder = NormalizeSeparators(RemoveTrailingSeparator(trimmed));
    if (FolderExists(folder))
        return folder;
    const MessageAnswer create = Shell().MessageBox(FormatText(kFolderDoesNotExist, {folder}), "Jorvo",
                                                    MessageButtons::YesNo, MessageIcon::Question);
    if (create != MessageAnswer::Yes)
        return std::nullopt;
    if (!CreateFolder(folder)) {
        Shell().MessageBox(FormatText(kFailedToCreateFolder, {folder}), "Jorvo", MessageButtons::Ok,
                           MessageIcon::Error);
        return std::nullopt;
    }
    return folder;
}

std::optional<FolderField> ApplyFoldersPage(FoldersPageValues& values, CConfiguration* configuration)
{
    for (std::size_t index = 0; index < kFolderFieldCount; ++index) {
        const std::optional<std::string> folder = ValidateFolderField(values.folders[index]);
        if (!folder)
            return static_cast<FolderField>(index);
        values.folders[index] = *folder;
    }
    CConfiguration& settings = Chosen(configuration);
    bool stored = settings.SetDefaultDocDir(values[FolderField::Document]);
    stored &= settings.SetPluginsDir(values[FolderField::Plugin]);
    stored &= settings.SetSampleDir(values[FolderField::Sample]);
    stored &= settings.SetSkinsDir(values[FolderField::Skins]);
    stored &= settings.SetPatternBankDir(values[FolderField::PatternBank]);
    if (stored)
        return std::nullopt;
    TellSettingsNotSaved(settings);
    return FolderField::Document;
}

} // namespace jorvo
