// The factories: what a drag puts on the clipboard (decoded back with the binary archive), the
// begin-drag announcement, the menus that choose what is made, drop-to-delete, and a drag from a
// factory into an editor driven through the window system.
#include <gtest/gtest.h>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include "document/BinaryArchive.h"
#include "document/Configuration.h"
#include "engine/InstrumentSampler.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "ui/ControlTestSupport.h"
#include "ui/EventClipboard.h"
#include "ui/EventFactories.h"
#include "ui/PopupMenu.h"
#include "ui/SamplerZoneFactory.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

// The clipboard's "SeqEventList", read with the binary archive as an editor would.
std::vector<std::unique_ptr<SeqEvent>> ClipboardEvents()
{
    const auto bytes = EventClipboard::ReadBytes(EventClipboard::kSeqEventListFormat);
    if (!bytes)
        return {};
    MemoryStream memory(*bytes);
    BinaryArchive archive(memory, BinaryArchive::Mode::Load);
    return archive.ReadObjectList<SeqEvent>();
}

// Chooses the entry `text` of the next menu, after letting `inspect` look at the menu.
ScopedMenuChooser Choose(const QString& text, std::function<void(QMenu&)> inspect = {})
{
    return ScopedMenuChooser([text, inspect](QMenu& menu) {
        if (inspect)
            inspect(menu);
        return FindMenuAction(menu, text);
    });
}

bool IsChecked(QMenu& menu, const QString& text)
{
    QAction* action = FindMenuAction(menu, text);
    return action && action->isChecked();
}

class FactoryTest : public ::testing::Test {
protected:
    FactoryTest()
    {
        SequencerSettings::RestoreInitialValues();
        QGuiApplication::clipboard()->clear();
        view.resize(300, 200);
    }

    // Adds `factory` at (10, 10), 40 × 40, to the view.
    template <class Factory>
    Factory* Place()
    {
        auto* factory = new Factory(&view);
        factory->Create(10, 10, 40, 40);
        view.AddElement(factory);
        return factory;
    }

    // Presses on the factory and drags the pen out of it to the right.
    static void DragOut(UIElement& factory)
    {
        test::SendPen(factory, QEvent::MouseButtonPress, {20, 20});
        test::SendPen(factory, QEvent::MouseMove, {30, 20}); // still inside: nothing yet
        test::SendPen(factory, QEvent::MouseMove, {60, 25});
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    test::RecordingView view;
};

TEST_F(FactoryTest, ANoteLeavesTheFactoryWithTheChosenLengthAndVelocity)
{
    auto* factory = Place<NoteFactory>();
    {
        auto chooser = Choose("1/8", [](QMenu& menu) {
            EXPECT_TRUE(IsChecked(menu, "1"));   // a quarter note at first
            EXPECT_TRUE(IsChecked(menu, "100"));
            EXPECT_FALSE(IsChecked(menu, "1/8"));
        });
        test::OpenContextMenu(*factory);
    }
    {
        auto chooser = Choose("64", [](QMenu& menu) { EXPECT_TRUE(IsChecked(menu, "1/8")); });
        test::OpenContextMenu(*factory);
    }
    DragOut(*factory);
    const auto events = ClipboardEvents();
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0]->GetType(), kSeqEventNote);
    const auto& note = static_cast<const SeqEventNote&>(*events[0]);
    EXPECT_EQ(note.GetLength(), 60u); // 480 ÷ 8
    EXPECT_EQ(note.GetVelocity(), 64);

    const auto announced = view.Named("WM_EVENT_BEGIN_DRAG");
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0].wParam, 0u);
    const QPoint screen = factory->mapToGlobal(QPoint(60, 25));
    EXPECT_EQ(announced[0].lParam, static_cast<LParam>(screen.x()) * 65536 + screen.y());
    EXPECT_EQ(UIElement::CapturedElement(), nullptr); // the editor takes the pen over
    test::SendPen(*factory, QEvent::MouseMove, {90, 25});
    EXPECT_EQ(view.Named("WM_EVENT_BEGIN_DRAG").size(), 1u); // one drag, announced once
}

TEST_F(FactoryTest, APenLiftedInsideTheFactoryStartsNoDrag)
{
    auto* factory = Place<NoteFactory>();
    factory->States().AddState(0, 0, 0, 0);
    factory->States().AddState(1, 40, 0, 0);
    test::SendPen(*factory, QEvent::MouseButtonPress, {20, 20});
    EXPECT_EQ(factory->CurrentState(), 1); // pressed
    test::SendPen(*factory, QEvent::MouseButtonRelease, {20, 20});
    EXPECT_EQ(factory->CurrentState(), 0);
    EXPECT_TRUE(view.Named("WM_EVENT_BEGIN_DRAG").empty());
    EXPECT_FALSE(EventClipboard::ReadBytes(EventClipboard::kSeqEventListFormat));
}

