// The main frame's view list: activation order, the Views menu and the command bar's lists, the
// views the core asks for, and the view list stored with the document and restored on open.
#include <gtest/gtest.h>

#include <QMenu>

#include "app/frame/CJorvoView.h"
#include "app/frame/CMixerView.h"
#include "app/frame/CSeqEditorView.h"
#include "app/frame/CTargetView.h"
#include "engine/Instrument.h"
#include "engine/SeqEventTargetFactory.h"
#include "sequencer/Sequencer.h"
#include "ui/UIElement.h"
#include "frame/FrameTestSupport.h"

namespace jorvo {
namespace {

using test::StudioWindow;

std::vector<std::string> Titles(const std::vector<CSeqView*>& views)
{
    std::vector<std::string> titles;
    for (const CSeqView* view : views)
        titles.push_back(view->GetTitle());
    return titles;
}

std::vector<std::string> MenuTexts(const QMenu& menu)
{
    std::vector<std::string> texts;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator())
            texts.push_back(action->text().toStdString());
    return texts;
}

CSeqView* ViewTitled(const CMainFrame& frame, const std::string& title)
{
    for (CSeqView* view : frame.Views())
        if (view->GetTitle() == title)
            return view;
    return nullptr;
}

TEST(ViewList, TheStudioAsksForTheMixerAndTheFourEditorsAndTheDefaultViewIsShown)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    EXPECT_EQ(frame.ActiveView(), frame.DefaultView());
    EXPECT_TRUE(frame.DefaultView()->HasSkin());
    EXPECT_EQ(frame.ViewsOfKind({"MixerView"}).size(), 1u);
    EXPECT_EQ(Titles(frame.ViewsOfKind({"SeqEditorView"})),
              (std::vector<std::string>{"Song Editor", "Section Editor", "Pattern Editor", "Parameter Editor"}));
    EXPECT_EQ(frame.windowTitle().toStdString(), "Jorvo");
}

TEST(ViewList, ActivatingAViewTwiceKeepsItAtTheHeadAndShown)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    CSeqView* pattern = ViewTitled(frame, "Pattern Editor");
    ASSERT_NE(pattern, nullptr);
    frame.show();

    frame.ActivateView(pattern);
    frame.ActivateView(pattern);

    EXPECT_EQ(frame.Views().front(), pattern);
    EXPECT_EQ(frame.ActiveView(), pattern);
    EXPECT_TRUE(pattern->isVisible());
    EXPECT_FALSE(frame.DefaultView()->isVisible());
    EXPECT_EQ(frame.windowTitle().toStdString(), "Pattern Editor");
    EXPECT_EQ(frame.ViewsMenu()->actions().front()->text().toStdString(), "Pattern Editor");

    // Null means the default view, which comes back to the head; the editor is hidden again.
    frame.ActivateView(nullptr);
    EXPECT_EQ(frame.Views().front(), frame.DefaultView());
    EXPECT_FALSE(pattern->isVisible());
    EXPECT_EQ(frame.Views()[1], pattern);
}

TEST(ViewList, TheViewsMenuListsTheViewsInOrderWithCommandsFrom32950)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    frame.ActivateView(ViewTitled(frame, "Song Editor"));
    frame.ActivateView(ViewTitled(frame, "Mixer"));

    const QList<QAction*> actions = frame.ViewsMenu()->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(frame.Views().size() + 2)); // separator, Status Bar
    for (std::size_t position = 0; position < frame.Views().size(); ++position) {
        const QAction* action = actions[static_cast<qsizetype>(position)];
        EXPECT_EQ(action->text().toStdString(), frame.Views()[position]->GetTitle());
        EXPECT_EQ(action->data().toInt(), CMainFrame::kFirstViewCommand + static_cast<int>(position));
        EXPECT_EQ(frame.Views()[position]->MenuCommand(), action->data().toInt());
    }
    EXPECT_EQ(actions[0]->text().toStdString(), "Mixer");
    EXPECT_TRUE(actions[0]->isChecked());
    EXPECT_EQ(actions[1]->text().toStdString(), "Song Editor");
    EXPECT_EQ(actions.back()->text().toStdString(), "Status Bar");

    // Choosing the second item activates the song editor, which moves to the head.
    actions[1]->trigger();
    EXPECT_EQ(frame.ActiveView()->GetTitle(), "Song Editor");
    EXPECT_EQ(frame.ViewsMenu()->actions().front()->text().toStdString(), "Song Editor");
    EXPECT_FALSE(frame.ExecuteViewCommand(CMainFrame::kFirstViewCommand + 100));

    // "Status Bar" hides and shows the status strip.
    frame.ViewsMenu()->actions().back()->trigger();
    EXPECT_FALSE(frame.IsStatusBarShown());
    frame.ViewsMenu()->actions().back()->trigger();
    EXPECT_TRUE(frame.IsStatusBarShown());
}

