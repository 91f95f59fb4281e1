#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "installhelper/PropertyTableAccess.h"

namespace jorvo::installhelper {
namespace {

// A table as a setup program lays it out, with a guard byte after the last slot of each block.
struct TestTable {
    TestTable(std::uint32_t capacity, std::uint32_t nameSlot, std::uint32_t valueSlot)
        : names(capacity * nameSlot + 1, '#'), values(capacity * valueSlot + 1, '#')
    {
        table = PropertyTable{0, 0, capacity, nameSlot, valueSlot, 0, names.data(), values.data()};
    }
    std::vector<char> names;
    std::vector<char> values;
    PropertyTable table;
};

TEST(PropertyTable, LayoutMatchesTheSetupProgramsOffsets)
{
    EXPECT_EQ(offsetof(PropertyTable, capacity), 8u);
    EXPECT_EQ(offsetof(PropertyTable, entriesInUse), 20u);
    EXPECT_EQ(offsetof(PropertyTable, names), 24u);
    EXPECT_EQ(offsetof(PropertyTable, values), 24u + sizeof(void*));
}

TEST(PropertyTable, SetAppendsEnclosedNameAndGetFindsIt)
{
    TestTable t(4, 16, 16);
    SetProperty(&t.table, "FOLDER", "/packs/a");
    SetProperty(&t.table, "DLLERROR", "first");
    SetProperty(&t.table, "DLLERROR", "second");
    EXPECT_EQ(t.table.entriesInUse, 2u);
    EXPECT_STREQ(t.names.data() + 16, "%DLLERROR%");
    EXPECT_EQ(GetProperty(&t.table, "FOLDER"), "/packs/a");
    EXPECT_EQ(GetProperty(&t.table, "DLLERROR"), "second");
    EXPECT_EQ(GetProperty(&t.table, "PACK_NAME"), "");
    EXPECT_EQ(GetProperty(&t.table, "%FOLDER%"), "");
}

TEST(PropertyTable, LongValueIsCutToItsSlotWithTerminatingZero)
{
    TestTable t(1, 16, 6);
    SetProperty(&t.table, "DLLERROR", "Invalid Install Folder");
    EXPECT_EQ(GetProperty(&t.table, "DLLERROR"), "Inval");
    EXPECT_EQ(t.values[5], '\0');
    EXPECT_EQ(t.values[6], '#');
}

TEST(PropertyTable, FullTableDropsNewEntriesButUpdatesOldOnes)
{
    TestTable t(1, 16, 16);
    SetProperty(&t.table, "FOLDER", "a");
    SetProperty(&t.table, "DLLERROR", "lost");
    SetProperty(&t.table, "FOLDER", "b");
    EXPECT_EQ(t.table.entriesInUse, 1u);
    EXPECT_EQ(GetProperty(&t.table, "DLLERROR"), "");
    EXPECT_EQ(GetProperty(&t.table, "FOLDER"), "b");
    EXPECT_EQ(t.names[16], '#');
}

TEST(PropertyTable, NameThatDoesNotFitItsSlotIsNotAppended)
{
    TestTable t(2, 8, 16);
    SetProperty(&t.table, "DLLERROR", "x"); // "%DLLERROR%" needs 11 bytes
    EXPECT_EQ(t.table.entriesInUse, 0u);
}

TEST(PropertyTable, DamagedTablesAreReadWithinTheirSlots)
{
    TestTable t(1, 4, 4);
    std::memcpy(t.names.data(), "%A%x", 4); // no terminating zero in the slot
    t.table.entriesInUse = 7;               // claims more than the capacity
    EXPECT_EQ(GetProperty(&t.table, "A"), "");
    SetProperty(&t.table, "B", "v");
    EXPECT_EQ(t.names[4], '#');
    EXPECT_EQ(GetProperty(nullptr, "A"), "");
    SetProperty(nullptr, "A", "v");
}

} // namespace
} // namespace jorvo::installhelper
