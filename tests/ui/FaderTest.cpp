// Faders, draw bars, the message fader and parameter buttons: which end is the maximum, the
// values sent under the pen, springing back, and a fader that really moves a mixer channel.
#include <gtest/gtest.h>

#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "ui/ControlTestSupport.h"
#include "ui/Fader.h"
#include "ui/MsgFader.h"
#include "ui/ParamButton.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

// The value a slider sends for a pen pressed at `point` (sent only when it differs, so the
// target starts at a value no tested point gives).
std::int32_t ValueUnderPen(ParamSlider& slider, test::RangeTarget& target, QPoint point)
{
    target.amount.SetLive(-1);
    slider.Refresh();
    test::SendPen(slider, QEvent::MouseButtonPress, point);
    test::SendPen(slider, QEvent::MouseButtonRelease, point);
    return target.amount.LiveValue();
}

class FaderTest : public ::testing::Test {
protected:
    FaderTest() { view.resize(300, 300); }

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    test::RecordingView view;
    test::RangeTarget target{-1, 127, 0};
};

TEST_F(FaderTest, AVerticalFaderHasItsMaximumAtTheTop)
{
    Fader fader(&view);
    fader.Create(10, 10, 20, 110); // plain carat: 12 pixels, travel 98
    test::Bind(fader, target);
    target.amount.SetRange(0, 127);
    EXPECT_EQ(ValueUnderPen(fader, target, {10, 6}), 127);
    EXPECT_EQ(ValueUnderPen(fader, target, {10, 104}), 0);
    EXPECT_EQ(ValueUnderPen(fader, target, {10, 55}), 63);  // 49 × 127 ÷ 98
    EXPECT_EQ(ValueUnderPen(fader, target, {10, -40}), 127); // clamped
    EXPECT_EQ(ValueUnderPen(fader, target, {10, 300}), 0);
}

TEST_F(FaderTest, HorizontalFadersAndDrawBarsHaveTheirMinimumOnTheLeft)
{
    target.amount.SetRange(0, 127);
    Fader fader(&view);
    fader.Create(10, 10, 110, 20);
    test::Bind(fader, target);
    EXPECT_EQ(ValueUnderPen(fader, target, {6, 10}), 0);
    EXPECT_EQ(ValueUnderPen(fader, target, {104, 10}), 127);

    DrawBar bar(&view);
    bar.SetCaratSize(10, 0);
    bar.Create(10, 40, 110, 20); // carat 10 wide, travel 100
    test::Bind(bar, target);
    EXPECT_EQ(ValueUnderPen(bar, target, {5, 10}), 0);
    EXPECT_EQ(ValueUnderPen(bar, target, {55, 10}), 63);
    EXPECT_EQ(ValueUnderPen(bar, target, {105, 10}), 127);
}

TEST_F(FaderTest, AVerticalDrawBarHasItsMinimumAtTheTop)
{
    target.amount.SetRange(0, 127);
    DrawBar bar(&view);
    bar.SetCaratSize(0, 10);
    bar.Create(10, 10, 20, 110);
    test::Bind(bar, target);
    EXPECT_EQ(ValueUnderPen(bar, target, {10, 5}), 0);
    EXPECT_EQ(ValueUnderPen(bar, target, {10, 55}), 63);
    EXPECT_EQ(ValueUnderPen(bar, target, {10, 105}), 127);
}

TEST_F(FaderTest, TheValueFollowsThePenAndSpringsBackWhenAsked)
{
    target.amount.SetRange(0, 127);
    Fader fader(&view);
    fader.Create(10, 10, 20, 110);
    fader.SetResetOnPenUp(true, 64);
    test::Bind(fader, target);
    test::SendPen(fader, QEvent::MouseButtonPress, {10, 6});
    EXPECT_EQ(target.amount.LiveValue(), 127);
    test::SendPen(fader, QEvent::MouseMove, {10, 104});
    EXPECT_EQ(target.amount.LiveValue(), 0);
    EXPECT_EQ(fader.ShownValue(), 0);
    test::SendPen(fader, QEvent::MouseButtonRelease, {10, 104});
    EXPECT_EQ(target.amount.LiveValue(), 64);
    EXPECT_EQ(fader.ShownValue(), 64);
}

TEST_F(FaderTest, AnUnboundFaderSendsNothing)
{
    Fader fader(&view);
    fader.Create(10, 10, 20, 110);
    fader.SetTarget(&target); // no event code
    test::SendPen(fader, QEvent::MouseButtonPress, {10, 6});
    test::SendPen(fader, QEvent::MouseButtonRelease, {10, 6});
    EXPECT_EQ(target.events, 0);
}

