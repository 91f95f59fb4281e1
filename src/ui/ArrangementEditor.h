#pragma once
// What the section editor (patterns in lanes, one lane per target) and the song editor (sections
// in one lane) share: blocks drawn from a placement's start for its content's length, hit-testing
// with a resize handle at the right end, selecting, moving (between lanes too), resizing, placing
// a pattern or section dragged in from a factory, dropping a block on a factory to delete it,
// Alias and Replicate "x 1" … "x 8" and "Fill", "Make Unique", renaming in place and by dialog,
// and "Colour...". `Placement` is PatternPlacement or SectionPlacement; the subclass supplies the
// container's operations. UI thread only.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "sequencer/SeqEventContainer.h"
#include "ui/TimeAxisEditor.h"

namespace jorvo {

class InPlaceNameEditor;

template <class Placement>
class ArrangementEditor : public TimeAxisEditor {
public:
    using PlacementList = std::list<std::unique_ptr<Placement>>;

    // How many copies the largest Alias and Replicate entry makes.
    static constexpr int kMaxRepeats = 8;
    // The block's title line; in a lane taller than kHandleBelowTitleHeight an editor may keep
    // the resize handle below it (HandleBelowTitle).
    static constexpr int kTitleLineHeight = 11;
    static constexpr int kHandleBelowTitleHeight = 20;

    ArrangementEditor(QWidget* parent, std::uint32_t initialBars);
    ~ArrangementEditor() override;

    // After the time-axis attributes: the lane division and block text colours (named by the
    // subclass) and the lane-division switch.
    void SerializeXML(CXMLArchive& archive) override;

    // The placement under edit, or null; selecting drives the sequencer's play range.
    Placement* Selected() const;
    void Select(Placement* placement);
    // The placements inside the visible time and lane range, in list order.
    const std::vector<Placement*>& VisiblePlacements() const { return visible_; }
    // The block of `placement`: from its start to its end, at least 1 pixel wide, one lane high.
    QRect BlockRect(const Placement& placement) const;
    QRect LaneRect(int lane) const;
    // The lane at y (clamped to the lanes there are).
    int YToLane(int y) const;
    int FirstVisibleLane() const { return firstLane_; }
    int VisibleLanes() const { return visibleLanes_; }
    void SetLaneRange(int firstLane, int visibleLanes);

    // Alias (same content again) or Replicate (independent copies) of the selected placement,
    // `count` times, or until stopped with count 0 ("Fill"). The menu entries run as the commands
    // "Alias x 1" … "Alias Fill", "Replicate x 1" … "Replicate Fill".
    void Repeat(bool alias, int count);
    // Puts an independent copy of the selected placement's content in its place.
    void MakeUnique();
    // Opens the in-place name editor over the selected block's title; Return commits.
    void BeginRenameInPlace();
    // The in-place name editor while it is open, else null.
    InPlaceNameEditor* NameEditor() const;

