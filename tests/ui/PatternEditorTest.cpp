// The note grid driven with the pen: quantizing, resizing, moving, dropping notes from the note
// factory and onto a factory, auditioning, the velocity message, zoom and the play range; and a
// screen of the demo song's bass line.
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <QTest>

#include "engine/EventCodes.h"
#include "engine/SeqEventTarget.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventNote.h"
#include "ui/EditorTestSupport.h"
#include "ui/EventClipboard.h"
#include "ui/PatternEditor.h"
#include "ui/UIMsgElement.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

using test::Bars;
using test::Deliver;
using test::DropCatcher;
using test::PackScreenPoint;
using test::RecordingTarget;
using test::SendPen;

class PatternEditorTest : public ::testing::Test {
protected:
    // A one-bar pattern "Bass" for `target` at bar 1 of a four-bar section placed at bar 2 of the
    // song: the pattern starts at song bar 3.
    PatternEditorTest()
    {
        section = sequencer.CreateSection("Verse");
        section->SetLength(Bars(4));
        pattern = sequencer.CreatePattern("Bass");
        {
            Sequencer::EditLock lock(sequencer);
            sequencer.GetSong()->AddPlacement(section, Bars(2));
            section->AddPlacement(pattern, &target, Bars(1));
        }
        sequencer.SetActiveSection(sequencer.GetSong()->Placements().front().get());
        sequencer.SetActivePattern(section->Placements().front().get());
        view.resize(480, 640);
        editor = new PatternEditor(&view);
        editor->Create(0, 0, 480, 400);
        view.AddElement(editor);
        view.show();
        editor->Rebind();
    }

    SeqEventNote* AddNote(std::uint32_t start, std::uint32_t length, int pitch, int velocity = 90)
    {
        auto note = std::make_unique<SeqEventNote>();
        note->SetStart(start);
        note->SetLength(length);
        note->SetPitch(static_cast<std::uint32_t>(pitch));
        note->SetVelocity(static_cast<std::uint32_t>(velocity));
        SeqEventNote* added = note.get();
        std::unique_ptr<SeqEvent> event(note.release());
        Sequencer::EditLock lock(sequencer);
        EXPECT_TRUE(pattern->InsertEvent(event));
        editor->SetPitchRange(editor->LowestNote(), editor->VisibleRows()); // rebuild the visible notes
        return added;
    }

    std::vector<SeqEventNote*> Notes() const
    {
        std::vector<SeqEventNote*> notes;
        for (const auto& event : pattern->Events())
            notes.push_back(static_cast<SeqEventNote*>(event.get()));
        return notes;
    }

    // The first x in the grid whose time lies in [from, to].
    int XForTime(std::uint32_t from, std::uint32_t to) const
    {
        for (int x = editor->GridRect().left(); x <= editor->GridRect().right(); ++x)
            if (editor->XToTime(x) >= from && editor->XToTime(x) <= to)
                return x;
        ADD_FAILURE() << "no x for " << from << "…" << to;
        return 0;
    }

    // Drags a one-beat note of velocity 77 from the note factory and releases it at `point`.
    void DropNoteFromFactory(QPoint point)
    {
        SeqEventNote note;
        note.SetLength(480);
        note.SetPitch(60);
        note.SetVelocity(77);
        ASSERT_TRUE(EventClipboard::PutEvents({&note}));
        Deliver(*editor, UIWindowMessages::kEventBeginDrag, 0, PackScreenPoint(*editor, point));
        ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Placing);
        SendPen(*editor, QEvent::MouseMove, point);
        SendPen(*editor, QEvent::MouseButtonRelease, point);
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    Sequencer& sequencer = studio.GetSequencer();
    RecordingTarget target;
    SeqEventSection* section = nullptr;
    SeqEventPattern* pattern = nullptr;
    SkinView view;
    PatternEditor* editor = nullptr;
};

TEST_F(PatternEditorTest, BindsToTheActivePatternAtItsSongStart)
{
    EXPECT_EQ(editor->Pattern(), pattern);
    EXPECT_EQ(editor->PatternTarget(), &target);
    EXPECT_EQ(editor->PatternStart(), Bars(3));
    EXPECT_EQ(editor->FirstVisibleTime(), Bars(3));
    // The initial two bars are cut to the one-bar pattern.
    EXPECT_EQ(editor->VisibleSpan(), Bars(1));
    EXPECT_EQ(editor->windowTitle(), "Bass");
}

