// The pattern lanes of a section driven with the pen and the commands: lanes in mixer order,
// colours by target class, moving between lanes, resizing, placing patterns from the factory,
// drop-to-delete, Alias / Replicate / Fill / Make Unique, the play range and renaming; and a
// screen of the demo song's chorus.
#include <algorithm>

#include <gtest/gtest.h>
#include <QTest>

#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventPattern.h"
#include "ui/EditorTestSupport.h"
#include "ui/EventClipboard.h"
#include "ui/InPlaceNameEditor.h"
#include "ui/SectionEditor.h"
#include "ui/UiTestSupport.h"

namespace jorvo {
namespace {

using test::Bars;
using test::Deliver;
using test::PackScreenPoint;
using test::SendPen;

class SectionEditorTest : public ::testing::Test {
protected:
    // Two instruments and one effect; a four-bar section "Verse" at bar 2 of the song holding the
    // one-bar pattern "Bass" at its start, for the first instrument.
    SectionEditorTest()
    {
        first = studio.AddInstrument("DefaultInstrument");
        second = studio.AddInstrument("DefaultInstrument");
        effect = studio.AddEffect("Delay");
        section = sequencer.CreateSection("Verse");
        section->SetLength(Bars(4));
        bass = sequencer.CreatePattern("Bass");
        {
            Sequencer::EditLock lock(sequencer);
            sequencer.GetSong()->AddPlacement(section, Bars(2));
            section->AddPlacement(bass, first, 0);
        }
        sequencer.SetActiveSection(sequencer.GetSong()->Placements().front().get());
        view.resize(480, 640);
        editor = new SectionEditor(&view);
        editor->Create(0, 0, 480, 400);
        view.AddElement(editor);
        view.show();
        editor->SetVisibleTime(0, Bars(4));
    }

    std::vector<PatternPlacement*> Placements() const
    {
        std::vector<PatternPlacement*> list;
        section->CopyPlacementsTo(list);
        return list;
    }

    std::vector<std::uint32_t> Offsets() const
    {
        std::vector<std::uint32_t> offsets;
        for (const PatternPlacement* placement : Placements())
            offsets.push_back(placement->offset);
        return offsets;
    }

    PatternPlacement* Add(SeqEventPattern* pattern, SeqEventTarget* target, std::uint32_t offset)
    {
        PatternPlacement* placement = nullptr;
        {
            Sequencer::EditLock lock(sequencer);
            placement = section->AddPlacement(pattern, target, offset);
        }
        editor->SetVisibleTime(editor->FirstVisibleTime(), editor->VisibleSpan()); // rebuild
        return placement;
    }

    void Tap(QPoint point)
    {
        SendPen(*editor, QEvent::MouseButtonPress, point);
        SendPen(*editor, QEvent::MouseButtonRelease, point);
    }

    // Selects `placement` with a tap in its block's body.
    void SelectByPen(const PatternPlacement& placement)
    {
        const QRect block = editor->BlockRect(placement);
        Tap({block.left() + block.width() / 3, block.bottom() - 4});
        ASSERT_EQ(editor->Selected(), &placement);
    }

    int LaneOf(const SeqEventTarget* target) const { return editor->LaneOfTarget(target); }

