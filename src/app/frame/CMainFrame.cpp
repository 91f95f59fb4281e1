#include "app/frame/CMainFrame.h"

#include <algorithm>
#include <exception>

#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QStackedWidget>
#include <QStatusBar>
#include <QPainter>
#include <QPolygonF>
#include <QToolBar>
#include <QToolButton>

#include "app/dialogs/OptionsDialog.h"
#include "app/dialogs/RenderDialog.h"
#include "app/frame/AboutBox.h"
#include "app/frame/CJorvoView.h"
#include "app/frame/CMixerView.h"
#include "app/frame/CSeqEditorView.h"
#include "app/frame/CTargetView.h"
#include "app/frame/FrameTexts.h"
#include "app/frame/HelpWindow.h"
#include "app/frame/StatusStrip.h"
#include "app/frame/ViewListArchive.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/ProcessorMeter.h"
#include "engine/SoundStudio.h"
#include "platform/AudioDeviceReports.h"
#include "platform/MemoryStatus.h"
#include "platform/ShellServices.h"
#include "sequencer/Sequencer.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

namespace {

constexpr char kViewList[] = "ViewList";

// The window's own colours: dark, like the skins the views show.
QPalette StudioPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(43, 45, 49));
    palette.setColor(QPalette::WindowText, QColor(232, 232, 232));
    palette.setColor(QPalette::Base, QColor(30, 31, 34));
    palette.setColor(QPalette::AlternateBase, QColor(38, 40, 44));
    palette.setColor(QPalette::Text, QColor(232, 232, 232));
    palette.setColor(QPalette::Button, QColor(52, 55, 60));
    palette.setColor(QPalette::ButtonText, QColor(232, 232, 232));
    palette.setColor(QPalette::Highlight, QColor(61, 123, 217));
    palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    palette.setColor(QPalette::ToolTipBase, QColor(162, 186, 200));
    palette.setColor(QPalette::ToolTipText, QColor(0, 0, 0));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    return palette;
}

// The command bar's play and stop symbols, light on the dark bar.
QIcon TransportIcon(bool play)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(232, 232, 232));
    if (play)
        painter.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(17, 10), QPointF(5, 17)}));
    else
        painter.drawRect(QRectF(4, 4, 12, 12));
    return QIcon(pixmap);
}

const std::vector<std::string> kSequencerViews{"View", "SeqEditorView"};
const std::vector<std::string> kInstrumentViews{"InstrumentView"};
const std::vector<std::string> kEffectViews{"EffectView"};

std::unique_ptr<CSeqView> MakeView(const std::string& keyword)
{
    if (keyword == "SeqEditorView")
        return std::make_unique<CSeqEditorView>();
    if (keyword == "InstrumentView")
        return std::make_unique<CInstrumentView>();
    if (keyword == "EffectView")
        return std::make_unique<CEffectView>();
    if (keyword == "MixerView")
        return std::make_unique<CMixerView>();
    if (keyword == "View")
        return std::make_unique<CSeqView>();
    return nullptr;
}

QString MenuTitle(const CSeqView& view)
{
    return QString::fromStdString(view.GetTitle().empty() ? view.GetClassKeyword() : view.GetTitle());
}

// The instrument or effect of the studio whose address is `target`, or null.
SeqEventTarget* StudioTarget(const void* target)
{
    SoundStudio* studio = SoundStudio::Current();
    if (!studio || !target)
        return nullptr;
    for (const auto& instrument : studio->Instruments())
        if (static_cast<const void*>(instrument.get()) == target)
            return instrument.get();
    for (const auto& effect : studio->Effects())
        if (static_cast<const void*>(effect.get()) == target)
            return effect.get();
    return nullptr;
}

bool IsStudioTarget(const SeqEventTarget* target)
{
    return target != nullptr && StudioTarget(target) == target;
}

} // namespace

