#pragma once
// The shell of batch commands: every message goes to standard error and every question gets the
// answer that loses nothing.
#include "platform/ShellServices.h"

namespace jorvo {

class HeadlessShell : public ShellServices {
public:
    MessageAnswer MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                             MessageIcon icon, std::optional<MessageAnswer> safeAnswer) override;
};

} // namespace jorvo
