// The pattern and section lists (names, copies, colours, renaming), the editors' focus, direct
// events, and the binary and XML storage of the sequencer.
#include "sequencer/SequencerTestSupport.h"

#include "document/ArchiveException.h"
#include "document/ArchiveStreams.h"
#include "document/BinaryArchive.h"
#include "document/ConfigurationPages.h"
#include "engine/Mixer.h"
#include "engine/MixerChannel.h"
#include "engine/PluginLibrary.h"
#include "engine/SeqParameter.h"
#include "sequencer/MidiFile.h"
#include "sequencer/PatternBankList.h"
#include "support/TestSupport.h"

namespace jorvo::test::sequencing {
namespace {

using Cause = ArchiveException::Cause;

class SequencerListsTest : public SequencerFixture {
protected:
    // A song with a pattern "Bass" (one note) placed for the recorder in a section "Verse".
    void BuildSong()
    {
        bass = sequencer.CreatePattern("Bass");
        AddNote(*bass, 0, 100, 40, 90);
        verse = sequencer.CreateSection("Verse");
        Sequencer::EditLock lock(sequencer);
        verse->AddPlacement(bass, recorder, 480);
        verse->SetLength(1920);
        sequencer.GetSong()->AddPlacement(verse, 1920);
    }

    // True when two or more components of the colours lie within 14 of each other.
    static bool Near(Colour a, Colour b)
    {
        const auto near = [](int x, int y) { return std::abs(x - y) < 15; };
        return near(a.Red(), b.Red()) + near(a.Green(), b.Green()) + near(a.Blue(), b.Blue()) >= 2;
    }

    SeqEventPattern* bass = nullptr;
    SeqEventSection* verse = nullptr;
};

TEST_F(SequencerListsTest, NamesAreMadeUniqueWithNumbers)
{
    EXPECT_EQ(sequencer.CreatePattern("Bass")->GetName(), "Bass");
    EXPECT_EQ(sequencer.CreatePattern("Bass")->GetName(), "Bass2");
    EXPECT_EQ(sequencer.UniquePatternName("Bass"), "Bass3");
    EXPECT_EQ(sequencer.UniquePatternName("Lead"), "Lead");
    EXPECT_EQ(sequencer.CreateSection("Bass")->GetName(), "Bass"); // sections have their own list
    EXPECT_EQ(sequencer.UniqueSectionName("Bass"), "Bass2");
    EXPECT_EQ(sequencer.GetSong()->GetName(), "Untitled");
}

TEST_F(SequencerListsTest, NewPatternsAreOneBarAndNewSectionsEmpty)
{
    EXPECT_EQ(sequencer.CreatePattern("Four")->GetLength(), 1920u);
    ASSERT_TRUE(sequencer.SetBeatsPerBar(3));
    SeqEventPattern* three = sequencer.CreatePattern("Three");
    EXPECT_EQ(three->GetLength(), 1440u);
    EXPECT_EQ(three->GetColour(), SeqEventPattern::kDefaultColour);
    EXPECT_EQ(sequencer.FindPattern("Three"), three);
    EXPECT_EQ(sequencer.FindPattern("Two"), nullptr);
    SeqEventSection* section = sequencer.CreateSection("Verse");
    EXPECT_EQ(section->GetLength(), 0u);
    EXPECT_EQ(sequencer.FindSection("Verse"), section);
}

TEST_F(SequencerListsTest, ReplicatingCopiesContentUnderANewNameAndColour)
{
    BuildSong();
    SeqEventPattern* copy = sequencer.ReplicatePattern(bass);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), "Bass2");
    EXPECT_EQ(sequencer.FindPattern("Bass2"), copy);
    ASSERT_EQ(copy->Events().size(), 1u);
    EXPECT_NE(copy->Events().front().get(), bass->Events().front().get());
    EXPECT_EQ(copy->Events().front()->GetLength(), 100u);
    EXPECT_FALSE(Near(copy->GetColour(), bass->GetColour()));