CMainFrame::CMainFrame(CJorvoDoc& document, QWidget* parent)
    : QMainWindow(parent), document_(document),
      commands_(
          document, [this] { DocumentReplaced(); }, [this] { RefreshAllViews(); }),
      stack_(new QStackedWidget(this)), status_(new StatusStrip(this)), defaultView_(new CJorvoView())
{
    setWindowTitle("Jorvo");
    setPalette(StudioPalette());
    stack_->setMinimumSize(kViewWidth, kViewHeight);
    setCentralWidget(stack_);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(status_, 1);
    BuildMenus();
    BuildCommandBar();
    Enter(defaultView_);
    ActivateView(defaultView_);

    connect(&statusTimer_, &QTimer::timeout, this, &CMainFrame::UpdateStatus);
    connect(&syncTimer_, &QTimer::timeout, this, &CMainFrame::Sync);
    statusTimer_.start(kStatusInterval);
    syncTimer_.start(kSyncInterval);
    UpdateStatus();
}

CMainFrame::~CMainFrame()
{
    statusTimer_.stop();
    syncTimer_.stop();
    if (MainFrame() == this)
        SetMainFrame(nullptr);
}

// Menus and command bar -------------------------------------------------------------------------

void CMainFrame::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(FrameTexts::kFileMenu);
    file->addAction(FrameTexts::kNew, QKeySequence::New, this, [this] { commands_.New(); });
    file->addAction(FrameTexts::kOpen, QKeySequence::Open, this, [this] { commands_.Open(); });
    file->addAction(FrameTexts::kSave, QKeySequence::Save, this, [this] { commands_.Save(); });
    file->addAction(FrameTexts::kSaveAs, this, [this] { commands_.SaveAs(); });
    file->addSeparator();
    file->addAction(FrameTexts::kImportXml, this, [this] { commands_.ImportXml(); });
    file->addAction(FrameTexts::kExportXml, this, [this] { commands_.ExportXml(); });
    file->addAction(FrameTexts::kExportAudio, this, [this] { RenderSongToAudio(this, document_); });
    file->addAction(FrameTexts::kExportMidi, this, [this] { commands_.ExportMidi(); });
    file->addSeparator();
    file->addAction(FrameTexts::kExit, QKeySequence::Quit, this, &QWidget::close);

    QMenu* tools = menuBar()->addMenu(FrameTexts::kToolsMenu);
    tools->addAction(FrameTexts::kAudioOutput, this, [] {
        if (SoundStudio* studio = SoundStudio::Current())
            studio->ConfigureOutput();
    });
    tools->addAction(FrameTexts::kResetAudio, this, [] {
        if (SoundStudio* studio = SoundStudio::Current())
            studio->ResetOutput();
    });
    tools->addAction(FrameTexts::kOptions, this, [this] { RunOptionsDialog(this); });
    tools->addSeparator();
    tools->addAction(FrameTexts::kHelp, QKeySequence::HelpContents, this, &CMainFrame::ShowHelp);
    tools->addAction(FrameTexts::kAbout, this, [this] { AboutBox(this).exec(); });

    viewsMenu_ = menuBar()->addMenu(FrameTexts::kViewsMenu);
}

