#pragma once
// The XML archive: the cursor through which every persistent class writes and reads its XML
// element. All live archives share one document; each holds its mode, its file and a current
// node. A persistent class writes both directions with one function:
//
//     void SeqEventNote::SerializeXML(CXMLArchive& archive)
//     {
//         if (!archive.IsLoading())
//             archive.CreateChild("SeqEventNote");
//         archive.Serialize("Velocity", velocity_);   // writes when storing, reads when loading
//     }
//
// A caller keeps its own position by handing each child a copy of its archive. UI thread only.
#include <cstdint>
#include <string>

#include "document/DomNode.h"

namespace jorvo {

// A packed red/green/blue value, red in the low byte.
struct Colour {
    std::uint32_t value = 0;

    // The colour of the three components.
    static constexpr Colour FromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
    {
        return Colour{static_cast<std::uint32_t>(red | (green << 8) | (blue << 16))};
    }
    constexpr std::uint8_t Red() const { return static_cast<std::uint8_t>(value & 0xFF); }
    constexpr std::uint8_t Green() const { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
    constexpr std::uint8_t Blue() const { return static_cast<std::uint8_t>((value >> 16) & 0xFF); }
    constexpr bool operator==(const Colour&) const = default;
};

class CXMLArchive {
public:
    // The mode of Open that stores; any other value loads.
    static constexpr int kStore = 1;
    // A mode of Open that loads.
    static constexpr int kLoad = 0;

    // An archive in storing mode with no owner, path or current node.
    CXMLArchive();
    // A copy at the same position (owner, version, mode, path and current node).
    CXMLArchive(const CXMLArchive& other);
    CXMLArchive& operator=(const CXMLArchive& other);
    // Releases the shared document when this was the last live archive.
    ~CXMLArchive();

    // Opens `path` for `owner` (opaque, may be null): mode kStore prepares an empty document for
    // writing (the file is written by Save); any other mode loads the file and positions the
    // archive on its document element. False, with a message shown, when the document cannot be
    // created or the file cannot be opened or read; the shared document is then unchanged.
    bool Open(void* owner, const std::string& path, int mode);
    // Writes the shared document to the path of Open, replacing the file only when complete.
    // False when loading, without a document, or (with a message shown) when writing fails; the
    // previous file is then intact.
    bool Save();
    // With exactly one live archive: starts a new empty shared document and clears owner,
    // version, mode (storing) and current node. False (nothing changed) otherwise.
    bool Reset();
    // True when the archive reads.
    bool IsLoading() const { return loading_; }

    // Creates the document element `name` and makes it current. False without a document, when
    // there already is a document element, or for an invalid name.
    bool CreateRoot(const std::string& name);
    // The tag name of the document element; false (name unchanged) when there is none.
    bool GetRootName(std::string& name) const;

    // Appends element `name` as the last child of the current node and makes it current. False
    // (nothing changed) without a current element or for an invalid name.
    bool CreateChild(const std::string& name);
    // The first child element `name` of the current node; false when there is none.
    bool FindChild(const std::string& name, DomNode& node) const;
    // Makes the first child element `name` current; false (current unchanged) when there is none.
    bool Descend(const std::string& name);
    // True when the current node's tag name is exactly `name`.
    bool IsCurrent(const std::string& name) const;
    // The current node's tag name in `name` (empty when none); false when there is no current node.
    bool GetCurrentName(std::string& name) const;
    // Every child node of the first child element `name`; false (list unchanged) when it is missing.
    bool GetChildList(const std::string& name, DomNodeList& list) const;
    // Every child element `name` of the current node (possibly none); false without a current
    // node or for a name that is not a valid path step.
    bool SelectChildren(const std::string& name, DomNodeList& list) const;
    // The next node of `list` in `node`; false at the end.
    bool NextNode(DomNodeList& list, DomNode& node) const;
    // Makes `node` the current node.
    void SetCurrentNode(const DomNode& node) { current_ = node; }
    // The current node; an empty handle when there is none.
    const DomNode& GetCurrentNode() const { return current_; }

    // The format version of the document being read or written (0 by default).
    int GetVersion() const { return version_; }
    void SetVersion(int version) { version_ = version; }
    // The owner given to Open (opaque, may be null).
    void* GetOwner() const { return owner_; }
    // The path given to Open.
    const std::string& GetPath() const { return path_; }

    // Attribute writes on the current element, replacing one of the same name. False without a
    // current element or shared document, or for an invalid name. Booleans are "True"/"False",
    // numbers decimal, colours "#RRGGBB". A long beyond 32 bits is refused.
    bool Write(const std::string& name, bool value);
    bool Write(const std::string& name, int value);
    bool Write(const std::string& name, long value);
    bool Write(const std::string& name, std::uint8_t value);
    bool Write(const std::string& name, std::uint16_t value);
    bool Write(const std::string& name, std::uint32_t value);
    bool Write(const std::string& name, const std::string& value);
    bool Write(const std::string& name, const char* value);
    bool Write(const std::string& name, Colour value);

    // Attribute reads from the current element. False, with `value` unchanged, when there is no
    // current element, no such attribute, or its text does not convert to the type (numbers out
    // of the type's range included). Booleans accept True/False in any case and numbers
    // (non-zero is true); a signed 8-bit value is read as 16-bit and keeps the low 8 bits.
    bool Read(const std::string& name, bool& value) const;
    bool Read(const std::string& name, std::int8_t& value) const;
    bool Read(const std::string& name, int& value) const;
    bool Read(const std::string& name, long& value) const;
    bool Read(const std::string& name, std::uint8_t& value) const;
    bool Read(const std::string& name, std::uint16_t& value) const;
    bool Read(const std::string& name, std::uint32_t& value) const;
    bool Read(const std::string& name, std::string& value) const;
    bool Read(const std::string& name, Colour& value) const;

    // Writes `value` when storing, reads it when loading; the result of that Write or Read.
    template <class T>
    bool Serialize(const std::string& name, T& value)
    {
        return loading_ ? Read(name, value) : Write(name, value);
    }

    // The number of archives alive in the process.
    static int LiveCount();
    // True while the shared document exists.
    static bool HasSharedDocument();

private:
    bool WriteText(const std::string& name, const std::string& text);
    bool ReadSigned(const std::string& name, long long low, long long high, long long& number) const;
    bool ReadUnsigned(const std::string& name, unsigned long long high, unsigned long long& number) const;

    void* owner_ = nullptr;
    int version_ = 0;
    bool loading_ = false;
    std::string path_;
    DomNode current_;
};

} // namespace jorvo
