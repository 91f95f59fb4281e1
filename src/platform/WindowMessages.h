#pragma once
// Registered window messages: a process-wide table that gives each message name one number from
// 0xC000 upward, so views, elements and the sequencer agree on numbers without a central list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jorvo {

// A window message number.
using WindowMessage = std::uint32_t;
// The two message parameters, each wide enough to carry a pointer.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;

// The first number handed out; the last is 0xFFFF.
inline constexpr WindowMessage kFirstRegisteredMessage = 0xC000;
inline constexpr WindowMessage kLastRegisteredMessage = 0xFFFF;

// The number of message `name`, registering it on first use; the same name (letters in any case)
// always gets the same number. 0 for an empty name or when every number is taken. Any thread.
WindowMessage RegisterWindowMessage(std::string_view name);

// The name `message` was registered under, as first spelled; nothing for an unregistered number.
// Any thread.
std::optional<std::string> RegisteredMessageName(WindowMessage message);

} // namespace jorvo
