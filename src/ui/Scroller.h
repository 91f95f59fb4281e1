#pragma once
// `Scroller`: a number with an increment and a decrement button, bound to a parameter. Holding a
// button sends the value plus the step at once, again after 300 ms and then every 100 ms; moving
// the pen away from the held button (above the increment button, below the decrement button)
// multiplies the step by 10 for every full 20 pixels. Values are kept within the parameter's
// range. UI thread only.
#include <QTimer>

#include "document/XMLArchive.h"
#include "ui/SkinImage.h"
#include "ui/UIParamElement.h"

namespace jorvo {

class Scroller : public UIParamElement {
    Q_OBJECT
public:
    static constexpr int kRepeatDelayMs = 300;
    static constexpr int kRepeatIntervalMs = 100;
    // Every full this many pixels between the pen and the held button multiply the step by 10.
    static constexpr int kStepDistance = 20;

    enum class Held { None = 0, Increment = 1, Decrement = 2 };

    explicit Scroller(QWidget* parent);

    std::string GetClassName() const override { return "Scroller"; }
    // After the parameter attributes: "BackgroundImage", "IncrementButtonImage",
    // "DecrementButtonImage" and "TextClr".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

    // The button areas: an image's rectangle when the skin gives one, otherwise squares stacked
    // at the right edge, increment above decrement.
    QRect IncrementArea() const;
    QRect DecrementArea() const;
    Held HeldButton() const { return held_; }
    int Step() const { return step_; }

protected:
    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void CaptureLost() override;

private:
    // Sends the shown value plus the step, kept within the parameter's range; nothing when that
    // is the shown value.
    void SendStep();
    void RepeatTick();
    void StopRepeating();
    void PlaceButtons();

    SkinImage background_{"BackgroundImage"};
    SkinImage increment_{"IncrementButtonImage"};
    SkinImage decrement_{"DecrementButtonImage"};
    Colour textColour_ = Colour::FromRgb(230, 230, 230);
    Held held_ = Held::None;
    int step_ = 0;
    QTimer repeatTimer_;
};

} // namespace jorvo
