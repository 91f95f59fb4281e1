// The piano keyboard, the sampler zone map and the scroller driven with pen input: velocity and
// note-off, edge scrolling, zoom and keys, zone selection, moving and placing zones, loading a
// sample and renaming a zone through the dialogs, and the scroller's repeat, step and clamping.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QWindow>

#include "document/Configuration.h"
#include "engine/InstrumentSampler.h"
#include "engine/SeqEventTarget.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/Sequencer.h"
#include "support/TestSupport.h"
#include "ui/EventClipboard.h"
#include "ui/ParameterEditor.h"
#include "ui/PianoKeyboard.h"
#include "ui/SamplerZoneMap.h"
#include "ui/Scroller.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(JORVO_SOURCE_DIR) / "samples";

struct HeardEvent {
    std::int32_t code;
    std::int32_t a;
    std::int32_t b;
    bool operator==(const HeardEvent&) const = default;
};

// A target that remembers every event and has one parameter, "Depth" (controller 1), whose range
// the test chooses.
class ListeningTarget : public SeqEventTarget {
public:
    ListeningTarget() { AddParameter(&depth); }
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t, std::int32_t) override
    {
        heard.push_back({code, a, b});
        if (code == depth.Number())
            depth.SetLive(a);
    }
    std::vector<HeardEvent> NotesHeard() const
    {
        std::vector<HeardEvent> notes;
        for (const HeardEvent& event : heard)
            if (event.code == 200 || event.code == 201)
                notes.push_back(event);
        return notes;
    }
    SeqParameter depth{"Depth", "Modulation depth", 1, 0, 1000, 500};
    std::vector<HeardEvent> heard;
};

WindowMessage Named(const char* name)
{
    return RegisterWindowMessage(name);
}

QPoint Centre(const QRect& rect)
{
    return rect.center();
}

