#include "ui/MsgFader.h"

#include <QPainter>

#include "document/XMLArchive.h"

namespace jorvo {

MsgFader::MsgFader(QWidget* parent) : UIMsgElement(parent) {}

void MsgFader::SerializeXML(CXMLArchive& archive)
{
    UIMsgElement::SerializeXML(archive);
    // BackgroundImage="fader_bg.png" CaratImage="fader_carat.png"
    skin_.SerializeXML(archive);
}

bool MsgFader::Create(int left, int top, int width, int height)
{
    skin_.SetSize(QSize(width, height));
    return UIMsgElement::Create(left, top, width, height);
}

SliderAxis MsgFader::Axis()
{
    const QSize area = size();
    const bool vertical = area.width() < area.height();
    return SliderAxis(area, skin_.CaratLength(vertical, PlainCaratLength()), MinValue(), MaxValue(),
                      SliderAxis::Top::Maximum);
}

QRect MsgFader::CaratRect()
{
    return Axis().CaratRect(Value(), skin_.CaratBreadth(width() < height()));
}

bool MsgFader::SetValue(std::int32_t value)
{
    if (!UIMsgElement::SetValue(value))
        return false;
    update();
    return true;
}

void MsgFader::Deliver(std::int32_t value)
{
    Send(static_cast<WParam>(static_cast<std::uint32_t>(value)), 0);
}

void MsgFader::FollowPen(const QPoint& point)
{
    if (HoldsCapture() && SetValue(Axis().ValueAt(point)))
        Deliver(Value());
}

void MsgFader::PenDown(const QPoint& point)
{
    UIMsgElement::PenDown(point);
    FollowPen(point);
}

void MsgFader::PenMove(const QPoint& point)
{
    FollowPen(point);
    UIMsgElement::PenMove(point);
}

void MsgFader::Draw(QPainter& painter)
{
    skin_.Draw(painter, Axis(), Value(), true, false);
}

} // namespace jorvo
