#pragma once
// The base of every skin element: a small child widget of a view with a name, a class keyword and
// a rectangle, which paints itself and takes mouse input as pen input. It holds the process-wide
// pen state (the element holding the capture, the last pen position) and the tap-and-hold
// gesture that opens an element's context menu. UI thread only.
#include <string>

#include <QTimer>
#include <QWidget>

#include "platform/WindowMessages.h"

namespace jorvo {

class CXMLArchive;
class SeqEventTarget;
class SkinView;

class UIElement : public QWidget {
    Q_OBJECT
public:
    // The last pen position while no pen is down.
    static constexpr int kNoPen = -1000;
    // A pen that moves this far (or farther) in x or y cancels tap-and-hold.
    static constexpr int kTapHoldSlop = 5;

    // An element to be created in `parent` (its window appears with Create).
    explicit UIElement(QWidget* parent);
    // Releases the pen capture when this element holds it.
    ~UIElement() override;

    // Stores the element as a child element named by its name with "Class", "Left", "Top",
    // "Width", "Height", or loads those from the current element and creates the window. A
    // mismatching "Class" or a failed Create is reported with the skin file's path; loading goes on.
    // Storing raises ArchiveException when the name is not a valid element name.
    virtual void SerializeXML(CXMLArchive& archive);
    // Paints the element: the base fills it with the window colour, frames it and writes its name.
    virtual void Draw(QPainter& painter);
    // The element's name ("None" until set).
    virtual std::string GetName() const { return name_; }
    virtual void SetName(const std::string& name);
    // The class keyword written in skins; "No Class" for the base.
    virtual std::string GetClassName() const { return "No Class"; }
    // Binds the element to an event target; the base ignores it.
    virtual void SetTarget(SeqEventTarget* target);
    // Creates the element's window at the rectangle (relative to the parent), or moves it there.
    // False when there is no parent.
    virtual bool Create(int left, int top, int width, int height);

    // The size given to the last Create.
    int ElementWidth() const { return width_; }
    int ElementHeight() const { return height_; }
    // The view that owns the element (its parent when that is a view), or null.
    SkinView* OwningView() const;

    // The element holding the pen capture, or null.
    static UIElement* CapturedElement();
    // The last pen position in the capturing element's coordinates; (-1000, -1000) with no pen.
    static QPoint LastPenPosition();
    // True when this element holds the pen capture.
    bool HoldsCapture() const { return CapturedElement() == this; }

protected:
    // Pen handling; overrides call the base to keep the capture and tap-and-hold working.
    virtual void PenDown(const QPoint& point);
    virtual void PenMove(const QPoint& point);
    virtual void PenUp(const QPoint& point);
    // Makes this element hold the pen at `point` without starting tap-and-hold: an element taking
    // over a drag that another element began.
    void TakePenCapture(const QPoint& point);
    // A second tap in quick succession; the base handles it as a pen down.
    virtual void PenDoubleTap(const QPoint& point);
    // The context-menu gesture (tap-and-hold, right click) at `point`. True when a menu was shown,
    // so the coming pen up does nothing; the base shows none.
    virtual bool ContextMenu(const QPoint& point);
    // A registered window message for this element. True when handled; the base handles none.
    virtual bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam);
    // The element lost the pen capture by being hidden or deactivated; the base clears it.
    virtual void CaptureLost();

    // Shows the skin-file error for the file `archive` reads.
    static void ReportSkinError(const CXMLArchive& archive);

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TapAndHoldElapsed();

    std::string name_ = "None";
    int width_ = 0;
    int height_ = 0;
    bool created_ = false;
    QTimer tapHoldTimer_;
    QPoint tapHoldStart_;
};

} // namespace jorvo
