#include "ui/WindowMessageEvent.h"

#include <QCoreApplication>

namespace jorvo {

WindowMessageEvent::WindowMessageEvent(WindowMessage message, WParam wParam, LParam lParam)
    : QEvent(EventType()), message_(message), wParam_(wParam), lParam_(lParam)
{
}

QEvent::Type WindowMessageEvent::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool IsRegisteredRange(WindowMessage message)
{
    return message >= kFirstRegisteredMessage && message <= kLastRegisteredMessage;
}

void PostWindowMessage(QObject* receiver, WindowMessage message, WParam wParam, LParam lParam)
{
    if (receiver && IsRegisteredRange(message))
        QCoreApplication::postEvent(receiver, new WindowMessageEvent(message, wParam, lParam));
}

bool SendWindowMessage(QObject* receiver, WindowMessage message, WParam wParam, LParam lParam)
{
    if (!receiver || !IsRegisteredRange(message))
        return false;
    WindowMessageEvent event(message, wParam, lParam);
    return QCoreApplication::sendEvent(receiver, &event);
}

} // namespace jorvo
