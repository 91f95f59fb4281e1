// The song settings: the song-length selector's steps and its one-bar floor, the time-signature
// selector's range, and the tempo selector handing its tempo to the sequencer and following it.
#include <gtest/gtest.h>

#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "ui/ControlTestSupport.h"
#include "ui/SongSelectors.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

class SelectorTest : public ::testing::Test {
protected:
    SelectorTest() { SequencerSettings::RestoreInitialValues(); }
    ~SelectorTest() override { SequencerSettings::RestoreInitialValues(); }

    static void Deliver(QWidget& element, const char* name)
    {
        PostWindowMessage(&element, RegisterWindowMessage(name), 0, 0);
        QCoreApplication::sendPostedEvents();
    }

    static constexpr std::uint32_t kBar = 4 * 480;

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    SkinView view;
};

TEST_F(SelectorTest, SongLengthStepsByWholeBarsAndNeverGoesBelowOne)
{
    SongLengthSelector selector(&view);
    selector.Create(0, 0, 60, 24);
    ASSERT_TRUE(sequencer.GetSong()->SetLength(2 * kBar));
    Deliver(selector, "WM_SYNC");
    EXPECT_EQ(selector.Value(), 2);
    Deliver(selector, "WM_INCREMENT_SONG_LENGTH");
    EXPECT_EQ(sequencer.GetSong()->GetLength(), 3 * kBar);
    EXPECT_EQ(selector.Value(), 3);
    for (int step = 0; step < 4; ++step)
        Deliver(selector, "WM_DECREMENT_SONG_LENGTH");
    EXPECT_EQ(sequencer.GetSong()->GetLength(), kBar);
    EXPECT_EQ(selector.Value(), 1);
}

TEST_F(SelectorTest, ASongEndingInsideItsSecondBarShortensToOneBar)
{
    SongLengthSelector selector(&view);
    ASSERT_TRUE(sequencer.GetSong()->SetLength(kBar + kBar / 2));
    Deliver(selector, "WM_SYNC");
    EXPECT_EQ(selector.Value(), 2); // a started bar counts
    Deliver(selector, "WM_DECREMENT_SONG_LENGTH");
    EXPECT_EQ(sequencer.GetSong()->GetLength(), kBar);
}

TEST_F(SelectorTest, TimeSignatureStepsWithinItsRange)
{
    TimeSignatureSelector selector(&view);
    selector.SetRange(2, 5);
    Deliver(selector, "WM_INCREMENT_SIGNATURE");
    EXPECT_EQ(SequencerSettings::GetBeatsPerBar(), 5);
    Deliver(selector, "WM_INCREMENT_SIGNATURE");
    EXPECT_EQ(SequencerSettings::GetBeatsPerBar(), 5);
    for (int step = 0; step < 5; ++step)
        Deliver(selector, "WM_DECREMENT_SIGNATURE");
    EXPECT_EQ(SequencerSettings::GetBeatsPerBar(), 2);
    EXPECT_EQ(selector.Value(), 2);
    sequencer.SetBeatsPerBar(3); // changed elsewhere: the next sync shows it
    Deliver(selector, "WM_SYNC");
    EXPECT_EQ(selector.Value(), 3);
}

TEST_F(SelectorTest, TempoFollowsThePenAndTheSequencer)
{
    TempoSelector selector(&view);
    selector.Create(0, 0, 112, 24); // plain carat 30 wide: travel 82
    selector.SetRange(40, 204);
    test::SendPen(selector, QEvent::MouseButtonPress, {15, 12});
    EXPECT_EQ(SequencerSettings::GetTempo(), 40);
    test::SendPen(selector, QEvent::MouseMove, {97, 12});
    EXPECT_EQ(SequencerSettings::GetTempo(), 204);
    test::SendPen(selector, QEvent::MouseMove, {56, 12});
    EXPECT_EQ(SequencerSettings::GetTempo(), 122); // 40 + 41 × 164 ÷ 82
    test::SendPen(selector, QEvent::MouseButtonRelease, {56, 12});
    sequencer.SetTempo(90);
    Deliver(selector, "WM_SYNC");
    EXPECT_EQ(selector.Value(), 90);
}

} // namespace
} // namespace jorvo
