#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio/SampleStore.h"
#include "audio/WavBuilder.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/EngineMessages.h"
#include "engine/InstrumentSampler.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "platform/TreeSink.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using Zone = SampleZone;

// Records the labels and data of the items inserted, in order.
struct RecordingTree : TreeSink {
    ItemId InsertItem(ItemId, const std::string& label, int, int, void* data) override
    {
        items.emplace_back(label, data);
        return static_cast<ItemId>(items.size()) - 1;
    }
    std::vector<std::pair<std::string, void*>> items;
};

// A sample whose neighbouring values jump by up to 60000, so interpolation products exceed 32 bits.
std::vector<std::int16_t> Jagged(int samples)
{
    std::vector<std::int16_t> values;
    for (int i = 0; i < samples; ++i)
        values.push_back(static_cast<std::int16_t>((i * 7919) % 60001 - 30000));
    return values;
}

class SamplerTest : public ::testing::Test {
protected:
    // Writes a 44100 Hz WAV file with `samples` (interleaved when stereo) and the extra chunk.
    std::string WriteWav(const std::string& name, int channels, const std::vector<std::int16_t>& samples,
                         const std::string& extra = {})
    {
        const std::string path = (dir / name).string();
        test::WriteFileBytes(path, test::RiffWave({test::FormatChunk(channels), extra, test::DataChunk(samples)}));
        return path;
    }

    Zone& ZoneWithSample(std::int32_t key, const std::string& path)
    {
        Zone* zone = sampler.CreateZone(key);
        EXPECT_NE(zone, nullptr);
        EXPECT_TRUE(zone->SetZoneSample(path));
        return *zone;
    }

    void Note(std::int32_t note, std::int32_t velocity) { sampler.HandleEvent(200, note, velocity, 0, 0); }

    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir dir;
    SoundStudio studio;
    InstrumentSampler sampler;
};

// Zone map, parameters and tree --------------------------------------------------------------------

TEST_F(SamplerTest, ANewSamplerShowsNoZones)
{
    RecordingTree tree;
    sampler.FillParameterTree(tree);
    const decltype(tree.items) expected{{"Sampler", nullptr}, {std::string(kNoZones), nullptr}};
    EXPECT_EQ(tree.items, expected);
    EXPECT_EQ(sampler.GetEngineName(), "Sampler");
    EXPECT_EQ(sampler.Channels(), 2);
}

TEST_F(SamplerTest, ZonesReachUpToTheNextAndRemovalHandsTheirKeysDown)
{
    Zone* low = sampler.CreateZone(36);
    Zone* high = sampler.CreateZone(48);
    ASSERT_TRUE(low && high);
    EXPECT_EQ(sampler.ZoneAt(35), nullptr);
    EXPECT_EQ(sampler.ZoneAt(36), low);
    EXPECT_EQ(sampler.ZoneAt(47), low);
    EXPECT_EQ(sampler.ZoneAt(48), high);
    EXPECT_EQ(sampler.ZoneAt(127), high);
    EXPECT_EQ(sampler.LastKeyOf(*low), 47);
    EXPECT_EQ(sampler.NextZone(*low), high);
    EXPECT_FALSE(sampler.CanPlaceZoneAt(48));
    EXPECT_TRUE(sampler.CanPlaceZoneAt(40));
    EXPECT_TRUE(sampler.CanPlaceZoneAt(0));
    EXPECT_EQ(sampler.CreateZone(36), nullptr);

    ASSERT_TRUE(sampler.DeleteZone(high));
    EXPECT_EQ(sampler.ZoneAt(48), low);
    EXPECT_EQ(sampler.ZoneAt(127), low);
    EXPECT_EQ(sampler.ZoneAt(35), nullptr);

    // Moving the zone up leaves the keys below it empty again.
    ASSERT_TRUE(low->SetZoneKey(60));
    EXPECT_EQ(sampler.ZoneAt(59), nullptr);
    EXPECT_EQ(sampler.ZoneAt(60), low);
}