class KeyboardTest : public ::testing::Test {
protected:
    KeyboardTest()
    {
        Configuration().SetTapNHoldDelay(60000); // no context menu while a test holds the pen
        view.resize(480, 200);
        keyboard = new PianoKeyboard(&view);
        keyboard->Create(0, 0, 480, 90);
        view.AddElement(keyboard);
        keyboard->SetTarget(&target);
        view.show();
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    ListeningTarget target;
    SkinView view;
    PianoKeyboard* keyboard;
};

TEST_F(KeyboardTest, KeysTileTheWidthWithSharpsOnTopStartingAtTheNaturalBelowFortyEight)
{
    const KeyboardLayout& layout = keyboard->Layout();
    EXPECT_EQ(layout.FirstVisible(), 48);
    EXPECT_EQ(layout.VisibleCount(), 24);
    EXPECT_EQ(layout.KeyRect(48).left(), 0);
    EXPECT_EQ(layout.KeyRect(71).right(), 479);
    int previousRight = -1;
    for (int key = 48; key <= 71; ++key) {
        if (KeyboardLayout::IsSharp(key))
            continue;
        EXPECT_EQ(layout.KeyRect(key).left(), previousRight + 1) << key;
        EXPECT_NEAR(layout.KeyRect(key).width(), 480 / 14, 1) << key;
        previousRight = layout.KeyRect(key).right();
    }
    // A sharp key lies over the line between its naturals and wins the hit test there.
    const QRect sharp = layout.KeyRect(49);
    EXPECT_LT(sharp.left(), layout.KeyRect(48).right());
    EXPECT_GT(sharp.right(), layout.KeyRect(50).left());
    EXPECT_LT(sharp.height(), layout.KeyRect(48).height());
    EXPECT_EQ(layout.KeyAt(Centre(sharp)), 49);
    EXPECT_EQ(layout.KeyAt({layout.KeyRect(48).left() + 2, 85}), 48);
    EXPECT_EQ(layout.KeyRect(47), QRect());
    EXPECT_EQ(layout.KeyAt({-3, 40}), KeyboardLayout::kNoKey);
}

TEST_F(KeyboardTest, ATapAtTheVeryTopOfAKeyPlaysItSilentlyAndStartsEdgeScrolling)
{
    const QRect key = keyboard->Layout().KeyRect(52);
    test::SendPen(*keyboard, QEvent::MouseButtonPress, {key.center().x(), key.top()});
    EXPECT_EQ(target.NotesHeard(), (std::vector<HeardEvent>{{200, 52, 0}}));
    EXPECT_TRUE(keyboard->IsEdgeScrolling());
    test::SendPen(*keyboard, QEvent::MouseButtonRelease, {key.center().x(), key.top()});
    EXPECT_EQ(target.NotesHeard().back(), (HeardEvent{201, 52, 0}));
    EXPECT_FALSE(keyboard->IsEdgeScrolling());
    EXPECT_EQ(keyboard->SoundingNote(), KeyboardLayout::kNoKey);
}

TEST_F(KeyboardTest, LowerOnTheKeyIsLouder)
{
    const QRect key = keyboard->Layout().KeyRect(60);
    EXPECT_EQ(keyboard->VelocityAt(60, key.top() + key.height() / 2), 63);
    EXPECT_EQ(keyboard->VelocityAt(60, key.bottom()), 89 * 127 / 90);
    EXPECT_EQ(keyboard->VelocityAt(60, key.bottom() + 30), 127);
    EXPECT_EQ(keyboard->VelocityAt(47, 50), 0); // not shown
    test::SendPen(*keyboard, QEvent::MouseButtonPress, {key.center().x(), key.bottom()});
    EXPECT_EQ(target.NotesHeard(), (std::vector<HeardEvent>{{200, 60, 89 * 127 / 90}}));
    EXPECT_FALSE(keyboard->IsEdgeScrolling());
}

TEST_F(KeyboardTest, ReleasingThePenAlwaysSilencesTheNote)
{
    const KeyboardLayout& layout = keyboard->Layout();
    const QPoint onC(layout.KeyRect(48).left() + 3, 80);
    const QPoint onD(layout.KeyRect(50).center().x(), 80);
    test::SendPen(*keyboard, QEvent::MouseButtonPress, onC);
    test::SendPen(*keyboard, QEvent::MouseMove, onD);
    test::SendPen(*keyboard, QEvent::MouseMove, {600, 80}); // off the keys: D keeps sounding
    test::SendPen(*keyboard, QEvent::MouseButtonRelease, {600, 80});
    const std::vector<HeardEvent> glide{{200, 48, 112}, {201, 48, 0}, {200, 50, 112}, {201, 50, 0}};
    EXPECT_EQ(target.NotesHeard(), glide);

    // Losing the pen (the element is hidden) ends the note as well.
    target.heard.clear();
    test::SendPen(*keyboard, QEvent::MouseButtonPress, onC);
    keyboard->hide();
    EXPECT_EQ(target.NotesHeard(), (std::vector<HeardEvent>{{200, 48, 112}, {201, 48, 0}}));
    EXPECT_EQ(keyboard->SoundingNote(), KeyboardLayout::kNoKey);
}

TEST_F(KeyboardTest, APenHeldLeftOfTheKeysScrollsDownAndPlaysTheEdgeKey)
{
    const QRect key = keyboard->Layout().KeyRect(48);
    test::SendPen(*keyboard, QEvent::MouseButtonPress, {key.center().x(), key.top()});
    test::SendPen(*keyboard, QEvent::MouseMove, {-20, 80});
    ASSERT_TRUE(keyboard->IsEdgeScrolling());
    QTest::qWait(1100);
    // One natural key per tick, the new edge key sounding (a slow machine may have ticked twice).
    const int afterFirstTick = keyboard->Layout().FirstVisible();
    EXPECT_TRUE(afterFirstTick == 47 || afterFirstTick == 45) << afterFirstTick;
    EXPECT_EQ(target.NotesHeard().back(), (HeardEvent{200, afterFirstTick, target.NotesHeard().back().b}));
    QTest::qWait(250);
    EXPECT_LT(keyboard->Layout().FirstVisible(), afterFirstTick);
    EXPECT_FALSE(KeyboardLayout::IsSharp(keyboard->Layout().FirstVisible()));
    EXPECT_EQ(keyboard->Layout().VisibleCount(), 24);
    test::SendPen(*keyboard, QEvent::MouseButtonRelease, {-20, 80});
    EXPECT_EQ(target.NotesHeard().back().code, 201);
    const int first = keyboard->Layout().FirstVisible();
    QTest::qWait(250);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), first);
}

