#pragma once
// A multi-state image strip: the states of a button or factory are frames of one bitmap laid
// side by side, and a state list gives per state index its frame offset and two values (`Value`
// for parameter buttons, `Param1` and `Param2` for message buttons and factories). UI thread only.
#include <cstdint>
#include <map>
#include <optional>

#include "ui/SkinImage.h"

class QPainter;

namespace jorvo {

class CXMLArchive;

class StateStrip {
public:
    // State indexes accepted from skins: 0 … kMaxStates − 1.
    static constexpr int kMaxStates = 256;

    struct State {
        int frameOffset = 0;
        std::int32_t first = 0;
        std::int32_t second = 0;
    };

    // The attribute names of a state's two values; `second` may be null for one-value states.
    StateStrip(const char* firstName, const char* secondName);

    // Reads or writes the image attribute and the "State" children ("Index" and the values). On
    // load, frame offsets are Index × `elementWidth`, and an index already filled (or outside
    // 0 … 255) is not replaced.
    void SerializeXML(CXMLArchive& archive, int elementWidth);
    // Adds a state unless its index is filled or out of range; false then.
    bool AddState(int index, int frameOffset, std::int32_t first, std::int32_t second);

    // The size of one frame: bitmap width ÷ number of states, bitmap height. Empty when there is
    // no bitmap or no state.
    QSize FrameSize();
    // The state at `index`, or null.
    const State* Find(int index) const;
    // The lowest state index; nothing when there are no states.
    std::optional<int> First() const;
    // The index after `index`, after the last the first; nothing when there are no states.
    std::optional<int> Next(int index) const;
    int Count() const { return static_cast<int>(states_.size()); }
    // Draws the frame of state `index` into `area` (black without a bitmap, nothing without such
    // a state).
    void Draw(QPainter& painter, int index, const QRect& area);

    SkinImage& Image() { return image_; }

private:
    const char* firstName_;
    const char* secondName_;
    SkinImage image_{"Image"};
    std::map<int, State> states_;
};

} // namespace jorvo
