#include "ui/SamplerZoneMap.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QApplication>

#include <QMenu>
#include <QPainter>

#include "audio/SampleStore.h"
#include "document/Configuration.h"
#include "engine/InstrumentSampler.h"
#include "platform/ShellServices.h"
#include "sequencer/Sequencer.h"
#include "ui/EventClipboard.h"
#include "ui/SkinColour.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

constexpr char kRenameZone[] = "Rename Zone";
constexpr char kLoadSample[] = "Load Sample...";
constexpr int kStripTextPixels = 11;
constexpr int kLaneHeight = 15;
constexpr int kRunBarHeight = 6;
constexpr int kTagPadding = 3;
constexpr int kTintAlpha = 80;
constexpr int kSelectedTintAlpha = 150;

struct ZoneMapMessages {
    WindowMessage zoneBeginDrag = RegisterWindowMessage(UIWindowMessages::kZoneBeginDrag);
    WindowMessage treeSelPath = RegisterWindowMessage(UIWindowMessages::kTreeDlgSelPath);
    WindowMessage selSampleFileName = RegisterWindowMessage("WM_SEL_SAMPLE_FILENAME");
    WindowMessage selZoneName = RegisterWindowMessage("WM_SEL_SAMPLER_ZONENAME");
    WindowMessage activeZone = RegisterWindowMessage(UIWindowMessages::kSetActiveSamplerZone);
    WindowMessage eventDrop = RegisterWindowMessage(UIWindowMessages::kEventDrop);
    WindowMessage cut = RegisterWindowMessage("WM_CUT");
};

const ZoneMapMessages& Messages()
{
    static const ZoneMapMessages messages;
    return messages;
}

// Holds the render lock while a zone of a sampler that may be playing is changed.
class ZoneEdit {
public:
    ZoneEdit()
    {
        if (Sequencer* sequencer = Sequencer::Current())
            lock_.emplace(*sequencer);
    }

private:
    std::optional<Sequencer::EditLock> lock_;
};

QColor ZoneColour(const SampleZone& zone)
{
    return ToQtColour(zone.ZoneColour());
}

} // namespace

SamplerZoneMap::SamplerZoneMap(QWidget* parent) : PianoKeyboard(parent) {}

SamplerZoneMap::~SamplerZoneMap()
{
    Shell().CloseFileBrowser(this);
}

void SamplerZoneMap::SetTarget(SeqEventTarget* target)
{
    EndGesture();
    PianoKeyboard::SetTarget(target);
    sampler_ = dynamic_cast<InstrumentSampler*>(target);
    ShowZonesOnBinding();
    update();
}

// A kit's zones are seldom where the keyboard starts, and a screen with no zone chosen shows
// empty labels and dead controls: start at the active zone, choosing the lowest when none is.
void SamplerZoneMap::ShowZonesOnBinding()
{
    if (!sampler_ || !sampler_->FirstZone())
        return;
    if (!sampler_->ActiveZone())
        sampler_->SetActiveZone(sampler_->FirstZone());
    const int first = KeyboardLayout::NaturalAtOrBelow(sampler_->ActiveZone()->Key());
    ShowKeys(first, first + Layout().VisibleCount() - 1);
}

SampleZone* SamplerZoneMap::SelectedZone() const
{
    return sampler_ ? sampler_->ActiveZone() : nullptr;
}

QRect SamplerZoneMap::ZoneStrip() const
{
    return QRect(0, 0, ElementWidth(), 2 * kLaneHeight + kRunBarHeight);
}

QFont SamplerZoneMap::StripFont()
{
    QFont font("Tahoma");
    font.setPixelSize(kStripTextPixels);
    return font;
}

std::vector<SamplerZoneMap::ZoneTag> SamplerZoneMap::ZoneTags() const
{
    std::vector<ZoneTag> tags;
    if (!sampler_)
        return tags;
    const KeyboardLayout& layout = Layout();
    QFont bold = StripFont();
    bold.setBold(true); // room for the selected zone's bold name
    const QFontMetrics metrics(bold);
    std::vector<SampleZone*> zones;
    for (SampleZone* zone = sampler_->FirstZone(); zone; zone = sampler_->NextZone(*zone))
        zones.push_back(zone);
    // Neighbouring zones take turns in two lanes, so a tag may reach over the next zone's keys up
    // to the one after it.
    for (std::size_t index = 0; index < zones.size(); ++index) {
        SampleZone* zone = zones[index];
        const int first = std::max(zone->Key(), layout.FirstVisible());
        if (first > std::min(sampler_->LastKeyOf(*zone), layout.LastVisible()))
            continue;
        const int left = layout.SpanLeft(first);
        int limit = width();
        if (index + 2 < zones.size() && zones[index + 2]->Key() <= layout.LastVisible())
            limit = layout.SpanLeft(zones[index + 2]->Key()) - 1;
        const int wanted = metrics.horizontalAdvance(QString::fromStdString(zone->Name())) + 2 * kTagPadding;
        const int lane = static_cast<int>(index % 2);
        tags.push_back({zone, QRect(left, lane * kLaneHeight, std::max(4, std::min(wanted, limit - left)), kLaneHeight - 1)});
    }
    return tags;
}

