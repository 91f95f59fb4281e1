#include "platform/WindowMessages.h"

#include <map>
#include <mutex>
#include <vector>

#include "platform/AsciiText.h"

namespace jorvo {
namespace {

struct MessageTable {
    std::mutex lock;
    std::map<std::string, WindowMessage> numbers; // keyed by the lower-case name
    std::vector<std::string> names;               // index = number - kFirstRegisteredMessage
};

MessageTable& Table()
{
    static MessageTable table;
    return table;
}

} // namespace

WindowMessage RegisterWindowMessage(std::string_view name)
{
    if (name.empty())
        return 0;
    MessageTable& table = Table();
    std::lock_guard guard(table.lock);
    const auto [entry, inserted] = table.numbers.try_emplace(ToLowerAscii(name), 0);
    if (!inserted)
        return entry->second;
    if (table.names.size() > kLastRegisteredMessage - kFirstRegisteredMessage) {
        table.numbers.erase(entry);
        return 0;
    }
    entry->second = kFirstRegisteredMessage + static_cast<WindowMessage>(table.names.size());
    table.names.emplace_back(name);
    return entry->second;
}

std::optional<std::string> RegisteredMessageName(WindowMessage message)
{
    MessageTable& table = Table();
    std::lock_guard guard(table.lock);
    if (message < kFirstRegisteredMessage || message - kFirstRegisteredMessage >= table.names.size())
        return std::nullopt;
    return table.names[message - kFirstRegisteredMessage];
}

} // namespace jorvo
