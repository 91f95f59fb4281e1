// The plug-in host: loading libraries (every failure and its message), the plug-in instrument and
// effect around a probing test library, and the two example plug-ins.
#include "engine/PluginLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dlfcn.h>
#include <string>

#include "audio/SampleStore.h"
#include "audio/WavBuilder.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/EffectPlugin.h"
#include "engine/InstrumentPlugin.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

const std::string kPluginsDir = JORVO_TEST_PLUGINS_DIR;
const std::string kFixturesDir = JORVO_TEST_PLUGIN_FIXTURES_DIR;
const std::string kFMVoicePath = kPluginsDir + "/FMVoice/FMVoice.Instrument";
const std::string kTremoloPath = kPluginsDir + "/Tremolo.Effect";
const std::string kProbePath = kFixturesDir + "/Probe.Instrument";

std::string Fixture(const std::string& name)
{
    return kFixturesDir + "/" + name;
}

// True while the library at `path` is loaded in this process (asks without loading it).
bool IsLoaded(const std::string& path)
{
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
}

// The probe's observations after one render of `frames` frames (see ProbePlugin.c).
struct ProbeView {
    std::int32_t code, a, gain, pulse, frameCount, firstSample, sampleCalls, frames;
};

ProbeView RenderProbe(InstrumentPlugin& probe, int frames = 8)
{
    probe.BeginChunk(frames);
    probe.Render(frames);
    const std::int32_t* out = probe.Output();
    return {out[0], out[1], out[2], out[3], out[4], out[5], out[6], out[7]};
}

class PluginHostTest : public ::testing::Test {
protected:
    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
};

// ---------------------------------------------------------------------------------------------
// Load failures: each shows its exact message with a stop icon, and nothing stays loaded

TEST_F(PluginHostTest, MissingFileIsReported)
{
    const std::string path = (dir / "Gone.Instrument").string();
    InstrumentPlugin plugin;
    EXPECT_FALSE(plugin.Load(path, true));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0],
              "Jorvo failed to find the plug-in file '" + path + "'. You may need to reinstall this plug-in.");
    EXPECT_EQ(shell.messageBoxes[0].icon, MessageIcon::Error);
    EXPECT_FALSE(plugin.HasPluginObject());
    EXPECT_EQ(plugin.GetEngineName(), "");
}

TEST_F(PluginHostTest, TextFileAsInstrumentShowsLoaderErrorThenLoadFailure)
{
    const std::string path = (dir / "x.Instrument").string();
    test::WriteFileBytes(path, "This is not a shared library.\n");
    InstrumentPlugin plugin;
    EXPECT_FALSE(plugin.Load(path, true));
    ASSERT_EQ(shell.messageBoxes.size(), 2u);
    EXPECT_EQ(shell.messageBoxes[0].caption, "Error");
    EXPECT_FALSE(shell.messageBoxes[0].text.empty());
    EXPECT_EQ(shell.messageBoxes[1].text,
              "Jorvo failed to load the plug-in file '" + path + "'. You may be running short of memory.");
    EXPECT_EQ(shell.messageBoxes[1].icon, MessageIcon::Error);
}

TEST_F(PluginHostTest, TextFileAsEffectShowsOnlyLoadFailure)
{
    const std::string path = (dir / "x.Effect").string();
    test::WriteFileBytes(path, "");
    EffectPlugin plugin;
    EXPECT_FALSE(plugin.Load(path, true));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0],
              "Jorvo failed to load the plug-in file '" + path + "'. You may be running short of memory.");
}

TEST_F(PluginHostTest, LibraryWithoutEntryPointsHasBadFormat)
{
    const std::string path = Fixture("NoEntryPoints.Instrument");
    InstrumentPlugin plugin;
    EXPECT_FALSE(plugin.Load(path, false));
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], "Plug-in file '" + path + "' has a bad format.");
    EXPECT_FALSE(IsLoaded(path));
}

TEST_F(PluginHostTest, MissingCreateEntryHasBadFormat)
{
    // A good instrument library loaded as an effect: it has no "CreateEffectPlugin".
    const std::string path = Fixture("InstrumentOnly.Effect");
    EffectPlugin plugin;
    EXPECT_FALSE(plugin.Load(path, false));
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Plug-in file '" + path + "' has a bad format."});
}