SampleZone* SamplerZoneMap::ZoneInStrip(const QPoint& point) const
{
    for (const ZoneTag& tag : ZoneTags())
        if (tag.rect.contains(point))
            return tag.zone;
    return sampler_ ? sampler_->ZoneAt(Layout().KeyInSpan(point.x())) : nullptr;
}

QRect SamplerZoneMap::KeysArea() const
{
    const QRect strip = ZoneStrip();
    return QRect(0, strip.bottom() + 1, ElementWidth(), std::max(1, ElementHeight() - strip.height()));
}

void SamplerZoneMap::Select(SampleZone* zone)
{
    if (!sampler_ || !zone || zone == sampler_->ActiveZone())
        return;
    sampler_->SetActiveZone(zone);
    update();
}

// Pen gestures -----------------------------------------------------------------------------

void SamplerZoneMap::PenDown(const QPoint& point)
{
    if (sampler_ && ZoneStrip().contains(point)) {
        UIElement::PenDown(point);
        if (SampleZone* zone = ZoneInStrip(point)) {
            Select(zone);
            mode_ = Mode::MovingZone;
            dropKey_ = zone->Key();
        }
        return;
    }
    PianoKeyboard::PenDown(point);
    if (sampler_)
        Select(sampler_->ZoneAt(Layout().KeyAt(point)));
}

void SamplerZoneMap::PenMove(const QPoint& point)
{
    if (mode_ == Mode::None) {
        PianoKeyboard::PenMove(point);
        return;
    }
    UIElement::PenMove(point);
    TrackDrop(point);
}

void SamplerZoneMap::PenUp(const QPoint& point)
{
    if (mode_ != Mode::None)
        TrackDrop(point);
    if (mode_ == Mode::MovingZone)
        FinishMove(point);
    else if (mode_ == Mode::PlacingZone)
        FinishPlacing();
    PianoKeyboard::PenUp(point);
}

void SamplerZoneMap::CaptureLost()
{
    EndGesture();
    PianoKeyboard::CaptureLost();
}

void SamplerZoneMap::TrackDrop(const QPoint& point)
{
    const int key = rect().contains(point) ? Layout().KeyInSpan(point.x()) : KeyboardLayout::kNoKey;
    if (key != dropKey_) {
        dropKey_ = key;
        update();
    }
}

void SamplerZoneMap::FinishMove(const QPoint& point)
{
    SampleZone* zone = SelectedZone();
    const int key = dropKey_;
    EndGesture();
    if (zone && !rect().contains(point)) {
        OfferDrop(point, zone);
        return;
    }
    if (!zone || key == KeyboardLayout::kNoKey || key == zone->Key())
        return;
    bool moved = false;
    {
        ZoneEdit edit;
        moved = zone->SetZoneKey(key);
    }
    if (moved)
        sampler_->SetActiveZone(zone); // its parameters have new numbers: the controls rebind
    update();
}

void SamplerZoneMap::OfferDrop(const QPoint& point, SampleZone* zone)
{
    // A zone factory under the pen answers with WM_CUT naming this map: the zone is deleted.
    const QPoint global = mapToGlobal(point);
    QWidget* under = OwningView() ? OwningView()->childAt(OwningView()->mapFromGlobal(global)) : nullptr;
    if (!under)
        under = QApplication::widgetAt(global);
    if (!under || under == this)
        return;
    droppedZone_ = zone;
    PostWindowMessage(under, Messages().eventDrop, reinterpret_cast<WParam>(this), reinterpret_cast<LParam>(zone));
}