    SeqEventSection* section = sequencer.ReplicateSection(verse);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->GetName(), "Verse2");
    ASSERT_EQ(section->Placements().size(), 1u);
    const PatternPlacement& placement = *section->Placements().front();
    EXPECT_EQ(placement.pattern, bass); // placed patterns are shared
    EXPECT_EQ(placement.target, recorder);
    EXPECT_EQ(placement.offset, 480u);
    EXPECT_FALSE(Near(section->GetColour(), verse->GetColour()));
    EXPECT_EQ(sequencer.ReplicatePattern(nullptr), nullptr);
}

TEST_F(SequencerListsTest, RenameRekeysTheListAndRefusesATakenName)
{
    SeqEventPattern* bass = sequencer.CreatePattern("Bass");
    SeqEventPattern* lead = sequencer.CreatePattern("Lead");
    EXPECT_FALSE(sequencer.Rename(lead, "Bass"));
    EXPECT_EQ(lead->GetName(), "Lead");
    EXPECT_FALSE(sequencer.Rename(lead, ""));
    EXPECT_TRUE(sequencer.Rename(lead, "Melody"));
    EXPECT_EQ(lead->GetName(), "Melody");
    EXPECT_EQ(sequencer.FindPattern("Melody"), lead);
    EXPECT_EQ(sequencer.FindPattern("Lead"), nullptr);
    EXPECT_EQ(sequencer.FindPattern("Bass"), bass);
    EXPECT_TRUE(sequencer.Rename(sequencer.GetSong(), "Tune"));
    EXPECT_EQ(sequencer.GetSong()->GetName(), "Tune");
}

TEST_F(SequencerListsTest, TheRenameDialogProposesAFreeNameAndAsksAgainOnNo)
{
    sequencer.CreatePattern("Bass");
    SeqEventPattern* lead = sequencer.CreatePattern("Lead");
    shell.nameAnswers = {std::string("Bass"), std::string("Bass"), std::string("Drums")};
    shell.answers = {MessageAnswer::No};
    ASSERT_TRUE(sequencer.RenameWithDialog(lead));
    EXPECT_EQ(lead->GetName(), "Drums");
    ASSERT_EQ(shell.prompts.size(), 3u);
    EXPECT_EQ(shell.prompts[0].title, "Rename");
    EXPECT_EQ(shell.prompts[0].initialText, "Lead");
    EXPECT_EQ(shell.prompts[1].initialText, "Bass");
    // The second time the proposal is not asked about: the script ran out and the safe answer
    // (No) applies, so the third name is asked for.
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0], "Pattern Name 'Bass' is already in use.  Would you like to use 'Bass2' instead ?");

    shell.nameAnswers = {std::string("Bass")};
    shell.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(sequencer.RenameWithDialog(lead));
    EXPECT_EQ(lead->GetName(), "Bass2");
    EXPECT_EQ(sequencer.FindPattern("Bass2"), lead);

    SeqEventSection* verse = sequencer.CreateSection("Verse");
    SeqEventSection* chorus = sequencer.CreateSection("Chorus");
    shell.nameAnswers = {std::string("Verse")};
    shell.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(sequencer.RenameWithDialog(chorus));
    EXPECT_EQ(shell.LastMessage(), "Section Name 'Verse' is already in use.  Would you like to use 'Verse2' instead ?");
    EXPECT_EQ(chorus->GetName(), "Verse2");
    EXPECT_EQ(sequencer.FindSection("Verse"), verse);

    shell.nameAnswers.clear(); // Cancel
    EXPECT_FALSE(sequencer.RenameWithDialog(chorus));
}

TEST_F(SequencerListsTest, TargetsAreFoundByNameAndClassAndForgotten)
{
    BuildSong();
    EXPECT_EQ(sequencer.FindTarget("Rec", "Instrument"), recorder);
    EXPECT_EQ(sequencer.FindTarget("Rec", "Effect"), nullptr);
    EXPECT_EQ(sequencer.FindTarget("Rec", "Anything"), recorder);
    EXPECT_EQ(sequencer.FindTarget("Rec", "Channel"), studio.GetMixer().ChannelOf(*recorder));
    EXPECT_EQ(sequencer.FindTarget("Mixer", "Mixer"), &studio.GetMixer());
    EXPECT_EQ(sequencer.FindTarget("Nobody", "Instrument"), nullptr);

    sequencer.ReplaceTarget(recorder, nullptr);
    EXPECT_EQ(verse->Placements().front()->target, nullptr);
}

