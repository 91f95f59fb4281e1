#pragma once
// The two images of a fader-like control (`BackgroundImage`, `CaratImage`) and its drawing: the
// images when the skin names them, the dark plain look otherwise. UI thread only.
#include <cstdint>

#include <QSize>

#include "ui/SkinImage.h"
#include "ui/SliderAxis.h"

class QPainter;

namespace jorvo {

class CXMLArchive;

class SliderSkin {
public:
    // The carat's length along the axis when no carat image gives it.
    static constexpr int kPlainCaratLength = 12;

    // Reads or writes "BackgroundImage" and "CaratImage".
    void SerializeXML(CXMLArchive& archive);
    // The element's size changed.
    void SetSize(QSize size);

    // The carat image's size along the axis, or `fallback` when there is no carat image.
    int CaratLength(bool vertical, int fallback);
    // The carat's size across the axis: the carat image's, or the element's less a margin.
    int CaratBreadth(bool vertical);

    // Draws the background and the carat at `value`. `fillToCarat` fills the groove from the
    // minimum to the carat (draw bars); `enabled` false draws the plain look dimmed.
    void Draw(QPainter& painter, const SliderAxis& axis, std::int32_t value, bool enabled, bool fillToCarat);

    // The plain carat carries text instead of its centre line.
    void SetCaratMarked(bool marked) { caratMarked_ = marked; }

    SkinImage& Background() { return background_; }
    SkinImage& Carat() { return carat_; }

private:
    bool HasCarat();

    SkinImage background_{"BackgroundImage"};
    SkinImage carat_{"CaratImage"};
    QSize size_;
    bool caratMarked_ = true;
};

} // namespace jorvo