TEST_F(PatternEditorTest, QuantizeTwoOnAGridOf120RoundsAtHalfTheQuantum)
{
    editor->SetQuantize(2);
    ASSERT_EQ(editor->GridStep(), 120u);
    EXPECT_EQ(editor->QuantizeTime(89), 60u);
    EXPECT_EQ(editor->QuantizeTime(90), 120u);
    EXPECT_EQ(editor->QuantizeTime(120), 120u);
    editor->SetQuantize(0);
    EXPECT_EQ(editor->QuantizeTime(89), 89u);
}

TEST_F(PatternEditorTest, ANoteFromTheNoteFactoryLandsOnTheQuantizedTimeAndRowUnderThePen)
{
    editor->SetQuantize(2);
    const std::uint32_t start = editor->PatternStart();
    const int y = editor->RowRect(editor->LowestNote() + 3).center().y();

    DropNoteFromFactory({XForTime(start + 80, start + 89), y});
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0]->GetStart(), 60u);
    EXPECT_EQ(Notes()[0]->GetPitch(), editor->LowestNote() + 3);
    EXPECT_EQ(Notes()[0]->GetVelocity(), 77);
    EXPECT_EQ(Notes()[0]->GetLength(), 480u);

    DropNoteFromFactory({XForTime(start + 90, start + 99), y});
    ASSERT_EQ(Notes().size(), 2u);
    EXPECT_EQ(Notes()[1]->GetStart(), 120u);
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::None);
}

TEST_F(PatternEditorTest, ANoteReleasedOutsideTheGridOrNotStartingTheClipboardIsDiscarded)
{
    DropNoteFromFactory({200, editor->height() + 20});
    EXPECT_TRUE(pattern->Events().empty());

    // A clipboard that does not start with a note starts no drag.
    SeqEventPattern notANote;
    ASSERT_TRUE(EventClipboard::PutEvents({&notANote}));
    Deliver(*editor, UIWindowMessages::kEventBeginDrag, 0, PackScreenPoint(*editor, {200, 200}));
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::None);
}

TEST_F(PatternEditorTest, ResizingWithQuantizeNeverGoesBelowOneQuantum)
{
    SeqEventNote* note = AddNote(480, 480, editor->LowestNote() + 2);
    for (int quantize : {1, 4}) {
        editor->SetQuantize(quantize);
        const QRect box = editor->NoteRect(*note);
        const QPoint handle(box.right() - 1, box.center().y());
        SendPen(*editor, QEvent::MouseButtonPress, handle);
        ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Resizing);
        SendPen(*editor, QEvent::MouseMove, {editor->GridRect().left() + 1, handle.y()});
        SendPen(*editor, QEvent::MouseButtonRelease, {editor->GridRect().left() + 1, handle.y()});
        EXPECT_EQ(note->GetLength(), editor->Quantum()) << "quantize " << quantize;
        EXPECT_EQ(note->GetStart(), 480u);
    }
    // Dragging the handle right lengthens the note to the quantized time under the pen.
    editor->SetQuantize(1);
    const QRect box = editor->NoteRect(*note);
    SendPen(*editor, QEvent::MouseButtonPress, {box.right(), box.center().y()});
    const int x = XForTime(editor->PatternStart() + 1190, editor->PatternStart() + 1200);
    SendPen(*editor, QEvent::MouseMove, {x, box.center().y()});
    SendPen(*editor, QEvent::MouseButtonRelease, {x, box.center().y()});
    EXPECT_EQ(note->GetEnd() + 1, editor->QuantizeTime(editor->XToTime(x)) - editor->PatternStart());
}

