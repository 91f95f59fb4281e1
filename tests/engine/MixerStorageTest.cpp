#include <gtest/gtest.h>

#include <string>

#include "document/ArchiveException.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Mixer.h"
#include "engine/MixerTestTargets.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::ConstantInstrument;
using test::PassThroughEffect;

// Two instruments and two effects; the mixers are built over them in different orders.
class MixerStorageTest : public ::testing::Test {
protected:
    void Build(Mixer& mixer, bool reversed)
    {
        if (reversed) {
            ASSERT_TRUE(mixer.AddBuss(echo));
            ASSERT_TRUE(mixer.AddBuss(verb));
            ASSERT_TRUE(mixer.AddChannel(bass));
            ASSERT_TRUE(mixer.AddChannel(piano));
        } else {
            ASSERT_TRUE(mixer.AddChannel(piano));
            ASSERT_TRUE(mixer.AddChannel(bass));
            ASSERT_TRUE(mixer.AddBuss(verb));
            ASSERT_TRUE(mixer.AddBuss(echo));
        }
    }

    // Stored values that differ from every default.
    void Edit(Mixer& mixer)
    {
        mixer.SetStoredValue(7, 90);
        MixerChannel& channel = *mixer.ChannelOf(piano);
        channel.SetStoredValue(7, 80);
        channel.SetStoredValue(10, 20);
        channel.SetSend(*mixer.BussOf(verb), 70);
        mixer.ChannelOf(bass)->SetSend(*mixer.BussOf(echo), 33);
        mixer.BussOf(echo)->SetStoredValue(205, 0);
        ASSERT_TRUE(mixer.AssignSendNumber(*mixer.BussOf(echo), 150));
    }

    void ExpectEdited(const Mixer& mixer)
    {
        EXPECT_EQ(mixer.GetParameterValue(7), 90);
        EXPECT_EQ(mixer.MasterGains().Current(), PanGains(90, 64)); // jumped, no fade
        const MixerChannel& channel = *mixer.ChannelOf(piano);
        EXPECT_EQ(channel.Level(), 80);
        EXPECT_EQ(channel.Pan(), 20);
        const MixerSend& send = *channel.FindSend(*mixer.BussOf(verb));
        EXPECT_EQ(send.Parameter().StoredValue(), 70);
        EXPECT_EQ(send.Level(), 70);
        EXPECT_EQ(send.Codes(), PanGains(70, 20));
        EXPECT_EQ(mixer.ChannelOf(bass)->FindSend(*mixer.BussOf(echo))->Level(), 33);
        EXPECT_EQ(mixer.BussOf(echo)->SendParameterType(), 150);
        EXPECT_FALSE(mixer.BussOf(echo)->IsActive());
        const MixerBuss& verbBuss = *mixer.BussOf(verb);
        EXPECT_EQ(mixer.ChannelOf(bass)->FindParameter(verbBuss.SendParameterType()),
                  &mixer.ChannelOf(bass)->FindSend(verbBuss)->Parameter());
    }

    std::string StoreXML(Mixer& mixer)
    {
        const std::string path = (dir / "mixer.xml").string();
        CXMLArchive archive;
        EXPECT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        EXPECT_TRUE(archive.CreateRoot("Studio"));
        {
            CXMLArchive child(archive);
            mixer.SerializeXML(child);
        }
        EXPECT_TRUE(archive.Save());
        return test::ReadFileBytes(path);
    }

    void LoadXML(Mixer& mixer, const std::string& text, const std::string& element = "Mixer")
    {
        const std::string path = (dir / "load.xml").string();
        test::WriteFileBytes(path, text);
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(archive.Descend(element));
        mixer.SerializeXML(archive);
    }

    static std::string StoreBinary(Mixer& mixer)
    {
        MemoryStream memory;
        BinaryArchive archive(memory, BinaryArchive::Mode::Store);
        mixer.Serialize(archive);
        archive.Close();
        return memory.BytesAsString();
    }

