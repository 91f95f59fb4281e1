#include "ui/ParameterEditor.h"

#include <algorithm>
#include <optional>
#include <set>

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include "engine/SeqEventTarget.h"
#include "engine/SeqParameter.h"
#include "platform/TreeSink.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/Sequencer.h"
#include "ui/EventClipboard.h"
#include "ui/SelectParameterDialog.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

constexpr int kValueTextPixels = 10;
constexpr int kMinHeaderWidth = 30;
constexpr int kMinValueDivisionPixels = 18;
constexpr int kPointSize = 5;
constexpr int kMinDotSpacing = 7;
const QColor kContentBackground(250, 250, 244);
const QColor kHeaderBackground(226, 226, 216);
const QColor kOutsidePattern(214, 214, 206);
const QColor kCurveLine(28, 84, 170);
const QColor kCurveFill(70, 125, 205, 70);
const QColor kNoticeColour(120, 120, 120);

// Context-menu entries beyond the quantize menu and "Follow".
constexpr char kEditSong[] = "Edit Song";
constexpr char kEditSection[] = "Edit Section";
constexpr char kEditNotes[] = "Edit Notes";
constexpr char kEditTarget[] = "Edit Target";
constexpr char kLoopActivePattern[] = "Loop Active Pattern";
constexpr char kClearEvents[] = "Clear Events";
constexpr char kRename[] = "&Rename";
constexpr char kChooseParameter[] = "Parameter..";

// The parameter records a target lists in its parameter tree.
class ParameterRecords : public TreeSink {
public:
    explicit ParameterRecords(SeqEventTarget& target) { target.FillParameterTree(*this); }

    ItemId InsertItem(ItemId, const std::string&, int, int, void* data) override
    {
        if (data)
            records_.push_back(static_cast<const SeqParameter*>(data));
        return items_++;
    }

    // True when `parameter` is one of the records; compares addresses only, so a record that no
    // longer exists is never touched.
    bool Holds(const SeqParameter* parameter) const
    {
        return std::find(records_.begin(), records_.end(), parameter) != records_.end();
    }

private:
    std::vector<const SeqParameter*> records_;
    ItemId items_ = 0;
};

WindowMessage Message(const char* name)
{
    return RegisterWindowMessage(name);
}

// Holds the render lock while the pattern changes, when there is a sequencer.
class PatternEdit {
public:
    PatternEdit()
    {
        if (Sequencer* sequencer = Sequencer::Current())
            lock_.emplace(*sequencer);
    }

private:
    std::optional<Sequencer::EditLock> lock_;
};

// A round step for value divisions: 1, 2 or 5 times a power of ten.
std::int64_t NiceStep(std::int64_t atLeast)
{
    std::int64_t power = 1;
    while (true) {
        for (const std::int64_t factor : {1, 2, 5})
            if (factor * power >= atLeast)
                return factor * power;
        power *= 10;
    }
}

} // namespace

const QColor ParameterEditor::kStrokeColour{0, 0, 255};

ParameterEditor::ParameterEditor(QWidget* parent) : TimeAxisEditor(parent, kInitialBars)
{
    titleTextColour_ = QColor(200, 200, 200);
    FitHeaderToValues();
}

void ParameterEditor::SerializeXML(CXMLArchive& archive)
{
    TimeAxisEditor::SerializeXML(archive);
    // DrawValueDivisions="True" ValueDivisionColour="#C8C8C8" ValueTextColour="#282828"
    archive.Serialize("DrawValueDivisions", drawValueDivisions_);
    SerializeColour(archive, "ValueDivisionColour", valueDivisionColour_);
    SerializeColour(archive, "ValueTextColour", valueTextColour_);
}

// Binding --------------------------------------------------------------------------------------

SeqEventPattern* ParameterEditor::Pattern() const
{
    const Sequencer* sequencer = CurrentSequencer();
    const PatternPlacement* placement = sequencer ? sequencer->GetActivePattern() : nullptr;
    return placement ? placement->pattern : nullptr;
}

SeqEventTarget* ParameterEditor::PatternTarget() const
{
    const Sequencer* sequencer = CurrentSequencer();
    const PatternPlacement* placement = sequencer ? sequencer->GetActivePattern() : nullptr;
    return placement ? placement->target : nullptr;
}