TEST_F(SamplerTest, ParametersFollowTheZoneKeyAndName)
{
    Zone* zone = sampler.CreateZone(36);
    zone->SetZoneName("Kick");
    const SeqParameter* mix = sampler.FindParameter(36 * 256 + 11);
    ASSERT_EQ(mix, &zone->Record(Zone::kMix));
    EXPECT_EQ(mix->Name(), "Kick Mix");
    EXPECT_EQ(mix->Description(), "Kick Mix Level");

    ASSERT_TRUE(zone->SetZoneKey(40));
    EXPECT_EQ(sampler.FindParameter(36 * 256 + 11), nullptr);
    EXPECT_EQ(sampler.FindParameter(40 * 256 + 11), &zone->Record(Zone::kMix));
    EXPECT_EQ(sampler.Parameters().size(), 13u);

    sampler.HandleEvent(40 * 256 + 11, 100, 0, 0, 0);
    EXPECT_EQ(zone->Live(Zone::kMix), 100);
    sampler.HandleEvent(40 * 256 + 34, 0xFB, 0, 0, 0); // a signed byte: −5
    EXPECT_EQ(zone->Live(Zone::kSemi), -5);
    sampler.HandleEvent(40 * 256 + 37, 9, 0, 0, 0);
    EXPECT_EQ(zone->Live(Zone::kHiHat), 1);

    RecordingTree tree;
    sampler.FillParameterTree(tree);
    ASSERT_EQ(tree.items.size(), 2u + 13u);
    EXPECT_EQ(tree.items[1].first, "Kick");
    EXPECT_EQ(tree.items[2], std::make_pair(std::string("Kick Start"), static_cast<void*>(&zone->Record(Zone::kStart))));
    EXPECT_EQ(tree.items[14].first, "Kick Unpitched");
}

TEST_F(SamplerTest, TheActiveZoneIsAnnouncedToTheEditorAndForgottenWithIt)
{
    Zone* zone = sampler.CreateZone(36);
    sampler.SetActiveZone(zone);
    sampler.DeleteZone(zone);
    EXPECT_EQ(sampler.ActiveZone(), nullptr);
    ASSERT_EQ(shell.sentToTargets.size(), 2u);
    EXPECT_EQ(shell.sentToTargets[0].message, RegisterWindowMessage("WM_SET_EVENT_TYPE_HIGH"));
    EXPECT_EQ(shell.sentToTargets[1].message, RegisterWindowMessage("WM_SET_ACTIVE_SAMPLER_ZONE"));
    EXPECT_EQ(shell.sentToTargets[1].target, &sampler);
    EXPECT_EQ(shell.sentToTargets[1].wParam, 36u);
}

TEST_F(SamplerTest, StartAndEndBoundEachOther)
{
    Zone& zone = ZoneWithSample(36, WriteWav("tone.wav", 1, Jagged(1000)));
    EXPECT_EQ(zone.Name(), "tone");
    EXPECT_EQ(zone.Live(Zone::kEnd), 999);
    EXPECT_EQ(zone.Record(Zone::kStart).Maximum(), 999);

    sampler.HandleEvent(36 * 256 + 30, 100, 0, 0, 0);
    EXPECT_EQ(zone.Record(Zone::kEnd).Minimum(), 100);
    sampler.HandleEvent(36 * 256 + 31, 50, 0, 0, 0);
    EXPECT_EQ(zone.Live(Zone::kEnd), 999);
    sampler.HandleEvent(36 * 256 + 31, 500, 0, 0, 0);
    EXPECT_EQ(zone.Live(Zone::kEnd), 500);
    EXPECT_EQ(zone.Record(Zone::kStart).Maximum(), 500);
    sampler.HandleEvent(36 * 256 + 32, 501, 0, 0, 0);
    EXPECT_EQ(zone.Live(Zone::kLoop), 0);

    // A reset restores the stored values and widens the ranges again.
    sampler.HandleEvent(255, 0, 0, 0, 0);
    EXPECT_EQ(zone.Live(Zone::kStart), 0);
    EXPECT_EQ(zone.Live(Zone::kEnd), 999);
}

