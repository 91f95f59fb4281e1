#pragma once
// The note grid: the notes of the sequencer's active pattern, time from left to right, one row per
// note number from bottom to top, with the note names in a column on the left. The pen selects,
// moves and resizes notes, auditions them on the pattern's target, drops notes dragged from the
// note factory and drags notes onto a factory to delete them. Tap-and-hold on a note opens the
// velocity popup ("NotePopup"). UI thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/TimeAxisEditor.h"

namespace jorvo {

class SeqEvent;
class SeqEventNote;
class SeqEventPattern;
class SeqEventTarget;
struct PatternPlacement;
class UIMsgElement;

class PatternEditor : public TimeAxisEditor {
    Q_OBJECT
public:
    static constexpr int kNoSound = 128;
    static constexpr int kNameColumnWidth = 40;
    static constexpr std::uint8_t kInitialLowestNote = 54;
    static constexpr int kInitialRows = 12;
    // Velocity of an audition without a selected note.
    static constexpr int kAuditionVelocity = 100;

    explicit PatternEditor(QWidget* parent);
    ~PatternEditor() override;

    std::string GetClassName() const override { return "PatternEditor"; }
    // After the time-axis attributes: "DrawNoteDivisions", the note row, title and text colours,
    // "PlaySounds", and the child "NotePopup" (the velocity popup's own description).
    void SerializeXML(CXMLArchive& archive) override;

    // Binds to the sequencer's active pattern (none without one) and rebuilds the visible notes.
    void Rebind();
    // The edited pattern, its target and its song start; null / 0 without one.
    SeqEventPattern* Pattern() const;
    SeqEventTarget* PatternTarget() const;
    std::uint32_t PatternStart() const;

    // Pitch range: rows at most 127, the lowest note at most 128 − rows.
    int LowestNote() const { return lowestNote_; }
    int VisibleRows() const { return rows_; }
    void SetPitchRange(int lowestNote, int rows);
    int RowHeight() const;
    // The note of the row at y (above the rows: the top row; below: the lowest).
    int YToNote(int y) const;
    // The rectangle of the row of `note` in the grid.
    QRect RowRect(int note) const;
    // The note's rectangle: from its start to after its end, at least 1 pixel wide, one row high.
    QRect NoteRect(const SeqEventNote& note) const;

    // The note under edit (null when none), the one being auditioned (kNoSound when none).
    SeqEventNote* SelectedNote() const;
    int SoundingNote() const { return soundingNote_; }
    bool PlaysSounds() const { return playSounds_; }
    const std::vector<SeqEvent*>& VisibleNotes() const { return visibleNotes_; }
    // The velocity popup, or null when the skin's fader class is not available.
    UIMsgElement* NotePopup() const { return popup_; }

    bool RunCommand(const std::string& text) override;

    // "C4", "C#4" … for note numbers 0 … 127; empty above.
    static std::string NoteName(int note);
    static bool IsSharp(int note);

protected:
    int HeaderWidth() const override { return kNameColumnWidth; }
    std::uint32_t ScrollBegin() const override;
    std::uint32_t ScrollEnd() const override;
    void VisibleRangeChanged() override;
    std::string TitleText() const override;
    void DrawContent(QPainter& painter) override;
    void ScrollVertically(int dy) override;
    void EdgeScrolled(const QPoint& point) override;

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    bool ContextMenu(const QPoint& point) override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const PatternPlacement* ActivePlacement() const;
    void CollectVisibleNotes();
    void ShowPitchesInUse();
    SeqEventNote* NoteAt(const QPoint& point) const;
    bool InResizeHandle(const SeqEventNote& note, const QPoint& point) const;
    void Select(SeqEventNote* note);
    void Audition(int note);
    // Where a dragged note would land: its start relative to the pattern and its pitch.
    std::uint32_t DropStart(const QPoint& point) const;
    QRect DragOutline() const;
    void ResizeSelected(const QPoint& point) override;
    bool PlaceSelected(const QPoint& point);
    void BeginDroppedNote(LParam screenPoint);
    void FinishDroppedNote(const QPoint& point);
    void CutSelected();
    void Paste(LParam screenPoint);
    void SetVelocity(int velocity);
    void ShowPopup(const QPoint& point);
    void HidePopup();
    void CreatePopup();
    void DrawRows(QPainter& painter) const;
    void DrawNoteNames(QPainter& painter) const;
    void DrawNote(QPainter& painter, const SeqEventNote& note, const QRect& area) const;

    int lowestNote_ = kInitialLowestNote;
    int rows_ = kInitialRows;
    bool playSounds_ = true;
    int soundingNote_ = kNoSound;
    SeqEventNote* selected_ = nullptr;
    std::unique_ptr<SeqEventNote> dropped_; // a note dragged in from a factory, not yet placed
    std::vector<SeqEvent*> visibleNotes_;
    QPoint dragOffset_;  // from the note's top-left corner to the pen
    int resizeOffset_ = 0; // from the pen to the note's right edge
    UIMsgElement* popup_ = nullptr;

    bool drawNoteDivisions_ = true;
    QColor noteDivisionColour_{200, 200, 200};
    QColor naturalNoteColour_{244, 240, 215};
    QColor sharpNoteColour_{203, 183, 65};
    QColor naturalNoteTitleColour_{255, 255, 235};
    QColor sharpNoteTitleColour_{233, 203, 85};
    QColor noteTextColour_{40, 40, 40};
};

} // namespace jorvo
