#include "platform/RecordingShell.h"

namespace jorvo {
namespace {

// The next scripted answer; nothing (Cancel) when the script is used up.
template <class T>
std::optional<T> NextAnswer(std::deque<std::optional<T>>& script)
{
    if (script.empty())
        return std::nullopt;
    std::optional<T> answer = std::move(script.front());
    script.pop_front();
    return answer;
}

// Plays the next script on `request`; `cancelled` when the scripts are used up.
template <class Result, class Request>
Result RunNextScript(std::deque<std::function<Result(const Request&)>>& scripts, const Request& request,
                     Result cancelled)
{
    if (scripts.empty())
        return cancelled;
    const auto script = std::move(scripts.front());
    scripts.pop_front();
    return script(request);
}

} // namespace

MessageAnswer RecordingShell::MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                         MessageIcon icon, std::optional<MessageAnswer> safeAnswer)
{
    messages.push_back(text);
    messageBoxes.push_back({text, caption, buttons, icon});
    if (answers.empty())
        return UnattendedAnswer(buttons, safeAnswer);
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

const RecordedView* RecordingShell::FindView(ViewId id) const
{
    for (const RecordedView& view : views) {
        if (view.id == id)
            return &view;
    }
    return nullptr;
}

RecordedView* RecordingShell::LiveView(ViewId id)
{
    for (RecordedView& view : views) {
        if (view.id == id)
            return view.removed ? nullptr : &view;
    }
    return nullptr;
}

std::optional<std::string> RecordingShell::PromptName(const std::string& title, const std::string& initialText)
{
    prompts.push_back({title, initialText});
    return NextAnswer(nameAnswers);
}

void RecordingShell::BeginWaitCursor()
{
    ++waitCursorDepth;
    ++waitCursorsBegun;
}

void RecordingShell::EndWaitCursor()
{
    --waitCursorDepth;
}

void RecordingShell::BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    broadcasts.push_back({nullptr, message, wParam, lParam});
}

bool RecordingShell::SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam)
{
    sentToTargets.push_back({target, message, wParam, lParam});
    for (const RecordedView& view : views) {
        if (!view.removed && view.request.target == target)
            return true;
    }
    return false;
}

ViewId RecordingShell::CreateView(const ViewRequest& request)
{
    const ViewId id = views.size() + 1;
    views.push_back({id, request, request.title, 0, false});
    return id;
}

bool RecordingShell::SetViewTitle(ViewId id, const std::string& title)
{
    RecordedView* view = LiveView(id);
    if (view)
        view->title = title;
    return view != nullptr;
}

void RecordingShell::RefreshView(ViewId id)
{
    if (RecordedView* view = LiveView(id))
        ++view->refreshes;
}

void RecordingShell::RemoveView(ViewId id)
{
    if (RecordedView* view = LiveView(id))
        view->removed = true;
}

std::optional<AudioOutputChoice> RecordingShell::AudioOutputOptions(const AudioOutputOptionsRequest& request)
{
    audioOutputRequests.push_back(request);
    while (std::optional<AudioOutputChoice> entered = NextAnswer(audioOutputAnswers)) {
        if (!request.acceptOk || request.acceptOk(*entered))
            return entered;
    }
    return std::nullopt;
}

std::optional<SelectResult> RecordingShell::SelectFromList(const SelectRequest& request)
{
    selectRequests.push_back(request);
    return NextAnswer(selectAnswers);
}

bool RecordingShell::EditPresets(const PresetDialogRequest& request)
{
    presetRequests.push_back(request);
    return RunNextScript(presetScripts, request, false);
}

std::optional<PatternPick> RecordingShell::PickPattern(const PickPatternRequest& request)
{
    pickPatternRequests.push_back(request);
    return RunNextScript(pickPatternScripts, request, std::optional<PatternPick>());
}

std::optional<std::size_t> RecordingShell::SelectPresetBank(const SelectPresetBankRequest& request)
{
    presetBankRequests.push_back(request);
    return NextAnswer(presetBankAnswers);
}

bool RecordingShell::ShowFileBrowser(const FileBrowserRequest& request)
{
    fileBrowserRequests.push_back(request);
    return true;
}

void RecordingShell::CloseFileBrowser(const void* owner)
{
    closedFileBrowsers.push_back(owner);
}

std::optional<std::string> RecordingShell::BrowseForFolder(const std::string& title, const std::string& startFolder)
{
    folderRequests.push_back({title, startFolder});
    return NextAnswer(folderAnswers);
}

std::optional<std::string> RecordingShell::ChooseFile(const FileDialogRequest& request)
{
    fileDialogRequests.push_back(request);
    return NextAnswer(fileAnswers);
}

} // namespace jorvo