TEST_F(KeyboardTest, ZoomMessagesAndKeysChangeTheVisibleKeys)
{
    SendWindowMessage(keyboard, Named("WM_ZOOM_IN_PITCH"), 0, 0);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 50);
    EXPECT_EQ(keyboard->Layout().LastVisible(), 69);
    for (int i = 0; i < 10; ++i)
        SendWindowMessage(keyboard, Named("WM_ZOOM_IN_PITCH"), 0, 0);
    EXPECT_LE(keyboard->Layout().VisibleCount(), 12);
    EXPECT_GE(keyboard->Layout().VisibleCount(), 10);
    keyboard->ShowKeys(48, 71);
    SendWindowMessage(keyboard, Named("WM_ZOOM_OUT_PITCH"), 0, 0);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 47);
    EXPECT_EQ(keyboard->Layout().LastVisible(), 72);

    keyboard->ShowKeys(0, 23);
    SendWindowMessage(keyboard, Named("WM_ZOOM_OUT_PITCH"), 0, 0);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 0);

    keyboard->ShowKeys(48, 71);
    QTest::keyClick(keyboard, Qt::Key_PageUp);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 24);
    QTest::keyClick(keyboard, Qt::Key_PageUp);
    QTest::keyClick(keyboard, Qt::Key_PageUp);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 0);
    QTest::keyClick(keyboard, Qt::Key_End);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 103);
    EXPECT_EQ(keyboard->Layout().LastVisible(), 126);
    QTest::keyClick(keyboard, Qt::Key_PageDown);
    EXPECT_LE(keyboard->Layout().LastVisible(), 127);
    EXPECT_FALSE(KeyboardLayout::IsSharp(keyboard->Layout().FirstVisible()));
    QTest::keyClick(keyboard, Qt::Key_Home);
    EXPECT_EQ(keyboard->Layout().FirstVisible(), 0);
}

// The sampler zone map ---------------------------------------------------------------------------

class ZoneMapTest : public ::testing::Test {
protected:
    ZoneMapTest()
    {
        Configuration().SetTapNHoldDelay(60000);
        Configuration().SetSampleDir(kSamples.string());
        for (const auto& [key, name] : std::vector<std::pair<int, std::string>>{{36, "Kick"}, {38, "Snare"}, {42, "HatClosed"}})
            sampler.CreateZone(key)->SetZoneSample("Drums/" + name + ".wav");
        view.resize(480, 200);
        map = new SamplerZoneMap(&view);
        map->Create(0, 0, 480, 110);
        view.AddElement(map);
        map->SetTarget(&sampler);
        map->ShowKeys(36, 59);
        shell.sentToTargets.clear(); // binding announced the zone it chose
    }

    // A point in the zone strip over `key`.
    QPoint StripPoint(int key) const
    {
        const KeyboardLayout& layout = map->Layout();
        return {(layout.SpanLeft(key) + layout.SpanRight(key)) / 2, map->ZoneStrip().center().y()};
    }

