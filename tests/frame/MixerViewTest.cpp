// The mixer view: how many strips and send rows fit, which channel and send each shows, and
// scrolling with messages and keys, clamped at both ends.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include "app/frame/CMixerView.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/SeqEventTargetFactory.h"
#include "ui/UIElement.h"
#include "ui/WindowMessageEvent.h"
#include "frame/FrameTestSupport.h"

namespace jorvo {
namespace {

using test::MixerSkinLayout;
using test::StudioWindow;

TEST(MixerLayoutRules, MasterAtTheRightStripsFromTheLeftSendRowsInTheFreeHeight)
{
    const QRect strip(5, 20, 90, 380);   // bottom 399
    const QRect send(5, 60, 90, 40);
    const QRect master(400, 20, 60, 380);

    const MixerLayout layout = ComputeMixerLayout(QSize(480, 640), strip, send, master);
    EXPECT_EQ(layout.masterLeft, 480 - 5 - 60);
    EXPECT_EQ(layout.channelStrips, (415 - 5) / 90);
    EXPECT_EQ(layout.sendRows, 1 + (640 - 5 - 400) / 40);

    // Too narrow or too short still gives one strip and one row.
    const MixerLayout cramped = ComputeMixerLayout(QSize(100, 300), strip, send, master);
    EXPECT_EQ(cramped.channelStrips, 1);
    EXPECT_EQ(cramped.sendRows, 1);

    // A skin without templates has no strips and no rows.
    const MixerLayout bare = ComputeMixerLayout(QSize(480, 640), QRect(), QRect(), QRect());
    EXPECT_EQ(bare.channelStrips, 0);
    EXPECT_EQ(bare.sendRows, 0);
}

TEST(MixerLayoutRules, FirstVisibleIsClampedToTheLastPage)
{
    EXPECT_EQ(ClampFirstVisible(-1, 10, 4), 0);
    EXPECT_EQ(ClampFirstVisible(3, 10, 4), 3);
    EXPECT_EQ(ClampFirstVisible(7, 10, 4), 6);
    EXPECT_EQ(ClampFirstVisible(2, 3, 4), 0);
}

class MixerViewTest : public ::testing::Test {
protected:
    CMixerView& View()
    {
        auto* view = qobject_cast<CMixerView*>(window.frame->ViewsOfKind({"MixerView"}).front());
        return *view;
    }
    void AddInstruments(int count)
    {
        const std::string engine = SeqEventTargetFactory::ListInstruments().front();
        for (int index = 0; index < count; ++index)
            ASSERT_NE(window.document.GetStudio()->AddInstrument(engine), nullptr);
        StudioWindow::Settle();
    }
    void AddEffects(int count)
    {
        const std::string engine = SeqEventTargetFactory::ListEffects().front();
        for (int index = 0; index < count; ++index)
            ASSERT_NE(window.document.GetStudio()->AddEffect(engine), nullptr);
        StudioWindow::Settle();
    }
    const std::vector<std::unique_ptr<MixerChannel>>& Channels() { return window.document.GetStudio()->GetMixer().Channels(); }

