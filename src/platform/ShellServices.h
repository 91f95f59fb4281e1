#pragma once
// What the core asks of the user interface. The engine never calls Qt: the application installs
// a Qt implementation, batch commands a headless one, tests a recording one.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ShellRequests.h"
#include "platform/WindowMessages.h"

namespace jorvo {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// The answer given when nobody is there to ask: the one that loses nothing. Ok for Ok, No for a
// yes/no question, Cancel otherwise; a caller whose safe answer differs passes it explicitly.
MessageAnswer UnattendedAnswer(MessageButtons buttons, std::optional<MessageAnswer> safeAnswer);

class ShellServices {
public:
    virtual ~ShellServices() = default;

    // Shows a message box and returns the button chosen. UI thread only. `safeAnswer` is what a
    // shell without a person (batch commands) answers instead of the default of UnattendedAnswer.
    virtual MessageAnswer MessageBox(const std::string& text, const std::string& caption = "Jorvo",
                                     MessageButtons buttons = MessageButtons::Ok,
                                     MessageIcon icon = MessageIcon::None,
                                     std::optional<MessageAnswer> safeAnswer = std::nullopt) = 0;

    // The rename dialog: asks for a name under `title`, pre-filled with `initialText`. The text
    // entered, or nothing on Cancel. UI thread.
    virtual std::optional<std::string> PromptName(const std::string& title, const std::string& initialText) = 0;

    // Shows the wait cursor until the matching EndWaitCursor; calls nest. Prefer WaitCursor. UI thread.
    virtual void BeginWaitCursor() = 0;
    // Ends one BeginWaitCursor. UI thread.
    virtual void EndWaitCursor() = 0;

    // Posts `message` to every view. UI thread.
    virtual void BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam) = 0;
    // Sends `message` to the view showing `target` and to every window inside it. False when no
    // view shows `target`. UI thread.
    virtual bool SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam) = 0;

    // Creates a hidden view as `request` describes and enters it in the view list. The new view,
    // or kNoView when there is no main frame or the keyword is unknown. UI thread.
    virtual ViewId CreateView(const ViewRequest& request) = 0;
    // Gives `view` a new title. False when there is no such view. UI thread.
    virtual bool SetViewTitle(ViewId view, const std::string& title) = 0;
    // Redraws `view` from its target; nothing when there is no such view. UI thread.
    virtual void RefreshView(ViewId view) = 0;
    // Removes `view` from the view list and destroys it; nothing when there is no such view. UI thread.
    virtual void RemoveView(ViewId view) = 0;

    // The "Audio Output Options" dialog. The values it was closed with by OK, or nothing on
    // Cancel. UI thread.
    virtual std::optional<AudioOutputChoice> AudioOutputOptions(const AudioOutputOptionsRequest& request) = 0;
    // The selection dialog ("Select Instrument", "Select Effect"). The entry and name chosen, or
    // nothing on Cancel. UI thread.
    virtual std::optional<SelectResult> SelectFromList(const SelectRequest& request) = 0;
    // The preset dialog, which works on `request.model`. True when closed with OK. UI thread.
    virtual bool EditPresets(const PresetDialogRequest& request) = 0;
    // The pattern selection dialog over `request.banks`. The pattern chosen, or nothing on Cancel.
    // UI thread.
    virtual std::optional<PatternPick> PickPattern(const PickPatternRequest& request) = 0;
    // The bank selection dialog. The index of the bank chosen, or nothing on Cancel. UI thread.
    virtual std::optional<std::size_t> SelectPresetBank(const SelectPresetBankRequest& request) = 0;
    // Opens (or reuses and points) the modeless file browser of `request.owner`. False when no
    // browser can be shown. UI thread.
    virtual bool ShowFileBrowser(const FileBrowserRequest& request) = 0;
    // Closes the file browser of `owner`, which will notify nobody afterwards; nothing when none
    // is open. UI thread.
    virtual void CloseFileBrowser(const void* owner) = 0;
    // The folder browser titled `title` (the Folders page uses "Browse for Directory"), opened at
    // `startFolder`. The folder chosen, or nothing on Cancel. UI thread.
    virtual std::optional<std::string> BrowseForFolder(const std::string& title, const std::string& startFolder) = 0;
    // A modal open-file or save-file dialog. The path chosen, or nothing on Cancel. UI thread.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
};

// The services installed for this process; the headless implementation until one is installed.
ShellServices& Shell();

// Installs `services` (not owned) and returns the previous one; null restores the headless one.
ShellServices* SetShell(ShellServices* services);

// Installs a shell for the lifetime of the object, then restores the previous one.
class ScopedShell {
public:
    explicit ScopedShell(ShellServices& services) : previous_(SetShell(&services)) {}
    ~ScopedShell() { SetShell(previous_); }
    ScopedShell(const ScopedShell&) = delete;
    ScopedShell& operator=(const ScopedShell&) = delete;

private:
    ShellServices* previous_;
};

// Shows the installed shell's wait cursor for the lifetime of the object. UI thread.
class WaitCursor {
public:
    WaitCursor() : shell_(Shell()) { shell_.BeginWaitCursor(); }
    ~WaitCursor() { shell_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    ShellServices& shell_; // the shell that began it ends it, even if another is installed meanwhile
};

} // namespace jorvo
