// Knobs: the step sizes that make every range take about the same pen travel, clamping with a
// kept anchor, the Increment attribute, and a knob without a parameter.
#include <gtest/gtest.h>

#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "support/TestSupport.h"
#include "ui/CToolTips.h"
#include "ui/ControlTestSupport.h"
#include "ui/Knob.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

class KnobTest : public ::testing::Test {
protected:
    KnobTest()
    {
        view.resize(200, 200);
        knob = new Knob(&view);
        knob->Create(20, 20, 40, 40);
        view.AddElement(knob);
    }

    // Presses at (20, 20), then moves the pen to each y in turn and returns the value after each.
    std::vector<std::int32_t> Drag(test::RangeTarget& target, std::initializer_list<int> ys)
    {
        test::Bind(*knob, target);
        test::SendPen(*knob, QEvent::MouseButtonPress, {20, 20});
        std::vector<std::int32_t> values;
        for (int y : ys) {
            test::SendPen(*knob, QEvent::MouseMove, {20, y});
            values.push_back(target.amount.LiveValue());
        }
        test::SendPen(*knob, QEvent::MouseButtonRelease, {20, ys.size() ? *(ys.end() - 1) : 20});
        return values;
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    SkinView view;
    Knob* knob;
};

TEST_F(KnobTest, StepsScaleWithTheRange)
{
    test::RangeTarget midi(0, 127, 64);
    EXPECT_EQ(Drag(midi, {19, 10, 25}), (std::vector<std::int32_t>{65, 74, 59}));
    EXPECT_EQ(knob->ValueStep(), 1);
    EXPECT_EQ(knob->PixelStep(), 1);

    test::RangeTarget wide(0, 1000, 500);
    EXPECT_EQ(Drag(wide, {19, 10}), (std::vector<std::int32_t>{507, 570}));
    EXPECT_EQ(knob->ValueStep(), 7);

    test::RangeTarget narrow(0, 10, 5);
    // One unit per 12 pixels: 11 pixels change nothing, 12 do; the anchor moves with each step
    // (to y 8), so 24 pixels below it take two units off.
    EXPECT_EQ(Drag(narrow, {9, 8, 0, 32}), (std::vector<std::int32_t>{5, 6, 6, 4}));
    EXPECT_EQ(knob->PixelStep(), 12);
}

TEST_F(KnobTest, SentValuesBecomeTheDocumentsStoredValue)
{
    test::RangeTarget target(0, 127, 64);
    Drag(target, {10});
    EXPECT_EQ(target.amount.LiveValue(), 74);
    EXPECT_EQ(target.amount.StoredValue(), 74);
    EXPECT_EQ(knob->ShownValue(), 74);
}

TEST_F(KnobTest, ADragPastTheMaximumKeepsItsAnchor)
{
    test::RangeTarget target(0, 127, 120);
    // Up 20 pixels reaches 127 and the anchor moves to y 0. Further up changes nothing, so the
    // anchor stays: coming back down changes nothing while the pen is above y 0, and the value
    // falls only below it.
    EXPECT_EQ(Drag(target, {0, -30, -10, -1}), (std::vector<std::int32_t>{127, 127, 127, 127}));
    test::RangeTarget again(0, 127, 120);
    EXPECT_EQ(Drag(again, {0, -30, -10, 2}), (std::vector<std::int32_t>{127, 127, 127, 125}));
}

TEST_F(KnobTest, ADragPastTheMinimumClampsToIt)
{
    test::RangeTarget target(-10, 10, -8);
    EXPECT_EQ(Drag(target, {40, 60}), (std::vector<std::int32_t>{-10, -10}));
}

TEST_F(KnobTest, IncrementGivesBothSteps)
{
    knob->SetIncrement(5);
    test::RangeTarget target(0, 127, 60);
    // 5 units per 5 pixels: 4 pixels do nothing, 5 move by 5, 12 more move by 10 (12 × 5 ÷ 5 = 12).
    EXPECT_EQ(Drag(target, {16, 15, 3}), (std::vector<std::int32_t>{60, 65, 77}));
}

TEST_F(KnobTest, AKnobWithoutParameterSaysDisabledAndSendsNothing)
{
    test::RangeTarget target(0, 127, 64);
    knob->SetEventCode(75); // no such parameter
    knob->SetTarget(&target);
    test::SendPen(*knob, QEvent::MouseButtonPress, {20, 20});
    EXPECT_EQ(CToolTips::Instance().Text(), QString("Disabled"));
    test::SendPen(*knob, QEvent::MouseMove, {20, 0});
    test::SendPen(*knob, QEvent::MouseButtonRelease, {20, 0});
    EXPECT_EQ(target.events, 0);
    EXPECT_EQ(target.amount.LiveValue(), 64);
}

TEST_F(KnobTest, TheTipShowsNameAndValueWhileTurning)
{
    test::RangeTarget target(0, 127, 64);
    test::Bind(*knob, target);
    test::SendPen(*knob, QEvent::MouseButtonPress, {20, 20});
    test::SendPen(*knob, QEvent::MouseMove, {20, 17});
    EXPECT_EQ(CToolTips::Instance().Text(), QString("Amount: 67"));
    test::SendPen(*knob, QEvent::MouseButtonRelease, {20, 17});
}

// A target with the same controller in two parameter sets (sub-index 0 and 2), as a sampler's
// zones have.
class TwoSetTarget : public SeqEventTarget {
public:
    TwoSetTarget()
    {
        AddParameter(&first);
        AddParameter(&third);
    }
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t) override
    {
        if (SeqParameter* parameter = FindParameter(static_cast<std::uint16_t>(code)))
            parameter->SetLive(a);
    }
    SeqParameter first{"Decay 1", "", 0x0025, 0, 127, 10};
    SeqParameter third{"Decay 3", "", 0x0225, 0, 127, 90};
};