TEST_F(PatternEditorTest, ResizingPastTheEdgeScrollsAfterADelay)
{
    pattern->SetLength(Bars(4));
    editor->Rebind();
    editor->SetVisibleTime(editor->PatternStart(), Bars(1));
    SeqEventNote* note = AddNote(0, 240, editor->LowestNote() + 1);
    const QRect box = editor->NoteRect(*note);
    SendPen(*editor, QEvent::MouseButtonPress, {box.right(), box.center().y()});
    ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Resizing);
    // Just right of the element: the grid scrolls one grid step per tick, after a first second.
    SendPen(*editor, QEvent::MouseMove, {editor->width() + 4, box.center().y()});
    EXPECT_EQ(editor->FirstVisibleTime(), editor->PatternStart());
    test::WaitUntil([&] { return editor->FirstVisibleTime() > editor->PatternStart(); }, 3000);
    EXPECT_GT(editor->FirstVisibleTime(), editor->PatternStart());
    EXPECT_EQ((editor->FirstVisibleTime() - editor->PatternStart()) % editor->GridStep(), 0u);
    SendPen(*editor, QEvent::MouseButtonRelease, {editor->width() + 4, box.center().y()});
    const std::uint32_t stopped = editor->FirstVisibleTime();
    QTest::qWait(450);
    EXPECT_EQ(editor->FirstVisibleTime(), stopped); // the pen up stopped the timers
}

TEST_F(PatternEditorTest, MovingANoteKeepsItsLengthAndVelocity)
{
    SeqEventNote* note = AddNote(0, 240, editor->LowestNote() + 1, 101);
    const QRect box = editor->NoteRect(*note);
    const QPoint grip(box.left() + 2, box.center().y());
    SendPen(*editor, QEvent::MouseButtonPress, grip);
    // Within the three-pixel square nothing moves yet.
    SendPen(*editor, QEvent::MouseMove, grip + QPoint(2, 2));
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::None);
    const int x = XForTime(editor->PatternStart() + 960, editor->PatternStart() + 965) + 2;
    const QPoint target(x, editor->RowRect(editor->LowestNote() + 5).center().y());
    SendPen(*editor, QEvent::MouseMove, target);
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Moving);
    SendPen(*editor, QEvent::MouseButtonRelease, target);
    EXPECT_EQ(note->GetStart(), 960u);
    EXPECT_EQ(note->GetPitch(), editor->LowestNote() + 5);
    EXPECT_EQ(note->GetLength(), 240u);
    EXPECT_EQ(note->GetVelocity(), 101);
}

TEST_F(PatternEditorTest, ANoteDraggedOntoAFactoryIsDeleted)
{
    auto* factory = new DropCatcher(&view);
    factory->Create(20, 450, 48, 48);
    view.AddElement(factory);
    SeqEventNote* note = AddNote(0, 480, editor->LowestNote() + 4);
    AddNote(960, 480, editor->LowestNote() + 4);
    const QRect box = editor->NoteRect(*note);
    SendPen(*editor, QEvent::MouseButtonPress, box.center() - QPoint(box.width() / 4, 0));
    const QPoint overFactory = editor->mapFrom(&view, QPoint(44, 474));
    SendPen(*editor, QEvent::MouseMove, overFactory);
    SendPen(*editor, QEvent::MouseButtonRelease, overFactory);
    // The drop and the cut travel as posted messages.
    test::WaitUntil([&] { return Notes().size() == 1; });
    EXPECT_EQ(factory->drops, 1);
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0]->GetStart(), 960u);
    EXPECT_EQ(editor->SelectedNote(), nullptr);
}

TEST_F(PatternEditorTest, AuditioningSendsNoteOnAndNoteOffToThePatternsTarget)
{
    const int low = editor->LowestNote();
    const QPoint nameColumn(10, editor->RowRect(low + 2).center().y());
    SendPen(*editor, QEvent::MouseButtonPress, nameColumn);
    SendPen(*editor, QEvent::MouseMove, {10, editor->RowRect(low + 4).center().y()});
    SendPen(*editor, QEvent::MouseButtonRelease, {10, editor->RowRect(low + 4).center().y()});
    ASSERT_EQ(target.events.size(), 4u);
    EXPECT_EQ(target.events[0].code, kEventNoteStart);
    EXPECT_EQ(target.events[0].a, low + 2);
    EXPECT_EQ(target.events[0].b, PatternEditor::kAuditionVelocity);
    EXPECT_EQ(target.events[1].code, kEventNoteEnd);
    EXPECT_EQ(target.events[1].a, low + 2);
    EXPECT_EQ(target.events[2].code, kEventNoteStart);
    EXPECT_EQ(target.events[2].a, low + 4);
    EXPECT_EQ(target.events[3].code, kEventNoteEnd);
    EXPECT_EQ(editor->SoundingNote(), PatternEditor::kNoSound);

    // Touching a note sounds it with its own velocity; "Play Notes" off keeps it silent.
    target.events.clear();
    SeqEventNote* note = AddNote(0, 480, low + 1, 33);
    SendPen(*editor, QEvent::MouseButtonPress, editor->NoteRect(*note).center());
    SendPen(*editor, QEvent::MouseButtonRelease, editor->NoteRect(*note).center());
    ASSERT_EQ(target.events.size(), 2u);
    EXPECT_EQ(target.events[0].b, 33);
    target.events.clear();
    editor->RunCommand("Play Notes");
    SendPen(*editor, QEvent::MouseButtonPress, nameColumn);
    SendPen(*editor, QEvent::MouseButtonRelease, nameColumn);
    EXPECT_TRUE(target.events.empty());
}

