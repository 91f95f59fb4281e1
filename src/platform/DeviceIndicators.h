#pragma once
// The handheld's notification LED and system idle timer. A desktop has neither: the calls are kept
// so that the sequencer's beat code reads as it behaves on a device, and do nothing here.
#include <cstdint>

namespace jorvo {

// How the notification LED should blink.
struct LedBlink {
    std::uint32_t led = 0;
    std::uint32_t cycleTime = 0;
    std::uint32_t onTime = 0;
    std::uint32_t offTime = 0;
    std::uint32_t metaCycleOn = 0;
};

// Switches notification LED `blink.led` on or off. UI thread. False: this machine has no such LED.
bool SetNotificationLed(const LedBlink& blink, bool on);

// Tells the system that the user is active so that it does not go to sleep. Does nothing here:
// desktops keep playing while audio runs.
void ResetSystemIdleTimer();

} // namespace jorvo
