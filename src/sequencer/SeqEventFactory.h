#pragma once
// Creates events from stored XML elements. UI thread; errors are reported with a message box, so
// callers must not hold the render lock while it runs.
#include <memory>

namespace jorvo {

class CXMLArchive;
class SeqEvent;
class SeqEventPattern;
class SeqEventSection;

class SeqEventFactory {
public:
    SeqEventFactory() = delete;

    // An event made from the archive's current element by its tag name ("CC", "Note", "Pattern",
    // "Section", "Song") and read from it. Null for any other name; null also when reading fails,
    // which is reported to the user (kEventReadFailed).
    static std::unique_ptr<SeqEvent> CreateFromXML(const CXMLArchive& archive);
    // A pattern read from the archive's current element; null (reported) when it cannot be read.
    static std::unique_ptr<SeqEventPattern> CreatePatternFromXML(const CXMLArchive& archive);
    // A section read from the archive's current element; null (reported) when it cannot be read.
    static std::unique_ptr<SeqEventSection> CreateSectionFromXML(const CXMLArchive& archive);
};

} // namespace jorvo
