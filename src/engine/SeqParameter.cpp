#include "engine/SeqParameter.h"

#include <algorithm>

namespace jorvo {

SeqParameter::SeqParameter(std::string name, std::string description, std::uint16_t number, std::int32_t minimum,
                           std::int32_t maximum, std::int32_t value)
    : name_(std::move(name)), description_(std::move(description)), number_(number), minimum_(minimum),
      maximum_(maximum), stored_(value), live_(value)
{
}

SeqParameter::SeqParameter(const SeqParameter& other)
    : name_(other.name_), description_(other.description_), number_(other.number_), minimum_(other.Minimum()),
      maximum_(other.Maximum()), stored_(other.StoredValue()), live_(other.LiveValue())
{
}

SeqParameter& SeqParameter::operator=(const SeqParameter& other)
{
    name_ = other.name_;
    description_ = other.description_;
    number_ = other.number_;
    minimum_.store(other.Minimum(), std::memory_order_relaxed);
    maximum_.store(other.Maximum(), std::memory_order_relaxed);
    stored_.store(other.StoredValue(), std::memory_order_relaxed);
    live_.store(other.LiveValue(), std::memory_order_relaxed);
    return *this;
}

bool SeqParameter::SetRange(std::int32_t minimum, std::int32_t maximum)
{
    if (minimum > maximum)
        return false;
    minimum_.store(minimum, std::memory_order_relaxed);
    maximum_.store(maximum, std::memory_order_relaxed);
    stored_.store(std::clamp(StoredValue(), minimum, maximum), std::memory_order_relaxed);
    live_.store(std::clamp(LiveValue(), minimum, maximum), std::memory_order_relaxed);
    return true;
}

bool SeqParameter::SetLive(std::int32_t value)
{
    if (!InRange(value))
        return false;
    live_.store(value, std::memory_order_relaxed);
    return true;
}

bool SeqParameter::SetStored(std::int32_t value)
{
    if (!InRange(value))
        return false;
    stored_.store(value, std::memory_order_relaxed);
    return true;
}

} // namespace jorvo