void CMainFrame::BuildCommandBar()
{
    commandBar_ = addToolBar("Command Bar");
    commandBar_->setMovable(false);
    commandBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto addPopup = [this](const char* tip, const char* label, const std::vector<std::string>& keywords) {
        auto* button = new QToolButton(commandBar_);
        button->setText(label);
        button->setToolTip(tip);
        button->setPopupMode(QToolButton::InstantPopup);
        auto* menu = new QMenu(button);
        connect(menu, &QMenu::aboutToShow, this, [this, menu, keywords] {
            menu->clear();
            FillViewPopup(*menu, keywords);
        });
        button->setMenu(menu);
        commandBar_->addWidget(button);
        return button;
    };
    sequencerViewsButton_ = addPopup(FrameTexts::kListSequencerViews, "Editors", kSequencerViews);
    addPopup(FrameTexts::kListInstruments, "Instruments", kInstrumentViews);
    addPopup(FrameTexts::kListEffects, "Effects", kEffectViews);
    QAction* mixer = commandBar_->addAction("Mixer", this, &CMainFrame::DisplayMixer);
    mixer->setToolTip(FrameTexts::kDisplayMixer);
    commandBar_->addSeparator();
    QAction* play = commandBar_->addAction(TransportIcon(true), "Play", this, [] {
        if (SoundStudio* studio = SoundStudio::Current())
            studio->Transport("ID_PLAY");
    });
    play->setToolTip(FrameTexts::kStartPause);
    QAction* stop = commandBar_->addAction(TransportIcon(false), "Stop", this, [] {
        if (SoundStudio* studio = SoundStudio::Current())
            studio->Transport("ID_STOP");
    });
    stop->setToolTip(FrameTexts::kStopRewind);
    for (QAction* action : {play, stop})
        if (auto* button = qobject_cast<QToolButton*>(commandBar_->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void CMainFrame::RebuildViewsMenu()
{
    viewsMenu_->clear();
    for (std::size_t position = 0; position < views_.size(); ++position) {
        CSeqView* view = views_[position];
        const int command = kFirstViewCommand + static_cast<int>(position);
        view->SetMenuCommand(command);
        QAction* action = viewsMenu_->addAction(MenuTitle(*view));
        action->setData(command);
        action->setCheckable(true);
        action->setChecked(view == active_);
        connect(action, &QAction::triggered, this, [this, command] { ExecuteViewCommand(command); });
    }
    viewsMenu_->addSeparator();
    QAction* statusBarItem = viewsMenu_->addAction(FrameTexts::kStatusBar);
    statusBarItem->setCheckable(true);
    statusBarItem->setChecked(statusShown_);
    connect(statusBarItem, &QAction::triggered, this, [this] { SetStatusBarShown(!statusShown_); });
}

void CMainFrame::FillViewPopup(QMenu& menu, const std::vector<std::string>& keywords)
{
    for (CSeqView* view : ViewsOfKind(keywords)) {
        QAction* action = menu.addAction(MenuTitle(*view));
        action->setCheckable(true);
        action->setChecked(view == active_);
        connect(action, &QAction::triggered, this, [this, id = IdOf(view)] { ActivateView(FindView(id)); });
    }
}

void CMainFrame::SetStatusBarShown(bool shown)
{
    statusShown_ = shown;
    statusBar()->setVisible(shown);
    RebuildViewsMenu();
}

// The view list ------------------------------------------------------------------------------------

QSize CMainFrame::ViewSize() const
{
    const QSize size = stack_->size();
    return size.width() >= kViewWidth && size.height() >= kViewHeight ? size : QSize(kViewWidth, kViewHeight);
}

void CMainFrame::Enter(CSeqView* view)
{
    view->resize(ViewSize());
    stack_->addWidget(view);
    view->hide();
    connect(view, &SkinView::titleChanged, this, [this, view] {
        RebuildViewsMenu();
        if (view == active_)
            ShowActiveTitle();
    });
    connect(view, &CSeqView::frameCommand, this, &CMainFrame::RunFrameCommand, Qt::QueuedConnection);
    views_.push_back(view);
    RebuildViewsMenu();
}

CSeqView* CMainFrame::CreateView(const std::string& keyword)
{
    if (keyword == defaultView_->GetClassKeyword()) {
        if (std::find(views_.begin(), views_.end(), defaultView_) == views_.end())
            Enter(defaultView_);
        return defaultView_;
    }
    std::unique_ptr<CSeqView> view;
    try {
        view = MakeView(keyword);
    } catch (const std::exception& error) {
        Shell().MessageBox(error.what());
        return nullptr;
    }
    if (!view)
        return nullptr;
    CSeqView* created = view.release();
    Enter(created);
    return created;
}

void CMainFrame::ActivateView(CSeqView* view)
{
    if (!view)
        view = defaultView_;
    const auto found = std::find(views_.begin(), views_.end(), view);
    if (found == views_.end())
        return;
    std::rotate(views_.begin(), found, found + 1);
    CSeqView* previous = active_;
    active_ = view;
    if (previous != view && previous != nullptr)
        previous->hide();
    stack_->setCurrentWidget(view);
    view->show();
    view->setFocus(Qt::OtherFocusReason);
    RebuildViewsMenu();
    ShowActiveTitle();
}

void CMainFrame::RemoveView(CSeqView* view)
{
    const auto found = std::find(views_.begin(), views_.end(), view);
    if (view == defaultView_ || found == views_.end())
        return;
    if (view == active_)
        ActivateView(defaultView_);
    views_.erase(std::find(views_.begin(), views_.end(), view));
    // The target views show the targets the mixer strips show; they go with the mixer.
    if (qobject_cast<CMixerView*>(view)) {
        for (CSeqView* targetView : ViewsOfKind({"InstrumentView", "EffectView"}))
            RemoveView(targetView);
    }
    // What the view shows may be destroyed right after this call: unbind now, delete later
    // (the view may be in the middle of handling its own event).
    if (auto* targetView = qobject_cast<CTargetView*>(view))
        targetView->Detach();
    else if (auto* mixerView = qobject_cast<CMixerView*>(view))
        mixerView->SetMixer(nullptr);
    stack_->removeWidget(view);
    view->hide();
    view->deleteLater();
    RebuildViewsMenu();
}

CSeqView* CMainFrame::FindView(ViewId id) const
{
    for (CSeqView* view : views_)
        if (IdOf(view) == id)
            return view;
    return nullptr;
}

std::vector<CSeqView*> CMainFrame::ViewsOfKind(const std::vector<std::string>& keywords) const
{
    std::vector<CSeqView*> found;
    for (CSeqView* view : views_)
        if (std::find(keywords.begin(), keywords.end(), view->GetClassKeyword()) != keywords.end())
            found.push_back(view);
    return found;
}

bool CMainFrame::ExecuteViewCommand(int command)
{
    for (CSeqView* view : views_) {
        if (view->MenuCommand() == command) {
            ActivateView(view);
            return true;
        }
    }
    return false;
}

void CMainFrame::DisplayMixer()
{
    const std::vector<CSeqView*> mixers = ViewsOfKind({"MixerView"});
    if (!mixers.empty())
        ActivateView(mixers.front());
}

void CMainFrame::ShowActiveTitle()
{
    setWindowTitle(active_ && !active_->GetTitle().empty() ? QString::fromStdString(active_->GetTitle()) : "Jorvo");
}

void CMainFrame::Broadcast(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == RegisterWindowMessage(UIWindowMessages::kSetActiveView)) {
        // 0 names the default view; an id that is no longer listed is ignored.
        if (wParam == 0)
            ActivateView(defaultView_);
        else if (CSeqView* view = FindView(static_cast<ViewId>(wParam)))
            ActivateView(view);
        return;
    }
    PostWindowMessage(status_, message, wParam, lParam);
    // Hidden views hear every message too, so an editor shown later is up to date.
    for (CSeqView* view : views_)
        view->Broadcast(message, wParam, lParam);
}

// Target views -----------------------------------------------------------------------------------

void CMainFrame::DropStaleTargetViews()
{
    for (CSeqView* view : ViewsOfKind({"InstrumentView", "EffectView"})) {
        auto* targetView = static_cast<CTargetView*>(view);
        if (targetView->GetTarget() && !IsStudioTarget(targetView->GetTarget()))
            RemoveView(view);
    }
}

void CMainFrame::ScheduleTargetViews()
{
    if (targetViewsPending_)
        return;
    targetViewsPending_ = true;
    QTimer::singleShot(0, this, [this] {
        targetViewsPending_ = false;
        SyncTargetViews();
    });
}

void CMainFrame::SyncTargetViews()
{
    DropStaleTargetViews();
    SoundStudio* studio = SoundStudio::Current();
    if (!studio)
        return;
    const auto ensureView = [this](SeqEventTarget* target, const char* keyword) {
        for (CSeqView* view : ViewsOfKind({keyword})) {
            if (view->ShownTarget() == target) {
                view->RefreshFromTarget();
                return;
            }
        }
        if (auto* view = static_cast<CTargetView*>(CreateView(keyword)))
            view->SetTarget(target);
    };
    for (const auto& instrument : studio->Instruments())
        ensureView(instrument.get(), "InstrumentView");
    for (const auto& effect : studio->Effects())
        ensureView(effect.get(), "EffectView");
}

// ViewHost -------------------------------------------------------------------------------------------

void CMainFrame::BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    Broadcast(message, wParam, lParam);
}

bool CMainFrame::SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam)
{
    for (CSeqView* view : views_) {
        if (view->ShownTarget() != target || target == nullptr)
            continue;
        SendWindowMessage(view, message, wParam, lParam);
        for (QWidget* child : view->findChildren<QWidget*>())
            SendWindowMessage(child, message, wParam, lParam);
        return true;
    }
    return false;
}