TEST_F(SamplerTest, SetZoneValuesCorrectsFramesAndIgnoresOtherBadValues)
{
    const std::string extra = test::SamplerChunk(60, 0, 100, 499);
    Zone& zone = ZoneWithSample(36, WriteWav("loop.wav", 1, Jagged(1000), extra));
    zone.SetZoneValues({-5, 2000, 600, 200, 0, 0, 127, 32, 90, 10, false, false, false});
    EXPECT_EQ(zone.Live(Zone::kStart), 0);
    EXPECT_EQ(zone.Live(Zone::kEnd), 499);
    EXPECT_EQ(zone.Live(Zone::kLoop), 400);
    EXPECT_EQ(zone.Live(Zone::kRoot), 60);
    EXPECT_EQ(zone.Record(Zone::kPan).StoredValue(), 10);
}

// Storage ----------------------------------------------------------------------------------------

class SamplerStorageTest : public SamplerTest {
protected:
    // A zone at 40 with a sample, a name of its own and every value away from its default.
    Zone& CustomZone()
    {
        Zone& zone = ZoneWithSample(40, WriteWav("snare.wav", 1, Jagged(1000)));
        zone.SetAutoName(false);
        zone.SetZoneName("Snare Hit");
        zone.SetZoneValues({10, 900, 100, 62, -3, 25, 100, 50, 80, 20, true, true, true});
        return zone;
    }

    static void ExpectCustom(const Zone& zone)
    {
        EXPECT_EQ(zone.Key(), 40);
        EXPECT_EQ(zone.Name(), "Snare Hit");
        EXPECT_FALSE(zone.AutoName());
        const std::vector<std::int32_t> expected{10, 900, 100, 62, -3, 25, 100, 50, 80, 20, 1, 1, 1};
        for (int p = 0; p < Zone::kParameterCount; ++p)
            EXPECT_EQ(zone.Live(static_cast<Zone::Parameter>(p)), expected[static_cast<std::size_t>(p)]) << p;
    }

    std::string StoreXML(InstrumentSampler& written)
    {
        const std::string path = (dir / "sampler.xml").string();
        CXMLArchive archive;
        EXPECT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        EXPECT_TRUE(archive.CreateRoot("JorvoDocument"));
        CXMLArchive child(archive);
        written.SerializeXML(child);
        EXPECT_TRUE(archive.Save());
        return path;
    }

    void LoadXML(const std::string& path, InstrumentSampler& read)
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
        ASSERT_TRUE(archive.Descend("Instrument"));
        read.SerializeXML(archive);
    }
};

TEST_F(SamplerStorageTest, XmlKeepsNameKeySampleAndEveryValue)
{
    const int sampleIndex = CustomZone().SampleIndex();
    sampler.CreateZone(0);
    sampler.SetPolyphony(7);
    const std::string path = StoreXML(sampler);
    const std::string text = test::ReadFileBytes(path);
    // A zone at its defaults carries only its key, file and name.
    const std::string bare = "<Zone index=\"0\" filename=\"\" name=\"\"";
    ASSERT_NE(text.find(bare), std::string::npos) << text;
    EXPECT_EQ(text.find_first_not_of(' ', text.find(bare) + bare.size()), text.find('/', text.find(bare)));
    EXPECT_NE(text.find("name=\"Snare Hit\""), std::string::npos);
    EXPECT_NE(text.find("Polyphonic=\"False\""), std::string::npos);
    EXPECT_NE(text.find("AutoName=\"False\""), std::string::npos);

    InstrumentSampler read;
    LoadXML(path, read);
    EXPECT_EQ(read.Polyphony(), 7);
    ASSERT_NE(read.ZoneAt(40), nullptr);
    EXPECT_EQ(read.ZoneAt(40)->SampleIndex(), sampleIndex);
    ExpectCustom(*read.ZoneAt(40));
    EXPECT_EQ(read.ZoneAt(39), read.ZoneAt(0));
}

