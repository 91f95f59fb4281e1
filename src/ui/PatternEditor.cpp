#include "ui/PatternEditor.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "document/XMLArchive.h"
#include "engine/EventCodes.h"
#include "engine/SeqEventTarget.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/Sequencer.h"
#include "ui/EventClipboard.h"
#include "ui/UIElementFactory.h"
#include "ui/UIMsgElement.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

constexpr const char* kNoteNames[] = {"C%1", "C#%1", "D%1", "D#%1", "E%1", "F%1",
                                      "F#%1", "G%1", "G#%1", "A%1", "A#%1", "B%1"};
constexpr int kMaxRows = 127;
constexpr int kNoteCount = 128;
constexpr int kPopupWidth = 28;
constexpr int kPopupHeight = 120;
// Rows taller than this keep the resize handle off the note's top and bottom edges.
constexpr int kHandleInsetRowHeight = 14;
constexpr int kMaxHandleWidth = 16;

WindowMessage Message(const char* name)
{
    return RegisterWindowMessage(name);
}

// Notes fill with a blue that deepens with the velocity, so loud and soft notes tell apart; on
// dark rows the blue stays bright.
QColor VelocityColour(int velocity, bool darkRows)
{
    const int v = std::clamp(velocity, 0, 127);
    return darkRows ? QColor::fromHsv(205, 40 + v * 160 / 127, 255 - v * 35 / 127)
                    : QColor::fromHsv(212, 70 + v * 150 / 127, 235 - v * 90 / 127);
}

} // namespace

PatternEditor::PatternEditor(QWidget* parent) : TimeAxisEditor(parent, 2)
{
    SetName("UIPatternEditor");
    SetFollow(false);
    CreatePopup();
}

PatternEditor::~PatternEditor()
{
    Audition(kNoSound);
}

std::string PatternEditor::NoteName(int note)
{
    if (note < 0 || note >= kNoteCount)
        return {};
    return QString(kNoteNames[note % 12]).arg(note / 12).toStdString();
}

bool PatternEditor::IsSharp(int note)
{
    switch (note % 12) {
    case 1: case 3: case 6: case 8: case 10:
        return true;
    default:
        return false;
    }
}

// Skin ------------------------------------------------------------------------------------------

void PatternEditor::CreatePopup()
{
    std::unique_ptr<UIElement> element = UIElementFactory::CreateElement("MsgFader", this);
    auto* fader = dynamic_cast<UIMsgElement*>(element.get());
    if (!fader)
        return;
    element.release();
    popup_ = fader;
    popup_->SetName("NotePopup");
    popup_->SetMessageName("WM_SET_NOTE_VELOCITY");
    popup_->SetRange(0, 127);
    popup_->Create(0, 0, kPopupWidth, kPopupHeight);
    popup_->hide();
}

void PatternEditor::SerializeXML(CXMLArchive& archive)
{
    TimeAxisEditor::SerializeXML(archive);
    archive.Serialize("DrawNoteDivisions", drawNoteDivisions_);
    SerializeColour(archive, "NoteDivisionColour", noteDivisionColour_);
    SerializeColour(archive, "NaturalNoteColour", naturalNoteColour_);
    SerializeColour(archive, "SharpNoteColour", sharpNoteColour_);
    SerializeColour(archive, "NaturalNoteTitleColour", naturalNoteTitleColour_);
    SerializeColour(archive, "SharpNoteTitleColour", sharpNoteTitleColour_);
    SerializeColour(archive, "NoteTextColour", noteTextColour_);
    archive.Serialize("PlaySounds", playSounds_);
    if (!archive.IsLoading()) {
        if (popup_) {
            CXMLArchive child(archive);
            popup_->SerializeXML(child);
        }
        return;
    }
    DomNode node;
    if (!archive.FindChild("NotePopup", node))
        return;
    CXMLArchive child(archive);
    child.SetCurrentNode(node);
    std::unique_ptr<UIElement> element = UIElementFactory::LoadElement(child, this);
    if (auto* fader = dynamic_cast<UIMsgElement*>(element.get())) {
        delete popup_;
        popup_ = fader;
        element.release();
        popup_->hide();
    }
}

// Binding -----------------------------------------------------------------------------------------

