// The studio stored to XML and to the binary archive and loaded into a fresh studio must play
// exactly as the original; damaged members are reported and left out; the studio's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "document/ArchiveException.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/EngineMessages.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/ProcessorMeter.h"
#include "engine/SoundStudio.h"
#include "platform/AudioDevice.h"
#include "platform/AudioDeviceList.h"
#include "platform/RecordingShell.h"
#include "platform/SilentAudioDevice.h"
#include "platform/TextFormat.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

constexpr int kRenderFrames = 6000;

void AddNote(SeqEventPattern& pattern, std::uint32_t start, std::uint32_t length, std::uint32_t pitch)
{
    auto note = std::make_unique<SeqEventNote>();
    note->SetStart(start);
    note->SetLength(length);
    note->SetPitch(pitch);
    note->SetVelocity(110);
    std::unique_ptr<SeqEvent> event = std::move(note);
    ASSERT_TRUE(pattern.InsertEvent(event));
}

class SoundStudioStorageTest : public ::testing::Test {
protected:
    SoundStudioStorageTest() { SequencerSettings::RestoreInitialValues(); }

    // mSyn "Lead", the default instrument "Plain", a sampler without zones, a Delay and a Reverb,
    // with sends, and a song of one section in which Lead and Plain play short notes.
    static void Build(SoundStudio& studio)
    {
        Effect* delay = studio.AddEffect("Delay");
        Effect* reverb = studio.AddEffect("Reverb");
        Instrument* lead = studio.AddInstrument("mSyn");
        Instrument* plain = studio.AddInstrument("DefaultInstrument");
        Instrument* sampler = studio.AddInstrument("Sampler");
        ASSERT_TRUE(delay && reverb && lead && plain && sampler);
        lead->SetName("Lead");
        plain->SetName("Plain");
        Mixer& mixer = studio.GetMixer();
        mixer.ChannelOf(*lead)->SetSend(*mixer.BussOf(*delay), 100);
        mixer.ChannelOf(*lead)->SetSend(*mixer.BussOf(*reverb), 70);
        mixer.ChannelOf(*plain)->SetSend(*mixer.BussOf(*reverb), 90);
        // As the user interface does it: live and stored at once.
        Sequencer& sequencer = studio.GetSequencer();
        sequencer.SendToTarget(mixer.ChannelOf(*plain), 10, 20, 0, 0, 0);
        sequencer.SendToTarget(&mixer, 7, 110, 0, 0, 0);
        {
            // Live edits fade towards their gains; a loaded studio starts settled, so settle these.
            SoundStudio::RenderLock lock(studio);
            mixer.HandleEvent(255, 0, 0, 0, 0);
            for (const auto& channel : mixer.Channels())
                channel->HandleEvent(255, 0, 0, 0, 0);
        }

        ASSERT_TRUE(sequencer.SetTempo(150));
        SeqEventPattern* melody = sequencer.CreatePattern("Melody");
        SeqEventPattern* bass = sequencer.CreatePattern("Bass");
        AddNote(*melody, 0, 40, 69);
        AddNote(*melody, 60, 30, 76);
        AddNote(*bass, 20, 100, 45);
        SeqEventSection* section = sequencer.CreateSection("Verse");
        Sequencer::EditLock lock(sequencer);
        section->AddPlacement(melody, lead, 0);
        section->AddPlacement(bass, plain, 0);
        section->AddPlacement(melody, sampler, 0);
        section->SetLength(1920);
        sequencer.GetSong()->AddPlacement(section, 0);
    }

    // Plays from the start and returns kRenderFrames frames rendered in blocks of 1000.
    static std::vector<std::int32_t> Play(SoundStudio& studio)
    {
        studio.Transport("ID_PLAY");
        EXPECT_TRUE(studio.GetSequencer().IsPlaying());
        std::vector<std::int32_t> samples;
        for (int done = 0; done < kRenderFrames;) {
            int frames = std::min(1000, kRenderFrames - done);
            const std::int32_t* block = studio.RenderBlock(frames);
            EXPECT_GT(frames, 0);
            samples.insert(samples.end(), block, block + 2 * frames);
            done += frames;
        }
        return samples;
    }

    std::string StoreXML(SoundStudio& studio)
    {
        const std::string path = (dir / "studio.xml").string();
        CXMLArchive archive;
        EXPECT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        EXPECT_TRUE(archive.CreateRoot("JorvoDocument"));
        studio.SerializeXML(archive);
        EXPECT_TRUE(archive.Save());
        return test::ReadFileBytes(path);
    }

    void LoadXML(SoundStudio& studio, const std::string& text)
    {
        const std::string path = (dir / "load.xml").string();
        test::WriteFileBytes(path, text);
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(archive.Descend("Studio"));
        studio.SerializeXML(archive);
    }