ViewId CMainFrame::CreateView(const ViewRequest& request)
{
    CSeqView* view = CreateView(request.keyword);
    if (!view)
        return kNoView;
    if (auto* editor = qobject_cast<CSeqEditorView*>(view))
        editor->Build(request.skinSection);
    else if (auto* mixer = qobject_cast<CMixerView*>(view))
        mixer->SetMixer(static_cast<Mixer*>(request.target));
    else if (auto* targetView = qobject_cast<CTargetView*>(view))
        targetView->SetTarget(StudioTarget(request.target));
    if (!request.title.empty())
        view->SetTitle(request.title);
    return IdOf(view);
}

bool CMainFrame::SetViewTitle(ViewId id, const std::string& title)
{
    CSeqView* view = FindView(id);
    if (!view)
        return false;
    view->SetTitle(title);
    return true;
}

void CMainFrame::RefreshView(ViewId id)
{
    CSeqView* view = FindView(id);
    if (!view)
        return;
    view->RefreshFromTarget();
    // The mixer is told about every instrument and effect that comes or goes (with the render
    // lock held): views of targets that went are dropped at once, new ones are made afterwards.
    if (qobject_cast<CMixerView*>(view)) {
        DropStaleTargetViews();
        ScheduleTargetViews();
    }
}

