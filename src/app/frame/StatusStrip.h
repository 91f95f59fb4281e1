#pragma once
// The status strip under the command bar: memory load at the left, song position in the centre,
// processor load at the right, and beside it the output's underruns once there are any. The frame's one-second timer refreshes the loads; the song
// position follows WM_UPDATE_SEQTIME. UI thread only.
#include <cstdint>
#include <string>

#include <QWidget>

class QLabel;

namespace jorvo {

class ProcessorMeter;

class StatusStrip : public QWidget {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget* parent = nullptr);

    // "Mem: %02d%%" with `loadPercent`; the label is set only when the text changed.
    void ShowMemory(std::uint32_t loadPercent);
    // "CPU: %02d.%02d%%" of the meter's average; when the text changed it is shown and the
    // meter's statistics start again.
    void ShowProcessorLoad(ProcessorMeter& meter);
    // Shows bar and beat of `pulse` ("%03d:%02d", both counted from 1) when `beat` differs from
    // the beat shown last.
    void ShowSongTime(std::uint32_t beat, std::uint32_t pulse);
    // "Underruns: %d" while `count` is above 0 (a dropout the musician heard); nothing before.
    void ShowUnderruns(std::uint32_t count);

    std::string MemoryText() const;
    std::string PositionText() const;
    std::string ProcessorText() const;
    // The underrun text, empty while it is hidden.
    std::string UnderrunText() const;

protected:
    bool event(QEvent* event) override;

private:
    QLabel* memory_;
    QLabel* position_;
    QLabel* underruns_;
    QLabel* processor_;
    std::int64_t shownBeat_ = -1;
};

} // namespace jorvo