TEST_F(SamplerStorageTest, XmlClampsPolyphonyAndReadsOldZoneNames)
{
    const std::string path = (dir / "old.xml").string();
    for (const auto& [stored, expected] : {std::pair{"0", 1}, std::pair{"40", 32}}) {
        test::WriteFileBytes(path, std::string("<JorvoDocument><Instrument Name=\"Sampler\" Engine=\"Sampler\" "
                                               "SampleRate=\"44100\" Channels=\"1\" Polyphony=\"") +
                                       stored + "\"><Zone index=\"50\" m_sName=\"Old\" AutoName=\"False\"/>"
                                       "</Instrument></JorvoDocument>");
        InstrumentSampler read;
        LoadXML(path, read);
        EXPECT_EQ(read.Polyphony(), expected);
        EXPECT_EQ(read.Channels(), 2);
        ASSERT_NE(read.ZoneAt(50), nullptr);
        EXPECT_EQ(read.ZoneAt(50)->Name(), "Old");
    }
}

TEST_F(SamplerStorageTest, BinaryDocumentAndZoneListKeepEveryValue)
{
    CustomZone();
    MemoryStream stream;
    {
        BinaryArchive archive(stream, BinaryArchive::Mode::Store);
        sampler.Serialize(archive);
        archive.Close();
    }
    InstrumentSampler read;
    {
        MemoryStream input(stream.Bytes());
        BinaryArchive archive(input, BinaryArchive::Mode::Load);
        read.Serialize(archive);
    }
    ASSERT_NE(read.ZoneAt(40), nullptr);
    ExpectCustom(*read.ZoneAt(40));

    const std::vector<std::uint8_t> bytes = InstrumentSampler::WriteZoneList({sampler.ZoneAt(40)});
    std::vector<std::unique_ptr<Zone>> pasted = read.ReadZoneList(bytes);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0]->Key(), -1);
    EXPECT_TRUE(read.AdoptZone(pasted[0], 60));
    EXPECT_EQ(read.ZoneAt(60)->Live(Zone::kRoot), 62);

    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 3);
    EXPECT_TRUE(read.ReadZoneList(cut).empty());
}

// Playing ----------------------------------------------------------------------------------------

TEST_F(SamplerTest, PitchStepFollowsTheKeyFromTheRoot)
{
    ZoneWithSample(0, WriteWav("a.wav", 1, Jagged(1000)));
    Note(60, 100);
    Note(72, 100);
    Note(48, 100);
    ASSERT_EQ(sampler.ActiveVoices(), 3);
    EXPECT_EQ(sampler.Voice(0).step, 65536);
    EXPECT_EQ(sampler.Voice(1).step, 131072);
    EXPECT_EQ(sampler.Voice(2).step, 32768);
}

TEST_F(SamplerTest, AFullSamplerStealsTheQuietestVoice)
{
    ZoneWithSample(0, WriteWav("a.wav", 1, Jagged(1000)));
    sampler.SetPolyphony(2);
    Note(60, 127); // level 90000 − 198 × 217 = 47034
    Note(61, 10);  // level 90000 − 198 × 100 = 70200
    Note(62, 100);
    ASSERT_EQ(sampler.ActiveVoices(), 2);
    EXPECT_EQ(sampler.Voice(0).key, 60);
    EXPECT_EQ(sampler.Voice(1).key, 62);
    EXPECT_EQ(sampler.Voice(1).level, 90000 - 198 * 190);
}

