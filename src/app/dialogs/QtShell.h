#pragma once
// The shell services of the studio window: message boxes, prompts and every dialog the core asks
// for, with Qt. View operations go to the view host given with SetViewHost (the main frame);
// without one there are no views. Dialogs open over the widget given with SetDialogParent.
// UI thread only.
#include <map>

#include <QPointer>
#include <QWidget>

#include "platform/ShellServices.h"

namespace jorvo {

class FileBrowserDialog;
class ViewHost;

class QtShell : public ShellServices {
public:
    QtShell();
    ~QtShell() override;
    QtShell(const QtShell&) = delete;
    QtShell& operator=(const QtShell&) = delete;

    // The window the dialogs belong to; null for top-level dialogs.
    void SetDialogParent(QWidget* parent);
    // The main frame's view operations (not owned); null when there is none.
    void SetViewHost(ViewHost* host);

    // The file browser of `owner`, or null when none is open, for looking at it.
    FileBrowserDialog* FileBrowserOf(const void* owner) const;

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
    QWidget* DialogParent() const;

    QPointer<QWidget> dialogParent_;
    ViewHost* viewHost_ = nullptr;
    int waitCursorDepth_ = 0;
    // The browsers by owner. Qt destroys a browser with its parent window, so each is watched.
    std::map<const void*, QPointer<FileBrowserDialog>> fileBrowsers_;
};

} // namespace jorvo
