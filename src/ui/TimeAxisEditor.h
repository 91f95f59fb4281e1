#pragma once
// What every editor with time running from left to right shares (notes of a pattern, patterns of
// a section, sections of the song, controller events): the mapping between song time and x, the
// grid step, quantizing, horizontal scrolling within the edited container, time zoom, following
// the song position with the position line, the time ruler with bars and beats, the title strip,
// the edge-scroll timers and the bookkeeping of a pen gesture. Subclasses draw and edit the
// content between the header column and the right edge. UI thread only.
//
// Layout, top to bottom: the title strip (kTitleHeight), then the grid. The grid starts right of
// the header column (HeaderWidth) and its first kRulerHeight pixels are the time ruler.
#include <cstdint>
#include <string>

#include <QColor>
#include <QTimer>

#include "document/XMLArchive.h"
#include "ui/UIElement.h"

class QMenu;

namespace jorvo {

class SeqEvent;
class Sequencer;

class TimeAxisEditor : public UIElement {
    Q_OBJECT
public:
    static constexpr int kTitleHeight = 18;
    static constexpr int kRulerHeight = 16;
    // How far the pen must travel (in x or y) before a press on an item becomes a move.
    static constexpr int kMoveThreshold = 3;
    // Outside the grid but within this many pixels of the element, a held pen scrolls.
    static constexpr int kEdgeScrollReach = 10;
    static constexpr int kEdgeScrollDelayMs = 1000;
    static constexpr int kEdgeScrollRepeatMs = 200;
    // Highest quantize setting: a quarter of the grid step.
    static constexpr int kMaxQuantize = 4;
    // How far End scrolls: this many bars, less the span.
    static constexpr std::uint32_t kLastBar = 999;

    // The pen gesture under way.
    enum class EditMode { None = 0, Resizing = 1, Moving = 2, Placing = 3, Auditioning = 4 };

    // An editor showing `initialBars` bars at first.
    TimeAxisEditor(QWidget* parent, std::uint32_t initialBars);

    // After the common attributes: "DrawTimeDivisions", the bar, beat and quarter-beat division
    // and text colours, "TitleTextColour", "Quantize", "FollowCarat" and "Loop".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;

    // Time axis -------------------------------------------------------------------------------
    std::uint32_t FirstVisibleTime() const { return firstVisible_; }
    std::uint32_t VisibleSpan() const { return span_; }
    std::uint32_t GridStep() const { return gridStep_; }
    // Sets the left edge and the span, kept within the scroll range (see ScrollBegin/ScrollEnd):
    // the span at most the range's length (at least 1), the left edge not before the range's
    // begin nor so late that the span passes its end. Recomputes the grid step, then
    // VisibleRangeChanged.
    void SetVisibleTime(std::uint32_t first, std::uint32_t span);
    // The time zoom: in shortens the span, out lengthens it in the two steps (sixteen bars, then
    // bars or quarter notes).
    void ZoomInTime();
    void ZoomOutTime();

    // 0 off, 1 the grid step, 2 half of it, 3 a third, 4 a quarter.
    int QuantizeSetting() const { return quantize_; }
    void SetQuantize(int setting);
    // `t` rounded to the nearest multiple of the quantum (grid step ÷ setting); unchanged with
    // quantize off or a quantum of 0.
    std::uint32_t QuantizeTime(std::uint32_t t) const;
    // The quantum: grid step ÷ setting, 0 with quantize off.
    std::uint32_t Quantum() const;

    bool Follows() const { return follow_; }
    void SetFollow(bool follow) { follow_ = follow; }
    bool Loops() const { return loop_; }

    // Coordinates ---------------------------------------------------------------------------
    // Everything below the title strip and right of the header column (ruler included).
    QRect GridRect() const;
    // The time ruler: the top kRulerHeight pixels of the grid.
    QRect RulerRect() const;
    // The part of the grid below the ruler, where the content lies.
    QRect ContentRect() const;
    QRect TitleRect() const;
    // Song time to x, and back (x left of the grid gives the left edge, right of it the end of
    // the span).
    int TimeToX(std::uint32_t t) const;
    std::uint32_t XToTime(int x) const;
    // The song position shown by the position line, or nothing before the first update.
    bool HasPosition() const { return hasPosition_; }
    std::uint32_t Position() const { return position_; }

    // Runs the context-menu command `text` ("Off", "1" … "1/4", "Follow", …). True when known.
    virtual bool RunCommand(const std::string& text);
    // The gesture under way.
    EditMode Mode() const { return mode_; }

protected:
    // Width of the column left of the grid (note names, lane names); 0 by default.
    virtual int HeaderWidth() const { return 0; }
    // The time range that can be scrolled to: the edited container's start and end.
    virtual std::uint32_t ScrollBegin() const { return 0; }
    virtual std::uint32_t ScrollEnd() const;
    // The visible range or the size changed: rebuild what is visible (the base repaints).
    virtual void VisibleRangeChanged();
    // Text of the title strip (the container's name).
    virtual std::string TitleText() const { return GetName(); }
    // Draws the content into ContentRect (the base has drawn the background and the ruler).
    virtual void DrawContent(QPainter& painter) = 0;
    // One edge-scroll tick with the pen above (dy = 1) or below (dy = -1) the grid; the base
    // scrolls nothing vertically. Horizontal ticks move one grid step (see EdgeScrollTick).
    virtual void ScrollVertically(int dy);
    // The held pen lies at `point` during an edge scroll (the content under it may follow).
    virtual void EdgeScrolled(const QPoint& point);