std::uint32_t ParameterEditor::PatternStart() const
{
    const Sequencer* sequencer = CurrentSequencer();
    return sequencer ? sequencer->GetActivePatternStart() : 0;
}

std::uint32_t ParameterEditor::ScrollBegin() const
{
    return Pattern() ? PatternStart() : TimeAxisEditor::ScrollBegin();
}

std::uint32_t ParameterEditor::ScrollEnd() const
{
    const SeqEventPattern* pattern = Pattern();
    return pattern ? AddPulses(PatternStart(), std::max<std::uint32_t>(1, pattern->GetLength()))
                   : TimeAxisEditor::ScrollEnd();
}

bool ParameterEditor::TargetHas(const SeqParameter* parameter) const
{
    SeqEventTarget* target = PatternTarget();
    return parameter && target && ParameterRecords(*target).Holds(parameter);
}

void ParameterEditor::BindActivePattern()
{
    EndStroke();
    if (parameter_ && !TargetHas(parameter_)) {
        parameter_ = nullptr;
        FitHeaderToValues();
        SetVisibleValues(0, kDefaultValueRange);
    }
    const SeqEventPattern* pattern = Pattern();
    setWindowTitle(pattern ? QString::fromStdString(pattern->GetName()) : QString());
    // Another pattern is shown from its beginning, two bars wide (or as long as it is).
    if (pattern != boundPattern_ || PatternStart() != boundStart_)
        SetVisibleTime(PatternStart(), kInitialBars * Bar());
    else
        SetVisibleTime(FirstVisibleTime(), VisibleSpan());
    boundPattern_ = pattern;
    boundStart_ = PatternStart();
}

bool ParameterEditor::EditParameter(SeqParameter* parameter)
{
    if (parameter == parameter_ || !TargetHas(parameter))
        return false;
    EndStroke();
    parameter_ = parameter;
    FitHeaderToValues();
    SetVisibleValues(parameter->Minimum(), parameter->Maximum() - parameter->Minimum());
    // The value column may have changed width: the grid step follows.
    SetVisibleTime(FirstVisibleTime(), VisibleSpan());
    return true;
}

std::string ParameterEditor::TitleText() const
{
    const SeqEventPattern* pattern = Pattern();
    if (!pattern)
        return GetName();
    return parameter_ ? pattern->GetName() + "  -  " + parameter_->Name() : pattern->GetName();
}

// The value axis -------------------------------------------------------------------------------

void ParameterEditor::ValueLimits(std::int32_t& minimum, std::int32_t& maximum) const
{
    minimum = parameter_ ? parameter_->Minimum() : 0;
    maximum = parameter_ ? parameter_->Maximum() : kDefaultValueRange;
}

void ParameterEditor::SetVisibleValues(std::int32_t first, std::int32_t range)
{
    std::int32_t minimum = 0, maximum = 0;
    ValueLimits(minimum, maximum);
    const std::int64_t widest = std::max<std::int64_t>(1, std::int64_t(maximum) - minimum);
    valueRange_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(range, 1, widest));
    const std::int64_t highest = std::max<std::int64_t>(minimum, std::int64_t(maximum) - valueRange_ + 1);
    firstValue_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(first, minimum, highest));
    update();
}

void ParameterEditor::ZoomInValue()
{
    SetVisibleValues(firstValue_, valueRange_ - 1);
}

void ParameterEditor::ZoomOutValue()
{
    SetVisibleValues(firstValue_, valueRange_ + 1);
}

void ParameterEditor::ScrollVertically(int dy)
{
    SetVisibleValues(static_cast<std::int32_t>(std::int64_t(firstValue_) + dy * std::max(1, valueRange_ / 10)),
                     valueRange_);
}

// The top row of the grid shows first + range and the bottom row the first value, so that both
// ends of the parameter's range can be drawn.
std::int32_t ParameterEditor::YToValue(int y) const
{
    const QRect content = ContentRect();
    const std::int64_t rows = std::max(1, content.height() - 1);
    return static_cast<std::int32_t>(firstValue_ + std::int64_t(content.bottom() - y) * valueRange_ / rows);
}

