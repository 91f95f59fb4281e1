#pragma once
// `ParameterEditor`: the controller events of one parameter of the active pattern's target over
// time, time from left to right, the value from bottom to top. The curve is drawn as the steps
// the target hears (each value holds until the next event). Drawing with the pen writes one
// event per change of value along the stroke, replacing the parameter's events under it. The
// parameter comes from a double tap on a bound control or from "Parameter..". UI thread only.
#include <cstdint>
#include <vector>

#include "ui/TimeAxisEditor.h"

namespace jorvo {

class SeqEventCC;
class SeqEventPattern;
class SeqEventTarget;
class SeqParameter;

class ParameterEditor : public TimeAxisEditor {
    Q_OBJECT
public:
    static constexpr std::uint32_t kInitialBars = 2;
    // The value axis without a parameter: 0 … 127.
    static constexpr std::int32_t kDefaultValueRange = 127;
    // The colour of the line under the pen while drawing.
    static const QColor kStrokeColour;

    explicit ParameterEditor(QWidget* parent);

    std::string GetClassName() const override { return "ParameterEditor"; }
    // After the time-axis attributes: "DrawValueDivisions", "ValueDivisionColour" and
    // "ValueTextColour".
    void SerializeXML(CXMLArchive& archive) override;

    // Binds the sequencer's active pattern (and its target) and rebuilds. A parameter the new
    // target does not have is no longer edited.
    void BindActivePattern();
    SeqEventPattern* Pattern() const;
    SeqEventTarget* PatternTarget() const;
    // The pattern's start in song time.
    std::uint32_t PatternStart() const;

    // Edits `parameter`: nothing when it is the edited one already or the pattern's target does
    // not have it (false then). The value axis becomes the parameter's range.
    bool EditParameter(SeqParameter* parameter);
    SeqParameter* EditedParameter() const { return parameter_; }

    std::int32_t FirstVisibleValue() const { return firstValue_; }
    std::int32_t VisibleValueRange() const { return valueRange_; }
    // Sets the value window, kept within the parameter's range.
    void SetVisibleValues(std::int32_t first, std::int32_t range);
    void ZoomInValue();
    void ZoomOutValue();
    // The pen's y as a value, and a value's y.
    std::int32_t YToValue(int y) const;
    int ValueToY(std::int32_t value) const;

    // The parameter's events inside the visible time, in time order.
    const std::vector<SeqEventCC*>& VisibleEvents() const { return visible_; }
    // Removes every visible event of the edited parameter from the pattern.
    void ClearEvents();
    // Writes the stretch between two points of the grid (in either order) into the pattern: one
    // event per change of value, the parameter's events inside the stretch replaced.
    void WriteStretch(QPoint from, QPoint to);
    // Adds the clipboard's events to the pattern, the earliest at the time under `point` and the
    // others at their distance from it. False when there is nothing to paste.
    bool Paste(const QPoint& point);

    bool RunCommand(const std::string& text) override;

protected:
    int HeaderWidth() const override;
    std::uint32_t ScrollBegin() const override;
    std::uint32_t ScrollEnd() const override;
    void VisibleRangeChanged() override;
    std::string TitleText() const override;
    void DrawContent(QPainter& painter) override;
    void ScrollVertically(int dy) override;

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void CaptureLost() override;
    bool ContextMenu(const QPoint& point) override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Write {
        std::uint32_t time;
        std::int32_t value;
    };
    // The times and values a stretch from (x1, y1) to (x2, y2) writes, x1 ≤ x2, relative to the
    // pattern start; `t1` and `t2` receive the stretch's ends.
    std::vector<Write> StretchWrites(QPoint left, QPoint right, std::uint32_t& t1, std::uint32_t& t2) const;
    void ApplyWrites(const std::vector<Write>& writes, std::uint32_t t1, std::uint32_t t2);
    void RebuildVisibleEvents();
    bool TargetHas(const SeqParameter* parameter) const;
    void EndStroke();
    // "Parameter..": the parameter-selection dialog for the pattern's target.
    void ChooseParameter();
    void ValueLimits(std::int32_t& minimum, std::int32_t& maximum) const;
    // The value column becomes wide enough for the parameter's extreme values.
    void FitHeaderToValues();
    // The value in force at the left edge: the last event of the parameter before it.
    bool ValueBeforeVisible(std::int32_t& value) const;
    void DrawValueDivisions(QPainter& painter, const QRect& content) const;
    void DrawCurve(QPainter& painter, const QRect& content) const;

    SeqParameter* parameter_ = nullptr;
    // The pattern last bound (compared, never followed) and where it started.
    const SeqEventPattern* boundPattern_ = nullptr;
    std::uint32_t boundStart_ = 0;
    std::int32_t firstValue_ = 0;
    std::int32_t valueRange_ = kDefaultValueRange;
    int headerWidth_ = 0;
    std::vector<SeqEventCC*> visible_;
    bool drawValueDivisions_ = true;
    QColor valueDivisionColour_{200, 200, 200};
    QColor valueTextColour_{40, 40, 40};
    // The stroke being drawn: its points, and the last write it made (continuing stretches do
    // not repeat a value the stroke has just written).
    bool drawing_ = false;
    std::vector<QPoint> stroke_;
    bool strokeWrote_ = false;
    std::uint32_t strokeLastTime_ = 0;
    std::int32_t strokeLastValue_ = 0;
};

} // namespace jorvo