TEST_F(PluginHostTest, NoInformationOrAnotherInterfaceVersionIsRefused)
{
    for (const std::string name : {"NullInfo.Instrument", "BadAbi.Instrument"}) {
        shell.messages.clear();
        const std::string path = Fixture(name);
        InstrumentPlugin plugin;
        EXPECT_FALSE(plugin.Load(path, false)) << name;
        EXPECT_EQ(shell.messages, std::vector<std::string>{"Plug-in file '" + path +
                                                           "' has a bad format, Failed to get plug-in information."})
            << name;
        EXPECT_FALSE(IsLoaded(path)) << name;
    }
}

TEST_F(PluginHostTest, CreateGivingNoObjectFailsOnlyWhenCreating)
{
    const std::string path = Fixture("NullObject.Instrument");
    {
        // Information only (the scan's way) does not create anything, so it succeeds.
        InstrumentPlugin probe;
        EXPECT_TRUE(probe.Load(path, false));
        EXPECT_EQ(probe.GetEngineName(), "Probe");
        EXPECT_FALSE(probe.HasPluginObject());
        EXPECT_TRUE(shell.messages.empty());
    }
    InstrumentPlugin plugin;
    EXPECT_FALSE(plugin.Load(path, true));
    EXPECT_EQ(shell.messages, std::vector<std::string>{"Failed to create the plug-in '" + path +
                                                       "'. You may be low on memory or the plugin file may be corrupt."});
    EXPECT_FALSE(IsLoaded(path));
    EXPECT_TRUE(plugin.Parameters().empty());
}

// ---------------------------------------------------------------------------------------------
// The plug-in instrument around the probe

TEST_F(PluginHostTest, LoadTakesInformationAndUsableParameters)
{
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(probe.GetEngineName(), "Probe");
    EXPECT_EQ(probe.GetName(), "Probe");
    EXPECT_EQ(probe.SampleRate(), 22050);
    EXPECT_EQ(probe.Channels(), 2);
    EXPECT_EQ(probe.LibraryPath(), kProbePath);

    // The null entry, the duplicate of number 7 and the record with minimum > maximum are skipped.
    ASSERT_EQ(probe.Parameters().size(), 2u);
    const SeqParameter* gain = probe.FindParameter(7);
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->Name(), "Gain");
    EXPECT_EQ(gain->Description(), "");
    EXPECT_EQ(gain->Minimum(), 0);
    EXPECT_EQ(gain->Maximum(), 100);
    EXPECT_EQ(gain->StoredValue(), 50);
    const SeqParameter* mode = probe.FindParameter(20);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->Description(), "Probe Mode");
    EXPECT_EQ(mode->Minimum(), -5);
    EXPECT_EQ(mode->StoredValue(), -2);
    EXPECT_EQ(probe.FindParameter(21), nullptr);
}

TEST_F(PluginHostTest, EventsReachThePluginUnchanged)
{
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    probe.HandleEvent(200, 61, 100, 480, 0);
    ProbeView view = RenderProbe(probe);
    EXPECT_EQ(view.code, 200);
    EXPECT_EQ(view.a, 61);

    // A parameter event sets the live value on both sides; an out-of-range one reaches the plug-in
    // but changes neither.
    probe.HandleEvent(7, 80, 0, 0, 0);
    EXPECT_EQ(probe.GetParameterValue(7), 80);
    EXPECT_EQ(RenderProbe(probe).gain, 80);
    probe.HandleEvent(7, 101, 0, 0, 0);
    view = RenderProbe(probe);
    EXPECT_EQ(view.code, 7);
    EXPECT_EQ(view.a, 101);
    EXPECT_EQ(view.gain, 80);
    EXPECT_EQ(probe.GetParameterValue(7), 80);
}

TEST_F(PluginHostTest, StopResetSendsStoredValuesAgain)
{
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    probe.SetStoredValue(7, 30);
    probe.HandleEvent(7, 90, 0, 0, 0);
    probe.HandleEvent(255, 0, 0, 0, 0);
    EXPECT_EQ(probe.GetParameterValue(7), 30);
    const ProbeView view = RenderProbe(probe);
    EXPECT_EQ(view.gain, 30);
    // The last event the plug-in saw is the last parameter in number order: "Mode" (20) = −2.
    EXPECT_EQ(view.code, 20);
    EXPECT_EQ(view.a, -2);
}

