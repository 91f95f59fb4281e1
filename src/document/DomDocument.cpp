#include "document/DomDocument.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "document/DomTree.h"
#include "platform/AtomicFileWriter.h"

namespace jorvo {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

class StringWriter : public pugi::xml_writer {
public:
    std::string text;
    void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
};

// Line and column (from 1) of byte `offset`; CR, LF and CR LF end a line, and a character of
// several UTF-8 bytes counts once.
void LineAndColumn(const char* data, std::size_t size, std::size_t offset, int& line, int& column)
{
    offset = std::min(offset, size);
    line = 1;
    column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        const bool lineEnd = c == '\n' || (c == '\r' && (i + 1 >= size || data[i + 1] != '\n'));
        if (lineEnd) {
            ++line;
            column = 1;
        } else if (c != '\r' && (c & 0xC0) != 0x80) {
            ++column;
        }
    }
}

// pugixml accepts several top-level elements; a document has exactly one. Returns the second
// one, or an empty handle.
pugi::xml_node SecondTopLevelElement(const pugi::xml_document& document)
{
    int elements = 0;
    for (pugi::xml_node child : document.children()) {
        if (child.type() == pugi::node_element && ++elements == 2)
            return child;
    }
    return {};
}

} // namespace

DomDocument::DomDocument() : tree_(std::make_shared<DomTree>()) {}

DomNode DomDocument::AsNode() const
{
    return DomNode(tree_, tree_->document);
}

DomNode DomDocument::DocumentElement() const
{
    const pugi::xml_node element = tree_->DocumentElement();
    return element ? DomNode(tree_, element) : DomNode();
}

DomNode DomDocument::CreateElement(const std::string& name) const
{
    if (!IsXmlName(name))
        return {};
    const pugi::xml_node element = tree_->Holder().append_child(name.c_str());
    return element ? DomNode(tree_, element) : DomNode();
}

bool DomDocument::LoadBuffer(const void* data, std::size_t size)
{
    const char* bytes = size > 0 ? static_cast<const char*>(data) : "";
    auto tree = std::make_shared<DomTree>();
    const pugi::xml_parse_result result =
        tree->document.load_buffer(bytes, size, pugi::parse_default, pugi::encoding_auto);
    if (!result)
        return Fail(result.description(), bytes, size, static_cast<std::size_t>(std::max<ptrdiff_t>(result.offset, 0)));
    if (const pugi::xml_node second = SecondTopLevelElement(tree->document)) {
        // The offset names the tag's name; the error is at its "<".
        const ptrdiff_t nameOffset = second.offset_debug();
        const std::size_t offset = nameOffset > 0 ? static_cast<std::size_t>(nameOffset - 1) : size;
        return Fail("Only one document element is allowed", bytes, size, offset);
    }
    tree_ = std::move(tree);
    parseError_ = {};
    return true;
}

bool DomDocument::Load(DomByteStream& stream)
{
    std::string bytes;
    std::vector<char> chunk(kReadChunk);
    for (;;) {
        std::size_t count = 0;
        const StreamStatus status = stream.Read(chunk.data(), chunk.size(), &count);
        if ((status != StreamStatus::Success && status != StreamStatus::False) || count > chunk.size())
            return Fail("The stream could not be read", bytes.data(), bytes.size(), bytes.size());
        bytes.append(chunk.data(), count);
        if (status == StreamStatus::False || count == 0)
            break;
    }
    return LoadBuffer(bytes.data(), bytes.size());
}

bool DomDocument::LoadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail("The file could not be opened", "", 0, 0);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Fail("The file could not be read", "", 0, 0);
    return LoadBuffer(bytes.data(), bytes.size());
}

std::string DomDocument::ToText() const
{
    StringWriter writer;
    writer.text = kDeclaration;
    for (pugi::xml_node child : tree_->document.children()) {
        if (!tree_->IsHolder(child))
            child.print(writer, "\t", pugi::format_default, pugi::encoding_utf8, 0);
    }
    return std::move(writer.text);
}

bool DomDocument::Save(DomByteStream& stream) const
{
    const std::string text = ToText();
    std::size_t count = 0;
    return stream.Write(text.data(), text.size(), &count) == StreamStatus::Success && count == text.size();
}

bool DomDocument::SaveFile(const std::string& path) const
{
    const std::string text = ToText();
    AtomicFileWriter writer(path);
    return writer.Open() && writer.Write(text.data(), text.size()) && writer.Commit();
}

bool DomDocument::Fail(const std::string& reason, const char* data, std::size_t size, std::size_t offset)
{
    parseError_.reason = reason;
    parseError_.offset = std::min(offset, size);
    LineAndColumn(data, size, offset, parseError_.line, parseError_.column);
    return false;
}

} // namespace jorvo
