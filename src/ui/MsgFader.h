#pragma once
// `MsgFader`: a fader that posts its message with the value under the pen (wParam, lParam 0)
// instead of changing a parameter; vertically the top is `MaxValue`. UI thread only.
#include <cstdint>

#include "ui/SliderAxis.h"
#include "ui/SliderSkin.h"
#include "ui/UIMsgElement.h"

namespace jorvo {

class MsgFader : public UIMsgElement {
    Q_OBJECT
public:
    explicit MsgFader(QWidget* parent);

    std::string GetClassName() const override { return "MsgFader"; }
    // After the message attributes: "BackgroundImage" and "CaratImage".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    // Accepts as UIMsgElement does and moves the carat; sends nothing.
    bool SetValue(std::int32_t value) override;
    void Draw(QPainter& painter) override;

    SliderAxis Axis();
    SliderSkin& Skin() { return skin_; }

protected:
    // Hands an accepted value on; the base posts the message with (value, 0).
    virtual void Deliver(std::int32_t value);
    // The carat's length along the axis in the plain look.
    virtual int PlainCaratLength() const { return SliderSkin::kPlainCaratLength; }
    // The carat's rectangle for the current value (for text drawn on it).
    QRect CaratRect();

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;

private:
    void FollowPen(const QPoint& point);

    SliderSkin skin_;
};

} // namespace jorvo