TEST_F(PatternEditorTest, VelocityMessagePasteAndCutChangeThePattern)
{
    SeqEventNote* note = AddNote(0, 480, editor->LowestNote());
    SendPen(*editor, QEvent::MouseButtonPress, editor->NoteRect(*note).center());
    SendPen(*editor, QEvent::MouseButtonRelease, editor->NoteRect(*note).center());
    ASSERT_EQ(editor->SelectedNote(), note);
    Deliver(*editor, "WM_SET_NOTE_VELOCITY", 12);
    EXPECT_EQ(note->GetVelocity(), 12);
    Deliver(*editor, "WM_SET_NOTE_VELOCITY", 300); // out of range: ignored
    EXPECT_EQ(note->GetVelocity(), 12);

    // Paste puts the clipboard's first note under the point.
    SeqEventNote copied;
    copied.SetLength(120);
    copied.SetPitch(70);
    copied.SetVelocity(50);
    ASSERT_TRUE(EventClipboard::PutEvents({&copied}));
    const QPoint point(XForTime(editor->PatternStart() + 1440, editor->PatternStart() + 1445) + 1,
                       editor->RowRect(editor->LowestNote() + 6).center().y());
    Deliver(*editor, "WM_PASTE", 0, PackScreenPoint(*editor, point));
    ASSERT_EQ(Notes().size(), 2u);
    EXPECT_EQ(Notes()[1]->GetStart(), 1440u);
    EXPECT_EQ(Notes()[1]->GetPitch(), editor->LowestNote() + 6);

    // A cut addressed to another editor leaves the selection alone.
    Deliver(*editor, "WM_CUT", reinterpret_cast<WParam>(&view));
    EXPECT_EQ(Notes().size(), 2u);
    Deliver(*editor, "WM_CUT", reinterpret_cast<WParam>(editor));
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0]->GetPitch(), editor->LowestNote() + 6);
}

TEST_F(PatternEditorTest, TimeZoomFollowsTheTwoStepRule)
{
    pattern->SetLength(Bars(64));
    editor->Rebind();
    editor->SetVisibleTime(editor->PatternStart(), Bars(3));
    editor->ZoomInTime();
    EXPECT_EQ(editor->VisibleSpan(), Bars(2));
    editor->SetVisibleTime(editor->PatternStart(), 3 * 480);
    editor->ZoomOutTime();
    EXPECT_EQ(editor->VisibleSpan(), Bars(1));
    editor->SetVisibleTime(editor->PatternStart(), Bars(16));
    editor->ZoomOutTime();
    EXPECT_EQ(editor->VisibleSpan(), Bars(33));
    editor->SetVisibleTime(editor->PatternStart(), Bars(40));
    editor->ZoomInTime();
    EXPECT_EQ(editor->VisibleSpan(), Bars(24));
    editor->SetVisibleTime(editor->PatternStart(), 2 * 480);
    editor->ZoomInTime();
    EXPECT_EQ(editor->VisibleSpan(), 480u);
    // Scrolling stays inside the pattern.
    editor->SetVisibleTime(0, Bars(100));
    EXPECT_EQ(editor->FirstVisibleTime(), editor->PatternStart());
    EXPECT_EQ(editor->VisibleSpan(), Bars(64));
}

