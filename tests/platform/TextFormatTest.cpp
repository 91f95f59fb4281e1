#include "platform/TextFormat.h"

#include <gtest/gtest.h>

namespace jorvo {
namespace {

TEST(TextFormat, FillsPlaceholdersInOrderAndByNumber)
{
    EXPECT_EQ(FormatText("Error reading file: %s.", {"/tmp/a.xml"}), "Error reading file: /tmp/a.xml.");
    EXPECT_EQ(FormatText("Bank '%s' already contains a preset named '%s'.", {"Drums", "Kick"}),
              "Bank 'Drums' already contains a preset named 'Kick'.");
    EXPECT_EQ(FormatText("Are you sure you wish to delete '%1' ?", {"mSyn"}),
              "Are you sure you wish to delete 'mSyn' ?");
    EXPECT_EQ(FormatText("%2 then %1", {"a", "b"}), "b then a");
}

TEST(TextFormat, ArgumentsAreNeverReadAsPatterns)
{
    EXPECT_EQ(FormatText("File '%s'", {"100%s done"}), "File '100%s done'");
    EXPECT_EQ(FormatText("%s and %s", {"only"}), "only and %s");
    EXPECT_EQ(FormatText("50%% at end %", {}), "50% at end %");
}

} // namespace
} // namespace jorvo
