#include "ui/ParamButton.h"

#include <QPainter>

#include "document/XMLArchive.h"
#include "engine/SeqParameter.h"
#include "ui/ControlLook.h"

namespace jorvo {

ParamButton::ParamButton(QWidget* parent) : UIParamElement(parent) {}

void ParamButton::SerializeXML(CXMLArchive& archive)
{
    UIParamElement::SerializeXML(archive);
    // Image="switch.png" with <State Index="0" Value="0"/> children
    strip_.SerializeXML(archive, ElementWidth());
    if (!archive.IsLoading())
        return;
    current_ = resting_ = strip_.First().value_or(0);
    const QSize frame = strip_.FrameSize();
    if (!frame.isEmpty())
        Create(x(), y(), frame.width(), frame.height());
    Refresh();
}

void ParamButton::ShowState(int index)
{
    if (index == current_)
        return;
    current_ = index;
    update();
}

void ParamButton::Refresh()
{
    UIParamElement::Refresh();
    if (pressed_)
        return; // the pen decides what is shown until it lifts
    for (int index = strip_.First().value_or(0), seen = 0; seen < strip_.Count(); ++seen) {
        const StateStrip::State* state = strip_.Find(index);
        const std::int32_t wanted = Parameter() ? Parameter()->LiveValue() : 0;
        if (state && state->first == wanted) {
            ShowState(index);
            return;
        }
        index = strip_.Next(index).value_or(index);
    }
}

void ParamButton::PenDown(const QPoint& point)
{
    UIParamElement::PenDown(point);
    if (!Parameter())
        return;
    pressed_ = inside_ = true;
    resting_ = current_;
    ShowState(strip_.Next(current_).value_or(current_));
}

void ParamButton::PenMove(const QPoint& point)
{
    UIParamElement::PenMove(point);
    if (!pressed_ || !HoldsCapture())
        return;
    const bool inside = rect().contains(point);
    if (inside == inside_)
        return;
    inside_ = inside;
    ShowState(inside ? strip_.Next(resting_).value_or(resting_) : resting_);
}

void ParamButton::PenUp(const QPoint& point)
{
    const bool send = pressed_ && inside_ && HoldsCapture();
    pressed_ = inside_ = false;
    if (send) {
        if (const StateStrip::State* state = strip_.Find(current_))
            SendValue(state->first);
    } else {
        ShowState(resting_);
    }
    Refresh();
    UIParamElement::PenUp(point);
}

void ParamButton::Draw(QPainter& painter)
{
    if (!strip_.Image().File().empty() && strip_.Find(current_)) {
        strip_.Draw(painter, current_, rect());
        return;
    }
    DrawPlain(painter);
}

// Without artwork: a dark key whose lamp is lit while the shown state sends a non-zero value.
void ParamButton::DrawPlain(QPainter& painter)
{
    ControlLook::DrawFace(painter, rect());
    const StateStrip::State* state = strip_.Find(current_);
    const bool lit = state && state->first != 0;
    const QRect lamp(4, (height() - 6) / 2, 6, 6);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(lit ? ControlLook::Accent() : ControlLook::Groove());
    painter.drawEllipse(lamp);
    painter.restore();
    painter.setFont(ControlLook::Font(11));
    ControlLook::DrawCentredText(painter, rect().adjusted(lamp.right() + 2, 0, 0, 0), QString::fromStdString(GetName()),
                                 Parameter() ? ControlLook::Text() : ControlLook::DimText());
}

} // namespace jorvo