    // The messages the sampler sent its view, by name, with their key.
    std::vector<std::pair<std::string, WParam>> Announcements() const
    {
        std::vector<std::pair<std::string, WParam>> sent;
        for (const RecordedWindowMessage& message : shell.sentToTargets)
            sent.emplace_back(RegisteredMessageName(message.message).value_or("?"), message.wParam);
        return sent;
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    InstrumentSampler sampler;
    SkinView view;
    SamplerZoneMap* map;
};

TEST_F(ZoneMapTest, BindingChoosesTheLowestZoneOnlyWhenNoneIsActiveAndShowsIt)
{
    InstrumentSampler kit;
    kit.CreateZone(70);
    SampleZone* high = kit.CreateZone(90);
    SamplerZoneMap fresh(&view);
    fresh.Create(0, 200, 480, 110);
    fresh.SetTarget(&kit);
    ASSERT_NE(kit.ActiveZone(), nullptr);
    EXPECT_EQ(kit.ActiveZone()->Key(), 70);
    EXPECT_EQ(fresh.Layout().FirstVisible(), 69); // the natural key at or below the zone

    kit.SetActiveZone(high);
    fresh.SetTarget(nullptr);
    fresh.SetTarget(&kit);
    EXPECT_EQ(kit.ActiveZone(), high);
    EXPECT_EQ(fresh.Layout().FirstVisible(), 89);
}

TEST_F(ZoneMapTest, TouchingAKeyPlaysItAndMakesItsZoneActive)
{
    ASSERT_TRUE(shell.messages.empty()) << shell.LastMessage(); // the kit's samples loaded
    const QRect key = map->Layout().KeyRect(40);
    test::SendPen(*map, QEvent::MouseButtonPress, {key.center().x(), key.bottom() - 2});
    EXPECT_EQ(map->SoundingNote(), 40);
    ASSERT_NE(sampler.ActiveZone(), nullptr);
    EXPECT_EQ(sampler.ActiveZone()->Name(), "Snare");
    EXPECT_EQ(map->SelectedZone(), sampler.ActiveZone());
    const std::vector<std::pair<std::string, WParam>> announced{{"WM_SET_EVENT_TYPE_HIGH", 38},
                                                               {"WM_SET_ACTIVE_SAMPLER_ZONE", 38}};
    EXPECT_EQ(Announcements(), announced);
    test::SendPen(*map, QEvent::MouseButtonRelease, {key.center().x(), key.bottom() - 2});
    EXPECT_EQ(map->SoundingNote(), KeyboardLayout::kNoKey);

    // A key below every zone keeps the selection.
    shell.sentToTargets.clear();
    map->ShowKeys(24, 47);
    const QRect low = map->Layout().KeyRect(26);
    test::SendPen(*map, QEvent::MouseButtonPress, {low.center().x(), low.bottom() - 2});
    test::SendPen(*map, QEvent::MouseButtonRelease, {low.center().x(), low.bottom() - 2});
    EXPECT_EQ(sampler.ActiveZone()->Name(), "Snare");
    EXPECT_TRUE(shell.sentToTargets.empty());
}

TEST_F(ZoneMapTest, AZoneDraggedToAnotherKeyMovesThereAndStaysActive)
{
    SampleZone* snare = sampler.ZoneAt(38);
    test::SendPen(*map, QEvent::MouseButtonPress, StripPoint(38));
    EXPECT_EQ(map->CurrentMode(), SamplerZoneMap::Mode::MovingZone);
    EXPECT_EQ(map->SoundingNote(), KeyboardLayout::kNoKey); // grabbing a zone plays nothing
    test::SendPen(*map, QEvent::MouseMove, StripPoint(39));
    test::SendPen(*map, QEvent::MouseMove, StripPoint(40));
    shell.sentToTargets.clear();
    test::SendPen(*map, QEvent::MouseButtonRelease, StripPoint(40));
    EXPECT_EQ(snare->Key(), 40);
    EXPECT_EQ(sampler.ZoneAt(40), snare);
    EXPECT_EQ(sampler.ZoneAt(41), snare);
    EXPECT_EQ(sampler.ZoneAt(38), sampler.ZoneAt(36)); // the kick grows up to the snare
    EXPECT_EQ(sampler.ActiveZone(), snare);
    // The controls rebind to the zone's new key.
    EXPECT_EQ(Announcements().front(), (std::pair<std::string, WParam>{"WM_SET_EVENT_TYPE_HIGH", 40}));
    EXPECT_EQ(map->CurrentMode(), SamplerZoneMap::Mode::None);

    // Onto the first key of another zone: refused, nothing moves.
    test::SendPen(*map, QEvent::MouseButtonPress, StripPoint(40));
    test::SendPen(*map, QEvent::MouseMove, StripPoint(42));
    test::SendPen(*map, QEvent::MouseButtonRelease, StripPoint(42));
    EXPECT_EQ(snare->Key(), 40);
    EXPECT_EQ(sampler.ZoneAt(42)->Name(), "HatClosed");
}

TEST_F(ZoneMapTest, AZoneFromTheFactoryIsPlacedWhereThePenIsReleased)
{
    InstrumentSampler other;
    SampleZone* cowbell = other.CreateZone(60);
    cowbell->SetZoneName("Cowbell");
    cowbell->SetAutoName(false);
    const std::vector<std::uint8_t> bytes = InstrumentSampler::WriteZoneList({cowbell});
    const auto offer = [&] {
        EventClipboard::PutBytes(EventClipboard::kSampleZoneListFormat, bytes);
        // The factory broadcasts the pen's screen position as x × 65536 + y.
        const QPoint screen = map->mapToGlobal(QPoint(470, 60));
        SendWindowMessage(map, Named("WM_ZONE_BEGIN_DRAG"), 0, LParam(screen.x()) * 65536 + screen.y());
    };

    offer();
    EXPECT_EQ(map->CurrentMode(), SamplerZoneMap::Mode::PlacingZone);
    test::SendPen(*map, QEvent::MouseMove, StripPoint(50));
    test::SendPen(*map, QEvent::MouseButtonRelease, {StripPoint(52).x(), 80});
    ASSERT_NE(sampler.ZoneAt(52), nullptr);
    EXPECT_EQ(sampler.ZoneAt(52)->Name(), "Cowbell");
    EXPECT_EQ(sampler.ZoneAt(52)->Key(), 52);
    EXPECT_EQ(sampler.ActiveZone(), sampler.ZoneAt(52));
    EXPECT_EQ(sampler.ZoneAt(51)->Name(), "HatClosed");

    // Released off the keys, the zone is dropped.
    offer();
    test::SendPen(*map, QEvent::MouseMove, {200, 300});
    test::SendPen(*map, QEvent::MouseButtonRelease, {200, 300});
    int zones = 0;
    for (SampleZone* zone = sampler.FirstZone(); zone; zone = sampler.NextZone(*zone))
        ++zones;
    EXPECT_EQ(zones, 4);
    EXPECT_EQ(map->CurrentMode(), SamplerZoneMap::Mode::None);
}

// Plays the zone factory's side of a drop: a zone map's zone dropped here is cut.
class FactoryProbe : public UIElement {
public:
    using UIElement::UIElement;
    std::string GetClassName() const override { return "SamplerZoneFactory"; }
    int drops = 0;

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override
    {
        if (message != Named("WM_EVENT_DROP"))
            return UIElement::OnWindowMessage(message, wParam, lParam);
        ++drops;
        PostWindowMessage(reinterpret_cast<QObject*>(wParam), Named("WM_CUT"), wParam, 0);
        return true;
    }
};

TEST_F(ZoneMapTest, AZoneDroppedOnTheFactoryIsDeleted)
{
    auto* factory = new FactoryProbe(&view);
    factory->Create(10, 150, 60, 40);
    view.AddElement(factory);
    test::SendPen(*map, QEvent::MouseButtonPress, StripPoint(38));
    const QPoint onFactory = map->mapFrom(&view, QPoint(30, 170));
    test::SendPen(*map, QEvent::MouseMove, onFactory);
    shell.sentToTargets.clear();
    test::SendPen(*map, QEvent::MouseButtonRelease, onFactory);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(factory->drops, 1);
    EXPECT_EQ(sampler.ZoneAt(38), sampler.ZoneAt(36)); // the kick reaches up again
    EXPECT_EQ(sampler.ActiveZone(), nullptr);
    EXPECT_EQ(Announcements().back(), (std::pair<std::string, WParam>{"WM_SET_ACTIVE_SAMPLER_ZONE", 128}));

    // Released elsewhere outside the map, nothing is offered and the zone stays.
    test::SendPen(*map, QEvent::MouseButtonPress, StripPoint(42));
    test::SendPen(*map, QEvent::MouseButtonRelease, map->mapFrom(&view, QPoint(300, 190)));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(factory->drops, 1);
    EXPECT_EQ(sampler.ZoneAt(42)->Name(), "HatClosed");
}

// Plays the zone factory's side of a drag: once the pen leaves it, a zone goes on the clipboard
// and the drag is announced to the view.
class ZoneSourceProbe : public UIElement {
public:
    ZoneSourceProbe(QWidget* parent, std::vector<std::uint8_t> zoneList) : UIElement(parent), zoneList_(std::move(zoneList)) {}

protected:
    void PenMove(const QPoint& point) override
    {
        UIElement::PenMove(point);
        if (announced_ || rect().contains(point))
            return;
        announced_ = true;
        EventClipboard::PutBytes(EventClipboard::kSampleZoneListFormat, zoneList_);
        const QPoint screen = mapToGlobal(point);
        OwningView()->Broadcast(RegisterWindowMessage("WM_ZONE_BEGIN_DRAG"), 0, LParam(screen.x()) * 65536 + screen.y());
    }

private:
    std::vector<std::uint8_t> zoneList_;
    bool announced_ = false;
};

TEST_F(ZoneMapTest, AZoneDragPassesFromTheFactoryToTheMapUnderTheWindowSystem)
{
    InstrumentSampler other;
    SampleZone* bongo = other.CreateZone(60);
    bongo->SetZoneName("Bongo");
    auto* source = new ZoneSourceProbe(&view, InstrumentSampler::WriteZoneList({bongo}));
    source->Create(10, 140, 50, 40);
    view.AddElement(source);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QWindow* window = view.windowHandle();
    ASSERT_NE(window, nullptr);

    const QPoint target = map->mapTo(&view, StripPoint(54)) + QPoint(0, 40);
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(30, 160));
    QTest::mouseMove(window, QPoint(40, 150));
    QTest::mouseMove(window, QPoint(80, 120)); // out of the source: the drag begins
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(map->CurrentMode(), SamplerZoneMap::Mode::PlacingZone);
    QTest::mouseMove(window, target);
    QTest::mouseRelease(window, Qt::LeftButton, {}, target);
    ASSERT_NE(sampler.ZoneAt(54), nullptr);
    EXPECT_EQ(sampler.ZoneAt(54)->Name(), "Bongo");
    EXPECT_EQ(sampler.ZoneAt(54)->Key(), 54);
    EXPECT_EQ(map->CurrentMode(), SamplerZoneMap::Mode::None);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ZoneMapTest, LoadSampleOpensTheBrowserAndTakesTheChosenFileRelativeToTheSampleFolder)
{
    SampleZone* empty = sampler.CreateZone(48);
    sampler.SetActiveZone(empty);
    SendWindowMessage(map, Named("WM_SEL_SAMPLE_FILENAME"), 0, 0);
    ASSERT_EQ(shell.fileBrowserRequests.size(), 1u);
    EXPECT_EQ(shell.fileBrowserRequests[0].requester, map);
    EXPECT_EQ(shell.fileBrowserRequests[0].startPath, kSamples.string());

    const std::string chosen = (kSamples / "Drums" / "Crash.wav").string();
    shell.sentToTargets.clear();
    SendWindowMessage(map, Named("WM_TREE_DLG_SEL_PATH"), reinterpret_cast<WParam>(chosen.c_str()), 0);
    EXPECT_EQ(empty->Snapshot().fileName, "Drums/Crash.wav");
    EXPECT_EQ(empty->Name(), "Crash");
    EXPECT_EQ(Announcements().back(), (std::pair<std::string, WParam>{"WM_SET_ACTIVE_SAMPLER_ZONE", 48}));

    // The browser opens on the zone's sample next time.
    map->ChooseSample();
    EXPECT_EQ(shell.fileBrowserRequests.back().startPath, chosen);

    // A file that is not a sample is reported and changes nothing.
    test::TempDir temp;
    const std::string bad = (temp / "notes.txt").string();
    test::WriteFileBytes(bad, "not audio");
    EXPECT_FALSE(map->LoadSample(bad));
    EXPECT_FALSE(shell.messages.empty());
    EXPECT_EQ(empty->Snapshot().fileName, "Drums/Crash.wav");
}