void PatternEditor::Rebind()
{
    Audition(kNoSound);
    selected_ = nullptr;
    dropped_.reset();
    setWindowTitle(Pattern() ? QString::fromStdString(Pattern()->GetName()) : QString());
    ShowPitchesInUse();
    // Start at the pattern's beginning, keeping the zoom.
    SetVisibleTime(PatternStart(), VisibleSpan());
}

void PatternEditor::ShowPitchesInUse()
{
    const SeqEventPattern* pattern = Pattern();
    if (!pattern)
        return;
    int lowest = kNoteCount;
    bool anyVisible = false;
    for (const auto& event : pattern->Events())
        if (const auto* note = PersistentCast<SeqEventNote>(event.get())) {
            lowest = std::min<int>(lowest, note->GetPitch());
            anyVisible = anyVisible || (note->GetPitch() >= lowestNote_ && note->GetPitch() < lowestNote_ + rows_);
        }
    // A pattern whose notes all lie outside the rows would look empty: bring its lowest note
    // into view, one row above the bottom.
    if (lowest < kNoteCount && !anyVisible)
        SetPitchRange(lowest - 1, rows_);
}

// The binding is read from the sequencer on every use, so that a pattern or target that went
// with a load, a reset or a deletion is never reached.
const PatternPlacement* PatternEditor::ActivePlacement() const
{
    const Sequencer* sequencer = CurrentSequencer();
    const PatternPlacement* placement = sequencer ? sequencer->GetActivePattern() : nullptr;
    return placement && placement->pattern ? placement : nullptr;
}

SeqEventPattern* PatternEditor::Pattern() const
{
    const PatternPlacement* placement = ActivePlacement();
    return placement ? placement->pattern : nullptr;
}

SeqEventTarget* PatternEditor::PatternTarget() const
{
    const PatternPlacement* placement = ActivePlacement();
    return placement ? placement->target : nullptr;
}

std::uint32_t PatternEditor::PatternStart() const
{
    return ActivePlacement() ? CurrentSequencer()->GetActivePatternStart() : 0;
}

SeqEventNote* PatternEditor::SelectedNote() const
{
    const SeqEventPattern* pattern = Pattern();
    if (!selected_ || !pattern)
        return nullptr;
    const auto& events = pattern->Events();
    const bool listed = std::any_of(events.begin(), events.end(), [this](const auto& event) { return event.get() == selected_; });
    return listed ? selected_ : nullptr;
}

std::uint32_t PatternEditor::ScrollBegin() const
{
    return PatternStart();
}

std::uint32_t PatternEditor::ScrollEnd() const
{
    const SeqEventPattern* pattern = Pattern();
    return pattern ? AddPulses(PatternStart(), std::max<std::uint32_t>(1, pattern->GetLength()))
                   : TimeAxisEditor::ScrollEnd();
}

std::string PatternEditor::TitleText() const
{
    const SeqEventPattern* pattern = Pattern();
    if (!pattern)
        return "No Pattern";
    const SeqEventTarget* target = PatternTarget();
    return target ? pattern->GetName() + "  \xE2\x80\x94  " + target->GetName() : pattern->GetName();
}

void PatternEditor::VisibleRangeChanged()
{
    CollectVisibleNotes();
    update();
}

void PatternEditor::CollectVisibleNotes()
{
    visibleNotes_.clear();
    SeqEventPattern* pattern = Pattern();
    if (!pattern)
        return;
    const std::uint32_t from = SubtractPulses(FirstVisibleTime(), PatternStart());
    const std::uint32_t to = SubtractPulses(AddPulses(FirstVisibleTime(), VisibleSpan()), PatternStart());
    pattern->CollectNotes(visibleNotes_, from, to, static_cast<std::uint32_t>(lowestNote_),
                          static_cast<std::uint32_t>(lowestNote_ + rows_ - 1));
}

// Pitch axis --------------------------------------------------------------------------------------

void PatternEditor::SetPitchRange(int lowestNote, int rows)
{
    rows_ = std::clamp(rows, 1, kMaxRows);
    lowestNote_ = std::clamp(lowestNote, 0, kNoteCount - rows_);
    VisibleRangeChanged();
}

int PatternEditor::RowHeight() const
{
    return std::max(1, ContentRect().height() / rows_);
}

