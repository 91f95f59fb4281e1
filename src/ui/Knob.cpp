#include "ui/Knob.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "engine/SeqParameter.h"
#include "ui/ControlLook.h"

namespace jorvo {
namespace {

constexpr Colour kNeedleColour = Colour::FromRgb(0, 0, 0);
constexpr Colour kSweepColour = Colour::FromRgb(223, 0, 0);

QColor ToQColor(Colour colour)
{
    return QColor(colour.Red(), colour.Green(), colour.Blue());
}

std::int32_t ClampToInt32(long long value)
{
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

} // namespace

Knob::Knob(QWidget* parent, Style style)
    : UIParamElement(parent), style_(style), indicator_(style == Style::Sweep ? kSweepColour : kNeedleColour)
{
    image_.SetTransparent(style != Style::FilmStrip); // pure blue shows the view behind
}

void Knob::SerializeXML(CXMLArchive& archive)
{
    UIParamElement::SerializeXML(archive);
    // Image="knob.png" Increment="0" IndicatorClr="#000000"
    image_.SerializeXML(archive);
    archive.Serialize("Increment", increment_);
    archive.Serialize("IndicatorClr", indicator_);
}

bool Knob::Create(int left, int top, int width, int height)
{
    image_.SetRect(QRect(0, 0, width, height));
    return UIParamElement::Create(left, top, width, height);
}

int Knob::FrameCount()
{
    if (!image_.Load() || ElementWidth() <= 0)
        return 0;
    return std::max(image_.Width() / ElementWidth() - 1, 0);
}

bool Knob::HasFrames()
{
    if (style_ == Style::FilmStrip)
        return image_.Load() && ElementWidth() > 0;
    return FrameCount() >= 1;
}

void Knob::ComputeSteps()
{
    if (increment_ != 0) {
        valueStep_ = pixelStep_ = increment_;
    } else {
        const long long range = Parameter() ? static_cast<long long>(Parameter()->Maximum()) - Parameter()->Minimum() : 0;
        valueStep_ = ClampToInt32(range / 127);
        pixelStep_ = range != 0 ? ClampToInt32(127 / range) : 0;
    }
    valueStep_ = std::max(valueStep_, 1);
    pixelStep_ = std::max(pixelStep_, 1);
}

void Knob::PenDown(const QPoint& point)
{
    dragging_ = true;
    anchor_ = point;
    ComputeSteps();
    UIParamElement::PenDown(point);
}

std::int32_t Knob::DraggedValue(const QPoint& point) const
{
    const SeqParameter& parameter = *Parameter();
    const long long travel = static_cast<long long>(anchor_.y()) - point.y(); // up is positive
    const long long change = travel * valueStep_ / pixelStep_;
    const long long value = static_cast<long long>(ShownValue()) + change;
    return travel > 0 ? ClampToInt32(std::min<long long>(value, parameter.Maximum()))
                      : ClampToInt32(std::max<long long>(value, parameter.Minimum()));
}

void Knob::PenMove(const QPoint& point)
{
    if (dragging_ && HoldsCapture() && Parameter() && std::abs(point.y() - anchor_.y()) >= pixelStep_) {
        const std::int32_t value = DraggedValue(point);
        if (value != ShownValue()) {
            SendValue(value);
            Refresh();
            anchor_ = point;
        }
    }
    UIParamElement::PenMove(point);
}

void Knob::PenUp(const QPoint& point)
{
    dragging_ = false;
    anchor_ = QPoint(0, 0);
    UIParamElement::PenUp(point);
}

QPoint Knob::SweepPoint() const
{
    const long long w = width(), h = height();
    const long long range = static_cast<long long>(Parameter()->Maximum()) - Parameter()->Minimum();
    const long long third = std::max<long long>(range / 3, 1);
    const long long v = static_cast<long long>(ShownValue()) - Parameter()->Minimum();
    if (v < third)
        return QPoint(0, static_cast<int>(h - h * v / third));
    if (v < 2 * third)
        return QPoint(static_cast<int>(w * (v - third) / third), 0);
    return QPoint(static_cast<int>(w), static_cast<int>(h * (v - 2 * third) / third));
}

void Knob::Draw(QPainter& painter)
{
    if (!HasFrames()) {
        DrawPlain(painter);
        return;
    }
    switch (style_) {
    case Style::Needle: DrawNeedle(painter); break;
    case Style::Sweep: DrawSweep(painter); break;
    case Style::FilmStrip: DrawFilmStrip(painter); break;
    }
}

void Knob::DrawNeedle(QPainter& painter)
{
    image_.DrawFrame(painter, width(), width());
    if (Parameter()) {
        painter.setPen(QPen(ToQColor(indicator_), 2));
        painter.drawLine(QPoint(width() / 2, height() / 2), SweepPoint());
    }
    image_.DrawFrame(painter, 0, width());
}

void Knob::DrawSweep(QPainter& painter)
{
    image_.DrawFrame(painter, width(), width());
    if (Parameter()) {
        const int w = width(), h = height();
        const QPoint end = SweepPoint();
        QPolygon sweep;
        sweep << QPoint(w / 2, h / 2) << QPoint(w / 2, h) << QPoint(0, h);
        if (end.x() > 0 || end.y() == 0)
            sweep << QPoint(0, 0); // past the left edge: on to the top-left corner
        if (end.x() >= w && end.y() > 0)
            sweep << QPoint(w, 0); // past the top edge: on to the top-right corner
        sweep << end;
        painter.setPen(Qt::NoPen);
        painter.setBrush(ToQColor(indicator_));
        painter.drawPolygon(sweep);
    }
    image_.DrawFrame(painter, 0, width());
}

void Knob::DrawFilmStrip(QPainter& painter)
{
    int frame = 0;
    if (Parameter()) {
        const long long range = static_cast<long long>(Parameter()->Maximum()) - Parameter()->Minimum();
        const long long v = std::max<long long>(static_cast<long long>(ShownValue()) - Parameter()->Minimum(), 0);
        if (range > 0)
            frame = static_cast<int>(std::min<long long>(v * FrameCount() / range, FrameCount()));
    }
    image_.DrawFrame(painter, frame * width(), width());
}

// Without artwork: a round knob with a 270-degree track, the value arc and a pointer.
void Knob::DrawPlain(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 4;
    const QRectF dial(QRectF(rect()).center() - QPointF(side / 2.0, side / 2.0), QSizeF(side, side));
    constexpr double kStartAngle = 225.0; // degrees, counter-clockwise from three o'clock
    constexpr double kSpan = 270.0;
    painter.setPen(QPen(ControlLook::Groove(), 3, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(dial, static_cast<int>(kStartAngle * 16), static_cast<int>(-kSpan * 16));
    double fraction = 0.0;
    if (Parameter()) {
        const double range = static_cast<double>(Parameter()->Maximum()) - Parameter()->Minimum();
        if (range > 0)
            fraction = std::clamp((static_cast<double>(ShownValue()) - Parameter()->Minimum()) / range, 0.0, 1.0);
        const QColor arc = indicator_ == kNeedleColour ? ControlLook::Accent() : ToQColor(indicator_);
        painter.setPen(QPen(arc, 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(dial, static_cast<int>(kStartAngle * 16), static_cast<int>(-kSpan * fraction * 16));
    }
    const QRectF cap = dial.adjusted(side * 0.18, side * 0.18, -side * 0.18, -side * 0.18);
    painter.setPen(QPen(ControlLook::PanelEdge(), 1));
    painter.setBrush(ControlLook::Panel());
    painter.drawEllipse(cap);
    const double angle = qDegreesToRadians(kStartAngle - kSpan * fraction);
    const QPointF centre = cap.center();
    const QPointF tip = centre + QPointF(std::cos(angle), -std::sin(angle)) * (cap.width() / 2 - 1);
    painter.setPen(QPen(Parameter() ? ControlLook::Text() : ControlLook::DimText(), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, tip);
    painter.restore();
}

} // namespace jorvo
