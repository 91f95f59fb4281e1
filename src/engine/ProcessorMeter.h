#pragma once
// The processor-time meter: how long rendering takes as a share of the real time the rendered
// frames last, in hundredths of a percent. One process-wide object: the audio output accounts
// every block, targets with timing set measure their own render step, the status display shows
// the running average.
#include <atomic>
#include <cstdint>
#include <string>

namespace jorvo {

class ProcessorMeter {
public:
    // The process-wide meter.
    static ProcessorMeter& Instance();

    ProcessorMeter();
    ProcessorMeter(const ProcessorMeter&) = delete;
    ProcessorMeter& operator=(const ProcessorMeter&) = delete;

    // The sample rate loads are computed for; 0 makes every load 0. UI thread (format changes).
    void SetSampleRate(std::uint32_t rate);

    // Reads the performance counter, keeps it as the last count and returns it. Any thread.
    std::uint64_t Begin();
    // The load of rendering `frames` frames since `start` (a Begin result); 0 when anything is 0.
    std::uint32_t Elapsed(std::uint64_t start, std::uint32_t frames) const;
    // Measures like Elapsed and folds the load into the peak and the running average. Audio thread.
    void Account(std::uint64_t start, std::uint32_t frames);

    // The load of `ticks` counter ticks spent on `frames` frames: ticks × rate × 10000 /
    // (frequency × frames), computed without overflow and capped at the largest 32-bit value.
    std::uint32_t LoadOf(std::uint64_t ticks, std::uint32_t frames) const;
    // Folds one load into the peak and the average: average := (average × count + load) /
    // (count + 1), count + 1.
    void AccountLoad(std::uint32_t load);

    // The counter reading of the last Begin.
    std::uint64_t LastCount() const { return lastCount_.load(std::memory_order_relaxed); }
    std::uint32_t Average() const { return average_.load(std::memory_order_relaxed); }
    std::uint32_t Peak() const { return peak_.load(std::memory_order_relaxed); }
    std::uint32_t Count() const { return count_.load(std::memory_order_relaxed); }
    // Forgets average, peak and count (the status display, whenever its text changed). UI thread.
    void ResetStatistics();

    // "CPU: %02d.%02d%%" of the average, e.g. "CPU: 12.34%".
    std::string CpuText() const;

private:
    std::atomic<std::uint64_t> lastCount_{0};
    std::uint64_t frequency_;
    std::atomic<std::uint32_t> sampleRate_{0};
    std::atomic<std::uint32_t> average_{0};
    std::atomic<std::uint32_t> peak_{0};
    std::atomic<std::uint32_t> count_{0};
};

} // namespace jorvo