int ParameterEditor::ValueToY(std::int32_t value) const
{
    const QRect content = ContentRect();
    const std::int64_t rows = std::max(1, content.height() - 1);
    return content.bottom() - static_cast<int>((std::int64_t(value) - firstValue_) * rows / valueRange_);
}

// Events -----------------------------------------------------------------------------------------

void ParameterEditor::VisibleRangeChanged()
{
    RebuildVisibleEvents();
    TimeAxisEditor::VisibleRangeChanged();
}

void ParameterEditor::RebuildVisibleEvents()
{
    visible_.clear();
    SeqEventPattern* pattern = Pattern();
    if (!pattern || !parameter_)
        return;
    const std::uint32_t start = PatternStart();
    const std::uint32_t from = SubtractPulses(FirstVisibleTime(), start);
    const std::uint32_t to = SubtractPulses(AddPulses(FirstVisibleTime(), VisibleSpan()), start);
    std::vector<SeqEvent*> found;
    for (const auto& event : pattern->Events())
        event->CollectControllers(found, from, to, parameter_->Number(), parameter_->Number());
    for (SeqEvent* event : found)
        visible_.push_back(static_cast<SeqEventCC*>(event));
}

bool ParameterEditor::ValueBeforeVisible(std::int32_t& value) const
{
    const SeqEventPattern* pattern = Pattern();
    if (!pattern || !parameter_)
        return false;
    const std::uint32_t from = SubtractPulses(FirstVisibleTime(), PatternStart());
    bool found = false;
    for (const auto& event : pattern->Events()) {
        if (event->GetStart() >= from)
            break;
        if (event->GetType() == kSeqEventController) {
            const auto* controller = static_cast<const SeqEventCC*>(event.get());
            if (controller->GetController() == parameter_->Number()) {
                value = controller->GetValue();
                found = true;
            }
        }
    }
    return found;
}

void ParameterEditor::ClearEvents()
{
    SeqEventPattern* pattern = Pattern();
    if (!pattern || !parameter_ || visible_.empty())
        return;
    {
        PatternEdit edit;
        for (SeqEventCC* event : visible_)
            pattern->RemoveEvent(event);
    }
    RebuildVisibleEvents();
    update();
}

std::vector<ParameterEditor::Write> ParameterEditor::StretchWrites(QPoint left, QPoint right, std::uint32_t& t1,
                                                                   std::uint32_t& t2) const
{
    const std::uint32_t start = PatternStart();
    t1 = SubtractPulses(QuantizeTime(XToTime(left.x())), start);
    t2 = SubtractPulses(QuantizeTime(XToTime(right.x())), start);
    const std::int64_t d = t2 > t1 ? std::int64_t(t2) - t1 : 1;
    const std::int64_t a = YToValue(left.y());
    const std::int64_t b = YToValue(right.y());
    std::int64_t step = QuantizeSetting() != 0 ? Quantum() : VisibleSpan() / std::max(1, GridRect().width());
    if (step == 0)
        step = 1;
    std::int32_t minimum = 0, maximum = 0;
    ValueLimits(minimum, maximum);
    std::vector<Write> writes;
    for (std::int64_t t = t1; t <= t2; t += step) {
        // Values outside the parameter's range would be ignored by the target.
        const auto value = static_cast<std::int32_t>(std::clamp<std::int64_t>(a + (b - a) * (t - t1) / d, minimum, maximum));
        if (writes.empty() || value != writes.back().value)
            writes.push_back({static_cast<std::uint32_t>(t), value});
    }
    return writes;
}

void ParameterEditor::WriteStretch(QPoint from, QPoint to)
{
    if (!Pattern() || !parameter_)
        return;
    if (to.x() < from.x())
        std::swap(from, to);
    std::uint32_t t1 = 0, t2 = 0;
    std::vector<Write> writes = StretchWrites(from, to, t1, t2);
    // A stroke going on from where it last wrote does not repeat the value it holds there.
    if (strokeWrote_ && strokeLastTime_ < t1 && !writes.empty() && writes.front().value == strokeLastValue_)
        writes.erase(writes.begin());
    ApplyWrites(writes, t1, t2);
    if (!writes.empty()) {
        strokeWrote_ = true;
        strokeLastTime_ = writes.back().time;
        strokeLastValue_ = writes.back().value;
    }
    RebuildVisibleEvents();
}