    bool RunCommand(const std::string& text) override;

protected:
    // The container's operations ------------------------------------------------------------------
    // The section (or song) edited, null without one.
    virtual SeqEventContainer* Container() const = 0;
    virtual std::uint32_t ContainerStart() const = 0;
    virtual const PlacementList* Placements() const = 0;
    virtual SeqEventContainer* ContentOf(const Placement& placement) const = 0;
    virtual int LaneCount() const { return 1; }
    virtual int LaneOf(const Placement&) const { return 0; }
    // Moves `placement` to `offset` with a content `length`, on `lane`. False when refused.
    virtual bool MovePlacement(Placement& placement, std::uint32_t offset, std::uint32_t length, int lane) = 0;
    // Places `content` at `offset` on `lane`; null when refused.
    virtual Placement* AddPlacement(SeqEventContainer& content, std::uint32_t offset, int lane) = 0;
    virtual bool RemovePlacement(Placement& placement) = 0;
    // The next placement on the same lane after `placement`'s end, or null.
    virtual Placement* FindNextOnLane(const Placement& placement) const = 0;
    // An independent copy of `content` entered in the sequencer's list; null when it cannot be made.
    virtual SeqEventContainer* Replicate(SeqEventContainer& content) const = 0;
    virtual bool IsAliased(const SeqEventContainer& content) const = 0;
    // True for the kind of event this editor places (a pattern, a section).
    virtual bool Accepts(const SeqEvent& event) const = 0;
    // The listed content for a dropped event: the template itself (kind 1), a copy of it (kind 2)
    // or a new one (kind 0); null when the event is of the wrong kind.
    virtual SeqEventContainer* Adopt(SeqEvent& dropped, WParam kind) const = 0;
    // The sequencer's play range after the selection changed.
    virtual void UpdatePlayRange() = 0;
    // The colours of a block, its content's own colour and the name text.
    virtual QColor BlockColour(const Placement& placement) const = 0;
    virtual QColor ContentColour(const SeqEventContainer& content) const = 0;
    virtual void SetContentColour(SeqEventContainer& content, Colour colour) const = 0;
    // Draws what the block holds (notes of a pattern) inside `body`; nothing by default.
    virtual void DrawBlockBody(QPainter&, const Placement&, const QRect&) const {}
    // Called before the visible placements are rebuilt (lanes may have changed).
    virtual void PrepareRefresh() {}
    // The lane behind the blocks.
    virtual QColor LaneColour(int lane) const;
    // The context menu of a block, or of an empty place.
    virtual void FillBlockMenu(QMenu& menu, const Placement& placement) = 0;
    virtual void FillEmptyMenu(QMenu& menu) = 0;
    // The text shown without a container ("No Section"); empty draws nothing.
    virtual QString EmptyText() const { return {}; }
    // The name question when renaming into a taken name (the wanted and the proposed name).
    virtual std::string NameInUseQuestion(const std::string& wanted, const std::string& proposed) const = 0;
    virtual std::string UniqueName(const std::string& base) const = 0;

    // TimeAxisEditor.
    std::uint32_t ScrollBegin() const override;
    std::uint32_t ScrollEnd() const override;
    void VisibleRangeChanged() override;
    void DrawContent(QPainter& painter) override;
    void ScrollVertically(int dy) override;
    void EdgeScrolled(const QPoint& point) override;
    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void PenDoubleTap(const QPoint& point) override;
    bool ContextMenu(const QPoint& point) override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

    // The resize handle's width for a block `width` pixels wide, and whether the handle leaves
    // the title line free.
    virtual int HandleWidth(int width) const = 0;
    virtual bool HandleBelowTitle() const { return false; }

    // Rebuilds the visible placements and repaints.
    void Refresh();
    // Rebuilds the visible placements only.
    void CollectVisible();
    // Forgets the selection, a drop under way and the name editor (a new container is bound).
    void ForgetEditing();
    // The content's length, at least 1.
    std::uint32_t LengthOf(const Placement& placement) const;
    // Sends the sequencer a play range through the base.
    using TimeAxisEditor::SetPlayRange;

    bool drawLaneDivisions_ = true;
    QColor laneDivisionColour_{200, 200, 200};
    QColor blockTextColour_{40, 40, 40};
    // Attribute names of the two colours and the switch, which differ between the editors.
    const char* laneDivisionAttribute_ = "";
    const char* blockTextAttribute_ = "";
    const char* drawLaneDivisionsAttribute_ = "";

private:
    bool IsListed(const Placement* placement) const;
    Placement* BlockAt(const QPoint& point) const;
    bool InResizeHandle(const Placement& placement, const QPoint& point) const;
    std::uint32_t DropOffset(const QPoint& point) const;
    QRect DragOutline() const;
    void ResizeSelected(const QPoint& point) override;
    void MoveSelected(const QPoint& point);
    void BeginDrop(WParam kind, LParam screenPoint);
    void FinishDrop(const QPoint& point);
    void CutSelected();
    void Paste(LParam screenPoint);
    void BeginRename(Placement& placement, const std::string& text);
    void CommitRename(const std::string& wanted);
    void EndRename();
    void ChooseColour();
    void DrawBlock(QPainter& painter, const Placement& placement, const QRect& area) const;
    bool RunRepeatCommand(const std::string& text);
    void AddRepeatMenu(QMenu& menu, const char* title) const;

    Placement* selected_ = nullptr;
    std::vector<Placement*> visible_;
    int firstLane_ = 0;
    int visibleLanes_ = 1;
    std::unique_ptr<SeqEvent> dropped_;
    WParam dropKind_ = 0;
    QPoint dragOffset_;
    int resizeOffset_ = 0;
    InPlaceNameEditor* nameEditor_ = nullptr;
};

} // namespace jorvo
