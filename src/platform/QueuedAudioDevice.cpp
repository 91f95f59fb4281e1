#include "platform/QueuedAudioDevice.h"

#include <algorithm>
#include <chrono>

namespace jorvo {
namespace {

// The device whose driver thread this is; null on every other thread.
thread_local const QueuedAudioDevice* driverOfThisThread = nullptr;

} // namespace

QueuedAudioDevice::QueuedAudioDevice(const WaveFormat& format, WaveOutCallback callback, std::uintptr_t instance)
    : format_(format), callback_(callback), instance_(instance)
{
}

QueuedAudioDevice::~QueuedAudioDevice()
{
    StopDriverThread();
}

void QueuedAudioDevice::StartDriverThread()
{
    thread_ = std::thread([this] { DriverLoop(); });
}

void QueuedAudioDevice::StopDriverThread()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

std::uint32_t QueuedAudioDevice::FramesOf(const WaveHeader& header) const
{
    return format_.blockAlign == 0 ? 0 : header.bufferLength / format_.blockAlign;
}

WaveResult QueuedAudioDevice::Write(WaveHeader& header)
{
    const std::uint32_t flags = header.flags.load();
    if (!(flags & kWaveHeaderPrepared))
        return WaveResult::Unprepared;
    if (flags & kWaveHeaderInQueue)
        return WaveResult::StillPlaying;
    if (closed_)
        return WaveResult::BadDevice;
    header.flags.store((flags & ~kWaveHeaderDone) | kWaveHeaderInQueue);
    header.next = nullptr;
    if (driverOfThisThread == this) {
        Append(&header); // from the callback: the driver's own queue, no lock
        return WaveResult::Ok;
    }
    {
        std::lock_guard lock(mutex_);
        if (incomingTail_)
            incomingTail_->next = &header;
        else
            incomingHead_ = &header;
        incomingTail_ = &header;
    }
    wake_.notify_one();
    return WaveResult::Ok;
}

WaveResult QueuedAudioDevice::Pause()
{
    return RunCommand(Command::Pause);
}

WaveResult QueuedAudioDevice::Restart()
{
    return RunCommand(Command::Restart);
}

WaveResult QueuedAudioDevice::Reset()
{
    return RunCommand(Command::Reset);
}

WaveResult QueuedAudioDevice::Close()
{
    const WaveResult result = RunCommand(Command::Close);
    if (result != WaveResult::Ok)
        return result;
    thread_.join();
    closed_ = true;
    return SinkClose() ? WaveResult::Ok : WaveResult::DeviceError;
}

WaveResult QueuedAudioDevice::RunCommand(Command command)
{
    if (driverOfThisThread == this)
        return WaveResult::WrongThread;
    if (closed_ || !thread_.joinable())
        return WaveResult::BadDevice;
    std::unique_lock lock(mutex_);
    commandDone_.wait(lock, [this] { return command_ == Command::None; });
    command_ = command;
    wake_.notify_one();
    commandDone_.wait(lock, [this] { return command_ == Command::None; });
    return commandResult_;
}

void QueuedAudioDevice::ServeCommand()
{
    switch (command_) {
    case Command::None:
        return;
    case Command::Pause:
    case Command::Restart: {
        const bool pause = command_ == Command::Pause;
        const bool done = SinkSetPaused(pause);
        if (done) {
            paused_ = pause;
            flowing_ = !pause && framesInSink_ > 0;
        }
        commandResult_ = done ? WaveResult::Ok : WaveResult::DeviceError;
        break;
    }
    case Command::Reset:
        TakeIncoming();
        commandResult_ = SinkDrop() ? WaveResult::Ok : WaveResult::DeviceError;
        if (commandResult_ == WaveResult::Ok) {
            WaveHeader* header = queueHead_;
            queueHead_ = queueTail_ = feedCursor_ = nullptr;
            feedOffset_ = 0;
            framesInSink_ = 0;
            flowing_ = false;
            while (header) {
                WaveHeader* next = header->next;
                HandBack(header);
                header = next;
            }
        }
        break;
    case Command::Close:
        if (queueHead_ || incomingHead_) {
            commandResult_ = WaveResult::StillPlaying;
        } else {
            closing_ = true;
            commandResult_ = WaveResult::Ok;
        }
        break;
    }
    command_ = Command::None;
    commandDone_.notify_all();
}

void QueuedAudioDevice::DriverLoop()
{
    MarkAudioDriverThread(true);
    RaiseAudioDriverPriority(); // where refused, the driver still runs, only less punctually
    driverOfThisThread = this;
    callback_(this, WaveOutMessage::Open, instance_, 0, 0);
    std::unique_lock lock(mutex_);
    for (;;) {
        ServeCommand();
        if (closing_)
            break;
        TakeIncoming();
        lock.unlock();
        Pump();
        const int wait = WaitMilliseconds();
        lock.lock();
        if (command_ != Command::None || incomingHead_ || closing_)
            continue;
        if (wait < 0)
            wake_.wait(lock);
        else
            wake_.wait_for(lock, std::chrono::milliseconds(wait));
    }
    lock.unlock();
    callback_(this, WaveOutMessage::Close, instance_, 0, 0);
}

void QueuedAudioDevice::TakeIncoming()
{
    WaveHeader* header = incomingHead_;
    incomingHead_ = incomingTail_ = nullptr;
    while (header) {
        WaveHeader* next = header->next;
        Append(header);
        header = next;
    }
}

void QueuedAudioDevice::Append(WaveHeader* header)
{
    header->next = nullptr;
    if (queueTail_)
        queueTail_->next = header;
    else
        queueHead_ = header;
    queueTail_ = header;
    if (!feedCursor_) {
        feedCursor_ = header;
        feedOffset_ = 0;
    }
}

void QueuedAudioDevice::Pump()
{
    Feed();
    // A paused device plays nothing, so it hands nothing back: the output fills its ring while
    // paused and counts on keeping every block. (A sink that cannot pause, such as a PCM that
    // swallows data at once, would otherwise report the ring played before the output runs.)
    if (paused_)
        return;
    SinkKick(feedCursor_ != nullptr);
    Retire();
    // The callback refills each block it is handed at once; feed those now rather than after the
    // next sleep, so the sink holds the whole ring but the block being refilled.
    if (feedCursor_) {
        Feed();
        SinkKick(feedCursor_ != nullptr);
    }
}

void QueuedAudioDevice::Feed()
{
    while (feedCursor_) {
        const std::uint32_t frames = FramesOf(*feedCursor_);
        if (feedOffset_ < frames) {
            if (feedOffset_ == 0)
                NoteArrival();
            const std::uint8_t* from = feedCursor_->data + std::size_t{feedOffset_} * format_.blockAlign;
            const std::uint32_t taken = std::min(SinkAccept(from, frames - feedOffset_), frames - feedOffset_);
            feedOffset_ += taken;
            framesInSink_ += taken;
            flowing_ = flowing_ || (taken > 0 && !paused_);
            if (feedOffset_ < frames)
                return;
        }
        feedCursor_ = feedCursor_->next;
        feedOffset_ = 0;
    }
}

void QueuedAudioDevice::NoteArrival()
{
    if (flowing_ && !paused_ && SinkPendingFrames() == 0)
        underruns_.fetch_add(1, std::memory_order_relaxed);
}

void QueuedAudioDevice::Retire()
{
    std::uint64_t played = framesInSink_ - std::min(SinkPendingFrames(), framesInSink_);
    while (queueHead_ && queueHead_ != feedCursor_) {
        const std::uint32_t frames = FramesOf(*queueHead_);
        if (frames > played)
            return;
        played -= frames;
        framesInSink_ -= frames;
        WaveHeader* header = queueHead_;
        queueHead_ = header->next;
        if (!queueHead_)
            queueTail_ = nullptr;
        HandBack(header); // the callback may queue it again at the tail
    }
}

void QueuedAudioDevice::HandBack(WaveHeader* header)
{
    header->next = nullptr;
    header->flags.fetch_and(~kWaveHeaderInQueue);
    header->flags.fetch_or(kWaveHeaderDone);
    callback_(this, WaveOutMessage::Done, instance_, reinterpret_cast<std::uintptr_t>(header), 0);
}

int QueuedAudioDevice::WaitMilliseconds()
{
    if (paused_ || !queueHead_)
        return -1;
    const std::uint64_t pending = std::min(SinkPendingFrames(), framesInSink_);
    if (queueHead_ == feedCursor_)
        return SinkWaitMilliseconds(pending); // the sink is full: wait for room
    const std::uint64_t played = framesInSink_ - pending;
    const std::uint64_t headFrames = FramesOf(*queueHead_);
    return SinkWaitMilliseconds(headFrames > played ? headFrames - played : 0);
}

} // namespace jorvo
