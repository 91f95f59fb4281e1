#pragma once
// The drawings of the controls: each function returns the image a skin element names (a knob's
// two frames, a fader's track and cap, the state frames of buttons), drawn with antialiasing on
// the colour the control will sit on. Deterministic: the same arguments give the same pixels.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <vector>

namespace artwork {

// The pictograms drawn on buttons.
enum class Icon {
    None, Play, Stop, Rewind, FastForward, Plus, Minus, Left, Right, Up, Down,
    Note, Pattern, Section, Zone, Song, Mixer, Help, Open, Save, New, Curve, Quit,
};

// A knob of `size` pixels for the transparent-key sweep drawing: frame 0 (left) is the face laid
// over the value sweep, pure blue where the sweep shows (a 270° ring open at the bottom); frame 1
// is the ring's empty track. Two frames side by side: 2 × size wide.
QImage KnobStrip(int size, const QColor& behind);
// What the element draws for `value` in `minimum` … `maximum` (the sweep polygon between the two
// frames in `indicator`): the mock-up's picture of the knob.
QImage KnobPicture(const QImage& strip, int size, int value, int minimum, int maximum, const QColor& indicator);

// A vertical fader track `width` × `height` with a slot and scale marks; `capHeight` keeps the
// marks within the cap's travel.
QImage FaderTrack(int width, int height, int capHeight, const QColor& behind);
// A horizontal slider track (draw bars, selectors' travel).
QImage SliderTrack(int width, int height, const QColor& behind);
// The fader cap.
QImage FaderCap(int width, int height);
// A horizontal slider's thumb.
QImage SliderThumb(int width, int height);

// The frames of a parameter button, one per label: a lit lamp and the label (frame k shows
// `labels[k]` with lamp colour `lamps[k]`; an invalid colour leaves the lamp dark).
QImage SwitchStrip(int width, int height, const QStringList& labels, const std::vector<QColor>& lamps,
                   const QColor& behind);
// The two frames of a push button (up, held) with a label and/or an icon.
QImage PushStrip(int width, int height, const QString& label, Icon icon, const QColor& behind,
                 int fontSize = 12);
// A dark inset well for a text or a value, `width` × `height`, inset by `inset` pixels.
QImage TextWell(int width, int height, const QColor& behind, int inset = 0);

// Draws `icon` centred in `area` in `colour`.
void DrawIcon(QPainter& painter, Icon icon, const QRectF& area, const QColor& colour);

// Panel drawing on a view background.
// The header band across the top, `height` pixels, with a title and a subtitle.
void DrawHeader(QPainter& painter, int height, const QString& title, const QString& subtitle);
// A control plate with its caption in the top-left corner.
void DrawPlate(QPainter& painter, const QRect& area, const QString& caption);
// A control's name centred under (or over) it.
void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QColor& colour, int size = 11,
                 bool bold = false);
// Running text wrapped in `area`.
void DrawNote(QPainter& painter, const QRect& area, const QString& text, int size = 11);

// The product's logo: the name over a small level meter, scaled to `area`'s height.
void DrawLogo(QPainter& painter, const QRect& area, bool withTagline);

// `image` with every pure-blue pixel made transparent, as skins draw keyed images.
QImage Keyed(const QImage& image);

} // namespace artwork