void ParameterEditor::ApplyWrites(const std::vector<Write>& writes, std::uint32_t t1, std::uint32_t t2)
{
    SeqEventPattern* pattern = Pattern();
    const std::uint16_t number = parameter_->Number();
    std::vector<SeqEventCC*> inside;
    for (const auto& event : pattern->Events())
        if (event->GetType() == kSeqEventController && event->GetStart() >= t1 && event->GetStart() <= t2) {
            auto* controller = static_cast<SeqEventCC*>(event.get());
            if (controller->GetController() == number)
                inside.push_back(controller);
        }
    std::set<SeqEventCC*> kept;
    PatternEdit edit;
    for (const Write& write : writes) {
        const auto existing = std::find_if(inside.begin(), inside.end(), [&](SeqEventCC* event) {
            return event->GetStart() == write.time && !kept.count(event);
        });
        if (existing != inside.end()) {
            (*existing)->SetValue(write.value);
            kept.insert(*existing);
            continue;
        }
        auto created = std::make_unique<SeqEventCC>();
        created->SetController(number);
        created->SetValue(write.value);
        created->SetStart(write.time);
        std::unique_ptr<SeqEvent> event = std::move(created);
        pattern->InsertEvent(event);
    }
    for (SeqEventCC* event : inside)
        if (!kept.count(event))
            pattern->RemoveEvent(event);
}

bool ParameterEditor::Paste(const QPoint& point)
{
    SeqEventPattern* pattern = Pattern();
    if (!pattern)
        return false;
    std::vector<std::unique_ptr<SeqEvent>> events = EventClipboard::ReadEvents();
    if (events.empty())
        return false;
    const QRect grid = GridRect();
    const int x = std::clamp(point.x(), grid.left() - 1, grid.right() + 1);
    const std::uint32_t at = SubtractPulses(QuantizeTime(XToTime(x)), PatternStart());
    std::uint32_t earliest = UINT32_MAX;
    for (const auto& event : events)
        earliest = std::min(earliest, event->GetStart());
    bool pasted = false;
    {
        PatternEdit edit;
        for (auto& event : events) {
            event->SetStart(AddPulses(at, event->GetStart() - earliest));
            pasted |= pattern->InsertEvent(event);
        }
    }
    RebuildVisibleEvents();
    update();
    return pasted;
}

// Pen ------------------------------------------------------------------------------------------

void ParameterEditor::PenDown(const QPoint& point)
{
    TimeAxisEditor::PenDown(point);
    if (TitleRect().contains(point)) {
        ContextMenu(point);
        return;
    }
    if (!Pattern() || !parameter_ || !ContentRect().contains(point))
        return;
    drawing_ = true;
    strokeWrote_ = false;
    stroke_.assign(1, point);
}

void ParameterEditor::PenMove(const QPoint& point)
{
    TimeAxisEditor::PenMove(point);
    if (!drawing_ || stroke_.empty())
        return;
    const QRect content = ContentRect();
    const QPoint clamped(std::clamp(point.x(), content.left(), content.right()),
                         std::clamp(point.y(), content.top(), content.bottom()));
    if (clamped == stroke_.back())
        return;
    WriteStretch(stroke_.back(), clamped);
    stroke_.push_back(clamped);
    update();
}

void ParameterEditor::EndStroke()
{
    drawing_ = false;
    strokeWrote_ = false;
    stroke_.clear();
}

void ParameterEditor::PenUp(const QPoint& point)
{
    if (drawing_) {
        EndStroke();
        RebuildVisibleEvents();
        update();
    }
    TimeAxisEditor::PenUp(point);
}

void ParameterEditor::CaptureLost()
{
    EndStroke();
    TimeAxisEditor::CaptureLost();
    update();
}

// Commands ---------------------------------------------------------------------------------------

