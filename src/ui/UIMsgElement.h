#pragma once
// The base of elements that post a registered window message named in the skin instead of
// changing a parameter: this is how skins drive views, editors and the transport. UI thread only.
#include <cstdint>
#include <string>

#include "ui/UIElement.h"

namespace jorvo {

class UIMsgElement : public UIElement {
    Q_OBJECT
public:
    explicit UIMsgElement(QWidget* parent);

    // After the common attributes: "Message" (registered on load; empty gives number 0),
    // "MinValue" and "MaxValue".
    void SerializeXML(CXMLArchive& archive) override;

    // Stores `value` and returns true; false (unchanged) when it equals the current value or lies
    // outside minimum … maximum.
    virtual bool SetValue(std::int32_t value);
    // Posts the message to the owning view and each of its elements, or to the parent window
    // when there is no owning view; nothing when the number lies outside 0xC000 … 0xFFFF.
    virtual void Send(WParam wParam, LParam lParam);

    const std::string& MessageName() const { return messageName_; }
    // Names the message and registers it.
    void SetMessageName(const std::string& name);
    WindowMessage MessageNumber() const { return message_; }
    std::int32_t Value() const { return value_; }
    std::int32_t MinValue() const { return minValue_; }
    std::int32_t MaxValue() const { return maxValue_; }
    void SetRange(std::int32_t minimum, std::int32_t maximum);

private:
    std::string messageName_;
    WindowMessage message_ = 0;
    std::int32_t value_ = 0;
    std::int32_t minValue_ = 0;
    std::int32_t maxValue_ = 0;
};

} // namespace jorvo
