// The modeless file browser: it opens at the start path inside the sample folder, posts the chosen
// file to a live requester (OK or a double tap), keeps its selection on Refresh, is reused per
// owner, and never touches a requester destroyed meanwhile.
#include "app/dialogs/FileBrowserDialog.h"

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include <QTreeWidget>

#include "app/dialogs/QtShell.h"
#include "dialogs/DialogTestSupport.h"
#include "document/Configuration.h"
#include "support/TestSupport.h"
#include "ui/UIElement.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

// An element that keeps every path posted to it.
class PathRecorder : public UIElement {
public:
    explicit PathRecorder(QWidget* parent) : UIElement(parent) {}

    std::vector<std::string> paths;

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override
    {
        if (message != RegisterWindowMessage(UIWindowMessages::kTreeDlgSelPath))
            return UIElement::OnWindowMessage(message, wParam, lParam);
        paths.emplace_back(reinterpret_cast<const char*>(wParam));
        return true;
    }
};

class FileBrowserDialogTest : public ::testing::Test {
protected:
    FileBrowserDialogTest()
    {
        for (const char* file : {"Drums/kick.wav", "Drums/hat.wav", "bass.wav", "notes.txt"}) {
            fs::create_directories((samples / file).parent_path());
            test::WriteFileBytes(samples / file, "RIFF");
        }
        fs::create_directories(samples / "Loops");
        Configuration().SetSampleDir(samples.string());
    }

    FileBrowserDialog& Open(const UIElement& requester, const std::string& start, const std::string& mask = "*.*")
    {
        FileBrowserRequest request;
        request.owner = &owner;
        request.requester = &requester;
        request.startPath = start;
        request.mask = mask;
        EXPECT_TRUE(shell.ShowFileBrowser(request));
        return *shell.FileBrowserOf(&owner);
    }

    static QTreeWidgetItem* ItemFor(QTreeWidget& tree, const std::string& path)
    {
        for (QTreeWidgetItemIterator it(&tree); *it; ++it)
            if ((*it)->data(0, Qt::UserRole).toString().toStdString() == path)
                return *it;
        return nullptr;
    }

    test::TempDir temp;
    fs::path samples = temp / "Samples";
    QWidget view;
    PathRecorder element{&view};
    int owner = 0;
    QtShell shell;
};

TEST_F(FileBrowserDialogTest, OpensAtTheStartPathAndPostsTheChosenFileToTheRequester)
{
    FileBrowserDialog& browser = Open(element, (samples / "Drums" / "kick.wav").string());
    EXPECT_TRUE(browser.isVisible());
    EXPECT_EQ(browser.windowTitle(), "Select File");
    EXPECT_EQ(browser.Root(), samples.string());
    EXPECT_EQ(browser.SelectedPath(), (samples / "Drums" / "kick.wav").string());
    auto* tree = browser.findChild<QTreeWidget*>("tree");
    EXPECT_NE(ItemFor(*tree, (samples / "notes.txt").string()), nullptr); // every file, not only WAV
    EXPECT_NE(ItemFor(*tree, (samples / "Loops").string()), nullptr);
    test::SaveScreen(browser, "select_file");

    EXPECT_TRUE(test::Click(browser, "&OK"));
    EXPECT_FALSE(browser.isVisible());
    EXPECT_TRUE(element.paths.empty()); // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_EQ(element.paths, std::vector<std::string>{(samples / "Drums" / "kick.wav").string()});

    // Reused for the same owner; a double tap on a file chooses it, on a folder only opens it.
    EXPECT_EQ(&Open(element, (samples / "bass.wav").string()), &browser);
    QTreeWidgetItem* loops = ItemFor(*tree, (samples / "Loops").string());
    tree->setCurrentItem(loops);
    EXPECT_TRUE(test::Click(browser, "&OK"));
    EXPECT_TRUE(browser.isVisible());
    QTreeWidgetItem* bass = ItemFor(*tree, (samples / "bass.wav").string());
    ASSERT_NE(bass, nullptr);
    tree->scrollToItem(bass);
    test::DoubleClick(*tree->viewport(), tree->visualItemRect(bass).center());
    QCoreApplication::processEvents();
    EXPECT_FALSE(browser.isVisible());
    ASSERT_EQ(element.paths.size(), 2u);
    EXPECT_EQ(element.paths.back(), (samples / "bass.wav").string());
}

