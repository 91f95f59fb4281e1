#pragma once
// `Image`: a static picture filling the element's rectangle from its top-left corner; it sends
// nothing. UI thread only.
#include "ui/SkinImage.h"
#include "ui/UIElement.h"

namespace jorvo {

class UIImage : public UIElement {
    Q_OBJECT
public:
    explicit UIImage(QWidget* parent);

    std::string GetClassName() const override { return "Image"; }
    // After the common attributes: "Image".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    // The bitmap; nothing when no file is named, black when it cannot be found.
    void Draw(QPainter& painter) override;

    SkinImage& Picture() { return image_; }

private:
    SkinImage image_{"Image"};
};

} // namespace jorvo