TEST_F(PluginHostTest, RenderFollowsTheRenderContract)
{
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    probe.BeginChunk(16);
    ASSERT_TRUE(probe.Render(16));
    EXPECT_TRUE(probe.IsRendered());
    EXPECT_EQ(probe.Output()[7], 16);     // frames asked for
    EXPECT_EQ(probe.Output()[31], 1000);  // last sample of 16 stereo frames
    EXPECT_EQ(probe.Output()[32], 0);     // nothing beyond them

    // A second call in the same chunk answers true without writing.
    std::fill_n(probe.Output(), 32, 7);
    EXPECT_TRUE(probe.Render(16));
    EXPECT_EQ(probe.Output()[0], 7);

    // The plug-in reports silence while its gain is 0.
    probe.HandleEvent(7, 0, 0, 0, 0);
    probe.BeginChunk(16);
    EXPECT_FALSE(probe.Render(16));
    EXPECT_FALSE(probe.IsRendered());

    // Frame counts the buffer cannot hold are never passed on.
    probe.HandleEvent(7, 50, 0, 0, 0);
    probe.BeginChunk(16);
    EXPECT_FALSE(probe.Render(0));
    EXPECT_FALSE(probe.Render(Instrument::kMaxFrames + 1));
    EXPECT_TRUE(probe.Render(Instrument::kMaxFrames));
}

TEST_F(PluginHostTest, InstrumentsReadTheHostsPulseCounter)
{
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    SetPluginPulseCounter(123456);
    EXPECT_EQ(RenderProbe(probe).pulse, 123456);
    SetPluginPulseCounter(7);
    EXPECT_EQ(RenderProbe(probe).pulse, 7);
}

TEST_F(PluginHostTest, LibraryStaysLoadedWhileItsObjectsLive)
{
    // The test's own reference keeps the library loaded so its object count can be read.
    void* handle = ::dlopen(kProbePath.c_str(), RTLD_NOW);
    ASSERT_NE(handle, nullptr);
    const auto liveObjects = reinterpret_cast<std::int32_t (*)()>(::dlsym(handle, "ProbeLiveObjects"));
    ASSERT_NE(liveObjects, nullptr);
    {
        auto first = std::make_unique<InstrumentPlugin>();
        auto second = std::make_unique<InstrumentPlugin>();
        ASSERT_TRUE(first->Load(kProbePath, true));
        ASSERT_TRUE(second->Load(kProbePath, true));
        EXPECT_EQ(liveObjects(), 2);
        first.reset();
        EXPECT_EQ(liveObjects(), 1);
        EXPECT_EQ(RenderProbe(*second).gain, 50);
    }
    EXPECT_EQ(liveObjects(), 0);
    ::dlclose(handle);
    EXPECT_FALSE(IsLoaded(kProbePath));
}

TEST_F(PluginHostTest, LoadingAgainReplacesObjectAndParameters)
{
    InstrumentPlugin plugin;
    ASSERT_TRUE(plugin.Load(kProbePath, true));
    ASSERT_TRUE(plugin.Load(kFMVoicePath, true));
    EXPECT_EQ(plugin.GetEngineName(), "FMVoice");
    EXPECT_EQ(plugin.Channels(), 1);
    EXPECT_EQ(plugin.FindParameter(20), nullptr);
    EXPECT_EQ(plugin.Parameters().size(), 6u);
    EXPECT_FALSE(IsLoaded(kProbePath));
}

// ---------------------------------------------------------------------------------------------
// Storage

TEST_F(PluginHostTest, BinaryRoundTripSendsStoredValuesToThePlugin)
{
    InstrumentPlugin written;
    ASSERT_TRUE(written.Load(kProbePath, true));
    written.SetStoredValue(7, 33);
    written.SetStoredValue(20, 4);
    MemoryStream stream;
    {
        BinaryArchive archive(stream, BinaryArchive::Mode::Store);
        written.Serialize(archive);
        archive.Close();
    }
    EXPECT_EQ(stream.Bytes().back(), 1); // the plug-in's own version byte

    InstrumentPlugin read;
    ASSERT_TRUE(read.Load(kProbePath, true));
    stream.Seek(0);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    read.Serialize(archive);
    EXPECT_EQ(archive.BytesAvailable(), 0u);
    EXPECT_EQ(read.FindParameter(7)->StoredValue(), 33);
    EXPECT_EQ(read.FindParameter(20)->StoredValue(), 4);
    EXPECT_EQ(RenderProbe(read).gain, 33);
}

TEST_F(PluginHostTest, BinaryRecordOfAnotherEngineIsRefused)
{
    InstrumentPlugin written;
    ASSERT_TRUE(written.Load(kFMVoicePath, true));
    MemoryStream stream;
    {
        BinaryArchive archive(stream, BinaryArchive::Mode::Store);
        written.Serialize(archive);
        archive.Close();
    }
    InstrumentPlugin read;
    ASSERT_TRUE(read.Load(kProbePath, true));
    stream.Seek(0);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    EXPECT_THROW(read.Serialize(archive), ArchiveException);
}

