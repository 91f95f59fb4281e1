// The editors' skin attributes: read from a view description, drawn, and written back so that a
// stored view reads back the same settings.
#include <gtest/gtest.h>

#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/MixerBuss.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventPattern.h"
#include "support/TestSupport.h"
#include "ui/EditorTestSupport.h"
#include "ui/PatternEditor.h"
#include "ui/SectionEditor.h"
#include "ui/SongEditor.h"

namespace jorvo {
namespace {

using test::Bars;

constexpr char kEditors[] =
    "<View Name=\"Editors\"><UIElementList>"
    "<Notes Class=\"PatternEditor\" Left=\"0\" Top=\"0\" Width=\"480\" Height=\"240\" Quantize=\"3\" "
    "FollowCarat=\"True\" Loop=\"False\" PlaySounds=\"False\" DrawTimeDivisions=\"False\" "
    "SharpNoteColour=\"#102030\" NaturalNoteColour=\"#E0E0D0\" NoteDivisionColour=\"#E0E0D0\"/>"
    "<Lanes Class=\"SectionEditor\" Left=\"0\" Top=\"240\" Width=\"480\" Height=\"240\" Quantize=\"0\" "
    "FollowCarat=\"False\" BussColour=\"#112233\" InstrumentColour=\"#445566\"/>"
    "<Song Class=\"SongEditor\" Left=\"0\" Top=\"480\" Width=\"480\" Height=\"120\" Quantize=\"4\" "
    "Background=\"#203040\" DrawTimeDivisions=\"False\" DrawSectionDivisions=\"False\"/>"
    "</UIElementList></View>";

class EditorSkinTest : public ::testing::Test {
protected:
    // One instrument and one effect; a section of two bars with a pattern for the instrument.
    EditorSkinTest()
    {
        Instrument* instrument = studio.AddInstrument("DefaultInstrument");
        buss = studio.GetMixer().BussOf(*studio.AddEffect("Delay"));
        SeqEventSection* section = sequencer.CreateSection("Verse");
        section->SetLength(Bars(2));
        {
            Sequencer::EditLock lock(sequencer);
            sequencer.GetSong()->AddPlacement(section, 0);
            section->AddPlacement(sequencer.CreatePattern("Bass"), instrument, 0);
        }
        sequencer.SetActiveSection(sequencer.GetSong()->Placements().front().get());
        sequencer.SetActivePattern(section->Placements().front().get());
    }

    // Loads `file` into `view` and shows it.
    static void Load(SkinView& view, const std::string& file)
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, file, CXMLArchive::kLoad));
        view.SerializeXML(archive);
        view.resize(480, 640);
        view.show();
    }

    // Checks what the skin above sets, on the editors of `view`.
    void ExpectSkinSettings(SkinView& view)
    {
        ASSERT_EQ(view.Elements().size(), 3u);
        auto* notes = dynamic_cast<PatternEditor*>(view.Elements()[0]);
        auto* lanes = dynamic_cast<SectionEditor*>(view.Elements()[1]);
        auto* song = dynamic_cast<SongEditor*>(view.Elements()[2]);
        ASSERT_TRUE(notes && lanes && song);
        EXPECT_EQ(notes->GetName(), "Notes");
        EXPECT_EQ(notes->QuantizeSetting(), 3);
        EXPECT_TRUE(notes->Follows());
        EXPECT_FALSE(notes->Loops());
        EXPECT_FALSE(notes->PlaysSounds());
        EXPECT_EQ(lanes->QuantizeSetting(), 0);
        EXPECT_FALSE(lanes->Follows());
        EXPECT_TRUE(lanes->Loops());
        EXPECT_EQ(lanes->TargetColour(buss), QColor(0x11, 0x22, 0x33));
        EXPECT_EQ(song->QuantizeSetting(), 4);
        EXPECT_TRUE(song->Follows());

        notes->SetPitchRange(60, 12);
        const QImage grid = notes->grab().toImage();
        const QPoint sharpRow(300, notes->RowRect(61).center().y());
        EXPECT_EQ(QColor(grid.pixel(sharpRow)), QColor(0x10, 0x20, 0x30));
        const QPoint naturalRow(300, notes->RowRect(60).center().y());
        EXPECT_EQ(QColor(grid.pixel(naturalRow)), QColor(0xE0, 0xE0, 0xD0));
        const QImage songLane = song->grab().toImage();
        EXPECT_EQ(QColor(songLane.pixel(song->ContentRect().right() - 2, song->ContentRect().center().y())),
                  QColor(0x20, 0x30, 0x40));
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    Sequencer& sequencer = studio.GetSequencer();
    MixerBuss* buss = nullptr;
    test::TempDir folder;
};

