#pragma once
// What patterns, sections and the song ask of the sequencer that owns them: patterns and
// sections by name (stored placements name them), targets by name and class, a new pattern for
// a target, and the current song. The Sequencer implements it and publishes itself with
// SetCurrent; without a published lookup, stored placements resolve to nothing.
#include <string>

namespace jorvo {

class SeqEventPattern;
class SeqEventSection;
class SeqEventSong;
class SeqEventTarget;

class SeqEventLookup {
public:
    virtual ~SeqEventLookup() = default;

    // The pattern named `name` in the pattern list, or null.
    virtual SeqEventPattern* FindPattern(const std::string& name) const = 0;
    // The section named `name` in the section list, or null.
    virtual SeqEventSection* FindSection(const std::string& name) const = 0;
    // The target of class `typeName` ("Instrument", "Effect", "Channel", "Buss", "Mixer"; any
    // other class: the first target with the name) named `name`, or null.
    virtual SeqEventTarget* FindTarget(const std::string& name, const std::string& typeName) const = 0;
    // A new pattern one bar long, named `baseName` made unique, entered in the pattern list; null
    // when it cannot be entered.
    virtual SeqEventPattern* CreatePattern(const std::string& baseName) = 0;
    // The current song, or null.
    virtual SeqEventSong* GetSong() const = 0;

    // The published lookup, or null. UI thread.
    static SeqEventLookup* Current();
    // Publishes `lookup` (not owned; null withdraws it) and returns the previous one. UI thread.
    static SeqEventLookup* SetCurrent(SeqEventLookup* lookup);
};

} // namespace jorvo
