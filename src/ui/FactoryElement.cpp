#include "ui/FactoryElement.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>

#include "document/XMLArchive.h"
#include "ui/ControlLook.h"
#include "ui/PopupMenu.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

FactoryElement::FactoryElement(QWidget* parent) : UIElement(parent) {}

void FactoryElement::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    // Image="note_factory.png" Latch="False" with <State Index= Param1= Param2=/> children
    strip_.SerializeXML(archive, ElementWidth());
    archive.Serialize("Latch", latch_);
    if (!archive.IsLoading())
        return;
    current_ = resting_ = strip_.First().value_or(0);
    const QSize frame = strip_.FrameSize();
    if (!frame.isEmpty())
        Create(x(), y(), frame.width(), frame.height());
}

LParam FactoryElement::PackScreenPoint(const QPoint& screenPoint)
{
    return static_cast<LParam>(screenPoint.x()) * 65536 + screenPoint.y();
}

const char* FactoryElement::BeginDragMessage() const
{
    return UIWindowMessages::kEventBeginDrag;
}

void FactoryElement::PenDown(const QPoint& point)
{
    UIElement::PenDown(point);
    pressed_ = true;
    resting_ = current_;
    current_ = strip_.Next(current_).value_or(current_);
    repaint();
}

void FactoryElement::PenMove(const QPoint& point)
{
    UIElement::PenMove(point);
    if (pressed_ && HoldsCapture() && !rect().contains(point))
        BeginDrag(point);
}

void FactoryElement::PenUp(const QPoint& point)
{
    Release();
    UIElement::PenUp(point);
}

void FactoryElement::CaptureLost()
{
    Release();
    UIElement::CaptureLost();
}

bool FactoryElement::ContextMenu(const QPoint& point)
{
    Release(); // the coming pen up belongs to the menu
    return ShowFactoryMenu(point);
}

void FactoryElement::Release()
{
    if (!pressed_)
        return;
    pressed_ = false;
    if (!latch_)
        current_ = resting_;
    update();
}

void FactoryElement::BroadcastToView(WindowMessage message, WParam wParam, LParam lParam)
{
    if (SkinView* view = OwningView())
        view->Broadcast(message, wParam, lParam);
    else
        PostWindowMessage(parentWidget(), message, wParam, lParam);
}

void FactoryElement::BeginDrag(const QPoint& point)
{
    WParam wParam = 0;
    const bool ready = PutDragObject(wParam);
    // Either way the pen is let go: the editor under it takes the drag over.
    CaptureLost();
    if (ready)
        BroadcastToView(RegisterWindowMessage(BeginDragMessage()), wParam, PackScreenPoint(mapToGlobal(point)));
}

bool FactoryElement::IsFedEditor(WParam source) const
{
    // The source is only compared with live widgets before it is touched: it may be gone.
    const QWidget* candidate = reinterpret_cast<const QWidget*>(source);
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget != candidate)
            continue;
        const auto* editor = qobject_cast<const UIElement*>(widget);
        return editor && editor->GetClassName() == FedEditorClass();
    }
    return false;
}

bool FactoryElement::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage drop = RegisterWindowMessage(UIWindowMessages::kEventDrop);
    static const WindowMessage cut = RegisterWindowMessage(UIWindowMessages::kCut);
    if (message != drop)
        return UIElement::OnWindowMessage(message, wParam, lParam);
    if (IsFedEditor(wParam))
        BroadcastToView(cut, wParam, 0);
    return true;
}

void FactoryElement::Draw(QPainter& painter)
{
    if (!strip_.Image().File().empty() && strip_.Find(current_)) {
        strip_.Draw(painter, current_, rect());
        return;
    }
    DrawPlain(painter);
}

// Without artwork: a dark tile naming what it makes, lit while it is held.
void FactoryElement::DrawPlain(QPainter& painter)
{
    ControlLook::DrawFace(painter, rect());
    if (pressed_) {
        painter.save();
        painter.setPen(QPen(ControlLook::Accent(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
        painter.restore();
    }
    const QString detail = PlainDetail();
    const bool twoLines = !detail.isEmpty() && height() >= 30;
    const QRect title = twoLines ? QRect(0, height() / 2 - 14, width(), 14) : rect();
    painter.setFont(ControlLook::Font(12));
    ControlLook::DrawCentredText(painter, title, PlainTitle(), ControlLook::Text());
    if (twoLines) {
        painter.setFont(ControlLook::Font(10));
        ControlLook::DrawCentredText(painter, QRect(0, height() / 2 + 1, width(), 12), detail, ControlLook::Accent());
    }
}

// Menu ---------------------------------------------------------------------------------------------

FactoryElement::Menu::Menu(QWidget* owner) : menu_(std::make_unique<QMenu>(owner)) {}

FactoryElement::Menu::~Menu() = default;

QAction* FactoryElement::Menu::Add(const QString& text, bool checked, std::function<void()> handler, QMenu* menu)
{
    QAction* action = (menu ? menu : menu_.get())->addAction(text);
    action->setCheckable(true);
    action->setChecked(checked);
    handlers_[action] = std::move(handler);
    return action;
}

QMenu* FactoryElement::Menu::AddSubmenu(const QString& title)
{
    return menu_->addMenu(title);
}

void FactoryElement::Menu::AddSeparator()
{
    menu_->addSeparator();
}

void FactoryElement::Menu::Run(const QPoint& globalPoint)
{
    QAction* chosen = RunPopupMenu(*menu_, globalPoint);
    const auto found = handlers_.find(chosen);
    if (found != handlers_.end() && found->second)
        found->second();
}

} // namespace jorvo
