#include "ui/ArrangementEditor.h"

#include <algorithm>
#include <cstdlib>

#include <QColorDialog>
#include <QMenu>
#include <QPainter>

#include "document/XMLArchive.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SeqEventSong.h"
#include "sequencer/Sequencer.h"
#include "ui/EventClipboard.h"
#include "ui/InPlaceNameEditor.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

constexpr int kInitialLanes = 6;
// Lightness difference below which a text colour does not read on its background.
constexpr int kMinTextContrast = 90;
constexpr QColor kSelectionColour{255, 128, 0};
constexpr QColor kBlockFrameColour{60, 60, 70};

WindowMessage Message(const char* name)
{
    return RegisterWindowMessage(name);
}

} // namespace

template <class Placement>
ArrangementEditor<Placement>::ArrangementEditor(QWidget* parent, std::uint32_t initialBars)
    : TimeAxisEditor(parent, initialBars)
{
    SetFollow(true);
    visibleLanes_ = kInitialLanes;
    nameEditor_ = new InPlaceNameEditor(this);
}

template <class Placement>
ArrangementEditor<Placement>::~ArrangementEditor() = default;

template <class Placement>
void ArrangementEditor<Placement>::SerializeXML(CXMLArchive& archive)
{
    TimeAxisEditor::SerializeXML(archive);
    archive.Serialize(drawLaneDivisionsAttribute_, drawLaneDivisions_);
    SerializeColour(archive, laneDivisionAttribute_, laneDivisionColour_);
    SerializeColour(archive, blockTextAttribute_, blockTextColour_);
}

// Placements and selection -------------------------------------------------------------------------

template <class Placement>
bool ArrangementEditor<Placement>::IsListed(const Placement* placement) const
{
    const PlacementList* list = placement ? Placements() : nullptr;
    return list && std::any_of(list->begin(), list->end(), [&](const auto& item) { return item.get() == placement; });
}

template <class Placement>
Placement* ArrangementEditor<Placement>::Selected() const
{
    return IsListed(selected_) ? selected_ : nullptr;
}

template <class Placement>
void ArrangementEditor<Placement>::Select(Placement* placement)
{
    if (placement == selected_)
        return;
    selected_ = placement;
    UpdatePlayRange();
    update();
}

template <class Placement>
void ArrangementEditor<Placement>::ForgetEditing()
{
    selected_ = nullptr;
    dropped_.reset();
    EndRename();
}

template <class Placement>
std::uint32_t ArrangementEditor<Placement>::LengthOf(const Placement& placement) const
{
    const SeqEventContainer* content = ContentOf(placement);
    return std::max<std::uint32_t>(1, content ? content->GetLength() : 1);
}

template <class Placement>
void ArrangementEditor<Placement>::Refresh()
{
    CollectVisible();
    update();
}

template <class Placement>
void ArrangementEditor<Placement>::CollectVisible()
{
    PrepareRefresh();
    visible_.clear();
    if (const PlacementList* list = Placements()) {
        const std::uint64_t from = FirstVisibleTime();
        const std::uint64_t to = std::uint64_t(FirstVisibleTime()) + VisibleSpan();
        for (const auto& placement : *list) {
            const std::uint64_t start = std::uint64_t(ContainerStart()) + placement->offset;
            const int lane = LaneOf(*placement);
            if (start < to && start + LengthOf(*placement) > from && lane >= firstLane_ && lane < firstLane_ + visibleLanes_)
                visible_.push_back(placement.get());
        }
    }
}

template <class Placement>
void ArrangementEditor<Placement>::VisibleRangeChanged()
{
    Refresh();
}

template <class Placement>
std::uint32_t ArrangementEditor<Placement>::ScrollBegin() const
{
    return Container() ? ContainerStart() : 0;
}

template <class Placement>
std::uint32_t ArrangementEditor<Placement>::ScrollEnd() const
{
    const SeqEventContainer* container = Container();
    return container ? AddPulses(ContainerStart(), std::max<std::uint32_t>(1, container->GetLength()))
                     : TimeAxisEditor::ScrollEnd();
}

// Lanes ------------------------------------------------------------------------------------------------

