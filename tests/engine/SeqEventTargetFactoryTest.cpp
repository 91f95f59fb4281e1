// The target factory: built-in engines by name, the plug-in scan and its tables, the lists of the
// selection dialogs, creation from XML and the binary target stream.
#include "engine/SeqEventTargetFactory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/EffectPlugin.h"
#include "engine/Instrument.h"
#include "engine/InstrumentPlugin.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

const std::string kPluginsDir = JORVO_TEST_PLUGINS_DIR;
const std::string kFMVoicePath = kPluginsDir + "/FMVoice/FMVoice.Instrument";

std::string NotFoundMessage(const std::string& engineName)
{
    return "Jorvo failed to find the plug-in '" + engineName +
           "'. Plug-ins are available from their authors; copy the plug-in file into the Plugins folder and start "
           "Jorvo again.";
}

class FactoryTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;

    // Points the plug-ins folder at `folder` and scans it; the number registered.
    int ScanFolder(const std::string& folder)
    {
        EXPECT_TRUE(Configuration().SetPluginsDir(folder));
        return SeqEventTargetFactory::RescanPlugins();
    }

    void CopyPlugin(const std::string& from, const fs::path& to)
    {
        fs::create_directories(to.parent_path());
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
};

// ---------------------------------------------------------------------------------------------
// Built-in engines

TEST_F(FactoryTest, EveryBuiltInIsCreatedByItsEngineName)
{
    ScanFolder(dir.path().string());
    const std::vector<std::pair<std::string, std::string>> instruments{
        {"Sampler", "InstrumentSampler"}, {"mSyn", "InstrumentMonoSynth"}, {"DefaultInstrument", "InstrumentDefault"}};
    for (const auto& [engineName, className] : instruments) {
        const auto instrument = SeqEventTargetFactory::CreateInstrument(engineName);
        ASSERT_NE(instrument, nullptr) << engineName;
        EXPECT_EQ(instrument->GetRuntimeClass().Name(), className);
        EXPECT_EQ(instrument->GetEngineName(), engineName);
    }
    const std::vector<std::pair<std::string, std::string>> effects{
        {"Reverb Lite", "EffectReverbLite"}, {"Reverb", "EffectReverb"},   {"Delay", "EffectDelay"},
        {"Chorus", "EffectChorus"},          {"Flanger", "EffectFlanger"}, {"Distortion", "EffectDistortion"}};
    for (const auto& [engineName, className] : effects) {
        const auto effect = SeqEventTargetFactory::CreateEffect(engineName);
        ASSERT_NE(effect, nullptr) << engineName;
        EXPECT_EQ(effect->GetRuntimeClass().Name(), className);
        EXPECT_EQ(effect->GetEngineName(), engineName);
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryTest, AnEmptyNameCreatesNothingSilently)
{
    EXPECT_EQ(SeqEventTargetFactory::CreateInstrument(""), nullptr);
    EXPECT_EQ(SeqEventTargetFactory::CreateEffect(""), nullptr);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryTest, NamesAreCaseSensitiveSoOtherSpellingsAreLookedUpAsPlugins)
{
    ScanFolder(kPluginsDir);
    EXPECT_EQ(SeqEventTargetFactory::CreateInstrument("sampler"), nullptr);
    EXPECT_EQ(SeqEventTargetFactory::CreateInstrument("MSYN"), nullptr);
    EXPECT_EQ(SeqEventTargetFactory::CreateEffect("delay"), nullptr);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{NotFoundMessage("sampler"), NotFoundMessage("MSYN"),
                                                        NotFoundMessage("delay")}));
}

TEST_F(FactoryTest, InstrumentAndEffectNamesAreSeparate)
{
    ScanFolder(kPluginsDir);
    EXPECT_EQ(SeqEventTargetFactory::CreateEffect("FMVoice"), nullptr);
    EXPECT_EQ(SeqEventTargetFactory::CreateInstrument("Delay"), nullptr);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{NotFoundMessage("FMVoice"), NotFoundMessage("Delay")}));
}

// ---------------------------------------------------------------------------------------------
// The plug-in scan

