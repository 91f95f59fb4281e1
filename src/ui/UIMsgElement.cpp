#include "ui/UIMsgElement.h"

#include "document/XMLArchive.h"
#include "ui/SkinView.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

UIMsgElement::UIMsgElement(QWidget* parent) : UIElement(parent) {}

void UIMsgElement::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    // Message="WM_ZOOM_IN_TIME" MinValue= MaxValue=
    std::string name = messageName_;
    archive.Serialize("Message", name);
    archive.Serialize("MinValue", minValue_);
    archive.Serialize("MaxValue", maxValue_);
    if (archive.IsLoading())
        SetMessageName(name);
}

void UIMsgElement::SetMessageName(const std::string& name)
{
    messageName_ = name;
    message_ = RegisterWindowMessage(name);
}

void UIMsgElement::SetRange(std::int32_t minimum, std::int32_t maximum)
{
    minValue_ = minimum;
    maxValue_ = maximum;
}

bool UIMsgElement::SetValue(std::int32_t value)
{
    if (value == value_ || value < minValue_ || value > maxValue_)
        return false;
    value_ = value;
    return true;
}

void UIMsgElement::Send(WParam wParam, LParam lParam)
{
    if (!IsRegisteredRange(message_))
        return;
    if (SkinView* view = OwningView())
        view->Broadcast(message_, wParam, lParam);
    else
        PostWindowMessage(parentWidget(), message_, wParam, lParam);
}

} // namespace jorvo
