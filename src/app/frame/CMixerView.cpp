#include "app/frame/CMixerView.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "app/frame/FrameTexts.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/SeqEventTargetFactory.h"
#include "engine/SoundStudio.h"
#include "platform/ShellServices.h"
#include "ui/UIElement.h"
#include "ui/UIElementFactory.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {

namespace {

constexpr char kChannelStrip[] = "ChannelStrip";
constexpr char kSend[] = "Send";
constexpr char kMasterStrip[] = "MasterStrip";
constexpr char kElementList[] = "UIElementList";
// The size skins are laid out for, used until the view has a size of its own.
constexpr QSize kSkinSize(480, 640);

DomNode ChildElement(const DomNode& parent, const std::string& name)
{
    if (!parent)
        return {};
    const std::optional<DomNode> child = parent.SelectSingleNode("./" + name);
    return child ? *child : DomNode();
}

int IntAttribute(const DomNode& node, const char* name)
{
    const std::optional<std::string> text = node.GetAttribute(name);
    try {
        return text ? std::stoi(*text) : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

// The union of the rectangles of the elements in `group`'s element list.
QRect GroupRect(const DomNode& group)
{
    QRect united;
    DomNodeList children = ChildElement(group, kElementList).ChildNodes();
    for (DomNode child = children.NextNode(); child; child = children.NextNode()) {
        if (child.Type() != DomNodeType::Element)
            continue;
        united |= QRect(IntAttribute(child, "Left"), IntAttribute(child, "Top"), IntAttribute(child, "Width"),
                        IntAttribute(child, "Height"));
    }
    return united;
}

void Place(UIElement* element, const QRect& home, int dx, int dy)
{
    element->Create(home.left() + dx, home.top() + dy, home.width(), home.height());
}

} // namespace

MixerLayout ComputeMixerLayout(QSize viewSize, const QRect& strip, const QRect& sendRow, const QRect& master)
{
    MixerLayout layout;
    layout.masterLeft = viewSize.width() - CMixerView::kMargin - master.width();
    if (strip.width() > 0)
        layout.channelStrips = std::max(1, (layout.masterLeft - CMixerView::kMargin) / strip.width());
    if (sendRow.height() > 0) {
        const int free = viewSize.height() - CMixerView::kMargin - strip.bottom() - 1;
        layout.sendRows = std::max(1, 1 + free / sendRow.height());
    }
    return layout;
}

int ClampFirstVisible(int first, int count, int visible)
{
    return std::clamp(first, 0, std::max(0, count - visible));
}

CMixerView::CMixerView(QWidget* parent) : CSeqView(parent)
{
    SetTitle("MixerView");
}

CMixerView::~CMixerView() = default;

bool CMixerView::SetMixer(Mixer* mixer)
{
    mixer_ = mixer;
    bool loaded = false;
    if (mixer_) {
        skinName_ = mixer_->GetEngineName();
        loaded = LoadSkin(skinName_, "Mixer");
        if (!mixer_->GetName().empty() && GetTitle() == "MixerView")
            SetTitle(mixer_->GetName());
    }
    BindStrips();
    return loaded;
}

void CMixerView::RefreshFromTarget()
{
    BindStrips();
    update();
}

void CMixerView::SerializeXML(CXMLArchive& archive)
{
    if (!archive.IsLoading()) {
        // The strips are copies of the skin's templates, rebuilt from the skin; only the view's
        // identity is kept.
        archive.CreateChild(GetClassKeyword());
        archive.Write("Name", GetTitle());
        return;
    }
    // Reading the element list deletes every element, the strips' included.
    master_.clear();
    strips_.clear();
    CSeqView::SerializeXML(archive);
    ReadTemplates(archive);
    BuildStrips(archive);
    PlaceMaster();
    PlaceStrips();
}

void CMixerView::ReadTemplates(const CXMLArchive& archive)
{
    DomNode stripNode;
    DomNode masterNode;
    archive.FindChild(kChannelStrip, stripNode);
    archive.FindChild(kMasterStrip, masterNode);
    sendRect_ = GroupRect(ChildElement(stripNode, kSend));
    stripRect_ = GroupRect(stripNode) | sendRect_;
    masterRect_ = GroupRect(masterNode);
    master_ = LoadGroup(archive, masterNode, -1);
}

std::vector<CMixerView::StripElement> CMixerView::LoadGroup(const CXMLArchive& archive, const DomNode& group,
                                                            int sendRow)
{
    std::vector<StripElement> loaded;
    DomNodeList children = ChildElement(group, kElementList).ChildNodes();
    for (DomNode child = children.NextNode(); child; child = children.NextNode()) {
        if (child.Type() != DomNodeType::Element)
            continue;
        CXMLArchive elementArchive(archive);
        elementArchive.SetCurrentNode(child);
        std::unique_ptr<UIElement> element = UIElementFactory::LoadElement(elementArchive, this);
        if (!element)
            continue;
        const QRect home = element->geometry();
        AddElement(element.get());
        loaded.push_back(StripElement{element.release(), home, sendRow});
    }
    return loaded;
}

void CMixerView::BuildStrips(const CXMLArchive& archive)
{
    const QSize viewSize = size().width() > 1 && size().height() > 1 ? size() : kSkinSize;
    layout_ = ComputeMixerLayout(viewSize, stripRect_, sendRect_, masterRect_);
    sendRows_ = layout_.sendRows;
    DomNode stripNode;
    if (!archive.FindChild(kChannelStrip, stripNode))
        return;
    const DomNode sendNode = ChildElement(stripNode, kSend);
    strips_.resize(static_cast<std::size_t>(layout_.channelStrips));
    for (Strip& strip : strips_) {
        strip.elements = LoadGroup(archive, stripNode, -1);
        for (int row = 0; row < sendRows_; ++row) {
            std::vector<StripElement> send = LoadGroup(archive, sendNode, row);
            strip.elements.insert(strip.elements.end(), send.begin(), send.end());
        }
    }
}

void CMixerView::PlaceMaster()
{
    const int dx = layout_.masterLeft - masterRect_.left();
    for (const StripElement& part : master_)
        Place(part.element, part.home, dx, 0);
}

void CMixerView::PlaceStrips()
{
    const int sendHeight = sendRect_.height();
    for (std::size_t index = 0; index < strips_.size(); ++index) {
        const int dx = kMargin + static_cast<int>(index) * stripRect_.width() - stripRect_.left();
        for (const StripElement& part : strips_[index].elements) {
            // Send rows stack downward; whatever lies below the send group moves down with them.
            int dy = 0;
            if (part.sendRow >= 0)
                dy = part.sendRow * sendHeight;
            else if (sendHeight > 0 && part.home.top() > sendRect_.bottom())
                dy = (sendRows_ - 1) * sendHeight;
            Place(part.element, part.home, dx, dy);
        }
    }
}

int CMixerView::ChannelCount() const
{
    return mixer_ ? static_cast<int>(mixer_->Channels().size()) : 0;
}

int CMixerView::SendCount() const
{
    return mixer_ ? static_cast<int>(mixer_->Busses().size()) : 0;
}

void CMixerView::BindStrips()
{
    firstChannel_ = ClampFirstVisible(firstChannel_, ChannelCount(), VisibleChannels());
    firstSend_ = ClampFirstVisible(firstSend_, SendCount(), sendRows_);
    rowCodes_.assign(static_cast<std::size_t>(sendRows_), 0);
    for (int row = 0; row < sendRows_; ++row) {
        const int send = firstSend_ + row;
        if (send < SendCount())
            rowCodes_[static_cast<std::size_t>(row)] = mixer_->Busses()[static_cast<std::size_t>(send)]->SendParameterType();
    }
    for (std::size_t index = 0; index < strips_.size(); ++index) {
        const int channel = firstChannel_ + static_cast<int>(index);
        BindStrip(strips_[index],
                  channel < ChannelCount() ? mixer_->Channels()[static_cast<std::size_t>(channel)].get() : nullptr);
    }
    for (const StripElement& part : master_)
        part.element->SetTarget(mixer_);
}

void CMixerView::BindStrip(Strip& strip, MixerChannel* channel)
{
    static const WindowMessage setEventType = RegisterWindowMessage(UIWindowMessages::kSetEventType);
    for (const StripElement& part : strip.elements) {
        const int code = part.sendRow >= 0 ? rowCodes_[static_cast<std::size_t>(part.sendRow)] : 0;
        const bool bound = channel != nullptr && (part.sendRow < 0 || code != 0);
        part.element->SetTarget(bound ? channel : nullptr);
        if (bound && part.sendRow >= 0)
            SendWindowMessage(part.element, setEventType, static_cast<WParam>(code), 0);
        part.element->setVisible(bound);
    }
}

MixerChannel* CMixerView::StripChannel(int strip) const
{
    const int channel = firstChannel_ + strip;
    if (strip < 0 || strip >= VisibleChannels() || channel >= ChannelCount())
        return nullptr;
    return mixer_->Channels()[static_cast<std::size_t>(channel)].get();
}

std::vector<UIElement*> CMixerView::StripElements(int strip) const
{
    std::vector<UIElement*> elements;
    if (strip >= 0 && strip < VisibleChannels())
        for (const StripElement& part : strips_[static_cast<std::size_t>(strip)].elements)
            elements.push_back(part.element);
    return elements;
}

std::vector<UIElement*> CMixerView::MasterElements() const
{
    std::vector<UIElement*> elements;
    for (const StripElement& part : master_)
        elements.push_back(part.element);
    return elements;
}

int CMixerView::SendRowEventCode(int row) const
{
    return row >= 0 && row < sendRows_ ? rowCodes_[static_cast<std::size_t>(row)] : 0;
}

void CMixerView::SetFirstChannel(int first)
{
    firstChannel_ = first;
    BindStrips();
}

void CMixerView::SetFirstSend(int first)
{
    firstSend_ = first;
    BindStrips();
}

bool CMixerView::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == RegisterWindowMessage("WM_CHANNEL_PREV"))
        SetFirstChannel(firstChannel_ - 1);
    else if (message == RegisterWindowMessage("WM_CHANNEL_NEXT"))
        SetFirstChannel(firstChannel_ + 1);
    else if (message == RegisterWindowMessage("WM_SEND_UP"))
        SetFirstSend(firstSend_ + 1);
    else if (message == RegisterWindowMessage("WM_SEND_DOWN"))
        SetFirstSend(firstSend_ - 1);
    else
        return CSeqView::OnWindowMessage(message, wParam, lParam);
    return true;
}

