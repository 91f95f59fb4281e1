#include "ui/UIElement.h"

#include <algorithm>
#include <cstdlib>

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

#include "document/ArchiveException.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "ui/CToolTips.h"
#include "ui/SkinView.h"
#include "ui/UIMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

struct PenState {
    UIElement* captured = nullptr;
    QPoint last{UIElement::kNoPen, UIElement::kNoPen};
};

PenState& Pen()
{
    static PenState pen;
    return pen;
}

} // namespace

UIElement::UIElement(QWidget* parent) : QWidget(parent)
{
    hide(); // the window appears with Create
    tapHoldTimer_.setSingleShot(true);
    connect(&tapHoldTimer_, &QTimer::timeout, this, &UIElement::TapAndHoldElapsed);
}

UIElement::~UIElement()
{
    if (HoldsCapture())
        Pen().captured = nullptr;
}

UIElement* UIElement::CapturedElement()
{
    return Pen().captured;
}

QPoint UIElement::LastPenPosition()
{
    return Pen().last;
}

SkinView* UIElement::OwningView() const
{
    return qobject_cast<SkinView*>(parentWidget());
}

void UIElement::SetName(const std::string& name)
{
    name_ = name;
    setObjectName(QString::fromStdString(name));
}

void UIElement::SetTarget(SeqEventTarget*) {}

bool UIElement::Create(int left, int top, int width, int height)
{
    const QRect wanted(left, top, width, height);
    if (!created_) {
        if (!parentWidget())
            return false;
        CToolTips::Instance();
        setGeometry(wanted);
        show();
        created_ = true;
    } else if (geometry() != wanted) {
        setGeometry(wanted);
        update();
    }
    width_ = width;
    height_ = height;
    return true;
}

void UIElement::ReportSkinError(const CXMLArchive& archive)
{
    Shell().MessageBox(FormatText(UIMessages::kSkinFileError, {archive.GetPath()}));
}

void UIElement::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        // <Name Class="keyword" Left= Top= Width= Height=/>: the element's name is its tag.
        if (!archive.CreateChild(name_))
            throw ArchiveException(ArchiveException::Cause::Generic, archive.GetPath());
        const QRect area = geometry();
        archive.Write("Class", GetClassName());
        archive.Write("Left", area.left());
        archive.Write("Top", area.top());
        archive.Write("Width", area.width());
        archive.Write("Height", area.height());
        return;
    }
    std::string keyword;
    archive.Read("Class", keyword);
    if (keyword != GetClassName())
        ReportSkinError(archive);
    std::string name;
    archive.GetCurrentName(name);
    SetName(name);
    int left = 0, top = 0, width = 0, height = 0;
    archive.Read("Left", left);
    archive.Read("Top", top);
    archive.Read("Width", width);
    archive.Read("Height", height);
    if (!Create(left, top, std::max(width, 0), std::max(height, 0)))
        ReportSkinError(archive);
}

void UIElement::Draw(QPainter& painter)
{
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(name_));
}

void UIElement::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter);
}

bool UIElement::event(QEvent* event)
{
    if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<const WindowMessageEvent*>(event);
        return OnWindowMessage(message->Message(), message->WParamValue(), message->LParamValue());
    }
    return QWidget::event(event);
}

bool UIElement::OnWindowMessage(WindowMessage, WParam, LParam)
{
    return false;
}

void UIElement::PenDown(const QPoint& point)
{
    Pen().captured = this;
    Pen().last = point;
    tapHoldStart_ = point;
    tapHoldTimer_.start(static_cast<int>(std::min<std::uint32_t>(Configuration().GetTapNHoldDelay(), 60000)));
}

void UIElement::TakePenCapture(const QPoint& point)
{
    Pen().captured = this;
    Pen().last = point;
}

void UIElement::PenMove(const QPoint& point)
{
    Pen().last = point;
}

void UIElement::PenUp(const QPoint&)
{
    tapHoldTimer_.stop();
    if (HoldsCapture())
        Pen().captured = nullptr;
    Pen().last = QPoint(kNoPen, kNoPen);
}

void UIElement::PenDoubleTap(const QPoint& point)
{
    PenDown(point);
}

bool UIElement::ContextMenu(const QPoint&)
{
    return false;
}

void UIElement::TapAndHoldElapsed()
{
    const QPoint moved = Pen().last - tapHoldStart_;
    if (!HoldsCapture() || std::abs(moved.x()) >= kTapHoldSlop || std::abs(moved.y()) >= kTapHoldSlop)
        return;
    if (ContextMenu(tapHoldStart_))
        Pen().captured = nullptr;
}

void UIElement::CaptureLost()
{
    tapHoldTimer_.stop();
    if (HoldsCapture())
        Pen().captured = nullptr;
}

void UIElement::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PenDown(event->position().toPoint());
}

void UIElement::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        PenMove(event->position().toPoint());
}

void UIElement::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (HoldsCapture())
        PenUp(event->position().toPoint());
    else
        Pen().last = QPoint(kNoPen, kNoPen); // a context menu took this gesture
}

void UIElement::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PenDoubleTap(event->position().toPoint());
}

void UIElement::contextMenuEvent(QContextMenuEvent* event)
{
    event->setAccepted(ContextMenu(event->pos()));
}

void UIElement::hideEvent(QHideEvent* event)
{
    CaptureLost();
    QWidget::hideEvent(event);
}

void UIElement::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        CaptureLost();
    QWidget::changeEvent(event);
}

} // namespace jorvo