template <class Placement>
void ArrangementEditor<Placement>::SetLaneRange(int firstLane, int visibleLanes)
{
    visibleLanes_ = std::max(1, visibleLanes);
    firstLane_ = std::clamp(firstLane, 0, std::max(0, LaneCount() - 1));
    Refresh();
}

template <class Placement>
QRect ArrangementEditor<Placement>::LaneRect(int lane) const
{
    const QRect content = ContentRect();
    const int height = std::max(1, content.height() / visibleLanes_);
    return QRect(content.left(), content.top() + (lane - firstLane_) * height, content.width(), height);
}

template <class Placement>
int ArrangementEditor<Placement>::YToLane(int y) const
{
    const QRect content = ContentRect();
    const int height = std::max(1, content.height() / visibleLanes_);
    const int lane = firstLane_ + (y < content.top() ? -1 : (y - content.top()) / height);
    return std::clamp(lane, 0, std::max(0, LaneCount() - 1));
}

template <class Placement>
void ArrangementEditor<Placement>::ScrollVertically(int dy)
{
    SetLaneRange(firstLane_ - dy, visibleLanes_);
}

template <class Placement>
QColor ArrangementEditor<Placement>::LaneColour(int lane) const
{
    if (IsDarkLook())
        return lane % 2 == 0 ? QColor(44, 49, 57) : QColor(39, 43, 51);
    return lane % 2 == 0 ? QColor(248, 248, 250) : QColor(238, 238, 242);
}

// Geometry and drawing ----------------------------------------------------------------------------------

template <class Placement>
QRect ArrangementEditor<Placement>::BlockRect(const Placement& placement) const
{
    const QRect lane = LaneRect(LaneOf(placement));
    const std::uint32_t start = AddPulses(ContainerStart(), placement.offset);
    const int left = TimeToX(start);
    const int right = TimeToX(AddPulses(start, LengthOf(placement)));
    return QRect(left, lane.top(), std::max(1, right - left), lane.height());
}