TEST_F(SequencerListsTest, EditTargetParametersActivatesOrCreatesThePattern)
{
    BuildSong();
    SectionPlacement* songPlacement = sequencer.GetSong()->Placements().front().get();
    ASSERT_TRUE(sequencer.SetActiveSection(songPlacement));
    EXPECT_EQ(sequencer.GetActiveSectionStart(), 1920u);

    // At song pulse 2400 the section is at 480, where the bass plays for the recorder.
    sequencer.SetPosition(2400);
    shell.broadcasts.clear();
    const SeqParameter parameter("Volume", "", 7, 0, 127, 100);
    ASSERT_TRUE(sequencer.EditTargetParameters(recorder, &parameter));
    ASSERT_NE(sequencer.GetActivePattern(), nullptr);
    EXPECT_EQ(sequencer.GetActivePattern()->pattern, bass);
    EXPECT_EQ(sequencer.GetActivePatternStart(), 1920u + 480u);
    ASSERT_EQ(shell.broadcasts.size(), 3u);
    EXPECT_EQ(shell.broadcasts[0].message, RegisterWindowMessage("WM_CHANGE_ACTIVE_PATTERN"));
    EXPECT_EQ(shell.broadcasts[0].wParam, reinterpret_cast<WParam>(bass));
    EXPECT_EQ(shell.broadcasts[1].message, RegisterWindowMessage("WM_SET_ACTIVE_VIEW"));
    EXPECT_EQ(shell.broadcasts[1].wParam, sequencer.ParameterEditorView());
    EXPECT_EQ(shell.broadcasts[2].message, RegisterWindowMessage("WM__EDIT_PARAMETER"));
    EXPECT_EQ(shell.broadcasts[2].wParam, reinterpret_cast<WParam>(&parameter));

    // A target without a pattern in the section gets a new one at the start of the bar.
    RecordingInstrument* other = AddRecorder("Keys");
    sequencer.SetPosition(1920 + 2000);
    ASSERT_TRUE(sequencer.EditTargetParameters(other));
    const PatternPlacement* created = sequencer.GetActivePattern();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->pattern->GetName(), "Keys");
    EXPECT_EQ(created->target, other);
    EXPECT_EQ(created->offset, 1920u);
    EXPECT_EQ(sequencer.FindPattern("Keys"), created->pattern);

    EXPECT_FALSE(sequencer.EditTargetParameters(nullptr));
}

TEST_F(SequencerListsTest, TheEditorsAreShownByBroadcast)
{
    ASSERT_EQ(shell.views.size(), 5u); // the mixer view, then the four editors
    EXPECT_EQ(shell.views[1].request.keyword, "SeqEditorView");
    EXPECT_EQ(shell.views[1].request.skinSection, "SongEditor");
    EXPECT_EQ(shell.views[4].request.skinSection, "ParameterEditor");
    shell.broadcasts.clear();
    sequencer.ShowSongEditor();
    sequencer.ShowSectionEditor();
    sequencer.ShowPatternEditor(1);
    sequencer.ShowPatternEditor(2);
    const std::vector<ViewId> expected{sequencer.SongEditorView(), sequencer.SectionEditorView(),
                                       sequencer.PatternEditorView(), sequencer.ParameterEditorView()};
    ASSERT_EQ(shell.broadcasts.size(), 4u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(shell.broadcasts[i].message, RegisterWindowMessage("WM_SET_ACTIVE_VIEW"));
        EXPECT_EQ(shell.broadcasts[i].wParam, expected[i]);
    }
}

TEST_F(SequencerListsTest, TheGeneralPagePushesTheTimingAccuracyAtOnce)
{
    GeneralPageValues values = LoadGeneralPage();
    values.timingEntry = 2;
    ASSERT_TRUE(ApplyGeneralPage(values));
    EXPECT_EQ(SequencerSettings::GetTimingAccuracy(), 3u);
}