TEST_F(EditorSkinTest, AttributesAreReadAndAStoredViewReadsThemBack)
{
    const std::string original = (folder.path() / "Editors.skin").string();
    test::WriteFileBytes(folder.path() / "Editors.skin", kEditors);
    SkinView view;
    Load(view, original);
    ExpectSkinSettings(view);

    const std::string stored = (folder.path() / "Stored.skin").string();
    {
        CXMLArchive archive;
        ASSERT_TRUE(archive.Open(nullptr, stored, CXMLArchive::kStore));
        view.SerializeXML(archive);
        ASSERT_TRUE(archive.Save());
    }
    SkinView copy;
    Load(copy, stored);
    ExpectSkinSettings(copy);
    EXPECT_TRUE(shell.messages.empty()) << shell.LastMessage();
}

// The editors in a dark look, as a skin with light text on dark rows describes it, on the demo song.
TEST(EditorSkinScreens, TheDemoSongInADarkLook)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    test::LoadDemo(studio);
    Sequencer& sequencer = studio.GetSequencer();
    SectionPlacement* chorus = test::FindSectionPlacement(sequencer, "Chorus");
    ASSERT_NE(chorus, nullptr);
    ASSERT_TRUE(sequencer.SetActiveSection(chorus));
    ASSERT_TRUE(sequencer.SetActivePattern(test::FindPatternPlacement(*chorus->section, "BassLine")));
    const std::string common =
        "Left=\"0\" Top=\"0\" Width=\"472\" Height=\"440\" BarDivisionColour=\"#8A94A2\" "
        "BeatDivisionColour=\"#555D69\" QuarterBeatDivisionColour=\"#3B414A\" BarTextColour=\"#E4E8ED\" "
        "BeatTextColour=\"#9AA4B0\" QuarterBeatTextColour=\"#5F6773\" TitleTextColour=\"#FFB23E\" ";
    test::TempDir folder;
    test::WriteFileBytes(folder.path() / "Dark.skin",
                         "<View><UIElementList>"
                         "<Notes Class=\"PatternEditor\" " + common +
                             "NoteDivisionColour=\"#3E444E\" NaturalNoteColour=\"#2E333B\" "
                             "SharpNoteColour=\"#24282E\" NaturalNoteTitleColour=\"#DDE1E6\" "
                             "SharpNoteTitleColour=\"#7C8591\" NoteTextColour=\"#14161A\"/>"
                         "<Lanes Class=\"SectionEditor\" " + common +
                             "PatternDivisionColour=\"#3E444E\" InstrumentColour=\"#F0A848\" "
                             "EffectColour=\"#5CB8E6\" ChannelColour=\"#A898F0\" BussColour=\"#5CD0AE\" "
                             "MasterColour=\"#D8DCE8\" PatternTextColour=\"#14161A\"/>"
                         "<Song Class=\"SongEditor\" " + common +
                             "SectionDivisionColour=\"#3E444E\" Background=\"#7E6FD0\" SectionTextColour=\"#FFFFFF\"/>"
                         "</UIElementList></View>");
    SkinView view;
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, (folder.path() / "Dark.skin").string(), CXMLArchive::kLoad));
    view.SerializeXML(archive);
    view.resize(480, 640);
    view.show();
    ASSERT_EQ(view.Elements().size(), 3u);
    auto* notes = dynamic_cast<PatternEditor*>(view.Elements()[0]);
    auto* lanes = dynamic_cast<SectionEditor*>(view.Elements()[1]);
    ASSERT_TRUE(notes && lanes);
    notes->SetPitchRange(notes->LowestNote(), 20);
    lanes->SetLaneRange(0, 10);
    const char* names[] = {"DarkPatternEditor.png", "DarkSectionEditor.png", "DarkSongEditor.png"};
    for (int index = 0; index < 3; ++index) {
        UIElement* editor = view.Elements()[static_cast<std::size_t>(index)];
        for (UIElement* other : view.Elements())
            other->setVisible(other == editor);
        SendWindowMessage(editor, RegisterWindowMessage(UIWindowMessages::kUpdateSeqTime), 0, chorus->offset + 1700);
        EXPECT_TRUE(editor->grab().save(QString::fromStdString(test::ScreenPath(names[index]))));
    }
}

} // namespace
} // namespace jorvo
