#pragma once
// A registered window message travelling through Qt's event queue: posting one to a widget is
// how views, elements and editors talk to each other. Events for a widget that is destroyed
// before they arrive are dropped by Qt.
#include <QEvent>

#include "platform/WindowMessages.h"

class QObject;

namespace jorvo {

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(WindowMessage message, WParam wParam, LParam lParam);

    // The Qt event type every window message travels under.
    static QEvent::Type EventType();

    WindowMessage Message() const { return message_; }
    WParam WParamValue() const { return wParam_; }
    LParam LParamValue() const { return lParam_; }

private:
    WindowMessage message_;
    WParam wParam_;
    LParam lParam_;
};

// Queues `message` for `receiver`; nothing for a null receiver or a number outside the
// registered range. UI thread.
void PostWindowMessage(QObject* receiver, WindowMessage message, WParam wParam, LParam lParam);

// Delivers `message` to `receiver` at once and returns whether it was handled. UI thread.
bool SendWindowMessage(QObject* receiver, WindowMessage message, WParam wParam, LParam lParam);

// True when `message` lies in the registered range 0xC000 … 0xFFFF.
bool IsRegisteredRange(WindowMessage message);

} // namespace jorvo
