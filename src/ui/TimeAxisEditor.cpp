#include "ui/TimeAxisEditor.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "document/XMLArchive.h"
#include "sequencer/SequencerSettings.h"
#include "sequencer/Sequencer.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

constexpr const char* kQuantizeEntries[] = {"Off", "1", "1/2", "1/3", "1/4"};
// Divisions closer than this many pixels are left out.
constexpr int kMinDivisionSpacing = 4;
// Ruler labels need this much room each.
constexpr int kMinLabelSpacing = 22;

WindowMessage Message(const char* name)
{
    return RegisterWindowMessage(name);
}

std::int64_t Clamp64(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return std::max(low, std::min(value, high));
}

} // namespace

const QColor TimeAxisEditor::kTitleBackground{44, 48, 58};
const QColor TimeAxisEditor::kRulerBackground{232, 232, 224};
const QColor TimeAxisEditor::kPositionColour{214, 40, 40};

QColor ToQColor(Colour colour)
{
    return QColor(colour.Red(), colour.Green(), colour.Blue());
}

Colour FromQColor(const QColor& colour)
{
    return Colour::FromRgb(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
                           static_cast<std::uint8_t>(colour.blue()));
}

void SerializeColour(CXMLArchive& archive, const char* name, QColor& colour)
{
    Colour value = FromQColor(colour);
    if (archive.Serialize(name, value) && archive.IsLoading())
        colour = ToQColor(value);
}

TimeAxisEditor::TimeAxisEditor(QWidget* parent, std::uint32_t initialBars) : UIElement(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    span_ = std::max<std::uint32_t>(1, initialBars * Bar());
    edgeDelay_.setSingleShot(true);
    connect(&edgeDelay_, &QTimer::timeout, this, [this] {
        edgeRepeat_.start(kEdgeScrollRepeatMs);
        EdgeScrollTick();
    });
    connect(&edgeRepeat_, &QTimer::timeout, this, &TimeAxisEditor::EdgeScrollTick);
}

Sequencer* TimeAxisEditor::CurrentSequencer()
{
    return Sequencer::Current();
}

std::uint32_t TimeAxisEditor::Bar()
{
    return SequencerSettings::GetPulsesPerBar();
}

std::uint32_t TimeAxisEditor::QuarterNote()
{
    return static_cast<std::uint32_t>(SequencerSettings::GetPulsesPerQuarterNote());
}

void TimeAxisEditor::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    archive.Serialize("DrawTimeDivisions", drawTimeDivisions_);
    SerializeColour(archive, "BarDivisionColour", barDivisionColour_);
    SerializeColour(archive, "BeatDivisionColour", beatDivisionColour_);
    SerializeColour(archive, "QuarterBeatDivisionColour", quarterBeatDivisionColour_);
    SerializeColour(archive, "BarTextColour", barTextColour_);
    SerializeColour(archive, "BeatTextColour", beatTextColour_);
    SerializeColour(archive, "QuarterBeatTextColour", quarterBeatTextColour_);
    SerializeColour(archive, "TitleTextColour", titleTextColour_);
    int quantize = quantize_;
    archive.Serialize("Quantize", quantize);
    SetQuantize(quantize);
    archive.Serialize("FollowCarat", follow_);
    archive.Serialize("Loop", loop_);
}

bool TimeAxisEditor::Create(int left, int top, int width, int height)
{
    if (!UIElement::Create(left, top, width, height))
        return false;
    SetVisibleTime(firstVisible_, span_);
    return true;
}

// Time axis ----------------------------------------------------------------------------------

std::uint32_t TimeAxisEditor::ScrollEnd() const
{
    return kLastBar * Bar() - 1;
}

void TimeAxisEditor::SetVisibleTime(std::uint32_t first, std::uint32_t span)
{
    const std::uint32_t begin = ScrollBegin();
    const std::uint32_t end = std::max(ScrollEnd(), begin + 1);
    span_ = std::clamp<std::uint32_t>(span, 1, end - begin);
    firstVisible_ = static_cast<std::uint32_t>(Clamp64(first, begin, std::int64_t(end) - span_));
    ComputeGridStep();
    VisibleRangeChanged();
}

