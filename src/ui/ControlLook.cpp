#include "ui/ControlLook.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace jorvo::ControlLook {

QColor Panel() { return QColor(0x2B, 0x2F, 0x36); }
QColor PanelEdge() { return QColor(0x4A, 0x52, 0x5E); }
QColor Groove() { return QColor(0x14, 0x16, 0x1A); }
QColor Accent() { return QColor(0xE8, 0x9A, 0x2C); }
QColor Text() { return QColor(0xE6, 0xE8, 0xEB); }
QColor DimText() { return QColor(0x80, 0x86, 0x90); }

QFont Font(int pixels)
{
    QFont font("Tahoma");
    font.setPixelSize(pixels);
    return font;
}

void DrawFace(QPainter& painter, const QRect& area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(PanelEdge());
    painter.setBrush(Panel());
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.restore();
}

void DrawGroove(QPainter& painter, const QRect& area, bool vertical)
{
    constexpr int kThickness = 4;
    const QRect groove = vertical ? QRect(area.center().x() - kThickness / 2, area.top() + 2, kThickness, area.height() - 4)
                                  : QRect(area.left() + 2, area.center().y() - kThickness / 2, area.width() - 4, kThickness);
    painter.fillRect(groove, Groove());
}

void DrawCarat(QPainter& painter, const QRect& area, bool vertical, bool marked)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x1A, 0x1C, 0x20));
    painter.setBrush(QColor(0xB8, 0xBE, 0xC6));
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    if (!marked) {
        painter.restore();
        return;
    }
    painter.setPen(QPen(Accent(), 2));
    const QPointF centre = QRectF(area).center();
    if (vertical)
        painter.drawLine(QPointF(area.left() + 2, centre.y()), QPointF(area.right() - 1, centre.y()));
    else
        painter.drawLine(QPointF(centre.x(), area.top() + 2), QPointF(centre.x(), area.bottom() - 1));
    painter.restore();
}

void ApplyTo(QWidget& widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, Groove());
    palette.setColor(QPalette::AlternateBase, Panel());
    palette.setColor(QPalette::Window, Panel());
    palette.setColor(QPalette::Text, Text());
    palette.setColor(QPalette::WindowText, Text());
    palette.setColor(QPalette::Highlight, Accent());
    palette.setColor(QPalette::HighlightedText, QColor(0x1A, 0x1C, 0x20));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    widget.setFont(Font(12));
}

void DrawCentredText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour)
{
    painter.save();
    painter.setPen(colour);
    const QFontMetrics metrics(painter.font());
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, metrics.elidedText(text, Qt::ElideRight, area.width() - 4));
    painter.restore();
}

} // namespace jorvo::ControlLook