TEST_F(KnobTest, RebindingMessagesMoveTheKnobToAnotherParameter)
{
    TwoSetTarget target;
    knob->SetEventCode(0x0025);
    knob->SetTarget(&target);
    EXPECT_EQ(knob->ShownValue(), 10);
    SendWindowMessage(knob, RegisterWindowMessage("WM_SET_EVENT_TYPE_HIGH"), 2, 0);
    EXPECT_EQ(knob->EventCode(), 0x0225);
    EXPECT_EQ(knob->ShownValue(), 90);
    test::SendPen(*knob, QEvent::MouseButtonPress, {20, 20});
    test::SendPen(*knob, QEvent::MouseMove, {20, 15});
    test::SendPen(*knob, QEvent::MouseButtonRelease, {20, 15});
    EXPECT_EQ(target.third.LiveValue(), 95);
    EXPECT_EQ(target.first.LiveValue(), 10);
    SendWindowMessage(knob, RegisterWindowMessage("WM_SET_EVENT_TYPE"), 0x0026, 0); // no such parameter
    EXPECT_EQ(knob->Parameter(), nullptr);
    test::SendPen(*knob, QEvent::MouseButtonPress, {20, 20});
    EXPECT_EQ(CToolTips::Instance().Text(), QString("Disabled"));
    test::SendPen(*knob, QEvent::MouseButtonRelease, {20, 20});
}

TEST_F(KnobTest, FilmStripFramesFollowTheValue)
{
    test::TempDir folder;
    // Five 40-pixel frames: frame k is grey level 40 × k.
    QImage strip(200, 40, QImage::Format_RGB32);
    for (int frame = 0; frame < 5; ++frame)
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                strip.setPixel(frame * 40 + x, y, qRgb(40 * frame, 40 * frame, 40 * frame));
    const std::string file = (folder / "strip.png").string();
    ASSERT_TRUE(strip.save(QString::fromStdString(file)));
    Knob3 film(&view);
    film.Create(100, 20, 40, 40);
    film.Image().SetFile(file);
    EXPECT_EQ(film.FrameCount(), 4);
    test::RangeTarget target(0, 100, 50);
    test::Bind(film, target);
    EXPECT_EQ(QColor(film.grab().toImage().pixel(20, 20)).red(), 80); // 50 × 4 ÷ 100 = frame 2
    target.amount.SetLive(100);
    film.Refresh();
    EXPECT_EQ(QColor(film.grab().toImage().pixel(20, 20)).red(), 160); // the last frame
}

} // namespace
} // namespace jorvo