TEST_F(SequencerListsTest, SendToTargetUpdatesTheStoredValueUnlessSwitchedOff)
{
    sequencer.SendToTarget(&studio.GetMixer(), 7, 100, 0, 0, 0);
    EXPECT_EQ(studio.GetMixer().FindParameter(7)->StoredValue(), 100);
    EXPECT_FALSE(sequencer.SetNoParameterUpdate(true));
    sequencer.SendToTarget(&studio.GetMixer(), 7, 50, 0, 0, 0);
    EXPECT_EQ(studio.GetMixer().FindParameter(7)->LiveValue(), 50);
    EXPECT_EQ(studio.GetMixer().FindParameter(7)->StoredValue(), 100);
    sequencer.Reset();
    sequencer.SendToTarget(&studio.GetMixer(), 7, 60, 0, 0, 0);
    EXPECT_EQ(studio.GetMixer().FindParameter(7)->StoredValue(), 60);
}

TEST_F(SequencerListsTest, ResetEmptiesTheListsAndRestoresTheDefaults)
{
    BuildSong();
    sequencer.SetTempo(90);
    sequencer.SetLoop(false);
    sequencer.Play();
    sequencer.Reset();
    EXPECT_TRUE(sequencer.Patterns().empty());
    EXPECT_TRUE(sequencer.Sections().empty());
    EXPECT_TRUE(sequencer.GetSong()->Placements().empty());
    EXPECT_EQ(SequencerSettings::GetTempo(), 120);
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 45.9375f);
    const Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_FALSE(state.playing);
    EXPECT_TRUE(state.loop);
    EXPECT_EQ(state.element, nullptr);
    EXPECT_EQ(state.position, 0u);
}

TEST_F(SequencerListsTest, DeletingATargetDropsItAndItsChannelFromThePlacements)
{
    BuildSong();
    MixerChannel* channel = studio.GetMixer().ChannelOf(*recorder);
    ASSERT_NE(channel, nullptr);
    {
        Sequencer::EditLock lock(sequencer);
        verse->AddPlacement(bass, channel, 960);
    }
    shell.answers = {MessageAnswer::Yes};
    studio.DeleteInstrument(recorder);
    recorder = nullptr;
    ASSERT_EQ(verse->Placements().size(), 2u);
    for (const auto& placement : verse->Placements())
        EXPECT_EQ(placement->target, nullptr);
}

TEST_F(SequencerListsTest, TheStudioDrivesTheTransportAndTheRate)
{
    studio.Transport("ID_PLAY");
    EXPECT_TRUE(sequencer.IsPlaying());
    studio.Transport("ID_PLAY");
    EXPECT_FALSE(sequencer.IsPlaying());
    studio.Transport("ID_FFORWARD");
    EXPECT_EQ(sequencer.GetSongPosition(), 480u);
    studio.Transport("ID_STOP"); // stopped: rewinds
    EXPECT_EQ(sequencer.GetSongPosition(), 0u);
    studio.Transport("ID_PLAY");
    studio.Transport("ID_STOP");
    EXPECT_FALSE(sequencer.IsPlaying());
    studio.Transport("ID_FFORWARD");
    studio.Transport("ID_REWIND");
    EXPECT_EQ(sequencer.GetSongPosition(), 0u);
    studio.Transport("ID_NOTHING");
    EXPECT_FALSE(sequencer.IsPlaying());

    studio.SetFormat(2, 16, 22050);
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 22.96875f); // 22050 × 60 / (120 × 480)
    int frames = 5000;
    studio.RenderBlock(frames);
    EXPECT_EQ(frames, 4096);
}

TEST_F(SequencerListsTest, PluginsSeeThePositionAsItChanges)
{
    sequencer.SetPosition(960);
    EXPECT_EQ(*PluginPulseCounter(), 960u);
    sequencer.Play();
    RenderFrames(10000);
    EXPECT_GT(sequencer.GetSongPosition(), 960u);
    EXPECT_EQ(*PluginPulseCounter(), sequencer.GetSongPosition());
    studio.Transport("ID_STOP");
    studio.Transport("ID_STOP");
    EXPECT_EQ(*PluginPulseCounter(), 0u);
}

