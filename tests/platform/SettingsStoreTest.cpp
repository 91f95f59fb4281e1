#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/RecordingShell.h"
#include "platform/SettingsStore.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

const std::string kKey = "Software\\Quistor\\Jorvo\\Settings";
constexpr SettingsRoot kUser = SettingsRoot::CurrentUser;

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { old_.empty() ? ::unsetenv(name_) : ::setenv(name_, old_.c_str(), 1); }

private:
    const char* name_;
    std::string old_;
};

ino_t InodeOf(const std::filesystem::path& file)
{
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path file = dir / "cfg/registry.xml";
    SettingsStore store{file.string()};
};

TEST_F(SettingsStoreTest, DefaultFileFollowsJorvoRegistryThenXdgConfigHome)
{
    {
        ScopedEnvironment registry("JORVO_REGISTRY", "/tmp/elsewhere/reg.xml");
        EXPECT_EQ(SettingsStore::DefaultFile(), "/tmp/elsewhere/reg.xml");
    }
    ScopedEnvironment noRegistry("JORVO_REGISTRY", nullptr);
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "/srv/conf");
        EXPECT_EQ(SettingsStore::DefaultFile(), "/srv/conf/Quistor/Jorvo/registry.xml");
    }
    ScopedEnvironment noXdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnvironment home("HOME", "/home/ann");
    EXPECT_EQ(SettingsStore::DefaultFile(), "/home/ann/.config/Quistor/Jorvo/registry.xml");
}

TEST_F(SettingsStoreTest, ReadingAMissingFileGivesNothingAndCreatesNothing)
{
    EXPECT_FALSE(store.KeyExists(kUser, kKey));
    EXPECT_FALSE(store.ReadDWORD(kUser, kKey, "FlashLED"));
    EXPECT_FALSE(store.ReadString(kUser, kKey, "SampleDir"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsStoreTest, ValuesRoundTripAndTheFileIsCreatedWithItsFolder)
{
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "MMEBlockSize", 4294967295u));
    ASSERT_TRUE(store.WriteString(kUser, kKey, "SampleDir", "/media/card/Samples"));
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_TRUE(store.KeyExists(kUser, kKey));
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "MMEBlockSize"), 4294967295u);
    EXPECT_EQ(store.ReadString(kUser, kKey, "SampleDir"), "/media/card/Samples");
}

TEST_F(SettingsStoreTest, StringsKeepEveryCharacterTheFileCanHold)
{
    const std::string awkward = "  lead & <tag> \"quoted\" 'single'\n\tline\r\n\x01 \xC3\x9Cml\xC3\xA4ut  ";
    ASSERT_TRUE(store.WriteString(kUser, kKey, "Awkward", awkward));
    ASSERT_TRUE(store.WriteString(kUser, kKey, "Empty", ""));
    EXPECT_EQ(store.ReadString(kUser, kKey, "Awkward"), awkward);
    EXPECT_EQ(store.ReadString(kUser, kKey, "Empty"), "");
    EXPECT_FALSE(store.WriteString(kUser, kKey, "Zero", std::string("a\0b", 3)));
    EXPECT_FALSE(store.ReadString(kUser, kKey, "Zero"));
}

TEST_F(SettingsStoreTest, NamesIgnoreCaseAndEmptyKeyPartsAndKeepTheirFirstSpelling)
{
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "FlashLED", 1));
    EXPECT_EQ(store.ReadDWORD(kUser, "\\SOFTWARE\\quistor\\\\Jorvo\\settings\\", "flashled"), 1u);
    ASSERT_TRUE(store.WriteDWORD(kUser, "software\\QUISTOR\\jorvo\\SETTINGS", "FLASHLED", 0));
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "FlashLED"), 0u);
    const std::string text = test::ReadFileBytes(file);
    EXPECT_NE(text.find("Software\\Quistor\\Jorvo\\Settings"), std::string::npos);
    EXPECT_NE(text.find("\"FlashLED\""), std::string::npos);
    EXPECT_EQ(text.find("FLASHLED"), std::string::npos);
    EXPECT_FALSE(store.WriteDWORD(kUser, "\\\\", "x", 1));
}

TEST_F(SettingsStoreTest, RootsAndTypesAreKeptApart)
{
    ASSERT_TRUE(store.WriteString(SettingsRoot::ClassesRoot, ".jorvo", "", "Jorvo.Document"));
    EXPECT_EQ(store.ReadString(SettingsRoot::ClassesRoot, ".jorvo", ""), "Jorvo.Document");
    EXPECT_FALSE(store.ReadString(kUser, ".jorvo", ""));
    ASSERT_TRUE(store.WriteString(kUser, kKey, "RunBefore", "1"));
    EXPECT_FALSE(store.ReadDWORD(kUser, kKey, "RunBefore"));
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "RunBefore", 1));
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "RunBefore"), 1u);
    EXPECT_FALSE(store.ReadString(kUser, kKey, "RunBefore"));
}

TEST_F(SettingsStoreTest, AMalformedNumberReadsAsMissing)
{
    std::filesystem::create_directories(file.parent_path());
    test::WriteFileBytes(file, "<Registry><CurrentUser><Key Name='A'>"
                               "<Value Name='Neg' Type='DWORD' Data='-1'/>"
                               "<Value Name='Big' Type='DWORD' Data='4294967296'/>"
                               "<Value Name='Text' Type='DWORD' Data='12abc'/>"
                               "<Value Name='None' Type='DWORD'/>"
                               "<Value Name='Good' Type='DWORD' Data='12'/>"
                               "</Key></CurrentUser></Registry>");
    for (const char* name : {"Neg", "Big", "Text", "None"})
        EXPECT_FALSE(store.ReadDWORD(kUser, "A", name)) << name;
    EXPECT_EQ(store.ReadDWORD(kUser, "A", "Good"), 12u);
}

