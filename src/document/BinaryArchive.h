#pragma once
// The binary object archive: the byte layout that every persistent class's Serialize shares.
//
// Layout (all integers little-endian):
// - BYTE, WORD, DWORD: their bytes.
// - wide string: FF FE FF (the wide-string mark), then the length in UTF-16 units: a BYTE when
//   below 255; else FF and a WORD when below 0xFFFE; else FF FF FF and a DWORD; then the
//   characters as UTF-16LE without terminator. Text is UTF-8 in memory.
// - count: a WORD when below 0xFFFF, else FFFF and a DWORD.
// - object reference: 0000 for null; an object already written: its index (WORD below 0x7FFF,
//   else 7FFF and the DWORD index); a new object: its class (a class already written: WORD
//   0x8000|index, or 7FFF and DWORD 0x80000000|index from 0x7FFF on; a new class: FFFF, the
//   schema WORD, the name length WORD and the ASCII name), then the object's own fields.
//   One counter, starting at 1, numbers classes and objects together as they are first written.
// - object list: count, then each element as an object reference.
// - string-keyed map: count, then per entry the key (wide string) and the value (object reference).
// An object its parent embeds (the studio in the document, the song in the sequencer) is written
// by the parent calling its Serialize directly, with no class record and no index.
//
// Ownership when loading: an object created by ReadObject belongs to the caller (unique_ptr).
// The archive only remembers its address, to resolve later references to it; ReadReference gives
// such a non-owning pointer. Nothing is kept by the archive, so an exception leaks nothing.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "document/ArchiveException.h"
#include "document/ArchiveStreams.h"
#include "document/RuntimeClass.h"

namespace jorvo {

class BinaryArchive {
public:
    enum class Mode { Store, Load };

    static constexpr std::size_t DefaultBufferSize = 4096;

    // An archive over `stream` (not owned; must outlive the archive), which it stores to or
    // loads from from the stream's current position. `bufferSize` of 0 is taken as 1.
    BinaryArchive(ArchiveStream& stream, Mode mode, std::size_t bufferSize = DefaultBufferSize);
    // A storing archive still open is flushed (errors are swallowed: call Close to see them).
    ~BinaryArchive();
    BinaryArchive(const BinaryArchive&) = delete;
    BinaryArchive& operator=(const BinaryArchive&) = delete;

    // True for a storing archive.
    bool IsStoring() const { return mode_ == Mode::Store; }
    // True for a loading archive.
    bool IsLoading() const { return mode_ == Mode::Load; }

    // The stream the archive is bound to; call Flush before touching it directly.
    ArchiveStream& Stream() { return stream_; }

    // Storing: writes the buffered bytes to the stream. Loading: gives back the bytes read ahead,
    // so the stream stands exactly after the last byte the archive handed out. Either way the
    // stream may then be read, written or moved directly; the archive continues from there.
    void Flush();

    // Flushes and detaches from the stream; any later use raises ArchiveException (Generic).
    void Close();