TEST_F(FactoryTest, ScanFindsBothExamplesOneInASubFolder)
{
    EXPECT_EQ(ScanFolder(kPluginsDir), 2);
    EXPECT_EQ(SeqEventTargetFactory::FindInstrumentPlugin("FMVoice"), kFMVoicePath);
    EXPECT_EQ(SeqEventTargetFactory::FindEffectPlugin("Tremolo"), kPluginsDir + "/Tremolo.Effect");
    EXPECT_EQ(SeqEventTargetFactory::FindInstrumentPlugin("Tremolo"), std::nullopt);
    EXPECT_EQ(SeqEventTargetFactory::ListInstruments(), (std::vector<std::string>{"Sampler", "mSyn", "FMVoice"}));
    EXPECT_EQ(SeqEventTargetFactory::ListEffects(),
              (std::vector<std::string>{"Distortion", "Flanger", "Chorus", "Delay", "Reverb", "Reverb Lite", "Tremolo"}));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryTest, PluginsAreCreatedLoadedAndMakeSound)
{
    ScanFolder(kPluginsDir);
    const auto instrument = SeqEventTargetFactory::CreateInstrument("FMVoice");
    ASSERT_NE(instrument, nullptr);
    ASSERT_NE(PersistentCast<InstrumentPlugin>(instrument.get()), nullptr);
    EXPECT_TRUE(PersistentCast<InstrumentPlugin>(instrument.get())->HasPluginObject());
    instrument->HandleEvent(200, 60, 127, 480, 0);
    instrument->BeginChunk(256);
    EXPECT_TRUE(instrument->Render(256));

    const auto effect = SeqEventTargetFactory::CreateEffect("Tremolo");
    ASSERT_NE(effect, nullptr);
    ASSERT_NE(PersistentCast<EffectPlugin>(effect.get()), nullptr);
    effect->PrepareChunk();
    EXPECT_TRUE(effect->Process(instrument->Output(), 256));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryTest, TheLibraryScannedLastWinsAName)
{
    // Depth first: the files of the sub-folders a and b come before the folder's own file.
    const fs::path root = dir / "Plugins";
    CopyPlugin(kFMVoicePath, root / "a" / "FMVoice.Instrument");
    CopyPlugin(kFMVoicePath, root / "b" / "Copy.Instrument");
    CopyPlugin(kFMVoicePath, root / "Last.Instrument");
    EXPECT_EQ(ScanFolder(root.string()), 3);
    EXPECT_EQ(SeqEventTargetFactory::FindInstrumentPlugin("FMVoice"), (root / "Last.Instrument").string());
    EXPECT_EQ(SeqEventTargetFactory::ListInstruments(), (std::vector<std::string>{"Sampler", "mSyn", "FMVoice"}));

    const auto instrument = SeqEventTargetFactory::CreateInstrument("FMVoice");
    ASSERT_NE(instrument, nullptr);
    EXPECT_EQ(PersistentCast<InstrumentPlugin>(instrument.get())->LibraryPath(), (root / "Last.Instrument").string());
}

TEST_F(FactoryTest, BrokenLibrariesAreReportedAndSkipped)
{
    const fs::path root = dir / "Plugins";
    fs::create_directories(root);
    test::WriteFileBytes(root / "x.Instrument", "text, not a library");
    test::WriteFileBytes(root / "y.Effect", "");
    CopyPlugin(kFMVoicePath, root / "Good.Instrument");
    EXPECT_EQ(ScanFolder(root.string()), 1);
    // The loader's own text, then the load failure, for the instrument; the load failure for the effect.
    ASSERT_EQ(shell.messages.size(), 3u);
    EXPECT_EQ(shell.messages[1], "Jorvo failed to load the plug-in file '" + (root / "x.Instrument").string() +
                                     "'. You may be running short of memory.");
    EXPECT_EQ(shell.messages[2], "Jorvo failed to load the plug-in file '" + (root / "y.Effect").string() +
                                     "'. You may be running short of memory.");
    EXPECT_EQ(SeqEventTargetFactory::ListEffects().size(), 6u);
}