void SamplerZoneMap::CutDroppedZone()
{
    SampleZone* zone = std::exchange(droppedZone_, nullptr);
    if (!sampler_ || !zone)
        return;
    const bool active = zone == sampler_->ActiveZone();
    bool deleted = false;
    {
        ZoneEdit edit;
        deleted = sampler_->DeleteZone(zone); // compares addresses: a zone gone meanwhile is left alone
    }
    if (deleted && active)
        sampler_->SetActiveZone(nullptr); // the zone's controls are disabled
    update();
}

void SamplerZoneMap::BeginPlacing(LParam screenPosition)
{
    EndGesture();
    const std::optional<std::vector<std::uint8_t>> bytes = EventClipboard::ReadBytes(EventClipboard::kSampleZoneListFormat);
    if (!sampler_ || !bytes)
        return;
    auto zones = sampler_->ReadZoneList(*bytes);
    if (zones.empty())
        return;
    placing_ = std::move(zones.front());
    mode_ = Mode::PlacingZone;
    // The pen went down on the factory: this map holds it from here to the release.
    const auto packed = static_cast<std::uint32_t>(screenPosition);
    const QPoint point = mapFromGlobal(QPoint(static_cast<int>(packed >> 16), static_cast<int>(packed & 0xFFFF)));
    TakePenCapture(point);
    if (isVisible())
        grabMouse();
    TrackDrop(point);
}

void SamplerZoneMap::FinishPlacing()
{
    std::unique_ptr<SampleZone> zone = std::move(placing_);
    const int key = dropKey_;
    EndGesture();
    if (!zone || !sampler_ || key == KeyboardLayout::kNoKey)
        return; // released off the keys: the zone is discarded
    SampleZone* placed = zone.get();
    bool adopted = false;
    {
        ZoneEdit edit;
        adopted = sampler_->AdoptZone(zone, key);
    }
    if (adopted)
        sampler_->SetActiveZone(placed);
    update();
}

void SamplerZoneMap::EndGesture()
{
    if (mode_ == Mode::PlacingZone)
        releaseMouse();
    mode_ = Mode::None;
    dropKey_ = KeyboardLayout::kNoKey;
    placing_.reset();
    update();
}

// Zone commands ----------------------------------------------------------------------------

void SamplerZoneMap::ChooseSample()
{
    SampleZone* zone = SelectedZone();
    if (!zone)
        return;
    FileBrowserRequest request;
    request.owner = this;
    request.requester = this;
    request.startPath = Configuration().GetSampleDir();
    if (SampleStore* store = sampler_->GetSampleStore())
        if (const SampleRecord* record = store->GetRecord(zone->SampleIndex()); record && !record->path.empty())
            request.startPath = record->path;
    Shell().ShowFileBrowser(request);
}

bool SamplerZoneMap::LoadSample(const std::string& path)
{
    SampleZone* zone = SelectedZone();
    SampleStore* store = sampler_ ? sampler_->GetSampleStore() : nullptr;
    if (!zone || !store)
        return false;
    // Read the file before taking the lock: the zone then finds it in the store.
    std::string name = path;
    if (store->LoadSample(name) < 0)
        return false;
    bool loaded = false;
    {
        ZoneEdit edit;
        loaded = zone->SetZoneSample(name);
    }
    if (loaded)
        sampler_->SetActiveZone(zone); // the file and zone name labels show the new sample
    update();
    return loaded;
}

bool SamplerZoneMap::RenameZone()
{
    SampleZone* zone = SelectedZone();
    if (!zone)
        return false;
    const std::optional<std::string> name = Shell().PromptName(kRenameZone, zone->Name());
    // The dialog may have outlived the zone (a preset loaded meanwhile).
    if (!name || name->empty() || zone != SelectedZone())
        return false;
    zone->SetZoneName(*name);
    zone->SetAutoName(false); // a name given by hand stays when another sample is loaded
    sampler_->SetActiveZone(zone);
    update();
    return true;
}

bool SamplerZoneMap::ContextMenu(const QPoint& point)
{
    Silence();
    EndGesture();
    if (sampler_) {
        Select(ZoneStrip().contains(point) ? ZoneInStrip(point) : sampler_->ZoneAt(Layout().KeyAt(point)));
    }
    QMenu menu(this);
    QAction* rename = menu.addAction(kRenameZone);
    QAction* load = menu.addAction(kLoadSample);
    rename->setEnabled(SelectedZone() != nullptr);
    load->setEnabled(SelectedZone() != nullptr);
    const QAction* chosen = menu.exec(mapToGlobal(point));
    if (chosen == rename)
        RenameZone();
    else if (chosen == load)
        ChooseSample();
    return true;
}