TEST_F(ZoneMapTest, RenameZoneAsksForTheNameAndKeepsIt)
{
    sampler.SetActiveZone(sampler.ZoneAt(36));
    shell.nameAnswers.push_back(std::string("Big Kick"));
    SendWindowMessage(map, Named("WM_SEL_SAMPLER_ZONENAME"), 0, 0);
    ASSERT_EQ(shell.prompts.size(), 1u);
    EXPECT_EQ(shell.prompts[0].title, "Rename Zone");
    EXPECT_EQ(shell.prompts[0].initialText, "Kick");
    EXPECT_EQ(sampler.ZoneAt(36)->Name(), "Big Kick");
    // A name given by hand survives loading another sample.
    EXPECT_TRUE(map->LoadSample((kSamples / "Drums" / "TomLow.wav").string()));
    EXPECT_EQ(sampler.ZoneAt(36)->Name(), "Big Kick");

    shell.nameAnswers.push_back(std::nullopt);
    EXPECT_FALSE(map->RenameZone());
    EXPECT_EQ(sampler.ZoneAt(36)->Name(), "Big Kick");
}

// The sampler's screen parts with the drum kit, for a person to look at.
TEST_F(ZoneMapTest, SamplerScreenWithTheDrumKit)
{
    for (const auto& [key, name] : std::vector<std::pair<int, std::string>>{
             {39, "Clap"}, {45, "TomLow"}, {46, "HatOpen"}, {48, "TomHigh"}, {49, "Crash"}})
        ASSERT_TRUE(sampler.CreateZone(key)->SetZoneSample("Drums/" + name + ".wav"));
    view.resize(480, 300);
    view.setStyleSheet("background-color: rgb(32, 35, 41);");
    map->Create(0, 20, 480, 110);
    map->ShowKeys(36, 59);
    auto* keyboard = new PianoKeyboard(&view);
    keyboard->Create(0, 150, 480, 90);
    view.AddElement(keyboard);
    keyboard->SetTarget(&sampler);
    auto* scroller = new Scroller(&view);
    scroller->Create(380, 255, 90, 36);
    view.AddElement(scroller);
    scroller->SetTarget(&sampler);
    view.show();

    test::SendPen(*map, QEvent::MouseButtonPress, StripPoint(38));
    test::SendPen(*map, QEvent::MouseButtonRelease, StripPoint(38));
    scroller->SetEventCode(static_cast<std::uint16_t>((38 << 8) | SampleZone::kCodePan));
    ASSERT_NE(scroller->Parameter(), nullptr);
    const QRect pressed = keyboard->Layout().KeyRect(62);
    test::SendPen(*keyboard, QEvent::MouseButtonPress, {pressed.center().x(), pressed.bottom() - 10});
    view.grab().save(JORVO_TEST_OUTPUT_DIR "/sampler_drum_kit.png");
    test::SendPen(*keyboard, QEvent::MouseButtonRelease, {pressed.center().x(), pressed.bottom() - 10});

    // Dragging a zone shows where it would land.
    test::SendPen(*map, QEvent::MouseButtonPress, StripPoint(42));
    test::SendPen(*map, QEvent::MouseMove, StripPoint(52));
    map->grab().save(JORVO_TEST_OUTPUT_DIR "/sampler_zone_drag.png");
    test::SendPen(*map, QEvent::MouseButtonRelease, StripPoint(52));
    EXPECT_EQ(sampler.ZoneAt(52)->Name(), "HatClosed");
}

