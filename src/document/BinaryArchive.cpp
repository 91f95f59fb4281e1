#include "document/BinaryArchive.h"

#include <algorithm>
#include <cstring>

namespace jorvo {

namespace {

using Cause = ArchiveException::Cause;

constexpr std::uint8_t LengthEscapeByte = 0xFF;
constexpr std::uint16_t WideMark = 0xFFFE;
constexpr std::uint16_t LongLengthMark = 0xFFFF;
constexpr std::uint16_t NullTag = 0x0000;
constexpr std::uint16_t NewClassTag = 0xFFFF;
constexpr std::uint16_t ClassTagBit = 0x8000;
constexpr std::uint16_t BigIndexTag = 0x7FFF;
constexpr std::uint32_t BigClassTagBit = 0x80000000;
constexpr std::uint32_t MaxIndex = 0x7FFFFFFF;
constexpr char32_t Replacement = 0xFFFD;

void AppendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes the code point starting at `position` and moves past it. A malformed sequence (bad lead
// byte, missing continuation, overlong form, surrogate, beyond U+10FFFF) gives U+FFFD and skips
// only the bytes that were plausibly part of it.
char32_t NextCodePoint(std::string_view text, std::size_t& position)
{
    const auto lead = static_cast<unsigned char>(text[position++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return Replacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (position >= text.size() || (static_cast<unsigned char>(text[position]) & 0xC0) != 0x80)
            return Replacement;
        code = (code << 6) | (static_cast<unsigned char>(text[position++]) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || surrogate || code > 0x10FFFF ? Replacement : code;
}

std::vector<std::uint16_t> Utf8ToUtf16(std::string_view text)
{
    std::vector<std::uint16_t> units;
    units.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const char32_t code = NextCodePoint(text, position);
        if (code < 0x10000) {
            units.push_back(static_cast<std::uint16_t>(code));
        } else {
            units.push_back(static_cast<std::uint16_t>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
    return units;
}

// Unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    const std::size_t count = bytes.size() / 2;
    const auto unitAt = [&bytes](std::size_t i) { return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = unitAt(i);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < count && unitAt(i + 1) >= 0xDC00 && unitAt(i + 1) <= 0xDFFF) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(text, high || low ? Replacement : unit);
        }
    }
    return text;
}

std::string Latin1ToUtf8(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const std::uint8_t byte : bytes)
        AppendUtf8(text, byte);
    return text;
}

// Counts nesting of objects being read; too deep a nesting is a damaged file.
class NestingGuard {
public:
    NestingGuard(int& depth, int limit, const std::string& fileName) : depth_(depth)
    {
        if (++depth_ > limit) {
            --depth_;
            throw ArchiveException(Cause::Generic, fileName);
        }
    }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};

} // namespace

BinaryArchive::BinaryArchive(ArchiveStream& stream, Mode mode, std::size_t bufferSize)
    : stream_(stream), mode_(mode), bufferSize_(std::max<std::size_t>(bufferSize, 1))
{
    buffer_.reserve(bufferSize_);
}

BinaryArchive::~BinaryArchive()
{
    if (open_ && IsStoring()) {
        try {
            FlushStore();
        } catch (...) {
            // Destructors must not throw; Close is the call that reports a failed flush.
        }
    }
}

void BinaryArchive::Flush()
{
    RequireOpen();
    if (IsStoring()) {
        FlushStore();
        return;
    }
    const std::size_t unread = buffer_.size() - readPosition_;
    stream_.Seek(stream_.Position() - unread);
    buffer_.clear();
    readPosition_ = 0;
}

void BinaryArchive::Close()
{
    Flush();
    open_ = false;
}

void BinaryArchive::WriteByte(std::uint8_t value)
{
    WriteBytes(&value, 1);
}

void BinaryArchive::WriteWord(std::uint16_t value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    WriteBytes(bytes, sizeof bytes);
}

void BinaryArchive::WriteDword(std::uint32_t value)
{
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    WriteBytes(bytes, sizeof bytes);
}

std::uint8_t BinaryArchive::ReadByte()
{
    std::uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
}

std::uint16_t BinaryArchive::ReadWord()
{
    std::uint8_t bytes[2] = {};
    ReadBytes(bytes, sizeof bytes);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t BinaryArchive::ReadDword()
{
    std::uint8_t bytes[4] = {};
    ReadBytes(bytes, sizeof bytes);
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void BinaryArchive::WriteBytes(const void* data, std::size_t size)
{
    RequireMode(Mode::Store);
    if (buffer_.size() + size > bufferSize_)
        FlushStore();
    if (size >= bufferSize_) {
        stream_.Write(data, size);
        return;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    buffer_.insert(buffer_.end(), bytes, bytes + size);
}

void BinaryArchive::ReadBytes(void* data, std::size_t size)
{
    RequireMode(Mode::Load);
    auto* out = static_cast<std::uint8_t*>(data);
    while (size > 0) {
        if (readPosition_ == buffer_.size()) {
            if (size >= bufferSize_) {
                if (stream_.Read(out, size) != size)
                    Fail(Cause::EndOfFile);
                return;
            }
            FillBuffer();
        }
        const std::size_t count = std::min(size, buffer_.size() - readPosition_);
        std::memcpy(out, buffer_.data() + readPosition_, count);
        readPosition_ += count;
        out += count;
        size -= count;
    }
}

void BinaryArchive::WriteString(std::string_view text)
{
    const std::vector<std::uint16_t> units = Utf8ToUtf16(text);
    if (units.size() > 0xFFFFFFFFu)
        Fail(Cause::Generic);
    const auto length = static_cast<std::uint32_t>(units.size());
    WriteByte(LengthEscapeByte);
    WriteWord(WideMark);
    if (length < LengthEscapeByte) {
        WriteByte(static_cast<std::uint8_t>(length));
    } else if (length < WideMark) {
        WriteByte(LengthEscapeByte);
        WriteWord(static_cast<std::uint16_t>(length));
    } else {
        WriteByte(LengthEscapeByte);
        WriteWord(LongLengthMark);
        WriteDword(length);
    }
    for (const std::uint16_t unit : units)
        WriteWord(unit);
}

std::string BinaryArchive::ReadString()
{
    bool wide = false;
    const std::uint64_t length = ReadStringLength(wide);
    const std::uint64_t size = wide ? 2 * length : length;
    RequireAvailable(size);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    ReadBytes(bytes.data(), bytes.size());
    return wide ? Utf16LeToUtf8(bytes) : Latin1ToUtf8(bytes);
}

// The length prefix: a BYTE below 0xFF; else a WORD, which as 0xFFFE is the wide mark followed by
// the length prefix proper; a WORD of 0xFFFF is followed by the DWORD length.
std::uint32_t BinaryArchive::ReadStringLength(bool& wide)
{
    wide = false;
    std::uint8_t shortLength = ReadByte();
    if (shortLength < LengthEscapeByte)
        return shortLength;
    std::uint16_t length = ReadWord();
    if (length == WideMark) {
        wide = true;
        shortLength = ReadByte();
        if (shortLength < LengthEscapeByte)
            return shortLength;
        length = ReadWord();
    }
    return length < LongLengthMark ? length : ReadDword();
}

void BinaryArchive::WriteCount(std::uint32_t count)
{
    if (count < LongLengthMark) {
        WriteWord(static_cast<std::uint16_t>(count));
        return;
    }
    WriteWord(LongLengthMark);
    WriteDword(count);
}

std::uint32_t BinaryArchive::ReadCount()
{
    const std::uint16_t shortCount = ReadWord();
    const std::uint32_t count = shortCount < LongLengthMark ? shortCount : ReadDword();
    RequireAvailable(count);
    return count;
}

void BinaryArchive::RequireAvailable(std::uint64_t size)
{
    if (size > BytesAvailable())
        Fail(Cause::EndOfFile);
}

std::uint64_t BinaryArchive::BytesAvailable() const
{
    RequireMode(Mode::Load);
    const std::uint64_t size = stream_.Size();
    const std::uint64_t position = stream_.Position();
    return (buffer_.size() - readPosition_) + (size > position ? size - position : 0);
}

std::uint32_t BinaryArchive::CheckedCount(std::uint64_t count)
{
    if (count > 0xFFFFFFFFu)
        throw ArchiveException(Cause::Generic);
    return static_cast<std::uint32_t>(count);
}

void BinaryArchive::WriteObject(PersistentObject* object)
{
    RequireMode(Mode::Store);
    if (object == nullptr) {
        WriteWord(NullTag);
        return;
    }
    if (const auto found = storedIndices_.find(object); found != storedIndices_.end()) {
        WriteIndex(found->second, false);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    storedIndices_.emplace(object, NextIndex());
    object->Serialize(*this);
}

// A class that could not be created again from its stored name (abstract, or not registered
// under its name, as when a derived class lacks its declaration) is refused here rather than
// written into a file that cannot be read back.
void BinaryArchive::WriteClass(const RuntimeClass& runtimeClass)
{
    if (const auto found = storedIndices_.find(&runtimeClass); found != storedIndices_.end()) {
        WriteIndex(found->second, true);
        return;
    }
    const std::string_view name = runtimeClass.Name();
    if (runtimeClass.IsAbstract() || RuntimeClass::FromName(name) != &runtimeClass || name.size() > 0xFFFF)
        Fail(Cause::BadClass);
    WriteWord(NewClassTag);
    WriteWord(runtimeClass.Schema());
    WriteWord(static_cast<std::uint16_t>(name.size()));
    WriteBytes(name.data(), name.size());
    storedIndices_.emplace(&runtimeClass, NextIndex());
}

void BinaryArchive::WriteIndex(std::uint32_t index, bool isClass)
{
    if (index < BigIndexTag) {
        WriteWord(static_cast<std::uint16_t>(isClass ? (ClassTagBit | index) : index));
        return;
    }
    WriteWord(BigIndexTag);
    WriteDword(isClass ? (BigClassTagBit | index) : index);
}

std::uint32_t BinaryArchive::NextIndex()
{
    if (nextIndex_ > MaxIndex)
        Fail(Cause::Generic);
    return nextIndex_++;
}

std::unique_ptr<PersistentObject> BinaryArchive::ReadNewObject(const RuntimeClass& expected)
{
    RequireMode(Mode::Load);
    const ReferenceTag tag = ReadTag();
    if (tag.kind == ReferenceTag::Kind::Null)
        return nullptr;
    if (tag.kind == ReferenceTag::Kind::Object)
        Fail(Cause::BadIndex);   // already read, so already owned by someone else
    const RuntimeClass& runtimeClass = ReadClass(tag, expected);
    std::unique_ptr<PersistentObject> object = runtimeClass.CreateObject();
    if (!object)
        Fail(Cause::BadClass);
    const std::uint32_t index = NextIndex();
    loadedEntries_.push_back(LoadedEntry{nullptr, object.get(), true});
    try {
        NestingGuard guard(nesting_, MaxNesting, stream_.Name());
        object->Serialize(*this);
    } catch (...) {
        // The object dies with the unique_ptr; a later reference to it must not find it.
        loadedEntries_[index - 1].object = nullptr;
        throw;
    }
    return object;
}

PersistentObject* BinaryArchive::ReadKnownObject(const RuntimeClass& expected)
{
    RequireMode(Mode::Load);
    const ReferenceTag tag = ReadTag();
    if (tag.kind == ReferenceTag::Kind::Null)
        return nullptr;
    if (tag.kind != ReferenceTag::Kind::Object)
        Fail(Cause::BadIndex);   // a new object here would have no owner
    const LoadedEntry& entry = EntryAt(tag.index);
    if (!entry.isObject || entry.object == nullptr)
        Fail(Cause::BadIndex);
    if (!entry.object->IsKindOf(expected))
        Fail(Cause::BadClass);
    return entry.object;
}

BinaryArchive::ReferenceTag BinaryArchive::ReadTag()
{
    using Kind = ReferenceTag::Kind;
    const std::uint16_t word = ReadWord();
    if (word == NullTag)
        return {Kind::Null, 0};
    if (word == NewClassTag)
        return {Kind::NewClass, 0};
    if (word == BigIndexTag) {
        const std::uint32_t big = ReadDword();
        return (big & BigClassTagBit) != 0 ? ReferenceTag{Kind::Class, big & ~BigClassTagBit}
                                           : ReferenceTag{Kind::Object, big};
    }
    if ((word & ClassTagBit) != 0)
        return {Kind::Class, static_cast<std::uint32_t>(word & ~ClassTagBit)};
    return {Kind::Object, word};
}

const RuntimeClass& BinaryArchive::ReadClass(const ReferenceTag& tag, const RuntimeClass& expected)
{
    const RuntimeClass* runtimeClass = nullptr;
    if (tag.kind == ReferenceTag::Kind::NewClass) {
        runtimeClass = &ReadNewClassRecord();
    } else {
        const LoadedEntry& entry = EntryAt(tag.index);
        if (entry.isObject)
            Fail(Cause::BadIndex);
        runtimeClass = entry.runtimeClass;
    }
    if (!runtimeClass->IsDerivedFrom(expected))
        Fail(Cause::BadClass);
    return *runtimeClass;
}

// Any stored schema is accepted: every class reads its own fields the same way whatever it says.
const RuntimeClass& BinaryArchive::ReadNewClassRecord()
{
    ReadWord();   // schema
    const std::uint16_t length = ReadWord();
    RequireAvailable(length);
    std::string name(length, '\0');
    ReadBytes(name.data(), name.size());
    const RuntimeClass* runtimeClass = RuntimeClass::FromName(name);
    if (runtimeClass == nullptr)
        Fail(Cause::BadClass);
    loadedEntries_.push_back(LoadedEntry{runtimeClass, nullptr, false});
    NextIndex();
    return *runtimeClass;
}

BinaryArchive::LoadedEntry& BinaryArchive::EntryAt(std::uint32_t index)
{
    if (index == 0 || index > loadedEntries_.size())
        Fail(Cause::BadIndex);
    return loadedEntries_[index - 1];
}

void BinaryArchive::RequireOpen() const
{
    if (!open_)
        throw ArchiveException(Cause::Generic);
}

void BinaryArchive::RequireMode(Mode mode) const
{
    RequireOpen();
    if (mode_ != mode)
        Fail(Cause::Generic);
}

void BinaryArchive::FillBuffer()
{
    buffer_.resize(bufferSize_);
    const std::size_t count = stream_.Read(buffer_.data(), bufferSize_);
    buffer_.resize(count);
    readPosition_ = 0;
    if (count == 0)
        Fail(Cause::EndOfFile);
}

void BinaryArchive::FlushStore()
{
    if (buffer_.empty())
        return;
    stream_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void BinaryArchive::Fail(ArchiveException::Cause cause) const
{
    throw ArchiveException(cause, stream_.Name());
}

} // namespace jorvo
