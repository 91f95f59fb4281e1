#pragma once
// The engines' integer formulas are written for 32-bit registers: products and sums wrap around
// at 32 bits and shifts of negative values are arithmetic. These helpers compute in unsigned
// 32-bit arithmetic, which wraps by definition, and convert back (modular since C++20), so the
// results are bit-exact without signed-overflow undefined behaviour and stay 32-bit operations
// the compiler can vectorise. (Right shifts of negative values are arithmetic in C++20, so `>>`
// is used as is.)
#include <cstdint>

namespace jorvo {

// `value` truncated to its low 32 bits, as a signed 32-bit number.
constexpr std::int32_t Wrap32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

// a × b as a 32-bit register holds it.
constexpr std::int32_t Mul32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// a + b as a 32-bit register holds it.
constexpr std::int32_t Add32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// a − b as a 32-bit register holds it.
constexpr std::int32_t Sub32(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

} // namespace jorvo
