#include "audio/SampleStore.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

#include "audio/WavBuilder.h"
#include "document/Configuration.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::Chunk;
using test::DataChunk;
using test::FormatChunk;
using test::Frames;
using test::LeftOf;
using test::RiffWave;
using test::RightOf;
using test::SamplerChunk;

const std::string kStereo1000 = RiffWave({FormatChunk(2), DataChunk(Frames(1000, true))});
const std::string kMono10 = RiffWave({FormatChunk(1), DataChunk(Frames(10, false))});

class SampleStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Configuration().SetSampleDir(samples.path().string())); }

    // Writes `bytes` to `relative` inside `folder`, creating subfolders; returns the full path.
    static std::string Write(const test::TempDir& folder, const std::string& relative, const std::string& bytes)
    {
        const std::filesystem::path file = folder / relative;
        std::filesystem::create_directories(file.parent_path());
        test::WriteFileBytes(file, bytes);
        return file.string();
    }

    std::string WriteSample(const std::string& relative, const std::string& bytes = kMono10)
    {
        return Write(samples, relative, bytes);
    }

    int Load(std::string name) { return store.LoadSample(name); }

    test::TempDir samples;
    test::TempDir elsewhere;
    RecordingShell shell;
    ScopedShell scoped{shell};
    SampleStore store;
};

// ---- names and paths ----

TEST_F(SampleStoreTest, RelativeNameIsReadFromTheSampleFolder)
{
    const std::string path = WriteSample("Drums/kick.wav", kStereo1000);
    std::string name = "Drums/kick.wav";
    const int index = store.LoadSample(name);
    ASSERT_EQ(index, 0);
    EXPECT_EQ(name, "Drums/kick.wav");
    EXPECT_EQ(store.GetSampleName(index), "Drums/kick.wav");
    EXPECT_EQ(store.GetSamplePath(index), path);
    const SampleRecord* record = store.GetRecord(index);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->endFrame, 999u);
    EXPECT_EQ(record->data[2000], LeftOf(999));
    EXPECT_EQ(record->data[2001], RightOf(999));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(SampleStoreTest, FullPathInsideTheFolderIsStoredRelative)
{
    std::string name = WriteSample("Drums/kick.wav");
    const int index = store.LoadSample(name);
    ASSERT_EQ(index, 0);
    EXPECT_EQ(name, "Drums/kick.wav");
    EXPECT_EQ(store.GetSampleName(index), "Drums/kick.wav");
    EXPECT_EQ(Load("Drums/kick.wav"), index);
    EXPECT_EQ(store.GetCount(), 1);
}

TEST_F(SampleStoreTest, StoredBackslashesAreReadAsSeparators)
{
    WriteSample("Drums/kick.wav");
    std::string name = "Drums\\kick.wav";
    EXPECT_EQ(store.LoadSample(name), 0);
    EXPECT_EQ(name, "Drums/kick.wav");
}

TEST_F(SampleStoreTest, AbsolutePathOutsideTheFolderKeepsItsName)
{
    const std::string path = Write(elsewhere, "loop.wav", kMono10);
    std::string name = path;
    const int index = store.LoadSample(name);
    ASSERT_EQ(index, 0);
    EXPECT_EQ(name, path);
    EXPECT_EQ(store.GetSampleName(index), path);
    EXPECT_EQ(store.GetSamplePath(index), path);
}

TEST_F(SampleStoreTest, FolderWhoseNameOnlyStartsLikeTheSampleFolderIsNotInside)
{
    // "<samples>X/a.wav" shares the text of the folder but lies beside it.
    const std::string path = samples.path().string() + "X/a.wav";
    std::filesystem::create_directories(samples.path().string() + "X");
    test::WriteFileBytes(path, kMono10);
    std::string name = path;
    EXPECT_EQ(store.LoadSample(name), 0);
    EXPECT_EQ(name, path);
    std::filesystem::remove_all(samples.path().string() + "X");
}

// ---- one read per name ----

TEST_F(SampleStoreTest, SameNameIsReadOnce)
{
    const std::string path = WriteSample("snare.wav", kStereo1000);
    const int first = Load("snare.wav");
    ASSERT_EQ(first, 0);
    const SampleRecord* record = store.GetRecord(first);
    std::filesystem::remove(path);  // a second read would now fail

    EXPECT_EQ(Load("snare.wav"), first);
    EXPECT_EQ(store.GetRecord(first), record);
    EXPECT_EQ(record->refCount, 0);  // a load is not a reference
    EXPECT_EQ(record->endFrame, 999u);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(SampleStoreTest, EntriesKeepTheirPlaceWhileTheTableGrows)
{
    WriteSample("first.wav", kStereo1000);
    ASSERT_EQ(Load("first.wav"), 0);
    const SampleRecord* first = store.GetRecord(0);
    for (int i = 1; i < 20; ++i) {
        WriteSample("s" + std::to_string(i) + ".wav");
        EXPECT_EQ(Load("s" + std::to_string(i) + ".wav"), i);
    }
    EXPECT_EQ(store.GetCount(), 20);
    EXPECT_EQ(store.GetRecord(0), first);
    EXPECT_EQ(first->data[1998], LeftOf(999));
}

// ---- refusals ----

TEST_F(SampleStoreTest, EmptyNameFailsWithoutAMessage)
{
    EXPECT_EQ(Load(""), -1);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(store.GetCount(), 0);
}

TEST_F(SampleStoreTest, MissingFileOrFolderCannotBeOpened)
{
    std::filesystem::create_directories(samples / "Drums");
    EXPECT_EQ(Load("nothere.wav"), -1);
    EXPECT_EQ(Load("Drums"), -1);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{"Failed to open Audio File: 'nothere.wav'",
                                                        "Failed to open Audio File: 'Drums'"}));
}

