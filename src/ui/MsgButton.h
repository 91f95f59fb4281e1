#pragma once
// `MsgButton`: a multi-state button that posts its message with the current state's `Param1` and
// `Param2`. The state advances on pen down. Without `SubmitOnMouseUp` it sends at once and
// repeats while held (first after 300 ms, then every 100 ms); with it, it sends on pen up inside.
// Without `Latch` it returns to its previous state on pen up. UI thread only.
#include <QTimer>

#include "ui/StateStrip.h"
#include "ui/UIMsgElement.h"

namespace jorvo {

class MsgButton : public UIMsgElement {
    Q_OBJECT
public:
    // The auto-repeat delays, in milliseconds.
    static constexpr int kRepeatDelayMs = 300;
    static constexpr int kRepeatIntervalMs = 100;

    explicit MsgButton(QWidget* parent);

    std::string GetClassName() const override { return "MsgButton"; }
    // After the message attributes: "Image", the "State" list ("Index", "Param1", "Param2"),
    // "Latch" and "SubmitOnMouseUp"; on load the element is resized to one frame.
    void SerializeXML(CXMLArchive& archive) override;
    // Draws the current state's frame.
    void Draw(QPainter& painter) override;

    // The state index shown now.
    int CurrentState() const { return current_; }
    bool IsLatched() const { return latch_; }
    bool SubmitsOnPenUp() const { return submitOnPenUp_; }
    StateStrip& States() { return strip_; }

protected:
    // Hands the current state on: posts the message with its Param1 and Param2.
    virtual void Submit();
    // True when a held button sends again and again.
    virtual bool Repeats() const { return true; }

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void CaptureLost() override;

private:
    void ShowState(int index);
    void RepeatTick();

    StateStrip strip_{"Param1", "Param2"};
    bool latch_ = false;
    bool submitOnPenUp_ = false;
    int current_ = 0;
    int previous_ = 0;
    bool inside_ = false;
    QTimer repeatTimer_;
};

} // namespace jorvo