TEST_F(PluginHostTest, XMLLoadKeepsThePluginsChannelLayout)
{
    // A hand-edited file claims mono at 8000 Hz; the probe renders stereo at 22050 Hz, and the
    // buffer must stay what the plug-in writes.
    const std::string path = (dir / "probe.xml").string();
    test::WriteFileBytes(path, "<JorvoDocument><Instrument Name='Probe' Engine='Probe' SampleRate='8000' "
                               "Channels='1'><Parameter Name='Gain' Value='12'/></Instrument></JorvoDocument>");
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Instrument"));
    probe.SerializeXML(archive);
    EXPECT_EQ(probe.Channels(), 2);
    EXPECT_EQ(probe.SampleRate(), 22050);
    EXPECT_EQ(probe.FindParameter(7)->StoredValue(), 12);
    probe.BeginChunk(Instrument::kMaxFrames);
    ASSERT_TRUE(probe.Render(Instrument::kMaxFrames));
    EXPECT_EQ(probe.Output()[2], 12);
    EXPECT_EQ(probe.Output()[2 * Instrument::kMaxFrames - 1], 1000);
}

// ---------------------------------------------------------------------------------------------
// Sample slots

class PluginSampleTest : public PluginHostTest {
protected:
    SoundStudio studio;

    // A mono WAV file of `frames` frames all at `value`, loaded into the store; its index.
    int LoadConstantSample(const std::string& name, std::size_t frames, std::int16_t value)
    {
        const std::string path = (dir / name).string();
        test::WriteFileBytes(path, test::RiffWave({test::FormatChunk(1), test::DataChunk(std::vector<std::int16_t>(frames, value))}));
        std::string sampleName = path;
        return studio.GetSampleStore().LoadSample(sampleName);
    }
};

TEST_F(PluginSampleTest, SlotsPassTheSampleDescriptionAndEmptyOnes)
{
    const int index = LoadConstantSample("tone.wav", 300, 1234);
    ASSERT_GE(index, 0);
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    probe.SetSampleSlot(0, index);
    ProbeView view = RenderProbe(probe);
    EXPECT_EQ(view.frameCount, 300);
    EXPECT_EQ(view.firstSample, 1234);
    EXPECT_EQ(view.sampleCalls, 1);

    probe.SetSampleSlot(0, -1);
    view = RenderProbe(probe);
    EXPECT_EQ(view.frameCount, 0);
    EXPECT_EQ(view.firstSample, 0);
    EXPECT_EQ(view.sampleCalls, 2);
}

TEST_F(PluginSampleTest, LoadingEmptiesEverySlotBeforeFillingThemAgain)
{
    const int index = LoadConstantSample("tone.wav", 50, 99);
    InstrumentPlugin probe;
    ASSERT_TRUE(probe.Load(kProbePath, true));
    probe.SetSampleSlot(0, index);

    // A record without slots: the plug-in is told slot 0 is empty, so it cannot keep frames the
    // store may free once the old slot is released.
    InstrumentPlugin empty;
    ASSERT_TRUE(empty.Load(kProbePath, true));
    MemoryStream stream;
    {
        BinaryArchive archive(stream, BinaryArchive::Mode::Store);
        empty.Serialize(archive);
        archive.Close();
    }
    stream.Seek(0);
    BinaryArchive archive(stream, BinaryArchive::Mode::Load);
    probe.Serialize(archive);
    const ProbeView view = RenderProbe(probe);
    EXPECT_EQ(view.frameCount, 0);
    EXPECT_EQ(view.sampleCalls, 2);
    EXPECT_EQ(probe.SampleSlotCount(), 0);
}

TEST_F(PluginSampleTest, FMVoicePlaysTheSampleOfSlotZero)
{
    // 2000 frames at half scale, root note 60 (no sampler chunk): note 60 plays it at its own rate.
    const int index = LoadConstantSample("half.wav", 2000, 16384);
    InstrumentPlugin voice;
    ASSERT_TRUE(voice.Load(kFMVoicePath, true));
    voice.SetSampleSlot(0, index);
    voice.HandleEvent(30, 1, 0, 0, 0);   // Source: sample
    voice.HandleEvent(7, 127, 0, 0, 0);  // Volume: full
    voice.HandleEvent(33, 0, 0, 0, 0);   // Attack: 1 ms
    voice.HandleEvent(200, 60, 127, 0, 0);
    voice.BeginChunk(1024);
    ASSERT_TRUE(voice.Render(1024));
    // After the 1 ms attack: 0.5 (the sample) × voice gain 0.25 × full scale 8388352.
    EXPECT_NEAR(voice.Output()[100], 1048544, 2);
    EXPECT_NEAR(voice.Output()[1000], 1048544, 2);

    // Without a loop the voice ends with the sample (2000 frames): silent from the third chunk.
    voice.BeginChunk(1024);
    EXPECT_TRUE(voice.Render(1024));
    EXPECT_EQ(voice.Output()[1000], 0);
    voice.BeginChunk(1024);
    EXPECT_FALSE(voice.Render(1024));
}