TEST_F(SequencerListsTest, ThePatternBankManagerIsCreatedOnceAndServesThisSequencer)
{
    PatternBankList& banks = sequencer.GetPatternBankList();
    EXPECT_EQ(&sequencer.GetPatternBankList(), &banks);
    EXPECT_EQ(&banks.GetSequencer(), &sequencer);
}

// The byte string `part` occurs in `bytes`.
bool Contains(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& part)
{
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

TEST_F(SequencerListsTest, TheMidiExportCarriesTheTimingValuesAndTheSong)
{
    ASSERT_TRUE(sequencer.SetTempo(100));
    ASSERT_TRUE(sequencer.SetBeatsPerBar(3));
    SeqEventPattern* pattern = sequencer.CreatePattern("Riff");
    test::sequencing::AddNote(*pattern, 0, 240, 60, 100);
    PlaceInSong(pattern, recorder, 1440);

    MidiFile file(true);
    studio.ExportMIDI(file);
    ASSERT_EQ(file.Tracks().size(), 2u); // the song's, then the recorder's
    MemoryStream stream;
    BinaryArchive archive(stream, BinaryArchive::Mode::Store, MidiFile::kArchiveBufferSize);
    file.Write(archive);
    archive.Close();
    const std::vector<std::uint8_t> bytes = stream.Bytes();
    // Division 480; 60,000,000 / 100 = 600,000 µs = 09 27 C0 per quarter; 3/4 time.
    EXPECT_TRUE(Contains(bytes, {0, 1, 0, 2, 0x01, 0xE0}));
    EXPECT_TRUE(Contains(bytes, {0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0}));
    EXPECT_TRUE(Contains(bytes, {0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08}));
    EXPECT_TRUE(Contains(bytes, {0x90, 60, 100}));
}

// Storage ---------------------------------------------------------------------------------------

class SequencerStorageTest : public SequencerListsTest {
protected:
    void BuildTimedSong()
    {
        BuildSong();
        sequencer.SetTempo(100);
        sequencer.SetBeatsPerBar(3);
        sequencer.SetPulsesPerQuarterNote(240);
        sequencer.CreatePattern("Spare");
    }

    // What the loaded sequencer must hold.
    void ExpectTimedSong()
    {
        EXPECT_EQ(SequencerSettings::GetTempo(), 100);
        EXPECT_EQ(SequencerSettings::GetBeatsPerBar(), 3);
        EXPECT_EQ(SequencerSettings::GetPulsesPerQuarterNote(), 240);
        EXPECT_EQ(sequencer.GetSamplesPerPulse(), 110.25f); // 44100 × 60 / (100 × 240)
        ASSERT_EQ(sequencer.Patterns().size(), 2u);
        SeqEventPattern* loadedBass = sequencer.FindPattern("Bass");
        ASSERT_NE(loadedBass, nullptr);
        EXPECT_EQ(loadedBass->Events().size(), 1u);
        ASSERT_NE(sequencer.FindPattern("Spare"), nullptr);
        SeqEventSection* loadedVerse = sequencer.FindSection("Verse");
        ASSERT_NE(loadedVerse, nullptr);
        ASSERT_EQ(loadedVerse->Placements().size(), 1u);
        EXPECT_EQ(loadedVerse->Placements().front()->pattern, loadedBass);
        EXPECT_EQ(loadedVerse->Placements().front()->target, recorder);
        ASSERT_EQ(sequencer.GetSong()->Placements().size(), 1u);
        EXPECT_EQ(sequencer.GetSong()->Placements().front()->section, loadedVerse);
        EXPECT_EQ(sequencer.GetSong()->Placements().front()->offset, 1920u);
        const Sequencer::PlayState state = sequencer.GetPlayState();
        EXPECT_EQ(state.element, sequencer.GetSong());
        EXPECT_EQ(state.position, 0u);
        EXPECT_EQ(state.rangeEnd, sequencer.GetSong()->GetLength());
    }

    TempDir dir;
};

TEST_F(SequencerStorageTest, BinaryRoundTrip)
{
    BuildTimedSong();
    MemoryStream memory;
    {
        BinaryArchive store(memory, BinaryArchive::Mode::Store);
        sequencer.Serialize(store);
        store.Close();
    }
    const std::vector<std::uint8_t>& bytes = memory.Bytes();
    ASSERT_GE(bytes.size(), 16u);
    // Tempo, beats per bar and Q as DWORDs, then the pattern count DWORD.
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16),
              (std::vector<std::uint8_t>{100, 0, 0, 0, 3, 0, 0, 0, 240, 0, 0, 0, 2, 0, 0, 0}));

    sequencer.Reset();
    memory.Seek(0);
    BinaryArchive load(memory, BinaryArchive::Mode::Load);
    sequencer.Serialize(load);
    ExpectTimedSong();
}

