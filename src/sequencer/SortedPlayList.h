#pragma once
// The owning, start-sorted list with a play cursor that patterns (events), sections (pattern
// placements) and the song (section placements) share. Items answer GetStart() and GetEnd()
// (their first and last pulse).
//
// Sorting: a new item goes after every item with the same or an earlier start, so items that
// start together keep their insertion order. The cursor is a cache: every insertion or removal
// clears it, and a jump (a pulse that is not the previous one + 1) restarts it from the head.
//
// Threads: PlayAt runs on the audio thread; every other operation is a structural edit made with
// the render lock held. Nothing here allocates except Insert (the caller's node is moved in).
#include <cstdint>
#include <iterator>
#include <list>
#include <memory>

namespace jorvo {

template <class Item>
class SortedPlayList {
public:
    using List = std::list<std::unique_ptr<Item>>;
    using Position = typename List::const_iterator;

    // The items in play order.
    const List& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }

    // Inserts `item` (taking it) sorted by start. The search starts at `*hint` when that item
    // starts at or before the new one, else at the head; `*hint` becomes the new item's position.
    // `hint` may be null; a non-null hint must be a position of this list or its end.
    Position Insert(std::unique_ptr<Item> item, Position* hint = nullptr)
    {
        const std::uint32_t start = item->GetStart();
        Position from = items_.begin();
        if (hint && *hint != items_.end() && (**hint)->GetStart() <= start)
            from = *hint;
        const Position inserted = items_.insert(PlaceAfterEqualStarts(from, start), std::move(item));
        if (hint)
            *hint = inserted;
        ForgetCursor();
        return inserted;
    }

    // The position of `item`, or the end when it is not in the list.
    Position Find(const Item* item) const
    {
        for (Position at = items_.begin(); at != items_.end(); ++at)
            if (at->get() == item)
                return at;
        return items_.end();
    }

    // True when `item` is in the list.
    bool Contains(const Item* item) const { return item && Find(item) != items_.end(); }

    // Takes `item` out and hands it back; null (nothing changed) when it is not in the list.
    std::unique_ptr<Item> Take(const Item* item)
    {
        const Position at = Find(item);
        if (at == items_.end())
            return nullptr;
        const typename List::iterator mutableAt = items_.erase(at, at);
        std::unique_ptr<Item> taken = std::move(*mutableAt);
        items_.erase(mutableAt);
        ForgetCursor();
        return taken;
    }

    // Re-sorts `item` after its start changed (takes it out, inserts it again after equal
    // starts). False when it is not in the list.
    bool Reposition(const Item* item)
    {
        const Position at = Find(item);
        if (at == items_.end())
            return false;
        List moving;
        moving.splice(moving.begin(), items_, at);
        items_.splice(PlaceAfterEqualStarts(items_.begin(), item->GetStart()), moving);
        ForgetCursor();
        return true;
    }

    // Destroys every item.
    void Clear()
    {
        items_.clear();
        ForgetCursor();
    }

    // Drops the play cursor; the next PlayAt starts from the head.
    void ForgetCursor()
    {
        cursorSet_ = false;
        nextPulse_ = 0;
    }

    // Hands every item due at `pulse` to `deliver(item)`, in list order: items whose end is
    // before the pulse are passed over by the cursor, and the walk stops at the first item that
    // starts after the pulse. Audio thread.
    template <class Deliver>
    void PlayAt(std::uint32_t pulse, Deliver&& deliver) noexcept
    {
        if (items_.empty())
            return;
        if (nextPulse_ != pulse || !cursorSet_) {
            cursor_ = items_.begin();
            cursorSet_ = true;
        }
        while (std::next(cursor_) != items_.end() && (*cursor_)->GetEnd() < pulse)
            ++cursor_;
        for (Position at = cursor_; at != items_.end() && (*at)->GetStart() <= pulse; ++at)
            deliver(**at);
        nextPulse_ = pulse + 1;
    }

private:
    // The first position from `from` on whose item starts after `start`.
    Position PlaceAfterEqualStarts(Position from, std::uint32_t start) const
    {
        while (from != items_.end() && (*from)->GetStart() <= start)
            ++from;
        return from;
    }

    List items_;
    Position cursor_;
    bool cursorSet_ = false;
    std::uint32_t nextPulse_ = 0;
};

} // namespace jorvo
