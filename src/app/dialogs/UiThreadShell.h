#pragma once
// A shell for work that runs off the user-interface thread (the song render): every request is
// carried out by the shell it wraps on the user-interface thread, the calling thread waiting for
// the answer. Requests made on the user-interface thread go straight through. Create it on the
// user-interface thread; the thread must keep running its event loop while others use it.
#include <QObject>

#include "platform/ShellServices.h"

namespace jorvo {

class UiThreadShell : public ShellServices {
public:
    // Wraps `inner` (not owned), which must outlive this shell.
    explicit UiThreadShell(ShellServices& inner);

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

private:
    // Runs `request` on the user-interface thread and returns its result.
    template <class Request>
    auto OnUiThread(Request request) -> decltype(request());

    ShellServices& inner_;
    QObject uiThread_; // lives on the thread that created the shell
};

} // namespace jorvo
