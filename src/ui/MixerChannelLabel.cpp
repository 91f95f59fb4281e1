#include "ui/MixerChannelLabel.h"

#include <QMenu>
#include <QPainter>
#include <QPointer>

#include "document/XMLArchive.h"
#include "engine/Instrument.h"
#include "engine/MixerChannel.h"
#include "engine/SoundStudio.h"
#include "ui/ControlLook.h"
#include "ui/PopupMenu.h"

namespace jorvo {

MixerChannelLabel::MixerChannelLabel(QWidget* parent) : UIParamElement(parent) {}

void MixerChannelLabel::SerializeXML(CXMLArchive& archive)
{
    UIParamElement::SerializeXML(archive);
    // BackgroundImage="channel_label.png"
    background_.SerializeXML(archive);
}

bool MixerChannelLabel::Create(int left, int top, int width, int height)
{
    background_.SetRect(QRect(0, 0, width, height));
    return UIParamElement::Create(left, top, width, height);
}

MixerChannel* MixerChannelLabel::Channel() const
{
    SeqEventTarget* target = Target();
    return target && target->GetTypeName() == "Channel" ? static_cast<MixerChannel*>(target) : nullptr;
}

Instrument* MixerChannelLabel::BoundInstrument() const
{
    const MixerChannel* channel = Channel();
    return channel ? channel->GetInstrument() : nullptr;
}

std::string MixerChannelLabel::ShownName() const
{
    const MixerChannel* channel = Channel();
    return channel ? channel->GetName() : std::string();
}

void MixerChannelLabel::Refresh()
{
    UIParamElement::Refresh();
    if (ShownName() != drawnName_)
        update();
}

void MixerChannelLabel::Draw(QPainter& painter)
{
    drawnName_ = ShownName();
    if (!background_.File().empty())
        background_.Draw(painter);
    else
        ControlLook::DrawFace(painter, rect());
    painter.setFont(ControlLook::Font(12));
    ControlLook::DrawCentredText(painter, rect(), QString::fromStdString(drawnName_), ControlLook::Text());
}

void MixerChannelLabel::PenDoubleTap(const QPoint& point)
{
    Instrument* instrument = BoundInstrument();
    if (!instrument)
        return;
    instrument->RefreshView();
    UIParamElement::PenDoubleTap(point);
}

bool MixerChannelLabel::ContextMenu(const QPoint& point)
{
    Instrument* instrument = BoundInstrument();
    if (!instrument)
        return false;
    QMenu menu(this);
    QAction* rename = menu.addAction(kRenameEntry);
    QAction* remove = menu.addAction(kDeleteEntry);
    QAction* chosen = RunPopupMenu(menu, mapToGlobal(point));
    if (chosen == rename) {
        instrument->Rename();
        update();
    } else if (chosen == remove) {
        DeleteInstrument(instrument);
    }
    return true;
}

void MixerChannelLabel::DeleteInstrument(Instrument* instrument)
{
    SoundStudio* studio = SoundStudio::Current();
    if (!studio)
        return;
    QPointer<MixerChannelLabel> self(this);
    studio->DeleteInstrument(instrument); // asks first; the mixer view may rebuild its strips
    if (!self)
        return;
    for (const auto& kept : studio->Instruments())
        if (kept.get() == instrument)
            return; // the user said No
    SetTarget(nullptr); // the channel went with its instrument
    update();
}

} // namespace jorvo
