// Pen input on elements: tap-and-hold and right click open the context menu, value tips,
// sending values to a bound parameter, and the message button's send, repeat and release.
#include <memory>

#include <gtest/gtest.h>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QTest>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "support/TestSupport.h"
#include "ui/CToolTips.h"
#include "ui/MsgButton.h"
#include "ui/SkinView.h"
#include "ui/UIParamElement.h"
#include "ui/UiTestSupport.h"

namespace jorvo {
namespace {

// An element that counts context menus and the messages it receives.
class ProbeElement : public UIParamElement {
public:
    using UIParamElement::UIParamElement;
    using UIParamElement::SendValue;
    int menus = 0;
    int received = 0;
    WindowMessage listenTo = 0;

protected:
    bool ContextMenu(const QPoint&) override { return ++menus > 0; }
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override
    {
        received += message == listenTo;
        return UIParamElement::OnWindowMessage(message, wParam, lParam);
    }
};

// A target with one parameter, "Cutoff" (controller 74, 0 … 127, starting at 64).
class OneParameterTarget : public SeqEventTarget {
public:
    OneParameterTarget() { AddParameter(&cutoff); }
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t, std::int32_t, std::int32_t) override
    {
        ++events;
        if (code == cutoff.Number())
            cutoff.SetLive(a);
    }
    SeqParameter cutoff{"Cutoff", "Filter cutoff", 74, 0, 127, 64};
    int events = 0;
};

class ElementInput : public ::testing::Test {
protected:
    ElementInput()
    {
        view.resize(200, 200);
        probe = new ProbeElement(&view);
        probe->Create(50, 50, 40, 40);
        view.AddElement(probe);
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SkinView view;
    ProbeElement* probe;
};

TEST_F(ElementInput, TapAndHoldOpensTheMenuWithinFourPixelsButNotAtFive)
{
    Configuration().SetTapNHoldDelay(80);
    test::SendPen(*probe, QEvent::MouseButtonPress, {10, 10});
    test::SendPen(*probe, QEvent::MouseMove, {14, 6});
    QTest::qWait(400);
    EXPECT_EQ(probe->menus, 1);
    EXPECT_EQ(UIElement::CapturedElement(), nullptr); // the coming pen up does nothing
    test::SendPen(*probe, QEvent::MouseButtonRelease, {14, 6});
    EXPECT_EQ(UIElement::LastPenPosition(), QPoint(UIElement::kNoPen, UIElement::kNoPen));

    test::SendPen(*probe, QEvent::MouseButtonPress, {10, 10});
    test::SendPen(*probe, QEvent::MouseMove, {10, 15});
    QTest::qWait(400);
    EXPECT_EQ(probe->menus, 1);
    EXPECT_EQ(UIElement::CapturedElement(), probe);
    test::SendPen(*probe, QEvent::MouseButtonRelease, {10, 15});
    EXPECT_EQ(UIElement::CapturedElement(), nullptr);
}

TEST_F(ElementInput, ARightClickOpensTheSameMenu)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), probe->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(probe, &event);
    EXPECT_EQ(probe->menus, 1);
}

