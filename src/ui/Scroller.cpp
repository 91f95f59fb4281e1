#include "ui/Scroller.h"

#include <algorithm>
#include <cstdint>

#include <QPainter>
#include <QPainterPath>

#include "engine/SeqParameter.h"
#include "ui/SkinColour.h"

namespace jorvo {
namespace {

constexpr int kValueTextPixels = 14;
// 10^9 is the largest power of ten an int holds.
constexpr int kMaxStepPowers = 9;
const QColor kBackground(43, 47, 54);
const QColor kButton(70, 77, 88);
const QColor kButtonHeld(110, 150, 200);
const QColor kArrow(225, 225, 225);

void DrawArrowButton(QPainter& painter, const QRect& area, bool up, bool held)
{
    painter.fillRect(area.adjusted(1, 1, -1, -1), held ? kButtonHeld : kButton);
    const QPointF centre = QRectF(area).center();
    const qreal half = std::min(area.width(), area.height()) / 4.0;
    const qreal tip = up ? -half : half;
    QPainterPath arrow;
    arrow.moveTo(centre.x() - half, centre.y() - tip / 2);
    arrow.lineTo(centre.x() + half, centre.y() - tip / 2);
    arrow.lineTo(centre.x(), centre.y() + tip / 2);
    arrow.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(arrow, kArrow);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

Scroller::Scroller(QWidget* parent) : UIParamElement(parent)
{
    connect(&repeatTimer_, &QTimer::timeout, this, &Scroller::RepeatTick);
}

void Scroller::SerializeXML(CXMLArchive& archive)
{
    UIParamElement::SerializeXML(archive);
    // BackgroundImage="scroller.png" IncrementButtonImage="up.png" DecrementButtonImage="down.png"
    // TextClr="#E6E6E6"
    background_.SerializeXML(archive);
    increment_.SerializeXML(archive);
    decrement_.SerializeXML(archive);
    archive.Serialize("TextClr", textColour_);
    if (archive.IsLoading())
        PlaceButtons();
}

bool Scroller::Create(int left, int top, int width, int height)
{
    const bool created = UIParamElement::Create(left, top, width, height);
    PlaceButtons();
    return created;
}

void Scroller::PlaceButtons()
{
    background_.SetRect(QRect(0, 0, ElementWidth(), ElementHeight()));
    background_.SetStretch(true);
    // A button image keeps its own size, at the right edge: increment on top, decrement below.
    if (increment_.Load())
        increment_.SetRect(QRect(ElementWidth() - increment_.Width(), 0, increment_.Width(), increment_.Height()));
    if (decrement_.Load())
        decrement_.SetRect(QRect(ElementWidth() - decrement_.Width(), ElementHeight() - decrement_.Height(),
                                 decrement_.Width(), decrement_.Height()));
    update();
}

QRect Scroller::IncrementArea() const
{
    if (!increment_.Rect().isEmpty())
        return increment_.Rect();
    const int side = ElementHeight() / 2;
    return QRect(ElementWidth() - side, 0, side, side);
}

QRect Scroller::DecrementArea() const
{
    if (!decrement_.Rect().isEmpty())
        return decrement_.Rect();
    const int side = ElementHeight() / 2;
    return QRect(ElementWidth() - side, side, side, ElementHeight() - side);
}

void Scroller::Draw(QPainter& painter)
{
    if (!background_.File().empty())
        background_.Draw(painter);
    else
        painter.fillRect(rect(), kBackground);
    if (!increment_.File().empty())
        increment_.Draw(painter);
    else
        DrawArrowButton(painter, IncrementArea(), true, held_ == Held::Increment);
    if (!decrement_.File().empty())
        decrement_.Draw(painter);
    else
        DrawArrowButton(painter, DecrementArea(), false, held_ == Held::Decrement);
    QFont font("Tahoma");
    font.setPixelSize(std::min(kValueTextPixels, std::max(8, ElementHeight() - 4)));
    painter.setFont(font);
    const QRect text(0, 0, std::min(IncrementArea().left(), DecrementArea().left()) - 2, height());
    const bool enabled = Parameter() != nullptr;
    painter.setPen(enabled ? ToQtColour(textColour_) : ToQtColour(textColour_).darker(200));
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                     enabled ? QString::number(ShownValue()) : QStringLiteral("-"));
}

void Scroller::SendStep()
{
    const SeqParameter* parameter = Parameter();
    if (!parameter)
        return;
    const auto wanted = static_cast<std::int64_t>(ShownValue()) + step_;
    const auto value = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(wanted, parameter->Minimum(), parameter->Maximum()));
    if (value == ShownValue())
        return;
    SendValue(value);
    Refresh();
    ShowValueTip();
}

void Scroller::PenDown(const QPoint& point)
{
    UIParamElement::PenDown(point);
    if (IncrementArea().contains(point)) {
        held_ = Held::Increment;
        step_ = 1;
    } else if (DecrementArea().contains(point)) {
        held_ = Held::Decrement;
        step_ = -1;
    } else {
        return;
    }
    Refresh();
    SendStep();
    repeatTimer_.start(kRepeatDelayMs);
    update();
}

void Scroller::PenMove(const QPoint& point)
{
    UIParamElement::PenMove(point);
    if (held_ == Held::None)
        return;
    const int distance = held_ == Held::Increment ? IncrementArea().top() - point.y()
                                                  : point.y() - DecrementArea().bottom();
    const int powers = std::clamp(distance / kStepDistance, 0, kMaxStepPowers);
    int magnitude = 1;
    for (int power = 0; power < powers; ++power)
        magnitude *= 10;
    step_ = held_ == Held::Increment ? magnitude : -magnitude;
}

void Scroller::RepeatTick()
{
    if (held_ == Held::None || !HoldsCapture()) {
        StopRepeating();
        return;
    }
    repeatTimer_.setInterval(kRepeatIntervalMs);
    SendStep();
}

void Scroller::StopRepeating()
{
    repeatTimer_.stop();
    held_ = Held::None;
    update();
}

void Scroller::PenUp(const QPoint& point)
{
    StopRepeating();
    UIParamElement::PenUp(point);
}

void Scroller::CaptureLost()
{
    StopRepeating();
    UIParamElement::CaptureLost();
}

} // namespace jorvo
