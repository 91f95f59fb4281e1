// The preset dialog over a real preset file: saving a new preset, a taken name keeping the dialog
// open, loading the preset chosen in another bank, and the bank and preset menus.
#include "app/dialogs/PresetDialog.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabBar>

#include "dialogs/DialogTestSupport.h"
#include "document/Configuration.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/PresetFile.h"
#include "platform/RecordingShell.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;
using test::Items;
using test::Trigger;

std::string Preset(const std::string& name, int octave)
{
    return "<Instrument Name=\"" + name + "\" Engine=\"mSyn\" SampleRate=\"44100\" Channels=\"1\">"
           "<Parameter Name=\"Octave\" Value=\"" + std::to_string(octave) + "\"/></Instrument>";
}

class PresetDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Configuration().SetSkinsDir(skins.path().string())); }

    void WriteFile(const std::string& text)
    {
        fs::create_directories(file.parent_path());
        test::WriteFileBytes(file, text);
    }

    // Opens the preset dialog of the synth in `mode` and lets `play` be the user; true when the
    // dialog was closed with OK (and the file then written as needed).
    bool Edit(PresetDialogMode mode, std::function<void(PresetDialog&)> play)
    {
        shell.presetScripts.push_back([play](const PresetDialogRequest& request) {
            PresetDialog dialog(request, nullptr);
            dialog.show();
            play(dialog);
            return dialog.result() == QDialog::Accepted;
        });
        return EditPresets(synth, mode);
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    test::TempDir skins;
    InstrumentMonoSynth synth;
    fs::path file = skins / "mSyn" / "mSyn.presets";
};