TEST_F(FactoryTest, TapAndHoldLeavesThePressedStateForTheMenu)
{
    auto* factory = Place<SectionFactory>();
    factory->States().AddState(0, 0, 0, 0);
    factory->States().AddState(1, 40, 0, 0);
    Configuration().SetTapNHoldDelay(50);
    int menus = 0;
    ScopedMenuChooser chooser([&menus](QMenu&) {
        ++menus;
        return static_cast<QAction*>(nullptr); // dismissed
    });
    test::SendPen(*factory, QEvent::MouseButtonPress, {20, 20});
    QTest::qWait(200);
    ASSERT_EQ(menus, 1);
    EXPECT_FALSE(factory->IsPressed());
    EXPECT_EQ(factory->CurrentState(), 0);
    test::SendPen(*factory, QEvent::MouseMove, {60, 20}); // the gesture was the menu's: no drag
    test::SendPen(*factory, QEvent::MouseButtonRelease, {60, 20});
    EXPECT_TRUE(view.Named("WM_EVENT_BEGIN_DRAG").empty());
}

TEST_F(FactoryTest, PatternsAreNewAndEmptyUntilATemplateIsSet)
{
    auto* factory = Place<PatternFactory>();
    {
        auto chooser = Choose("2", [](QMenu& menu) {
            EXPECT_TRUE(IsChecked(menu, "Empty template"));
            EXPECT_TRUE(IsChecked(menu, "1"));
        });
        test::OpenContextMenu(*factory);
    }
    DragOut(*factory);
    auto events = ClipboardEvents();
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0]->GetType(), kSeqEventPattern);
    EXPECT_EQ(events[0]->GetLength(), 2u * 4 * 480);
    EXPECT_EQ(view.Named("WM_EVENT_BEGIN_DRAG").back().wParam, PatternFactory::kNewPattern);
    test::SendPen(*factory, QEvent::MouseButtonRelease, {60, 25});

    SeqEventPattern* bass = sequencer.CreatePattern("Bass");
    ASSERT_NE(bass, nullptr);
    bass->SetLength(3 * 480);
    PostWindowMessage(factory, RegisterWindowMessage("WM_SET_PATTERN_FACTORY_TEMPLATE"), reinterpret_cast<WParam>(bass), 0);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(factory->TemplatePattern(), bass);
    DragOut(*factory);
    events = ClipboardEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->GetName(), "Bass");
    EXPECT_EQ(events[0]->GetLength(), 3u * 480);
    EXPECT_EQ(view.Named("WM_EVENT_BEGIN_DRAG").back().wParam, PatternFactory::kCopyTemplate);
    test::SendPen(*factory, QEvent::MouseButtonRelease, {60, 25});

    {
        auto chooser = Choose("  Alias");
        test::OpenContextMenu(*factory);
    }
    DragOut(*factory);
    EXPECT_EQ(view.Named("WM_EVENT_BEGIN_DRAG").back().wParam, PatternFactory::kAliasTemplate);
    test::SendPen(*factory, QEvent::MouseButtonRelease, {60, 25});

    {
        auto chooser = Choose("Empty template");
        test::OpenContextMenu(*factory);
    }
    EXPECT_EQ(factory->TemplatePattern(), nullptr);
}

TEST_F(FactoryTest, ATemplateMessageAboutAPatternNoLongerThereIsIgnored)
{
    auto* factory = Place<PatternFactory>();
    SeqEventPattern stray; // not the sequencer's
    PostWindowMessage(factory, RegisterWindowMessage("WM_SET_PATTERN_FACTORY_TEMPLATE"), reinterpret_cast<WParam>(&stray), 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(factory->UsesTemplate());
}

TEST_F(FactoryTest, ATemplatePickedFromTheBanksIsDraggedAsACopy)
{
    auto* factory = Place<PatternFactory>();
    SeqEventPattern banked;
    banked.SetName("Groove");
    banked.SetLength(480);
    shell.pickPatternScripts.push_back([&banked](const PickPatternRequest&) {
        return std::optional<PatternPick>(PatternPick{&banked, true});
    });
    {
        auto chooser = Choose("Select Template...");
        test::OpenContextMenu(*factory);
    }
    ASSERT_EQ(shell.pickPatternRequests.size(), 1u);
    EXPECT_EQ(shell.pickPatternRequests[0].title, "Select Pattern Factory Template");
    EXPECT_TRUE(factory->DropsAsAlias());
    banked.SetName("Renamed later"); // the factory kept its own copy
    DragOut(*factory);
    const auto events = ClipboardEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->GetName(), "Groove");
    // Not one of the song's patterns, so it cannot be aliased: it is copied.
    EXPECT_EQ(view.Named("WM_EVENT_BEGIN_DRAG").back().wParam, PatternFactory::kCopyTemplate);
}

