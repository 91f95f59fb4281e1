#include "ui/PianoKeyboard.h"

#include <algorithm>

#include <QKeyEvent>
#include <QPainter>

#include "engine/EventCodes.h"
#include "sequencer/Sequencer.h"
#include "ui/SkinColour.h"

namespace jorvo {
namespace {

constexpr int kMaxVelocity = 127;
constexpr int kNoteTextPixels = 10;
const QColor kBackground(43, 47, 54);
const QColor kPressedNatural(255, 170, 70);
const QColor kPressedSharp(214, 120, 30);

WindowMessage ZoomInPitch()
{
    static const WindowMessage message = RegisterWindowMessage("WM_ZOOM_IN_PITCH");
    return message;
}

WindowMessage ZoomOutPitch()
{
    static const WindowMessage message = RegisterWindowMessage("WM_ZOOM_OUT_PITCH");
    return message;
}

} // namespace

PianoKeyboard::PianoKeyboard(QWidget* parent) : UIElement(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    edgeTimer_.setInterval(kEdgeScrollDelayMs);
    connect(&edgeTimer_, &QTimer::timeout, this, &PianoKeyboard::EdgeScrollTick);
}

PianoKeyboard::~PianoKeyboard()
{
    Silence();
}

void PianoKeyboard::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    // NoteTextColour="#282828" SharpNoteColour="#0A0A0A" NaturalNoteColour="#F4F0D7" …
    archive.Serialize("NoteTextColour", noteText_);
    archive.Serialize("SharpNoteColour", sharpNote_);
    archive.Serialize("NaturalNoteColour", naturalNote_);
    archive.Serialize("NoteDivisionColour", noteDivision_);
    archive.Serialize("DrawNoteDivisions", drawNoteDivisions_);
    if (archive.IsLoading())
        update();
}

bool PianoKeyboard::Create(int left, int top, int width, int height)
{
    const bool created = UIElement::Create(left, top, width, height);
    layout_.SetArea(KeysArea());
    return created;
}

QRect PianoKeyboard::KeysArea() const
{
    return QRect(0, 0, ElementWidth(), ElementHeight());
}

void PianoKeyboard::SetTarget(SeqEventTarget* target)
{
    if (target == target_)
        return;
    Silence();
    target_ = target;
}

void PianoKeyboard::ShowKeys(int first, int last)
{
    layout_.SetVisibleRange(first, last);
    update();
}

int PianoKeyboard::VelocityAt(int key, int y) const
{
    const QRect rect = layout_.KeyRect(key);
    if (rect.isEmpty())
        return 0;
    return std::clamp((y - rect.top()) * kMaxVelocity / rect.height(), 0, kMaxVelocity);
}

void PianoKeyboard::PlayKey(int key, int velocity)
{
    if (key == soundingNote_)
        return;
    Sequencer* sequencer = Sequencer::Current();
    const int previous = soundingNote_;
    soundingNote_ = key;
    if (sequencer && target_) {
        if (previous != KeyboardLayout::kNoKey)
            sequencer->SendToTarget(target_, kEventNoteEnd, previous, 0, 0, 0);
        if (key != KeyboardLayout::kNoKey)
            sequencer->SendToTarget(target_, kEventNoteStart, key, velocity, 0, 0);
    }
    update(layout_.KeyRect(previous).united(layout_.KeyRect(key)));
}

void PianoKeyboard::Silence()
{
    edgeTimer_.stop();
    PlayKey(KeyboardLayout::kNoKey, 0);
}

void PianoKeyboard::PlayAt(const QPoint& point)
{
    const int key = layout_.KeyAt(point);
    const int velocity = VelocityAt(key, point.y());
    if (key != KeyboardLayout::kNoKey)
        PlayKey(key, velocity);
    if (velocity > 0) {
        edgeTimer_.stop();
    } else if (!edgeTimer_.isActive()) {
        edgeTimer_.setInterval(kEdgeScrollDelayMs);
        edgeTimer_.start();
    }
}

void PianoKeyboard::EdgeScrollTick()
{
    edgeTimer_.setInterval(kEdgeScrollIntervalMs);
    const QPoint pen = LastPenPosition();
    if (!HoldsCapture() || pen.x() == kNoPen)
        return;
    const QRect area = layout_.Area();
    int edgeKey = KeyboardLayout::kNoKey;
    if (pen.x() < area.left()) {
        layout_.ScrollTo(KeyboardLayout::PreviousNatural(layout_.FirstVisible()));
        edgeKey = layout_.FirstVisible();
    } else if (pen.x() > area.right()) {
        layout_.ScrollTo(KeyboardLayout::NextNatural(layout_.FirstVisible()));
        edgeKey = layout_.LastVisible();
    } else {
        return;
    }
    const QRect rect = layout_.KeyRect(edgeKey);
    PlayKey(edgeKey, std::clamp((pen.y() - rect.top()) * kMaxVelocity / std::max(1, rect.height()), 0, kMaxVelocity));
    update();
}