    // The first x in the grid whose time lies in [from, to].
    int XForTime(std::uint32_t from, std::uint32_t to) const
    {
        for (int x = editor->GridRect().left(); x <= editor->GridRect().right(); ++x)
            if (editor->XToTime(x) >= from && editor->XToTime(x) <= to)
                return x;
        ADD_FAILURE() << "no x for " << from << "…" << to;
        return 0;
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    Sequencer& sequencer = studio.GetSequencer();
    Instrument* first = nullptr;
    Instrument* second = nullptr;
    Effect* effect = nullptr;
    SeqEventSection* section = nullptr;
    SeqEventPattern* bass = nullptr;
    SkinView view;
    SectionEditor* editor = nullptr;
};

TEST_F(SectionEditorTest, LanesFollowTheMixerOrderAndTheSectionStart)
{
    Mixer& mixer = studio.GetMixer();
    const std::vector<SeqEventTarget*> expected = {first, mixer.ChannelOf(*first), second, mixer.ChannelOf(*second),
                                                   effect, mixer.BussOf(*effect), &mixer};
    EXPECT_EQ(editor->Lanes(), expected);
    EXPECT_EQ(editor->Section(), section);
    EXPECT_EQ(editor->FirstVisibleTime(), Bars(2));
    EXPECT_EQ(editor->VisibleSpan(), Bars(4)); // the 16 bars asked for are cut to the section
    // Seven lanes do not fit the six shown at first; one more lane is left for targetless blocks.
    EXPECT_EQ(editor->VisibleLanes(), 6);
    Add(bass, nullptr, Bars(2));
    EXPECT_EQ(editor->Lanes().size(), 8u);
    EXPECT_EQ(editor->Lanes().back(), nullptr);
}

TEST_F(SectionEditorTest, BlocksAreColouredByTheirTargetsClass)
{
    Mixer& mixer = studio.GetMixer();
    editor->SetLaneRange(0, 8);
    SeqEventPattern* empty = sequencer.CreatePattern("Empty");
    Add(empty, mixer.BussOf(*effect), Bars(1));
    Add(empty, nullptr, Bars(2));
    Add(empty, &mixer, Bars(3));
    const QImage screen = editor->grab().toImage();
    auto bodyColour = [&](const PatternPlacement& placement) {
        const QRect block = editor->BlockRect(placement);
        return QColor(screen.pixel(block.center().x(), block.bottom() - 3));
    };
    const std::vector<PatternPlacement*> list = Placements();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(bodyColour(*list[0]), QColor(200, 150, 255)); // instrument
    EXPECT_EQ(bodyColour(*list[1]), QColor(200, 220, 255)); // buss
    EXPECT_EQ(bodyColour(*list[2]), QColor(Qt::white));     // no target
    EXPECT_EQ(bodyColour(*list[3]), QColor(220, 220, 255)); // master
}

TEST_F(SectionEditorTest, AliasTimesFourStopsAtTheSectionsEnd)
{
    SelectByPen(*Placements().front());
    editor->RunCommand("Alias x 4");
    EXPECT_EQ(Offsets(), (std::vector<std::uint32_t>{0, Bars(1), Bars(2), Bars(3)}));
    for (const PatternPlacement* placement : Placements()) {
        EXPECT_EQ(placement->pattern, bass);
        EXPECT_EQ(placement->target, first);
    }
    EXPECT_TRUE(sequencer.IsPatternAliased(bass));
    // Nothing fits after the last bar: "x 1" from there places nothing.
    SelectByPen(*Placements().back());
    editor->RunCommand("Alias x 1");
    EXPECT_EQ(Placements().size(), 4u);
}

TEST_F(SectionEditorTest, ReplicateMakesIndependentCopiesAndXOnePullsBackToTheEnd)
{
    bass->SetLength(Bars(1) + Bars(1) / 2); // one and a half bars
    editor->SetVisibleTime(0, Bars(4));
    SelectByPen(*Placements().front());
    editor->RunCommand("Replicate x 8");
    // One copy at 1.5 bars: the next would end after the section.
    ASSERT_EQ(Offsets(), (std::vector<std::uint32_t>{0, Bars(1) + Bars(1) / 2}));
    EXPECT_NE(Placements()[1]->pattern, bass);
    EXPECT_EQ(Placements()[1]->pattern->GetLength(), bass->GetLength());
    EXPECT_FALSE(sequencer.IsPatternAliased(bass));
    // "x 1" from the copy: 3 bars would run past the end, so the copy lands on the last start
    // that fits (2.5 bars).
    SelectByPen(*Placements()[1]);
    editor->RunCommand("Replicate x 1");
    ASSERT_EQ(Placements().size(), 3u);
    EXPECT_EQ(Placements()[2]->offset, Bars(4) - bass->GetLength());
}

TEST_F(SectionEditorTest, ContextMenusOfABlockAndOfAnEmptyPlace)
{
    editor->SetQuantize(0);
    std::vector<std::string> entries = test::ContextMenuEntries(*editor, {400, editor->LaneRect(5).center().y()});
    EXPECT_EQ(entries, (std::vector<std::string>{"Follow*", "Edit Song", "Loop Active Section*", "Loop Active Pattern",
                                                 "Rename", "Quantize", "Quantize/Off*", "Quantize/1", "Quantize/1/2",
                                                 "Quantize/1/3", "Quantize/1/4"}));
    SelectByPen(*Placements().front());
    const QPoint onBlock = editor->BlockRect(*Placements().front()).center();
    entries = test::ContextMenuEntries(*editor, onBlock);
    ASSERT_GE(entries.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + 7),
              (std::vector<std::string>{"Edit Notes", "Edit Parameters", "Loop Active Pattern", "&Rename..",
                                        "Set as Factory Template", "Alias", "Alias/x 1"}));
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Replicate/Fill"), entries.end());
    EXPECT_EQ(std::find(entries.begin(), entries.end(), "Make Unique"), entries.end());
    // An aliased pattern offers "Make Unique".
    editor->RunCommand("Alias x 1");
    entries = test::ContextMenuEntries(*editor, onBlock);
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Make Unique"), entries.end());
}

// A right click has no pen down before it, yet it must act on the block under it as a
// tap-and-hold there does.
TEST_F(SectionEditorTest, ARightClickChoosesTheBlockUnderItForItsMenu)
{
    ASSERT_EQ(editor->Selected(), nullptr);
    const QPoint onBlock = editor->BlockRect(*Placements().front()).center();
    std::vector<std::string> entries = test::ContextMenuEntries(*editor, onBlock);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), "Edit Notes");
    EXPECT_EQ(editor->Selected(), Placements().front());

