#include "document/XMLArchive.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <new>
#include <optional>

#include "document/DocumentMessages.h"
#include "document/DomDocument.h"
#include "document/XMLFileStream.h"
#include "platform/ShellServices.h"

namespace jorvo {
namespace {

// The document all live archives share; created on demand, deleted with the last archive. A raw
// pointer so that archives destroyed during program exit never see it destroyed first.
constinit DomDocument* sharedDocument = nullptr;
constinit int liveArchives = 0;

void ShowFileMessage(const char* format, const std::string& path)
{
    Shell().MessageBox(FormatMessageText(format, path));
}

bool EnsureSharedDocument()
{
    if (sharedDocument != nullptr)
        return true;
    sharedDocument = new (std::nothrow) DomDocument();
    if (sharedDocument == nullptr) {
        Shell().MessageBox(DocumentMessages::kXmlDocumentCreateFailed);
        return false;
    }
    return true;
}

std::string Trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Decimal integer text with an optional sign, blanks around it allowed; no value when the text
// is anything else or beyond 64 bits.
std::optional<long long> ParseInteger(const std::string& text)
{
    const std::string number = Trimmed(text);
    const char* begin = number.data();
    const char* end = begin + number.size();
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    long long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// True or False in any letter case, or a decimal number (non-zero is true); no value otherwise.
std::optional<bool> ParseBoolean(const std::string& text)
{
    std::string word = Trimmed(text);
    for (char& c : word)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (word == "true")
        return true;
    if (word == "false")
        return false;
    std::size_t at = (!word.empty() && (word[0] == '+' || word[0] == '-')) ? 1 : 0;
    bool digits = false, nonZero = false, point = false;
    for (; at < word.size(); ++at) {
        const char c = word[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            nonZero = nonZero || c != '0';
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    return nonZero;
}

// A hexadecimal digit's value; any other character counts as 0.
int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

std::uint8_t HexByte(const std::string& text, std::size_t at)
{
    return static_cast<std::uint8_t>(HexDigit(text[at]) * 16 + HexDigit(text[at + 1]));
}

} // namespace

CXMLArchive::CXMLArchive()
{
    ++liveArchives;
}

CXMLArchive::CXMLArchive(const CXMLArchive& other)
    : owner_(other.owner_), version_(other.version_), loading_(other.loading_), path_(other.path_),
      current_(other.current_)
{
    ++liveArchives;
}

CXMLArchive& CXMLArchive::operator=(const CXMLArchive& other) = default;

CXMLArchive::~CXMLArchive()
{
    if (--liveArchives == 0) {
        delete sharedDocument;
        sharedDocument = nullptr;
    }
}

bool CXMLArchive::Open(void* owner, const std::string& path, int mode)
{
    owner_ = owner;
    path_ = path;
    loading_ = mode != kStore;
    if (!EnsureSharedDocument())
        return false;
    if (!loading_)
        return true;

    CXMLFileStream stream;
    if (!stream.OpenForReading(path)) {
        ShowFileMessage(DocumentMessages::kErrorLoadingFile, path);
        return false;
    }
    if (!sharedDocument->Load(stream)) {
        ShowFileMessage(DocumentMessages::kErrorReadingFile, path);
        return false;
    }
    current_ = sharedDocument->DocumentElement();
    return true;
}

bool CXMLArchive::Save()
{
    if (loading_ || sharedDocument == nullptr)
        return false;
    CXMLFileStream stream;
    if (!stream.OpenForWriting(path_)) {
        ShowFileMessage(DocumentMessages::kErrorSavingFile, path_);
        return false;
    }
    if (!sharedDocument->Save(stream)) {
        ShowFileMessage(DocumentMessages::kErrorWritingFile, path_);
        return false;
    }
    // Only a complete file replaces the previous one.
    if (!stream.Publish()) {
        ShowFileMessage(DocumentMessages::kErrorSavingFile, path_);
        return false;
    }
    return true;
}

bool CXMLArchive::Reset()
{
    if (liveArchives != 1)
        return false;
    DomDocument* fresh = new (std::nothrow) DomDocument();
    if (fresh == nullptr) {
        Shell().MessageBox(DocumentMessages::kXmlDocumentCreateFailed);
        return false;
    }
    delete sharedDocument;
    sharedDocument = fresh;
    owner_ = nullptr;
    version_ = 0;
    loading_ = false;
    current_ = DomNode();
    return true;
}

bool CXMLArchive::CreateRoot(const std::string& name)
{
    if (sharedDocument == nullptr)
        return false;
    const DomNode root = sharedDocument->CreateElement(name);
    if (!sharedDocument->AsNode().AppendChild(root))
        return false;
    current_ = root;
    return true;
}

bool CXMLArchive::GetRootName(std::string& name) const
{
    if (sharedDocument == nullptr)
        return false;
    const DomNode root = sharedDocument->DocumentElement();
    if (!root)
        return false;
    name = root.TagName();
    return true;
}

bool CXMLArchive::CreateChild(const std::string& name)
{
    if (sharedDocument == nullptr)
        return false;
    const DomNode child = sharedDocument->CreateElement(name);
    if (!current_.AppendChild(child))
        return false;
    current_ = child;
    return true;
}

bool CXMLArchive::FindChild(const std::string& name, DomNode& node) const
{
    const std::optional<DomNode> found = current_.SelectSingleNode("./" + name);
    if (!found || found->IsNull())
        return false;
    node = *found;
    return true;
}

bool CXMLArchive::Descend(const std::string& name)
{
    return FindChild(name, current_);
}

bool CXMLArchive::IsCurrent(const std::string& name) const
{
    return current_.Type() == DomNodeType::Element && current_.TagName() == name;
}

bool CXMLArchive::GetCurrentName(std::string& name) const
{
    name = current_.TagName();
    return !current_.IsNull();
}

bool CXMLArchive::GetChildList(const std::string& name, DomNodeList& list) const
{
    DomNode container;
    if (!FindChild(name, container))
        return false;
    list = container.ChildNodes();
    return true;
}

bool CXMLArchive::SelectChildren(const std::string& name, DomNodeList& list) const
{
    std::optional<DomNodeList> found = current_.SelectNodes("./" + name);
    if (!found)
        return false;
    list = std::move(*found);
    return true;
}

bool CXMLArchive::NextNode(DomNodeList& list, DomNode& node) const
{
    const DomNode next = list.NextNode();
    if (!next)
        return false;
    node = next;
    return true;
}

bool CXMLArchive::WriteText(const std::string& name, const std::string& text)
{
    return sharedDocument != nullptr && current_.SetAttribute(name, text);
}

bool CXMLArchive::Write(const std::string& name, bool value)
{
    return WriteText(name, value ? "True" : "False");
}

bool CXMLArchive::Write(const std::string& name, int value)
{
    return WriteText(name, std::to_string(value));
}

bool CXMLArchive::Write(const std::string& name, long value)
{
    // Stored values are 32-bit; a wider one would not read back.
    if (value < INT32_MIN || value > INT32_MAX)
        return false;
    return WriteText(name, std::to_string(value));
}

bool CXMLArchive::Write(const std::string& name, std::uint8_t value)
{
    return WriteText(name, std::to_string(value));
}

bool CXMLArchive::Write(const std::string& name, std::uint16_t value)
{
    return WriteText(name, std::to_string(value));
}

bool CXMLArchive::Write(const std::string& name, std::uint32_t value)
{
    return WriteText(name, std::to_string(value));
}

bool CXMLArchive::Write(const std::string& name, const std::string& value)
{
    return WriteText(name, value);
}

bool CXMLArchive::Write(const std::string& name, const char* value)
{
    return value != nullptr && WriteText(name, value);
}

bool CXMLArchive::Write(const std::string& name, Colour value)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%.2X%.2X%.2X", static_cast<unsigned>(value.Red()),
                  static_cast<unsigned>(value.Green()), static_cast<unsigned>(value.Blue()));
    return WriteText(name, text);
}

bool CXMLArchive::ReadSigned(const std::string& name, long long low, long long high, long long& number) const
{
    const std::optional<std::string> text = current_.GetAttribute(name);
    if (!text)
        return false;
    const std::optional<long long> parsed = ParseInteger(*text);
    if (!parsed || *parsed < low || *parsed > high)
        return false;
    number = *parsed;
    return true;
}

bool CXMLArchive::ReadUnsigned(const std::string& name, unsigned long long high, unsigned long long& number) const
{
    long long parsed = 0;
    if (!ReadSigned(name, 0, static_cast<long long>(high), parsed))
        return false;
    number = static_cast<unsigned long long>(parsed);
    return true;
}

bool CXMLArchive::Read(const std::string& name, bool& value) const
{
    const std::optional<std::string> text = current_.GetAttribute(name);
    const std::optional<bool> parsed = text ? ParseBoolean(*text) : std::nullopt;
    if (!parsed)
        return false;
    value = *parsed;
    return true;
}

bool CXMLArchive::Read(const std::string& name, std::int8_t& value) const
{
    long long number = 0;
    if (!ReadSigned(name, INT16_MIN, INT16_MAX, number))
        return false;
    value = static_cast<std::int8_t>(static_cast<std::uint8_t>(number & 0xFF));
    return true;
}

bool CXMLArchive::Read(const std::string& name, int& value) const
{
    long long number = 0;
    if (!ReadSigned(name, INT32_MIN, INT32_MAX, number))
        return false;
    value = static_cast<int>(number);
    return true;
}

bool CXMLArchive::Read(const std::string& name, long& value) const
{
    long long number = 0;
    if (!ReadSigned(name, INT32_MIN, INT32_MAX, number))
        return false;
    value = static_cast<long>(number);
    return true;
}

bool CXMLArchive::Read(const std::string& name, std::uint8_t& value) const
{
    unsigned long long number = 0;
    if (!ReadUnsigned(name, UINT8_MAX, number))
        return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

bool CXMLArchive::Read(const std::string& name, std::uint16_t& value) const
{
    unsigned long long number = 0;
    if (!ReadUnsigned(name, UINT16_MAX, number))
        return false;
    value = static_cast<std::uint16_t>(number);
    return true;
}

bool CXMLArchive::Read(const std::string& name, std::uint32_t& value) const
{
    unsigned long long number = 0;
    if (!ReadUnsigned(name, UINT32_MAX, number))
        return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool CXMLArchive::Read(const std::string& name, std::string& value) const
{
    const std::optional<std::string> text = current_.GetAttribute(name);
    if (!text)
        return false;
    value = *text;
    return true;
}

bool CXMLArchive::Read(const std::string& name, Colour& value) const
{
    const std::optional<std::string> text = current_.GetAttribute(name);
    if (!text || text->size() != 7 || (*text)[0] != '#')
        return false;
    value = Colour::FromRgb(HexByte(*text, 1), HexByte(*text, 3), HexByte(*text, 5));
    return true;
}

int CXMLArchive::LiveCount()
{
    return liveArchives;
}

bool CXMLArchive::HasSharedDocument()
{
    return sharedDocument != nullptr;
}

} // namespace jorvo