    static void LoadBinary(Mixer& mixer, const std::string& bytes)
    {
        MemoryStream memory(bytes);
        BinaryArchive archive(memory, BinaryArchive::Mode::Load);
        mixer.Serialize(archive);
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
    ConstantInstrument piano{"Piano", 1, 100};
    ConstantInstrument bass{"Bass", 1, 100};
    PassThroughEffect verb{"Verb", 2, 2};
    PassThroughEffect echo{"Echo", 2, 2};
};

TEST_F(MixerStorageTest, XMLRoundTripMatchesStripsBySource)
{
    Mixer stored;
    Build(stored, false);
    Edit(stored);
    const std::string text = StoreXML(stored);
    EXPECT_LT(text.find("<BussList"), text.find("<ChannelList"));
    EXPECT_NE(text.find("SendParameterType=\"150\""), std::string::npos);
    EXPECT_NE(text.find("<Send Name=\"Verb\" Level=\"70\""), std::string::npos);

    Mixer loaded;
    Build(loaded, true);
    LoadXML(loaded, text);
    ExpectEdited(loaded);
}

TEST_F(MixerStorageTest, AnEmptyMixerStoresNoLists)
{
    Mixer mixer;
    const std::string text = StoreXML(mixer);
    EXPECT_NE(text.find("<Mixer"), std::string::npos);
    EXPECT_EQ(text.find("BussList"), std::string::npos);
    EXPECT_EQ(text.find("ChannelList"), std::string::npos);
}

TEST_F(MixerStorageTest, XMLLoadingSkipsWhatDoesNotFit)
{
    Mixer mixer;
    Build(mixer, false);
    LoadXML(mixer, R"(<Studio><Mixer Name="Mixer">
        <BussList>
          <Buss Name="Gone" Effect="Gone" SendParameterType="101"/>
          <Buss Name="Verb" Effect="Verb" SendParameterType="50"/>
          <Buss Name="Echo" Effect="Echo" SendParameterType="205"/>
        </BussList>
        <ChannelList>
          <Channel Name="Piano" Instrument="Piano">
            <Send Name="Nowhere" Level="20"/>
            <Send Name="Verb" Level="300"/>
            <Send Name="Echo" Level="12"/>
          </Channel>
        </ChannelList></Mixer></Studio>)");
    EXPECT_EQ(mixer.BussOf(verb)->SendParameterType(), 101);
    EXPECT_EQ(mixer.BussOf(echo)->SendParameterType(), 102);
    const MixerChannel& channel = *mixer.ChannelOf(piano);
    EXPECT_EQ(channel.Sends().size(), 2u);
    EXPECT_EQ(channel.FindSend(*mixer.BussOf(verb))->Level(), 0);
    EXPECT_EQ(channel.FindSend(*mixer.BussOf(echo))->Level(), 12);
}

TEST_F(MixerStorageTest, XMLOfAnotherTypeIsAnArchiveError)
{
    Mixer mixer;
    EXPECT_THROW(LoadXML(mixer, "<Studio><Channel Name='Mixer'/></Studio>", "Channel"), ArchiveException);
}

TEST_F(MixerStorageTest, BinaryRoundTrip)
{
    Mixer stored;
    Build(stored, false);
    Edit(stored);
    const std::string bytes = StoreBinary(stored);

    Mixer loaded;
    Build(loaded, true);
    LoadBinary(loaded, bytes);
    ExpectEdited(loaded);
    EXPECT_EQ(StoreBinary(loaded).size(), bytes.size());
}

TEST_F(MixerStorageTest, BinaryRecordsOfMissingTargetsAreReadAndDropped)
{
    Mixer stored;
    Build(stored, false);
    Edit(stored);
    const std::string bytes = StoreBinary(stored);

    // Without the verb and the piano their records are skipped; the rest still loads.
    Mixer loaded;
    ASSERT_TRUE(loaded.AddChannel(bass));
    ASSERT_TRUE(loaded.AddBuss(echo));
    LoadBinary(loaded, bytes);
    EXPECT_EQ(loaded.BussOf(echo)->SendParameterType(), 150);
    EXPECT_EQ(loaded.ChannelOf(bass)->FindSend(*loaded.BussOf(echo))->Level(), 33);
    EXPECT_EQ(loaded.GetParameterValue(7), 90);
}

TEST_F(MixerStorageTest, TruncatedBinaryRaisesAnArchiveError)
{
    Mixer stored;
    Build(stored, false);
    Edit(stored);
    const std::string bytes = StoreBinary(stored);
    for (std::size_t size = 0; size < bytes.size(); size += 7) {
        Mixer loaded;
        Build(loaded, false);
        EXPECT_THROW(LoadBinary(loaded, bytes.substr(0, size)), ArchiveException) << size;
    }
}

TEST_F(MixerStorageTest, AHugeCountIsRefusedBeforeAnyLoop)
{
    Mixer stored;
    const std::string base = StoreBinary(stored);
    // An empty mixer ends with the version byte and two zero counts; claim four billion busses.
    std::string bytes = base.substr(0, base.size() - 8) + std::string("\xFF\xFF\xFF\xFF", 4);
    Mixer loaded;
    EXPECT_THROW(LoadBinary(loaded, bytes), ArchiveException);
}

} // namespace
} // namespace jorvo