TEST_F(FactoryTest, TheFolderIsScannedOnceUntilRescan)
{
    const fs::path root = dir / "Plugins";
    fs::create_directories(root);
    ScanFolder(root.string());
    CopyPlugin(kFMVoicePath, root / "Late.Instrument");
    EXPECT_EQ(SeqEventTargetFactory::ListInstruments(), (std::vector<std::string>{"Sampler", "mSyn"}));
    EXPECT_EQ(SeqEventTargetFactory::RescanPlugins(), 1);
    EXPECT_EQ(SeqEventTargetFactory::ListInstruments(), (std::vector<std::string>{"Sampler", "mSyn", "FMVoice"}));
}

TEST_F(FactoryTest, AMissingLibraryFileGivesNoTarget)
{
    const fs::path root = dir / "Plugins";
    CopyPlugin(kFMVoicePath, root / "Gone.Instrument");
    ScanFolder(root.string());
    fs::remove(root / "Gone.Instrument");
    EXPECT_EQ(SeqEventTargetFactory::CreateInstrument("FMVoice"), nullptr);
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Jorvo failed to find the plug-in file '" +
                                                       (root / "Gone.Instrument").string() +
                                                       "'. You may need to reinstall this plug-in."});
}

// ---------------------------------------------------------------------------------------------
// Creation from XML

class FactoryXMLTest : public FactoryTest {
protected:
    // Stores `target` as the only child of a document and opens it again on that child.
    void StoreAndReopen(SeqEventTarget& target, CXMLArchive& reader)
    {
        const std::string path = (dir / "targets.xml").string();
        {
            CXMLArchive archive;
            ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
            ASSERT_TRUE(archive.CreateRoot("JorvoDocument"));
            CXMLArchive child(archive);
            target.SerializeXML(child);
            ASSERT_TRUE(archive.Save());
        }
        ASSERT_TRUE(reader.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(reader.Descend(target.GetTypeName()));
    }

    void OpenText(CXMLArchive& reader, const std::string& text, const std::string& element)
    {
        const std::string path = (dir / "text.xml").string();
        test::WriteFileBytes(path, text);
        ASSERT_TRUE(reader.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(reader.Descend(element));
    }
};

TEST_F(FactoryXMLTest, BuiltInInstrumentRoundTrip)
{
    const auto written = SeqEventTargetFactory::CreateInstrument("mSyn");
    written->SetStoredValue(32, 4);  // Octave
    written->SetStoredValue(71, 99); // Frequency
    CXMLArchive reader;
    StoreAndReopen(*written, reader);
    const auto read = SeqEventTargetFactory::CreateInstrumentFromXML(reader);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetRuntimeClass().Name(), "InstrumentMonoSynth");
    EXPECT_EQ(read->FindParameter(32)->StoredValue(), 4);
    EXPECT_EQ(read->FindParameter(71)->StoredValue(), 99);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryXMLTest, BuiltInEffectRoundTrip)
{
    const auto written = SeqEventTargetFactory::CreateEffect("Reverb Lite");
    const std::uint16_t number = written->Parameters().begin()->first;
    const SeqParameter& parameter = *written->Parameters().begin()->second;
    const std::int32_t value = parameter.StoredValue() == parameter.Minimum() ? parameter.Maximum() : parameter.Minimum();
    written->SetStoredValue(number, value);
    CXMLArchive reader;
    StoreAndReopen(*written, reader);
    const auto read = SeqEventTargetFactory::CreateEffectFromXML(reader);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetRuntimeClass().Name(), "EffectReverbLite");
    EXPECT_EQ(read->FindParameter(number)->StoredValue(), value);
}

TEST_F(FactoryXMLTest, PluginRoundTrip)
{
    ScanFolder(kPluginsDir);
    const auto written = SeqEventTargetFactory::CreateEffect("Tremolo");
    written->SetStoredValue(31, 5);
    CXMLArchive reader;
    StoreAndReopen(*written, reader);
    const auto read = SeqEventTargetFactory::CreateEffectFromXML(reader);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetEngineName(), "Tremolo");
    EXPECT_EQ(read->FindParameter(31)->StoredValue(), 5);
    EXPECT_EQ(read->GetParameterValue(31), 5);
}