    entries = test::ContextMenuEntries(*editor, {400, editor->LaneRect(5).center().y()});
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), "Follow*");
    EXPECT_EQ(editor->Selected(), nullptr);
}

TEST_F(SectionEditorTest, FillStopsBeforeTheNextPatternOfTheSameLane)
{
    SeqEventPattern* drums = sequencer.CreatePattern("Drums");
    Add(drums, second, Bars(1));  // another lane: no stop there
    Add(drums, first, Bars(3));   // the same lane: the fill ends before it
    SelectByPen(*Placements().front());
    editor->RunCommand("Alias Fill");
    std::vector<std::uint32_t> onFirstLane;
    for (const PatternPlacement* placement : Placements())
        if (placement->target == first)
            onFirstLane.push_back(placement->offset);
    EXPECT_EQ(onFirstLane, (std::vector<std::uint32_t>{0, Bars(1), Bars(2), Bars(3)}));
    EXPECT_EQ(Placements().size(), 5u);
}

TEST_F(SectionEditorTest, MakeUniqueReplacesOnlyTheSelectedAlias)
{
    SelectByPen(*Placements().front());
    editor->RunCommand("Alias x 2");
    ASSERT_EQ(Placements().size(), 3u);
    PatternPlacement* middle = Placements()[1];
    SelectByPen(*middle);
    editor->RunCommand("Make Unique");
    const std::vector<PatternPlacement*> list = Placements();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->pattern, bass);
    EXPECT_EQ(list[2]->pattern, bass);
    EXPECT_NE(list[1]->pattern, bass);
    EXPECT_EQ(list[1]->offset, Bars(1));
    EXPECT_EQ(list[1]->target, first);
    EXPECT_EQ(editor->Selected(), list[1]);
    EXPECT_NE(sequencer.FindPattern(list[1]->pattern->GetName()), nullptr);
}

TEST_F(SectionEditorTest, MovingABlockToAnotherLaneChangesItsTarget)
{
    PatternPlacement* placement = Placements().front();
    const QRect block = editor->BlockRect(*placement);
    const QPoint grip(block.left() + 4, block.bottom() - 4);
    SendPen(*editor, QEvent::MouseButtonPress, grip);
    const int lane = LaneOf(effect);
    const QPoint target(XForTime(Bars(3) + 10, Bars(3) + 40) + 4, editor->LaneRect(lane).bottom() - 4);
    SendPen(*editor, QEvent::MouseMove, target);
    SendPen(*editor, QEvent::MouseButtonRelease, target);
    EXPECT_EQ(placement->target, effect);
    EXPECT_EQ(placement->offset, Bars(1)); // quantized to the grid, relative to the section
}

TEST_F(SectionEditorTest, TheResizeHandleChangesThePatternsLength)
{
    editor->SetQuantize(1);
    PatternPlacement* placement = Placements().front();
    const QRect block = editor->BlockRect(*placement);
    const QPoint handle(block.right() - 2, block.bottom() - 3);
    SendPen(*editor, QEvent::MouseButtonPress, handle);
    ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Resizing);
    const QPoint end(XForTime(Bars(4) - 30, Bars(4) + 30), handle.y());
    SendPen(*editor, QEvent::MouseMove, end);
    SendPen(*editor, QEvent::MouseButtonRelease, end);
    EXPECT_EQ(bass->GetLength(), Bars(2));
    // The handle is below the block's title line only: a press there moves instead.
    SendPen(*editor, QEvent::MouseButtonPress, {editor->BlockRect(*placement).right() - 2, block.top() + 3});
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::None);
    SendPen(*editor, QEvent::MouseButtonRelease, {editor->BlockRect(*placement).right() - 2, block.top() + 3});
}