TEST_F(SampleStoreTest, EachRefusedFileShowsItsMessageWithTheName)
{
    const std::vector<std::int16_t> frames = Frames(10, false);
    const std::string valid = RiffWave({FormatChunk(1), DataChunk(frames)});
    const struct {
        std::string name;
        std::string bytes;
        std::string message;
    } refusals[] = {
        {"bits8.wav", RiffWave({FormatChunk(1, 44100, 8), DataChunk(frames)}),
         "Invalid Compression (Must be PCM). File: 'bits8.wav'"},
        {"adpcm.wav", RiffWave({FormatChunk(1, 44100, 16, 2), DataChunk(frames)}),
         "Invalid Compression (Must be PCM). File: 'adpcm.wav'"},
        {"three.wav", RiffWave({FormatChunk(3), DataChunk(frames)}),
         "Invalid Channels (Must be Mono or Stereo). File: three.wav"},
        {"norifx.wav", "RIFX" + valid.substr(4), "Invalid RIFF File: 'norifx.wav'"},
        {"nowave.wav", valid.substr(0, 8) + "WAVF" + valid.substr(12), "Invalid WAV File: nowave.wav"},
        {"nodata.wav", RiffWave({FormatChunk(1), DataChunk({})}), "Invalid WAV File (No Data). File: 'nodata.wav'"},
        {"cut.wav", valid.substr(0, valid.size() - 1), "Invalid WAV File: cut.wav"},
        {"100%s.wav", RiffWave({FormatChunk(3), DataChunk(frames)}),
         "Invalid Channels (Must be Mono or Stereo). File: 100%s.wav"},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        WriteSample(refusal.name, refusal.bytes);
        shell.messages.clear();
        EXPECT_EQ(Load(refusal.name), -1);
        EXPECT_EQ(shell.messages, std::vector<std::string>{refusal.message});
    }
}

TEST_F(SampleStoreTest, FailedLoadLeavesItsNewEntryFreeForTheNext)
{
    EXPECT_EQ(Load("nothere.wav"), -1);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_FALSE(store.GetRecord(0)->HasData());
    EXPECT_EQ(store.GetSampleName(0), "");

    WriteSample("good.wav");
    EXPECT_EQ(Load("good.wav"), 0);
    EXPECT_EQ(store.GetCount(), 1);
}

TEST_F(SampleStoreTest, FileWithoutDataGivesAnIndexThatStaysFree)
{
    WriteSample("header.wav", RiffWave({FormatChunk(1)}));
    EXPECT_EQ(Load("header.wav"), 0);
    EXPECT_FALSE(store.GetRecord(0)->HasData());
    EXPECT_TRUE(shell.messages.empty());

    WriteSample("good.wav");
    EXPECT_EQ(Load("good.wav"), 0);
    EXPECT_EQ(store.GetSampleName(0), "good.wav");
}

TEST_F(SampleStoreTest, EntryWithoutDataIsNotReusedWhileHeld)
{
    WriteSample("header.wav", RiffWave({FormatChunk(1)}));
    ASSERT_EQ(Load("header.wav"), 0);
    store.AddRef(0);
    WriteSample("good.wav");
    EXPECT_EQ(Load("good.wav"), 1);
    EXPECT_EQ(store.GetSampleName(0), "header.wav");
}

// ---- reference counts and purging ----

TEST_F(SampleStoreTest, ReferenceCountsIgnoreBadIndicesAndStopAtZero)
{
    WriteSample("a.wav");
    ASSERT_EQ(Load("a.wav"), 0);
    store.AddRef(0);
    store.AddRef(0);
    store.AddRef(-1);
    store.AddRef(1);
    EXPECT_EQ(store.GetRecord(0)->refCount, 2);
    store.Release(0);
    store.Release(0);
    store.Release(0);
    store.Release(7);
    EXPECT_EQ(store.GetRecord(0)->refCount, 0);

    EXPECT_EQ(store.GetRecord(-1), nullptr);
    EXPECT_EQ(store.GetRecord(1), nullptr);
    EXPECT_EQ(store.GetSampleName(1), "");
    EXPECT_EQ(store.GetSamplePath(-1), "");
}