    // Plain values. Reads raise ArchiveException (EndOfFile) past the end of the data.
    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteDword(std::uint32_t value);
    void WriteInt8(std::int8_t value) { WriteByte(static_cast<std::uint8_t>(value)); }
    void WriteInt16(std::int16_t value) { WriteWord(static_cast<std::uint16_t>(value)); }
    void WriteInt32(std::int32_t value) { WriteDword(static_cast<std::uint32_t>(value)); }
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::uint32_t ReadDword();
    std::int8_t ReadInt8() { return static_cast<std::int8_t>(ReadByte()); }
    std::int16_t ReadInt16() { return static_cast<std::int16_t>(ReadWord()); }
    std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadDword()); }

    // Raw bytes, for formats with their own layout. ReadBytes raises EndOfFile when fewer remain.
    void WriteBytes(const void* data, std::size_t size);
    void ReadBytes(void* data, std::size_t size);

    // Wide strings (UTF-8 in memory). Invalid UTF-8 is stored with U+FFFD in place of each bad
    // sequence; invalid UTF-16 read back likewise. A string stored without the wide mark is read
    // as 8-bit Latin-1 text. A length beyond the remaining data raises EndOfFile.
    void WriteString(std::string_view text);
    std::string ReadString();

    // List and map counts. A count larger than the bytes remaining raises EndOfFile.
    void WriteCount(std::uint32_t count);
    std::uint32_t ReadCount();

    // Raises ArchiveException (EndOfFile) unless at least `size` more bytes can be read. Use it
    // before trusting a count read with ReadDword (each item takes at least one byte).
    void RequireAvailable(std::uint64_t size);

    // The bytes left to read (loading only).
    std::uint64_t BytesAvailable() const;

    // Bidirectional field: writes `value` when storing, reads it into `value` when loading.
    void Field(std::uint8_t& value) { IsStoring() ? WriteByte(value) : void(value = ReadByte()); }
    void Field(std::uint16_t& value) { IsStoring() ? WriteWord(value) : void(value = ReadWord()); }
    void Field(std::uint32_t& value) { IsStoring() ? WriteDword(value) : void(value = ReadDword()); }
    void Field(std::int8_t& value) { IsStoring() ? WriteInt8(value) : void(value = ReadInt8()); }
    void Field(std::int16_t& value) { IsStoring() ? WriteInt16(value) : void(value = ReadInt16()); }
    void Field(std::int32_t& value) { IsStoring() ? WriteInt32(value) : void(value = ReadInt32()); }
    void Field(std::string& value) { IsStoring() ? WriteString(value) : void(value = ReadString()); }

    // Writes a reference to `object` (null allowed): its class and fields the first time, its
    // index after that.
    void WriteObject(PersistentObject* object);

    // Reads a reference to a new object and hands it over; null for a null reference. The object's
    // class must be T or derive from it (else BadClass); a class name not registered raises
    // BadClass; a reference to an object read before (which already has its owner) or to an index
    // never assigned raises BadIndex.
    template <class T>
    std::unique_ptr<T> ReadObject()
    {
        return std::unique_ptr<T>(static_cast<T*>(ReadNewObject(T::StaticRuntimeClass()).release()));
    }

    // Reads a reference to an object this archive has already read (owned elsewhere) and returns
    // it without ownership; null for a null reference. A new object here raises BadIndex (it
    // would have no owner); an object not of class T raises BadClass.
    template <class T>
    T* ReadReference()
    {
        return static_cast<T*>(ReadKnownObject(T::StaticRuntimeClass()));
    }

    // Writes a list: its count, then each element as an object reference. `objects` is any range
    // of raw pointers or unique_ptrs to persistent objects.
    template <class Range>
    void WriteObjectList(const Range& objects)
    {
        WriteCount(CountOf(objects));
        for (const auto& object : objects)
            WriteObject(PointerOf(object));
    }

    // Reads a list written by WriteObjectList; every element is a new object of class T (or null).
    template <class T>
    std::vector<std::unique_ptr<T>> ReadObjectList()
    {
        std::vector<std::unique_ptr<T>> objects;
        for (std::uint32_t remaining = ReadCount(); remaining > 0; --remaining)
            objects.push_back(ReadObject<T>());
        return objects;
    }

    // Writes a string-keyed map: its count, then per entry the key and the value reference.
    // `entries` is any range of pairs (key, pointer or unique_ptr), such as a std::map.
    template <class Range>
    void WriteObjectMap(const Range& entries)
    {
        WriteCount(CountOf(entries));
        for (const auto& [key, object] : entries) {
            WriteString(key);
            WriteObject(PointerOf(object));
        }
    }

    // Reads a map written by WriteObjectMap, entries in stored order (duplicate keys kept: the
    // caller decides which one wins).
    template <class T>
    std::vector<std::pair<std::string, std::unique_ptr<T>>> ReadObjectMap()
    {
        std::vector<std::pair<std::string, std::unique_ptr<T>>> entries;
        for (std::uint32_t remaining = ReadCount(); remaining > 0; --remaining) {
            std::string key = ReadString();
            entries.emplace_back(std::move(key), ReadObject<T>());
        }
        return entries;
    }

    // How deeply objects may nest inside one another when loading; deeper raises Generic, so a
    // damaged file cannot exhaust the stack.
    static constexpr int MaxNesting = 200;

private:
    // What one loading index stands for.
    struct LoadedEntry {
        const RuntimeClass* runtimeClass = nullptr;   // set for a class
        PersistentObject* object = nullptr;           // set for an object still alive
        bool isObject = false;
    };
    // A decoded object reference.
    struct ReferenceTag {
        enum class Kind { Null, Object, Class, NewClass } kind = Kind::Null;
        std::uint32_t index = 0;
    };

    template <class P>
    static PersistentObject* PointerOf(const P& pointer)
    {
        if constexpr (requires { pointer.get(); })
            return pointer.get();
        else
            return pointer;
    }
    template <class Range>
    static std::uint32_t CountOf(const Range& range)
    {
        return CheckedCount(static_cast<std::uint64_t>(std::size(range)));
    }
    static std::uint32_t CheckedCount(std::uint64_t count);

    std::unique_ptr<PersistentObject> ReadNewObject(const RuntimeClass& expected);
    PersistentObject* ReadKnownObject(const RuntimeClass& expected);
    ReferenceTag ReadTag();
    const RuntimeClass& ReadClass(const ReferenceTag& tag, const RuntimeClass& expected);
    const RuntimeClass& ReadNewClassRecord();
    LoadedEntry& EntryAt(std::uint32_t index);
    void WriteIndex(std::uint32_t index, bool isClass);
    void WriteClass(const RuntimeClass& runtimeClass);
    std::uint32_t NextIndex();

    void RequireOpen() const;
    void RequireMode(Mode mode) const;
    void FillBuffer();
    void FlushStore();
    [[noreturn]] void Fail(ArchiveException::Cause cause) const;
    std::uint32_t ReadStringLength(bool& wide);

    ArchiveStream& stream_;
    Mode mode_;
    bool open_ = true;
    std::vector<std::uint8_t> buffer_;
    std::size_t bufferSize_;
    std::size_t readPosition_ = 0;   // loading: next unread byte in buffer_
    std::uint32_t nextIndex_ = 1;
    int nesting_ = 0;
    std::unordered_map<const void*, std::uint32_t> storedIndices_;   // object or class → index
    std::vector<LoadedEntry> loadedEntries_;                         // index → class or object
};

} // namespace jorvo