// ---------------------------------------------------------------------------------------------
// The example plug-ins

TEST_F(PluginHostTest, FMVoiceSoundsFromNoteStartUntilItsReleaseEnds)
{
    InstrumentPlugin voice;
    ASSERT_TRUE(voice.Load(kFMVoicePath, true));
    EXPECT_EQ(voice.GetEngineName(), "FMVoice");
    EXPECT_EQ(voice.Channels(), 1);
    EXPECT_EQ(voice.SampleRate(), 44100);
    EXPECT_EQ(voice.Parameters().size(), 6u);

    voice.BeginChunk(512);
    EXPECT_FALSE(voice.Render(512));

    voice.HandleEvent(200, 69, 127, 480, 0);
    voice.HandleEvent(200, 76, 100, 480, 0);
    voice.BeginChunk(1024);
    ASSERT_TRUE(voice.Render(1024));
    const auto [low, high] = std::minmax_element(voice.Output(), voice.Output() + 1024);
    EXPECT_LT(*low, -100000);
    EXPECT_GT(*high, 100000);
    EXPECT_LE(*high, 8388352);
    EXPECT_GE(*low, -8388352);

    voice.HandleEvent(201, 69, 0, 0, 0);
    voice.HandleEvent(200, 76, 0, 0, 0); // velocity 0 ends a note too
    int chunks = 0;
    do {
        voice.BeginChunk(1024);
        ++chunks;
    } while (voice.Render(1024) && chunks < 100);
    // Release 40 falls 60 dB in about a quarter of a second: about 11 chunks.
    EXPECT_GT(chunks, 5);
    EXPECT_LT(chunks, 30);
}

TEST_F(PluginHostTest, TremoloWithoutDepthPassesTheInputToBothSides)
{
    EffectPlugin tremolo;
    ASSERT_TRUE(tremolo.Load(kTremoloPath, true));
    EXPECT_EQ(tremolo.GetEngineName(), "Tremolo");
    EXPECT_EQ(tremolo.InputChannels(), 1);
    EXPECT_EQ(tremolo.OutputChannels(), 2);
    EXPECT_EQ(tremolo.Parameters().size(), 3u);

    tremolo.HandleEvent(31, 0, 0, 0, 0); // Depth 0: unity gain
    std::vector<std::int32_t> input(256);
    for (std::size_t i = 0; i < input.size(); ++i)
        input[i] = static_cast<std::int32_t>(i * 9000) - 1000000;
    tremolo.PrepareChunk();
    ASSERT_TRUE(tremolo.Process(input.data(), 256));
    for (std::size_t i = 0; i < input.size(); ++i) {
        EXPECT_EQ(tremolo.Output()[2 * i], input[i]) << i;
        EXPECT_EQ(tremolo.Output()[2 * i + 1], input[i]) << i;
    }

    const std::vector<std::int32_t> silence(256, 0);
    EXPECT_FALSE(tremolo.Process(silence.data(), 256));
}

TEST_F(PluginHostTest, TremoloFullySpreadPansWithoutChangingTheSum)
{
    EffectPlugin tremolo;
    ASSERT_TRUE(tremolo.Load(kTremoloPath, true));
    tremolo.HandleEvent(30, 127, 0, 0, 0); // fastest rate
    tremolo.HandleEvent(31, 127, 0, 0, 0); // full depth
    tremolo.HandleEvent(32, 127, 0, 0, 0); // opposite phases
    const std::vector<std::int32_t> input(1024, 1 << 20);
    bool panned = false;
    for (int chunk = 0; chunk < 4; ++chunk) {
        ASSERT_TRUE(tremolo.Process(input.data(), 1024));
        for (int i = 0; i < 1024; ++i) {
            const std::int32_t left = tremolo.Output()[2 * i];
            const std::int32_t right = tremolo.Output()[2 * i + 1];
            // Opposite sines: the two gains add up to unity (within the table's rounding).
            EXPECT_NEAR(left + right, 1 << 20, 200);
            panned = panned || left > 3 * right;
        }
    }
    EXPECT_TRUE(panned);
}

} // namespace
} // namespace jorvo