void TimeAxisEditor::ComputeGridStep()
{
    const std::uint32_t bar = Bar();
    const std::uint32_t quarter = QuarterNote();
    const std::uint32_t beats = std::max<std::uint32_t>(2, bar / std::max<std::uint32_t>(1, quarter));
    const int width = std::max(1, GridRect().width());
    const std::uint32_t perTenPixels = std::max<std::uint64_t>(1, std::uint64_t(span_) * 10 / width);
    std::uint32_t step = bar;
    if (span_ > bar)
        while (step < perTenPixels && step <= UINT32_MAX / beats)
            step *= beats;
    if (span_ <= quarter)
        step = quarter;
    while (step > perTenPixels && step / beats >= perTenPixels && step / beats > 0)
        step /= beats;
    gridStep_ = std::max<std::uint32_t>(1, step);
}

void TimeAxisEditor::ZoomInTime()
{
    const std::uint32_t bar = Bar();
    const std::uint32_t quarter = QuarterNote();
    std::uint32_t span = span_;
    if (span > 32 * bar)
        span -= 16 * bar;
    else if (span > 2 * bar)
        span -= bar;
    else if (span > 2 * quarter)
        span -= quarter;
    else if (span < quarter / 16)
        span = span > 1 ? span - 1 : span;
    else
        span /= 2;
    SetVisibleTime(firstVisible_, span);
}

void TimeAxisEditor::ZoomOutTime()
{
    const std::uint64_t bar = Bar();
    const std::uint64_t quarter = QuarterNote();
    std::uint64_t span = span_;
    std::uint64_t first = firstVisible_;
    if (span >= 16 * bar) {
        span = (span / (16 * bar) + 1) * 16 * bar;
        first -= first % (16 * bar);
    }
    if (span >= bar) {
        span = (span / bar + 1) * bar;
        first -= first % bar;
    } else if (span >= quarter) {
        span = (span / quarter + 1) * quarter;
        first -= first % quarter;
    } else if (span < quarter / 32) {
        span += 1;
    } else {
        span *= 2;
    }
    SetVisibleTime(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(std::min<std::uint64_t>(span, UINT32_MAX)));
}

void TimeAxisEditor::SetQuantize(int setting)
{
    quantize_ = std::clamp(setting, 0, kMaxQuantize);
}

std::uint32_t TimeAxisEditor::Quantum() const
{
    return quantize_ == 0 ? 0 : gridStep_ / static_cast<std::uint32_t>(quantize_);
}

std::uint32_t TimeAxisEditor::QuantizeTime(std::uint32_t t) const
{
    const std::uint32_t q = Quantum();
    if (q == 0)
        return t;
    const std::uint32_t remainder = t % q;
    if (remainder == 0)
        return t;
    return remainder < q / 2 ? t - remainder : AddPulses(t - remainder, q);
}

// Coordinates ---------------------------------------------------------------------------------

QRect TimeAxisEditor::TitleRect() const
{
    return QRect(0, 0, width(), kTitleHeight);
}

QRect TimeAxisEditor::GridRect() const
{
    return QRect(QPoint(HeaderWidth(), kTitleHeight), QPoint(width() - 1, height() - 1));
}

QRect TimeAxisEditor::RulerRect() const
{
    const QRect grid = GridRect();
    return QRect(grid.left(), grid.top(), grid.width(), kRulerHeight);
}

QRect TimeAxisEditor::ContentRect() const
{
    QRect grid = GridRect();
    grid.setTop(grid.top() + kRulerHeight);
    return grid;
}

int TimeAxisEditor::TimeToX(std::uint32_t t) const
{
    const QRect grid = GridRect();
    const std::int64_t offset = std::int64_t(t) - firstVisible_;
    return grid.left() + static_cast<int>((grid.right() - grid.left()) * offset / std::int64_t(span_));
}

std::uint32_t TimeAxisEditor::XToTime(int x) const
{
    const QRect grid = GridRect();
    if (x < grid.left())
        return firstVisible_;
    if (x > grid.right())
        return AddPulses(firstVisible_, span_);
    const std::int64_t width = std::max(1, grid.width() - 1);
    return AddPulses(firstVisible_, std::uint64_t(x - grid.left()) * span_ / width);
}

// Position ------------------------------------------------------------------------------------

void TimeAxisEditor::MoveToPosition(std::uint32_t pulse)
{
    if (follow_ && (pulse < firstVisible_ || pulse >= std::uint64_t(firstVisible_) + span_)) {
        const std::uint32_t begin = ScrollBegin();
        const std::uint32_t page = pulse < begin ? begin : pulse - (pulse - begin) % span_;
        SetVisibleTime(page, span_);
    }
    hasPosition_ = true;
    position_ = pulse;
    update();
}

