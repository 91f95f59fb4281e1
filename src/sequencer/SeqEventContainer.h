#pragma once
// What patterns, sections and the song have in common: a name, a length of their own and the
// start of their stored forms. The list each keeps, and how it plays, is the subclass's.
#include <cstdint>
#include <string>

#include "document/XMLArchive.h"
#include "sequencer/SeqEvent.h"

namespace jorvo {

class SeqEventContainer : public SeqEvent {
public:
    // The container's name (its key in the sequencer's lists).
    std::string GetName() const override { return name_; }
    void SetName(const std::string& name) override { name_ = name; }
    // The offset + length − 1 (the offset while the length is 0).
    std::uint32_t GetEnd() const override;
    std::uint32_t GetLength() const override { return length_; }
    // Sets the length, raised to the container's minimum and to the extent of its content.
    // 0 is refused (false, unchanged); an unchanged length is accepted as it is. True otherwise.
    bool SetLength(std::uint32_t pulses) override;
    // The absolute start + length.
    std::uint32_t GetAbsoluteEnd() const override;

protected:
    SeqEventContainer() = default;

    // The smallest length SetLength gives.
    virtual std::uint32_t MinimumLength() const = 0;
    // The length the content needs, counted from the container's start.
    virtual std::uint32_t ContentLength() const = 0;

    // Binary: the base offset, BYTE 1 (skipped on reading whatever its value), the name (wide
    // string) and the length DWORD.
    void SerializeHead(BinaryArchive& archive);
    // XML: the base element and attributes, then "Length" as length text (kept when absent).
    void SerializeXMLHead(CXMLArchive& archive);
    // Sets the length as read from a file, without the bounds of SetLength.
    void SetStoredLength(std::uint32_t pulses) { length_ = pulses; }
    // Binary: a colour as 3 bytes red, green, blue.
    static void SerializeColour(BinaryArchive& archive, Colour& colour);

private:
    std::string name_;
    std::uint32_t length_ = 0;
};

} // namespace jorvo
