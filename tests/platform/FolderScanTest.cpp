#include <filesystem>
#include <gtest/gtest.h>

#include "platform/FolderScan.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

TEST(FolderScanTest, MasksMatchExtensionsInAnyCase)
{
    EXPECT_TRUE(MatchesMask("kick.wav", "*.wav"));
    EXPECT_TRUE(MatchesMask("KICK.WAV", "*.wav"));
    EXPECT_TRUE(MatchesMask("Drums.patternbank", "*.PatternBank"));
    EXPECT_FALSE(MatchesMask("kick.wav.bak", "*.wav"));
    EXPECT_FALSE(MatchesMask("wav", "*.wav"));
    EXPECT_FALSE(MatchesMask("kick.wa", "*.wav"));
    EXPECT_TRUE(MatchesMask("a.b.wav", "*.wav"));
}

TEST(FolderScanTest, StarDotStarAlsoMatchesNamesWithoutADot)
{
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("Drums.PatternBank", "*.*"));
    EXPECT_TRUE(MatchesMask(".hidden", "*.*"));
    EXPECT_TRUE(MatchesMask("README", "*"));
}

TEST(FolderScanTest, QuestionMarkAndInnerStarsMatchAsWildcards)
{
    EXPECT_TRUE(MatchesMask("take1.wav", "take?.wav"));
    EXPECT_FALSE(MatchesMask("take12.wav", "take?.wav"));
    EXPECT_TRUE(MatchesMask("bass-long-loop.wav", "*-*-loop.*"));
    EXPECT_FALSE(MatchesMask("bass-loop.wav", "*-*-loop.*"));
    EXPECT_TRUE(MatchesMask("aaab", "*a*b"));
}

class FolderScanTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* folder : {"sub2", "sub1/deep", "folder.wav"})
            std::filesystem::create_directories(dir / folder);
        for (const char* file : {"b.wav", "A.wav", "notes.txt", "sub2/x.wav", "sub1/deep/y.wav", "sub1/z.WAV",
                                 "sub1/readme"})
            test::WriteFileBytes(dir / file, "x");
    }

    std::string Path(const std::string& relative) const { return (dir / relative).string(); }

    test::TempDir dir;
};

TEST_F(FolderScanTreeTest, ListsAreInNameOrderAndKeepFoldersAndFilesApart)
{
    EXPECT_EQ(ListSubFolders(dir.path().string()), (std::vector<std::string>{"folder.wav", "sub1", "sub2"}));
    EXPECT_EQ(ListFiles(dir.path().string(), "*.wav"), (std::vector<std::string>{"A.wav", "b.wav"}));
    EXPECT_EQ(ListFiles(dir.path().string(), "*.*"), (std::vector<std::string>{"A.wav", "b.wav", "notes.txt"}));
}

TEST_F(FolderScanTreeTest, ScansVisitSubFoldersDepthFirstBeforeTheFolderOwnFiles)
{
    EXPECT_EQ(ScanFiles(dir.path().string(), "*.wav"),
              (std::vector<std::string>{Path("sub1/deep/y.wav"), Path("sub1/z.WAV"), Path("sub2/x.wav"),
                                        Path("A.wav"), Path("b.wav")}));
    EXPECT_EQ(ScanFiles(Path("sub1"), "*.*"),
              (std::vector<std::string>{Path("sub1/deep/y.wav"), Path("sub1/readme"), Path("sub1/z.WAV")}));
}

TEST_F(FolderScanTreeTest, ALinkBackUpTheTreeIsScannedOnce)
{
    std::filesystem::create_directory_symlink(dir.path(), dir / "sub2/loop");
    EXPECT_EQ(ScanFiles(Path("sub2"), "*.wav"),
              (std::vector<std::string>{Path("sub2/loop/sub1/deep/y.wav"), Path("sub2/loop/sub1/z.WAV"),
                                        Path("sub2/loop/A.wav"), Path("sub2/loop/b.wav"), Path("sub2/x.wav")}));
}

TEST_F(FolderScanTreeTest, AMissingFolderYieldsNothing)
{
    EXPECT_TRUE(ScanFiles(Path("nothing-here"), "*.*").empty());
    EXPECT_TRUE(ListFiles(Path("A.wav"), "*.*").empty());
    EXPECT_TRUE(ListSubFolders(Path("nothing-here")).empty());
}

} // namespace
} // namespace jorvo
