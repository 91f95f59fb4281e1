#pragma once
// The rotary controls `Knob`, `Knob2` and `Knob3`: vertical dragging changes the bound parameter
// in steps scaled to its range, so every knob takes about the same pen travel end to end. They
// differ only in drawing: `Knob` a needle line over the image, `Knob2` a filled sweep, `Knob3` one
// frame of an opaque film strip. UI thread only.
#include <cstdint>

#include "document/XMLArchive.h"
#include "ui/SkinImage.h"
#include "ui/UIParamElement.h"

namespace jorvo {

class Knob : public UIParamElement {
    Q_OBJECT
public:
    enum class Style { Needle, Sweep, FilmStrip };

    explicit Knob(QWidget* parent, Style style = Style::Needle);

    std::string GetClassName() const override { return "Knob"; }
    // After the parameter attributes: "Image", "Increment", "IndicatorClr".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

    // The change of value per step and the pen travel (pixels) per step, as set on pen down.
    std::int32_t ValueStep() const { return valueStep_; }
    std::int32_t PixelStep() const { return pixelStep_; }
    std::int32_t Increment() const { return increment_; }
    void SetIncrement(std::int32_t increment) { increment_ = increment; }
    Colour IndicatorColour() const { return indicator_; }
    SkinImage& Image() { return image_; }
    // Frames in the image beyond the first: bitmap width ÷ element width − 1 (0 without image).
    int FrameCount();

protected:
    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;

private:
    void ComputeSteps();
    std::int32_t DraggedValue(const QPoint& point) const;
    bool HasFrames();
    // The edge point the indicator reaches for the shown value (up the left edge, along the top,
    // down the right edge).
    QPoint SweepPoint() const;
    void DrawNeedle(QPainter& painter);
    void DrawSweep(QPainter& painter);
    void DrawFilmStrip(QPainter& painter);
    void DrawPlain(QPainter& painter);

    Style style_;
    SkinImage image_{"Image"};
    Colour indicator_;
    std::int32_t increment_ = 0;
    std::int32_t valueStep_ = 1;
    std::int32_t pixelStep_ = 1;
    bool dragging_ = false;
    QPoint anchor_;
};

// A knob drawn as a filled sweep; indicator red 223 by default.
class Knob2 : public Knob {
    Q_OBJECT
public:
    explicit Knob2(QWidget* parent) : Knob(parent, Style::Sweep) {}
    std::string GetClassName() const override { return "Knob2"; }
};

// A knob showing one frame of an opaque strip per value.
class Knob3 : public Knob {
    Q_OBJECT
public:
    explicit Knob3(QWidget* parent) : Knob(parent, Style::FilmStrip) {}
    std::string GetClassName() const override { return "Knob3"; }
};

} // namespace jorvo
