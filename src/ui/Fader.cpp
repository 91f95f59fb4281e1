#include "ui/Fader.h"

#include <QPainter>

#include "document/XMLArchive.h"
#include "engine/SeqParameter.h"

namespace jorvo {

ParamSlider::ParamSlider(QWidget* parent, SliderAxis::Top top) : UIParamElement(parent), top_(top) {}

bool ParamSlider::Create(int left, int top, int width, int height)
{
    skin_.SetSize(QSize(width, height));
    return UIParamElement::Create(left, top, width, height);
}

SliderAxis ParamSlider::Axis()
{
    const QSize area = size();
    const bool vertical = area.width() < area.height();
    const SeqParameter* parameter = Parameter();
    return SliderAxis(area, CaratLength(vertical), parameter ? parameter->Minimum() : 0,
                      parameter ? parameter->Maximum() : 0, top_);
}

void ParamSlider::Draw(QPainter& painter)
{
    const SliderAxis axis = Axis();
    skin_.Draw(painter, axis, Parameter() ? ShownValue() : 0, Parameter() != nullptr, FillsToCarat());
}

void ParamSlider::SendValueAt(const QPoint& point)
{
    if (!Parameter() || !HoldsCapture())
        return;
    const std::int32_t value = Axis().ValueAt(point);
    if (value == ShownValue())
        return;
    SendValue(value);
    Refresh();
}

void ParamSlider::PenDown(const QPoint& point)
{
    UIParamElement::PenDown(point); // takes the capture: the value follows the pen from here
    SendValueAt(point);
    ShowValueTip();
}

void ParamSlider::PenMove(const QPoint& point)
{
    SendValueAt(point);
    UIParamElement::PenMove(point);
}

Fader::Fader(QWidget* parent) : ParamSlider(parent, SliderAxis::Top::Maximum) {}

void Fader::SerializeXML(CXMLArchive& archive)
{
    UIParamElement::SerializeXML(archive);
    // BackgroundImage= CaratImage= ResetOnMouseUp="False" DefaultValue="64"
    Skin().SerializeXML(archive);
    archive.Serialize("ResetOnMouseUp", resetOnPenUp_);
    archive.Serialize("DefaultValue", defaultValue_);
}

void Fader::SetResetOnPenUp(bool reset, std::int32_t defaultValue)
{
    resetOnPenUp_ = reset;
    defaultValue_ = defaultValue;
}

int Fader::CaratLength(bool vertical)
{
    return Skin().CaratLength(vertical, SliderSkin::kPlainCaratLength);
}

void Fader::PenUp(const QPoint& point)
{
    if (resetOnPenUp_ && HoldsCapture() && SendValue(defaultValue_))
        Refresh();
    ParamSlider::PenUp(point);
}

DrawBar::DrawBar(QWidget* parent) : ParamSlider(parent, SliderAxis::Top::Minimum) {}

void DrawBar::SerializeXML(CXMLArchive& archive)
{
    UIParamElement::SerializeXML(archive);
    // BackgroundImage= CaratImage= CaratWidth="20" CaratHeight="8"
    Skin().SerializeXML(archive);
    archive.Serialize("CaratWidth", caratWidth_);
    archive.Serialize("CaratHeight", caratHeight_);
}

void DrawBar::SetCaratSize(int width, int height)
{
    caratWidth_ = width;
    caratHeight_ = height;
    update();
}

int DrawBar::CaratLength(bool vertical)
{
    const int given = vertical ? caratHeight_ : caratWidth_;
    return given > 0 ? given : SliderSkin::kPlainCaratLength;
}

} // namespace jorvo