void CMainFrame::RemoveView(ViewId id)
{
    if (CSeqView* view = FindView(id))
        RemoveView(view);
}

// The view list in the document ------------------------------------------------------------------

void CMainFrame::Serialize(BinaryArchive& archive)
{
    StoredViewList list;
    if (archive.IsStoring()) {
        list.SetViews(DescribeViews(views_));
        list.Serialize(archive);
        return;
    }
    list.Serialize(archive);
    ReadViewList(list.Views(), [this](CXMLArchive& viewList) { RestoreViews(viewList); });
}

void CMainFrame::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        CXMLArchive list(archive);
        if (!list.CreateChild(kViewList))
            throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
        for (CSeqView* view : views_) {
            CXMLArchive viewArchive(list);
            view->SerializeXML(viewArchive);
        }
        return;
    }
    RestoreViews(archive);
}

CSeqView* CMainFrame::FindStoredView(const std::string& keyword, const std::string& title,
                                     const std::vector<CSeqView*>& taken) const
{
    const auto unmatched = [&](CSeqView* view) {
        return view->GetClassKeyword() == keyword && std::find(taken.begin(), taken.end(), view) == taken.end();
    };
    for (CSeqView* view : views_)
        if (unmatched(view) && view->GetTitle() == title)
            return view;
    // The studio always makes its mixer and editor views: one stored under another title (the
    // skins changed since) is still one of them, never a further copy.
    if (keyword == "MixerView" || keyword == "SeqEditorView")
        for (CSeqView* view : views_)
            if (unmatched(view))
                return view;
    return nullptr;
}

