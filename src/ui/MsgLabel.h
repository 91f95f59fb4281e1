#pragma once
// `MsgLabel`: a text over a background image; a double tap posts its message with 0, 0.
// UI thread only.
#include <string>

#include "document/XMLArchive.h"
#include "ui/SkinImage.h"
#include "ui/UIMsgElement.h"

namespace jorvo {

class MsgLabel : public UIMsgElement {
    Q_OBJECT
public:
    explicit MsgLabel(QWidget* parent);

    std::string GetClassName() const override { return "MsgLabel"; }
    // After the message attributes: "BackgroundImage", "DisplayText", "TextClr".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    // The background image (when one is named) and the text centred over it, in Tahoma.
    void Draw(QPainter& painter) override;

    const std::string& DisplayText() const { return text_; }
    void SetDisplayText(const std::string& text);
    Colour TextColour() const { return textColour_; }

protected:
    void PenDoubleTap(const QPoint& point) override;

private:
    SkinImage background_{"BackgroundImage"};
    std::string text_;
    Colour textColour_;
};

} // namespace jorvo
