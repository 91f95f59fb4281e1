#include "sequencer/PatternBank.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "document/Configuration.h"
#include "platform/RecordingShell.h"
#include "platform/TextFormat.h"
#include "sequencer/PatternBankList.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerMessages.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;
using namespace SequencerMessages;

// A bank file holding one pattern "Kick" (one bar, colour #102030) and content of its own.
constexpr char kKickBank[] = "<?xml version=\"1.0\"?>\n<PatternBankFile>\n  <Owner Name=\"Ann\"/>\n"
                             "  <PatternList>\n    <Pattern Name=\"Kick\" Offset=\"001:01:001\" "
                             "Length=\"001:00:000\" Colour=\"#102030\"/>\n  </PatternList>\n</PatternBankFile>\n";

class PatternBankTest : public ::testing::Test {
protected:
    PatternBankTest()
    {
        Configuration().SetPatternBankDir(BankDir());
        Configuration().SetPluginsDir((temp / "Plugins").string());
    }

    std::string BankDir() const { return (temp / "Banks").string(); }
    std::string BankPath(const std::string& name) const { return BankDir() + "/" + name + ".PatternBank"; }

    // Writes `bytes` as bank `name` in the bank folder and returns its path.
    std::string WriteBank(const std::string& name, const std::string& bytes) const
    {
        fs::create_directories(BankDir());
        test::WriteFileBytes(BankPath(name), bytes);
        return BankPath(name);
    }

    static std::unique_ptr<SeqEventPattern> MakePattern(const std::string& name)
    {
        auto pattern = std::make_unique<SeqEventPattern>();
        pattern->SetName(name);
        return pattern;
    }

    static std::vector<std::string> Names(PatternBank& bank)
    {
        std::vector<SeqEventPattern*> patterns;
        bank.FillList(patterns);
        std::vector<std::string> names;
        for (const SeqEventPattern* pattern : patterns)
            names.push_back(pattern->GetName());
        return names;
    }

    test::TempDir temp;
    RecordingShell shell;
    ScopedShell scopedShell{shell};
    Sequencer sequencer{nullptr};
};