TEST_F(PatternEditorTest, PitchZoomAndKeysKeepTheRowsInRange)
{
    editor->SetPitchRange(54, 12);
    Deliver(*editor, "WM_ZOOM_IN_PITCH");
    EXPECT_EQ(editor->LowestNote(), 55);
    EXPECT_EQ(editor->VisibleRows(), 10);
    Deliver(*editor, "WM_ZOOM_OUT_PITCH");
    EXPECT_EQ(editor->LowestNote(), 54);
    EXPECT_EQ(editor->VisibleRows(), 12);
    QTest::keyClick(editor, Qt::Key_PageUp);
    EXPECT_EQ(editor->LowestNote(), 42);
    editor->SetPitchRange(120, 12);
    EXPECT_EQ(editor->LowestNote(), 116); // the top row stays at note 127
    QTest::keyClick(editor, Qt::Key_Up);
    EXPECT_EQ(editor->LowestNote(), 116);
    editor->SetPitchRange(0, 12);
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(editor->LowestNote(), 0);
    QTest::keyClick(editor, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(editor->VisibleRows(), 11);
    editor->SetPitchRange(0, 200);
    EXPECT_EQ(editor->VisibleRows(), 127);
}

// A right click has no pen down before it, yet it must act on the note under it as a
// tap-and-hold there does.
TEST_F(PatternEditorTest, ARightClickChoosesTheNoteUnderIt)
{
    SeqEventNote* note = AddNote(0, 480, editor->LowestNote() + 4);
    ASSERT_EQ(editor->SelectedNote(), nullptr);
    ASSERT_NE(editor->NotePopup(), nullptr);
    EXPECT_TRUE(test::ContextMenuEntries(*editor, editor->NoteRect(*note).center()).empty());
    EXPECT_EQ(editor->SelectedNote(), note);
    EXPECT_TRUE(editor->NotePopup()->isVisible()); // the note's popup instead of the editor's menu
    test::ContextMenuEntries(*editor, {300, editor->RowRect(editor->LowestNote() + 1).center().y()});
    EXPECT_EQ(editor->SelectedNote(), nullptr);
}

TEST_F(PatternEditorTest, TheContextMenuOffersItsCommandsWithTheCurrentSettingsMarked)
{
    editor->SetQuantize(2);
    const std::vector<std::string> entries = test::ContextMenuEntries(*editor, {200, 200});
    const std::vector<std::string> expected = {
        "Follow", "Edit Song", "Edit Section", "Edit Parameters", "Edit Target", "Loop Active Pattern*", "&Rename..",
        "Play Notes*", "Quantize", "Quantize/Off", "Quantize/1", "Quantize/1/2*", "Quantize/1/3", "Quantize/1/4"};
    EXPECT_EQ(entries, expected);
}

TEST_F(PatternEditorTest, EditCommandsShowTheOtherEditorsAndRenameAsksAboutATakenName)
{
    const WindowMessage setView = RegisterWindowMessage(UIWindowMessages::kSetActiveView);
    const std::pair<const char*, ViewId> commands[] = {{"Edit Song", sequencer.SongEditorView()},
                                                       {"Edit Section", sequencer.SectionEditorView()},
                                                       {"Edit Parameters", sequencer.ParameterEditorView()}};
    for (const auto& [command, view] : commands) {
        shell.broadcasts.clear();
        ASSERT_TRUE(editor->RunCommand(command));
        ASSERT_FALSE(shell.broadcasts.empty()) << command;
        EXPECT_EQ(shell.broadcasts.back().message, setView) << command;
        EXPECT_EQ(shell.broadcasts.back().wParam, view) << command;
    }

    sequencer.CreatePattern("Lead");
    shell.nameAnswers.push_back(std::string("Lead"));
    shell.answers.push_back(MessageAnswer::Yes);
    editor->RunCommand("&Rename..");
    EXPECT_EQ(pattern->GetName(), "Lead2");
    EXPECT_EQ(editor->windowTitle(), "Lead2");
    ASSERT_FALSE(shell.messages.empty());
    EXPECT_EQ(shell.messages.back(), "Pattern Name 'Lead' is already in use.  Would you like to use 'Lead2' instead ?");
}

TEST_F(PatternEditorTest, LoopActivePatternChoosesThePlayRange)
{
    editor->RunCommand("Loop Active Pattern"); // on at start: now off, the song plays
    EXPECT_EQ(sequencer.GetPlayState().element, sequencer.GetSong());
    editor->RunCommand("Loop Active Pattern");
    const Sequencer::PlayState state = sequencer.GetPlayState();
    EXPECT_EQ(state.element, pattern);
    EXPECT_EQ(state.rangeStart, Bars(3));
    EXPECT_EQ(state.rangeEnd, Bars(4));
}

TEST_F(PatternEditorTest, FollowScrollsToTheSongPositionAndTheRulerSetsIt)
{
    pattern->SetLength(Bars(8));
    editor->Rebind();
    editor->SetVisibleTime(editor->PatternStart(), Bars(2));
    Deliver(*editor, UIWindowMessages::kUpdateSeqTime, 0, Bars(8));
    EXPECT_EQ(editor->FirstVisibleTime(), Bars(3)); // follow is off in the pattern editor
    EXPECT_EQ(editor->Position(), Bars(8));
    editor->RunCommand("Follow");
    Deliver(*editor, UIWindowMessages::kUpdateSeqTime, 0, Bars(8));
    EXPECT_EQ(editor->FirstVisibleTime(), Bars(7));

    const QPoint onRuler(XForTime(Bars(8) + 470, Bars(8) + 479), editor->RulerRect().center().y());
    QTest::mouseDClick(editor, Qt::LeftButton, Qt::NoModifier, onRuler);
    EXPECT_EQ(sequencer.GetSongPosition(), Bars(8) + 480);
}

TEST_F(PatternEditorTest, WithoutAnActivePatternItShowsNoPatternAndIgnoresThePen)
{
    SeqEventSection* other = sequencer.CreateSection("Empty");
    other->SetLength(Bars(1));
    {
        Sequencer::EditLock lock(sequencer);
        sequencer.GetSong()->AddPlacement(other, 0);
    }
    sequencer.SetActiveSection(sequencer.GetSong()->Placements().front().get());
    editor->Rebind();
    EXPECT_EQ(editor->Pattern(), nullptr);
    SendPen(*editor, QEvent::MouseButtonPress, {10, 200});
    SendPen(*editor, QEvent::MouseButtonRelease, {10, 200});
    EXPECT_TRUE(target.events.empty());
    SeqEventNote note;
    note.SetLength(480);
    ASSERT_TRUE(EventClipboard::PutEvents({&note}));
    Deliver(*editor, UIWindowMessages::kEventBeginDrag, 0, PackScreenPoint(*editor, {200, 200}));
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::None);
    editor->grab().save(QString::fromStdString(test::ScreenPath("PatternEditorNoPattern.png")));
}