void TimeAxisEditor::SetPlayRange(SeqEvent* element, std::uint32_t start)
{
    if (Sequencer* sequencer = CurrentSequencer())
        sequencer->SetPlayRange(element, start);
}

// Drawing ---------------------------------------------------------------------------------------

bool TimeAxisEditor::IsDarkLook() const
{
    return barTextColour_.lightness() >= 128;
}

QColor TimeAxisEditor::RulerColour() const
{
    return IsDarkLook() ? QColor(34, 38, 45) : kRulerBackground;
}

QColor TimeAxisEditor::BeyondEndColour() const
{
    return IsDarkLook() ? QColor(22, 24, 29) : QColor(214, 214, 206);
}

QColor TimeAxisEditor::ContrastingText(const QColor& background)
{
    return background.lightness() < 128 ? QColor(232, 235, 240) : QColor(40, 40, 40);
}

void TimeAxisEditor::Draw(QPainter& painter)
{
    painter.fillRect(rect(), RulerColour());
    DrawContent(painter);
    DrawRuler(painter);
    DrawTitle(painter);
}

void TimeAxisEditor::DrawCentredText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour,
                                     int pixelSize) const
{
    QFont font("Tahoma");
    font.setPixelSize(std::max(7, pixelSize));
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void TimeAxisEditor::DrawTitle(QPainter& painter) const
{
    const QRect title = TitleRect();
    painter.fillRect(title, kTitleBackground);
    QFont font("Tahoma");
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(titleTextColour_);
    const QRect text = title.adjusted(6, 0, -6, 0);
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(QString::fromStdString(TitleText()), Qt::ElideRight, text.width()));
}

void TimeAxisEditor::DrawTimeDivisions(QPainter& painter, const QRect& area) const
{
    if (!drawTimeDivisions_)
        return;
    const std::uint32_t bar = Bar();
    const std::uint32_t quarter = QuarterNote();
    const struct {
        std::uint32_t unit;
        QColor colour;
    } levels[] = {{quarter / 4, quarterBeatDivisionColour_}, {quarter, beatDivisionColour_}, {bar, barDivisionColour_}};
    const QRect grid = GridRect();
    for (const auto& level : levels) {
        if (level.unit == 0 || std::int64_t(grid.width()) * level.unit / span_ < kMinDivisionSpacing)
            continue;
        painter.setPen(level.colour);
        for (std::uint64_t t = firstVisible_ - firstVisible_ % level.unit; t <= std::uint64_t(firstVisible_) + span_;
             t += level.unit) {
            const int x = TimeToX(static_cast<std::uint32_t>(t));
            if (x >= area.left() && x <= area.right())
                painter.drawLine(x, area.top(), x, area.bottom());
        }
    }
}

