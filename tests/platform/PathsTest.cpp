#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

TEST(PathsTest, BackslashesBecomeSlashes)
{
    EXPECT_EQ(NormalizeSeparators("\\My Documents\\Jorvo\\Samples"), "/My Documents/Jorvo/Samples");
    EXPECT_EQ(NormalizeSeparators("/already/fine"), "/already/fine");
}

TEST(PathsTest, OneTrailingSeparatorIsRemoved)
{
    EXPECT_EQ(RemoveTrailingSeparator("/data/Samples/"), "/data/Samples");
    EXPECT_EQ(RemoveTrailingSeparator("\\data\\Samples\\"), "\\data\\Samples");
    EXPECT_EQ(RemoveTrailingSeparator("/data//"), "/data/");
    EXPECT_EQ(RemoveTrailingSeparator("/data"), "/data");
    EXPECT_EQ(RemoveTrailingSeparator("/"), "/");
    EXPECT_EQ(RemoveTrailingSeparator(""), "");
}

TEST(PathsTest, JoinPathAddsOneSeparator)
{
    EXPECT_EQ(JoinPath("/opt/jorvo", "Skins"), "/opt/jorvo/Skins");
    EXPECT_EQ(JoinPath("/opt/jorvo/", "Skins"), "/opt/jorvo/Skins");
    EXPECT_EQ(JoinPath("", "Skins"), "Skins");
}

TEST(PathsTest, ProgramFolderHoldsTheRunningProgram)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(folder) / "test_platform"));
}

TEST(PathsTest, DefaultFoldersFollowHome)
{
    // The test program points HOME at its own folder.
    const std::string home = std::getenv("HOME");
    EXPECT_EQ(HomeFolder(), home);
    EXPECT_EQ(DefaultDocumentsFolder(), home + "/Documents/Jorvo");
}

TEST(PathsTest, CreateFolderMakesParentsAndRefusesAFileInTheWay)
{
    test::TempDir dir;
    const std::string nested = (dir / "a/b/c").string();
    EXPECT_FALSE(FolderExists(nested));
    EXPECT_TRUE(CreateFolder(nested));
    EXPECT_TRUE(FolderExists(nested));
    EXPECT_TRUE(CreateFolder(nested)); // already there

    test::WriteFileBytes(dir / "file", "x");
    EXPECT_TRUE(FileExists((dir / "file").string()));
    EXPECT_FALSE(FolderExists((dir / "file").string()));
    EXPECT_FALSE(CreateFolder((dir / "file").string()));
    EXPECT_FALSE(CreateFolder((dir / "file/sub").string()));
    EXPECT_FALSE(CreateFolder(""));
    EXPECT_FALSE(FileExists(nested));
}

} // namespace
} // namespace jorvo