TEST(PatternEditorNames, NoteNamesAndSharps)
{
    EXPECT_EQ(PatternEditor::NoteName(0), "C0");
    EXPECT_EQ(PatternEditor::NoteName(61), "C#5");
    EXPECT_EQ(PatternEditor::NoteName(127), "G10");
    EXPECT_EQ(PatternEditor::NoteName(128), "");
    EXPECT_TRUE(PatternEditor::IsSharp(70));
    EXPECT_FALSE(PatternEditor::IsSharp(71));
}

TEST(PatternEditorScreen, TheDemoSongsBassLine)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    test::LoadDemo(studio);
    Sequencer& sequencer = studio.GetSequencer();
    SectionPlacement* chorus = test::FindSectionPlacement(sequencer, "Chorus");
    ASSERT_NE(chorus, nullptr);
    ASSERT_TRUE(sequencer.SetActiveSection(chorus));
    ASSERT_TRUE(sequencer.SetActivePattern(test::FindPatternPlacement(*chorus->section, "BassLine")));
    SkinView view;
    view.resize(480, 640);
    auto* editor = new PatternEditor(&view);
    editor->Create(0, 0, 480, 420);
    view.AddElement(editor);
    view.show();
    editor->SetPitchRange(editor->LowestNote(), 20);
    editor->SetVisibleTime(editor->PatternStart(), test::Bars(2));
    Deliver(*editor, UIWindowMessages::kUpdateSeqTime, 0, editor->PatternStart() + 1700);
    ASSERT_EQ(editor->Pattern()->GetName(), "BassLine");
    EXPECT_FALSE(editor->VisibleNotes().empty());
    EXPECT_TRUE(editor->grab().save(QString::fromStdString(test::ScreenPath("PatternEditorDemoBassLine.png"))));
}

} // namespace
} // namespace jorvo
