#include "platform/DeviceIndicators.h"

namespace jorvo {

bool SetNotificationLed(const LedBlink&, bool)
{
    return false;
}

void ResetSystemIdleTimer()
{
}

} // namespace jorvo