template <class Placement>
void ArrangementEditor<Placement>::DrawContent(QPainter& painter)
{
    // Placements may have changed elsewhere since the list was made.
    CollectVisible();
    const QRect content = ContentRect();
    if (!Container()) {
        painter.fillRect(content, LaneColour(0));
        DrawCentredText(painter, content, EmptyText(), ContrastingText(LaneColour(0)), 16);
        return;
    }
    painter.save();
    painter.setClipRect(content);
    for (int lane = firstLane_; lane < std::min(LaneCount(), firstLane_ + visibleLanes_); ++lane)
        painter.fillRect(LaneRect(lane), LaneColour(lane));
    DrawTimeDivisions(painter, content);
    if (drawLaneDivisions_) {
        painter.setPen(laneDivisionColour_);
        for (int lane = firstLane_; lane < firstLane_ + visibleLanes_; ++lane) {
            const int y = LaneRect(lane).bottom();
            painter.drawLine(content.left(), y, content.right(), y);
        }
    }
    const int endX = TimeToX(ScrollEnd());
    if (endX <= content.right())
        painter.fillRect(QRect(endX, content.top(), content.right() - endX + 1, content.height()), BeyondEndColour());
    for (const Placement* placement : visible_)
        DrawBlock(painter, *placement, BlockRect(*placement));
    if (Mode() == EditMode::Moving || Mode() == EditMode::Placing) {
        painter.setPen(QPen(QColor(20, 20, 20), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(DragOutline().adjusted(0, 0, -1, -1));
    }
    DrawPositionLine(painter, content);
    painter.restore();
}

template <class Placement>
void ArrangementEditor<Placement>::DrawBlock(QPainter& painter, const Placement& placement, const QRect& area) const
{
    const SeqEventContainer* content = ContentOf(placement);
    if (!content)
        return;
    const QRect box = area.adjusted(0, 1, 0, -1);
    painter.fillRect(box, BlockColour(placement));
    const QRect title(box.left(), box.top(), box.width(), std::min(box.height(), kTitleLineHeight + 2));
    painter.fillRect(title, ContentColour(*content));
    DrawBlockBody(painter, placement, QRect(box.left(), title.bottom() + 1, box.width(), box.bottom() - title.bottom()));
    const bool aliased = IsAliased(*content);
    QFont font("Tahoma");
    font.setPixelSize(10);
    font.setItalic(aliased);
    painter.setFont(font);
    // The skin's text colour, unless the content's own colour leaves it unreadable.
    const QColor titleColour = ContentColour(*content);
    const QColor textColour = std::abs(blockTextColour_.lightness() - titleColour.lightness()) >= kMinTextContrast
                                  ? blockTextColour_
                                  : ContrastingText(titleColour);
    painter.setPen(textColour);
    const QRect text = title.adjusted(3, 0, aliased ? -12 : -2, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(QString::fromStdString(content->GetName()), Qt::ElideRight,
                                                      std::max(0, text.width())));
    if (aliased && box.width() > 14) {
        // Aliases share their events: a small pair of linked rings marks them.
        painter.setPen(QPen(textColour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRect(box.right() - 11, title.top() + 3, 6, 6));
        painter.drawEllipse(QRect(box.right() - 7, title.top() + 3, 6, 6));
    }
    const bool selected = &placement == selected_;
    painter.setPen(QPen(selected ? kSelectionColour : kBlockFrameColour, selected ? 2 : 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(selected ? box.adjusted(1, 1, -1, -1) : box.adjusted(0, 0, -1, -1));
}

// Hit-testing -------------------------------------------------------------------------------------------

template <class Placement>
Placement* ArrangementEditor<Placement>::BlockAt(const QPoint& point) const
{
    for (Placement* placement : visible_)
        if (BlockRect(*placement).contains(point))
            return placement;
    return nullptr;
}

template <class Placement>
bool ArrangementEditor<Placement>::InResizeHandle(const Placement& placement, const QPoint& point) const
{
    const QRect area = BlockRect(placement);
    const int handle = HandleWidth(area.width());
    QRect grip(area.right() - handle + 1, area.top(), handle, area.height());
    if (HandleBelowTitle() && area.height() > kHandleBelowTitleHeight)
        grip.setTop(area.top() + kTitleLineHeight);
    return handle > 0 && grip.contains(point);
}

// Pen ----------------------------------------------------------------------------------------------------

template <class Placement>
void ArrangementEditor<Placement>::PenDown(const QPoint& point)
{
    EndRename();
    TimeAxisEditor::PenDown(point);
    if (TitleRect().contains(point)) {
        ContextMenu(point);
        return;
    }
    if (!Container() || !ContentRect().contains(point))
        return;
    CollectVisible();
    Placement* placement = BlockAt(point);
    Select(placement);
    if (!placement)
        return;
    if (InResizeHandle(*placement, point)) {
        SetMode(EditMode::Resizing);
        resizeOffset_ = BlockRect(*placement).right() + 1 - point.x();
    } else {
        SetPressPoint(point);
        dragOffset_ = point - BlockRect(*placement).topLeft();
    }
}

template <class Placement>
void ArrangementEditor<Placement>::PenMove(const QPoint& point)
{
    TimeAxisEditor::PenMove(point);
    if (!HoldsCapture())
        return;
    TrackGesture(point, Selected() != nullptr);
}

template <class Placement>
void ArrangementEditor<Placement>::EdgeScrolled(const QPoint&)
{
    Refresh();
}

template <class Placement>
void ArrangementEditor<Placement>::PenUp(const QPoint& point)
{
    const bool overGrid = ContentRect().contains(point);
    switch (Mode()) {
    case EditMode::Moving:
        if (overGrid)
            MoveSelected(point);
        else if (Placement* placement = Selected())
            PostDrop(point, ContentOf(*placement));
        break;
    case EditMode::Placing:
        FinishDrop(point);
        break;
    case EditMode::Resizing:
        Refresh();
        break;
    default:
        break;
    }
    TimeAxisEditor::PenUp(point);
    update();
}

template <class Placement>
void ArrangementEditor<Placement>::PenDoubleTap(const QPoint& point)
{
    Placement* placement = Container() ? BlockAt(point) : nullptr;
    if (!placement) {
        TimeAxisEditor::PenDoubleTap(point);
        return;
    }
    Select(placement);
    BeginRenameInPlace();
}

template <class Placement>
std::uint32_t ArrangementEditor<Placement>::DropOffset(const QPoint& point) const
{
    return SubtractPulses(QuantizeTime(XToTime(point.x() - dragOffset_.x())), ContainerStart());
}

template <class Placement>
QRect ArrangementEditor<Placement>::DragOutline() const
{
    std::uint32_t length = 0;
    if (Mode() == EditMode::Placing && dropped_)
        length = std::max<std::uint32_t>(1, dropped_->GetLength());
    else if (const Placement* placement = Selected())
        length = LengthOf(*placement);
    if (length == 0)
        return {};
    const QRect lane = LaneRect(YToLane(DragPoint().y()));
    const std::uint32_t start = AddPulses(ContainerStart(), DropOffset(DragPoint()));
    const int left = TimeToX(start);
    return QRect(left, lane.top(), std::max(1, TimeToX(AddPulses(start, length)) - left), lane.height());
}

template <class Placement>
void ArrangementEditor<Placement>::ResizeSelected(const QPoint& point)
{
    Placement* placement = Selected();
    Sequencer* sequencer = CurrentSequencer();
    if (!placement || !sequencer)
        return;
    const std::uint32_t start = AddPulses(ContainerStart(), placement->offset);
    std::uint32_t end = QuantizeTime(XToTime(point.x() + resizeOffset_));
    end = std::max(end, AddPulses(start, std::max<std::uint32_t>(1, Quantum())));
    {
        Sequencer::EditLock lock(*sequencer);
        MovePlacement(*placement, placement->offset, end - start, LaneOf(*placement));
    }
    update();
}

template <class Placement>
void ArrangementEditor<Placement>::MoveSelected(const QPoint& point)
{
    Placement* placement = Selected();
    Sequencer* sequencer = CurrentSequencer();
    if (!placement || !sequencer)
        return;
    {
        Sequencer::EditLock lock(*sequencer);
        MovePlacement(*placement, DropOffset(point), LengthOf(*placement), YToLane(point.y()));
    }
    UpdatePlayRange();
    Refresh();
}

// Drag and drop with the factories ------------------------------------------------------------------

template <class Placement>
void ArrangementEditor<Placement>::BeginDrop(WParam kind, LParam screenPoint)
{
    std::vector<std::unique_ptr<SeqEvent>> events = EventClipboard::ReadEvents();
    if (events.empty() || !Container() || !Accepts(*events.front()))
        return;
    dropped_ = std::move(events.front());
    dropKind_ = kind;
    SetDragPoint(TakeOverDrag(screenPoint));
    dragOffset_ = QPoint(0, 0);
    SetMode(EditMode::Placing);
    update();
}

template <class Placement>
void ArrangementEditor<Placement>::FinishDrop(const QPoint& point)
{
    std::unique_ptr<SeqEvent> dropped = std::move(dropped_);
    Sequencer* sequencer = CurrentSequencer();
    if (!dropped || !sequencer || !Container() || !ContentRect().contains(point))
        return; // outside the grid: discarded
    SeqEventContainer* content = Adopt(*dropped, dropKind_);
    if (!content)
        return;
    Placement* placed = nullptr;
    {
        Sequencer::EditLock lock(*sequencer);
        placed = AddPlacement(*content, DropOffset(point), YToLane(point.y()));
    }
    if (placed)
        Select(placed);
    Refresh();
}

template <class Placement>
void ArrangementEditor<Placement>::CutSelected()
{
    Placement* placement = Selected();
    Sequencer* sequencer = CurrentSequencer();
    if (!placement || !sequencer)
        return;
    selected_ = nullptr;
    {
        Sequencer::EditLock lock(*sequencer);
        RemovePlacement(*placement);
    }
    UpdatePlayRange();
    Refresh();
}

template <class Placement>
void ArrangementEditor<Placement>::Paste(LParam screenPoint)
{
    std::vector<std::unique_ptr<SeqEvent>> events = EventClipboard::ReadEvents();
    Sequencer* sequencer = CurrentSequencer();
    if (events.empty() || !sequencer || !Container())
        return;
    const QPoint point = FromPackedScreenPoint(screenPoint);
    // A pasted pattern or section that the song already knows is placed again; another is entered
    // as a copy.
    SeqEventContainer* content = Adopt(*events.front(), 1);
    if (!content)
        return;
    dragOffset_ = QPoint(0, 0);
    Placement* placed = nullptr;
    {
        Sequencer::EditLock lock(*sequencer);
        placed = AddPlacement(*content, DropOffset(point), YToLane(point.y()));
    }
    if (placed)
        Select(placed);
    Refresh();
}

// Alias, Replicate, Make Unique ------------------------------------------------------------------------

template <class Placement>
void ArrangementEditor<Placement>::Repeat(bool alias, int count)
{
    Placement* placement = Selected();
    Sequencer* sequencer = CurrentSequencer();
    const SeqEventContainer* container = Container();
    if (!placement || !sequencer || !container)
        return;
    const bool fill = count == 0;
    const std::uint32_t length = LengthOf(*placement);
    const Placement* next = fill ? FindNextOnLane(*placement) : nullptr;
    // The last start at which a copy still fits: before the next block of the lane when filling,
    // else before the container's end.
    const std::int64_t limit = next ? std::int64_t(next->offset) - length : std::int64_t(container->GetLength()) - length;
    const std::uint32_t start = placement->offset;
    const int lane = LaneOf(*placement);
    SeqEventContainer* content = ContentOf(*placement);
    std::int64_t t = start;
    for (int made = 0; fill || made < count; ++made) {
        t += length;
        if (t > limit) {
            // "x 1" still places its one copy, pulled back to the limit, when that lies after P.
            if (count != 1 || limit <= std::int64_t(start))
                break;
            t = limit;
        }
        SeqEventContainer* copy = alias ? content : Replicate(*content);
        if (!copy)
            break;
        Sequencer::EditLock lock(*sequencer);
        if (!AddPlacement(*copy, static_cast<std::uint32_t>(t), lane))
            break;
        if (t == limit)
            break;
    }
    Refresh();
}

template <class Placement>
void ArrangementEditor<Placement>::MakeUnique()
{
    Placement* placement = Selected();
    Sequencer* sequencer = CurrentSequencer();
    SeqEventContainer* content = placement ? ContentOf(*placement) : nullptr;
    if (!content || !sequencer)
        return;
    SeqEventContainer* copy = Replicate(*content);
    if (!copy)
        return;
    const std::uint32_t offset = placement->offset;
    const int lane = LaneOf(*placement);
    Placement* replacement = nullptr;
    {
        Sequencer::EditLock lock(*sequencer);
        RemovePlacement(*placement);
        selected_ = nullptr;
        replacement = AddPlacement(*copy, offset, lane);
    }
    Select(replacement);
    Refresh();
}

// Renaming and colour ---------------------------------------------------------------------------------

template <class Placement>
InPlaceNameEditor* ArrangementEditor<Placement>::NameEditor() const
{
    return nameEditor_->IsEditing() ? nameEditor_ : nullptr;
}

template <class Placement>
void ArrangementEditor<Placement>::BeginRenameInPlace()
{
    Placement* placement = Selected();
    if (const SeqEventContainer* content = placement ? ContentOf(*placement) : nullptr)
        BeginRename(*placement, content->GetName());
}

template <class Placement>
void ArrangementEditor<Placement>::BeginRename(Placement& placement, const std::string& text)
{
    const QRect block = BlockRect(placement);
    const int left = std::max(block.left(), ContentRect().left());
    const QRect title(left, block.top(), std::clamp(block.right() - left, 80, std::max(80, width() / 2)), 20);
    nameEditor_->Begin(title, text, [this](const std::string& name) { CommitRename(name); });
}

template <class Placement>
void ArrangementEditor<Placement>::CommitRename(const std::string& wanted)
{
    Placement* placement = Selected();
    SeqEventContainer* content = placement ? ContentOf(*placement) : nullptr;
    Sequencer* sequencer = CurrentSequencer();
    if (!content || !sequencer)
        return;
    if (!sequencer->Rename(content, wanted)) {
        // Taken: offer the unique variant; No opens the editor again for another name.
        const std::string proposed = UniqueName(wanted);
        if (Shell().MessageBox(NameInUseQuestion(wanted, proposed), "Jorvo", MessageButtons::YesNo,
                               MessageIcon::Question) == MessageAnswer::Yes)
            sequencer->Rename(content, proposed);
        else
            BeginRename(*placement, wanted);
    }
    update();
}

template <class Placement>
void ArrangementEditor<Placement>::EndRename()
{
    nameEditor_->Cancel();
}

template <class Placement>
void ArrangementEditor<Placement>::ChooseColour()
{
    Placement* placement = Selected();
    SeqEventContainer* content = placement ? ContentOf(*placement) : nullptr;
    if (!content)
        return;
    const QColor chosen = QColorDialog::getColor(ContentColour(*content), this, "Colour");
    if (!chosen.isValid())
        return;
    SetContentColour(*content, FromQColor(chosen));
    update();
}

// Menus, commands, messages, keys -----------------------------------------------------------------------

template <class Placement>
void ArrangementEditor<Placement>::AddRepeatMenu(QMenu& menu, const char* title) const
{
    QMenu* repeat = menu.addMenu(title);
    for (int count = 1; count <= kMaxRepeats; ++count)
        repeat->addAction(QString("x %1").arg(count))->setData(QString("%1 x %2").arg(title).arg(count));
    repeat->addAction("Fill")->setData(QString("%1 Fill").arg(title));
}

template <class Placement>
bool ArrangementEditor<Placement>::ContextMenu(const QPoint& point)
{
    SetMode(EditMode::None);
    // A right click comes without a pen down: it chooses the block under it as tap-and-hold does.
    if (Container() && ContentRect().contains(point)) {
        CollectVisible();
        Select(BlockAt(point));
    }
    QMenu menu(this);
    Placement* placement = Selected();
    if (placement && BlockRect(*placement).contains(point)) {
        FillBlockMenu(menu, *placement);
        AddRepeatMenu(menu, "Alias");
        AddRepeatMenu(menu, "Replicate");
        if (IsAliased(*ContentOf(*placement)))
            menu.addAction("Make Unique");
        menu.addAction("Colour...");
    } else {
        FillEmptyMenu(menu);
    }
    menu.addSeparator();
    AddQuantizeMenu(menu);
    return ExecMenu(menu, point);
}

template <class Placement>
bool ArrangementEditor<Placement>::RunRepeatCommand(const std::string& text)
{
    for (const char* kind : {"Alias ", "Replicate "}) {
        const std::string prefix = kind;
        if (text.rfind(prefix, 0) != 0)
            continue;
        const std::string what = text.substr(prefix.size());
        const bool alias = prefix == "Alias ";
        if (what == "Fill") {
            Repeat(alias, 0);
            return true;
        }
        for (int count = 1; count <= kMaxRepeats; ++count)
            if (what == "x " + std::to_string(count)) {
                Repeat(alias, count);
                return true;
            }
    }
    return false;
}

template <class Placement>
bool ArrangementEditor<Placement>::RunCommand(const std::string& text)
{
    if (TimeAxisEditor::RunCommand(text) || RunRepeatCommand(text))
        return true;
    if (text == "Make Unique")
        MakeUnique();
    else if (text == "Colour...")
        ChooseColour();
    else
        return false;
    return true;
}

template <class Placement>
bool ArrangementEditor<Placement>::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == Message(UIWindowMessages::kEventBeginDrag)) {
        BeginDrop(wParam, lParam);
        return true;
    }
    if (message == Message("WM_CUT")) {
        if (wParam == 0 || wParam == reinterpret_cast<WParam>(static_cast<TimeAxisEditor*>(this)))
            CutSelected();
        return true;
    }
    if (message == Message("WM_PASTE")) {
        Paste(lParam);
        return true;
    }
    return TimeAxisEditor::OnWindowMessage(message, wParam, lParam);
}

template class ArrangementEditor<PatternPlacement>;
template class ArrangementEditor<SectionPlacement>;

} // namespace jorvo