    StudioWindow window;
};

TEST_F(MixerViewTest, StripsAndRowsFitTheViewAndTheMasterSitsAtTheRight)
{
    CMixerView& view = View();
    const MixerLayout expected = ComputeMixerLayout(view.size(), QRect(5, 20, 90, 380), QRect(5, 60, 90, 40),
                                                    QRect(400, 20, 60, 380));
    EXPECT_EQ(view.VisibleChannels(), expected.channelStrips);
    EXPECT_EQ(view.VisibleSends(), expected.sendRows);
    ASSERT_EQ(view.MasterElements().size(), 1u);
    EXPECT_EQ(view.MasterElements().front()->geometry().right(), view.width() - 1 - CMixerView::kMargin);

    // Strip n starts at 5 + n × width; send rows stack downward; the fader below moves down.
    AddInstruments(1);
    const std::vector<UIElement*> strip1 = view.StripElements(1);
    ASSERT_EQ(strip1.size(), 2u + static_cast<std::size_t>(view.VisibleSends()));
    EXPECT_EQ(strip1[0]->geometry().left(), 5 + MixerSkinLayout::kStripWidth);
    const QRect fader = strip1[1]->geometry();
    EXPECT_EQ(fader.top(), 110 + (view.VisibleSends() - 1) * MixerSkinLayout::kSendHeight);
    EXPECT_EQ(strip1[3]->geometry().top(), MixerSkinLayout::kSendTop + MixerSkinLayout::kSendHeight);
}

TEST_F(MixerViewTest, FewerChannelsThanFitShowStripZeroFirstAndLeaveTheRestUnbound)
{
    AddInstruments(2);
    CMixerView& view = View();
    ASSERT_GT(view.VisibleChannels(), 2);
    EXPECT_EQ(view.StripChannel(0), Channels()[0].get());
    EXPECT_EQ(view.StripChannel(1), Channels()[1].get());
    for (int strip = 2; strip < view.VisibleChannels(); ++strip) {
        EXPECT_EQ(view.StripChannel(strip), nullptr);
        for (UIElement* element : view.StripElements(strip))
            EXPECT_TRUE(element->isHidden()) << "strip " << strip;
    }
    // The channel part of a bound strip shows; its send rows have no busses to show.
    const std::vector<UIElement*> strip0 = view.StripElements(0);
    EXPECT_FALSE(strip0[0]->isHidden());
    EXPECT_FALSE(strip0[1]->isHidden());
    EXPECT_TRUE(strip0[2]->isHidden());
}

TEST_F(MixerViewTest, SendRowsShowTheBussesFromTheFirstVisibleSend)
{
    AddInstruments(1);
    CMixerView& view = View();
    // Without busses every send row is empty and hidden.
    for (int row = 0; row < view.VisibleSends(); ++row)
        EXPECT_EQ(view.SendRowEventCode(row), 0);

    AddEffects(view.VisibleSends() + 2);
    const auto& busses = window.document.GetStudio()->GetMixer().Busses();
    EXPECT_EQ(view.SendRowEventCode(0), busses[0]->SendParameterType());
    view.SetFirstSend(100);
    EXPECT_EQ(view.FirstSend(), 2);
    EXPECT_EQ(view.SendRowEventCode(0), busses[2]->SendParameterType());
    EXPECT_EQ(view.SendRowEventCode(view.VisibleSends() - 1), busses.back()->SendParameterType());
}

TEST_F(MixerViewTest, ChannelScrollingByMessagesAndKeysIsClamped)
{
    CMixerView& view = View();
    AddInstruments(view.VisibleChannels() + 3);
    const int lastFirst = static_cast<int>(Channels().size()) - view.VisibleChannels();

    SendWindowMessage(&view, RegisterWindowMessage("WM_CHANNEL_PREV"), 0, 0);
    EXPECT_EQ(view.FirstChannel(), 0);
    SendWindowMessage(&view, RegisterWindowMessage("WM_CHANNEL_NEXT"), 0, 0);
    EXPECT_EQ(view.FirstChannel(), 1);
    EXPECT_EQ(view.StripChannel(0), Channels()[1].get());

    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(view.FirstChannel(), lastFirst);
    EXPECT_EQ(view.StripChannel(view.VisibleChannels() - 1), Channels().back().get());
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.FirstChannel(), lastFirst);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.FirstChannel(), lastFirst - 1);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.FirstChannel(), 0);

    // Removing channels pulls the first visible one back into range.
    view.SetFirstChannel(lastFirst);
    for (int index = 0; index < 3; ++index) {
        window.shell.answers.push_back(MessageAnswer::Yes);
        window.document.GetStudio()->DeleteInstrument(Channels().back()->GetInstrument());
    }
    EXPECT_EQ(view.FirstChannel(), 0);
    EXPECT_EQ(view.StripChannel(view.VisibleChannels() - 1), Channels().back().get());
    StudioWindow::Settle();
}

TEST_F(MixerViewTest, SendScrollingByMessagesAndKeysIsClamped)
{
    CMixerView& view = View();
    AddInstruments(1);
    AddEffects(view.VisibleSends() + 2);

    SendWindowMessage(&view, RegisterWindowMessage("WM_SEND_DOWN"), 0, 0);
    EXPECT_EQ(view.FirstSend(), 0);
    SendWindowMessage(&view, RegisterWindowMessage("WM_SEND_UP"), 0, 0);
    EXPECT_EQ(view.FirstSend(), 1);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_EQ(view.FirstSend(), 2);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.FirstSend(), 1);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.FirstSend(), 0);
    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(view.FirstSend(), std::min(view.VisibleSends(), 2));
}

TEST_F(MixerViewTest, AWiderViewFitsMoreStripsAfterRebuilding)
{
    CMixerView& view = View();
    AddInstruments(8);
    window.frame->show();
    window.frame->DisplayMixer();
    StudioWindow::Settle();
    const int before = view.VisibleChannels();
    window.frame->resize(window.frame->width() + 2 * MixerSkinLayout::kStripWidth, window.frame->height());
    StudioWindow::Settle();
    EXPECT_EQ(view.VisibleChannels(), before + 2);
    for (int strip = 0; strip < view.VisibleChannels(); ++strip)
        EXPECT_EQ(view.StripChannel(strip), Channels()[static_cast<std::size_t>(strip)].get());
}

TEST_F(MixerViewTest, AddInstrumentFromTheContextMenuAddsAStrip)
{
    CMixerView& view = View();
    QMenu menu;
    view.FillContextMenu(menu);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[0]->text().toStdString(), "Add Instrument");
    EXPECT_EQ(menu.actions()[1]->text().toStdString(), "Add Effect");

    window.shell.selectAnswers.push_back(SelectResult{0, "Bass"});
    menu.actions()[0]->trigger();
    StudioWindow::Settle();
    ASSERT_EQ(Channels().size(), 1u);
    EXPECT_EQ(Channels()[0]->GetInstrument()->GetName(), "Bass");
    EXPECT_EQ(view.StripChannel(0), Channels()[0].get());
    EXPECT_EQ(window.shell.selectRequests.back().title, "Select Instrument");

    // Cancel adds nothing.
    menu.actions()[1]->trigger();
    EXPECT_TRUE(window.document.GetStudio()->Effects().empty());
}

} // namespace
} // namespace jorvo
