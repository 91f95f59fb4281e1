#pragma once
// A scripted wave-out driver for the output's tests: devices that accept the format or not,
// driver calls that fail on demand, and a device that hands blocks back only when the test says,
// calling the output's callback the way a driver thread would.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"

namespace jorvo::test {

// One block as the device saw it when it was queued.
struct QueuedBlock {
    WaveHeader* header = nullptr;
    std::uint32_t length = 0;
    std::uint32_t flags = 0;
    std::vector<std::int16_t> samples;
};

// How often the devices of a driver were asked to do what; outlives the devices.
struct DeviceCalls {
    int pauses = 0, restarts = 0, resets = 0, closes = 0;
};

class ScriptedDevice : public WaveOutDevice {
public:
    ScriptedDevice(WaveOutCallback callback, std::uintptr_t instance, DeviceCalls& calls)
        : calls_(calls), callback_(callback), instance_(instance)
    {
    }

    WaveResult Write(WaveHeader& header) override
    {
        const std::uint32_t flags = header.flags.load();
        if (!(flags & kWaveHeaderPrepared))
            return WaveResult::Unprepared;
        header.flags.store((flags & ~kWaveHeaderDone) | kWaveHeaderInQueue);
        const auto* samples = reinterpret_cast<const std::int16_t*>(header.data);
        written.push_back({&header, header.bufferLength, flags, {samples, samples + header.bufferLength / 2}});
        queue.push_back(&header);
        return WaveResult::Ok;
    }
    WaveResult Pause() override { ++calls_.pauses; return pauseResult; }
    WaveResult Restart() override { ++calls_.restarts; return restartResult; }
    WaveResult Reset() override
    {
        ++calls_.resets;
        if (resetResult == WaveResult::Ok)
            while (!queue.empty())
                ReturnBlock();
        return resetResult;
    }
    WaveResult Close() override { ++calls_.closes; return queue.empty() ? closeResult : WaveResult::StillPlaying; }
    std::uint32_t Underruns() const override { return underruns; }

    // Hands the oldest queued block back as done, as the driver thread would.
    void ReturnBlock()
    {
        WaveHeader* header = queue.front();
        queue.pop_front();
        header->flags.fetch_and(~kWaveHeaderInQueue);
        header->flags.fetch_or(kWaveHeaderDone);
        callback_(this, WaveOutMessage::Done, instance_, reinterpret_cast<std::uintptr_t>(header), 0);
    }

    std::vector<QueuedBlock> written;
    std::deque<WaveHeader*> queue;
    WaveResult pauseResult = WaveResult::Ok, restartResult = WaveResult::Ok;
    WaveResult resetResult = WaveResult::Ok, closeResult = WaveResult::Ok;
    std::uint32_t underruns = 0; // what Underruns answers

private:
    DeviceCalls& calls_;
    WaveOutCallback callback_;
    std::uintptr_t instance_;
};

class ScriptedDriver : public WaveOutDriver {
public:
    // Which devices take the standard format; their names are "Card 0", "Card 1", …
    std::vector<bool> accepts{true};
    WaveResult openResult = WaveResult::Ok;
    // What the next devices opened answer to Pause and Restart.
    WaveResult pauseResult = WaveResult::Ok, restartResult = WaveResult::Ok;
    // The device opened last (owned by the output); null before.
    ScriptedDevice* device = nullptr;
    int opens = 0;
    DeviceCalls calls;

    std::uint32_t DeviceCount() override { return static_cast<std::uint32_t>(accepts.size()); }
    std::optional<std::string> DeviceName(std::uint32_t index) override
    {
        return index < accepts.size() ? std::optional<std::string>("Card " + std::to_string(index)) : std::nullopt;
    }
    WaveResult QueryFormat(std::uint32_t index, const WaveFormat&) override
    {
        return index < accepts.size() && accepts[index] ? WaveResult::Ok : WaveResult::BadFormat;
    }
    WaveResult Open(std::uint32_t, const WaveFormat&, const RingGeometry&, WaveOutCallback callback,
                    std::uintptr_t instance, std::unique_ptr<WaveOutDevice>& opened) override
    {
        ++opens;
        if (openResult != WaveResult::Ok)
            return openResult;
        auto created = std::make_unique<ScriptedDevice>(callback, instance, calls);
        created->pauseResult = pauseResult;
        created->restartResult = restartResult;
        device = created.get();
        opened = std::move(created);
        return WaveResult::Ok;
    }
};

} // namespace jorvo::test