int PatternEditor::YToNote(int y) const
{
    const QRect content = ContentRect();
    const int bottom = content.bottom() + 1;
    if (y >= bottom)
        return lowestNote_;
    const int row = std::min((bottom - y - 1) / RowHeight(), rows_ - 1);
    return lowestNote_ + std::max(0, row);
}

QRect PatternEditor::RowRect(int note) const
{
    const QRect content = ContentRect();
    const int height = RowHeight();
    const int top = content.bottom() + 1 - (note - lowestNote_ + 1) * height;
    return QRect(content.left(), top, content.width(), height);
}

QRect PatternEditor::NoteRect(const SeqEventNote& note) const
{
    const QRect row = RowRect(note.GetPitch());
    const int left = TimeToX(AddPulses(PatternStart(), note.GetStart()));
    const int right = TimeToX(AddPulses(PatternStart(), AddPulses(note.GetEnd(), 1)));
    return QRect(left, row.top(), std::max(1, right - left), row.height());
}

void PatternEditor::ScrollVertically(int dy)
{
    SetPitchRange(lowestNote_ + dy, rows_);
}

// Drawing ---------------------------------------------------------------------------------------

void PatternEditor::DrawContent(QPainter& painter)
{
    // Notes may have changed elsewhere (another editor, a paste) since the list was made.
    CollectVisibleNotes();
    if (!Pattern()) {
        painter.fillRect(ContentRect(), naturalNoteColour_);
        painter.fillRect(QRect(0, ContentRect().top(), kNameColumnWidth, ContentRect().height()),
                         naturalNoteTitleColour_);
        DrawCentredText(painter, ContentRect(), "No Pattern", ContrastingText(naturalNoteColour_), 16);
        return;
    }
    DrawRows(painter);
    const QRect content = ContentRect();
    painter.save();
    painter.setClipRect(content);
    DrawTimeDivisions(painter, content);
    // The pattern's end, when it lies inside the grid, closes the editable area.
    const int endX = TimeToX(ScrollEnd());
    if (endX <= content.right())
        painter.fillRect(QRect(endX, content.top(), content.right() - endX + 1, content.height()), BeyondEndColour());
    for (SeqEvent* event : visibleNotes_)
        if (auto* note = PersistentCast<SeqEventNote>(event))
            DrawNote(painter, *note, NoteRect(*note));
    if (Mode() == EditMode::Moving || Mode() == EditMode::Placing) {
        painter.setPen(QPen(QColor(20, 20, 20), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(DragOutline().adjusted(0, 0, -1, -1));
    }
    DrawPositionLine(painter, content);
    painter.restore();
    DrawNoteNames(painter);
}

void PatternEditor::DrawRows(QPainter& painter) const
{
    const QRect content = ContentRect();
    // Space above the top row (when the rows do not fill the grid) takes the natural colour.
    painter.fillRect(content, naturalNoteColour_);
    for (int note = lowestNote_; note < lowestNote_ + rows_; ++note) {
        const QRect row = RowRect(note);
        painter.fillRect(row, IsSharp(note) ? sharpNoteColour_ : naturalNoteColour_);
        if (drawNoteDivisions_) {
            // The line under each C is drawn in the bar colour: octaves read at a glance.
            painter.setPen(note % 12 == 0 ? barDivisionColour_ : noteDivisionColour_);
            painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
        }
    }
}

void PatternEditor::DrawNoteNames(QPainter& painter) const
{
    const QRect content = ContentRect();
    const QRect column(0, content.top(), kNameColumnWidth, content.height());
    painter.fillRect(column, naturalNoteTitleColour_);
    const int rowHeight = RowHeight();
    QFont font("Tahoma");
    font.setPixelSize(std::clamp(rowHeight - 3, 7, 12));
    painter.setFont(font);
    for (int note = lowestNote_; note < lowestNote_ + rows_; ++note) {
        QRect row = RowRect(note);
        row.setLeft(0);
        row.setWidth(kNameColumnWidth);
        painter.fillRect(row, IsSharp(note) ? sharpNoteTitleColour_ : naturalNoteTitleColour_);
        painter.setPen(noteDivisionColour_);
        painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
        // Names are left out where rows are too low to hold readable text, except for each C.
        if (rowHeight >= 8 || note % 12 == 0) {
            painter.setPen(noteTextColour_);
            painter.drawText(row.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                             QString::fromStdString(NoteName(note)));
        }
        if (note == soundingNote_)
            painter.fillRect(QRect(row.right() - 4, row.top() + 1, 4, std::max(1, row.height() - 2)), kPositionColour);
    }
    painter.setPen(barDivisionColour_);
    painter.drawLine(column.right(), column.top(), column.right(), column.bottom());
}

void PatternEditor::DrawNote(QPainter& painter, const SeqEventNote& note, const QRect& area) const
{
    const QRect box = area.adjusted(0, 1, 0, -1);
    painter.fillRect(box, VelocityColour(note.GetVelocity(), naturalNoteColour_.lightness() < 128));
    // The velocity as a bar along the note's top edge.
    const int barWidth = std::max(1, box.width() * note.GetVelocity() / 127);
    if (box.height() >= 5)
        painter.fillRect(QRect(box.left(), box.top(), barWidth, 2), QColor(255, 255, 255, 200));
    const bool selected = &note == selected_;
    painter.setPen(QPen(selected ? QColor(255, 128, 0) : QColor(20, 40, 90), selected ? 2 : 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(selected ? box.adjusted(1, 1, -1, -1) : box.adjusted(0, 0, -1, -1));
}

// Hit-testing -----------------------------------------------------------------------------------

SeqEventNote* PatternEditor::NoteAt(const QPoint& point) const
{
    for (SeqEvent* event : visibleNotes_)
        if (auto* note = PersistentCast<SeqEventNote>(event); note && NoteRect(*note).contains(point))
            return note;
    return nullptr;
}

bool PatternEditor::InResizeHandle(const SeqEventNote& note, const QPoint& point) const
{
    QRect area = NoteRect(note);
    const int handle = std::min(kMaxHandleWidth, area.width() / 4);
    QRect grip(area.right() - handle + 1, area.top(), handle, area.height());
    if (area.height() > kHandleInsetRowHeight)
        grip.adjust(0, 2, 0, -2);
    return handle > 0 && grip.contains(point);
}

void PatternEditor::Select(SeqEventNote* note)
{
    if (note == selected_)
        return;
    selected_ = note;
    update();
}

// Auditioning -----------------------------------------------------------------------------------

void PatternEditor::Audition(int note)
{
    if (note == soundingNote_)
        return;
    Sequencer* sequencer = CurrentSequencer();
    SeqEventTarget* target = PatternTarget();
    if (playSounds_ && sequencer && target) {
        if (soundingNote_ != kNoSound)
            sequencer->SendToTarget(target, kEventNoteEnd, soundingNote_, 0, 0, 0);
        if (note != kNoSound) {
            const SeqEventNote* selected = SelectedNote();
            sequencer->SendToTarget(target, kEventNoteStart, note,
                                    selected ? selected->GetVelocity() : kAuditionVelocity, 0, 0);
        }
    }
    soundingNote_ = note;
    update(QRect(0, ContentRect().top(), kNameColumnWidth, ContentRect().height()));
}

// Pen -----------------------------------------------------------------------------------------------

void PatternEditor::PenDown(const QPoint& point)
{
    HidePopup();
    TimeAxisEditor::PenDown(point);
    if (TitleRect().contains(point)) {
        ContextMenu(point);
        return;
    }
    if (!Pattern())
        return;
    if (point.x() < kNameColumnWidth && ContentRect().adjusted(-kNameColumnWidth, 0, 0, 0).contains(point)) {
        if (playSounds_) {
            SetMode(EditMode::Auditioning);
            Audition(YToNote(point.y()));
        }
        return;
    }
    if (!ContentRect().contains(point))
        return;
    CollectVisibleNotes();
    SeqEventNote* note = NoteAt(point);
    Select(note);
    if (!note)
        return;
    if (InResizeHandle(*note, point)) {
        SetMode(EditMode::Resizing);
        resizeOffset_ = NoteRect(*note).right() + 1 - point.x();
    } else {
        SetPressPoint(point);
        dragOffset_ = point - NoteRect(*note).topLeft();
    }
    Audition(note->GetPitch());
}

void PatternEditor::PenMove(const QPoint& point)
{
    TimeAxisEditor::PenMove(point);
    if (!HoldsCapture())
        return;
    if (TrackGesture(point, SelectedNote() != nullptr))
        return;
    if (Mode() == EditMode::Auditioning)
        Audition(YToNote(point.y()));
}

void PatternEditor::EdgeScrolled(const QPoint& point)
{
    const QRect content = ContentRect();
    const int edgeRow = point.y() < content.top() ? lowestNote_ + rows_ - 1 : point.y() > content.bottom() ? lowestNote_ : -1;
    if (edgeRow >= 0)
        Audition(edgeRow);
    CollectVisibleNotes();
    update();
}

void PatternEditor::PenUp(const QPoint& point)
{
    const bool overGrid = ContentRect().contains(point);
    switch (Mode()) {
    case EditMode::Moving:
        if (overGrid)
            PlaceSelected(point);
        else if (SeqEventNote* note = SelectedNote())
            PostDrop(point, note);
        break;
    case EditMode::Placing:
        FinishDroppedNote(point);
        break;
    case EditMode::Resizing:
        CollectVisibleNotes();
        break;
    default:
        break;
    }
    Audition(kNoSound);
    TimeAxisEditor::PenUp(point);
    update();
}

std::uint32_t PatternEditor::DropStart(const QPoint& point) const
{
    const std::uint32_t time = QuantizeTime(XToTime(point.x() - dragOffset_.x()));
    return SubtractPulses(time, PatternStart());
}

QRect PatternEditor::DragOutline() const
{
    const SeqEventNote* note = Mode() == EditMode::Placing ? dropped_.get() : SelectedNote();
    if (!note)
        return {};
    const QRect row = RowRect(YToNote(DragPoint().y()));
    const std::uint32_t start = AddPulses(PatternStart(), DropStart(DragPoint()));
    const int left = TimeToX(start);
    const int right = TimeToX(AddPulses(start, note->GetLength()));
    return QRect(left, row.top(), std::max(1, right - left), row.height());
}

void PatternEditor::ResizeSelected(const QPoint& point)
{
    SeqEventNote* note = SelectedNote();
    SeqEventPattern* pattern = Pattern();
    Sequencer* sequencer = CurrentSequencer();
    if (!note || !pattern || !sequencer)
        return;
    std::uint32_t end = SubtractPulses(QuantizeTime(XToTime(point.x() + resizeOffset_)), PatternStart());
    end = std::max(end, AddPulses(note->GetStart(), std::max<std::uint32_t>(1, Quantum())));
    const QRect before = NoteRect(*note);
    {
        Sequencer::EditLock lock(*sequencer);
        pattern->MoveEvent(note, note->GetStart(), end - note->GetStart(), kNoSound, kNoSound);
    }
    update(before.united(NoteRect(*note)).adjusted(-2, -2, 2, 2));
}

bool PatternEditor::PlaceSelected(const QPoint& point)
{
    SeqEventNote* note = SelectedNote();
    SeqEventPattern* pattern = Pattern();
    Sequencer* sequencer = CurrentSequencer();
    if (!note || !pattern || !sequencer)
        return false;
    bool moved = false;
    {
        Sequencer::EditLock lock(*sequencer);
        moved = pattern->MoveEvent(note, DropStart(point), note->GetLength(), static_cast<std::uint32_t>(YToNote(point.y())),
                                   note->GetVelocity());
    }
    CollectVisibleNotes();
    update();
    return moved;
}

// Drag and drop with the factories --------------------------------------------------------------

void PatternEditor::BeginDroppedNote(LParam screenPoint)
{
    std::vector<std::unique_ptr<SeqEvent>> events = EventClipboard::ReadEvents();
    if (events.empty() || !Pattern() || !PersistentCast<SeqEventNote>(events.front().get()))
        return;
    dropped_.reset(static_cast<SeqEventNote*>(events.front().release()));
    selected_ = nullptr;
    SetDragPoint(TakeOverDrag(screenPoint));
    // The pen holds the note by its left end, in the middle of the row.
    dragOffset_ = QPoint(0, RowHeight() / 2);
    SetMode(EditMode::Placing);
    update();
}

void PatternEditor::FinishDroppedNote(const QPoint& point)
{
    std::unique_ptr<SeqEventNote> note = std::move(dropped_);
    SeqEventPattern* pattern = Pattern();
    Sequencer* sequencer = CurrentSequencer();
    if (!note || !pattern || !sequencer || !ContentRect().contains(point))
        return; // dropped outside the grid: discarded
    SeqEventNote* placed = note.get();
    {
        Sequencer::EditLock lock(*sequencer);
        std::unique_ptr<SeqEvent> event(note.release());
        if (!pattern->InsertEvent(event))
            return; // refused: the note goes with `event`
    }
    selected_ = placed;
    PlaceSelected(point);
}

void PatternEditor::CutSelected()
{
    SeqEventNote* note = SelectedNote();
    SeqEventPattern* pattern = Pattern();
    Sequencer* sequencer = CurrentSequencer();
    if (!note || !pattern || !sequencer)
        return;
    selected_ = nullptr;
    {
        Sequencer::EditLock lock(*sequencer);
        pattern->RemoveEvent(note);
    }
    CollectVisibleNotes();
    update();
}

void PatternEditor::Paste(LParam screenPoint)
{
    SeqEventPattern* pattern = Pattern();
    Sequencer* sequencer = CurrentSequencer();
    std::vector<std::unique_ptr<SeqEvent>> events = EventClipboard::ReadEvents();
    if (!pattern || !sequencer || events.empty())
        return;
    const QPoint point = FromPackedScreenPoint(screenPoint);
    // The first event lands under the point; the others keep their distance to it in time and
    // (for notes) in pitch.
    const std::int64_t shift = std::int64_t(SubtractPulses(QuantizeTime(XToTime(point.x())), PatternStart())) -
                               events.front()->GetStart();
    const auto* firstNote = PersistentCast<SeqEventNote>(events.front().get());
    const int transpose = firstNote ? YToNote(point.y()) - firstNote->GetPitch() : 0;
    {
        Sequencer::EditLock lock(*sequencer);
        for (std::unique_ptr<SeqEvent>& event : events) {
            const std::int64_t start = std::int64_t(event->GetStart()) + shift;
            if (start < 0)
                continue;
            event->SetStart(static_cast<std::uint32_t>(start));
            if (auto* note = PersistentCast<SeqEventNote>(event.get());
                note && !note->SetPitch(static_cast<std::uint32_t>(std::clamp(note->GetPitch() + transpose, 0, 127))))
                continue;
            pattern->InsertEvent(event);
        }
    }
    CollectVisibleNotes();
    update();
}

void PatternEditor::SetVelocity(int velocity)
{
    SeqEventNote* note = SelectedNote();
    SeqEventPattern* pattern = Pattern();
    Sequencer* sequencer = CurrentSequencer();
    if (!note || !pattern || !sequencer || velocity < 0 || velocity > 127)
        return;
    {
        Sequencer::EditLock lock(*sequencer);
        pattern->MoveEvent(note, note->GetStart(), note->GetLength(), note->GetPitch(), static_cast<std::uint32_t>(velocity));
    }
    if (popup_)
        popup_->SetValue(velocity);
    update(NoteRect(*note).adjusted(-2, -2, 2, 2));
}

// The velocity popup ---------------------------------------------------------------------------------

void PatternEditor::ShowPopup(const QPoint& point)
{
    SeqEventNote* note = SelectedNote();
    if (!popup_ || !note)
        return;
    popup_->SetValue(note->GetVelocity());
    popup_->update();
    // The carat (the value's place on the vertical fader) lies under the pen; the popup stays
    // inside the editor.
    const int height = popup_->height();
    const int caratY = (127 - note->GetVelocity()) * std::max(0, height - 1) / 127;
    const int left = std::clamp(point.x() - popup_->width() / 2, 0, std::max(0, width() - popup_->width()));
    const int top = std::clamp(point.y() - caratY, 0, std::max(0, this->height() - height));
    popup_->move(left, top);
    popup_->show();
    popup_->raise();
}

void PatternEditor::HidePopup()
{
    if (popup_)
        popup_->hide();
}

// Menus and commands -----------------------------------------------------------------------------------

bool PatternEditor::ContextMenu(const QPoint& point)
{
    // A right click comes without a pen down: it chooses the note under it as tap-and-hold does.
    if (Pattern() && ContentRect().contains(point)) {
        CollectVisibleNotes();
        Select(NoteAt(point));
    }
    if (SeqEventNote* note = SelectedNote(); note && NoteRect(*note).contains(point) && popup_) {
        Audition(kNoSound);
        SetMode(EditMode::None);
        ShowPopup(point);
        return true;
    }
    Audition(kNoSound);
    SetMode(EditMode::None);
    QMenu menu(this);
    AddCheckedEntry(menu, "Follow", Follows());
    menu.addAction("Edit Song");
    menu.addAction("Edit Section");
    menu.addAction("Edit Parameters");
    menu.addAction("Edit Target")->setEnabled(PatternTarget() != nullptr);
    AddCheckedEntry(menu, "Loop Active Pattern", Loops());
    menu.addAction("&Rename..")->setEnabled(Pattern() != nullptr);
    AddCheckedEntry(menu, "Play Notes", playSounds_);
    menu.addSeparator();
    AddQuantizeMenu(menu);
    return ExecMenu(menu, point);
}

bool PatternEditor::RunCommand(const std::string& text)
{
    if (TimeAxisEditor::RunCommand(text))
        return true;
    Sequencer* sequencer = CurrentSequencer();
    if (text == "Loop Active Pattern") {
        SetLoop(!Loops());
        if (Loops() && Pattern())
            SetPlayRange(Pattern(), PatternStart());
        else
            SetPlayRange(nullptr, 0);
    } else if (text == "Play Notes") {
        Audition(kNoSound);
        playSounds_ = !playSounds_;
    } else if (text == "&Rename..") {
        if (sequencer && Pattern() && sequencer->RenameWithDialog(Pattern()))
            setWindowTitle(QString::fromStdString(Pattern()->GetName()));
        update();
    } else if (text == "Edit Song") {
        if (sequencer)
            sequencer->ShowSongEditor();
    } else if (text == "Edit Section") {
        if (sequencer)
            sequencer->ShowSectionEditor();
    } else if (text == "Edit Parameters") {
        if (sequencer)
            sequencer->ShowPatternEditor(2);
    } else if (text == "Edit Target") {
        if (SeqEventTarget* target = PatternTarget())
            target->RefreshView();
    } else {
        return false;
    }
    return true;
}

bool PatternEditor::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == Message(UIWindowMessages::kChangeActivePattern)) {
        Rebind();
        return true;
    }
    if (message == Message("WM_ZOOM_IN_PITCH")) {
        SetPitchRange(rows_ >= 3 ? lowestNote_ + 1 : lowestNote_, rows_ >= 3 ? rows_ - 2 : rows_ - 1);
        return true;
    }
    if (message == Message("WM_ZOOM_OUT_PITCH")) {
        SetPitchRange(lowestNote_ > 1 ? lowestNote_ - 1 : lowestNote_, rows_ + 2);
        return true;
    }
    if (message == Message(UIWindowMessages::kEventBeginDrag)) {
        BeginDroppedNote(lParam);
        return true;
    }
    if (message == Message("WM_SET_NOTE_VELOCITY")) {
        SetVelocity(static_cast<int>(wParam));
        return true;
    }
    if (message == Message("WM_CUT")) {
        // A factory names the editor whose dragged note it received.
        if (wParam == 0 || wParam == reinterpret_cast<WParam>(this))
            CutSelected();
        return true;
    }
    if (message == Message("WM_PASTE")) {
        Paste(lParam);
        return true;
    }
    return TimeAxisEditor::OnWindowMessage(message, wParam, lParam);
}

void PatternEditor::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int repeat = std::max(1, event->count());
    switch (event->key()) {
    case Qt::Key_Up:
        control ? SetPitchRange(lowestNote_, rows_ - 1) : SetPitchRange(lowestNote_ + repeat, rows_);
        break;
    case Qt::Key_Down:
        control ? SetPitchRange(lowestNote_, rows_ + 1) : SetPitchRange(lowestNote_ - repeat, rows_);
        break;
    case Qt::Key_PageUp:
        SetPitchRange(lowestNote_ - rows_ * repeat, rows_);
        break;
    case Qt::Key_PageDown:
        SetPitchRange(lowestNote_ + rows_ * repeat, rows_);
        break;
    default:
        TimeAxisEditor::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PatternEditor::showEvent(QShowEvent* event)
{
    TimeAxisEditor::showEvent(event);
    Rebind();
}

} // namespace jorvo