TEST_F(PatternBankTest, BankFileRoundTripReplacesOnlyThePatternList)
{
    const std::string path = WriteBank("Drums", kKickBank);
    {
        PatternBank bank;
        ASSERT_TRUE(bank.AttachFile(path));
        EXPECT_EQ(bank.GetName(), "Drums");
        SeqEventPattern* kick = bank.FindPattern("Kick");
        ASSERT_NE(kick, nullptr);
        EXPECT_EQ(kick->GetLength(), 1920u); // one bar of 4 × 480
        EXPECT_EQ(kick->GetColour(), Colour::FromRgb(0x10, 0x20, 0x30));

        std::unique_ptr<SeqEventPattern> snare = MakePattern("Snare");
        std::unique_ptr<SeqEvent> note = std::make_unique<SeqEventNote>();
        note->SetStart(480);
        ASSERT_TRUE(snare->InsertEvent(note));
        ASSERT_TRUE(bank.AddPattern(snare));
    } // destruction saves

    const std::string text = test::ReadFileBytes(path);
    EXPECT_NE(text.find("<Owner Name=\"Ann\""), std::string::npos);
    EXPECT_EQ(text.find("<PatternList"), text.rfind("<PatternList"));
    PatternBank reread;
    ASSERT_TRUE(reread.AttachFile(path));
    EXPECT_EQ(Names(reread), (std::vector<std::string>{"Kick", "Snare"}));
    ASSERT_EQ(reread.FindPattern("Snare")->Events().size(), 1u);
    EXPECT_EQ(reread.FindPattern("Snare")->Events().front()->GetStart(), 480u);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(PatternBankTest, BrowsedBankIsNotRewrittenAndEmptiedBankDropsItsList)
{
    const std::string path = WriteBank("Drums", kKickBank);
    {
        PatternBank bank;
        ASSERT_TRUE(bank.AttachFile(path));
        EXPECT_EQ(Names(bank), std::vector<std::string>{"Kick"});
        EXPECT_FALSE(bank.IsModified());
    }
    EXPECT_EQ(test::ReadFileBytes(path), kKickBank);
    {
        PatternBank bank;
        ASSERT_TRUE(bank.AttachFile(path));
        EXPECT_NE(bank.RemovePattern(bank.FindPattern("Kick")), nullptr);
    }
    const std::string text = test::ReadFileBytes(path);
    EXPECT_EQ(text.find("PatternList"), std::string::npos);
    EXPECT_NE(text.find("<Owner Name=\"Ann\""), std::string::npos);
}

TEST_F(PatternBankTest, DamagedBankFileIsReportedAndNeverRewritten)
{
    const std::string garbage = "<PatternBankFile><PatternList><Pattern Name=";
    const std::string path = WriteBank("Broken", garbage);
    {
        PatternBank bank;
        ASSERT_TRUE(bank.AttachFile(path));
        EXPECT_TRUE(Names(bank).empty());
        EXPECT_EQ(shell.messages, std::vector<std::string>{"Error reading file: " + path + "."});
        std::unique_ptr<SeqEventPattern> pattern = MakePattern("Kick");
        EXPECT_FALSE(bank.AddPattern(pattern));
        EXPECT_NE(pattern, nullptr);
        EXPECT_EQ(shell.LastMessage(), FormatText(kBankDamaged, {path}));
        EXPECT_FALSE(bank.SavePatterns());
    }
    EXPECT_EQ(test::ReadFileBytes(path), garbage);
}

TEST_F(PatternBankTest, TakenPatternNamesAreAskedForAgainUntilFreeOrCancelled)
{
    fs::create_directories(BankDir());
    PatternBank bank;
    ASSERT_TRUE(bank.CreateBankFile(BankPath("Drums")));
    std::unique_ptr<SeqEventPattern> first = MakePattern("Kick");
    ASSERT_TRUE(bank.AddPattern(first));
    std::unique_ptr<SeqEventPattern> second = MakePattern("Kick");
    shell.nameAnswers = {"Kick", "Kick2"};
    ASSERT_TRUE(bank.AddPattern(second));
    const std::string taken = FormatText(kPatternNameTaken, {"Kick"});
    EXPECT_EQ(shell.messages, (std::vector<std::string>{taken, taken}));
    ASSERT_EQ(shell.prompts.size(), 2u);
    EXPECT_EQ(shell.prompts[0].title, "Rename Pattern");
    EXPECT_EQ(shell.prompts[0].initialText, "Kick");

    std::unique_ptr<SeqEventPattern> third = MakePattern("Kick2");
    EXPECT_FALSE(bank.AddPattern(third)); // no answer: Cancel
    EXPECT_NE(third, nullptr);

    SeqEventPattern* renamed = bank.FindPattern("Kick2");
    shell.nameAnswers = {"Kick2"};
    EXPECT_FALSE(bank.RenamePattern(renamed)); // the same name
    shell.nameAnswers = {"Kick", "Hat"};
    EXPECT_TRUE(bank.RenamePattern(renamed));
    EXPECT_EQ(Names(bank), (std::vector<std::string>{"Kick", "Hat"}));
}

TEST_F(PatternBankTest, RenameBankKeepsNameAndPathWhenTheFileExists)
{
    WriteBank("Bass", kKickBank);
    const std::string path = WriteBank("Drums", kKickBank);
    PatternBank bank;
    ASSERT_TRUE(bank.AttachFile(path));
    shell.nameAnswers = {"Bass"};
    EXPECT_FALSE(bank.RenameBank());
    EXPECT_EQ(shell.LastMessage(), FormatText(kBankFileExists, {BankPath("Bass")}));
    EXPECT_EQ(bank.GetName(), "Drums");
    EXPECT_EQ(bank.GetPath(), path);
    shell.nameAnswers = {"../Elsewhere"};
    EXPECT_FALSE(bank.RenameBank());
    EXPECT_EQ(bank.GetPath(), path);

    shell.nameAnswers = {"Beats"};
    EXPECT_TRUE(bank.RenameBank());
    EXPECT_EQ(shell.prompts.back().title, "Rename PatternBank");
    EXPECT_EQ(shell.prompts.back().initialText, "Drums");
    EXPECT_EQ(bank.GetName(), "Beats");
    EXPECT_EQ(bank.GetPath(), BankPath("Beats"));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(test::ReadFileBytes(BankPath("Beats")), kKickBank);

    PatternBank current;
    current.ResetAsCurrent(sequencer);
    EXPECT_FALSE(current.RenameBank());
    EXPECT_EQ(shell.LastMessage(), "You cannot rename this PatternBank.");
}

TEST_F(PatternBankTest, MovingOutOfCurrentOffersACopyAndTheSongKeepsItsPattern)
{
    fs::create_directories(BankDir());
    SeqEventPattern* bass = sequencer.CreatePattern("Bass");
    PatternBank current;
    current.ResetAsCurrent(sequencer);
    PatternBank bank;
    ASSERT_TRUE(bank.CreateBankFile(BankPath("Keep")));

    shell.answers = {MessageAnswer::No};
    EXPECT_FALSE(current.MovePattern(bass, bank));
    EXPECT_EQ(shell.messages, std::vector<std::string>{std::string(kMoveFromCurrentQuestion)});
    EXPECT_TRUE(Names(bank).empty());

    shell.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(current.MovePattern(bass, bank));
    EXPECT_EQ(sequencer.FindPattern("Bass"), bass);
    ASSERT_NE(bank.FindPattern("Bass"), nullptr);
    EXPECT_NE(bank.FindPattern("Bass"), bass);
}

TEST_F(PatternBankTest, RefusedMoveLeavesThePatternInItsBankUnchanged)
{
    PatternBank source;
    ASSERT_TRUE(source.AttachFile(WriteBank("Source", kKickBank)));
    PatternBank destination;
    ASSERT_TRUE(destination.AttachFile(WriteBank("Destination", kKickBank)));
    std::unique_ptr<SeqEventPattern> snare = MakePattern("Snare");
    ASSERT_TRUE(source.AddPattern(snare));
    ASSERT_TRUE(source.SavePatterns());

    SeqEventPattern* kick = source.FindPattern("Kick");
    EXPECT_FALSE(source.MovePattern(kick, destination)); // name taken, then Cancel
    EXPECT_EQ(Names(source), (std::vector<std::string>{"Kick", "Snare"}));
    EXPECT_EQ(source.FindPattern("Kick"), kick);
    EXPECT_FALSE(source.IsModified());

    EXPECT_TRUE(source.MovePattern(source.FindPattern("Snare"), destination));
    EXPECT_EQ(Names(source), std::vector<std::string>{"Kick"});
    EXPECT_EQ(Names(destination), (std::vector<std::string>{"Kick", "Snare"}));
}

// The bank list ---------------------------------------------------------------------------------

class PatternBankListTest : public PatternBankTest {
protected:
    std::vector<std::string> Tabs()
    {
        PatternBankList list(sequencer);
        std::vector<std::string> labels;
        list.FillTabs(labels);
        return labels;
    }
};

TEST_F(PatternBankListTest, ScanListsEveryFileOfTheBankFolderAndBankFilesUnderPlugins)
{
    fs::create_directories(BankDir());
    EXPECT_EQ(Tabs(), std::vector<std::string>{"Current"});

    WriteBank("Drums", kKickBank);
    test::WriteFileBytes(temp / "Banks" / "notes.txt", "x");
    fs::create_directories(temp / "Banks" / "Sub");
    test::WriteFileBytes(temp / "Banks" / "Sub" / "Bass.PatternBank", kKickBank);
    fs::create_directories(temp / "Plugins" / "Synth");
    test::WriteFileBytes(temp / "Plugins" / "Synth" / "Leads.PatternBank", kKickBank);
    test::WriteFileBytes(temp / "Plugins" / "readme.txt", "x");
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"Current", "Bass", "Drums", "notes", "Leads"}));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(PatternBankListTest, MissingBankFolderIsCreatedOnlyWhenTheUserAgrees)
{
    const std::string question = FormatText(kCreateFolderQuestion, {BankDir()});
    shell.answers = {MessageAnswer::No};
    EXPECT_EQ(Tabs(), std::vector<std::string>{"Current"});
    EXPECT_EQ(shell.messages, (std::vector<std::string>{question, std::string(kBankFolderInvalid)}));
    EXPECT_FALSE(fs::exists(BankDir()));

    shell.messages.clear();
    shell.answers = {MessageAnswer::Yes};
    EXPECT_EQ(Tabs(), std::vector<std::string>{"Current"});
    EXPECT_EQ(shell.messages, std::vector<std::string>{question});
    EXPECT_TRUE(fs::is_directory(BankDir()));

}