TEST_F(FileBrowserDialogTest, RefreshReadsTheFolderAgainKeepingTheSelection)
{
    FileBrowserDialog& browser = Open(element, (samples / "Drums" / "hat.wav").string(), "*.wav");
    auto* tree = browser.findChild<QTreeWidget*>("tree");
    EXPECT_EQ(ItemFor(*tree, (samples / "notes.txt").string()), nullptr);
    EXPECT_EQ(ItemFor(*tree, (samples / "Drums" / "snare.wav").string()), nullptr);
    test::WriteFileBytes(samples / "Drums" / "snare.wav", "RIFF");
    EXPECT_TRUE(test::Click(browser, "&Refresh"));
    EXPECT_NE(ItemFor(*tree, (samples / "Drums" / "snare.wav").string()), nullptr);
    EXPECT_EQ(browser.SelectedPath(), (samples / "Drums" / "hat.wav").string());

    // A selection that has gone falls back to the top folder.
    fs::remove(samples / "Drums" / "hat.wav");
    browser.Rebuild();
    EXPECT_EQ(browser.SelectedPath(), samples.string());
    EXPECT_TRUE(test::Click(browser, "Cancel"));
    EXPECT_FALSE(browser.isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(element.paths.empty());
}

TEST_F(FileBrowserDialogTest, AStartPathOutsideTheSampleFolderOpensItsOwnFolder)
{
    fs::create_directories(temp / "Elsewhere");
    test::WriteFileBytes(temp / "Elsewhere" / "take.wav", "RIFF");
    FileBrowserDialog& browser = Open(element, (temp / "Elsewhere" / "take.wav").string());
    EXPECT_EQ(browser.Root(), (temp / "Elsewhere").string());
    EXPECT_EQ(browser.SelectedPath(), (temp / "Elsewhere" / "take.wav").string());

    // A path relative to the sample folder, as zones keep them.
    Open(element, "Drums/kick.wav");
    EXPECT_EQ(browser.Root(), samples.string());
    EXPECT_EQ(browser.SelectedPath(), (samples / "Drums" / "kick.wav").string());
}

TEST_F(FileBrowserDialogTest, ARequesterDestroyedMeanwhileGetsNothingAndClosingForgetsTheBrowser)
{
    PathRecorder witness(&view);
    auto doomed = std::make_unique<PathRecorder>(&view);
    FileBrowserDialog& browser = Open(*doomed, (samples / "bass.wav").string());
    doomed.reset();
    EXPECT_TRUE(test::Click(browser, "&OK")); // nobody to tell
    EXPECT_FALSE(browser.isVisible());

    // Destroyed after the choice was posted but before it arrived.
    doomed = std::make_unique<PathRecorder>(&view);
    Open(*doomed, (samples / "bass.wav").string());
    EXPECT_TRUE(test::Click(browser, "&OK"));
    doomed.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(witness.paths.empty());

    shell.CloseFileBrowser(&owner);
    EXPECT_EQ(shell.FileBrowserOf(&owner), nullptr);
    shell.CloseFileBrowser(&owner); // none open: nothing
    FileBrowserRequest noRequester;
    noRequester.owner = &owner;
    EXPECT_FALSE(shell.ShowFileBrowser(noRequester));
}

TEST_F(FileBrowserDialogTest, ABrowserGoneWithItsParentWindowIsMadeAgain)
{
    auto window = std::make_unique<QWidget>();
    shell.SetDialogParent(window.get());
    FileBrowserDialog* first = &Open(element, (samples / "bass.wav").string());
    EXPECT_EQ(first->parentWidget(), window.get());
    window.reset(); // takes the browser with it
    EXPECT_EQ(shell.FileBrowserOf(&owner), nullptr);

    FileBrowserDialog& again = Open(element, (samples / "bass.wav").string());
    EXPECT_TRUE(again.isVisible());
    EXPECT_TRUE(test::Click(again, "&OK"));
    QCoreApplication::processEvents();
    EXPECT_EQ(element.paths, std::vector<std::string>{(samples / "bass.wav").string()});
}

} // namespace
} // namespace jorvo