bool SamplerZoneMap::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    const ZoneMapMessages& messages = Messages();
    if (message == messages.zoneBeginDrag) {
        BeginPlacing(lParam);
        return true;
    }
    if (message == messages.treeSelPath) {
        if (const auto* path = reinterpret_cast<const char*>(wParam))
            LoadSample(path);
        return true;
    }
    if (message == messages.selSampleFileName) {
        ChooseSample();
        return true;
    }
    if (message == messages.selZoneName) {
        RenameZone();
        return true;
    }
    if (message == messages.cut) {
        if (wParam == reinterpret_cast<WParam>(this))
            CutDroppedZone();
        return true;
    }
    if (message == messages.activeZone) {
        update();
        return true;
    }
    return PianoKeyboard::OnWindowMessage(message, wParam, lParam);
}

// Drawing ----------------------------------------------------------------------------------

void SamplerZoneMap::TintNaturalKey(QPainter& painter, int key, const QRect& rect)
{
    const SampleZone* zone = sampler_ ? sampler_->ZoneAt(key) : nullptr;
    if (!zone)
        return;
    QColor tint = ZoneColour(*zone);
    tint.setAlpha(zone == SelectedZone() ? kSelectedTintAlpha : kTintAlpha);
    painter.fillRect(rect, tint);
}

void SamplerZoneMap::Draw(QPainter& painter)
{
    PianoKeyboard::Draw(painter);
    DrawZoneStrip(painter);
}

void SamplerZoneMap::DrawZoneStrip(QPainter& painter)
{
    painter.setFont(StripFont());
    const QRect strip = ZoneStrip();
    const QRect bar(0, strip.bottom() - kRunBarHeight + 1, width(), kRunBarHeight);
    if (!sampler_ || !sampler_->FirstZone()) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(strip, Qt::AlignCenter, sampler_ ? "No Zones" : "No Sampler");
        return;
    }
    const KeyboardLayout& layout = Layout();
    const SampleZone* selected = SelectedZone();
    // The bar along the keys: each zone's run in its colour.
    for (const SampleZone* zone = sampler_->FirstZone(); zone; zone = sampler_->NextZone(*zone)) {
        const int first = std::max(zone->Key(), layout.FirstVisible());
        const int last = std::min(sampler_->LastKeyOf(*zone), layout.LastVisible());
        if (first > last)
            continue;
        const QRect run(QPoint(layout.SpanLeft(first), bar.top()), QPoint(layout.SpanRight(last), bar.bottom()));
        painter.fillRect(run, ZoneColour(*zone));
        painter.fillRect(QRect(run.left(), bar.top(), 1, bar.height()), ZoneColour(*zone).darker(170));
    }
    // The name tags, each above where its zone starts.
    for (const ZoneTag& tag : ZoneTags())
        DrawTag(painter, tag.rect, *tag.zone, tag.zone == selected);
    // Where a zone being moved or placed would start.
    const SampleZone* dragged = mode_ == Mode::PlacingZone ? placing_.get() : selected;
    if (mode_ == Mode::None || !dragged || dropKey_ == KeyboardLayout::kNoKey)
        return;
    const int left = layout.SpanLeft(dropKey_);
    painter.setPen(QPen(Qt::white, 2, Qt::DashLine));
    painter.drawLine(left, 0, left, height() - 1);
    const QString name = QString::fromStdString(dragged->Name());
    QRect tag(left, 0, painter.fontMetrics().horizontalAdvance(name) + 2 * kTagPadding, 2 * kLaneHeight - 1);
    tag.moveRight(std::min(tag.right(), width() - 1));
    DrawTag(painter, tag, *dragged, true);
}

void SamplerZoneMap::DrawTag(QPainter& painter, const QRect& rect, const SampleZone& zone, bool selected)
{
    const QColor colour = ZoneColour(zone);
    painter.fillRect(rect, colour);
    painter.setPen(selected ? QColor(Qt::white) : colour.darker(170));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    if (selected)
        painter.drawRect(rect.adjusted(1, 1, -2, -2));
    QFont font = StripFont();
    font.setBold(selected);
    painter.setFont(font);
    painter.setPen(NoteTextColour());
    const QRect text = rect.adjusted(kTagPadding, 0, -kTagPadding + 1, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(QString::fromStdString(zone.Name()), Qt::ElideRight, text.width()));
    painter.setFont(StripFont());
}

} // namespace jorvo
