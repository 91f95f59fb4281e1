// The labels and trees: the mixer channel label's name, rename and delete; the audio-file label
// taking a chosen sample into its slot; the sampler zone labels; the sequencer tree used as a
// section chooser; and the sample browser's tree and message.
#include <gtest/gtest.h>
#include <QDialog>
#include <QTest>
#include <QTreeWidget>

#include "audio/WavBuilder.h"
#include "engine/Instrument.h"
#include "engine/InstrumentSampler.h"
#include "engine/Mixer.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "support/TestSupport.h"
#include "ui/AudioFileNameLabel.h"
#include "ui/ControlTestSupport.h"
#include "ui/MixerChannelLabel.h"
#include "ui/MsgSeqTree.h"
#include "ui/PopupMenu.h"
#include "ui/SampleBrowser.h"
#include "ui/SamplerZoneLabels.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

void Deliver(QWidget& element, const char* name, WParam wParam)
{
    PostWindowMessage(&element, RegisterWindowMessage(name), wParam, 0);
    QCoreApplication::sendPostedEvents();
}

// Opens the element's context menu and chooses `entry`; false when no menu was shown.
bool ChooseFromMenu(QWidget& element, const QString& entry)
{
    ScopedMenuChooser chooser([entry](QMenu& menu) { return FindMenuAction(menu, entry); });
    return test::OpenContextMenu(element, {5, 5});
}