void CMixerView::KeyDown(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        SetFirstChannel(firstChannel_ - 1);
        break;
    case Qt::Key_Right:
        SetFirstChannel(firstChannel_ + 1);
        break;
    case Qt::Key_Home:
        SetFirstChannel(0);
        break;
    case Qt::Key_End:
        // The last page of channels, so that End shows the last channel.
        SetFirstChannel(ChannelCount() - VisibleChannels());
        break;
    case Qt::Key_Up:
        SetFirstSend(firstSend_ + 1);
        break;
    case Qt::Key_Down:
        SetFirstSend(firstSend_ - 1);
        break;
    case Qt::Key_PageUp:
        SetFirstSend(sendRows_);
        break;
    case Qt::Key_PageDown:
        SetFirstSend(0);
        break;
    default:
        break;
    }
    CSeqView::KeyDown(event);
}

void CMixerView::resizeEvent(QResizeEvent* event)
{
    CSeqView::resizeEvent(event);
    if (stripRect_.isEmpty() && masterRect_.isEmpty())
        return;
    const MixerLayout wanted = ComputeMixerLayout(size(), stripRect_, sendRect_, masterRect_);
    if (wanted.channelStrips != layout_.channelStrips || wanted.sendRows != layout_.sendRows) {
        ScheduleRebuild();
        return;
    }
    layout_ = wanted;
    PlaceMaster();
}

