#pragma once
// The geometry of an on-screen piano keyboard: which keys are visible and where each lies. Natural
// keys share the width equally; sharp keys are narrower and shorter and sit on the line between
// their two naturals. The piano keyboard and the sampler zone map both lay out their keys here.
#include <array>

#include <QRect>
#include <QString>

namespace jorvo {

class KeyboardLayout {
public:
    static constexpr int kKeyCount = 128;
    // The key number that stands for "no key".
    static constexpr int kNoKey = 128;
    // Keys shown at start, and the fewest zooming in leaves.
    static constexpr int kDefaultVisibleKeys = 24;
    static constexpr int kMinZoomKeys = 12;

    // 48 keys … from the natural key at or below note 48, on an empty area.
    KeyboardLayout();

    // Notes whose value modulo 12 is 1, 3, 6, 8 or 10.
    static bool IsSharp(int key);
    // The natural key at or below `key` (0 for anything lower).
    static int NaturalAtOrBelow(int key);
    // The nearest natural key above / below `key`, or `key` itself when there is none in 0 … 127.
    static int NextNatural(int key);
    static int PreviousNatural(int key);
    // "C5", "C#5", … (octave = note ÷ 12); empty outside 0 … 127.
    static QString NoteName(int key);

    // The rectangle the keys fill.
    void SetArea(const QRect& area);
    const QRect& Area() const { return area_; }

    int FirstVisible() const { return first_; }
    int LastVisible() const { return last_; }
    int VisibleCount() const { return last_ - first_ + 1; }
    // Shows `first` … `last` (clamped into 0 … 127, at least one key).
    void SetVisibleRange(int first, int last);
    // Shows `count` keys from `first`, keeping them inside 0 … 127.
    void ScrollTo(int first);

    // The key's rectangle; empty for keys not shown.
    QRect KeyRect(int key) const;
    // The key under `point` (sharp keys lie on top), or kNoKey.
    int KeyAt(const QPoint& point) const;
    // Where the key's own strip of the keyboard's top starts and ends: a sharp key's edges, or the
    // part of a natural key that no sharp key covers, so that runs of keys tile the width.
    int SpanLeft(int key) const;
    int SpanRight(int key) const;
    // The shown key whose span holds `x`, or kNoKey.
    int KeyInSpan(int x) const;
    // The height of the sharp keys.
    int SharpHeight() const;

private:
    void Layout();

    QRect area_;
    int first_ = 0;
    int last_ = 0;
    std::array<QRect, kKeyCount> keys_{};
};

} // namespace jorvo
