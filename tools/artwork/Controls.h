#pragma once
// Adding controls to a view: each function draws (or reuses) the control's images, stores them,
// puts the element with its attributes into the view and gives it a picture for the mock-up.
// Captions under controls are painted into the view's background here too, so a control and its
// name cannot drift apart.
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "Skin.h"
#include "Widgets.h"

namespace artwork {

// What the generator needs to place controls: where images go.
struct Kit {
    Output& output;
    ImageFolder own;    // the view's own images (labels drawn into buttons)
    ImageFolder common; // images shared by every skin
};

// One parameter a control binds to.
struct ParamSpec {
    QString element;   // the element's name in the skin
    QString caption;   // the name printed under the control
    std::uint16_t code = 0;
    int minimum = 0;
    int maximum = 127;
    int value = 64;    // the value the mock-up shows
};

// The event-type name a skin writes for `code` ("VOLUME", or the number).
QString EventName(std::uint16_t code);

// A knob (`Knob2`, the sweep in the accent colour) of `size` centred at `centre`, its caption
// under it.
SkinElement& AddKnob(Kit& kit, ViewSkin& view, const ParamSpec& param, QPoint centre, int size,
                     ElementGroup group = ElementGroup::Main);
// A vertical fader filling `area` (caption under it), sending `param.value` nowhere: the
// default value is the engine's.
SkinElement& AddFader(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area,
                      ElementGroup group = ElementGroup::Main);
// A horizontal draw bar filling `area`, caption at its left in `captionArea`.
SkinElement& AddDrawBar(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area,
                        const QRect& captionArea);
// A parameter button with one state per label; state k carries values[k] and shows lamps[k]
// (invalid: dark). The caption goes over it when `captionAbove`, nothing when empty.
SkinElement& AddSwitch(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area,
                       const QStringList& labels, const std::vector<int>& values, const std::vector<QColor>& lamps,
                       ElementGroup group = ElementGroup::Main);

// An image strip and the name a skin gives it.
struct StripImage {
    QString reference;
    QImage image;
};

// A number with a step-up and a step-down button at its right (`Scroller`) filling `area`,
// caption under it.
SkinElement& AddScroller(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area);

// A push-button image (two frames: up, held) stored once under `folder`/`fileName`.
StripImage PushImage(Kit& kit, const ImageFolder& folder, const std::string& fileName, QSize size, const QString& label,
                  Icon icon, const QColor& behind, int fontSize = 12);
// A message button posting `message` (with 0, 0). `submitOnPenUp` for commands that must not
// repeat while held (views, files); otherwise it repeats like a key.
SkinElement& AddMsgButton(ViewSkin& view, const QString& name, const QRect& area, const QString& message,
                          const StripImage& image, bool submitOnPenUp, ElementGroup group = ElementGroup::Main);
// The four transport buttons in a row starting at `topLeft`, each `size`, `gap` apart.
void AddTransport(Kit& kit, ViewSkin& view, QPoint topLeft, QSize size, int gap, const QColor& behind);
// A drag source (`NoteFactory`, `PatternFactory`, …) in `area`.
SkinElement& AddFactory(Kit& kit, ViewSkin& view, const QString& keyword, const QString& name, const QRect& area,
                        const QString& label, Icon icon, const QColor& behind);
// A text element (`MsgLabel`, `SampleFileNameLabel`, …) on a dark well; `text` is the
// `DisplayText` of message labels and what the mock-up shows.
SkinElement& AddTextElement(Kit& kit, ViewSkin& view, const QString& keyword, const QString& name,
                            const QRect& area, const QString& text, const QColor& behind,
                            ElementGroup group = ElementGroup::Main, int inset = 0);
// A fader's images for `size` (track, and a cap `size.width()` − 6 wide), stored in the common
// folder: the references of the track and of the cap.
std::pair<QString, QString> FaderImages(Kit& kit, QSize size);
// A large element drawn by the program itself (editors, keyboard, zone map, browser); the mock-up
// shows `preview`.
SkinElement& AddPanelElement(ViewSkin& view, const QString& keyword, const QString& name, const QRect& area,
                             std::function<void(QPainter&, const QRect&)> preview);

} // namespace artwork
