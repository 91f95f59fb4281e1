#include "app/dialogs/QtShell.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/dialogs/AudioOutputDialog.h"
#include "app/dialogs/BankSelectDialog.h"
#include "app/dialogs/DialogSupport.h"
#include "app/dialogs/FileBrowserDialog.h"
#include "app/dialogs/NameDialog.h"
#include "app/dialogs/PatternPickDialog.h"
#include "app/dialogs/PresetDialog.h"
#include "app/dialogs/SelectDialog.h"
#include "app/dialogs/ViewHost.h"
#include "document/DocumentMessages.h"

namespace jorvo {

namespace {

QMessageBox::StandardButtons ButtonsFor(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconFor(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

std::optional<MessageAnswer> AnswerFor(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    default: return std::nullopt;
    }
}

// A document written by a newer program: the box says where a newer program can be had.
void AddNewerVersionLines(QMessageBox& box)
{
    box.setInformativeText(QStringLiteral("Click here to download the Latest Version of Jorvo.\n"
                                          "(Requires Internet Access)"));
}

// Modal file dialogs are Qt's own, so that they look alike everywhere and fit the screen. The
// list of places would leave the file list too narrow on the handheld's screen; "Look in:" still
// reaches every folder.
void PrepareFileDialog(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (auto* places = dialog.findChild<QWidget*>(QStringLiteral("sidebar")))
        places->hide();
    PrepareDialog(dialog, ToStdString(dialog.windowTitle()), kScreenWidth);
    dialog.resize(kScreenWidth, kScreenHeight);
}

QString FilterText(const FileFilter& filter)
{
    return ToQString(filter.name + " (" + filter.pattern + ")");
}

// "wav" for "*.wav"; empty for patterns without one fixed extension.
QString SuffixOf(const FileFilter& filter)
{
    const std::string& pattern = filter.pattern;
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 || pattern.find_first_of("*?;", 2) != std::string::npos)
        return {};
    return ToQString(pattern.substr(2));
}

} // namespace

QtShell::QtShell() = default;

QtShell::~QtShell()
{
    for (auto& [owner, browser] : fileBrowsers_)
        delete browser.data();
}

void QtShell::SetDialogParent(QWidget* parent)
{
    dialogParent_ = parent;
}

void QtShell::SetViewHost(ViewHost* host)
{
    viewHost_ = host;
}

QWidget* QtShell::DialogParent() const
{
    return dialogParent_.data();
}

FileBrowserDialog* QtShell::FileBrowserOf(const void* owner) const
{
    const auto found = fileBrowsers_.find(owner);
    return found == fileBrowsers_.end() ? nullptr : found->second.data();
}

MessageAnswer QtShell::MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                  MessageIcon icon, std::optional<MessageAnswer> safeAnswer)
{
    QMessageBox box(IconFor(icon), ToQString(caption), ToQString(text), ButtonsFor(buttons), DialogParent());
    box.setFont(QFont("Tahoma", 9));
    if (caption == DocumentMessages::kIncorrectVersionCaption)
        AddNewerVersionLines(box);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (const auto answer = clicked ? AnswerFor(box.standardButton(clicked)) : std::nullopt)
        return *answer;
    return UnattendedAnswer(buttons, safeAnswer);
}

std::optional<std::string> QtShell::PromptName(const std::string& title, const std::string& initialText)
{
    NameDialog dialog(title, initialText, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Name();
}

void QtShell::BeginWaitCursor()
{
    ++waitCursorDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtShell::EndWaitCursor()
{
    if (waitCursorDepth_ == 0)
        return;
    --waitCursorDepth_;
    QApplication::restoreOverrideCursor();
}

void QtShell::BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (viewHost_)
        viewHost_->BroadcastMessage(message, wParam, lParam);
}

bool QtShell::SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam)
{
    return viewHost_ && viewHost_->SendToTargetView(target, message, wParam, lParam);
}

ViewId QtShell::CreateView(const ViewRequest& request)
{
    return viewHost_ ? viewHost_->CreateView(request) : kNoView;
}

bool QtShell::SetViewTitle(ViewId view, const std::string& title)
{
    return viewHost_ && viewHost_->SetViewTitle(view, title);
}

void QtShell::RefreshView(ViewId view)
{
    if (viewHost_)
        viewHost_->RefreshView(view);
}

void QtShell::RemoveView(ViewId view)
{
    if (viewHost_)
        viewHost_->RemoveView(view);
}

std::optional<AudioOutputChoice> QtShell::AudioOutputOptions(const AudioOutputOptionsRequest& request)
{
    AudioOutputDialog dialog(request, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Entered();
}

std::optional<SelectResult> QtShell::SelectFromList(const SelectRequest& request)
{
    SelectDialog dialog(request, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Result();
}

bool QtShell::EditPresets(const PresetDialogRequest& request)
{
    if (!request.model)
        return false;
    PresetDialog dialog(request, DialogParent());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<PatternPick> QtShell::PickPattern(const PickPatternRequest& request)
{
    if (!request.banks)
        return std::nullopt;
    PatternPickDialog dialog(request, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Pick();
}

std::optional<std::size_t> QtShell::SelectPresetBank(const SelectPresetBankRequest& request)
{
    BankSelectDialog dialog(request, DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

bool QtShell::ShowFileBrowser(const FileBrowserRequest& request)
{
    if (!request.owner || !request.requester)
        return false;
    QPointer<FileBrowserDialog>& browser = fileBrowsers_[request.owner];
    if (!browser)
        browser = new FileBrowserDialog(DialogParent());
    browser->Open(request);
    return true;
}

void QtShell::CloseFileBrowser(const void* owner)
{
    const auto found = fileBrowsers_.find(owner);
    if (found == fileBrowsers_.end())
        return;
    delete found->second.data();
    fileBrowsers_.erase(found);
}

std::optional<std::string> QtShell::BrowseForFolder(const std::string& title, const std::string& startFolder)
{
    QFileDialog dialog(DialogParent(), ToQString(title), ToQString(startFolder));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    PrepareFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToStdString(dialog.selectedFiles().front());
}

std::optional<std::string> QtShell::ChooseFile(const FileDialogRequest& request)
{
    QFileDialog dialog(DialogParent(), ToQString(request.title));
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << FilterText(filter);
    dialog.setNameFilters(filters);
    if (request.mode == FileDialogMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!request.filters.empty())
            dialog.setDefaultSuffix(SuffixOf(request.filters.front()));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.initialPath.empty())
        dialog.selectFile(ToQString(request.initialPath));
    PrepareFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return ToStdString(dialog.selectedFiles().front());
}

} // namespace jorvo