TEST(ViewList, CommandBarListsOfferTheViewsOfTheirKindWithTheShownOneChecked)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    frame.ActivateView(ViewTitled(frame, "Section Editor"));

    QMenu editors;
    frame.FillViewPopup(editors, {"View", "SeqEditorView"});
    EXPECT_EQ(MenuTexts(editors),
              (std::vector<std::string>{"Section Editor", "Song Editor", "Pattern Editor", "Parameter Editor"}));
    EXPECT_TRUE(editors.actions()[0]->isChecked());
    EXPECT_FALSE(editors.actions()[1]->isChecked());
    editors.actions()[2]->trigger();
    EXPECT_EQ(frame.ActiveView()->GetTitle(), "Pattern Editor");

    frame.DisplayMixer();
    EXPECT_EQ(frame.ActiveView()->GetClassKeyword(), "MixerView");
}

TEST(ViewList, TheSequencerShowsItsEditorsThroughWmSetActiveView)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    Sequencer* sequencer = Sequencer::Current();
    ASSERT_NE(sequencer, nullptr);

    sequencer->ShowSongEditor();
    EXPECT_EQ(frame.ActiveView()->GetTitle(), "Song Editor");
    sequencer->ShowPatternEditor(2);
    EXPECT_EQ(frame.ActiveView()->GetTitle(), "Parameter Editor");

    // A view message posted by a skin element reaches the sequencer the same way.
    frame.ActiveView()->Broadcast(RegisterWindowMessage("WM_VIEW_SECTION_EDITOR"), 0, 0);
    StudioWindow::Settle();
    EXPECT_EQ(frame.ActiveView()->GetTitle(), "Section Editor");
    frame.ActiveView()->Broadcast(RegisterWindowMessage("WM_VIEW_MIXER"), 0, 0);
    StudioWindow::Settle();
    EXPECT_EQ(frame.ActiveView()->GetClassKeyword(), "MixerView");

    // An id that names no view any more changes nothing.
    frame.Broadcast(RegisterWindowMessage("WM_SET_ACTIVE_VIEW"), 12345, 0);
    EXPECT_EQ(frame.ActiveView()->GetClassKeyword(), "MixerView");
}

TEST(ViewList, CreatingAndRemovingViews)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    const std::size_t before = frame.Views().size();

    EXPECT_EQ(frame.CreateView("JorvoView"), frame.DefaultView());
    EXPECT_EQ(frame.CreateView("NoSuchView"), nullptr);
    EXPECT_EQ(frame.Views().size(), before);

    CSeqView* view = frame.CreateView("View");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(frame.Views().back(), view);
    EXPECT_FALSE(view->isVisible());

    frame.ActivateView(view);
    frame.RemoveView(view);
    EXPECT_EQ(frame.ActiveView(), frame.DefaultView());
    EXPECT_EQ(frame.Views().size(), before);
    EXPECT_EQ(frame.FindView(CMainFrame::IdOf(view)), nullptr);

    frame.RemoveView(frame.DefaultView());
    EXPECT_EQ(frame.Views().size(), before);
}

TEST(ViewList, EveryInstrumentGetsAViewThatFollowsItsNameAndGoesWithIt)
{
    StudioWindow window;
    CMainFrame& frame = *window.frame;
    SoundStudio& studio = *window.document.GetStudio();
    const std::string engine = SeqEventTargetFactory::ListInstruments().front();

    Instrument* instrument = studio.AddInstrument(engine);
    ASSERT_NE(instrument, nullptr);
    StudioWindow::Settle();
    std::vector<CSeqView*> views = frame.ViewsOfKind({"InstrumentView"});
    ASSERT_EQ(views.size(), 1u);
    auto* view = static_cast<CTargetView*>(views.front());
    EXPECT_EQ(view->GetTarget(), instrument);
    EXPECT_EQ(view->GetTitle(), instrument->GetName());

    instrument->SetName("Lead");
    StudioWindow::Settle();
    EXPECT_EQ(view->GetTitle(), "Lead");

    frame.ActivateView(view);
    window.shell.answers.push_back(MessageAnswer::Yes);
    studio.DeleteInstrument(instrument);
    EXPECT_TRUE(frame.ViewsOfKind({"InstrumentView"}).empty());
    EXPECT_EQ(frame.ActiveView(), frame.DefaultView());
    StudioWindow::Settle();
}

// The document's view list --------------------------------------------------------------------

// A view of the user's own (keyword "View") with one label, entered in the frame.
CSeqView* AddOwnView(CMainFrame& frame, test::TestSkins& skins)
{
    skins.Write("Notes", "<View Name=\"My Notes\" BackgroundColour=\"#102030\"><UIElementList>" +
                             test::Label("Remember", 10, 10, 200, 30, "Remember the bridge") +
                             "</UIElementList></View>");
    CSeqView* view = frame.CreateView("View");
    EXPECT_TRUE(view->LoadSkin("Notes", "View"));
    return view;
}