// The scroller -------------------------------------------------------------------------------------

class ScrollerTest : public ::testing::Test {
protected:
    ScrollerTest()
    {
        Configuration().SetTapNHoldDelay(60000);
        view.resize(200, 200);
        scroller = new Scroller(&view);
        scroller->Create(60, 80, 80, 40);
        view.AddElement(scroller);
        scroller->SetEventCode(1);
        scroller->SetTarget(&target);
    }

    std::int32_t Value() const { return target.depth.LiveValue(); }

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    ListeningTarget target;
    SkinView view;
    Scroller* scroller;
};

TEST_F(ScrollerTest, HeldFortyFivePixelsAboveTheIncrementButtonStepsByAHundred)
{
    const QRect increment = scroller->IncrementArea();
    test::SendPen(*scroller, QEvent::MouseButtonPress, increment.center());
    EXPECT_EQ(Value(), 501);
    test::SendPen(*scroller, QEvent::MouseMove, {increment.center().x(), increment.top() - 45});
    EXPECT_EQ(scroller->Step(), 100);
    QTest::qWait(350);
    EXPECT_GE(Value(), 601);
    QTest::qWait(220);
    EXPECT_GE(Value(), 701);
    EXPECT_EQ((Value() - 501) % 100, 0); // every tick a step of 100
    test::SendPen(*scroller, QEvent::MouseButtonRelease, {increment.center().x(), increment.top() - 45});
    const std::int32_t released = Value();
    QTest::qWait(250);
    EXPECT_EQ(Value(), released);
    EXPECT_EQ(target.depth.StoredValue(), released); // the change belongs to the document
}