bool ParameterEditor::ContextMenu(const QPoint& point)
{
    EndStroke();
    QMenu menu(this);
    AddCheckedEntry(menu, "Follow", Follows());
    for (const char* entry : {kEditSong, kEditSection, kEditNotes})
        menu.addAction(entry);
    menu.addAction(kEditTarget)->setEnabled(PatternTarget() != nullptr);
    AddCheckedEntry(menu, kLoopActivePattern, Loops());
    menu.addAction(kClearEvents)->setEnabled(parameter_ && !visible_.empty());
    menu.addAction(kRename)->setEnabled(Pattern() != nullptr);
    menu.addAction(kChooseParameter)->setEnabled(PatternTarget() != nullptr);
    AddQuantizeMenu(menu);
    return ExecMenu(menu, point);
}

bool ParameterEditor::RunCommand(const std::string& text)
{
    Sequencer* sequencer = CurrentSequencer();
    if (text == kClearEvents) {
        ClearEvents();
    } else if (text == kChooseParameter) {
        ChooseParameter();
    } else if (text == kEditSong) {
        if (sequencer)
            sequencer->ShowSongEditor();
    } else if (text == kEditSection) {
        if (sequencer)
            sequencer->ShowSectionEditor();
    } else if (text == kEditNotes) {
        if (sequencer)
            sequencer->ShowPatternEditor(0);
    } else if (text == kEditTarget) {
        if (SeqEventTarget* target = PatternTarget())
            target->RefreshView();
    } else if (text == kLoopActivePattern) {
        SetLoop(!Loops());
        SetPlayRange(Loops() ? Pattern() : nullptr, Loops() ? PatternStart() : 0);
    } else if (text == kRename) {
        if (sequencer && Pattern() && sequencer->RenameWithDialog(Pattern())) {
            setWindowTitle(QString::fromStdString(Pattern()->GetName()));
            update();
        }
    } else {
        return TimeAxisEditor::RunCommand(text);
    }
    return true;
}

void ParameterEditor::ChooseParameter()
{
    SeqEventTarget* target = PatternTarget();
    if (!target)
        return;
    SeqParameter* chosen = SelectParameterDialog::Run(*target, this);
    // The dialog may have outlived the binding (a document loaded meanwhile): EditParameter checks.
    if (chosen)
        EditParameter(chosen);
}

bool ParameterEditor::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == Message(UIWindowMessages::kEditParameter)) {
        BindActivePattern();
        EditParameter(reinterpret_cast<SeqParameter*>(wParam));
        return true;
    }
    if (message == Message(UIWindowMessages::kChangeActivePattern)) {
        BindActivePattern();
        return true;
    }
    if (message == Message("WM_ZOOM_IN_VALUE")) {
        ZoomInValue();
        return true;
    }
    if (message == Message("WM_ZOOM_OUT_VALUE")) {
        ZoomOutValue();
        return true;
    }
    if (message == Message("WM_PASTE")) {
        Paste(FromPackedScreenPoint(lParam));
        return true;
    }
    return TimeAxisEditor::OnWindowMessage(message, wParam, lParam);
}

void ParameterEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        ScrollVertically(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    TimeAxisEditor::keyPressEvent(event);
}

void ParameterEditor::showEvent(QShowEvent* event)
{
    TimeAxisEditor::showEvent(event);
    BindActivePattern();
}

// Drawing ----------------------------------------------------------------------------------------

int ParameterEditor::HeaderWidth() const
{
    return headerWidth_;
}

void ParameterEditor::FitHeaderToValues()
{
    std::int32_t minimum = 0, maximum = 0;
    ValueLimits(minimum, maximum);
    QFont font("Tahoma");
    font.setPixelSize(kValueTextPixels);
    const QFontMetrics metrics(font);
    const int widest = std::max(metrics.horizontalAdvance(QString::number(minimum)),
                                metrics.horizontalAdvance(QString::number(maximum)));
    headerWidth_ = std::max(kMinHeaderWidth, widest + 8);
}

