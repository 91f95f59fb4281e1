#include <gtest/gtest.h>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/WindowMessages.h"

namespace jorvo {
namespace {

TEST(WindowMessagesTest, NumbersStartAt0xC000AndGrowByOne)
{
    const WindowMessage first = RegisterWindowMessage("WM_TEST_NUMBERING_FIRST");
    const WindowMessage second = RegisterWindowMessage("WM_TEST_NUMBERING_SECOND");
    EXPECT_GE(first, 0xC000u);
    EXPECT_EQ(second, first + 1);
    // Whatever was registered before, the table begins at 0xC000 and nothing lies below it.
    EXPECT_TRUE(RegisteredMessageName(0xC000).has_value());
    EXPECT_FALSE(RegisteredMessageName(0xBFFF).has_value());
    EXPECT_FALSE(RegisteredMessageName(second + 1).has_value());
}

TEST(WindowMessagesTest, TheSameNameAlwaysGetsTheSameNumberInAnyCase)
{
    const WindowMessage number = RegisterWindowMessage("WM_UPDATE_SEQTIME");
    EXPECT_EQ(RegisterWindowMessage("WM_UPDATE_SEQTIME"), number);
    EXPECT_EQ(RegisterWindowMessage("wm_update_seqtime"), number);
    EXPECT_NE(RegisterWindowMessage("WM_SYNC"), number);
    EXPECT_EQ(RegisteredMessageName(number), "WM_UPDATE_SEQTIME");
}

TEST(WindowMessagesTest, AnEmptyNameIsRefused)
{
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(WindowMessagesTest, ThreadsRegisteringTheSameNamesAgree)
{
    constexpr int kThreads = 6;
    constexpr int kNames = 200;
    std::vector<std::vector<WindowMessage>> seen(kThreads, std::vector<WindowMessage>(kNames));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &seen] {
            // Each thread walks the names from a different start, half of them backwards.
            for (int i = 0; i < kNames; ++i) {
                const int step = t % 2 == 0 ? i : kNames - 1 - i;
                const int name = (step + t * 37) % kNames;
                seen[t][name] = RegisterWindowMessage("WM_THREADED_" + std::to_string(name));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::set<WindowMessage> distinct;
    for (int name = 0; name < kNames; ++name) {
        for (int t = 1; t < kThreads; ++t)
            EXPECT_EQ(seen[t][name], seen[0][name]);
        distinct.insert(seen[0][name]);
        EXPECT_EQ(RegisteredMessageName(seen[0][name]), "WM_THREADED_" + std::to_string(name));
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kNames));
}

TEST(WindowMessagesTest, ParametersCarryPointers)
{
    int value = 0;
    const WParam wParam = reinterpret_cast<WParam>(&value);
    const LParam lParam = reinterpret_cast<LParam>(&value);
    EXPECT_EQ(reinterpret_cast<int*>(wParam), &value);
    EXPECT_EQ(reinterpret_cast<int*>(lParam), &value);
}

} // namespace
} // namespace jorvo