void PianoKeyboard::ZoomIn()
{
    if (layout_.VisibleCount() <= KeyboardLayout::kMinZoomKeys)
        return;
    ShowKeys(KeyboardLayout::NextNatural(layout_.FirstVisible()), KeyboardLayout::PreviousNatural(layout_.LastVisible()));
}

void PianoKeyboard::ZoomOut()
{
    ShowKeys(KeyboardLayout::PreviousNatural(layout_.FirstVisible()), KeyboardLayout::NextNatural(layout_.LastVisible()));
}

bool PianoKeyboard::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == ZoomInPitch()) {
        ZoomIn();
        return true;
    }
    if (message == ZoomOutPitch()) {
        ZoomOut();
        return true;
    }
    return UIElement::OnWindowMessage(message, wParam, lParam);
}

void PianoKeyboard::keyPressEvent(QKeyEvent* event)
{
    const int first = layout_.FirstVisible();
    const int count = layout_.VisibleCount();
    int wanted = 0;
    switch (event->key()) {
    case Qt::Key_PageUp: wanted = first - count; break;
    case Qt::Key_PageDown: wanted = first + count; break;
    case Qt::Key_Home: wanted = 0; break;
    case Qt::Key_End: wanted = KeyboardLayout::kKeyCount - 1 - count; break;
    default:
        UIElement::keyPressEvent(event);
        return;
    }
    // Land on a natural key without running past the top of the keyboard.
    wanted = std::clamp(wanted, 0, KeyboardLayout::kKeyCount - count);
    layout_.ScrollTo(KeyboardLayout::NaturalAtOrBelow(wanted));
    update();
}

void PianoKeyboard::PenDown(const QPoint& point)
{
    UIElement::PenDown(point);
    setFocus(Qt::MouseFocusReason);
    PlayAt(point);
}

void PianoKeyboard::PenMove(const QPoint& point)
{
    UIElement::PenMove(point);
    PlayAt(point);
}

void PianoKeyboard::PenUp(const QPoint& point)
{
    Silence();
    UIElement::PenUp(point);
}

void PianoKeyboard::CaptureLost()
{
    Silence();
    UIElement::CaptureLost();
}

QColor PianoKeyboard::NoteTextColour() const
{
    return ToQtColour(noteText_);
}

void PianoKeyboard::Draw(QPainter& painter)
{
    painter.fillRect(rect(), kBackground);
    DrawKeys(painter);
}

void PianoKeyboard::TintNaturalKey(QPainter&, int, const QRect&) {}

void PianoKeyboard::DrawKeys(QPainter& painter)
{
    QFont font("Tahoma");
    font.setPixelSize(kNoteTextPixels);
    painter.setFont(font);
    const int first = layout_.FirstVisible();
    const int last = layout_.LastVisible();
    for (int key = first; key <= last; ++key) {
        if (KeyboardLayout::IsSharp(key))
            continue;
        const QRect rect = layout_.KeyRect(key);
        painter.fillRect(rect, key == soundingNote_ ? kPressedNatural : ToQtColour(naturalNote_));
        TintNaturalKey(painter, key, rect);
        painter.setPen(drawNoteDivisions_ ? ToQtColour(noteDivision_) : ToQtColour(naturalNote_).darker(115));
        painter.drawLine(rect.topRight(), rect.bottomRight());
        if (key % 12 == 0 && rect.width() >= 16) {
            painter.setPen(NoteTextColour());
            painter.drawText(rect.adjusted(1, 0, -1, -3), Qt::AlignHCenter | Qt::AlignBottom,
                             KeyboardLayout::NoteName(key));
        }
    }
    for (int key = first; key <= last; ++key) {
        if (!KeyboardLayout::IsSharp(key))
            continue;
        const QRect rect = layout_.KeyRect(key);
        const QColor body = key == soundingNote_ ? kPressedSharp : ToQtColour(sharpNote_);
        painter.fillRect(rect, body);
        // A lighter lower lip gives the key some depth.
        painter.fillRect(QRect(rect.left() + 2, rect.bottom() - 3, rect.width() - 4, 3), body.lighter(160));
    }
}

} // namespace jorvo
