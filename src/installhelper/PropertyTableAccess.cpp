#include "installhelper/PropertyTableAccess.h"

#include <algorithm>
#include <cstring>

namespace jorvo::installhelper {
namespace {

std::string EnclosedName(std::string_view name)
{
    return "%" + std::string(name) + "%";
}

// Entries that can be read: never more than the table holds, whatever "in use" claims.
std::size_t ReadableEntries(const PropertyTable& table)
{
    if (!table.names || !table.values || table.nameSlotSize == 0 || table.valueSlotSize == 0)
        return 0;
    return std::min(table.entriesInUse, table.capacity);
}

char* NameSlot(const PropertyTable& table, std::size_t index)
{
    return table.names + index * std::size_t{table.nameSlotSize};
}

char* ValueSlot(const PropertyTable& table, std::size_t index)
{
    return table.values + index * std::size_t{table.valueSlotSize};
}

std::string_view SlotText(const char* slot, std::size_t size)
{
    return {slot, ::strnlen(slot, size)};
}

// Fills `slot` with as much of `text` as fits before its terminating zero.
void CopyIntoSlot(char* slot, std::size_t size, std::string_view text)
{
    const std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(slot, text.data(), length);
    slot[length] = '\0';
}

// The index of entry `enclosed`, or the number of readable entries when there is none.
std::size_t FindEntry(const PropertyTable& table, std::string_view enclosed)
{
    const std::size_t entries = ReadableEntries(table);
    for (std::size_t index = 0; index < entries; ++index) {
        if (SlotText(NameSlot(table, index), table.nameSlotSize) == enclosed)
            return index;
    }
    return entries;
}

} // namespace

std::string GetProperty(const PropertyTable* table, std::string_view name)
{
    if (!table)
        return {};
    const std::size_t index = FindEntry(*table, EnclosedName(name));
    if (index == ReadableEntries(*table))
        return {};
    return std::string(SlotText(ValueSlot(*table, index), table->valueSlotSize));
}

void SetProperty(PropertyTable* table, std::string_view name, std::string_view text)
{
    if (!table)
        return;
    const std::string enclosed = EnclosedName(name);
    std::size_t index = FindEntry(*table, enclosed);
    if (index == ReadableEntries(*table)) {
        // A cut name would no longer find its entry, so an entry is only made when the name fits.
        const bool fits = table->names && table->values && table->valueSlotSize > 0 &&
                          enclosed.size() < table->nameSlotSize;
        if (!fits || table->entriesInUse >= table->capacity)
            return;
        index = table->entriesInUse;
        CopyIntoSlot(NameSlot(*table, index), table->nameSlotSize, enclosed);
        ++table->entriesInUse;
    }
    CopyIntoSlot(ValueSlot(*table, index), table->valueSlotSize, text);
}

} // namespace jorvo::installhelper
