#include "ui/KeyboardLayout.h"

#include <algorithm>

namespace jorvo {
namespace {

// Sharp keys: this share of a natural key's width and of the keyboard's height.
constexpr double kSharpWidth = 0.6;
constexpr double kSharpHeight = 0.6;
constexpr int kStartKey = 48;

} // namespace

KeyboardLayout::KeyboardLayout()
{
    first_ = NaturalAtOrBelow(kStartKey);
    last_ = first_ + kDefaultVisibleKeys - 1;
}

bool KeyboardLayout::IsSharp(int key)
{
    switch (((key % 12) + 12) % 12) {
    case 1: case 3: case 6: case 8: case 10:
        return true;
    default:
        return false;
    }
}

int KeyboardLayout::NaturalAtOrBelow(int key)
{
    key = std::clamp(key, 0, kKeyCount - 1);
    while (key > 0 && IsSharp(key))
        --key;
    return key;
}

int KeyboardLayout::NextNatural(int key)
{
    for (int next = key + 1; next < kKeyCount; ++next)
        if (!IsSharp(next))
            return next;
    return key;
}

int KeyboardLayout::PreviousNatural(int key)
{
    for (int previous = key - 1; previous >= 0; --previous)
        if (!IsSharp(previous))
            return previous;
    return key;
}

QString KeyboardLayout::NoteName(int key)
{
    static const char* const kNames[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    if (key < 0 || key >= kKeyCount)
        return {};
    return QString("%1%2").arg(kNames[key % 12]).arg(key / 12);
}

void KeyboardLayout::SetArea(const QRect& area)
{
    area_ = area;
    Layout();
}

void KeyboardLayout::SetVisibleRange(int first, int last)
{
    first_ = std::clamp(first, 0, kKeyCount - 1);
    last_ = std::clamp(last, first_, kKeyCount - 1);
    Layout();
}

void KeyboardLayout::ScrollTo(int first)
{
    const int count = VisibleCount();
    first = std::clamp(first, 0, kKeyCount - count);
    SetVisibleRange(first, first + count - 1);
}

QRect KeyboardLayout::KeyRect(int key) const
{
    return key >= 0 && key < kKeyCount ? keys_[static_cast<std::size_t>(key)] : QRect();
}

int KeyboardLayout::SharpHeight() const
{
    return static_cast<int>(area_.height() * kSharpHeight);
}

void KeyboardLayout::Layout()
{
    keys_.fill(QRect());
    int naturals = 0;
    for (int key = first_; key <= last_; ++key)
        naturals += !IsSharp(key);
    if (naturals == 0 || area_.isEmpty())
        return;
    const double naturalWidth = static_cast<double>(area_.width()) / naturals;
    const int sharpWidth = std::max(3, static_cast<int>(naturalWidth * kSharpWidth));
    int index = 0;
    for (int key = first_; key <= last_; ++key) {
        // A sharp key is centred on the line where the next natural begins.
        const int boundary = area_.left() + static_cast<int>(index * naturalWidth + 0.5);
        if (IsSharp(key)) {
            keys_[static_cast<std::size_t>(key)] =
                QRect(boundary - sharpWidth / 2, area_.top(), sharpWidth, SharpHeight());
            continue;
        }
        const int right = area_.left() + static_cast<int>((index + 1) * naturalWidth + 0.5);
        keys_[static_cast<std::size_t>(key)] = QRect(boundary, area_.top(), right - boundary, area_.height());
        ++index;
    }
}

int KeyboardLayout::KeyAt(const QPoint& point) const
{
    for (int key = first_; key <= last_; ++key)
        if (IsSharp(key) && keys_[static_cast<std::size_t>(key)].contains(point))
            return key;
    for (int key = first_; key <= last_; ++key)
        if (!IsSharp(key) && keys_[static_cast<std::size_t>(key)].contains(point))
            return key;
    return kNoKey;
}

int KeyboardLayout::SpanLeft(int key) const
{
    const QRect rect = KeyRect(key);
    if (IsSharp(key) || !IsSharp(key - 1) || KeyRect(key - 1).isEmpty())
        return rect.left();
    return KeyRect(key - 1).right() + 1;
}

int KeyboardLayout::SpanRight(int key) const
{
    const QRect rect = KeyRect(key);
    if (IsSharp(key) || !IsSharp(key + 1) || KeyRect(key + 1).isEmpty())
        return rect.right();
    return KeyRect(key + 1).left() - 1;
}

int KeyboardLayout::KeyInSpan(int x) const
{
    for (int key = first_; key <= last_; ++key)
        if (x >= SpanLeft(key) && x <= SpanRight(key))
            return key;
    return kNoKey;
}

} // namespace jorvo