TEST_F(PatternBankListTest, DialogCommandsInsertRemoveCopyAndPick)
{
    WriteBank("Drums", kKickBank);
    PatternBankList list(sequencer);
    ASSERT_EQ(list.GetBankCount(), 2u);
    EXPECT_TRUE(list.IsCurrentBank(0));
    EXPECT_FALSE(list.CopyToBank(nullptr, 1));
    EXPECT_FALSE(list.MoveToBank(nullptr, 1));
    EXPECT_FALSE(list.RemovePatternAt(nullptr, 1));
    EXPECT_FALSE(list.RenamePatternAt(nullptr, 1));
    EXPECT_EQ(shell.messages, std::vector<std::string>(4, std::string(kNoPatternSelected)));

    // A bank name in use is questioned, an existing file refused, then a new name succeeds.
    shell.messages.clear();
    shell.nameAnswers = {"Drums", "Loops"};
    shell.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(list.InsertBank());
    EXPECT_EQ(shell.messages, (std::vector<std::string>{FormatText(kBankNameExistsQuestion, {"Drums"}),
                                                         FormatText(kBankFileExists, {BankPath("Drums")})}));
    EXPECT_EQ(shell.prompts.front().title, "Insert Bank");
    ASSERT_EQ(list.GetBankCount(), 3u);
    EXPECT_EQ(list.GetBank(2)->GetName(), "Loops");
    EXPECT_TRUE(fs::exists(BankPath("Loops")));

    SeqEventPattern* kick = list.GetBank(1)->FindPattern("Kick");
    shell.presetBankAnswers = {1};
    EXPECT_FALSE(list.CopyToBank(kick, 1)); // the source itself: nothing
    shell.presetBankAnswers = {2};
    EXPECT_TRUE(list.CopyToBank(kick, 1));
    EXPECT_EQ(shell.presetBankRequests.back().title, "Select Preset Bank");
    EXPECT_EQ(shell.presetBankRequests.back().banks, (std::vector<std::string>{"Current", "Drums", "Loops"}));
    EXPECT_NE(list.GetBank(2)->FindPattern("Kick"), nullptr);

    // An alias of a bank's pattern is made the song's own; a copy is the bank's pattern itself.
    shell.pickPatternScripts = {[kick](const PickPatternRequest&) { return PatternPick{kick, true}; },
                                [kick](const PickPatternRequest&) { return PatternPick{kick, false}; }};
    std::optional<PatternPick> alias = list.PickPattern();
    ASSERT_TRUE(alias);
    EXPECT_EQ(sequencer.FindPattern("Kick"), alias->pattern);
    EXPECT_EQ(list.PickPattern()->pattern, kick);

    shell.messages.clear();
    EXPECT_FALSE(list.RemoveBank(0));
    shell.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(list.RemoveBank(1));
    EXPECT_EQ(shell.messages, (std::vector<std::string>{std::string(kCannotRemoveBank),
                                                         FormatText(kRemoveBankQuestion, {"Drums"})}));
    EXPECT_FALSE(fs::exists(BankPath("Drums")));
    EXPECT_EQ(list.GetBankCount(), 2u);
}

} // namespace
} // namespace jorvo