    static std::string StoreBinary(SoundStudio& studio)
    {
        MemoryStream memory;
        BinaryArchive archive(memory, BinaryArchive::Mode::Store);
        studio.Serialize(archive);
        archive.Close();
        return memory.BytesAsString();
    }

    static void LoadBinary(SoundStudio& studio, const std::string& bytes)
    {
        MemoryStream memory(bytes);
        BinaryArchive archive(memory, BinaryArchive::Mode::Load);
        studio.Serialize(archive);
    }

    static std::vector<std::string> Names(const SoundStudio& studio)
    {
        std::vector<std::string> names;
        for (const auto& instrument : studio.Instruments())
            names.push_back(instrument->GetName());
        for (const auto& effect : studio.Effects())
            names.push_back(effect->GetName());
        return names;
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
};

TEST_F(SoundStudioStorageTest, AStudioLoadedBackPlaysTheSameSamples)
{
    std::string xml;
    std::string binary;
    std::vector<std::int32_t> original;
    {
        SoundStudio studio;
        Build(studio);
        xml = StoreXML(studio);
        binary = StoreBinary(studio);
        original = Play(studio);
    }
    // The song really sounds, through the instruments and through the effects' tails.
    ASSERT_EQ(original.size(), 2u * kRenderFrames);
    EXPECT_GT(std::count_if(original.begin(), original.end(), [](std::int32_t s) { return s != 0; }), 1000);

    for (const bool fromXML : {true, false}) {
        SCOPED_TRACE(fromXML ? "XML" : "binary");
        SequencerSettings::RestoreInitialValues();
        SoundStudio loaded;
        if (fromXML)
            LoadXML(loaded, xml);
        else
            LoadBinary(loaded, binary);
        EXPECT_EQ(Names(loaded), (std::vector<std::string>{"Lead", "Plain", "Sampler", "Delay", "Reverb"}));
        EXPECT_EQ(SequencerSettings::GetTempo(), 150);
        EXPECT_EQ(loaded.GetSequencer().Patterns().size(), 2u);
        EXPECT_EQ(Play(loaded), original);
        EXPECT_TRUE(shell.messages.empty()) << shell.LastMessage();
    }
}

TEST_F(SoundStudioStorageTest, XMLListsComeInTheirOrderAndAnEmptyListIsLeftOut)
{
    SoundStudio studio;
    ASSERT_NE(studio.AddEffect("Delay"), nullptr);
    const std::string xml = StoreXML(studio);
    EXPECT_EQ(xml.find("InstrumentList"), std::string::npos);
    const auto at = [&xml](const char* tag) { return xml.find(tag); };
    EXPECT_LT(at("<Studio"), at("<EffectList"));
    EXPECT_LT(at("<EffectList"), at("<Mixer"));
    EXPECT_LT(at("<Mixer"), at("<Sequencer"));
}

TEST_F(SoundStudioStorageTest, AStudioWithoutInstrumentListLoadsNoInstruments)
{
    SoundStudio studio;
    LoadXML(studio, "<JorvoDocument><Studio><EffectList><Effect Engine=\"Delay\" Name=\"Echo\"/></EffectList>"
                    "</Studio></JorvoDocument>");
    EXPECT_TRUE(studio.Instruments().empty());
    ASSERT_EQ(studio.Effects().size(), 1u);
    EXPECT_EQ(studio.Effects()[0]->GetName(), "Echo");
    EXPECT_NE(studio.GetMixer().FindBuss("Echo"), nullptr);
}

TEST_F(SoundStudioStorageTest, LoadingRequiresTheStudioElement)
{
    SoundStudio studio;
    const std::string path = (dir / "other.xml").string();
    test::WriteFileBytes(path, "<JorvoDocument><Mixer/></JorvoDocument>");
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Mixer"));
    EXPECT_THROW(studio.SerializeXML(archive), ArchiveException);
}

// The first instrument's engine name is damaged: it is reported and left out, the others load.
TEST_F(SoundStudioStorageTest, ADamagedMemberIsReportedAndSkipped)
{
    std::string binary;
    {
        SoundStudio studio;
        Build(studio);
        binary = StoreBinary(studio);
    }
    const std::string engine("m\0S\0y\0n\0", 8);
    const std::size_t at = binary.find(engine);
    ASSERT_NE(at, std::string::npos);
    binary[at + 6] = 'X';

    SequencerSettings::RestoreInitialValues();
    SoundStudio loaded;
    LoadBinary(loaded, binary);
    EXPECT_EQ(Names(loaded), (std::vector<std::string>{"Plain", "Sampler", "Delay", "Reverb"}));
    EXPECT_EQ(loaded.GetMixer().Channels().size(), 2u);
    EXPECT_EQ(shell.LastMessage(), FormatText(kStudioMemberLoadFailed, {"Instrument", "1"}));
    // The rest of the file was still found: the song and its tempo are back.
    EXPECT_EQ(SequencerSettings::GetTempo(), 150);
    EXPECT_EQ(loaded.GetSequencer().Sections().size(), 1u);
}

TEST_F(SoundStudioStorageTest, AListLongerThanTheFileRaisesInsteadOfReadingOn)
{
    // An effect count of 3 with no member streams behind it.
    SoundStudio studio;
    EXPECT_THROW(LoadBinary(studio, std::string("\x03\x00", 2)), ArchiveException);
    EXPECT_TRUE(studio.Effects().empty());
}

// The output --------------------------------------------------------------------------------

// A driver whose one device is the silent output; counts what it is asked.
class SilentOnlyDriver : public WaveOutDriver {
public:
    std::uint32_t DeviceCount() override { return 1; }
    std::optional<std::string> DeviceName(std::uint32_t) override { return std::string(kSilentOutputName); }
    WaveResult QueryFormat(std::uint32_t index, const WaveFormat& format) override
    {
        ++queries;
        if (index != 0)
            return WaveResult::BadDevice;
        return IsPlayablePcm(format) ? WaveResult::Ok : WaveResult::BadFormat;
    }
    WaveResult Open(std::uint32_t index, const WaveFormat& format, const RingGeometry&, WaveOutCallback callback,
                    std::uintptr_t instance, std::unique_ptr<WaveOutDevice>& opened) override
    {
        ++opens;
        if (index != 0)
            return WaveResult::BadDevice;
        return SilentAudioDevice::Open(format, callback, instance, opened);
    }