TEST_F(SamplerTest, HiHatZonesChokeEachOther)
{
    const std::string path = WriteWav("hat.wav", 1, Jagged(1000));
    for (std::int32_t key : {36, 48}) {
        ZoneWithSample(key, path);
        sampler.HandleEvent(key * 256 + 37, 1, 0, 0, 0);
    }
    Note(36, 100);
    Note(48, 100);
    ASSERT_EQ(sampler.ActiveVoices(), 1);
    EXPECT_EQ(sampler.Voice(0).key, 48 + 32768);
    sampler.HandleEvent(201, 48, 0, 0, 0);
    EXPECT_EQ(sampler.Voice(0).rate, ((127 - 32) * (127 - 32) * (127 - 32) >> 12) + 4);
}

TEST_F(SamplerTest, NoDecayNoReleaseHoldsALoopedNoteAfterNoteOff)
{
    Zone& zone = ZoneWithSample(0, WriteWav("loop.wav", 1, Jagged(400), test::SamplerChunk(60, 0, 100, 299)));
    sampler.HandleEvent(72, 127, 0, 0, 0);
    Note(60, 100);
    const std::int32_t start = sampler.Voice(0).level;
    sampler.HandleEvent(201, 60, 0, 0, 0);
    EXPECT_EQ(zone.Live(Zone::kDecay), 127);
    for (int chunk = 0; chunk < 10; ++chunk) {
        sampler.BeginChunk(640);
        ASSERT_TRUE(sampler.Render(640));
    }
    ASSERT_EQ(sampler.ActiveVoices(), 1);
    EXPECT_EQ(sampler.Voice(0).level, start + 4 * 100); // 6400 frames: 100 envelope steps
    const std::int32_t* out = sampler.Output();
    EXPECT_TRUE(std::any_of(out, out + 2 * 640, [](std::int32_t sample) { return sample != 0; }));
}

TEST_F(SamplerTest, MixZeroIsSilentAndFreesItsVoice)
{
    ZoneWithSample(0, WriteWav("a.wav", 1, Jagged(1000)));
    sampler.HandleEvent(11, 0, 0, 0, 0);
    Note(60, 127);
    ASSERT_EQ(sampler.ActiveVoices(), 1);
    sampler.BeginChunk(256);
    EXPECT_TRUE(sampler.Render(256));
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ(sampler.Output()[i], 0);
    EXPECT_EQ(sampler.ActiveVoices(), 0);
    sampler.BeginChunk(256);
    EXPECT_FALSE(sampler.Render(256));
}

// The render, frame by frame, against a plain reference of the voice formulas ---------------------

struct ReferenceVoice {
    std::vector<std::int16_t> x;
    int channels;
    long long position, end, loop, step;
    long long fraction = 0;
    long long level, rate, pan;
};

// Floor of value / 2^bits, as an arithmetic right shift gives it.
long long FloorShift(long long value, long long bits)
{
    return static_cast<long long>(std::floor(static_cast<double>(value) / std::ldexp(1.0, static_cast<int>(bits))));
}

void ReferenceRender(ReferenceVoice& v, int& countdown, int frames, std::vector<long long>& out)
{
    for (int f = 0; f < frames; ++f) {
        long long sums[2] = {0, 0};
        if (v.level < 100000) {
            const long long mantissa = 8191 - v.level % 4096;
            for (int side = 0; side < 2; ++side) {
                const int c = v.channels == 2 ? side : 0;
                const long long a = v.x[static_cast<std::size_t>(v.position * v.channels + c)];
                const long long b = v.x[static_cast<std::size_t>((v.position + 1) * v.channels + c)];
                const long long s = a + FloorShift((b - a) * v.fraction, 16);
                sums[side] = (side == 0 ? 128 - v.pan : v.pan) * FloorShift(s * mantissa, v.level / 4096);
            }
        }
        out.push_back(sums[0]);
        out.push_back(sums[1]);
        const long long total = v.step + v.fraction;
        v.position += total / 65536;
        v.fraction = total % 65536;
        if (v.position > v.end) {
            if (v.loop == 0) {
                v.position = 0;
                v.step = 0;
                v.rate = 0;
                v.level = 100000;
            } else {
                v.position -= v.loop;
            }
        }
        if (--countdown == 0) {
            countdown = 64;
            v.level += v.rate;
            if (v.level > 100000)
                v.rate = 0;
        }
    }
}

