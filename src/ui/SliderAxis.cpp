#include "ui/SliderAxis.h"

#include <algorithm>

namespace jorvo {

SliderAxis::SliderAxis(QSize size, int caratLength, std::int32_t minimum, std::int32_t maximum, Top top)
    : size_(size),
      vertical_(size.width() < size.height()),
      length_(vertical_ ? size.height() : size.width()),
      carat_(std::max(caratLength, 0)),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      topIsMaximum_(top == Top::Maximum)
{
}

std::int32_t SliderAxis::ValueAt(const QPoint& pen) const
{
    const long long travel = static_cast<long long>(length_) - carat_;
    if (travel <= 0)
        return minimum_; // no room for the carat to move
    const long long range = static_cast<long long>(maximum_) - minimum_;
    const long long half = carat_ / 2;
    long long along = 0;
    if (!vertical_)
        along = pen.x() - half;
    else if (topIsMaximum_)
        along = travel + half - pen.y();
    else
        along = pen.y() - half;
    const long long value = minimum_ + along * range / travel;
    return static_cast<std::int32_t>(std::clamp<long long>(value, minimum_, maximum_));
}

int SliderAxis::CaratStart(std::int32_t value) const
{
    const long long travel = std::max(static_cast<long long>(length_) - carat_, 0LL);
    const long long range = static_cast<long long>(maximum_) - minimum_;
    const long long v = std::clamp<long long>(value, minimum_, maximum_) - minimum_;
    const long long fromMinimum = range > 0 ? v * travel / range : 0;
    return static_cast<int>(vertical_ && topIsMaximum_ ? travel - fromMinimum : fromMinimum);
}

QRect SliderAxis::CaratRect(std::int32_t value, int caratBreadth) const
{
    const int start = CaratStart(value);
    if (vertical_)
        return QRect((size_.width() - caratBreadth) / 2, start, caratBreadth, carat_);
    return QRect(start, (size_.height() - caratBreadth) / 2, carat_, caratBreadth);
}

} // namespace jorvo
