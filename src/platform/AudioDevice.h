#pragma once
// The wave-out services: a driver lists the output devices, answers format queries and opens a
// device; an open device takes queued blocks (wave headers) of interleaved PCM frames, plays them
// in order and hands each finished block back through a callback on the driver's own thread.
// An open device can be paused, restarted, reset (every pending block handed back) and closed.
//
// Threads: the owner (the user-interface thread) opens, prepares, writes, pauses, restarts,
// resets and closes; the callback runs on the device's driver thread and may only write blocks
// again. Pause, Restart, Reset and Close refuse to run on the driver thread.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace jorvo {

// Outcome of a wave-out call.
enum class WaveResult {
    Ok,
    BadDevice,      // no such device, or it cannot be opened
    Allocated,      // the device is busy (another program holds it)
    BadFormat,      // the device does not take this format
    Unprepared,     // the header was not prepared
    StillPlaying,   // the header or the device still has queued blocks
    WrongThread,    // called from the driver's callback thread
    DeviceError     // any other failure of the device
};

// A PCM format description; format tag 1 is integer PCM.
struct WaveFormat {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

// The integer PCM format with `channels`, `bits` and `rate`, alignment and byte rate derived.
WaveFormat MakePcmFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate);

// True when `format` is integer PCM of 8 or 16 bits, 1 or 2 channels, 8000…192000 Hz, and its
// alignment and byte rate agree with those values.
bool IsPlayablePcm(const WaveFormat& format);

// Header flags, set by the driver.
inline constexpr std::uint32_t kWaveHeaderDone = 0x01;     // the driver has finished with the block
inline constexpr std::uint32_t kWaveHeaderPrepared = 0x02; // the block may be written
inline constexpr std::uint32_t kWaveHeaderInQueue = 0x10;  // the block is queued on a device

// One block as handed to a device. The owner keeps it alive and unmoved while it is prepared.
struct WaveHeader {
    std::uint8_t* data = nullptr;
    std::uint32_t bufferLength = 0; // bytes of `data` to play
    std::uintptr_t user = 0;        // the owner's own value
    std::atomic<std::uint32_t> flags{kWaveHeaderDone};
    std::uint32_t loops = 0;
    WaveHeader* next = nullptr;     // the driver's own link
    std::uintptr_t reserved = 0;    // the driver's own word
};

// Messages the driver sends to the callback.
enum class WaveOutMessage { Open, Close, Done };

class WaveOutDevice;

// The callback: (device, message, instance value given at open, first parameter, second). With
// Done the first parameter is the finished WaveHeader's address. Driver thread.
using WaveOutCallback = void (*)(WaveOutDevice* device, WaveOutMessage message, std::uintptr_t instance,
                                 std::uintptr_t param1, std::uintptr_t param2);

// How the owner will queue blocks: frames per block and blocks circulating. A device sizes its
// own buffering from it (period = block, buffer = all blocks) as far as the hardware grants.
struct RingGeometry {
    std::uint32_t blockFrames = 1024;
    std::uint32_t blockCount = 16;
};

// An open wave-out device (the handle).
class WaveOutDevice {
public:
    virtual ~WaveOutDevice() = default;

    // Marks `header` prepared. Unprepared for a header without data; Ok when already prepared.
    WaveResult PrepareHeader(WaveHeader& header);
    // Clears the prepared mark. StillPlaying while the header is queued.
    WaveResult UnprepareHeader(WaveHeader& header);

    // Queues `header` behind the blocks already queued. Unprepared for an unprepared header,
    // StillPlaying for one already queued. Owner thread or the callback.
    virtual WaveResult Write(WaveHeader& header) = 0;
    // Holds playback; queued blocks wait. WrongThread on the driver thread.
    virtual WaveResult Pause() = 0;
    // Resumes after Pause. WrongThread on the driver thread.
    virtual WaveResult Restart() = 0;
    // Stops playback and hands every queued block back as done before returning. WrongThread on
    // the driver thread.
    virtual WaveResult Reset() = 0;
    // Closes the device. StillPlaying while blocks are queued (the device stays open).
    // WrongThread on the driver thread.
    virtual WaveResult Close() = 0;

    // Underruns since the device was opened: blocks the device had to wait for because it had
    // played everything it was given. Any thread. The base never counts any.
    virtual std::uint32_t Underruns() const { return 0; }
};

// The wave-out driver: the devices of this machine.
class WaveOutDriver {
public:
    virtual ~WaveOutDriver() = default;

    // Number of output devices.
    virtual std::uint32_t DeviceCount() = 0;
    // The product name of device `index`, or nothing when its capabilities cannot be read.
    virtual std::optional<std::string> DeviceName(std::uint32_t index) = 0;
    // Whether device `index` takes `format`, without opening it. Ok, BadFormat or BadDevice.
    virtual WaveResult QueryFormat(std::uint32_t index, const WaveFormat& format) = 0;
    // Opens device `index` for `format`; `callback` gets `instance` with every message. On Ok
    // `opened` holds the device; on failure it is left empty. Never waits for a busy device.
    virtual WaveResult Open(std::uint32_t index, const WaveFormat& format, const RingGeometry& geometry,
                            WaveOutCallback callback, std::uintptr_t instance,
                            std::unique_ptr<WaveOutDevice>& opened) = 0;
};

// The driver installed for this process: the machine's devices until another is installed.
WaveOutDriver& AudioDriver();

// Installs `driver` (not owned) and returns the previous one; null restores the machine's.
WaveOutDriver* SetAudioDriver(WaveOutDriver* driver);

// Installs a driver for the lifetime of the object (tests), then restores the previous one.
class ScopedAudioDriver {
public:
    explicit ScopedAudioDriver(WaveOutDriver& driver) : previous_(SetAudioDriver(&driver)) {}
    ~ScopedAudioDriver() { SetAudioDriver(previous_); }
    ScopedAudioDriver(const ScopedAudioDriver&) = delete;
    ScopedAudioDriver& operator=(const ScopedAudioDriver&) = delete;

private:
    WaveOutDriver* previous_;
};

// True on a device's driver thread (inside its callbacks included). Any thread.
bool OnAudioDriverThread();

// Marks the calling thread as a driver thread, or clears the mark. For driver implementations.
void MarkAudioDriverThread(bool driverThread);

// Asks the scheduler to run the calling thread ahead of ordinary threads (round-robin real-time
// scheduling at a low real-time priority), so a busy machine delays the refills less. False, with
// nothing changed, where the process may not (no privilege, no real-time budget).
bool RaiseAudioDriverPriority();

} // namespace jorvo
