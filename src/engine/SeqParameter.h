#pragma once
// One numbered parameter of a sound target: its range and the two values it keeps. The stored
// value belongs to the document (saved, loaded, restored on reset); the live value is what the
// sound engine uses now and follows controller events during playback.
#include <atomic>
#include <cstdint>
#include <string>

namespace jorvo {

class SeqParameter {
public:
    // A record with both values at `value`. Records are usually members of the target owning them.
    SeqParameter(std::string name, std::string description, std::uint16_t number, std::int32_t minimum,
                 std::int32_t maximum, std::int32_t value);
    SeqParameter(const SeqParameter& other);
    SeqParameter& operator=(const SeqParameter& other);
    virtual ~SeqParameter() = default;

    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    std::uint16_t Number() const { return number_; }
    std::int32_t Minimum() const { return minimum_.load(std::memory_order_relaxed); }
    std::int32_t Maximum() const { return maximum_.load(std::memory_order_relaxed); }

    // The values are read by the audio thread while the user interface writes them: each is one
    // 32-bit word, picked up by the next chunk.
    std::int32_t StoredValue() const { return stored_.load(std::memory_order_relaxed); }
    std::int32_t LiveValue() const { return live_.load(std::memory_order_relaxed); }

    // True when `value` lies within minimum…maximum.
    bool InRange(std::int32_t value) const { return value >= Minimum() && value <= Maximum(); }

    // Sets the live value; false and no change when `value` is out of range (never clamped).
    bool SetLive(std::int32_t value);

    // Sets the stored value; false and no change when `value` is out of range.
    bool SetStored(std::int32_t value);

    // Changes the range to minimum…maximum and pulls both values into it. Does not allocate, so
    // an event on the audio thread may narrow a range (sampler zones: Start and End limit each
    // other). False and no change when minimum > maximum.
    bool SetRange(std::int32_t minimum, std::int32_t maximum);

    // Renames the record (mixer channels rebuild their names when their instrument is renamed).
    void SetName(std::string name) { name_ = std::move(name); }
    void SetDescription(std::string description) { description_ = std::move(description); }

    // Changes the number (mixer sends follow their buss's send number). Only while the record is
    // not registered with a target: remove it first, then add it again.
    void SetNumber(std::uint16_t number) { number_ = number; }

private:
    std::string name_;
    std::string description_;
    std::uint16_t number_;
    std::atomic<std::int32_t> minimum_;
    std::atomic<std::int32_t> maximum_;
    std::atomic<std::int32_t> stored_;
    std::atomic<std::int32_t> live_;
};

} // namespace jorvo