TEST_F(SectionEditorTest, PatternsDraggedFromTheFactoryArePlacedNewAliasedOrCopied)
{
    SeqEventPattern fresh;
    fresh.SetName("Pattern");
    fresh.SetLength(Bars(1));
    const int lane = LaneOf(second);
    auto dropAt = [&](SeqEventPattern& pattern, WParam kind, std::uint32_t time) {
        ASSERT_TRUE(EventClipboard::PutEvents({&pattern}));
        const QPoint point(XForTime(time, time + 40) + 1, editor->LaneRect(lane).center().y());
        Deliver(*editor, UIWindowMessages::kEventBeginDrag, kind, PackScreenPoint(*editor, {5, 5}));
        ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Placing);
        SendPen(*editor, QEvent::MouseMove, point);
        SendPen(*editor, QEvent::MouseButtonRelease, point);
    };
    dropAt(fresh, 0, Bars(2));
    ASSERT_EQ(Placements().size(), 2u);
    PatternPlacement* placed = Placements()[1];
    EXPECT_EQ(placed->target, second);
    EXPECT_EQ(placed->offset, 0u);
    EXPECT_EQ(sequencer.FindPattern(placed->pattern->GetName()), placed->pattern);
    EXPECT_EQ(editor->Selected(), placed);

    dropAt(*bass, 1, Bars(3)); // the template aliased
    EXPECT_EQ(Placements().back()->pattern, bass);
    EXPECT_EQ(Placements().back()->offset, Bars(1));
    dropAt(*bass, 2, Bars(4)); // the template copied
    EXPECT_NE(Placements().back()->pattern, bass);
    EXPECT_EQ(Placements().back()->offset, Bars(2));

    // Released outside the grid: nothing is placed.
    ASSERT_TRUE(EventClipboard::PutEvents({&fresh}));
    Deliver(*editor, UIWindowMessages::kEventBeginDrag, 0, PackScreenPoint(*editor, {5, 5}));
    SendPen(*editor, QEvent::MouseButtonRelease, {200, editor->height() + 30});
    EXPECT_EQ(Placements().size(), 4u);
}

TEST_F(SectionEditorTest, ABlockDroppedOnAFactoryIsRemoved)
{
    auto* factory = new test::DropCatcher(&view);
    factory->Create(20, 450, 48, 48);
    view.AddElement(factory);
    const QRect block = editor->BlockRect(*Placements().front());
    SendPen(*editor, QEvent::MouseButtonPress, {block.left() + 5, block.bottom() - 4});
    const QPoint overFactory = editor->mapFrom(&view, QPoint(44, 474));
    SendPen(*editor, QEvent::MouseMove, overFactory);
    SendPen(*editor, QEvent::MouseButtonRelease, overFactory);
    test::WaitUntil([&] { return Placements().empty(); });
    EXPECT_TRUE(Placements().empty());
    EXPECT_EQ(factory->drops, 1);
    EXPECT_NE(sequencer.FindPattern("Bass"), nullptr); // the pattern itself stays in the song's list
}

TEST_F(SectionEditorTest, TheSelectionDrivesThePlayRange)
{
    PatternPlacement* placement = Add(bass, second, Bars(2));
    SelectByPen(*placement);
    EXPECT_EQ(sequencer.GetPlayState().element, section); // Loop on: the active section
    EXPECT_EQ(sequencer.GetPlayState().rangeStart, Bars(2));
    editor->RunCommand("Loop Active Pattern");
    EXPECT_EQ(sequencer.GetPlayState().element, bass);
    EXPECT_EQ(sequencer.GetPlayState().rangeStart, Bars(4)); // section start + placement offset
    editor->RunCommand("Loop Active Pattern");
    editor->RunCommand("Loop Active Section");
    EXPECT_EQ(sequencer.GetPlayState().element, sequencer.GetSong());
}

// Plays the pattern factory's part of "Set as Factory Template": it takes the pattern broadcast.
class TemplateCatcher : public UIElement {
public:
    using UIElement::UIElement;
    WParam pattern = 0;

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam) override
    {
        if (message != RegisterWindowMessage(UIWindowMessages::kSetPatternFactoryTemplate))
            return false;
        pattern = wParam;
        return true;
    }
};

