#pragma once
// A shell for tests: records every text shown and answers from a script, so tests can assert the
// exact messages and drive every question.
#include <deque>
#include <string>
#include <vector>

#include "platform/ShellServices.h"

namespace jorvo {

class RecordingShell : public ShellServices {
public:
    // Every message box text, in the order shown.
    std::vector<std::string> messages;
    // Answers for the next message boxes, first used first; when empty the unattended answer.
    std::deque<MessageAnswer> answers;

    MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                             MessageIcon icon, std::optional<MessageAnswer> safeAnswer) override;

    // The most recent message, or an empty string.
    std::string LastMessage() const { return messages.empty() ? std::string() : messages.back(); }
};

} // namespace jorvo
