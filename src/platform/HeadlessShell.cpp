#include "platform/HeadlessShell.h"

#include <cstdio>

namespace jorvo {

MessageAnswer HeadlessShell::MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                        MessageIcon, std::optional<MessageAnswer> safeAnswer)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return UnattendedAnswer(buttons, safeAnswer);
}

std::optional<std::string> HeadlessShell::PromptName(const std::string&, const std::string&)
{
    return std::nullopt;
}

void HeadlessShell::BeginWaitCursor() {}

void HeadlessShell::EndWaitCursor() {}

void HeadlessShell::BroadcastMessage(WindowMessage, WParam, LParam) {}

bool HeadlessShell::SendToTargetView(const void*, WindowMessage, WParam, LParam)
{
    return false;
}

ViewId HeadlessShell::CreateView(const ViewRequest&)
{
    return kNoView;
}

bool HeadlessShell::SetViewTitle(ViewId, const std::string&)
{
    return false;
}

void HeadlessShell::RefreshView(ViewId) {}

void HeadlessShell::RemoveView(ViewId) {}

std::optional<AudioOutputChoice> HeadlessShell::AudioOutputOptions(const AudioOutputOptionsRequest&)
{
    return std::nullopt;
}

std::optional<SelectResult> HeadlessShell::SelectFromList(const SelectRequest&)
{
    return std::nullopt;
}

bool HeadlessShell::EditPresets(const PresetDialogRequest&)
{
    return false;
}

std::optional<PatternPick> HeadlessShell::PickPattern(const PickPatternRequest&)
{
    return std::nullopt;
}

std::optional<std::size_t> HeadlessShell::SelectPresetBank(const SelectPresetBankRequest&)
{
    return std::nullopt;
}

bool HeadlessShell::ShowFileBrowser(const FileBrowserRequest&)
{
    return false;
}

void HeadlessShell::CloseFileBrowser(const void*) {}

std::optional<std::string> HeadlessShell::BrowseForFolder(const std::string&, const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> HeadlessShell::ChooseFile(const FileDialogRequest&)
{
    return std::nullopt;
}

} // namespace jorvo