TEST_F(FactoryXMLTest, MissingOrUnknownEngineGivesNoTarget)
{
    ScanFolder(kPluginsDir);
    {
        CXMLArchive reader;
        OpenText(reader, "<JorvoDocument><Instrument Name='x'/></JorvoDocument>", "Instrument");
        EXPECT_EQ(SeqEventTargetFactory::CreateInstrumentFromXML(reader), nullptr);
        EXPECT_TRUE(shell.messages.empty());
    }
    CXMLArchive reader;
    OpenText(reader, "<JorvoDocument><Effect Name='x' Engine='Phaser'/></JorvoDocument>", "Effect");
    EXPECT_EQ(SeqEventTargetFactory::CreateEffectFromXML(reader), nullptr);
    EXPECT_EQ(shell.messages, std::vector<std::string>{NotFoundMessage("Phaser")});
}

TEST_F(FactoryXMLTest, AnElementOfTheWrongTypeRaisesTheArchiveError)
{
    CXMLArchive reader;
    OpenText(reader, "<JorvoDocument><Effect Name='x' Engine='mSyn'/></JorvoDocument>", "Effect");
    EXPECT_THROW(SeqEventTargetFactory::CreateInstrumentFromXML(reader), ArchiveException);
}

// ---------------------------------------------------------------------------------------------
// The binary target stream

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

const std::string kEndMarker = Bytes({0x1B, 0x1A, 0x19, 0x18});

std::string StoreStream(SeqEventTarget* target, const std::string& trailer = "")
{
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store);
    SeqEventTargetFactory::StoreTarget(archive, target);
    archive.WriteBytes(trailer.data(), trailer.size());
    archive.Close();
    return stream.BytesAsString();
}

TEST_F(FactoryTest, NoTargetIsStoredAsMarkEmptyNameAndEndMarker)
{
    const std::string bytes = StoreStream(nullptr);
    // "EDCB", the empty wide string (mark FF FE FF, length 0), the end marker.
    EXPECT_EQ(bytes, "EDCB" + Bytes({0xFF, 0xFE, 0xFF, 0x00}) + kEndMarker);

    MemoryStream stream(bytes + "Z");
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    EXPECT_EQ(SeqEventTargetFactory::LoadInstrument(archive), nullptr);
    EXPECT_EQ(archive.ReadByte(), 'Z');
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryTest, InstrumentStreamRoundTripEndsAfterTheMarker)
{
    const auto written = SeqEventTargetFactory::CreateInstrument("mSyn");
    written->SetStoredValue(37, 100); // Decay
    const std::string bytes = StoreStream(written.get(), "Z");
    EXPECT_EQ(bytes.substr(0, 4), "EDCB");
    EXPECT_EQ(bytes.substr(bytes.size() - 5, 4), kEndMarker);

    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    const auto read = SeqEventTargetFactory::LoadInstrument(archive);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetRuntimeClass().Name(), "InstrumentMonoSynth");
    EXPECT_EQ(read->FindParameter(37)->StoredValue(), 100);
    EXPECT_EQ(archive.ReadByte(), 'Z');
}

TEST_F(FactoryTest, EffectAndPluginStreamsRoundTrip)
{
    ScanFolder(kPluginsDir);
    const auto delay = SeqEventTargetFactory::CreateEffect("Delay");
    delay->SetStoredValue(71, 3); // Feedback
    const auto voice = SeqEventTargetFactory::CreateInstrument("FMVoice");
    voice->SetStoredValue(31, 5); // Ratio

    MemoryStream stream;
    {
        BinaryArchive archive(stream, BinaryArchive::Mode::Store);
        SeqEventTargetFactory::StoreTarget(archive, delay.get());
        SeqEventTargetFactory::StoreTarget(archive, voice.get());
        archive.Close();
    }
    stream.Seek(0);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    const auto readDelay = SeqEventTargetFactory::LoadEffect(archive);
    const auto readVoice = SeqEventTargetFactory::LoadInstrument(archive);
    ASSERT_NE(readDelay, nullptr);
    ASSERT_NE(readVoice, nullptr);
    EXPECT_EQ(readDelay->FindParameter(71)->StoredValue(), 3);
    EXPECT_EQ(readVoice->GetEngineName(), "FMVoice");
    EXPECT_EQ(readVoice->GetParameterValue(31), 5);
    EXPECT_EQ(archive.BytesAvailable(), 0u);
}

