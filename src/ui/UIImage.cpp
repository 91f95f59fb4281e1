#include "ui/UIImage.h"

#include "document/XMLArchive.h"

namespace jorvo {

UIImage::UIImage(QWidget* parent) : UIElement(parent) {}

void UIImage::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    // Image="picture.png"
    image_.SerializeXML(archive);
    if (archive.IsLoading())
        image_.Load();
}

bool UIImage::Create(int left, int top, int width, int height)
{
    image_.SetRect(QRect(0, 0, width, height));
    return UIElement::Create(left, top, width, height);
}

void UIImage::Draw(QPainter& painter)
{
    if (!image_.File().empty())
        image_.Draw(painter);
}

} // namespace jorvo
