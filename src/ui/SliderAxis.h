#pragma once
// The mapping between pen and value shared by every fader-like control: orientation from the
// element's shape, the value under the pen, and where the carat sits for a value. A vertical
// `Fader` has its maximum at the top, a vertical `DrawBar` its minimum; horizontally the left end
// is the minimum for both.
#include <cstdint>

#include <QPoint>
#include <QRect>
#include <QSize>

namespace jorvo {

class SliderAxis {
public:
    enum class Top { Maximum, Minimum };

    // An axis over an element of `size` with a carat `caratLength` pixels long along the axis.
    SliderAxis(QSize size, int caratLength, std::int32_t minimum, std::int32_t maximum, Top top);

    // Vertical when the element is narrower than it is tall.
    bool IsVertical() const { return vertical_; }
    // The value under `pen`, clamped to minimum … maximum.
    std::int32_t ValueAt(const QPoint& pen) const;
    // The carat's rectangle for `value`: centred on the value's position, kept inside the
    // element, `caratBreadth` pixels across the axis (centred).
    QRect CaratRect(std::int32_t value, int caratBreadth) const;

private:
    // The offset along the axis of the carat's leading edge for `value`, within 0 … L − c.
    int CaratStart(std::int32_t value) const;

    QSize size_;
    bool vertical_;
    int length_;
    int carat_;
    std::int32_t minimum_;
    std::int32_t maximum_;
    bool topIsMaximum_;
};

} // namespace jorvo
