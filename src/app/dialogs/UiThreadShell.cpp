#include "app/dialogs/UiThreadShell.h"

#include <type_traits>

#include <QMetaObject>
#include <QThread>

namespace jorvo {

UiThreadShell::UiThreadShell(ShellServices& inner) : inner_(inner) {}

template <class Request>
auto UiThreadShell::OnUiThread(Request request) -> decltype(request())
{
    using Result = decltype(request());
    if (QThread::currentThread() == uiThread_.thread())
        return request();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(&uiThread_, request, Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(&uiThread_, [&] { result = request(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

MessageAnswer UiThreadShell::MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                        MessageIcon icon, std::optional<MessageAnswer> safeAnswer)
{
    return OnUiThread([&] { return inner_.MessageBox(text, caption, buttons, icon, safeAnswer); });
}

std::optional<std::string> UiThreadShell::PromptName(const std::string& title, const std::string& initialText)
{
    return OnUiThread([&] { return inner_.PromptName(title, initialText); });
}

void UiThreadShell::BeginWaitCursor()
{
    OnUiThread([&] { inner_.BeginWaitCursor(); });
}

void UiThreadShell::EndWaitCursor()
{
    OnUiThread([&] { inner_.EndWaitCursor(); });
}

void UiThreadShell::BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    OnUiThread([&] { inner_.BroadcastMessage(message, wParam, lParam); });
}

bool UiThreadShell::SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam)
{
    return OnUiThread([&] { return inner_.SendToTargetView(target, message, wParam, lParam); });
}

ViewId UiThreadShell::CreateView(const ViewRequest& request)
{
    return OnUiThread([&] { return inner_.CreateView(request); });
}

bool UiThreadShell::SetViewTitle(ViewId view, const std::string& title)
{
    return OnUiThread([&] { return inner_.SetViewTitle(view, title); });
}

void UiThreadShell::RefreshView(ViewId view)
{
    OnUiThread([&] { inner_.RefreshView(view); });
}

void UiThreadShell::RemoveView(ViewId view)
{
    OnUiThread([&] { inner_.RemoveView(view); });
}

std::optional<AudioOutputChoice> UiThreadShell::AudioOutputOptions(const AudioOutputOptionsRequest& request)
{
    return OnUiThread([&] { return inner_.AudioOutputOptions(request); });
}

std::optional<SelectResult> UiThreadShell::SelectFromList(const SelectRequest& request)
{
    return OnUiThread([&] { return inner_.SelectFromList(request); });
}

bool UiThreadShell::EditPresets(const PresetDialogRequest& request)
{
    return OnUiThread([&] { return inner_.EditPresets(request); });
}

std::optional<PatternPick> UiThreadShell::PickPattern(const PickPatternRequest& request)
{
    return OnUiThread([&] { return inner_.PickPattern(request); });
}

std::optional<std::size_t> UiThreadShell::SelectPresetBank(const SelectPresetBankRequest& request)
{
    return OnUiThread([&] { return inner_.SelectPresetBank(request); });
}

bool UiThreadShell::ShowFileBrowser(const FileBrowserRequest& request)
{
    return OnUiThread([&] { return inner_.ShowFileBrowser(request); });
}

void UiThreadShell::CloseFileBrowser(const void* owner)
{
    OnUiThread([&] { inner_.CloseFileBrowser(owner); });
}

std::optional<std::string> UiThreadShell::BrowseForFolder(const std::string& title, const std::string& startFolder)
{
    return OnUiThread([&] { return inner_.BrowseForFolder(title, startFolder); });
}

std::optional<std::string> UiThreadShell::ChooseFile(const FileDialogRequest& request)
{
    return OnUiThread([&] { return inner_.ChooseFile(request); });
}

} // namespace jorvo
