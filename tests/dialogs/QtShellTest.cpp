// The Qt shell's own dialogs driven as a user would: message boxes answer with the button pressed
// (Escape with the safe answer), the rename, select and bank dialogs return what was chosen, the
// wait cursor nests, view requests reach the view host only when there is one, and the file
// dialogs return the path chosen.
#include "app/dialogs/QtShell.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>

#include "app/dialogs/ViewHost.h"
#include "dialogs/DialogTestSupport.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

using test::Click;
using test::SaveScreen;
using test::WhenModal;

TEST(QtShellTest, MessageBoxesAnswerWithTheButtonPressedAndEscapeIsTheSafeAnswer)
{
    QtShell shell;
    WhenModal([](QWidget& box) {
        EXPECT_EQ(box.windowTitle(), "Jorvo");
        EXPECT_EQ(static_cast<QMessageBox&>(box).text(), "Remove the Bank Leads ?");
        SaveScreen(box, "message_question");
        EXPECT_TRUE(Click(box, "&No"));
    });
    EXPECT_EQ(shell.MessageBox("Remove the Bank Leads ?", "Jorvo", MessageButtons::YesNo, MessageIcon::Question,
                               std::nullopt),
              MessageAnswer::No);

    WhenModal([](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(shell.MessageBox("Save?", "Jorvo", MessageButtons::YesNoCancel, MessageIcon::None, std::nullopt),
              MessageAnswer::Cancel);
    WhenModal([](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(shell.MessageBox("Go on?", "Jorvo", MessageButtons::YesNo, MessageIcon::None, std::nullopt),
              MessageAnswer::No);
    WhenModal([](QWidget& box) { EXPECT_TRUE(Click(box, "&Retry")); });
    EXPECT_EQ(shell.MessageBox("Busy", "Jorvo", MessageButtons::RetryCancel, MessageIcon::Warning, std::nullopt),
              MessageAnswer::Retry);
}

TEST(QtShellTest, ANewerDocumentTellsWhereTheLatestVersionIs)
{
    QtShell shell;
    const std::string text = "Cannot read document '/tmp/song.jorvo'.  Document was created by a newer version of Jorvo.";
    WhenModal([&](QWidget& widget) {
        auto& box = static_cast<QMessageBox&>(widget);
        EXPECT_EQ(box.windowTitle(), "Incorrect Version");
        EXPECT_EQ(box.text().toStdString(), text);
        EXPECT_TRUE(box.informativeText().contains("Click here to download the Latest Version of Jorvo."));
        EXPECT_TRUE(box.informativeText().contains("(Requires Internet Access)"));
        SaveScreen(box, "incorrect_version");
        EXPECT_TRUE(Click(box, "&OK"));
    });
    EXPECT_EQ(shell.MessageBox(text, "Incorrect Version", MessageButtons::Ok, MessageIcon::Error, std::nullopt),
              MessageAnswer::Ok);
}

TEST(QtShellTest, RenameDialogReturnsTheNameTypedOrNothingOnCancel)
{
    QtShell shell;
    WhenModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Rename Pattern");
        const auto labels = dialog.findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.front()->text(), "New Name:");
        auto* edit = dialog.findChild<QLineEdit*>("nameEdit");
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->selectedText(), "Verse"); // typing replaces the old name
        SaveScreen(dialog, "rename");
        QTest::keyClicks(edit, "Chorus");
        EXPECT_TRUE(Click(dialog, "&OK"));
    });
    EXPECT_EQ(shell.PromptName("Rename Pattern", "Verse"), std::optional<std::string>("Chorus"));

    WhenModal([](QWidget& dialog) { EXPECT_TRUE(Click(dialog, "Cancel")); });
    EXPECT_EQ(shell.PromptName("Rename", "Verse"), std::nullopt);
}

TEST(QtShellTest, WaitCursorsNestAndAnUnmatchedEndIsHarmless)
{
    QtShell shell;
    shell.BeginWaitCursor();
    shell.BeginWaitCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    shell.EndWaitCursor();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    shell.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QApplication::setOverrideCursor(Qt::CrossCursor); // someone else's cursor survives an extra end
    shell.EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QApplication::restoreOverrideCursor();
}

class CountingHost : public ViewHost {
public:
    void BroadcastMessage(WindowMessage message, WParam, LParam) override { broadcasts.push_back(message); }
    bool SendToTargetView(const void* target, WindowMessage, WParam, LParam) override { return target == &shown; }
    ViewId CreateView(const ViewRequest& request) override { return request.keyword == "MixerView" ? 7 : kNoView; }
    bool SetViewTitle(ViewId view, const std::string& title) override
    {
        titles.push_back(title);
        return view == 7;
    }
    void RefreshView(ViewId view) override { refreshed.push_back(view); }
    void RemoveView(ViewId view) override { removed.push_back(view); }

    int shown = 0;
    std::vector<WindowMessage> broadcasts;
    std::vector<std::string> titles;
    std::vector<ViewId> refreshed;
    std::vector<ViewId> removed;
};