std::vector<long long> RenderSampler(InstrumentSampler& sampler, int chunks, int frames, int noteOffAfter, int note)
{
    std::vector<long long> out;
    for (int chunk = 0; chunk < chunks; ++chunk) {
        if (chunk == noteOffAfter)
            sampler.HandleEvent(201, note, 0, 0, 0);
        sampler.BeginChunk(frames);
        sampler.Render(frames);
        out.insert(out.end(), sampler.Output(), sampler.Output() + 2 * frames);
    }
    return out;
}

long long ExpectedStep(int cents)
{
    return static_cast<long long>(44100.0f * static_cast<float>(std::exp(cents * std::log(2.0) / 1200.0)) / 44100.0f *
                                      65536.0f +
                                  0.5f);
}

TEST_F(SamplerTest, MonoNoteMatchesTheReferenceThroughDecayReleaseAndItsEnd)
{
    const std::vector<std::int16_t> samples = Jagged(2000);
    ZoneWithSample(0, WriteWav("mono.wav", 1, samples));
    sampler.HandleEvent(10, 30, 0, 0, 0);  // Pan
    sampler.HandleEvent(11, 100, 0, 0, 0); // Mix
    sampler.HandleEvent(35, 10, 0, 0, 0);  // Cent
    sampler.HandleEvent(36, 60, 0, 0, 0);  // Decay
    sampler.HandleEvent(72, 40, 0, 0, 0);  // Release
    Note(67, 90);
    const std::vector<long long> rendered = RenderSampler(sampler, 4, 512, 1, 67);

    std::vector<std::int16_t> x = samples;
    x.push_back(samples.back());
    ReferenceVoice v{x, 1, 0, 1999, 0, ExpectedStep(710), 0, 90000 - 198 * 190, (67 * 67 * 67) >> 12, 30};
    std::vector<long long> expected;
    int countdown = 1;
    ReferenceRender(v, countdown, 512, expected);
    v.rate = ((87 * 87 * 87) >> 12) + 4;
    ReferenceRender(v, countdown, 3 * 512, expected);
    // The sample runs out within the last chunks; the rest is silence.
    ASSERT_EQ(rendered.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(rendered[i], expected[i]) << "sample " << i;
    EXPECT_EQ(sampler.ActiveVoices(), 0);
}

TEST_F(SamplerTest, StereoLoopMatchesTheReference)
{
    const std::vector<std::int16_t> samples = Jagged(800); // 400 stereo frames
    ZoneWithSample(0, WriteWav("stereo.wav", 2, samples, test::SamplerChunk(60, 0, 100, 299)));
    sampler.HandleEvent(10, 100, 0, 0, 0);
    Note(75, 64);
    const std::vector<long long> rendered = RenderSampler(sampler, 2, 700, -1, 75);

    std::vector<std::int16_t> x = samples;
    x.insert(x.end(), samples.end() - 2, samples.end());
    ReferenceVoice v{x, 2, 0, 299, 200, ExpectedStep(1500), 0, 90000 - 198 * 154, 0, 100};
    std::vector<long long> expected;
    int countdown = 1;
    ReferenceRender(v, countdown, 1400, expected);
    ASSERT_EQ(rendered.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(rendered[i], expected[i]) << "sample " << i;
    EXPECT_EQ(sampler.ActiveVoices(), 1);
}

} // namespace
} // namespace jorvo
