#include "ui/UIParamElement.h"

#include <QPainter>

#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "platform/TextFormat.h"
#include "sequencer/ControllerNames.h"
#include "sequencer/Sequencer.h"
#include "ui/CToolTips.h"
#include "ui/UIMessages.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {

UIParamElement::UIParamElement(QWidget* parent) : UIElement(parent) {}

void UIParamElement::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    if (!archive.IsLoading()) {
        // Event="MODULATION"; <Target Name="mSyn" Class="Instrument"/>
        if (eventCode_ != 0)
            archive.Write("Event", ControllerName(eventCode_));
        if (target_)
            target_->WriteReference(archive);
        return;
    }
    std::string event;
    if (archive.Read("Event", event))
        eventCode_ = ControllerCode(event);
    Rebind();
    DomNode targetNode;
    if (!archive.FindChild("Target", targetNode))
        return;
    CXMLArchive targetArchive(archive);
    targetArchive.SetCurrentNode(targetNode);
    std::string name, typeName;
    targetArchive.Read("Name", name);
    targetArchive.Read("Class", typeName);
    if (Sequencer* sequencer = Sequencer::Current())
        SetTarget(sequencer->FindTarget(name, typeName));
}

void UIParamElement::SetTarget(SeqEventTarget* target)
{
    target_ = target;
    Rebind();
}

void UIParamElement::SetEventCode(std::uint16_t code)
{
    eventCode_ = code;
    Rebind();
}

void UIParamElement::Rebind()
{
    SetParameter(target_ && eventCode_ != 0 ? target_->FindParameter(eventCode_) : nullptr);
}

void UIParamElement::SetParameter(SeqParameter* parameter)
{
    parameter_ = parameter;
    if (parameter_ && parameter_->LiveValue() == shownValue_)
        shownValue_ = ~shownValue_;
    Refresh();
}

void UIParamElement::Refresh()
{
    if (parameter_ && parameter_->LiveValue() != shownValue_) {
        shownValue_ = parameter_->LiveValue();
        update();
    }
}

void UIParamElement::ShowValueTip()
{
    CToolTips& tip = CToolTips::Instance();
    tip.SetText(parameter_ ? QString::fromStdString(FormatText(UIMessages::kValueTip,
                                                               {parameter_->Name(), std::to_string(shownValue_)}))
                           : QString(UIMessages::kValueTipDisabled));
    QPoint at = tip.pos();
    if (tip.AttachedElement() != this)
        at = mapToGlobal(QPoint((width() - tip.width()) / 2, -tip.height()));
    tip.ShowAt(this, at);
}

bool UIParamElement::SendValue(std::int32_t value)
{
    Sequencer* sequencer = Sequencer::Current();
    if (!target_ || !parameter_ || !sequencer)
        return false;
    sequencer->SendToTarget(target_, eventCode_, value, 0, 0, 0);
    return true;
}

void UIParamElement::PenDown(const QPoint& point)
{
    ShowValueTip();
    UIElement::PenDown(point);
}

void UIParamElement::PenMove(const QPoint& point)
{
    ShowValueTip();
    UIElement::PenMove(point);
}

void UIParamElement::PenUp(const QPoint& point)
{
    CToolTips::Instance().Hide();
    UIElement::PenUp(point);
}

void UIParamElement::PenDoubleTap(const QPoint&)
{
    Sequencer* sequencer = Sequencer::Current();
    if (target_ && parameter_ && sequencer)
        sequencer->EditTargetParameters(target_, parameter_);
}

bool UIParamElement::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage sync = RegisterWindowMessage(UIWindowMessages::kSync);
    static const WindowMessage setEventType = RegisterWindowMessage(UIWindowMessages::kSetEventType);
    static const WindowMessage setEventTypeHigh = RegisterWindowMessage(UIWindowMessages::kSetEventTypeHigh);
    if (message == sync) {
        Refresh();
        return true;
    }
    if (message == setEventType) {
        SetEventCode(static_cast<std::uint16_t>(wParam));
        return true;
    }
    if (message == setEventTypeHigh) {
        SetEventCode(static_cast<std::uint16_t>((eventCode_ & 0xFF) | ((wParam & 0xFF) << 8)));
        return true;
    }
    return UIElement::OnWindowMessage(message, wParam, lParam);
}

} // namespace jorvo
