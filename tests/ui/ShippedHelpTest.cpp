// The shipped help file: every topic the program opens exists, and every link inside the file
// leads to an anchor that exists.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "support/TestSupport.h"

namespace jorvo {
namespace {

TEST(ShippedHelp, TheProgramsTopicsAndEveryInternalLinkHaveTheirAnchors)
{
    const std::string text = test::ReadFileBytes(std::filesystem::path(JORVO_SOURCE_DIR) / "docs" / "Jorvo.htm");
    ASSERT_FALSE(text.empty());
    std::set<std::string> anchors;
    const std::regex anchor(R"re(<a name="([A-Za-z_]+)")re");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), anchor); it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(anchors.insert((*it)[1]).second) << "anchor twice: " << (*it)[1];
    for (const char* topic : {"Main_Contents", "Song", "Sections", "Patterns", "Controllers", "Mixer"})
        EXPECT_EQ(anchors.count(topic), 1u) << topic;
    const std::regex link(R"re(href="#([A-Za-z_]+)")re");
    int links = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), link); it != std::sregex_iterator(); ++it, ++links)
        EXPECT_EQ(anchors.count((*it)[1]), 1u) << "dangling link #" << (*it)[1];
    EXPECT_GT(links, 10);
}

} // namespace
} // namespace jorvo
