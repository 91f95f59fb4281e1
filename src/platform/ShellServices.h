#pragma once
// What the core asks of the user interface. The engine never calls Qt: the application installs
// a Qt implementation, batch commands a headless one, tests a recording one.
#include <cstdint>
#include <optional>
#include <string>

namespace jorvo {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// The answer given when nobody is there to ask: the one that loses nothing. Ok for Ok, No for a
// yes/no question, Cancel otherwise; a caller whose safe answer differs passes it explicitly.
MessageAnswer UnattendedAnswer(MessageButtons buttons, std::optional<MessageAnswer> safeAnswer);

class ShellServices {
public:
    virtual ~ShellServices() = default;

    // Shows a message box and returns the button chosen. UI thread only. `safeAnswer` is what a
    // shell without a person (batch commands) answers instead of the default of UnattendedAnswer.
    virtual MessageAnswer MessageBox(const std::string& text, const std::string& caption = "Jorvo",
                                     MessageButtons buttons = MessageButtons::Ok,
                                     MessageIcon icon = MessageIcon::None,
                                     std::optional<MessageAnswer> safeAnswer = std::nullopt) = 0;
};

// The services installed for this process; the headless implementation until one is installed.
ShellServices& Shell();

// Installs `services` (not owned) and returns the previous one; null restores the headless one.
ShellServices* SetShell(ShellServices* services);

// Installs a shell for the lifetime of the object, then restores the previous one.
class ScopedShell {
public:
    explicit ScopedShell(ShellServices& services) : previous_(SetShell(&services)) {}
    ~ScopedShell() { SetShell(previous_); }
    ScopedShell(const ScopedShell&) = delete;
    ScopedShell& operator=(const ScopedShell&) = delete;

private:
    ShellServices* previous_;
};

} // namespace jorvo
