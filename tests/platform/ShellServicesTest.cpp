#include <gtest/gtest.h>

#include "platform/HeadlessShell.h"
#include "platform/RecordingShell.h"

namespace jorvo {
namespace {

TEST(ShellServicesTest, TheHeadlessShellIsInstalledUntilAnotherIsAndComesBackAfter)
{
    EXPECT_NE(dynamic_cast<HeadlessShell*>(&Shell()), nullptr);
    {
        RecordingShell shell;
        ScopedShell installed(shell);
        EXPECT_EQ(&Shell(), &shell);
    }
    EXPECT_NE(dynamic_cast<HeadlessShell*>(&Shell()), nullptr);
}

TEST(HeadlessShellTest, MessagesGoToStandardErrorAndQuestionsLoseNothing)
{
    HeadlessShell shell;
    ::testing::internal::CaptureStderr();
    const MessageAnswer reset = shell.MessageBox("Reset it?", "Jorvo", MessageButtons::YesNo, MessageIcon::Question,
                                                 std::nullopt);
    const MessageAnswer carryOn = shell.MessageBox("Continue?", "Render", MessageButtons::YesNo, MessageIcon::Question,
                                                   MessageAnswer::Yes);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Jorvo: Reset it?\nRender: Continue?\n");
    EXPECT_EQ(reset, MessageAnswer::No);
    EXPECT_EQ(carryOn, MessageAnswer::Yes);
}

TEST(HeadlessShellTest, DialogsCancelAndNoViewIsCreated)
{
    HeadlessShell shell;
    EXPECT_FALSE(shell.PromptName("Rename Pattern", "Pattern"));
    EXPECT_EQ(shell.CreateView({"InstrumentView", nullptr, "", "Synth"}), kNoView);
    EXPECT_FALSE(shell.SetViewTitle(1, "x"));
    EXPECT_FALSE(shell.SendToTargetView(&shell, 0xC000, 0, 0));
    EXPECT_FALSE(shell.AudioOutputOptions({}));
    EXPECT_FALSE(shell.SelectFromList({"Select Instrument", {"Sampler"}, 0, "Sampler"}));
    EXPECT_FALSE(shell.EditPresets({}));
    EXPECT_FALSE(shell.PickPattern({}));
    EXPECT_FALSE(shell.SelectPresetBank({"Select Preset Bank", {"Default"}, 0}));
    EXPECT_FALSE(shell.ShowFileBrowser({}));
    EXPECT_FALSE(shell.BrowseForFolder("Browse for Directory", "/"));
    EXPECT_FALSE(shell.ChooseFile({FileDialogMode::Save, "Render as Audio", {{"Wav Files", "*.wav"}}, ""}));
}

TEST(RecordingShellTest, MessageBoxesAreRecordedWithCaptionButtonsAndIcon)
{
    RecordingShell shell;
    shell.answers.push_back(MessageAnswer::Yes);
    EXPECT_EQ(shell.MessageBox("Delete?", "Bank", MessageButtons::YesNo, MessageIcon::Question, std::nullopt),
              MessageAnswer::Yes);
    EXPECT_EQ(shell.MessageBox("Again?", "Bank", MessageButtons::YesNo, MessageIcon::Question, std::nullopt),
              MessageAnswer::No);
    EXPECT_EQ(shell.messages, (std::vector<std::string>{"Delete?", "Again?"}));
    ASSERT_EQ(shell.messageBoxes.size(), 2u);
    EXPECT_EQ(shell.messageBoxes[0].caption, "Bank");
    EXPECT_EQ(shell.messageBoxes[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(shell.messageBoxes[0].icon, MessageIcon::Question);
    EXPECT_EQ(shell.LastMessage(), "Again?");
}

TEST(RecordingShellTest, NamePromptsAnswerFromTheScriptThenCancel)
{
    RecordingShell shell;
    shell.nameAnswers = {std::string("Drums 2"), std::nullopt};
    EXPECT_EQ(shell.PromptName("Rename Pattern", "Drums"), "Drums 2");
    EXPECT_FALSE(shell.PromptName("Insert Bank", ""));
    EXPECT_FALSE(shell.PromptName("Rename Bank", "Old"));
    ASSERT_EQ(shell.prompts.size(), 3u);
    EXPECT_EQ(shell.prompts[0].title, "Rename Pattern");
    EXPECT_EQ(shell.prompts[0].initialText, "Drums");
    EXPECT_EQ(shell.prompts[2].initialText, "Old");
}

TEST(RecordingShellTest, WaitCursorsNest)
{
    RecordingShell shell;
    ScopedShell installed(shell);
    {
        WaitCursor outer;
        {
            WaitCursor inner;
            EXPECT_EQ(shell.waitCursorDepth, 2);
        }
        EXPECT_EQ(shell.waitCursorDepth, 1);
    }
    EXPECT_EQ(shell.waitCursorDepth, 0);
    EXPECT_EQ(shell.waitCursorsBegun, 2);
}

TEST(RecordingShellTest, ViewsAreCreatedRetitledRefreshedAndRemoved)
{
    RecordingShell shell;
    int instrument = 0;
    int effect = 0;
    const ViewId synth = shell.CreateView({"InstrumentView", &instrument, "", "Synth"});
    const ViewId mixer = shell.CreateView({"MixerView", nullptr, "", "Mixer"});
    EXPECT_EQ(synth, 1u);
    EXPECT_EQ(mixer, 2u);

    EXPECT_TRUE(shell.SetViewTitle(synth, "Lead"));
    shell.RefreshView(synth);
    EXPECT_EQ(shell.FindView(synth)->title, "Lead");
    EXPECT_EQ(shell.FindView(synth)->refreshes, 1);
    EXPECT_EQ(shell.FindView(synth)->request.keyword, "InstrumentView");

    EXPECT_TRUE(shell.SendToTargetView(&instrument, 0xC001, 3, 0));
    EXPECT_FALSE(shell.SendToTargetView(&effect, 0xC001, 3, 0));
    shell.RemoveView(synth);
    EXPECT_TRUE(shell.FindView(synth)->removed);
    EXPECT_FALSE(shell.SetViewTitle(synth, "Gone"));
    EXPECT_FALSE(shell.SendToTargetView(&instrument, 0xC001, 4, 0));
    EXPECT_EQ(shell.FindView(99), nullptr);

    ASSERT_EQ(shell.sentToTargets.size(), 3u);
    EXPECT_EQ(shell.sentToTargets[0].target, &instrument);
    EXPECT_EQ(shell.sentToTargets[0].message, 0xC001u);
    EXPECT_EQ(shell.sentToTargets[2].wParam, 4u);
}

TEST(RecordingShellTest, BroadcastsAreRecordedInOrder)
{
    RecordingShell shell;
    shell.BroadcastMessage(0xC000, 7, -1);
    shell.BroadcastMessage(0xC002, 8, 0);
    ASSERT_EQ(shell.broadcasts.size(), 2u);
    EXPECT_EQ(shell.broadcasts[0].message, 0xC000u);
    EXPECT_EQ(shell.broadcasts[0].wParam, 7u);
    EXPECT_EQ(shell.broadcasts[0].lParam, -1);
    EXPECT_EQ(shell.broadcasts[1].message, 0xC002u);
}

TEST(RecordingShellTest, ARefusedAudioOutputChoiceKeepsTheDialogOpen)
{
    RecordingShell shell;
    shell.audioOutputAnswers = {AudioOutputChoice{100, 1024, 0}, AudioOutputChoice{8, 2048, 1}};
    int offered = 0;
    AudioOutputOptionsRequest request;
    request.current = {16, 1024, 0};
    request.acceptOk = [&offered](AudioOutputChoice& entered) {
        ++offered;
        return entered.blockCount >= 3 && entered.blockCount <= 32;
    };
    const std::optional<AudioOutputChoice> chosen = shell.AudioOutputOptions(request);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->blockCount, 8u);
    EXPECT_EQ(chosen->blockSize, 2048u);
    EXPECT_EQ(chosen->device, 1u);
    EXPECT_EQ(offered, 2);
    EXPECT_EQ(shell.audioOutputRequests.size(), 1u);

    shell.audioOutputAnswers = {AudioOutputChoice{100, 1024, 0}};
    EXPECT_FALSE(shell.AudioOutputOptions(request)); // refused, then nobody answers: Cancel
}

TEST(RecordingShellTest, DialogsRecordTheirRequestsAndAnswerFromScripts)
{
    RecordingShell shell;
    shell.selectAnswers = {SelectResult{1, "Bass"}};
    const auto selected = shell.SelectFromList({"Select Instrument", {"MonoSynth", "Sampler"}, 0, "MonoSynth"});
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->choice, 1u);
    EXPECT_EQ(selected->name, "Bass");
    EXPECT_EQ(shell.selectRequests.at(0).title, "Select Instrument");

    shell.presetBankAnswers = {std::size_t{2}};
    EXPECT_EQ(shell.SelectPresetBank({"Select Preset Bank", {"Default", "Pads", "Leads"}, 0}), 2u);
    EXPECT_FALSE(shell.SelectPresetBank({"Select Preset Bank", {"Default"}, 0}));

    PresetDialogMode seenMode = PresetDialogMode::Load;
    shell.presetScripts.push_back([&seenMode](const PresetDialogRequest& request) {
        seenMode = request.mode;
        return true;
    });
    EXPECT_TRUE(shell.EditPresets({nullptr, PresetDialogMode::Save, "Preset"}));
    EXPECT_EQ(seenMode, PresetDialogMode::Save);
    EXPECT_FALSE(shell.EditPresets({nullptr, PresetDialogMode::Load, "Preset"}));

    shell.pickPatternScripts.push_back([](const PickPatternRequest&) { return PatternPick{nullptr, true}; });
    const auto pick = shell.PickPattern({nullptr, "Select Pattern Factory Template"});
    ASSERT_TRUE(pick);
    EXPECT_TRUE(pick->asAlias);
    EXPECT_EQ(shell.pickPatternRequests.at(0).title, "Select Pattern Factory Template");

    int store = 0;
    int label = 0;
    EXPECT_TRUE(shell.ShowFileBrowser({&store, &label, "/samples/kick.wav", "*.*", "Select File"}));
    shell.CloseFileBrowser(&store);
    EXPECT_EQ(shell.fileBrowserRequests.at(0).requester, &label);
    EXPECT_EQ(shell.closedFileBrowsers, (std::vector<const void*>{&store}));

    shell.folderAnswers = {std::string("/data/Samples")};
    EXPECT_EQ(shell.BrowseForFolder("Browse for Directory", "/data"), "/data/Samples");
    EXPECT_EQ(shell.folderRequests.at(0).initialText, "/data");

    shell.fileAnswers = {std::string("/tmp/song.wav")};
    EXPECT_EQ(shell.ChooseFile({FileDialogMode::Save, "Render as Audio", {{"Wav Files", "*.wav"}}, "song"}),
              "/tmp/song.wav");
    EXPECT_EQ(shell.fileDialogRequests.at(0).filters.at(0).pattern, "*.wav");
}

} // namespace
} // namespace jorvo
