#include "engine/SeqParameter.h"

namespace jorvo {

SeqParameter::SeqParameter(std::string name, std::string description, std::uint16_t number, std::int32_t minimum,
                           std::int32_t maximum, std::int32_t value)
    : name_(std::move(name)), description_(std::move(description)), number_(number), minimum_(minimum),
      maximum_(maximum), stored_(value), live_(value)
{
}

SeqParameter::SeqParameter(const SeqParameter& other)
    : name_(other.name_), description_(other.description_), number_(other.number_), minimum_(other.minimum_),
      maximum_(other.maximum_), stored_(other.StoredValue()), live_(other.LiveValue())
{
}

SeqParameter& SeqParameter::operator=(const SeqParameter& other)
{
    name_ = other.name_;
    description_ = other.description_;
    number_ = other.number_;
    minimum_ = other.minimum_;
    maximum_ = other.maximum_;
    stored_.store(other.StoredValue(), std::memory_order_relaxed);
    live_.store(other.LiveValue(), std::memory_order_relaxed);
    return *this;
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