TEST_F(SectionEditorTest, EditNotesAndFactoryTemplateActOnTheSelectedPattern)
{
    auto* factory = new TemplateCatcher(&view);
    factory->Create(20, 450, 48, 48);
    view.AddElement(factory);
    PatternPlacement* placement = Add(bass, second, Bars(2));
    SelectByPen(*placement);
    editor->RunCommand("Set as Factory Template");
    test::WaitUntil([&] { return factory->pattern != 0; });
    EXPECT_EQ(factory->pattern, reinterpret_cast<WParam>(bass));

    shell.broadcasts.clear();
    editor->RunCommand("Edit Notes");
    EXPECT_EQ(sequencer.GetActivePattern(), placement);
    const WindowMessage setView = RegisterWindowMessage(UIWindowMessages::kSetActiveView);
    EXPECT_TRUE(std::any_of(shell.broadcasts.begin(), shell.broadcasts.end(), [&](const RecordedWindowMessage& sent) {
        return sent.message == setView && sent.wParam == sequencer.PatternEditorView();
    }));
}

TEST_F(SectionEditorTest, RenamingInPlaceAsksWhenTheNameIsTaken)
{
    sequencer.CreatePattern("Lead");
    PatternPlacement* placement = Placements().front();
    const QRect block = editor->BlockRect(*placement);
    QTest::mouseDClick(editor, Qt::LeftButton, Qt::NoModifier, {block.left() + 10, block.top() + 5});
    ASSERT_NE(editor->NameEditor(), nullptr);
    EXPECT_EQ(editor->NameEditor()->text(), "Bass");
    editor->NameEditor()->setText("Lead");
    shell.answers.push_back(MessageAnswer::Yes);
    QTest::keyClick(editor->NameEditor(), Qt::Key_Return);
    EXPECT_EQ(bass->GetName(), "Lead2");
    ASSERT_FALSE(shell.messages.empty());
    EXPECT_EQ(shell.messages.back(), "Pattern Name 'Lead' is already in use.  Would you like to use 'Lead2' instead ?");
    EXPECT_EQ(editor->NameEditor(), nullptr);

    // No keeps the editor open on the wanted name; Escape then leaves the name as it is.
    QTest::mouseDClick(editor, Qt::LeftButton, Qt::NoModifier, {block.left() + 10, block.top() + 5});
    ASSERT_NE(editor->NameEditor(), nullptr);
    editor->NameEditor()->setText("Lead");
    shell.answers.push_back(MessageAnswer::No);
    QTest::keyClick(editor->NameEditor(), Qt::Key_Return);
    ASSERT_NE(editor->NameEditor(), nullptr);
    EXPECT_EQ(editor->NameEditor()->text(), "Lead");
    QTest::keyClick(editor->NameEditor(), Qt::Key_Escape);
    EXPECT_EQ(editor->NameEditor(), nullptr);
    EXPECT_EQ(bass->GetName(), "Lead2");

    // The dialog path renames through the sequencer's rename dialog.
    SelectByPen(*placement);
    shell.nameAnswers.push_back(std::string("Groove"));
    editor->RunCommand("&Rename..");
    EXPECT_EQ(bass->GetName(), "Groove");
}

TEST_F(SectionEditorTest, WithoutAnActiveSectionItShowsNoSection)
{
    {
        Sequencer::EditLock lock(sequencer);
        sequencer.GetSong()->Clear();
    }
    editor->Rebind();
    EXPECT_EQ(editor->Section(), nullptr);
    EXPECT_TRUE(editor->VisiblePlacements().empty());
    Tap({200, 200});
    EXPECT_EQ(editor->Selected(), nullptr);
    editor->grab().save(QString::fromStdString(test::ScreenPath("SectionEditorNoSection.png")));
}

TEST(SectionEditorScreen, TheDemoSongsChorus)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    test::LoadDemo(studio);
    Sequencer& sequencer = studio.GetSequencer();
    SectionPlacement* chorus = test::FindSectionPlacement(sequencer, "Chorus");
    ASSERT_NE(chorus, nullptr);
    ASSERT_TRUE(sequencer.SetActiveSection(chorus));
    SkinView view;
    view.resize(480, 640);
    auto* editor = new SectionEditor(&view);
    editor->Create(0, 0, 480, 420);
    view.AddElement(editor);
    view.show();
    editor->SetLaneRange(0, 10);
    Deliver(*editor, UIWindowMessages::kUpdateSeqTime, 0, chorus->offset + Bars(2) + 700);
    EXPECT_FALSE(editor->VisiblePlacements().empty());
    EXPECT_TRUE(editor->grab().save(QString::fromStdString(test::ScreenPath("SectionEditorDemoChorus.png"))));
}

} // namespace
} // namespace jorvo