    std::atomic<int> queries{0};
    std::atomic<int> opens{0};
};

TEST_F(SoundStudioStorageTest, ABatchStudioNeverTouchesADevice)
{
    SilentOnlyDriver driver;
    ScopedAudioDriver installed(driver);
    {
        SoundStudio studio(StudioOutput::None);
        EXPECT_FALSE(studio.GetOutput().IsRunning());
        studio.Transport("ID_PLAY");
        EXPECT_TRUE(studio.GetSequencer().IsPlaying());
        studio.ResetOutput();
        EXPECT_FALSE(studio.GetSequencer().IsPlaying());
        studio.ConfigureOutput();
        EXPECT_FALSE(studio.GetOutput().IsRunning());
        // Its format still reached the sequencer.
        EXPECT_FLOAT_EQ(studio.GetSequencer().GetSamplesPerPulse(), 45.9375f);
    }
    EXPECT_EQ(driver.opens.load(), 0);
    EXPECT_EQ(driver.queries.load(), 0);
}

TEST_F(SoundStudioStorageTest, TheRealTimeOutputPlaysThroughTheSilentDevice)
{
    SilentOnlyDriver driver;
    ScopedAudioDriver installed(driver);
    {
        SoundStudio studio(StudioOutput::RealTime);
        ASSERT_TRUE(studio.GetOutput().IsRunning());
        EXPECT_EQ(AudioOutput::Studio(), &studio);
        ASSERT_NE(studio.AddInstrument("mSyn"), nullptr);
        studio.Transport("ID_PLAY");
        // Every block the output renders is accounted in the meter.
        ProcessorMeter::Instance().ResetStatistics();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        // One second at 44100 Hz is about 43 blocks of 1024 frames; the bounds only say that
        // blocks kept flowing in real time.
        const auto blocks = ProcessorMeter::Instance().Count();
        EXPECT_GE(blocks, 20u);
        EXPECT_LE(blocks, 400u);

        // "Audio Output..." stops the output first; ID_PLAY starts it again.
        studio.ConfigureOutput();
        EXPECT_FALSE(studio.GetOutput().IsRunning());
        studio.Transport("ID_PLAY");
        EXPECT_TRUE(studio.GetOutput().IsRunning());
    }
    EXPECT_EQ(AudioOutput::Studio(), nullptr);
    EXPECT_EQ(driver.opens.load(), 2);
}

TEST_F(SoundStudioStorageTest, SwappingTheOutputHandsBackTheStoppedPrevious)
{
    SilentOnlyDriver driver;
    ScopedAudioDriver installed(driver);
    SoundStudio studio(StudioOutput::RealTime);
    ASSERT_TRUE(studio.GetOutput().IsRunning());
    AudioOutput* realTime = &studio.GetOutput();
    std::unique_ptr<AudioOutput> previous = studio.SwapOutput(std::make_unique<AudioOutput>());
    ASSERT_EQ(previous.get(), realTime);
    EXPECT_FALSE(previous->IsRunning());
    EXPECT_EQ(studio.GetOutput().Source(), &studio);
    EXPECT_EQ(studio.SwapOutput(nullptr), nullptr);
    EXPECT_NE(studio.SwapOutput(std::move(previous)), nullptr);
    EXPECT_EQ(&studio.GetOutput(), realTime);
}

} // namespace
} // namespace jorvo