TEST(QtShellTest, ViewRequestsGoToTheViewHostOnlyWhenThereIsOne)
{
    QtShell shell;
    CountingHost host;
    EXPECT_EQ(shell.CreateView({"MixerView", nullptr, "", "Mixer"}), kNoView);
    EXPECT_FALSE(shell.SetViewTitle(7, "Mixer"));
    EXPECT_FALSE(shell.SendToTargetView(&host.shown, 0xC001, 0, 0));
    shell.BroadcastMessage(0xC001, 0, 0);
    shell.RefreshView(7);
    shell.RemoveView(7);

    shell.SetViewHost(&host);
    EXPECT_EQ(shell.CreateView({"MixerView", nullptr, "", "Mixer"}), 7u);
    EXPECT_EQ(shell.CreateView({"NoSuchView", nullptr, "", ""}), kNoView);
    EXPECT_TRUE(shell.SetViewTitle(7, "Mixer 2"));
    EXPECT_TRUE(shell.SendToTargetView(&host.shown, 0xC001, 0, 0));
    EXPECT_FALSE(shell.SendToTargetView(&host, 0xC001, 0, 0));
    shell.BroadcastMessage(0xC002, 0, 0);
    shell.RefreshView(7);
    shell.RemoveView(7);
    EXPECT_EQ(host.broadcasts, std::vector<WindowMessage>{0xC002});
    EXPECT_EQ(host.titles, std::vector<std::string>{"Mixer 2"});
    EXPECT_EQ(host.refreshed, std::vector<ViewId>{7});
    EXPECT_EQ(host.removed, std::vector<ViewId>{7});

    shell.SetViewHost(nullptr);
    EXPECT_EQ(shell.CreateView({"MixerView", nullptr, "", "Mixer"}), kNoView);
}

TEST(QtShellTest, SelectDialogNameFollowsTheListUntilTyped)
{
    QtShell shell;
    SelectRequest request{"Select Instrument", {"mSyn", "Sampler", "Drums"}, 0, ""};
    WhenModal([](QWidget& dialog) {
        auto* name = dialog.findChild<QLineEdit*>("nameEdit");
        auto* list = dialog.findChild<QListWidget*>("list");
        ASSERT_TRUE(name && list);
        EXPECT_EQ(dialog.windowTitle(), "Select Instrument");
        EXPECT_EQ(name->text(), "mSyn");
        SaveScreen(dialog, "select");
        list->setCurrentRow(1);
        EXPECT_EQ(name->text(), "Sampler");
        name->clear();
        QTest::keyClicks(name, "Kit");
        list->setCurrentRow(2); // a typed name stays
        EXPECT_EQ(name->text(), "Kit");
        EXPECT_TRUE(Click(dialog, "&OK"));
    });
    std::optional<SelectResult> chosen = shell.SelectFromList(request);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->choice, 2u);
    EXPECT_EQ(chosen->name, "Kit");

    // A double tap chooses; nothing chosen means OK cannot be pressed.
    request.selected = 99;
    WhenModal([](QWidget& dialog) {
        auto* list = dialog.findChild<QListWidget*>("list");
        EXPECT_FALSE(test::Button(dialog, "&OK")->isEnabled());
        const QRect row = list->visualItemRect(list->item(1));
        test::DoubleClick(*list->viewport(), row.center());
    });
    chosen = shell.SelectFromList(request);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->choice, 1u);
    EXPECT_EQ(chosen->name, "Sampler");
}

TEST(QtShellTest, BankSelectionReturnsTheBankChosenOrNothing)
{
    QtShell shell;
    const SelectPresetBankRequest request{"Select Preset Bank", {"Default", "Leads", "Pads"}, 0};
    WhenModal([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select Preset Bank");
        SaveScreen(dialog, "select_bank");
        dialog.findChild<QListWidget*>("list")->setCurrentRow(2);
        EXPECT_TRUE(Click(dialog, "&OK"));
    });
    EXPECT_EQ(shell.SelectPresetBank(request), std::optional<std::size_t>(2));
    WhenModal([](QWidget& dialog) { EXPECT_TRUE(Click(dialog, "Cancel")); });
    EXPECT_EQ(shell.SelectPresetBank(request), std::nullopt);
}

TEST(QtShellTest, FileDialogsReturnThePathChosenWithTheFiltersExtension)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir / "Samples");
    QtShell shell;
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.title = "Render as Audio";
    request.filters = {{"Wav Files", "*.wav"}};
    request.initialPath = (dir / "song.wav").string();
    WhenModal([](QWidget& widget) {
        auto& dialog = static_cast<QFileDialog&>(widget);
        EXPECT_EQ(dialog.windowTitle(), "Render as Audio");
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Wav Files (*.wav)"});
        EXPECT_LE(dialog.width(), 480);
        EXPECT_LE(dialog.height(), 640);
        SaveScreen(dialog, "save_file");
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "song.wav");
        name->setText("take1");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(shell.ChooseFile(request), std::optional<std::string>((dir / "take1.wav").string()));

    WhenModal([&](QWidget& widget) {
        auto& dialog = static_cast<QFileDialog&>(widget);
        EXPECT_EQ(dialog.windowTitle(), "Browse for Directory");
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText("Samples");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(shell.BrowseForFolder("Browse for Directory", dir.path().string()),
              std::optional<std::string>((dir / "Samples").string()));
}

} // namespace
} // namespace jorvo