TEST_F(SampleStoreTest, PurgeEmptiesEntriesWithoutUsersAndTheyAreReused)
{
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"})
        WriteSample(name);
    ASSERT_EQ(Load("a.wav"), 0);
    ASSERT_EQ(Load("b.wav"), 1);
    ASSERT_EQ(Load("c.wav"), 2);
    store.AddRef(1);
    store.AddRef(2);
    store.Release(2);

    store.Purge();
    const SampleRecord* a = store.GetRecord(0);
    EXPECT_EQ(a->name, "");
    EXPECT_EQ(a->path, "");
    EXPECT_FALSE(a->HasData());
    EXPECT_EQ(a->rootNote, 0);
    EXPECT_EQ(a->pitchRate, 0.0f);
    EXPECT_EQ(a->sampleRate, 0u);
    EXPECT_EQ(a->endFrame, 0u);
    EXPECT_EQ(store.GetSampleName(1), "b.wav");
    EXPECT_TRUE(store.GetRecord(1)->HasData());
    EXPECT_EQ(store.GetSampleName(2), "");

    EXPECT_EQ(Load("d.wav"), 0);
    EXPECT_EQ(Load("e.wav"), 2);
    EXPECT_EQ(Load("a.wav"), 3);  // read again, into a new entry
    EXPECT_EQ(store.GetSampleName(0), "d.wav");
    EXPECT_EQ(store.GetRecord(0)->rootNote, 60);
}

TEST_F(SampleStoreTest, SamplerChunkReachesTheEntry)
{
    WriteSample("pad.wav", RiffWave({FormatChunk(2), DataChunk(Frames(1000, true)), SamplerChunk(72, 0, 100, 499)}));
    const int index = Load("pad.wav");
    ASSERT_GE(index, 0);
    const SampleRecord* record = store.GetRecord(index);
    EXPECT_EQ(record->rootNote, 72);
    EXPECT_EQ(record->fineTune, 0);
    EXPECT_FLOAT_EQ(record->pitchRate, 22050.0f);
    EXPECT_EQ(record->endFrame, 499u);
    EXPECT_EQ(record->loopLength, 400u);
}

// ---- the sample browser ----

TEST_F(SampleStoreTest, BrowserOpensAtTheSampleOrTheSampleFolder)
{
    const std::string path = WriteSample("Drums/kick.wav");
    ASSERT_EQ(Load("Drums/kick.wav"), 0);
    int requester = 0;
    EXPECT_TRUE(store.ShowBrowser(&requester, 0));
    EXPECT_TRUE(store.ShowBrowser(&requester, 5));
    EXPECT_TRUE(store.ShowBrowser(&requester, std::string("/tmp/elsewhere.wav")));
    ASSERT_EQ(shell.fileBrowserRequests.size(), 3u);
    EXPECT_EQ(shell.fileBrowserRequests[0].startPath, path);
    EXPECT_EQ(shell.fileBrowserRequests[1].startPath, samples.path().string());
    EXPECT_EQ(shell.fileBrowserRequests[2].startPath, "/tmp/elsewhere.wav");
    for (const FileBrowserRequest& request : shell.fileBrowserRequests) {
        EXPECT_EQ(request.owner, &store);  // one browser per store, reused
        EXPECT_EQ(request.requester, &requester);
    }
}

TEST_F(SampleStoreTest, DestroyingAStoreClosesOnlyTheBrowserItOpened)
{
    std::uintptr_t shown = 0;  // an address only, compared after the store is gone
    {
        SampleStore quiet;
        SampleStore browsing;
        shown = reinterpret_cast<std::uintptr_t>(&browsing);
        browsing.ShowBrowser(nullptr, std::string());
    }
    ASSERT_EQ(shell.closedFileBrowsers.size(), 1u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(shell.closedFileBrowsers[0]), shown);
}

// ---- the shared table ----

TEST_F(SampleStoreTest, StoresShareOneTable)
{
    WriteSample("a.wav");
    ASSERT_EQ(Load("a.wav"), 0);
    {
        SampleStore second;
        EXPECT_EQ(second.GetRecord(0), store.GetRecord(0));
        std::string name = "a.wav";
        EXPECT_EQ(second.LoadSample(name), 0);
    }
    EXPECT_EQ(store.GetSampleName(0), "a.wav");
}

TEST(SampleStoreLifetime, LastStoreFreesTheTable)
{
    test::TempDir folder;
    test::WriteFileBytes(folder / "a.wav", kMono10);
    {
        SampleStore store;
        std::string name = (folder / "a.wav").string();
        ASSERT_EQ(store.LoadSample(name), 0);
        EXPECT_EQ(store.GetCount(), 1);
    }
    SampleStore store;
    EXPECT_EQ(store.GetCount(), 0);
    EXPECT_EQ(store.GetRecord(0), nullptr);
}

} // namespace
} // namespace jorvo
