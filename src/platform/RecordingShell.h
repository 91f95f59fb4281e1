#pragma once
// A shell for tests: records every text shown, every prompt, broadcast, view and dialog request,
// and answers from scripts, so tests can assert the exact messages and drive every question.
// An empty script answers as nobody would: the unattended answer, Cancel, or no view.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ShellServices.h"

namespace jorvo {

// One message box as it was shown.
struct RecordedMessageBox {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// A prompt for a name or a folder: its title and the text it started with.
struct RecordedPrompt {
    std::string title;
    std::string initialText;
};

// A broadcast, or a message sent to a target's view (`target` null for broadcasts).
struct RecordedWindowMessage {
    const void* target = nullptr;
    WindowMessage message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// A view the core created, with what happened to it since.
struct RecordedView {
    ViewId id = kNoView;
    ViewRequest request;
    std::string title; // the current title
    int refreshes = 0;
    bool removed = false;
};

class RecordingShell : public ShellServices {
public:
    // Every message box text, in the order shown.
    std::vector<std::string> messages;
    // Answers for the next message boxes, first used first; when empty the unattended answer.
    std::deque<MessageAnswer> answers;
    // Every message box with its caption, buttons and icon, in the order shown.
    std::vector<RecordedMessageBox> messageBoxes;

    // Every name prompt, and the names to enter (nothing = Cancel; empty script = Cancel).
    std::vector<RecordedPrompt> prompts;
    std::deque<std::optional<std::string>> nameAnswers;

    // Wait cursors now shown (nesting depth) and how many were begun in all.
    int waitCursorDepth = 0;
    int waitCursorsBegun = 0;

    // Every broadcast, and every message sent to a target's view, in the order made.
    std::vector<RecordedWindowMessage> broadcasts;
    std::vector<RecordedWindowMessage> sentToTargets;

    // Every view created, in creation order; ids count from 1.
    std::vector<RecordedView> views;

    // Every audio output dialog opened.
    std::vector<AudioOutputOptionsRequest> audioOutputRequests;
    // Values to close the dialog with by OK, each offered to the request's acceptOk; a refused
    // one keeps the dialog open for the next (nothing = Cancel).
    std::deque<std::optional<AudioOutputChoice>> audioOutputAnswers;

    // Every selection dialog opened, and what each is closed with (nothing = Cancel).
    std::vector<SelectRequest> selectRequests;
    std::deque<std::optional<SelectResult>> selectAnswers;

    // The preset dialog: each script plays the user's part on the request's model and returns
    // whether the dialog was closed with OK.
    std::vector<PresetDialogRequest> presetRequests;
    std::deque<std::function<bool(const PresetDialogRequest&)>> presetScripts;

    // The pattern selection dialog: each script plays the user's part on the request's banks.
    std::vector<PickPatternRequest> pickPatternRequests;
    std::deque<std::function<std::optional<PatternPick>(const PickPatternRequest&)>> pickPatternScripts;

    // Every bank selection dialog opened, and the bank index each is closed with (nothing = Cancel).
    std::vector<SelectPresetBankRequest> presetBankRequests;
    std::deque<std::optional<std::size_t>> presetBankAnswers;

    // File browsers opened, and the owners whose browser was closed.
    std::vector<FileBrowserRequest> fileBrowserRequests;
    std::vector<const void*> closedFileBrowsers;

    // Every folder browser opened (title, start folder), and the folders chosen (nothing = Cancel).
    std::vector<RecordedPrompt> folderRequests;
    std::deque<std::optional<std::string>> folderAnswers;

    // Every file dialog opened, and the paths chosen (nothing = Cancel).
    std::vector<FileDialogRequest> fileDialogRequests;
    std::deque<std::optional<std::string>> fileAnswers;

    MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                             MessageIcon icon, std::optional<MessageAnswer> safeAnswer) override;

    // The most recent message, or an empty string.
    std::string LastMessage() const { return messages.empty() ? std::string() : messages.back(); }

    // The view `id` if it was created (removed or not), else null.
    const RecordedView* FindView(ViewId id) const;

    std::optional<std::string> PromptName(const std::string& title, const std::string& initialText) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    void BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    // Recorded in any case; true when a view created for `target` has not been removed.
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
    RecordedView* LiveView(ViewId id);
};

} // namespace jorvo
