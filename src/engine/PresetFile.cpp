#include "engine/PresetFile.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "document/XMLArchive.h"
#include "engine/EngineMessages.h"
#include "engine/PresetModel.h"
#include "engine/SeqEventTarget.h"
#include "engine/TargetPaths.h"
#include "platform/Paths.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"

namespace jorvo {
namespace {

constexpr char kRootElement[] = "PresetFile";

// Asks `question` about the file at `path`; on Yes deletes it. True when it is gone.
bool AgreeToReset(std::string_view question, const std::string& path)
{
    if (Shell().MessageBox(FormatText(question, {path}), "Jorvo", MessageButtons::YesNo, MessageIcon::Question,
                           MessageAnswer::No) != MessageAnswer::Yes)
        return false;
    std::error_code error;
    std::filesystem::remove(path, error);
    return !error;
}

// Gives `archive` a new document: root "PresetFile" holding the default bank, to be written to
// `path`. The archive stays positioned on the root.
bool StartFreshFile(CXMLArchive& archive, void* owner, const std::string& path)
{
    std::string rootName;
    if (archive.GetRootName(rootName) && !archive.Reset())
        return false;
    if (!archive.Open(owner, path, CXMLArchive::kStore) || !archive.CreateRoot(kRootElement))
        return false;
    CXMLArchive bank(archive);
    return bank.CreateChild("PresetList");
}

} // namespace

bool OpenPresetFile(SeqEventTarget& target, CXMLArchive& archive)
{
    const std::string path = GetPresetPath(target.GetEngineName(), target.GetTypeName());
    if (FileExists(path)) {
        if (!archive.Open(&target, path, CXMLArchive::kLoad)) {
            if (!AgreeToReset(kAskResetUnreadablePresetFile, path))
                return false;
        } else if (!archive.IsCurrent(kRootElement)) {
            if (!AgreeToReset(kAskResetBadPresetFile, path))
                return false;
        } else {
            return true;
        }
    }
    return StartFreshFile(archive, &target, path);
}

bool EditPresets(SeqEventTarget& target, PresetDialogMode mode)
{
    CXMLArchive archive;
    if (!OpenPresetFile(target, archive))
        return false;
    PresetModel model(archive, target);
    PresetDialogRequest request;
    request.model = &model;
    request.mode = mode;
    return Shell().EditPresets(request) && model.Commit();
}

} // namespace jorvo
