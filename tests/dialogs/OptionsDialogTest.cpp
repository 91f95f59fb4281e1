// The "Options" sheet: both pages open with the stored settings, OK writes what was edited, the
// "..." buttons fill a folder from the folder browser, and a refused folder keeps the sheet on
// the Folders page with the settings unchanged.
#include "app/dialogs/OptionsDialog.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

#include "dialogs/DialogTestSupport.h"
#include "document/Configuration.h"
#include "document/ConfigurationMessages.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest() : savedGeneral(LoadGeneralPage()), savedFolders(LoadFoldersPage())
    {
        for (std::size_t field = 0; field < kFolderFieldCount; ++field)
            fs::create_directories(Folder(field));
        FoldersPageValues folders;
        for (std::size_t field = 0; field < kFolderFieldCount; ++field)
            folders.folders[field] = Folder(field).string();
        EXPECT_EQ(ApplyFoldersPage(folders), std::nullopt);
    }
    // The settings are the process's own: the next test finds them as they were.
    ~OptionsDialogTest() override
    {
        ApplyGeneralPage(savedGeneral);
        for (std::size_t field = 0; field < kFolderFieldCount; ++field)
            fs::create_directories(savedFolders.folders[field]);
        ApplyFoldersPage(savedFolders);
    }

    fs::path Folder(std::size_t field) const { return temp / ("folder" + std::to_string(field)); }

    template <class Control>
    static Control& Find(QWidget& dialog, const QString& name)
    {
        auto* control = dialog.findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return *control;
    }

    static QLineEdit& FolderEdit(QWidget& dialog, std::size_t field)
    {
        return Find<QLineEdit>(dialog, QStringLiteral("folder%1").arg(field));
    }

    GeneralPageValues savedGeneral;
    FoldersPageValues savedFolders;
    test::TempDir temp;
    RecordingShell shell;
    ScopedShell scoped{shell};
};

TEST_F(OptionsDialogTest, OkWritesBothPages)
{
    OptionsDialog dialog(nullptr);
    dialog.show();
    ASSERT_EQ(dialog.Pages()->count(), 2);
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_EQ(dialog.Pages()->tabText(0), "General");
    EXPECT_EQ(dialog.Pages()->tabText(1), "Folders");
    EXPECT_EQ(Find<QComboBox>(dialog, "timing").count(), 4);
    test::SaveScreen(dialog, "options_general");

    Find<QLineEdit>(dialog, "minBpm").setText("40");
    Find<QLineEdit>(dialog, "maxBpm").setText("200");
    Find<QLineEdit>(dialog, "defaultBpm").setText("100");
    Find<QLineEdit>(dialog, "beatsPerBar").setText("3");
    Find<QComboBox>(dialog, "timing").setCurrentIndex(2);
    Find<QLineEdit>(dialog, "popUpDelay").setText("650");
    Find<QCheckBox>(dialog, "flashLED").setChecked(true);
    for (std::size_t field = 0; field < kFolderFieldCount; ++field)
        FolderEdit(dialog, field).setText(QString::fromStdString(Folder(field).string() + "/"));
    dialog.Pages()->setCurrentIndex(1);
    test::SaveScreen(dialog, "options_folders");
    EXPECT_TRUE(test::Click(dialog, "&OK"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(shell.messages.empty());

    const GeneralPageValues general = LoadGeneralPage();
    EXPECT_EQ(general.minBpm, 40u);
    EXPECT_EQ(general.maxBpm, 200u);
    EXPECT_EQ(general.defaultBpm, 100u);
    EXPECT_EQ(general.beatsPerBar, 3u);
    EXPECT_EQ(general.timingEntry, 2);
    EXPECT_EQ(general.popUpMenuDelay, 650u);
    EXPECT_TRUE(general.flashLED);
    const FoldersPageValues folders = LoadFoldersPage();
    for (std::size_t field = 0; field < kFolderFieldCount; ++field)
        EXPECT_EQ(folders.folders[field], Folder(field).string()); // without the trailing separator

    // Reopened, the sheet shows what was stored.
    OptionsDialog again(nullptr);
    EXPECT_EQ(Find<QLineEdit>(again, "minBpm").text(), "40");
    EXPECT_TRUE(Find<QCheckBox>(again, "flashLED").isChecked());
    EXPECT_EQ(FolderEdit(again, 4).text().toStdString(), Folder(4).string());
}

TEST_F(OptionsDialogTest, BrowseButtonsFillTheirFolderAndARefusedFolderKeepsTheSheetOpen)
{
    const std::string storedSamples = Configuration().GetSampleDir();
    OptionsDialog dialog(nullptr);
    dialog.show();
    shell.folderAnswers = {Folder(3).string(), std::nullopt};
    Find<QToolButton>(dialog, "browse2").click();
    EXPECT_EQ(FolderEdit(dialog, 2).text().toStdString(), Folder(3).string());
    ASSERT_EQ(shell.folderRequests.size(), 1u);
    EXPECT_EQ(shell.folderRequests[0].title, "Browse for Directory");
    EXPECT_EQ(shell.folderRequests[0].initialText, storedSamples);
    Find<QToolButton>(dialog, "browse2").click(); // Cancel leaves the field alone
    EXPECT_EQ(FolderEdit(dialog, 2).text().toStdString(), Folder(3).string());

    FolderEdit(dialog, 1).setText("   ");
    EXPECT_TRUE(test::Click(dialog, "&OK"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Pages()->currentIndex(), 1);
    EXPECT_EQ(shell.LastMessage(), kEmptyDirectoryNotAllowed);
    EXPECT_EQ(Configuration().GetSampleDir(), storedSamples); // nothing stored

    // A folder that does not exist is created when the user agrees.
    FolderEdit(dialog, 1).setText(QString::fromStdString((temp / "New Plugins").string()));
    shell.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(test::Click(dialog, "&OK"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(fs::is_directory(temp / "New Plugins"));
    EXPECT_EQ(Configuration().GetPluginsDir(), (temp / "New Plugins").string());
    EXPECT_EQ(Configuration().GetSampleDir(), Folder(3).string());
}

} // namespace
} // namespace jorvo