TEST_F(SequencerStorageTest, BinaryLoadRefusesTimingValuesOutOfRange)
{
    MemoryStream memory(std::vector<std::uint8_t>{0, 0, 0, 0, 4, 0, 0, 0, 224, 1, 0, 0, 0, 0, 0, 0});
    BinaryArchive load(memory, BinaryArchive::Mode::Load);
    try {
        sequencer.Serialize(load);
        FAIL() << "a tempo of 0 was accepted";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), Cause::Generic);
    }
    EXPECT_EQ(SequencerSettings::GetTempo(), 120);
    EXPECT_EQ(sequencer.GetSamplesPerPulse(), 45.9375f);
}

TEST_F(SequencerStorageTest, XMLRoundTrip)
{
    BuildTimedSong();
    const std::string path = (dir / "song.xml").string();
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kStore));
        ASSERT_TRUE(archive.CreateRoot("Studio"));
        CXMLArchive child(archive);
        sequencer.SerializeXML(child);
        ASSERT_TRUE(archive.Save());
    }
    const std::string text = ReadFileBytes(dir / "song.xml");
    EXPECT_NE(text.find("<Sequencer Tempo=\"100\" BeatsPerBar=\"3\" PulsesPerQuarterNote=\"240\">"), std::string::npos)
        << text;
    EXPECT_LT(text.find("<PatternList>"), text.find("<SectionList>"));
    EXPECT_LT(text.find("<SectionList>"), text.find("<Song"));

    sequencer.Reset();
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, path, CXMLArchive::kLoad));
    ASSERT_TRUE(archive.Descend("Sequencer"));
    sequencer.SerializeXML(archive);
    ExpectTimedSong();
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(SequencerStorageTest, XMLLoadRequiresASequencerElementAndKeepsTheFirstOfAName)
{
    WriteFileBytes(dir / "twice.xml",
                   "<Sequencer Tempo=\"130\"><PatternList>"
                   "<Pattern Name=\"A\" Length=\"000:01:000\"/><Pattern Name=\"A\" Length=\"000:02:000\"/>"
                   "</PatternList></Sequencer>");
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, (dir / "twice.xml").string(), CXMLArchive::kLoad));
    sequencer.SerializeXML(archive);
    EXPECT_EQ(SequencerSettings::GetTempo(), 130);
    EXPECT_EQ(SequencerSettings::GetPulsesPerQuarterNote(), 480); // absent: the default stays
    ASSERT_EQ(sequencer.Patterns().size(), 1u);
    EXPECT_EQ(sequencer.FindPattern("A")->GetLength(), 480u);
    EXPECT_EQ(recorder->EventsWithCode(252), (std::vector<ReceivedEvent>{{252, 130, 480, 0, 0}}));

    CXMLArchive other(archive);
    ASSERT_TRUE(other.Descend("PatternList"));
    try {
        sequencer.SerializeXML(other);
        FAIL() << "a PatternList element was read as a sequencer";
    } catch (const ArchiveException& error) {
        EXPECT_EQ(error.GetCause(), Cause::Generic);
    }
}

} // namespace
} // namespace jorvo::test::sequencing