TEST_F(FactoryTest, SectionsTakeTheChosenLength)
{
    auto* factory = Place<SectionFactory>();
    {
        auto chooser = Choose("1/2", [](QMenu& menu) { EXPECT_TRUE(IsChecked(menu, "4")); });
        test::OpenContextMenu(*factory);
    }
    DragOut(*factory);
    const auto events = ClipboardEvents();
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0]->GetType(), kSeqEventSection);
    EXPECT_EQ(events[0]->GetLength(), 960u);
}

TEST_F(FactoryTest, ZonesTravelAsSampleZoneList)
{
    InstrumentSampler sampler;
    auto* factory = Place<SamplerZoneFactory>();
    factory->SetTarget(&sampler);
    DragOut(*factory);
    EXPECT_TRUE(view.Named("WM_EVENT_BEGIN_DRAG").empty());
    ASSERT_EQ(view.Named("WM_ZONE_BEGIN_DRAG").size(), 1u);
    const auto bytes = EventClipboard::ReadBytes(EventClipboard::kSampleZoneListFormat);
    ASSERT_TRUE(bytes);
    const auto zones = sampler.ReadZoneList(*bytes);
    ASSERT_EQ(zones.size(), 1u);
    EXPECT_EQ(sampler.FirstZone(), nullptr); // nothing was placed by the drag itself
}

TEST_F(FactoryTest, DroppingAnObjectOnItsFactoryCutsItFromItsEditor)
{
    auto* notes = Place<NoteFactory>();
    auto* sections = Place<SectionFactory>();
    auto* patternEditor = new test::EditorStandIn(&view, "PatternEditor");
    patternEditor->Create(100, 10, 100, 100);
    view.AddElement(patternEditor);
    const WindowMessage drop = RegisterWindowMessage("WM_EVENT_DROP");
    SeqEventNote dragged;

    PostWindowMessage(sections, drop, reinterpret_cast<WParam>(patternEditor), reinterpret_cast<LParam>(&dragged));
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(view.Named("WM_CUT").empty()); // a section factory does not take notes

    PostWindowMessage(notes, drop, reinterpret_cast<WParam>(patternEditor), reinterpret_cast<LParam>(&dragged));
    QCoreApplication::sendPostedEvents();
    const auto cuts = view.Named("WM_CUT");
    ASSERT_EQ(cuts.size(), 1u);
    EXPECT_EQ(cuts[0].wParam, reinterpret_cast<WParam>(patternEditor));
    EXPECT_EQ(patternEditor->cuts, 1);

    const WParam gone = reinterpret_cast<WParam>(patternEditor);
    view.ClearElements(); // the editor is destroyed before a late drop arrives
    auto* late = Place<NoteFactory>();
    PostWindowMessage(late, drop, gone, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(view.Named("WM_CUT").size(), 1u);
}

// The whole gesture through the window system: the press grabs the pen for the factory, the
// factory hands the drag over, and the editor that took it receives the release.
TEST_F(FactoryTest, ADragPassesFromTheFactoryToTheEditorUnderTheWindowSystem)
{
    auto* factory = Place<NoteFactory>();
    auto* editor = new test::EditorStandIn(&view, "PatternEditor");
    editor->Create(120, 10, 150, 150);
    view.AddElement(editor);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QWindow* window = view.windowHandle();
    ASSERT_NE(window, nullptr);

    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(window, QPoint(40, 30));
    QTest::mouseMove(window, QPoint(90, 40)); // out of the factory: the drag begins
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(editor->dragsAnnounced, 1);
    QTest::mouseMove(window, QPoint(150, 60));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(160, 70));
    EXPECT_TRUE(editor->released);
    EXPECT_EQ(editor->releasedAt, QPoint(40, 60)); // in the editor's own coordinates
    const auto events = ClipboardEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->GetType(), kSeqEventNote);
    EXPECT_FALSE(factory->IsPressed());
}

TEST(EventClipboardTest, DamagedListsDecodeToNothing)
{
    SeqEventNote note;
    note.SetLength(10);
    std::vector<std::uint8_t> bytes = EventClipboard::EncodeEvents({&note});
    EXPECT_EQ(EventClipboard::DecodeEvents(bytes).size(), 1u);
    bytes.resize(bytes.size() - 3);
    EXPECT_TRUE(EventClipboard::DecodeEvents(bytes).empty());
    EXPECT_TRUE(EventClipboard::DecodeEvents({0xFF, 0xFF, 0xFF}).empty());
}

} // namespace
} // namespace jorvo