TEST_F(ElementInput, AnUnboundElementSaysDisabledAndSendsNothing)
{
    OneParameterTarget target;
    Sequencer sequencer;
    probe->SetTarget(&target); // no event code: still disabled
    test::SendPen(*probe, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(CToolTips::Instance().Text(), "Disabled");
    EXPECT_TRUE(CToolTips::Instance().isVisible());
    test::SendPen(*probe, QEvent::MouseButtonRelease, {5, 5});
    EXPECT_FALSE(CToolTips::Instance().isVisible());
    EXPECT_FALSE(probe->SendValue(10));

    probe->SetEventCode(75); // names no parameter of the target
    EXPECT_EQ(probe->Parameter(), nullptr);
    EXPECT_FALSE(probe->SendValue(10));
    EXPECT_EQ(target.events, 0);
}

TEST_F(ElementInput, ABoundElementShowsItsValueAndSendsThroughTheSequencer)
{
    OneParameterTarget target;
    Sequencer sequencer;
    probe->SetEventCode(74);
    probe->SetTarget(&target);
    EXPECT_EQ(probe->ShownValue(), 64);
    test::SendPen(*probe, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(CToolTips::Instance().Text(), "Cutoff: 64");
    const QPoint tipBottom = CToolTips::Instance().geometry().bottomLeft();
    EXPECT_EQ(tipBottom.y() + 1, probe->mapToGlobal(QPoint(0, 0)).y()); // just above the element
    test::SendPen(*probe, QEvent::MouseButtonRelease, {5, 5});

    EXPECT_TRUE(probe->SendValue(100));
    EXPECT_EQ(target.cutoff.LiveValue(), 100);
    EXPECT_EQ(target.cutoff.StoredValue(), 100);
    EXPECT_EQ(probe->ShownValue(), 64); // the display follows on WM_SYNC
    view.Broadcast(RegisterWindowMessage("WM_SYNC"), 0, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(probe->ShownValue(), 100);
}

TEST_F(ElementInput, ANonLatchingButtonSendsOnPenDownRepeatsAndReturnsToItsFirstState)
{
    probe->listenTo = RegisterWindowMessage("WM_TEST_REPEAT");
    auto* button = new MsgButton(&view);
    button->SetMessageName("WM_TEST_REPEAT");
    button->States().AddState(0, 0, 1, 0);
    button->States().AddState(1, 30, 2, 0);
    button->Create(0, 0, 30, 30);
    view.AddElement(button);

    QElapsedTimer clock;
    clock.start();
    test::SendPen(*button, QEvent::MouseButtonPress, {5, 5});
    QCoreApplication::processEvents();
    EXPECT_EQ(probe->received, 1);
    EXPECT_EQ(button->CurrentState(), 1);
    QTest::qWait(150);
    if (clock.elapsed() < 300) {
        EXPECT_EQ(probe->received, 1); // no repeat before 300 ms
    }
    QTest::qWait(750);
    const qint64 held = clock.elapsed();
    test::SendPen(*button, QEvent::MouseButtonRelease, {5, 5});
    QCoreApplication::processEvents();
    const int sent = probe->received;
    EXPECT_GE(sent, 3);
    EXPECT_LE(sent, 1 + (held - 300) / 100 + 1);
    EXPECT_EQ(button->CurrentState(), 0);
    QTest::qWait(300);
    EXPECT_EQ(probe->received, sent); // the repeat stopped with the pen
}

TEST_F(ElementInput, ALatchingButtonKeepsItsStateAndSubmitOnPenUpSendsOnlyInside)
{
    probe->listenTo = RegisterWindowMessage("WM_TEST_LATCH");
    auto* button = new MsgButton(&view);
    test::TempDir dir;
    test::WriteFileBytes(dir / "b.skin", "<B Class=\"MsgButton\" Left=\"0\" Top=\"0\" Width=\"30\" Height=\"30\" "
                                         "Message=\"WM_TEST_LATCH\" Latch=\"True\" SubmitOnMouseUp=\"True\">"
                                         "<State Index=\"0\"/><State Index=\"1\"/></B>");
    CXMLArchive archive;
    ASSERT_TRUE(archive.Open(nullptr, (dir / "b.skin").string(), CXMLArchive::kLoad));
    button->SerializeXML(archive);
    view.AddElement(button);

    test::SendPen(*button, QEvent::MouseButtonPress, {5, 5});
    test::SendPen(*button, QEvent::MouseButtonRelease, {5, 5});
    QCoreApplication::processEvents();
    EXPECT_EQ(probe->received, 1);
    EXPECT_EQ(button->CurrentState(), 1);

    test::SendPen(*button, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(button->CurrentState(), 0);
    test::SendPen(*button, QEvent::MouseMove, {50, 5});
    EXPECT_EQ(button->CurrentState(), 1); // leaving shows the previous state
    test::SendPen(*button, QEvent::MouseButtonRelease, {50, 5});
    QCoreApplication::processEvents();
    EXPECT_EQ(probe->received, 1);
    EXPECT_EQ(button->CurrentState(), 1);
}

} // namespace
} // namespace jorvo
