#include "platform/ShellServices.h"

#include <atomic>

#include "platform/HeadlessShell.h"

namespace jorvo {
namespace {

HeadlessShell& DefaultShell()
{
    static HeadlessShell shell;
    return shell;
}

std::atomic<ShellServices*> installed{nullptr};

} // namespace

MessageAnswer UnattendedAnswer(MessageButtons buttons, std::optional<MessageAnswer> safeAnswer)
{
    if (safeAnswer)
        return *safeAnswer;
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

ShellServices& Shell()
{
    ShellServices* services = installed.load();
    return services ? *services : DefaultShell();
}

ShellServices* SetShell(ShellServices* services)
{
    return installed.exchange(services);
}

} // namespace jorvo