TEST(FaderOnMixer, AFaderOnAChannelsLevelChangesThatChannel)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    SequencerSettings::RestoreInitialValues();
    SoundStudio studio;
    Instrument* lead = studio.AddInstrument("mSyn");
    ASSERT_NE(lead, nullptr);
    MixerChannel* channel = studio.GetMixer().ChannelOf(*lead);
    ASSERT_NE(channel, nullptr);
    SkinView view;
    Fader fader(&view);
    fader.Create(0, 0, 20, 110);
    fader.SetEventCode(7);
    fader.SetTarget(channel);
    EXPECT_EQ(fader.ShownValue(), channel->Level());
    test::SendPen(fader, QEvent::MouseButtonPress, {10, 6});
    test::SendPen(fader, QEvent::MouseButtonRelease, {10, 6});
    EXPECT_EQ(channel->Level(), 127);
    EXPECT_EQ(channel->FindParameter(7)->StoredValue(), 127); // the change belongs to the document
}

TEST_F(FaderTest, TheMessageFaderPostsTheValueUnderThePen)
{
    MsgFader fader(&view);
    fader.Create(10, 10, 20, 110);
    fader.SetRange(0, 127);
    fader.SetMessageName("WM_SET_NOTE_VELOCITY");
    test::SendPen(fader, QEvent::MouseButtonPress, {10, 6});
    test::SendPen(fader, QEvent::MouseMove, {10, 6}); // unchanged: not posted again
    test::SendPen(fader, QEvent::MouseMove, {10, 104});
    test::SendPen(fader, QEvent::MouseButtonRelease, {10, 104});
    const auto posted = view.Named("WM_SET_NOTE_VELOCITY");
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].wParam, 127u);
    EXPECT_EQ(posted[1].wParam, 0u);
    EXPECT_EQ(posted[1].lParam, 0);
    EXPECT_FALSE(fader.SetValue(128)); // outside the range: refused, nothing moves
    EXPECT_EQ(fader.Value(), 0);
}

class ButtonTest : public FaderTest {
protected:
    ButtonTest()
    {
        button = new ParamButton(&view);
        button->Create(10, 10, 40, 20);
        button->States().AddState(0, 0, 0, 0);
        button->States().AddState(1, 40, 1, 0);
        button->States().AddState(2, 80, 5, 0);
        target.amount.SetRange(0, 5);
    }
    void Tap(QPoint release)
    {
        test::SendPen(*button, QEvent::MouseButtonPress, {5, 5});
        test::SendPen(*button, QEvent::MouseMove, release);
        test::SendPen(*button, QEvent::MouseButtonRelease, release);
    }
    ParamButton* button;
};

TEST_F(ButtonTest, TapsStepThroughTheStatesAndSendTheirValues)
{
    button->Refresh();
    EXPECT_EQ(button->CurrentState(), 0); // unbound: the state whose value is 0
    test::Bind(*button, target);
    Tap({5, 5});
    EXPECT_EQ(target.amount.LiveValue(), 1);
    EXPECT_EQ(button->CurrentState(), 1);
    Tap({5, 5});
    EXPECT_EQ(target.amount.LiveValue(), 5);
    Tap({5, 5}); // after the last comes the first
    EXPECT_EQ(target.amount.LiveValue(), 0);
    EXPECT_EQ(button->CurrentState(), 0);
}

TEST_F(ButtonTest, SlidingOffShowsTheCurrentStateAndSendsNothing)
{
    test::Bind(*button, target);
    test::SendPen(*button, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(button->CurrentState(), 1); // the state a release would send
    test::SendPen(*button, QEvent::MouseMove, {100, 5});
    EXPECT_EQ(button->CurrentState(), 0);
    test::SendPen(*button, QEvent::MouseButtonRelease, {100, 5});
    EXPECT_EQ(target.events, 0);
    EXPECT_EQ(button->CurrentState(), 0);
}

TEST_F(ButtonTest, TheButtonFollowsTheParameter)
{
    test::Bind(*button, target);
    target.amount.SetLive(5);
    PostWindowMessage(button, RegisterWindowMessage("WM_SYNC"), 0, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(button->CurrentState(), 2);
    target.amount.SetLive(3); // no state has it: the display stays
    button->Refresh();
    EXPECT_EQ(button->CurrentState(), 2);
}

} // namespace
} // namespace jorvo