TEST_F(PresetDialogTest, SavingANewPresetWritesItAndATakenNameKeepsTheDialogOpen)
{
    synth.SetStoredValue(InstrumentMonoSynth::kOctave, 4);
    EXPECT_TRUE(Edit(PresetDialogMode::Save, [](PresetDialog& dialog) {
        auto* tabs = dialog.findChild<QTabBar*>("tabs");
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), "Default");
        dialog.findChild<QLineEdit*>("nameEdit")->setText("Deep");
        test::SaveScreen(dialog, "preset_save_empty");
        EXPECT_TRUE(test::Click(dialog, "&OK"));
    }));
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(file.c_str()));
    EXPECT_STREQ(document.child("PresetFile").child("PresetList").child("Instrument").attribute("Name").value(), "Deep");

    EXPECT_TRUE(Edit(PresetDialogMode::Save, [&](PresetDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>("list");
        auto* name = dialog.findChild<QLineEdit*>("nameEdit");
        EXPECT_EQ(Items(*list), QStringList{"Deep"});
        list->setCurrentRow(0); // the name follows the list
        EXPECT_EQ(name->text(), "Deep");
        EXPECT_TRUE(test::Click(dialog, "&OK"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(shell.LastMessage(), "Bank 'Default' already contains a preset named 'Deep'.");
        name->setText("Deeper");
        EXPECT_TRUE(test::Click(dialog, "&OK"));
        EXPECT_FALSE(dialog.isVisible());
    }));
    ASSERT_TRUE(document.load_file(file.c_str()));
    EXPECT_EQ(std::distance(document.child("PresetFile").child("PresetList").children("Instrument").begin(),
                            document.child("PresetFile").child("PresetList").children("Instrument").end()),
              2);
}

TEST_F(PresetDialogTest, LoadingTakesThePresetChosenInItsBankAndCancelLoadsNothing)
{
    const std::string text = "<PresetFile><PresetList>" + Preset("Bass", 1) + "</PresetList><PresetList Name=\"Leads\">" +
                             Preset("Solo", 5) + Preset("Saw", 3) + "</PresetList></PresetFile>\n";
    WriteFile(text);
    EXPECT_FALSE(Edit(PresetDialogMode::Load, [](PresetDialog& dialog) {
        dialog.findChild<QListWidget*>("list")->setCurrentRow(0);
        EXPECT_TRUE(test::Click(dialog, "Cancel"));
    }));
    EXPECT_NE(synth.FindParameter(InstrumentMonoSynth::kOctave)->LiveValue(), 1);

    EXPECT_TRUE(Edit(PresetDialogMode::Load, [](PresetDialog& dialog) {
        auto* tabs = dialog.findChild<QTabBar*>("tabs");
        auto* list = dialog.findChild<QListWidget*>("list");
        EXPECT_EQ(Items(*list), QStringList{"Bass"});
        tabs->setCurrentIndex(1);
        EXPECT_EQ(Items(*list), (QStringList{"Solo", "Saw"}));
        EXPECT_TRUE(test::Click(dialog, "&OK")); // nothing chosen: nothing loaded, still open
        EXPECT_TRUE(dialog.isVisible());
        list->setCurrentRow(0);
        test::SaveScreen(dialog, "preset_load");
        test::DoubleClick(*list->viewport(), list->visualItemRect(list->item(0)).center());
    }));
    EXPECT_EQ(synth.FindParameter(InstrumentMonoSynth::kOctave)->LiveValue(), 5);
    // The name field, which followed the choice, is offered as the synth's new name.
    EXPECT_NE(shell.LastMessage().find("Solo"), std::string::npos) << shell.LastMessage();
    EXPECT_EQ(test::ReadFileBytes(file), text); // loading rewrites nothing
}

TEST_F(PresetDialogTest, BankAndPresetMenusWorkOnTheTabAndPresetShown)
{
    WriteFile("<PresetFile><PresetList>" + Preset("Bass", 1) + Preset("Pad", 2) + "</PresetList></PresetFile>\n");
    shell.nameAnswers = {std::string("Pads"), std::string("Warm Pad")};
    shell.presetBankAnswers = {1};
    EXPECT_TRUE(Edit(PresetDialogMode::Save, [](PresetDialog& dialog) {
        auto* tabs = dialog.findChild<QTabBar*>("tabs");
        auto* list = dialog.findChild<QListWidget*>("list");
        EXPECT_TRUE(Trigger(*dialog.BankMenu(), "Insert Bank..."));
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(1), "Pads");
        EXPECT_EQ(tabs->currentIndex(), 1); // the new bank is shown

        tabs->setCurrentIndex(0);
        list->setCurrentRow(1);
        EXPECT_TRUE(Trigger(*dialog.PresetMenu(), "Rename Preset..."));
        EXPECT_EQ(Items(*list), (QStringList{"Bass", "Warm Pad"}));
        list->setCurrentRow(1);
        EXPECT_TRUE(Trigger(*dialog.PresetMenu(), "Move to Bank..."));
        EXPECT_EQ(Items(*list), QStringList{"Bass"});
        tabs->setCurrentIndex(1);
        EXPECT_EQ(Items(*list), QStringList{"Warm Pad"});
        test::SaveScreen(dialog, "preset_banks");

        list->setCurrentRow(-1);
        EXPECT_TRUE(Trigger(*dialog.PresetMenu(), "Remove Preset")); // nothing chosen: nothing removed
        EXPECT_EQ(Items(*list), QStringList{"Warm Pad"});
        dialog.findChild<QLineEdit*>("nameEdit")->setText("Lush");
        EXPECT_TRUE(test::Click(dialog, "&OK"));
    }));
    EXPECT_EQ(shell.prompts.at(0).title, "Insert Bank");
    EXPECT_EQ(shell.prompts.at(1).title, "Rename Preset");
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(file.c_str()));
    const pugi::xml_node pads = document.child("PresetFile").find_child_by_attribute("PresetList", "Name", "Pads");
    ASSERT_TRUE(pads);
    EXPECT_TRUE(pads.find_child_by_attribute("Instrument", "Name", "Warm Pad"));
    EXPECT_TRUE(pads.find_child_by_attribute("Instrument", "Name", "Lush"));
}

} // namespace
} // namespace jorvo
