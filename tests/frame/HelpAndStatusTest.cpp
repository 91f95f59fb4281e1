// Help topics chosen from the shown view, the help window with and without its file, the status
// strip's texts, the views' own keys and messages, and the about box's version line.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include "app/frame/AboutBox.h"
#include "app/frame/CTargetView.h"
#include "app/frame/HelpWindow.h"
#include "app/frame/StatusStrip.h"
#include "engine/Instrument.h"
#include "engine/ProcessorMeter.h"
#include "engine/SeqEventTargetFactory.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "ui/WindowMessageEvent.h"
#include "frame/FrameTestSupport.h"

namespace jorvo {
namespace {

using test::StudioWindow;

TEST(HelpTopics, TheShownViewsTitleChoosesTheTopic)
{
    EXPECT_EQ(HelpTopicFor("Song and Section Overview"), "Song");
    EXPECT_EQ(HelpTopicFor("Section Editor"), "Sections");
    EXPECT_EQ(HelpTopicFor("Pattern Editor"), "Patterns");
    EXPECT_EQ(HelpTopicFor("Parameter Editor"), "Controllers");
    EXPECT_EQ(HelpTopicFor("Mixer"), "Mixer");
    EXPECT_EQ(HelpTopicFor("Pattern Mixer"), "Patterns");
    EXPECT_EQ(HelpTopicFor("Jorvo"), "Main_Contents");
    EXPECT_EQ(HelpTopicFor(""), "Main_Contents");
    EXPECT_EQ(HelpTopicFor("song"), "Main_Contents"); // the words are matched as written
}

TEST(HelpWindowTest, AMissingFileIsSaidPlainlyAndAFileOpensAtItsTopic)
{
    test::TempDir dir;
    HelpWindow help;
    const std::string missing = (dir / "Jorvo.htm").string();
    EXPECT_FALSE(help.ShowTopic(missing, "Mixer"));
    EXPECT_NE(help.PageText().find("could not be found"), std::string::npos);
    EXPECT_NE(help.PageText().find(missing), std::string::npos);

    test::WriteFileBytes(missing, "<html><body><h1><a name=\"Main_Contents\">Contents</a></h1>"
                                  "<h2><a name=\"Mixer\">The mixer</a></h2><p>Faders.</p></body></html>");
    EXPECT_TRUE(help.ShowTopic(missing, "Mixer"));
    EXPECT_EQ(help.Topic(), "Mixer");
    EXPECT_NE(help.PageText().find("The mixer"), std::string::npos);
}

TEST(HelpWindowTest, TheFramesHelpFollowsTheShownView)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    Sequencer::Current()->ShowSectionEditor();
    frame.ShowHelp();
    ASSERT_NE(frame.Help(), nullptr);
    EXPECT_EQ(frame.Help()->Topic(), "Sections");

    // WM_FILE_HELP from a skin element asks the frame for the same command.
    frame.DisplayMixer();
    frame.ActiveView()->Broadcast(RegisterWindowMessage("WM_FILE_HELP"), 0, 0);
    StudioWindow::Settle();
    EXPECT_EQ(frame.Help()->Topic(), "Mixer");
    frame.Help()->close();
}

TEST(StatusStripTest, PositionMemoryAndProcessorTexts)
{
    SequencerSettings::RestoreInitialValues();
    StatusStrip status;
    EXPECT_EQ(status.PositionText(), "--:--");

    // Bar 3, beat 2 of 4/4 at 480 pulses per quarter note.
    const std::uint32_t pulse = 2 * 4 * 480 + 480 + 17;
    status.ShowSongTime(pulse / 480, pulse);
    EXPECT_EQ(status.PositionText(), "003:02");
    // The same beat again is not shown again, even with another pulse.
    status.ShowSongTime(pulse / 480, 0);
    EXPECT_EQ(status.PositionText(), "003:02");
    // WM_UPDATE_SEQTIME carries the beat in the low 16 bits of wParam.
    SendWindowMessage(&status, RegisterWindowMessage("WM_UPDATE_SEQTIME"), 0x10000 + 0, 0);
    EXPECT_EQ(status.PositionText(), "001:01");

    status.ShowMemory(7);
    EXPECT_EQ(status.MemoryText(), "Mem: 07%");

    status.ShowUnderruns(0);
    EXPECT_EQ(status.UnderrunText(), "");
    status.ShowUnderruns(3);
    EXPECT_EQ(status.UnderrunText(), "Underruns: 3");

    ProcessorMeter meter;
    meter.AccountLoad(1234);
    status.ShowProcessorLoad(meter);
    EXPECT_EQ(status.ProcessorText(), "CPU: 12.34%");
    EXPECT_EQ(meter.Count(), 0u); // a changed text starts the statistics again
    meter.AccountLoad(0);
    meter.AccountLoad(0);
    status.ShowProcessorLoad(meter);
    EXPECT_EQ(status.ProcessorText(), "CPU: 00.00%");
    meter.AccountLoad(0);
    status.ShowProcessorLoad(meter);
    EXPECT_EQ(meter.Count(), 1u); // unchanged text: the statistics go on
}

TEST(ViewKeys, EnterStartsAndPausesTheSong)
{
    StudioWindow window;
    CSeqView* view = window.frame->ActiveView();
    Sequencer& sequencer = window.document.GetStudio()->GetSequencer();
    ASSERT_FALSE(sequencer.IsPlaying());
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(sequencer.IsPlaying());
    QTest::keyClick(view, Qt::Key_Enter);
    EXPECT_FALSE(sequencer.IsPlaying());
}

TEST(TargetViewMenu, InstrumentViewsOfferDeleteLoadSaveAndRename)
{
    StudioWindow window;
    Instrument* instrument =
        window.document.GetStudio()->AddInstrument(SeqEventTargetFactory::ListInstruments().front());
    ASSERT_NE(instrument, nullptr);
    StudioWindow::Settle();
    auto* view = static_cast<CTargetView*>(window.frame->ViewsOfKind({"InstrumentView"}).front());

    QMenu menu;
    view->FillContextMenu(menu);
    std::vector<std::string> texts;
    for (const QAction* action : menu.actions())
        texts.push_back(action->text().toStdString());
    EXPECT_EQ(texts, (std::vector<std::string>{"Delete Instrument", "Load Preset...", "Save Preset...", "Rename"}));

    window.shell.nameAnswers.push_back(std::string("Keys"));
    menu.actions()[3]->trigger();
    EXPECT_EQ(instrument->GetName(), "Keys");
    EXPECT_EQ(view->GetTitle(), "Keys");

    // "No" to the question keeps the instrument.
    window.shell.answers.push_back(MessageAnswer::No);
    menu.actions()[0]->trigger();
    EXPECT_EQ(window.document.GetStudio()->Instruments().size(), 1u);
}

TEST(AboutBoxTest, TheVersionHasFourParts)
{
    EXPECT_EQ(VersionText("1.0.0"), "Jorvo Version: 1.0.0.0");
    EXPECT_EQ(VersionText("2.5.1.9"), "Jorvo Version: 2.5.1.9");
    EXPECT_EQ(VersionText("x"), "Jorvo Version: 0.0.0.0");
}

} // namespace
} // namespace jorvo
