#include "platform/ShellServices.h"

#include <atomic>
#include <cstdio>

#include "platform/HeadlessShell.h"
#include "platform/RecordingShell.h"

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

MessageAnswer HeadlessShell::MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                        MessageIcon, std::optional<MessageAnswer> safeAnswer)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return UnattendedAnswer(buttons, safeAnswer);
}

MessageAnswer RecordingShell::MessageBox(const std::string& text, const std::string&, MessageButtons buttons,
                                         MessageIcon, std::optional<MessageAnswer> safeAnswer)
{
    messages.push_back(text);
    if (answers.empty())
        return UnattendedAnswer(buttons, safeAnswer);
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace jorvo
