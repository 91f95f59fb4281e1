// The File menu's document commands: the question before the document is replaced, the file
// dialogs with their titles and filters, and the dialogs shown again after a failure.
#include <gtest/gtest.h>

#include "app/frame/FrameTexts.h"
#include "frame/FrameTestSupport.h"

namespace jorvo {
namespace {

using test::StudioWindow;

TEST(DocumentCommands, NewAsksToSaveTheChangesFirst)
{
    test::TempDir dir;
    StudioWindow window;
    SoundStudio* first = window.document.GetStudio();

    // Cancel keeps the document.
    window.shell.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(window.frame->Commands().New());
    EXPECT_EQ(window.document.GetStudio(), first);
    ASSERT_EQ(window.shell.messageBoxes.size(), 1u);
    EXPECT_EQ(window.shell.messageBoxes[0].text, "Save changes to untitled?");
    EXPECT_EQ(window.shell.messageBoxes[0].buttons, MessageButtons::YesNoCancel);

    // No replaces it without saving.
    window.shell.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(window.frame->Commands().New());
    EXPECT_TRUE(window.shell.fileDialogRequests.empty());
    SoundStudio* second = window.document.GetStudio();
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(window.frame->ViewsOfKind({"MixerView"}).size(), 1u);

    // Yes saves through the save dialog, which proposes the default path; cancelling that
    // dialog keeps the document.
    window.shell.answers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(window.frame->Commands().New());
    ASSERT_EQ(window.shell.fileDialogRequests.size(), 1u);
    EXPECT_EQ(window.shell.fileDialogRequests[0].mode, FileDialogMode::Save);
    EXPECT_EQ(window.shell.fileDialogRequests[0].initialPath, window.document.GetDefaultPathName());

    const std::string path = (dir / "kept.jorvo").string();
    window.shell.answers.push_back(MessageAnswer::Yes);
    window.shell.fileAnswers.push_back(path);
    EXPECT_TRUE(window.frame->Commands().New());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(window.document.GetPathName().empty());
    StudioWindow::Settle();
}

TEST(DocumentCommands, ClosingTheWindowAsksTheSameQuestion)
{
    StudioWindow window;
    window.frame->show();
    window.shell.answers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(window.frame->close());
    EXPECT_TRUE(window.frame->isVisible());
    window.shell.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(window.frame->close());
}

TEST(DocumentCommands, OpenChoosesTheFileBeforeAskingAndSaveUsesTheDocumentsPath)
{
    test::TempDir dir;
    StudioWindow window;
    const std::string path = (dir / "tune.jorvo").string();
    window.shell.fileAnswers.push_back(path);
    EXPECT_TRUE(window.frame->Commands().SaveAs());
    EXPECT_EQ(window.shell.fileDialogRequests.back().title, "Save As");
    EXPECT_EQ(window.document.GetPathName(), path);

    // Save writes to the path without a dialog.
    std::filesystem::remove(path);
    EXPECT_TRUE(window.frame->Commands().Save());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(window.shell.fileDialogRequests.size(), 1u);

    // A cancelled open dialog asks nothing.
    EXPECT_FALSE(window.frame->Commands().Open());
    EXPECT_TRUE(window.shell.messages.empty());

    window.shell.fileAnswers.push_back(path);
    window.shell.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(window.frame->Commands().Open());
    EXPECT_EQ(window.shell.fileDialogRequests.back().filters.front().pattern, "*.jorvo");
    EXPECT_EQ(window.document.GetPathName(), path);
    EXPECT_EQ(window.frame->ActiveView(), window.frame->DefaultView());
    StudioWindow::Settle();
}

TEST(DocumentCommands, AFailedImportShowsTheDialogAgain)
{
    test::TempDir dir;
    StudioWindow window;
    const std::string bad = (dir / "bad.xml").string();
    test::WriteFileBytes(bad, "<NotAJorvoDocument/>");
    const std::string good = (dir / "good.xml").string();
    ASSERT_TRUE(window.document.ExportXML(good));

    window.shell.fileAnswers = {bad, good};
    window.shell.answers.push_back(MessageAnswer::No);
    EXPECT_TRUE(window.frame->Commands().ImportXml());
    ASSERT_EQ(window.shell.fileDialogRequests.size(), 2u);
    EXPECT_EQ(window.shell.fileDialogRequests[0].title, "Import XML");
    EXPECT_EQ(window.shell.fileDialogRequests[1].initialPath, bad);
    const std::vector<FileFilter>& filters = window.shell.fileDialogRequests[0].filters;
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0].name, "XML Files");
    EXPECT_EQ(filters[1].pattern, "*.pwi");
    EXPECT_EQ(filters[2].name, "All Files");
    // The question came once, before the first attempt.
    EXPECT_EQ(window.shell.messageBoxes.front().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(window.document.GetPathName(), (dir / "good.jorvo").string());

    // Cancelling after a failure ends the command.
    window.shell.fileAnswers = {bad};
    window.shell.answers.push_back(MessageAnswer::No);
    EXPECT_FALSE(window.frame->Commands().ImportXml());
    StudioWindow::Settle();
}

TEST(DocumentCommands, ExportsProposeTheDocumentsNameAndRetryAfterAFailure)
{
    test::TempDir dir;
    StudioWindow window;
    const std::string unwritable = (dir / "missing" / "folder" / "song.mid").string();
    const std::string midi = (dir / "song.mid").string();
    window.shell.fileAnswers = {unwritable, midi};
    EXPECT_TRUE(window.frame->Commands().ExportMidi());
    ASSERT_EQ(window.shell.fileDialogRequests.size(), 2u);
    const FileDialogRequest& first = window.shell.fileDialogRequests[0];
    EXPECT_EQ(first.title, "Export as Midi");
    EXPECT_EQ(first.filters.front().name, "Midi Files");
    EXPECT_EQ(std::filesystem::path(first.initialPath).filename(), "untitled.mid");
    EXPECT_TRUE(std::filesystem::exists(midi));

    const std::string xml = (dir / "song.xml").string();
    window.shell.fileAnswers = {xml};
    EXPECT_TRUE(window.frame->Commands().ExportXml());
    EXPECT_EQ(window.shell.fileDialogRequests.back().title, "Export as XML");
    EXPECT_EQ(std::filesystem::path(window.shell.fileDialogRequests.back().initialPath).filename(), "untitled.xml");
    EXPECT_TRUE(std::filesystem::exists(xml));
}

} // namespace
} // namespace jorvo