TEST_F(ScrollerTest, TheDecrementButtonStepsDownFasterBelowItAndStopsAtTheMinimum)
{
    target.depth.SetLive(3);
    scroller->Refresh();
    const QRect decrement = scroller->DecrementArea();
    test::SendPen(*scroller, QEvent::MouseButtonPress, decrement.center());
    EXPECT_EQ(Value(), 2);
    test::SendPen(*scroller, QEvent::MouseMove, {decrement.center().x(), decrement.bottom() + 19});
    EXPECT_EQ(scroller->Step(), -1);
    test::SendPen(*scroller, QEvent::MouseMove, {decrement.center().x(), decrement.bottom() + 20});
    EXPECT_EQ(scroller->Step(), -10);
    const std::size_t heard = target.heard.size();
    QTest::qWait(350);
    EXPECT_EQ(Value(), 0);
    QTest::qWait(250);
    EXPECT_EQ(target.heard.size(), heard + 1); // nothing more is sent at the minimum
    test::SendPen(*scroller, QEvent::MouseButtonRelease, decrement.center());
}

TEST_F(ScrollerTest, AtTheMaximumNothingIsSentAndWithoutAParameterNothingAtAll)
{
    target.depth.SetLive(1000);
    scroller->Refresh();
    test::SendPen(*scroller, QEvent::MouseButtonPress, scroller->IncrementArea().center());
    test::SendPen(*scroller, QEvent::MouseButtonRelease, scroller->IncrementArea().center());
    EXPECT_TRUE(target.heard.empty());

    scroller->SetEventCode(99); // not a parameter of the target
    test::SendPen(*scroller, QEvent::MouseButtonPress, scroller->DecrementArea().center());
    test::SendPen(*scroller, QEvent::MouseButtonRelease, scroller->DecrementArea().center());
    EXPECT_TRUE(target.heard.empty());
}

