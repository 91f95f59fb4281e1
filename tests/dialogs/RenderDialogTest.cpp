// Rendering from the studio window: a short song becomes a complete WAV file named after the
// document, every question reaching the user on the window's thread; Cancel in the progress
// dialog drops the unfinished file and puts the song back where it was.
#include "app/dialogs/RenderDialog.h"

#include <filesystem>

#include <gtest/gtest.h>

#include <QProgressBar>

#include "app/JorvoDoc.h"
#include "dialogs/DialogTestSupport.h"
#include "engine/Instrument.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "support/TestSupport.h"

namespace jorvo {
namespace {

constexpr std::uint32_t kBar = 4 * 480;
constexpr std::uint32_t kFramesPerBar = 88200; // 4/4 at 120 bpm and 44100 Hz

class RenderDialogTest : public ::testing::Test {
protected:
    RenderDialogTest()
    {
        SequencerSettings::RestoreInitialValues();
        EXPECT_TRUE(document.NewDocument()); // which takes the stored timing accuracy
        SequencerSettings::SetTimingAccuracy(0); // every pulse on its own sample: exact lengths
        document.SetPathName((dir / "song.jorvo").string());
    }
    ~RenderDialogTest() override { SequencerSettings::RestoreInitialValues(); }

    Sequencer& Song() { return document.GetStudio()->GetSequencer(); }

    // A song of `bars` bars: one section with a one-bar pattern of a single synth note.
    void BuildSong(std::uint32_t bars)
    {
        SoundStudio& studio = *document.GetStudio();
        Instrument* synth = studio.AddInstrument("mSyn");
        ASSERT_NE(synth, nullptr);
        SeqEventPattern* pattern = Song().CreatePattern("Riff");
        SeqEventSection* section = Song().CreateSection("Verse");
        ASSERT_TRUE(pattern && section);
        auto note = std::make_unique<SeqEventNote>();
        note->SetLength(480);
        note->SetPitch(60);
        note->SetVelocity(100);
        std::unique_ptr<SeqEvent> event = std::move(note);
        ASSERT_TRUE(pattern->InsertEvent(event));
        Sequencer::EditLock lock(Song());
        section->AddPlacement(pattern, synth, 0);
        ASSERT_TRUE(section->SetLength(bars * kBar));
        Song().GetSong()->AddPlacement(section, 0);
        ASSERT_TRUE(Song().GetSong()->SetLength(bars * kBar));
    }

    test::TempDir dir;
    RecordingShell shell;
    ScopedShell scoped{shell};
    CJorvoDoc document;
};

TEST_F(RenderDialogTest, ASongIsRenderedToTheWavFileChosen)
{
    BuildSong(1);
    const auto file = dir / "take.wav";
    shell.fileAnswers = {file.string()};
    EXPECT_TRUE(RenderSongToAudio(nullptr, document));

    ASSERT_EQ(shell.fileDialogRequests.size(), 1u);
    EXPECT_EQ(shell.fileDialogRequests[0].title, "Render as Audio");
    EXPECT_EQ(shell.fileDialogRequests[0].initialPath, (dir / "song.wav").string()); // never the document
    EXPECT_EQ(test::ReadFileBytes(file).size(), 44u + 4 * kFramesPerBar);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0], "Rendering from 001:01:001 to 002:01:001");
    EXPECT_EQ(shell.messages[1], "Rendering Successful\nFile '" + file.string() + "' Created");
    EXPECT_FALSE(Song().IsPlaying());

    // Declining the file chooser renders nothing and says nothing.
    shell.messages.clear();
    EXPECT_FALSE(RenderSongToAudio(nullptr, document));
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(RenderDialogTest, CancelInTheProgressDialogDropsTheFileAndRestoresTheSong)
{
    BuildSong(400); // far longer than the render gets before the cancel
    Song().SetPosition(kBar + 7);
    Song().SetLoop(true);
    const auto file = dir / "cancelled.wav";
    shell.fileAnswers = {file.string()};

    bool sawProgress = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() != "renderProgress" || !widget->isVisible())
                continue;
            auto* bar = widget->findChild<QProgressBar*>();
            if (!bar || bar->value() == 0)
                return; // let it get going first
            sawProgress = true;
            test::SaveScreen(*widget, "rendering");
            test::Click(*widget, "Cancel");
            poll.stop();
        }
    });
    poll.start();
    EXPECT_FALSE(RenderSongToAudio(nullptr, document));
    EXPECT_TRUE(sawProgress);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(shell.LastMessage(), "Rendering Cancelled\nFile '" + file.string() + "' Deleted");
    EXPECT_EQ(Song().GetPlayState().position, kBar + 7);
    EXPECT_TRUE(Song().GetPlayState().loop);
}

} // namespace
} // namespace jorvo
