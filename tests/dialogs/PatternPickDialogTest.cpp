// The pattern selection dialog over real pattern banks: picking a song pattern, picking a bank's
// pattern as an alias (which puts a copy into the song), the menus acting on the tab shown, and a
// pick without a chosen pattern.
#include "app/dialogs/PatternPickDialog.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <QListWidget>
#include <QMenu>
#include <QTabBar>

#include "dialogs/DialogTestSupport.h"
#include "document/Configuration.h"
#include "platform/RecordingShell.h"
#include "sequencer/PatternBankList.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/Sequencer.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;
using test::Items;
using test::Trigger;

constexpr char kDrumsBank[] = "<?xml version=\"1.0\"?>\n<PatternBankFile><PatternList>"
                              "<Pattern Name=\"Kick\" Offset=\"001:01:001\" Length=\"001:00:000\" Colour=\"#102030\"/>"
                              "<Pattern Name=\"Snare\" Offset=\"001:01:001\" Length=\"001:00:000\" Colour=\"#302010\"/>"
                              "</PatternList></PatternBankFile>\n";

class PatternPickDialogTest : public ::testing::Test {
protected:
    PatternPickDialogTest()
    {
        Configuration().SetPatternBankDir((temp / "Banks").string());
        Configuration().SetPluginsDir((temp / "Plugins").string());
        fs::create_directories(temp / "Banks");
        test::WriteFileBytes(temp / "Banks" / "Drums.PatternBank", kDrumsBank);
        riff = sequencer.CreatePattern("Riff");
    }

    // Runs the bank list's selection dialog with `play` as the user.
    std::optional<PatternPick> Pick(std::function<void(PatternPickDialog&)> play)
    {
        shell.pickPatternScripts.push_back([play](const PickPatternRequest& request) {
            PatternPickDialog dialog(request, nullptr);
            dialog.show();
            play(dialog);
            return dialog.result() == QDialog::Accepted ? dialog.Pick() : std::nullopt;
        });
        return banks.PickPattern();
    }

    test::TempDir temp;
    RecordingShell shell;
    ScopedShell scopedShell{shell};
    Sequencer sequencer{nullptr};
    SeqEventPattern* riff = nullptr;
    PatternBankList banks{sequencer};
};

TEST_F(PatternPickDialogTest, PicksASongPatternOrABankPatternAsAnAliasOfTheSongsCopy)
{
    ASSERT_NE(riff, nullptr);
    std::optional<PatternPick> pick = Pick([](PatternPickDialog& dialog) {
        auto* tabs = dialog.findChild<QTabBar*>("tabs");
        auto* list = dialog.findChild<QListWidget*>("list");
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), "Current");
        EXPECT_EQ(tabs->tabText(1), "Drums");
        EXPECT_EQ(Items(*list), QStringList{"Riff"});
        test::DoubleClick(*list->viewport(), list->visualItemRect(list->item(0)).center());
    });
    ASSERT_TRUE(pick);
    EXPECT_EQ(pick->pattern, riff);
    EXPECT_FALSE(pick->asAlias);

    pick = Pick([](PatternPickDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("list");
        dialog.findChild<QTabBar*>("tabs")->setCurrentIndex(1);
        EXPECT_EQ(Items(*list), (QStringList{"Kick", "Snare"}));
        list->setCurrentRow(1);
        test::SaveScreen(dialog, "select_pattern");
        EXPECT_TRUE(Trigger(*dialog.PatternMenu(), "Select as Alias"));
    });
    ASSERT_TRUE(pick);
    EXPECT_TRUE(pick->asAlias);
    EXPECT_EQ(pick->pattern, sequencer.FindPattern("Snare")); // the song's own copy
    EXPECT_NE(pick->pattern, banks.GetBank(1)->FindPattern("Snare"));
}

TEST_F(PatternPickDialogTest, MenusActOnTheBankShownAndAPickNeedsAPattern)
{
    shell.presetBankAnswers = {1};
    shell.nameAnswers = {std::string("Loops")};
    const std::optional<PatternPick> pick = Pick([this](PatternPickDialog& dialog) {
        auto* tabs = dialog.findChild<QTabBar*>("tabs");
        auto* list = dialog.findChild<QListWidget*>("list");
        EXPECT_TRUE(test::Click(dialog, "&OK"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(shell.LastMessage(), "No Pattern Selected.");

        list->setCurrentRow(0);
        EXPECT_TRUE(Trigger(*dialog.PatternMenu(), "Copy to Bank..."));
        tabs->setCurrentIndex(1);
        EXPECT_EQ(Items(*list), (QStringList{"Kick", "Snare", "Riff"}));

        EXPECT_TRUE(Trigger(*dialog.BankMenu(), "Insert Bank..."));
        ASSERT_EQ(tabs->count(), 3);
        EXPECT_EQ(tabs->tabText(2), "Loops");
        EXPECT_EQ(tabs->currentIndex(), 2);
        EXPECT_TRUE(Items(*list).isEmpty());
        EXPECT_TRUE(test::Click(dialog, "Cancel"));
    });
    EXPECT_FALSE(pick);
    EXPECT_TRUE(fs::exists(temp / "Banks" / "Loops.PatternBank"));
    EXPECT_NE(sequencer.FindPattern("Riff"), nullptr); // a copy leaves the song as it was
}

} // namespace
} // namespace jorvo
