#pragma once
// `Button`: a multi-state button bound to a parameter. It shows the state whose `Value` equals
// the parameter's value; a tap steps to the next state and sends that state's value. While held
// it shows the state it will send, and sliding off shows the current one again. UI thread only.
#include "ui/StateStrip.h"
#include "ui/UIParamElement.h"

namespace jorvo {

class ParamButton : public UIParamElement {
    Q_OBJECT
public:
    explicit ParamButton(QWidget* parent);

    std::string GetClassName() const override { return "Button"; }
    // After the parameter attributes: "Image" and the "State" list ("Index", "Value"); on load
    // the element is resized to one frame.
    void SerializeXML(CXMLArchive& archive) override;
    // Shows the state whose value equals the live value (the display stays when none does);
    // unbound, the first state whose value is 0.
    void Refresh() override;
    void Draw(QPainter& painter) override;

    int CurrentState() const { return current_; }
    StateStrip& States() { return strip_; }

protected:
    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;

private:
    void ShowState(int index);
    void DrawPlain(QPainter& painter);

    StateStrip strip_{"Value", nullptr};
    int current_ = 0;
    int resting_ = 0; // the state shown before the pen went down
    bool pressed_ = false;
    bool inside_ = false;
};

} // namespace jorvo
