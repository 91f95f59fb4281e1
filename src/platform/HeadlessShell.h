#pragma once
// The shell of batch commands: every message goes to standard error, every question gets the
// answer that loses nothing, every dialog answers Cancel, and no view is ever created.
#include "platform/ShellServices.h"

namespace jorvo {

class HeadlessShell : public ShellServices {
public:
    MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                             MessageIcon icon, std::optional<MessageAnswer> safeAnswer) override;

    std::optional<std::string> PromptName(const std::string& title, const std::string& initialText) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    void BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    bool SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam) override;

    ViewId CreateView(const ViewRequest& request) override;
    bool SetViewTitle(ViewId view, const std::string& title) override;
    void RefreshView(ViewId view) override;
    void RemoveView(ViewId view) override;

    std::optional<AudioOutputChoice> AudioOutputOptions(const AudioOutputOptionsRequest& request) override;
    std::optional<SelectResult> SelectFromList(const SelectRequest& request) override;
    bool EditPresets(const PresetDialogRequest& request) override;
    std::optional<PatternPick> PickPattern(const PickPatternRequest& request) override;
    std::optional<std::size_t> SelectPresetBank(const SelectPresetBankRequest& request) override;
    bool ShowFileBrowser(const FileBrowserRequest& request) override;
    void CloseFileBrowser(const void* owner) override;
    std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& startFolder) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
};

} // namespace jorvo
