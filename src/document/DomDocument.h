#pragma once
// An XML document: loading, saving and building. The tree is shared with every node handle taken
// from it; a load builds a new tree and, only when it succeeds, puts it in place of the old one
// (handles into the old tree stay valid but are no longer part of this document). UI thread only.
#include <cstddef>
#include <memory>
#include <string>

#include "document/DomByteStream.h"
#include "document/DomNode.h"

namespace jorvo {

// Why the last load failed. Line and column count from 1; the column counts characters.
struct DomParseError {
    std::string reason;
    std::size_t offset = 0;
    int line = 0;
    int column = 0;
};

class DomDocument {
public:
    // An empty document.
    DomDocument();

    // The document node itself, to which the document element is appended.
    DomNode AsNode() const;
    // The document element; an empty handle when there is none.
    DomNode DocumentElement() const;
    // A new element `name` belonging to this document but not yet in it (append it somewhere);
    // an empty handle when `name` is not a valid XML name.
    DomNode CreateElement(const std::string& name) const;

    // Parses a complete document from `size` bytes. False (document unchanged, ParseError set)
    // when they are not one well-formed document.
    bool LoadBuffer(const void* data, std::size_t size);
    // Reads `stream` to its end and parses it as LoadBuffer does; false also when a read fails.
    bool Load(DomByteStream& stream);
    // Reads the file at `path` and parses it; false also when the file cannot be read.
    bool LoadFile(const std::string& path);
    // Why the last load failed; an empty reason after a successful load.
    const DomParseError& ParseError() const { return parseError_; }

    // Writes the whole document (UTF-8, declaration, tab indentation) to `stream`. False when the
    // stream does not take every byte.
    bool Save(DomByteStream& stream) const;
    // Writes the whole document to `path`, replacing the file only when complete; false on failure
    // (the previous file untouched).
    bool SaveFile(const std::string& path) const;

    // The document as the text Save writes.
    std::string ToText() const;

private:
    bool Fail(const std::string& reason, const char* data, std::size_t size, std::size_t offset);

    std::shared_ptr<DomTree> tree_;
    DomParseError parseError_;
};

} // namespace jorvo
