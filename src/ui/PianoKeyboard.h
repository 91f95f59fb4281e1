#pragma once
// `PianoKeyboard`: plays notes on its bound target. The pen plays the key under it, louder the
// lower it touches the key; a pen at the very top of a key or off the keys scrolls the keyboard
// towards it after a pause; lifting the pen always ends the note. Zoom and scroll messages and
// keys change which keys are shown. Notes go through the sequencer's SendToTarget. UI thread only.
#include <array>
#include <cstdint>

#include <QTimer>

#include "document/XMLArchive.h"
#include "ui/KeyboardLayout.h"
#include "ui/UIElement.h"

namespace jorvo {

class PianoKeyboard : public UIElement {
    Q_OBJECT
public:
    // The edge-scroll timer: first tick after this many milliseconds, then one every interval.
    static constexpr int kEdgeScrollDelayMs = 1000;
    static constexpr int kEdgeScrollIntervalMs = 200;

    explicit PianoKeyboard(QWidget* parent);
    // Ends a note still sounding (the view went while the pen was down).
    ~PianoKeyboard() override;

    std::string GetClassName() const override { return "PianoKeyboard"; }
    // After the common attributes: "NoteTextColour", "SharpNoteColour", "NaturalNoteColour",
    // "NoteDivisionColour" and "DrawNoteDivisions".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    void Draw(QPainter& painter) override;
    // The target the keys play on (may be null: the keys then play nothing).
    void SetTarget(SeqEventTarget* target) override;
    SeqEventTarget* Target() const { return target_; }

    const KeyboardLayout& Layout() const { return layout_; }
    // The note sounding now, or KeyboardLayout::kNoKey.
    int SoundingNote() const { return soundingNote_; }
    bool IsEdgeScrolling() const { return edgeTimer_.isActive(); }
    // Shows `first` … `last` and repaints.
    void ShowKeys(int first, int last);

    // The velocity of a pen at `y` on `key`: (y − key top) × 127 ÷ key height, within 0 … 127; 0
    // off the keys.
    int VelocityAt(int key, int y) const;

protected:
    // Plays `key` with `velocity`: when it is not the sounding note, that one ends and `key`
    // starts. kNoKey only ends the sounding note.
    void PlayKey(int key, int velocity);
    // Ends the sounding note (note-off), if any, and stops edge scrolling.
    void Silence();
    // The area the keys fill inside the element (all of it for the plain keyboard).
    virtual QRect KeysArea() const;
    // Paints the keys, the pressed one highlighted.
    void DrawKeys(QPainter& painter);
    // Paints over natural key `key` before its outline (the zone map tints zones here).
    virtual void TintNaturalKey(QPainter& painter, int key, const QRect& rect);

    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void CaptureLost() override;
    // WM_ZOOM_IN_PITCH and WM_ZOOM_OUT_PITCH.
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Plays what lies under the pen and starts edge scrolling when that is velocity 0.
    void PlayAt(const QPoint& point);
    QColor NoteTextColour() const;

private:
    void EdgeScrollTick();
    void ZoomIn();
    void ZoomOut();

    SeqEventTarget* target_ = nullptr;
    KeyboardLayout layout_;
    int soundingNote_ = KeyboardLayout::kNoKey;
    QTimer edgeTimer_;
    Colour noteText_ = Colour::FromRgb(40, 40, 40);
    Colour sharpNote_ = Colour::FromRgb(10, 10, 10);
    Colour naturalNote_ = Colour::FromRgb(244, 240, 215);
    Colour noteDivision_ = Colour::FromRgb(200, 200, 200);
    bool drawNoteDivisions_ = true;
};

} // namespace jorvo
