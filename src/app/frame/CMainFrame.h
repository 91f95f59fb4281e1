#pragma once
// The studio window: a menu bar (File, Tools, Views), a command bar with the view lists, the mixer
// and the transport, the status strip, and the views, of which one is shown at a time. The frame
// keeps the view list (most recently activated first), carries out the view operations the core
// asks the shell for, stores the view list with the document, and runs the two timers: every
// second the status, every 100 ms WM_SYNC and the song position. UI thread only.
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QTimer>

#include "app/JorvoDoc.h"
#include "app/dialogs/ViewHost.h"
#include "app/frame/CSeqView.h"
#include "app/frame/DocumentCommands.h"

class QMenu;
class QStackedWidget;
class QToolBar;
class QToolButton;

namespace jorvo {

class CJorvoView;
class CMixerView;
class HelpWindow;
class StatusStrip;

class CMainFrame : public QMainWindow, public ViewHost, public DocumentFrame {
    Q_OBJECT
public:
    // The Views menu's first command; the view at position n has this + n.
    static constexpr int kFirstViewCommand = 32950;
    // The size skins are laid out for.
    static constexpr int kViewWidth = 480;
    static constexpr int kViewHeight = 640;
    static constexpr int kStatusInterval = 1000;
    static constexpr int kSyncInterval = 100;

    // A frame for `document`, with the default view in its view list. It becomes the document's
    // main frame only when installed with SetMainFrame.
    explicit CMainFrame(CJorvoDoc& document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The view list --------------------------------------------------------------------------

    // "JorvoView": the default view (entered into the list when absent). "SeqEditorView",
    // "InstrumentView", "EffectView", "MixerView", "View": a new hidden view of that class
    // appended to the list. Null for any other keyword, or when creation failed (reported).
    CSeqView* CreateView(const std::string& keyword);
    // Moves `view` (null: the default view) to the head of the list and shows it in place of the
    // active one. Nothing for a view that is not in the list.
    void ActivateView(CSeqView* view);
    // Takes `view` out of the list and destroys it (the default view is never removed); when it
    // was shown, the default view is shown first.
    void RemoveView(CSeqView* view);
    // The views, most recently activated first.
    const std::vector<CSeqView*>& Views() const { return views_; }
    CSeqView* ActiveView() const { return active_; }
    CJorvoView* DefaultView() const { return defaultView_; }
    // The view with id `id` (its address), or null when it is not in the list.
    CSeqView* FindView(ViewId id) const;
    static ViewId IdOf(const CSeqView* view) { return reinterpret_cast<ViewId>(view); }
    // The views whose keyword is one of `keywords`, in list order.
    std::vector<CSeqView*> ViewsOfKind(const std::vector<std::string>& keywords) const;
    // Activates the view that the Views menu lists under `command`; false when none does.
    bool ExecuteViewCommand(int command);
    // The Views menu (one item per view, then "Status Bar").
    QMenu* ViewsMenu() const { return viewsMenu_; }
    // Fills `menu` with the views of `keywords` by title, the shown one checked; choosing one
    // activates it (the command bar's popups).
    void FillViewPopup(QMenu& menu, const std::vector<std::string>& keywords);
    // "Display the Mixer": activates the first mixer view.
    void DisplayMixer();
    // WM_SET_ACTIVE_VIEW activates the view in wParam; any other message goes to the status strip
    // and to every view, the shown one first.
    void Broadcast(WindowMessage message, WParam wParam, LParam lParam);
    // Every instrument and effect of the studio gets a view of its own; views of targets that are
    // gone are removed.
    void SyncTargetViews();

    // ViewHost -------------------------------------------------------------------------------

    void BroadcastMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    bool SendToTargetView(const void* target, WindowMessage message, WParam wParam, LParam lParam) override;
    ViewId CreateView(const ViewRequest& request) override;
    bool SetViewTitle(ViewId view, const std::string& title) override;
    void RefreshView(ViewId view) override;
    void RemoveView(ViewId view) override;

    // DocumentFrame: the view list -----------------------------------------------------------

    void Serialize(BinaryArchive& archive) override;
    void SerializeXML(CXMLArchive& archive) override;

    // Commands -------------------------------------------------------------------------------

    DocumentCommands& Commands() { return commands_; }
    // Shows the help at the topic of the shown view's title.
    void ShowHelp();
    HelpWindow* Help() const { return help_; }
    // The first start's help, at the main contents.
    void ShowFirstRunHelp();
    // "Status Bar": shows or hides the status strip.
    void SetStatusBarShown(bool shown);
    bool IsStatusBarShown() const { return statusShown_; }
    StatusStrip& Status() const { return *status_; }
    // The work of the two timers.
    void UpdateStatus();
    void Sync();

protected:
    // Closing asks whether to save the changes first.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildCommandBar();
    void RebuildViewsMenu();
    void ShowActiveTitle();
    void RunFrameCommand(FrameCommand command);
    void DocumentReplaced();
    void RefreshAllViews();
    void DropStaleTargetViews();
    void ScheduleTargetViews();
    void RestoreViews(CXMLArchive& archive);
    // The listed view a stored `keyword` view titled `title` stands for, other than `taken`;
    // null when it names a view to be made.
    CSeqView* FindStoredView(const std::string& keyword, const std::string& title,
                             const std::vector<CSeqView*>& taken) const;
    void Enter(CSeqView* view);
    QSize ViewSize() const;

    CJorvoDoc& document_;
    DocumentCommands commands_;
    QStackedWidget* stack_;
    StatusStrip* status_;
    QToolBar* commandBar_ = nullptr;
    QToolButton* sequencerViewsButton_ = nullptr;
    QMenu* viewsMenu_ = nullptr;
    HelpWindow* help_ = nullptr;
    CJorvoView* defaultView_;
    CSeqView* active_ = nullptr;
    std::vector<CSeqView*> views_;
    bool statusShown_ = true;
    bool targetViewsPending_ = false;
    bool showingReports_ = false;
    QTimer statusTimer_;
    QTimer syncTimer_;
};

} // namespace jorvo
