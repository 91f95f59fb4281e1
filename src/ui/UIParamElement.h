#pragma once
// The base of every element bound to one parameter of an event target. It shows the value tip
// while the pen is down, follows the parameter on WM_SYNC and rebinding messages, sends values
// through the sequencer and opens the parameter editor on a double tap. Without a bound
// parameter the element is disabled: it sends nothing and its tip says "Disabled". UI thread only.
#include <cstdint>
#include <limits>

#include "ui/UIElement.h"

namespace jorvo {

class SeqParameter;

class UIParamElement : public UIElement {
    Q_OBJECT
public:
    // The shown value before anything was shown.
    static constexpr std::int32_t kNothingShown = std::numeric_limits<std::int32_t>::min();

    explicit UIParamElement(QWidget* parent);

    // After the common attributes: "Event" (the event-type name of the event code, written only
    // when one is set) and a "Target" child with "Name" and "Class" of the bound target, which is
    // looked up through the sequencer on load.
    void SerializeXML(CXMLArchive& archive) override;
    // Binds `target` and the parameter of the event code (none when either is missing).
    void SetTarget(SeqEventTarget* target) override;

    // Brings the display up to date with the parameter's live value.
    virtual void Refresh();
    // Shows the value tip above the element ("%s: %d", or "Disabled" without a parameter).
    virtual void ShowValueTip();
    // Binds `parameter` (may be null) and refreshes; a live value equal to the shown one forces a
    // redraw.
    virtual void SetParameter(SeqParameter* parameter);

    SeqEventTarget* Target() const { return target_; }
    std::uint16_t EventCode() const { return eventCode_; }
    // Sets the event code (low byte event type, high byte sub-index) and rebinds.
    void SetEventCode(std::uint16_t code);
    SeqParameter* Parameter() const { return parameter_; }
    std::int32_t ShownValue() const { return shownValue_; }

protected:
    // Hands (target, event code, `value`) to the sequencer's SendToTarget. False (nothing sent)
    // when the element is disabled or there is no sequencer.
    bool SendValue(std::int32_t value);
    void SetShownValue(std::int32_t value) { shownValue_ = value; }

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    // Asks the sequencer to edit the bound parameter.
    void PenDoubleTap(const QPoint& point) override;
    // WM_SYNC refreshes; WM_SET_EVENT_TYPE and WM_SET_EVENT_TYPE_HIGH rebind.
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    void Rebind();

    SeqEventTarget* target_ = nullptr;
    std::uint16_t eventCode_ = 0;
    SeqParameter* parameter_ = nullptr;
    std::int32_t shownValue_ = kNothingShown;
};

} // namespace jorvo