    // Vertical time divisions (bar, beat, quarter beat) over `area`, each where its spacing is
    // at least 4 pixels.
    void DrawTimeDivisions(QPainter& painter, const QRect& area) const;
    // The position line over `area` when it lies in the visible span.
    void DrawPositionLine(QPainter& painter, const QRect& area) const;
    // Draws `text` centred in `area`, in the editor's font at `pixelSize`.
    void DrawCentredText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour,
                         int pixelSize) const;

    // Starts (or keeps) edge scrolling when `point` lies outside the grid but within
    // kEdgeScrollReach of the element; stops it when the pen is back in the grid.
    void UpdateEdgeScroll(const QPoint& point);
    void StopEdgeScroll();

    // Pen gestures.
    void SetMode(EditMode mode) { mode_ = mode; }
    // Remembers where a press on an item happened; MovedBeyondThreshold tells when a move begins.
    void SetPressPoint(const QPoint& point) { pressPoint_ = point; }
    bool MovedBeyondThreshold(const QPoint& point) const;
    // The pen's move during a gesture on the selected item: past the threshold a press starts a
    // move, a move or a drop follows the pen (DragPoint), a resize follows it inside the grid and
    // scrolls at the edges. False for a mode this does not track.
    bool TrackGesture(const QPoint& point, bool hasSelection);
    // Resizes the selected item to the pen; editors without resizable items do nothing.
    virtual void ResizeSelected(const QPoint&) {}
    const QPoint& DragPoint() const { return dragPoint_; }
    void SetDragPoint(const QPoint& point) { dragPoint_ = point; }
    // Makes this editor hold the pen for a drag another element started at screen point `lParam`
    // (x × 65536 + y); the local point.
    QPoint TakeOverDrag(LParam screenPoint);
    // The point in this element of a screen point packed as x × 65536 + y.
    QPoint FromPackedScreenPoint(LParam packed) const;
    // The widget of the owning view (or the application) under `point`, other than this editor;
    // null when none.
    QWidget* WidgetUnder(const QPoint& point) const;
    // Posts WM_EVENT_DROP (this editor, `event`) to the widget under `point`; false when none.
    bool PostDrop(const QPoint& point, SeqEvent* event);

    // Adds the Quantize submenu and the checked "Follow" entry to `menu`.
    void AddQuantizeMenu(QMenu& menu) const;
    void AddCheckedEntry(QMenu& menu, const char* text, bool checked) const;
    // Shows `menu` at `point` and runs the command chosen: the entry's data when it has some,
    // else its text. True (a menu was shown).
    bool ExecMenu(QMenu& menu, const QPoint& point);

    // The sequencer's play range becomes `element` from `start` (null: the song).
    void SetPlayRange(SeqEvent* element, std::uint32_t start);
    void SetLoop(bool loop) { loop_ = loop; }

    // The published sequencer, or null.
    static Sequencer* CurrentSequencer();
    // Pulses in one bar and one quarter note (class-wide timing values).
    static std::uint32_t Bar();
    static std::uint32_t QuarterNote();

    void PenDown(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    // A double tap on the ruler moves the song position to the quantized time under the pen.
    void PenDoubleTap(const QPoint& point) override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    // Left and Right scroll by half the span (Ctrl: zoom), Home and End go to the ends.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    // Skin colours every time-axis editor has.
    bool drawTimeDivisions_ = true;
    QColor barDivisionColour_{140, 140, 140};
    QColor beatDivisionColour_{190, 190, 190};
    QColor quarterBeatDivisionColour_{220, 220, 220};
    QColor barTextColour_{40, 40, 40};
    QColor beatTextColour_{140, 140, 140};
    QColor quarterBeatTextColour_{200, 200, 200};
    QColor titleTextColour_{138, 155, 19};
    // The skin's text colours choose the look: light bar numbers ask for a dark ruler and lanes.
    bool IsDarkLook() const;
    // The ruler (and the area around the grid), and the grid beyond the container's end.
    QColor RulerColour() const;
    QColor BeyondEndColour() const;
    // Text that reads on `background`: light on dark, dark on light.
    static QColor ContrastingText(const QColor& background);
    // Drawing constants of the product's look (kRulerBackground: the ruler of the light look).
    static const QColor kTitleBackground;
    static const QColor kRulerBackground;
    static const QColor kPositionColour;

private:
    void ComputeGridStep();
    void MoveToPosition(std::uint32_t pulse);
    void DrawTitle(QPainter& painter) const;
    void DrawRuler(QPainter& painter) const;
    void EdgeScrollTick();

    std::uint32_t firstVisible_ = 0;
    std::uint32_t span_ = 1;
    std::uint32_t gridStep_ = 1;
    int quantize_ = 1;
    bool follow_ = false;
    bool loop_ = true;
    bool hasPosition_ = false;
    std::uint32_t position_ = 0;
    EditMode mode_ = EditMode::None;
    QPoint pressPoint_;
    QPoint dragPoint_; // the pen during a move or a drop
    QPoint edgePoint_;
    QTimer edgeDelay_;  // the wait before edge scrolling starts
    QTimer edgeRepeat_; // one scroll step per tick after it
};

// A stored colour as Qt draws it, and back.
QColor ToQColor(Colour colour);
Colour FromQColor(const QColor& colour);
// Writes or reads the colour attribute `name`.
void SerializeColour(CXMLArchive& archive, const char* name, QColor& colour);

} // namespace jorvo