// Skins --------------------------------------------------------------------------------------------

TEST(KeyboardSkin, TheElementsLoadFromASkinWithTheirAttributes)
{
    RecordingShell shell;
    ScopedShell scoped(shell);
    test::TempDir skins;
    Configuration().SetSkinsDir(skins.path().string());
    fs::create_directories(skins / "Keys");
    test::WriteFileBytes(skins / "Keys" / "Keys.skin",
                         "<View Name=\"Keys\"><UIElementList>"
                         "<Piano Class=\"PianoKeyboard\" Left=\"0\" Top=\"0\" Width=\"280\" Height=\"60\" "
                         "NaturalNoteColour=\"#FF0000\" DrawNoteDivisions=\"False\"/>"
                         "<Zones Class=\"SamplerZoneMap\" Left=\"0\" Top=\"70\" Width=\"280\" Height=\"100\"/>"
                         "<Step Class=\"Scroller\" Left=\"0\" Top=\"180\" Width=\"60\" Height=\"30\" Event=\"PAN\" "
                         "TextClr=\"#00FF00\"/>"
                         "<Automation Class=\"ParameterEditor\" Left=\"0\" Top=\"220\" Width=\"280\" Height=\"150\" "
                         "Quantize=\"2\" FollowCarat=\"True\"/>"
                         "</UIElementList></View>");
    SkinView view;
    view.resize(300, 400);
    ASSERT_TRUE(view.LoadSkin("Keys", "View"));
    EXPECT_TRUE(shell.messages.empty()) << shell.LastMessage();
    ASSERT_EQ(view.Elements().size(), 4u);
    auto* piano = dynamic_cast<PianoKeyboard*>(view.Elements()[0]);
    auto* zones = dynamic_cast<SamplerZoneMap*>(view.Elements()[1]);
    auto* step = dynamic_cast<Scroller*>(view.Elements()[2]);
    auto* automation = dynamic_cast<ParameterEditor*>(view.Elements()[3]);
    ASSERT_TRUE(piano && zones && step && automation);
    EXPECT_EQ(piano->Layout().Area(), QRect(0, 0, 280, 60));
    EXPECT_EQ(zones->Layout().Area().bottom(), 99);
    EXPECT_GT(zones->Layout().Area().top(), zones->ZoneStrip().bottom());
    EXPECT_EQ(step->EventCode(), 10);
    EXPECT_EQ(automation->QuantizeSetting(), 2);
    EXPECT_TRUE(automation->Follows());
    const QImage picture = piano->grab().toImage();
    EXPECT_EQ(picture.pixelColor(5, 55), QColor(255, 0, 0));
}

} // namespace
} // namespace jorvo