void CMainFrame::RestoreViews(CXMLArchive& archive)
{
    std::vector<CSeqView*> restored;
    if (archive.IsCurrent(kViewList)) {
        DomNodeList children = archive.GetCurrentNode().ChildNodes();
        for (DomNode child = children.NextNode(); child; child = children.NextNode()) {
            if (child.Type() != DomNodeType::Element)
                continue;
            // The studio made its mixer, editor and target views already: a stored view of the
            // same kind and title is that view, in its stored place, rather than a second copy.
            const std::string keyword = child.TagName();
            const std::string title = child.GetAttribute("Name").value_or(std::string());
            if (CSeqView* existing = FindStoredView(keyword, title, restored)) {
                restored.push_back(existing);
                continue;
            }
            CSeqView* view = CreateView(keyword);
            if (!view)
                continue;
            try {
                CXMLArchive viewArchive(archive);
                viewArchive.SetCurrentNode(child);
                view->SerializeXML(viewArchive);
                restored.push_back(view);
            } catch (const std::exception& error) {
                RemoveView(view);
                Shell().MessageBox(error.what());
            }
        }
    }
    // The stored order first, then the views the file did not mention, as they were.
    std::vector<CSeqView*> ordered = restored;
    for (CSeqView* view : views_)
        if (std::find(ordered.begin(), ordered.end(), view) == ordered.end())
            ordered.push_back(view);
    views_ = std::move(ordered);
    ActivateView(defaultView_);
}

// Commands ----------------------------------------------------------------------------------------

void CMainFrame::RunFrameCommand(FrameCommand command)
{
    switch (command) {
    case FrameCommand::New:
        commands_.New();
        break;
    case FrameCommand::Open:
        commands_.Open();
        break;
    case FrameCommand::Save:
        commands_.Save();
        break;
    case FrameCommand::Exit:
        close();
        break;
    case FrameCommand::Help:
        ShowHelp();
        break;
    case FrameCommand::ShowMixer:
        DisplayMixer();
        break;
    }
}

void CMainFrame::DocumentReplaced()
{
    SyncTargetViews();
    ActivateView(defaultView_);
    RefreshAllViews();
}

void CMainFrame::RefreshAllViews()
{
    for (CSeqView* view : views_)
        view->RefreshFromTarget();
}

void CMainFrame::ShowHelp()
{
    if (!help_)
        help_ = new HelpWindow(this);
    help_->ShowTopic(HelpFilePath(), HelpTopicFor(active_ ? active_->GetTitle() : std::string()));
}

void CMainFrame::ShowFirstRunHelp()
{
    if (!help_)
        help_ = new HelpWindow(this);
    help_->ShowTopic(HelpFilePath(), HelpTopicFor(std::string()));
}

void CMainFrame::UpdateStatus()
{
    status_->ShowMemory(CurrentMemoryStatus().loadPercent);
    status_->ShowProcessorLoad(ProcessorMeter::Instance());
    if (SoundStudio* studio = SoundStudio::Current())
        status_->ShowUnderruns(studio->OutputUnderruns());
    sequencerViewsButton_->setEnabled(Sequencer::Current() != nullptr);
    // A report's message box runs its own event loop, in which this timer fires again.
    if (showingReports_)
        return;
    showingReports_ = true;
    ShowAudioReports();
    showingReports_ = false;
}

void CMainFrame::Sync()
{
    Broadcast(RegisterWindowMessage(UIWindowMessages::kSync), 0, 0);
    if (Sequencer* sequencer = Sequencer::Current())
        sequencer->PollSongTime();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!commands_.SaveModified()) {
        event->ignore();
        return;
    }
    if (help_)
        help_->close();
    event->accept();
}

} // namespace jorvo
