#pragma once
// The real-time output over the wave-out services: a ring of blocks circulates between the output
// and the device. Each block the device hands back is refilled from the source on the driver's
// thread and queued again, so blockCount blocks of blockSize frames are always in flight
// (latency blockCount × blockSize / sampleRate). The ring's size comes from the settings
// "MMEBlockCount" (3…32, default 16) and "MMEBlockSize" (8…8192 frames, default 1024), written
// back when the output is destroyed.
//
// Threads: everything but the driver callback runs on the user-interface thread. The callback
// fills and queues blocks only while `running` is set; it never allocates and never shows a
// message (its reports wait for the UI thread, platform/AudioDeviceReports.h).
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/AudioOutput.h"
#include "platform/AudioDevice.h"

namespace jorvo {

class AudioOutputMME : public AudioOutput {
    JORVO_DECLARE_PERSISTENT(AudioOutputMME)

    // A stopped output with no studio of its own; reads the settings and sets 2 × 16 bit × 44100 Hz.
    AudioOutputMME();
    // The same, making `studio` the class-wide studio first.
    explicit AudioOutputMME(AudioOutputStudio* studio);
    // Stops, closes the device, frees the blocks and writes the block settings back.
    ~AudioOutputMME() override;

    // Runs the "Audio Output Options" dialog; false (showing nothing) while running.
    bool Configure() override;
    // Opens and pauses the device, fills and queues every block, restarts it. True when running
    // (also when it already was); false after reporting the step that failed.
    bool Start() override;
    // Resets the device, unprepares the blocks and closes the device; blocks stay allocated.
    // Nothing when stopped.
    void Stop() override;
    // Stops, closes, frees everything, re-reads the settings and sets the format again.
    void Reset() override;
    // Device 0, not running; true.
    bool Initialise() override;
    // Finds a device for the format (the current one, else the first that takes it), stores the
    // format, frees the blocks and clamps the ring's size. False, after reporting, when no device
    // takes it or it is not 16-bit stereo (the only format the blocks are converted to); the old
    // format stays.
    bool SetFormat(std::uint16_t channels, std::uint16_t bits, std::uint32_t rate) override;

    // Underruns of every device this output opened, the open one included.
    std::uint32_t Underruns() const override;

    // Makes device `index` the one Start opens. False, with nothing changed, while running or when
    // the device does not take the output's format.
    bool SelectDevice(std::uint32_t index);

    // Blocks in the ring (3…32).
    std::uint16_t BlockCount() const { return blockCount_; }
    // Frames per block (8…8192).
    std::uint16_t BlockSize() const { return blockSize_; }
    // The index of the wave-out device in use.
    std::uint32_t Device() const { return device_; }

    // Converts `samples` internal samples (16-bit scale × 256) to 16 bits: shifted right by 8,
    // saturated to −32768…32767.
    static void ConvertToPcm16(const std::int32_t* from, std::size_t samples, std::int16_t* to) noexcept;

private:
    struct AudioBlock;

    static void DriverCallback(WaveOutDevice* device, WaveOutMessage message, std::uintptr_t instance,
                               std::uintptr_t param1, std::uintptr_t param2);

    void ReadSettings();
    void WriteSettings();
    bool Open();
    bool AllocateBlocks();
    void FreeBlocks();
    void UnprepareBlocks();
    bool CloseDevice();
    void FillBlock(AudioBlock& block, WaveOutDevice& device) noexcept;

    std::unique_ptr<WaveOutDevice> deviceHandle_;
    std::uint32_t device_ = 0;
    std::vector<std::unique_ptr<AudioBlock>> blocks_; // the ring, in creation order
    std::vector<std::int32_t> mix_;                   // what the source renders into, one block long
    std::uint16_t blockCount_ = 0;
    std::uint16_t blockSize_ = 0;
    std::uint32_t closedUnderruns_ = 0; // of the devices closed so far
};

} // namespace jorvo