TEST_F(FactoryTest, BytesTheTargetDoesNotReadAreSkippedToTheMarker)
{
    const auto written = SeqEventTargetFactory::CreateInstrument("DefaultInstrument");
    std::string bytes = StoreStream(written.get());
    // Newer data the target does not know, including a partial marker.
    bytes.insert(bytes.size() - 4, Bytes({1, 2, 0x1B, 0x1A, 0x19, 3}));
    MemoryStream stream(bytes + "Z");
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    ASSERT_NE(SeqEventTargetFactory::LoadInstrument(archive), nullptr);
    EXPECT_EQ(archive.ReadByte(), 'Z');
}

TEST_F(FactoryTest, AStreamWithoutTheMarkLeavesThePositionUnchanged)
{
    for (const std::string& bytes : {std::string("XDCB-rest"), std::string("ED"), std::string()}) {
        MemoryStream stream("@@" + bytes);
        BinaryArchive archive(stream, BinaryArchive::Mode::Load);
        ASSERT_EQ(archive.ReadByte(), '@');
        ASSERT_EQ(archive.ReadByte(), '@');
        EXPECT_EQ(SeqEventTargetFactory::LoadInstrument(archive), nullptr);
        EXPECT_EQ(SeqEventTargetFactory::LoadEffect(archive), nullptr);
        EXPECT_EQ(archive.BytesAvailable(), bytes.size());
        if (!bytes.empty()) {
            EXPECT_EQ(archive.ReadByte(), bytes[0]);
        }
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(FactoryTest, DamagedStreamsGiveNoTarget)
{
    const auto written = SeqEventTargetFactory::CreateInstrument("mSyn");
    const std::string bytes = StoreStream(written.get());
    // Cut inside the target's data, and cut before the end marker.
    for (const std::size_t length : {bytes.size() / 2, bytes.size() - 1}) {
        MemoryStream stream(bytes.substr(0, length));
        BinaryArchive archive(stream, BinaryArchive::Mode::Load);
        EXPECT_EQ(SeqEventTargetFactory::LoadInstrument(archive), nullptr) << length;
    }
    // An instrument record read as an effect: the engine name is not an effect.
    ScanFolder(dir.path().string());
    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    EXPECT_EQ(SeqEventTargetFactory::LoadEffect(archive), nullptr);
    EXPECT_EQ(shell.messages, std::vector<std::string>{NotFoundMessage("mSyn")});
    EXPECT_EQ(archive.BytesAvailable(), 0u); // skipped to the end marker
}

TEST_F(FactoryTest, AMemberThatFailsPartWayIsSkippedSoTheNextOneLoads)
{
    const auto first = SeqEventTargetFactory::CreateInstrument("mSyn");
    const auto second = SeqEventTargetFactory::CreateInstrument("DefaultInstrument");
    const std::string firstBytes = StoreStream(first.get());
    std::string bytes = firstBytes + StoreStream(second.get());
    // The instrument repeats its engine name near the end of its own record (after the stream's
    // header and its name); spoiling that copy makes its Serialize fail part way.
    const std::string wideName = Bytes({'m', 0, 'S', 0, 'y', 0, 'n', 0});
    const std::size_t inner = firstBytes.rfind(wideName);
    ASSERT_GT(inner, firstBytes.find(wideName));
    bytes[inner] = 'x';

    MemoryStream stream(bytes);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    EXPECT_EQ(SeqEventTargetFactory::LoadInstrument(archive), nullptr);
    const auto next = SeqEventTargetFactory::LoadInstrument(archive);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetEngineName(), "DefaultInstrument");
}

} // namespace
} // namespace jorvo