void ExpectRestored(const CMainFrame& frame, const std::vector<std::string>& headTitles)
{
    // Nothing doubled: one mixer, four editors, one view of the user's own.
    EXPECT_EQ(frame.ViewsOfKind({"MixerView"}).size(), 1u);
    EXPECT_EQ(frame.ViewsOfKind({"SeqEditorView"}).size(), 4u);
    const std::vector<CSeqView*> own = frame.ViewsOfKind({"View"});
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own.front()->GetTitle(), "My Notes");
    ASSERT_EQ(own.front()->Elements().size(), 1u);
    EXPECT_EQ(own.front()->Elements().front()->GetName(), "Remember");
    EXPECT_EQ(own.front()->BackgroundColour(), Colour::FromRgb(0x10, 0x20, 0x30));
    // The default view is shown at the head; the rest keep their stored order.
    EXPECT_EQ(frame.ActiveView(), frame.DefaultView());
    std::vector<std::string> titles = Titles(frame.Views());
    titles.resize(headTitles.size());
    EXPECT_EQ(titles, headTitles);
}

TEST(ViewListStorage, XmlExportAndImportRestoreTheViews)
{
    test::TempDir dir;
    const std::string path = (dir / "song.xml").string();
    {
        StudioWindow window;
        CMainFrame& frame = *window.frame;
        frame.ActivateView(AddOwnView(frame, window.skins));
        frame.ActivateView(ViewTitled(frame, "Pattern Editor"));
        frame.ActivateView(nullptr);
        ASSERT_TRUE(window.document.ExportXML(path));
    }
    const std::string text = test::ReadFileBytes(path);
    EXPECT_NE(text.find("<ViewList>"), std::string::npos);
    EXPECT_NE(text.find("My Notes"), std::string::npos);

    StudioWindow window;
    ASSERT_TRUE(window.document.ImportXML(path));
    StudioWindow::Settle();
    ExpectRestored(*window.frame, {"Jorvo", "Pattern Editor", "My Notes"});
}

TEST(ViewListStorage, NativeSaveAndOpenRestoreTheViews)
{
    test::TempDir dir;
    const std::string path = (dir / "song.jorvo").string();
    {
        StudioWindow window;
        CMainFrame& frame = *window.frame;
        frame.ActivateView(AddOwnView(frame, window.skins));
        frame.ActivateView(ViewTitled(frame, "Mixer"));
        frame.ActivateView(nullptr);
        ASSERT_TRUE(window.document.SaveDocument(path));
    }
    const std::string bytes = test::ReadFileBytes(path);
    EXPECT_NE(bytes.find("E\0n\0d\0O\0f\0V\0i\0e\0w\0L\0i\0s\0t", 0, 25), std::string::npos);

    StudioWindow window;
    ASSERT_TRUE(window.document.OpenDocument(path));
    StudioWindow::Settle();
    ExpectRestored(*window.frame, {"Jorvo", "Mixer", "My Notes"});
    EXPECT_TRUE(window.shell.messages.empty()) << window.shell.LastMessage();
}

TEST(ViewListStorage, UnknownAndDamagedStoredViewsAreSkipped)
{
    test::TempDir dir;
    const std::string path = (dir / "odd.xml").string();
    test::WriteFileBytes(path, "<JorvoDocument Version=\"4\"><Studio/><ViewList>"
                               "<FancyView Name=\"Odd\"/><View Name=\"Plain\"/></ViewList></JorvoDocument>");
    StudioWindow window;
    ASSERT_TRUE(window.document.ImportXML(path));
    EXPECT_EQ(ViewTitled(*window.frame, "Odd"), nullptr);
    EXPECT_NE(ViewTitled(*window.frame, "Plain"), nullptr);
}

TEST(ViewListStorage, StoredEditorsAndMixerUnderOtherTitlesAreNotDoubled)
{
    test::TempDir dir;
    const std::string path = (dir / "renamed.xml").string();
    test::WriteFileBytes(path, "<JorvoDocument Version=\"4\"><Studio/><ViewList>"
                               "<MixerView Name=\"Old Mixer\"/><SeqEditorView Name=\"Old Editor\"/>"
                               "<SeqEditorView Name=\"Pattern Editor\"/></ViewList></JorvoDocument>");
    StudioWindow window;
    ASSERT_TRUE(window.document.ImportXML(path));
    const CMainFrame& frame = *window.frame;
    EXPECT_EQ(frame.ViewsOfKind({"MixerView"}).size(), 1u);
    EXPECT_EQ(frame.ViewsOfKind({"SeqEditorView"}).size(), 4u);
    // The exact title keeps its place; the others take the remaining views of their kind.
    EXPECT_EQ(Titles(frame.Views()),
              (std::vector<std::string>{"Jorvo", "Mixer", "Song Editor", "Pattern Editor", "Section Editor",
                                        "Parameter Editor"}));
}

} // namespace
} // namespace jorvo
