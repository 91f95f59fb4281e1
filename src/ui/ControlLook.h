#pragma once
// The drawing the controls fall back on when a skin names no image for them: one dark look
// shared by every control, so a panel without artwork still reads as one finished product.
// UI thread only.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;
class QWidget;

namespace jorvo::ControlLook {

// The colours of the dark look.
QColor Panel();      // control face
QColor PanelEdge();  // frame around a control
QColor Groove();     // the track a carat runs in
QColor Accent();     // value indicators and filled parts
QColor Text();       // labels and values
QColor DimText();    // text of a disabled control

// Tahoma at `pixels` pixels high (Qt falls back to a sans-serif when it is missing).
QFont Font(int pixels = 12);

// A control face: filled panel with a one-pixel frame, slightly rounded.
void DrawFace(QPainter& painter, const QRect& area);
// A recessed groove of `thickness` pixels centred in `area` along the long axis.
void DrawGroove(QPainter& painter, const QRect& area, bool vertical);
// A carat (the moving handle of a fader) filling `area`, with a line across its middle unless
// `marked` is false (a carat that carries text).
void DrawCarat(QPainter& painter, const QRect& area, bool vertical, bool marked = true);
// Gives a standard widget embedded in an element (trees) the dark look and the Tahoma font.
void ApplyTo(QWidget& widget);
// `text` centred in `area` on one line, elided when it does not fit.
void DrawCentredText(QPainter& painter, const QRect& area, const QString& text, const QColor& colour);

} // namespace jorvo::ControlLook