TEST_F(SettingsStoreTest, TwoStoreObjectsShareTheFile)
{
    SettingsStore other(file.string());
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "MinSongBpm", 40));
    EXPECT_EQ(other.ReadDWORD(kUser, kKey, "MinSongBpm"), 40u);
    // Each write starts from the file as it is, so neither loses the other's value.
    ASSERT_TRUE(other.WriteDWORD(kUser, kKey, "MaxSongBpm", 200));
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "DefaultSongBpm", 90));
    EXPECT_EQ(other.ReadDWORD(kUser, kKey, "DefaultSongBpm"), 90u);
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "MaxSongBpm"), 200u);
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "MinSongBpm"), 40u);
}

TEST_F(SettingsStoreTest, WritesFromTwoProcessesAndTwoThreadsAreAllKept)
{
    constexpr int kEach = 25;
    auto writeMany = [this](const std::string& prefix) {
        SettingsStore own(file.string());
        for (int i = 0; i < kEach; ++i)
            own.WriteDWORD(kUser, kKey, prefix + std::to_string(i), static_cast<std::uint32_t>(i));
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        writeMany("Child");
        ::_exit(0);
    }
    std::thread first(writeMany, "ThreadA");
    std::thread second(writeMany, "ThreadB");
    first.join();
    second.join();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const char* prefix : {"Child", "ThreadA", "ThreadB"}) {
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(store.ReadDWORD(kUser, kKey, prefix + std::to_string(i)), static_cast<std::uint32_t>(i)) << prefix << i;
    }
}

TEST_F(SettingsStoreTest, AWriteReplacesTheFileInsteadOfRewritingIt)
{
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "First", 1));
    const std::string before = test::ReadFileBytes(file);
    const ino_t inodeBefore = InodeOf(file);
    std::ifstream heldOpen(file, std::ios::binary); // a reader that opened the file before the write

    ASSERT_TRUE(store.WriteString(kUser, kKey, "Second", std::string(5000, 'x')));

    std::string seenByHeldReader((std::istreambuf_iterator<char>(heldOpen)), std::istreambuf_iterator<char>());
    EXPECT_EQ(seenByHeldReader, before);
    EXPECT_NE(InodeOf(file), inodeBefore);
    // Nothing but the settings file and its lock file is left beside it.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"registry.xml", "registry.xml.lock"}));
}

TEST_F(SettingsStoreTest, ADamagedFileReadsAsEmptyAndIsKeptAsideByTheNextWrite)
{
    RecordingShell shell;
    ScopedShell installed(shell);
    std::filesystem::create_directories(file.parent_path());
    const std::string damaged = "<Registry><CurrentUser><Key Name='Software\\Quistor'><Value Name='A' Ty";
    test::WriteFileBytes(file, damaged);

    EXPECT_FALSE(store.KeyExists(kUser, "Software\\Quistor"));
    EXPECT_FALSE(store.ReadDWORD(kUser, "Software\\Quistor", "A"));
    EXPECT_EQ(test::ReadFileBytes(file), damaged); // reading changes nothing
    EXPECT_TRUE(shell.messages.empty());

    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "FlashLED", 1));
    const std::string keptAs = file.string() + ".damaged";
    EXPECT_EQ(test::ReadFileBytes(keptAs), damaged);
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "FlashLED"), 1u);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.LastMessage(),
              "The settings file '" + file.string() + "' is damaged and could not be read. It has been kept as '" +
                  keptAs + "' and the settings start again from their defaults.");

    // A second damaged file does not replace the first one kept.
    test::WriteFileBytes(file, "not xml at all");
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "FlashLED", 0));
    EXPECT_EQ(test::ReadFileBytes(keptAs), damaged);
    EXPECT_EQ(test::ReadFileBytes(keptAs + "-2"), "not xml at all");
}

TEST_F(SettingsStoreTest, AWellFormedFileOfAnotherKindCountsAsDamaged)
{
    RecordingShell shell;
    ScopedShell installed(shell);
    std::filesystem::create_directories(file.parent_path());
    test::WriteFileBytes(file, "<JorvoDocument/>");
    EXPECT_FALSE(store.KeyExists(kUser, "x"));
    ASSERT_TRUE(store.CreateKey(kUser, "x"));
    EXPECT_EQ(test::ReadFileBytes(file.string() + ".damaged"), "<JorvoDocument/>");
    EXPECT_TRUE(store.KeyExists(kUser, "x"));
}

TEST_F(SettingsStoreTest, AnEmptyFileIsAnEmptyStore)
{
    RecordingShell shell;
    ScopedShell installed(shell);
    std::filesystem::create_directories(file.parent_path());
    test::WriteFileBytes(file, "");
    ASSERT_TRUE(store.WriteDWORD(kUser, kKey, "A", 5));
    EXPECT_EQ(store.ReadDWORD(kUser, kKey, "A"), 5u);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".damaged"));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(SettingsStoreTest, AFolderInThePlaceOfTheFileFailsWithoutHarm)
{
    std::filesystem::create_directories(file / "inside");
    EXPECT_FALSE(store.WriteDWORD(kUser, kKey, "A", 1));
    EXPECT_FALSE(store.CreateKey(kUser, kKey));
    EXPECT_FALSE(store.ReadDWORD(kUser, kKey, "A"));
    EXPECT_TRUE(std::filesystem::is_directory(file / "inside"));
}

} // namespace
} // namespace jorvo