void CMixerView::ScheduleRebuild()
{
    if (rebuildPending_)
        return;
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] {
        rebuildPending_ = false;
        Rebuild();
    });
}

void CMixerView::Rebuild()
{
    // Strips are copied from the skin file; the XML archives share one document, so the file is
    // read only while no other archive is open.
    if (CXMLArchive::LiveCount() > 0) {
        ScheduleRebuild();
        return;
    }
    if (!skinName_.empty() && LoadSkin(skinName_, "Mixer"))
        BindStrips();
}

void CMixerView::FillContextMenu(QMenu& menu)
{
    if (!SoundStudio::Current())
        return;
    menu.addAction(FrameTexts::kAddInstrument, this, [this] { AddTarget(true); });
    menu.addAction(FrameTexts::kAddEffect, this, [this] { AddTarget(false); });
}

void CMixerView::AddTarget(bool instrument)
{
    SoundStudio* studio = SoundStudio::Current();
    if (!studio)
        return;
    SelectRequest request;
    request.title = instrument ? FrameTexts::kSelectInstrument : FrameTexts::kSelectEffect;
    request.choices = instrument ? SeqEventTargetFactory::ListInstruments() : SeqEventTargetFactory::ListEffects();
    const std::optional<SelectResult> chosen = Shell().SelectFromList(request);
    if (!chosen || chosen->choice >= request.choices.size())
        return;
    const std::string& engine = request.choices[chosen->choice];
    SeqEventTarget* added = instrument ? static_cast<SeqEventTarget*>(studio->AddInstrument(engine))
                                       : static_cast<SeqEventTarget*>(studio->AddEffect(engine));
    if (added && !chosen->name.empty())
        added->SetName(chosen->name);
    BindStrips();
}

} // namespace jorvo
