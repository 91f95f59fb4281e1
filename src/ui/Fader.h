#pragma once
// The slider controls bound to a parameter: `Fader` (vertical: top is the maximum; may spring
// back to `DefaultValue` on pen up) and `DrawBar` (vertical: top is the minimum, like an organ's
// draw bar; carat size from the skin). Pen down and pen move send the value under the pen.
// UI thread only.
#include <cstdint>

#include "ui/SliderAxis.h"
#include "ui/SliderSkin.h"
#include "ui/UIParamElement.h"

namespace jorvo {

class ParamSlider : public UIParamElement {
    Q_OBJECT
public:
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

    // The mapping for the bound parameter (0 … 0 without one).
    SliderAxis Axis();
    SliderSkin& Skin() { return skin_; }

protected:
    ParamSlider(QWidget* parent, SliderAxis::Top top);

    // The carat's length along the axis.
    virtual int CaratLength(bool vertical) = 0;
    // The groove is lit up to the carat.
    virtual bool FillsToCarat() const { return false; }

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;

private:
    void SendValueAt(const QPoint& point);

    SliderAxis::Top top_;
    SliderSkin skin_;
};

class Fader : public ParamSlider {
    Q_OBJECT
public:
    explicit Fader(QWidget* parent);

    std::string GetClassName() const override { return "Fader"; }
    // After the parameter attributes: "BackgroundImage", "CaratImage", "ResetOnMouseUp",
    // "DefaultValue".
    void SerializeXML(CXMLArchive& archive) override;

    bool ResetsOnPenUp() const { return resetOnPenUp_; }
    void SetResetOnPenUp(bool reset, std::int32_t defaultValue);

protected:
    int CaratLength(bool vertical) override;
    void PenUp(const QPoint& point) override;

private:
    bool resetOnPenUp_ = false;
    std::int32_t defaultValue_ = 0;
};

class DrawBar : public ParamSlider {
    Q_OBJECT
public:
    explicit DrawBar(QWidget* parent);

    std::string GetClassName() const override { return "DrawBar"; }
    // After the parameter attributes: "BackgroundImage", "CaratImage", "CaratWidth", "CaratHeight".
    void SerializeXML(CXMLArchive& archive) override;

    void SetCaratSize(int width, int height);

protected:
    int CaratLength(bool vertical) override;
    bool FillsToCarat() const override { return true; }

private:
    int caratWidth_ = 0;
    int caratHeight_ = 0;
};

} // namespace jorvo
