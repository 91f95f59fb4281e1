#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "document/ArchiveException.h"
#include "sequencer/MidiEvent.h"

namespace jorvo::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes VariableLength(std::uint64_t value)
{
    Bytes out;
    MidiEvent::AppendVariableLength(out, value);
    return out;
}

TEST(MidiEventTest, VariableLengthQuantitiesAtTheirBoundaries)
{
    EXPECT_EQ(VariableLength(0), (Bytes{0x00}));
    EXPECT_EQ(VariableLength(0x7F), (Bytes{0x7F}));
    EXPECT_EQ(VariableLength(0x80), (Bytes{0x81, 0x00}));
    EXPECT_EQ(VariableLength(0x3FFF), (Bytes{0xFF, 0x7F}));
    EXPECT_EQ(VariableLength(0x4000), (Bytes{0x81, 0x80, 0x00}));
    EXPECT_EQ(VariableLength(0x0FFFFFFF), (Bytes{0xFF, 0xFF, 0xFF, 0x7F}));
    Bytes out{0x42};
    EXPECT_THROW(MidiEvent::AppendVariableLength(out, 0x10000000), ArchiveException);
    EXPECT_EQ(out, (Bytes{0x42}));
}

} // namespace
} // namespace jorvo::test
