#pragma once
// The base of the factories, the drag sources from which the user pulls new notes, patterns,
// sections and sampler zones into the editors. While the pen is held the factory shows its
// pressed state; when the pen leaves it, the factory puts the new object on the clipboard,
// announces the drag to its view with the pen's screen position (x × 65536 + y) and lets go of
// the pen, so the editor under it takes the drag over. An object dragged back onto its factory
// (WM_EVENT_DROP from the kind of editor the factory feeds) is cut from that editor.
// UI thread only.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/StateStrip.h"
#include "ui/UIElement.h"

class QAction;
class QMenu;

namespace jorvo {

class FactoryElement : public UIElement {
    Q_OBJECT
public:
    // A popup of actions, each running its handler when chosen.
    class Menu {
    public:
        explicit Menu(QWidget* owner);
        ~Menu();
        // Adds an entry (checked when `checked`) to `menu` (the top level when null).
        QAction* Add(const QString& text, bool checked, std::function<void()> handler, QMenu* menu = nullptr);
        QMenu* AddSubmenu(const QString& title);
        void AddSeparator();
        // Shows the menu at `globalPoint` and runs the chosen entry's handler.
        void Run(const QPoint& globalPoint);

    private:
        std::unique_ptr<QMenu> menu_;
        std::map<QAction*, std::function<void()>> handlers_;
    };

    // After the common attributes: "Image", the "State" list ("Index", "Param1", "Param2") and
    // "Latch"; on load the element is resized to one frame.
    void SerializeXML(CXMLArchive& archive) override;
    void Draw(QPainter& painter) override;

    int CurrentState() const { return current_; }
    bool IsPressed() const { return pressed_; }
    StateStrip& States() { return strip_; }
    // The lParam of the begin-drag message for a pen at `screenPoint`.
    static LParam PackScreenPoint(const QPoint& screenPoint);

protected:
    explicit FactoryElement(QWidget* parent);

    // Puts the object to drag on the clipboard and sets the begin-drag message's wParam. False
    // when nothing could be put there (the drag ends silently).
    virtual bool PutDragObject(WParam& wParam) = 0;
    // The registered message announcing the drag ("WM_EVENT_BEGIN_DRAG" by default).
    virtual const char* BeginDragMessage() const;
    // The class keyword of the editor whose objects this factory makes.
    virtual const char* FedEditorClass() const = 0;
    // The word and the detail the plain look writes on the factory.
    virtual QString PlainTitle() const = 0;
    virtual QString PlainDetail() const { return {}; }
    // The factory's own context menu; true when one was shown. The base shows none.
    virtual bool ShowFactoryMenu(const QPoint&) { return false; }

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void CaptureLost() override;
    // Lets go of the pressed state (the menu takes the gesture), then ShowFactoryMenu.
    bool ContextMenu(const QPoint& point) final;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

    // Posts `message` to the view and its elements, or to the parent without a view.
    void BroadcastToView(WindowMessage message, WParam wParam, LParam lParam);

private:
    void BeginDrag(const QPoint& point);
    void Release();
    bool IsFedEditor(WParam source) const;
    void DrawPlain(QPainter& painter);

    StateStrip strip_{"Param1", "Param2"};
    bool latch_ = false;
    int current_ = 0;
    int resting_ = 0;
    bool pressed_ = false;
};

} // namespace jorvo
