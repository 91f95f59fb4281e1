#include "ui/MsgButton.h"

#include <QPainter>

#include "document/XMLArchive.h"

namespace jorvo {

MsgButton::MsgButton(QWidget* parent) : UIMsgElement(parent)
{
    connect(&repeatTimer_, &QTimer::timeout, this, &MsgButton::RepeatTick);
}

void MsgButton::SerializeXML(CXMLArchive& archive)
{
    UIMsgElement::SerializeXML(archive);
    // Image="button.png" Latch="False" SubmitOnMouseUp="False" with <State …/> children
    strip_.SerializeXML(archive, ElementWidth());
    archive.Serialize("Latch", latch_);
    archive.Serialize("SubmitOnMouseUp", submitOnPenUp_);
    if (!archive.IsLoading())
        return;
    current_ = previous_ = strip_.First().value_or(0);
    const QSize frame = strip_.FrameSize();
    if (!frame.isEmpty())
        Create(x(), y(), frame.width(), frame.height());
}

void MsgButton::Draw(QPainter& painter)
{
    strip_.Draw(painter, current_, rect());
}

void MsgButton::ShowState(int index)
{
    if (index == current_)
        return;
    current_ = index;
    repaint();
}

void MsgButton::Submit()
{
    if (const StateStrip::State* state = strip_.Find(current_))
        Send(static_cast<WParam>(static_cast<std::uint32_t>(state->first)), state->second);
}

void MsgButton::PenDown(const QPoint& point)
{
    UIMsgElement::PenDown(point);
    inside_ = true;
    previous_ = current_;
    ShowState(strip_.Next(current_).value_or(current_));
    if (submitOnPenUp_)
        return;
    Submit();
    if (Repeats())
        repeatTimer_.start(kRepeatDelayMs);
}

void MsgButton::PenMove(const QPoint& point)
{
    UIMsgElement::PenMove(point);
    if (!HoldsCapture())
        return;
    const bool inside = rect().contains(point);
    if (inside == inside_)
        return;
    inside_ = inside;
    ShowState(inside ? strip_.Next(previous_).value_or(previous_) : previous_);
}

void MsgButton::PenUp(const QPoint& point)
{
    repeatTimer_.stop();
    if (inside_ && submitOnPenUp_)
        Submit();
    if (!latch_ || !inside_)
        ShowState(previous_);
    inside_ = false;
    UIMsgElement::PenUp(point);
}

void MsgButton::RepeatTick()
{
    if (!HoldsCapture()) {
        repeatTimer_.stop();
        return;
    }
    if (repeatTimer_.interval() != kRepeatIntervalMs)
        repeatTimer_.start(kRepeatIntervalMs); // the first delay is over: repeat from now on
    else if (inside_)
        Submit();
}

void MsgButton::CaptureLost()
{
    repeatTimer_.stop();
    UIMsgElement::CaptureLost();
}

} // namespace jorvo
