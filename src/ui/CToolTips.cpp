#include "ui/CToolTips.h"

#include <QFontMetrics>
#include <QPainter>

namespace jorvo {
namespace {

QPointer<CToolTips>& TipWindow()
{
    static QPointer<CToolTips> tip;
    return tip;
}

const QColor kTipBackground(162, 186, 200);
constexpr int kTextMargin = 4;
constexpr int kTextOffset = 2;

} // namespace

CToolTips::CToolTips() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName("CToolTips");
    setAttribute(Qt::WA_ShowWithoutActivating);
    font_ = QFont("Tahoma");
    font_.setPixelSize(12);
    font_.setWeight(QFont::Normal);
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(kHideDelayMs);
    connect(&hideTimer_, &QTimer::timeout, this, &CToolTips::Hide);
}

CToolTips& CToolTips::Instance()
{
    if (!TipWindow())
        TipWindow() = new CToolTips();
    return *TipWindow();
}

bool CToolTips::Exists()
{
    return !TipWindow().isNull();
}

void CToolTips::DestroyInstance()
{
    delete TipWindow().data();
}

void CToolTips::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    const QFontMetrics metrics(font_);
    QRect area(geometry().topLeft(), metrics.size(Qt::TextSingleLine, text_));
    area.adjust(0, 0, 2 * kTextMargin, 2 * kTextMargin);
    area = KeptInsideMainWindow(area);
    if (area.size() != size())
        resize(area.size());
    move(area.topLeft());
    ShowAndRestartTimer();
    update();
}

void CToolTips::ShowAt(QWidget* element, const QPoint& screenPoint)
{
    if (element != attached_) {
        attached_ = element;
        move(KeptInsideMainWindow(QRect(screenPoint, size())).topLeft());
    }
    ShowAndRestartTimer();
}

void CToolTips::Hide()
{
    hideTimer_.stop();
    hide();
}

void CToolTips::ShowAndRestartTimer()
{
    if (!isVisible())
        show();
    hideTimer_.start();
}

QRect CToolTips::KeptInsideMainWindow(QRect rect) const
{
    if (!attached_)
        return rect;
    const QWidget* main = attached_->window();
    const QRect bounds(main->mapToGlobal(QPoint(0, 0)), main->size());
    if (rect.right() > bounds.right())
        rect.moveRight(bounds.right());
    if (rect.left() < bounds.left())
        rect.moveLeft(bounds.left());
    if (rect.bottom() > bounds.bottom())
        rect.moveBottom(bounds.bottom());
    if (rect.top() < bounds.top())
        rect.moveTop(bounds.top());
    return rect;
}

void CToolTips::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kTipBackground);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    painter.drawText(kTextOffset, kTextOffset + metrics.ascent(), text_);
}

} // namespace jorvo