void TimeAxisEditor::DrawRuler(QPainter& painter) const
{
    const QRect ruler = RulerRect();
    painter.fillRect(QRect(0, ruler.top(), width(), ruler.height()), RulerColour());
    painter.setPen(barDivisionColour_);
    painter.drawLine(0, ruler.bottom(), width() - 1, ruler.bottom());
    const std::uint32_t bar = Bar();
    const std::uint32_t quarter = std::max<std::uint32_t>(1, QuarterNote());
    const std::int64_t barPixels = std::int64_t(ruler.width()) * bar / span_;
    const std::int64_t beatPixels = std::int64_t(ruler.width()) * quarter / span_;
    const std::int64_t quarterBeatPixels = beatPixels / 4;
    // Bar numbers, thinned out so that labels never crowd each other.
    std::uint32_t barStride = 1;
    while (barPixels * barStride < kMinLabelSpacing && barStride < 100000)
        barStride *= 2;
    QFont font("Tahoma");
    font.setPixelSize(10);
    painter.setFont(font);
    const std::uint32_t step = beatPixels >= kMinLabelSpacing ? quarter : bar;
    for (std::uint64_t t = firstVisible_ - firstVisible_ % step; t < std::uint64_t(firstVisible_) + span_; t += step) {
        const int x = TimeToX(static_cast<std::uint32_t>(t));
        if (x < ruler.left() || x > ruler.right() - 4)
            continue;
        const std::uint32_t barNumber = static_cast<std::uint32_t>(t / bar);
        const bool onBar = t % bar == 0;
        if (onBar && barNumber % barStride != 0)
            continue;
        const QString label = onBar ? QString::number(barNumber + 1)
                                    : QString("%1.%2").arg(barNumber + 1).arg((t % bar) / quarter + 1);
        painter.setPen(onBar ? barDivisionColour_ : beatDivisionColour_);
        painter.drawLine(x, onBar ? ruler.top() + 2 : ruler.bottom() - 5, x, ruler.bottom());
        painter.setPen(onBar ? barTextColour_ : beatTextColour_);
        painter.drawText(QRect(x + 3, ruler.top(), kMinLabelSpacing * 2, ruler.height() - 1),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
    }
    if (quarterBeatPixels >= kMinDivisionSpacing) {
        painter.setPen(quarterBeatTextColour_);
        const std::uint32_t unit = std::max<std::uint32_t>(1, quarter / 4);
        for (std::uint64_t t = firstVisible_ - firstVisible_ % unit; t < std::uint64_t(firstVisible_) + span_; t += unit)
            if (t % quarter != 0) {
                const int x = TimeToX(static_cast<std::uint32_t>(t));
                painter.drawLine(x, ruler.bottom() - 2, x, ruler.bottom());
            }
    }
    DrawPositionLine(painter, ruler);
}

void TimeAxisEditor::DrawPositionLine(QPainter& painter, const QRect& area) const
{
    if (!hasPosition_ || position_ < firstVisible_ || position_ > std::uint64_t(firstVisible_) + span_)
        return;
    const int x = TimeToX(position_);
    painter.fillRect(QRect(x - 1, area.top(), 2, area.height()), kPositionColour);
}

// Scrolling at the edges ------------------------------------------------------------------------

void TimeAxisEditor::UpdateEdgeScroll(const QPoint& point)
{
    if (ContentRect().contains(point) ||
        !rect().adjusted(-kEdgeScrollReach, -kEdgeScrollReach, kEdgeScrollReach, kEdgeScrollReach).contains(point)) {
        StopEdgeScroll();
        return;
    }
    edgePoint_ = point;
    if (!edgeDelay_.isActive() && !edgeRepeat_.isActive())
        edgeDelay_.start(kEdgeScrollDelayMs);
}

void TimeAxisEditor::StopEdgeScroll()
{
    edgeDelay_.stop();
    edgeRepeat_.stop();
}

void TimeAxisEditor::EdgeScrollTick()
{
    const QRect content = ContentRect();
    if (edgePoint_.y() < content.top())
        ScrollVertically(1);
    else if (edgePoint_.y() > content.bottom())
        ScrollVertically(-1);
    if (edgePoint_.x() < content.left())
        SetVisibleTime(SubtractPulses(firstVisible_, gridStep_), span_);
    else if (edgePoint_.x() > content.right())
        SetVisibleTime(AddPulses(firstVisible_, gridStep_), span_);
    EdgeScrolled(edgePoint_);
}

void TimeAxisEditor::ScrollVertically(int) {}

void TimeAxisEditor::EdgeScrolled(const QPoint&) {}

void TimeAxisEditor::VisibleRangeChanged()
{
    update();
}

// Pen ---------------------------------------------------------------------------------------------

bool TimeAxisEditor::MovedBeyondThreshold(const QPoint& point) const
{
    const QPoint moved = point - pressPoint_;
    return std::abs(moved.x()) > kMoveThreshold || std::abs(moved.y()) > kMoveThreshold;
}

bool TimeAxisEditor::TrackGesture(const QPoint& point, bool hasSelection)
{
    switch (mode_) {
    case EditMode::None:
        if (hasSelection && MovedBeyondThreshold(point)) {
            mode_ = EditMode::Moving;
            dragPoint_ = point;
            update();
        }
        return true;
    case EditMode::Moving:
    case EditMode::Placing:
        dragPoint_ = point;
        update();
        return true;
    case EditMode::Resizing:
        if (ContentRect().contains(point)) {
            StopEdgeScroll();
            ResizeSelected(point);
        } else {
            UpdateEdgeScroll(point);
        }
        return true;
    default:
        return false;
    }
}

QPoint TimeAxisEditor::FromPackedScreenPoint(LParam packed) const
{
    const QPoint screen(static_cast<int>(packed / 65536), static_cast<int>(packed % 65536));
    return mapFromGlobal(screen);
}

QPoint TimeAxisEditor::TakeOverDrag(LParam screenPoint)
{
    const QPoint point = FromPackedScreenPoint(screenPoint);
    TakePenCapture(point);
    if (isVisible())
        grabMouse();
    return point;
}

QWidget* TimeAxisEditor::WidgetUnder(const QPoint& point) const
{
    const QPoint global = mapToGlobal(point);
    QWidget* found = nullptr;
    if (SkinView* view = OwningView())
        found = view->childAt(view->mapFromGlobal(global));
    if (!found)
        found = QApplication::widgetAt(global);
    return found == this || isAncestorOf(found) ? nullptr : found;
}

bool TimeAxisEditor::PostDrop(const QPoint& point, SeqEvent* event)
{
    QWidget* target = WidgetUnder(point);
    if (!target)
        return false;
    PostWindowMessage(target, Message(UIWindowMessages::kEventDrop), reinterpret_cast<WParam>(this),
                      reinterpret_cast<LParam>(event));
    return true;
}

void TimeAxisEditor::PenDown(const QPoint& point)
{
    setFocus(Qt::MouseFocusReason);
    UIElement::PenDown(point);
}

void TimeAxisEditor::PenUp(const QPoint& point)
{
    StopEdgeScroll();
    mode_ = EditMode::None;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    UIElement::PenUp(point);
}

void TimeAxisEditor::PenDoubleTap(const QPoint& point)
{
    if (!RulerRect().contains(point)) {
        PenDown(point);
        return;
    }
    const std::uint32_t pulse = QuantizeTime(XToTime(point.x()));
    if (Sequencer* sequencer = CurrentSequencer())
        sequencer->SetPosition(pulse);
    MoveToPosition(pulse);
}

// Menus and commands ---------------------------------------------------------------------------

void TimeAxisEditor::AddCheckedEntry(QMenu& menu, const char* text, bool checked) const
{
    QAction* action = menu.addAction(QString::fromUtf8(text));
    action->setCheckable(true);
    action->setChecked(checked);
}

void TimeAxisEditor::AddQuantizeMenu(QMenu& menu) const
{
    QMenu* quantize = menu.addMenu("Quantize");
    for (int setting = 0; setting <= kMaxQuantize; ++setting)
        AddCheckedEntry(*quantize, kQuantizeEntries[setting], setting == quantize_);
}

bool TimeAxisEditor::ExecMenu(QMenu& menu, const QPoint& point)
{
    // An entry whose text alone is ambiguous ("x 2" under both Alias and Replicate) carries its
    // full command as data.
    if (QAction* chosen = menu.exec(mapToGlobal(point)))
        RunCommand((chosen->data().isValid() ? chosen->data().toString() : chosen->text()).toStdString());
    return true;
}

bool TimeAxisEditor::RunCommand(const std::string& text)
{
    for (int setting = 0; setting <= kMaxQuantize; ++setting)
        if (text == kQuantizeEntries[setting]) {
            SetQuantize(setting);
            return true;
        }
    if (text == "Follow") {
        follow_ = !follow_;
        return true;
    }
    return false;
}

// Messages and keys ----------------------------------------------------------------------------

bool TimeAxisEditor::OnWindowMessage(WindowMessage message, WParam, LParam lParam)
{
    if (message == Message(UIWindowMessages::kUpdateSeqTime)) {
        MoveToPosition(static_cast<std::uint32_t>(lParam));
        return true;
    }
    if (message == Message("WM_ZOOM_IN_TIME")) {
        ZoomInTime();
        return true;
    }
    if (message == Message("WM_ZOOM_OUT_TIME")) {
        ZoomOutTime();
        return true;
    }
    return false;
}

void TimeAxisEditor::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const std::uint64_t repeat = std::max(1, event->count());
    const std::uint64_t halfSpans = std::uint64_t(span_) * repeat / 2;
    switch (event->key()) {
    case Qt::Key_Left:
        if (control)
            ZoomOutTime();
        else
            SetVisibleTime(static_cast<std::uint32_t>(Clamp64(std::int64_t(firstVisible_) - halfSpans, 0, UINT32_MAX)),
                           span_);
        break;
    case Qt::Key_Right:
        if (control)
            ZoomInTime();
        else
            SetVisibleTime(AddPulses(firstVisible_, halfSpans), span_);
        break;
    case Qt::Key_Home:
        SetVisibleTime(0, span_);
        break;
    case Qt::Key_End:
        SetVisibleTime(SubtractPulses(kLastBar * Bar(), span_), span_);
        break;
    default:
        UIElement::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TimeAxisEditor::resizeEvent(QResizeEvent* event)
{
    UIElement::resizeEvent(event);
    ComputeGridStep();
    VisibleRangeChanged();
}

} // namespace jorvo