void ParameterEditor::DrawContent(QPainter& painter)
{
    const QRect content = ContentRect();
    painter.fillRect(QRect(0, content.top(), HeaderWidth(), content.height()), kHeaderBackground);
    painter.fillRect(content, kContentBackground);
    if (const SeqEventPattern* pattern = Pattern()) {
        // Time after the pattern's end cannot hold its events.
        const int end = TimeToX(AddPulses(PatternStart(), pattern->GetLength()));
        if (end < content.right())
            painter.fillRect(QRect(QPoint(std::max(end, content.left()), content.top()), content.bottomRight()),
                             kOutsidePattern);
    }
    DrawTimeDivisions(painter, content);
    DrawValueDivisions(painter, content);
    if (!Pattern())
        DrawCentredText(painter, content, "No Pattern", kNoticeColour, 14);
    else if (!parameter_)
        DrawCentredText(painter, content, "No Parameter", kNoticeColour, 14);
    else
        DrawCurve(painter, content);
    if (stroke_.size() > 1) {
        painter.setPen(QPen(kStrokeColour, 1, Qt::SolidLine));
        painter.drawPolyline(stroke_.data(), static_cast<int>(stroke_.size()));
    }
    DrawPositionLine(painter, content);
}

void ParameterEditor::DrawValueDivisions(QPainter& painter, const QRect& content) const
{
    const std::int64_t rows = std::max(1, content.height() - 1);
    const std::int64_t step =
        NiceStep(std::max<std::int64_t>(1, (std::int64_t(valueRange_) * kMinValueDivisionPixels + rows - 1) / rows));
    QFont font("Tahoma");
    font.setPixelSize(kValueTextPixels);
    painter.setFont(font);
    const std::int64_t top = std::int64_t(firstValue_) + valueRange_;
    std::int64_t value = firstValue_ - ((firstValue_ % step) + step) % step;
    for (; value <= top; value += step) {
        if (value < firstValue_)
            continue;
        const int y = ValueToY(static_cast<std::int32_t>(value));
        if (drawValueDivisions_) {
            painter.setPen(valueDivisionColour_);
            painter.drawLine(content.left(), y, content.right(), y);
        }
        painter.setPen(valueTextColour_);
        // Labels at the ends of the axis stay whole inside the grid.
        QRect label(0, y - kValueTextPixels / 2 - 1, HeaderWidth() - 4, kValueTextPixels + 3);
        if (label.bottom() > content.bottom())
            label.moveBottom(content.bottom());
        if (label.top() < content.top())
            label.moveTop(content.top());
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, QString::number(value));
    }
}

void ParameterEditor::DrawCurve(QPainter& painter, const QRect& content) const
{
    painter.save();
    painter.setClipRect(content);
    const SeqEventPattern* pattern = Pattern();
    const int end = std::min(content.right(), TimeToX(AddPulses(PatternStart(), pattern->GetLength())));
    const std::uint32_t start = PatternStart();
    // The steps the target hears: each value holds until the next event.
    QPainterPath steps;
    std::int32_t value = 0;
    bool open = ValueBeforeVisible(value);
    int x = content.left();
    if (open)
        steps.moveTo(x, ValueToY(value));
    for (const SeqEventCC* event : visible_) {
        const int eventX = TimeToX(AddPulses(start, event->GetStart()));
        if (open)
            steps.lineTo(eventX, ValueToY(value));
        else
            steps.moveTo(eventX, ValueToY(event->GetValue()));
        value = event->GetValue();
        steps.lineTo(eventX, ValueToY(value));
        open = true;
        x = eventX;
    }
    if (open && end > x)
        steps.lineTo(end, ValueToY(value));
    if (!steps.isEmpty()) {
        QPainterPath area = steps;
        area.lineTo(steps.currentPosition().x(), content.bottom());
        area.lineTo(steps.elementAt(0).x, content.bottom());
        area.closeSubpath();
        painter.fillPath(area, kCurveFill);
        painter.setPen(QPen(kCurveLine, 2));
        painter.drawPath(steps);
    }
    // A dot on each event, left out where it would crowd the one before (the steps show those).
    painter.setPen(Qt::white);
    std::optional<QPoint> previous;
    for (const SeqEventCC* event : visible_) {
        const QPoint at(TimeToX(AddPulses(start, event->GetStart())), ValueToY(event->GetValue()));
        if (previous && (at - *previous).manhattanLength() < kMinDotSpacing)
            continue;
        previous = at;
        const QRect dot(at.x() - kPointSize / 2, at.y() - kPointSize / 2, kPointSize, kPointSize);
        painter.fillRect(dot, kCurveLine);
        painter.drawRect(dot.adjusted(-1, -1, 0, 0));
    }
    painter.restore();
}

} // namespace jorvo