class StudioLabelTest : public ::testing::Test {
protected:
    StudioLabelTest()
    {
        SequencerSettings::RestoreInitialValues();
        lead = studio.AddInstrument("mSyn");
        lead->SetName("Lead");
        label = new MixerChannelLabel(&view);
        label->Create(0, 0, 80, 20);
        label->SetTarget(studio.GetMixer().ChannelOf(*lead));
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    SkinView view;
    Instrument* lead;
    MixerChannelLabel* label;
};

TEST_F(StudioLabelTest, TheChannelLabelShowsAndRenamesItsInstrument)
{
    EXPECT_EQ(label->ShownName(), "Lead");
    shell.nameAnswers.push_back(std::string("Bass"));
    EXPECT_TRUE(ChooseFromMenu(*label, MixerChannelLabel::kRenameEntry));
    ASSERT_EQ(shell.prompts.size(), 1u);
    EXPECT_EQ(lead->GetName(), "Bass");
    EXPECT_EQ(label->ShownName(), "Bass");
}

TEST_F(StudioLabelTest, DeletingTheInstrumentAsksAndUnbindsTheLabel)
{
    shell.answers.push_back(MessageAnswer::No);
    ChooseFromMenu(*label, MixerChannelLabel::kDeleteEntry);
    ASSERT_EQ(studio.Instruments().size(), 1u);
    EXPECT_NE(label->Channel(), nullptr);

    shell.answers.push_back(MessageAnswer::Yes);
    ChooseFromMenu(*label, MixerChannelLabel::kDeleteEntry);
    EXPECT_TRUE(studio.Instruments().empty());
    EXPECT_EQ(label->Channel(), nullptr);
    EXPECT_EQ(label->ShownName(), "");
    EXPECT_FALSE(ChooseFromMenu(*label, MixerChannelLabel::kRenameEntry)); // no channel: no menu
}

TEST_F(StudioLabelTest, ALabelOnAnotherTargetOffersNothing)
{
    label->SetTarget(lead); // an instrument, not a channel
    EXPECT_EQ(label->ShownName(), "");
    EXPECT_FALSE(ChooseFromMenu(*label, MixerChannelLabel::kRenameEntry));
    EXPECT_TRUE(shell.prompts.empty());
}

TEST_F(StudioLabelTest, TheAudioFileLabelPutsTheChosenSampleIntoItsSlot)
{
    test::TempDir folder;
    const auto wav = folder / "kick.wav";
    test::WriteFileBytes(wav, test::RiffWave({test::FormatChunk(1), test::DataChunk({1, 2, 3, 4})}));
    test::RangeTarget target(0, 1, 0);
    AudioFileNameLabel fileLabel(&view);
    fileLabel.Create(0, 30, 120, 20);
    fileLabel.SetTarget(&target);
    fileLabel.SetSlot(1, false);

    const std::string path = wav.string();
    Deliver(fileLabel, "WM_TREE_DLG_SEL_PATH", reinterpret_cast<WParam>(path.c_str()));
    ASSERT_GE(target.GetSampleSlot(1), 0);
    EXPECT_EQ(fileLabel.SampleName(), "kick.wav");

    Deliver(fileLabel, "WM_SET_ACTIVE_AUDIOFILE_INDEX", 0); // a fixed slot does not follow
    EXPECT_EQ(fileLabel.SlotIndex(), 1);
    fileLabel.SetSlot(1, true);
    Deliver(fileLabel, "WM_SET_ACTIVE_AUDIOFILE_INDEX", 0);
    EXPECT_EQ(fileLabel.SlotIndex(), 0);
    EXPECT_EQ(fileLabel.SampleName(), "");

    const std::string missing = (folder / "missing.wav").string();
    Deliver(fileLabel, "WM_TREE_DLG_SEL_PATH", reinterpret_cast<WParam>(missing.c_str()));
    EXPECT_EQ(target.GetSampleSlot(0), SeqEventTarget::kEmptySlot); // nothing loaded, nothing put in
    EXPECT_FALSE(shell.messages.empty());  // and the user was told why

    QTest::mouseDClick(&fileLabel, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_FALSE(shell.fileBrowserRequests.empty());
    EXPECT_EQ(shell.fileBrowserRequests.back().requester, &fileLabel);
}

TEST_F(StudioLabelTest, ZoneLabelsFollowTheActiveZone)
{
    auto* sampler = static_cast<InstrumentSampler*>(studio.AddInstrument("Sampler"));
    ASSERT_NE(sampler, nullptr);
    SampleZone* low = sampler->CreateZone(0);
    SampleZone* high = sampler->CreateZone(60);
    ASSERT_TRUE(low && high);
    low->SetZoneName("Kick");
    high->SetZoneName("Snare");
    SampleZoneNameLabel zoneLabel(&view);
    zoneLabel.SetTarget(sampler);
    Deliver(zoneLabel, "WM_SET_ACTIVE_SAMPLER_ZONE", 60);
    ASSERT_EQ(zoneLabel.Zone(), high);
    EXPECT_EQ(zoneLabel.ZoneText(*zoneLabel.Zone()), "Snare");
    Deliver(zoneLabel, "WM_SET_ACTIVE_SAMPLER_ZONE", 128);
    EXPECT_EQ(zoneLabel.Zone(), nullptr);
    Deliver(zoneLabel, "WM_SET_ACTIVE_SAMPLER_ZONE", 100000); // nonsense: no zone, no crash
    EXPECT_EQ(zoneLabel.Zone(), nullptr);
    zoneLabel.SetTarget(lead);
    EXPECT_EQ(zoneLabel.Zone(), nullptr);
}

TEST_F(StudioLabelTest, TheSequencerTreeChoosesSectionsAndClosesItsDialog)
{
    Sequencer& sequencer = studio.GetSequencer();
    SeqEventSection* verse = sequencer.CreateSection("Verse");
    SeqEventPattern* bass = sequencer.CreatePattern("Bass");
    ASSERT_TRUE(verse && bass);
    verse->SetLength(4 * 480 * 4);
    ASSERT_NE(verse->AddPlacement(bass, lead, 0), nullptr);

    QDialog dialog;
    MsgSeqTree tree(&dialog);
    tree.Create(0, 0, 200, 200);
    tree.Rebuild();
    QTreeWidget& widget = tree.Tree();
    ASSERT_EQ(widget.topLevelItemCount(), 1);
    QTreeWidgetItem* song = widget.topLevelItem(0);
    ASSERT_EQ(song->childCount(), 1);
    QTreeWidgetItem* section = song->child(0);
    EXPECT_EQ(section->text(0), "Verse");
    ASSERT_EQ(section->childCount(), 1);
    EXPECT_EQ(section->child(0)->text(0), "Bass");

    tree.Choose(section->child(0)); // a pattern stands for its section
    EXPECT_EQ(tree.Selection(), verse);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(SampleBrowserTest, ListsFoldersAndSamplesAndPostsTheChosenPath)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    test::TempDir folder;
    std::filesystem::create_directory(folder / "Drums");
    test::WriteFileBytes(folder / "Drums" / "hat.wav", "x");
    test::WriteFileBytes(folder / "bass.wav", "x");
    test::WriteFileBytes(folder / "notes.txt", "x");
    test::RecordingView view;
    auto* browser = new SampleBrowser(&view);
    browser->SetMessageName("WM_SEL_SAMPLE_FILENAME");
    browser->Create(0, 0, 200, 200);
    view.AddElement(browser);
    browser->SetRootFolder(folder.path().string());

    QTreeWidget& tree = browser->Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 2); // the folder, then the sample; no text file
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Drums");
    EXPECT_EQ(tree.topLevelItem(1)->text(0), "bass.wav");
    tree.topLevelItem(0)->setExpanded(true);
    ASSERT_EQ(tree.topLevelItem(0)->childCount(), 1);

    tree.setCurrentItem(tree.topLevelItem(0)); // a folder posts nothing
    EXPECT_TRUE(view.Named("WM_SEL_SAMPLE_FILENAME").empty());
    tree.setCurrentItem(tree.topLevelItem(0)->child(0));
    const auto posted = view.Named("WM_SEL_SAMPLE_FILENAME");
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(posted[0].wParam)), (folder / "Drums" / "hat.wav").string());
}

} // namespace
} // namespace jorvo
