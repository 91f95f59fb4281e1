// Drags between elements driven by the real X pointer: a window on an X server holds a note
// factory and a pattern editor, and xdotool presses, moves and releases the pointer while the
// event loop runs, so the pen capture passes between widgets as it does for a user's mouse.
#include <cstdlib>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include "platform/RecordingShell.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SequencerSettings.h"
#include "ui/EditorTestSupport.h"
#include "ui/EventFactories.h"
#include "ui/PatternEditor.h"
#include "ui/SkinView.h"

namespace jorvo {
namespace {

using test::Bars;
using test::RecordingTarget;
using test::WaitUntil;

// Runs xdotool with `arguments`, letting the event loop run until it has finished.
::testing::AssertionResult Xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start("xdotool", arguments);
    if (!process.waitForStarted(5000))
        return ::testing::AssertionFailure() << "xdotool did not start";
    WaitUntil([&] { return process.state() == QProcess::NotRunning; }, 5000);
    if (process.state() != QProcess::NotRunning || process.exitCode() != 0)
        return ::testing::AssertionFailure() << "xdotool " << arguments.join(' ').toStdString() << " failed: "
                                             << process.readAllStandardError().toStdString();
    // The server has the input now; give the application time to read and handle it.
    QTest::qWait(60);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MovePointer(QPoint screen)
{
    return Xdotool({"mousemove", "--sync", QString::number(screen.x()), QString::number(screen.y())});
}

class RealPointerDragTest : public ::testing::Test {
protected:
    // A one-bar pattern "Bass" at bar 1 of a four-bar section at bar 2 of the song, shown in a
    // pattern editor above a note factory, in a window placed away from the screen's corner.
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr || QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X display (run under xvfb-run with QT_QPA_PLATFORM=xcb)";
        ASSERT_FALSE(QStandardPaths::findExecutable("xdotool").isEmpty()) << "xdotool is not installed";
        SequencerSettings::RestoreInitialValues();

        SeqEventSection* section = sequencer.CreateSection("Verse");
        section->SetLength(Bars(4));
        pattern = sequencer.CreatePattern("Bass");
        {
            Sequencer::EditLock lock(sequencer);
            sequencer.GetSong()->AddPlacement(section, Bars(2));
            section->AddPlacement(pattern, &target, Bars(1));
        }
        sequencer.SetActiveSection(sequencer.GetSong()->Placements().front().get());
        sequencer.SetActivePattern(section->Placements().front().get());

        view = std::make_unique<SkinView>();
        view->setGeometry(120, 60, 480, 640);
        editor = new PatternEditor(view.get());
        editor->Create(0, 0, 480, 400);
        view->AddElement(editor);
        factory = new NoteFactory(view.get());
        factory->Create(20, 450, 48, 48);
        view->AddElement(factory);
        view->show();
        editor->Rebind();
        editor->SetQuantize(2);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }

    SeqEventNote* AddNote(std::uint32_t start, std::uint32_t length, int pitch)
    {
        auto note = std::make_unique<SeqEventNote>();
        note->SetStart(start);
        note->SetLength(length);
        note->SetPitch(static_cast<std::uint32_t>(pitch));
        note->SetVelocity(90);
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

    // The first x in the grid whose song time lies in [from, to].
    int XForTime(std::uint32_t from, std::uint32_t to) const
    {
        for (int x = editor->GridRect().left(); x <= editor->GridRect().right(); ++x)
            if (editor->XToTime(x) >= from && editor->XToTime(x) <= to)
                return x;
        ADD_FAILURE() << "no x for " << from << "…" << to;
        return 0;
    }

    // Presses the real pointer on `from`, moves it in steps to `to` and lets it go there; both in
    // the coordinates of `from`'s and `to`'s widgets.
    void Drag(QWidget& fromWidget, QPoint from, QWidget& toWidget, QPoint to)
    {
        const QPoint start = fromWidget.mapToGlobal(from);
        const QPoint end = toWidget.mapToGlobal(to);
        ASSERT_TRUE(MovePointer(start));
        ASSERT_TRUE(Xdotool({"mousedown", "1"}));
        constexpr int kSteps = 6;
        for (int step = 1; step <= kSteps; ++step)
            ASSERT_TRUE(MovePointer(start + (end - start) * step / kSteps));
        ASSERT_TRUE(Xdotool({"mouseup", "1"}));
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    Sequencer& sequencer = studio.GetSequencer();
    RecordingTarget target;
    SeqEventPattern* pattern = nullptr;
    std::unique_ptr<SkinView> view;
    PatternEditor* editor = nullptr;
    NoteFactory* factory = nullptr;
};

TEST_F(RealPointerDragTest, ANoteDraggedFromTheFactoryLandsOnTheQuantizedTimeAndRowUnderTheReleasePoint)
{
    const std::uint32_t start = editor->PatternStart();
    const int pitch = editor->LowestNote() + 3;
    const QPoint release(XForTime(start + 80, start + 89), editor->RowRect(pitch).center().y());

    Drag(*factory, {24, 24}, *editor, release);
    WaitUntil([&] { return !Notes().empty(); });
    ASSERT_EQ(Notes().size(), 1u);
    SeqEventNote* note = Notes()[0];
    EXPECT_EQ(note->GetStart(), 60u); // quantized to the nearest eighth of a beat
    EXPECT_EQ(note->GetPitch(), static_cast<std::uint32_t>(pitch));
    EXPECT_EQ(note->GetLength(), 480u);
    EXPECT_EQ(note->GetVelocity(), NoteFactory::kDefaultVelocity);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr); // the editor let the pointer go
    EXPECT_FALSE(factory->IsPressed());
    view->grab().save(QString::fromStdString(test::ScreenPath("xvfb_note_dropped.png")));
}

TEST_F(RealPointerDragTest, ANoteDraggedOntoTheFactoryIsDeleted)
{
    SeqEventNote* note = AddNote(480, 480, editor->LowestNote() + 4);
    AddNote(1440, 240, editor->LowestNote() + 2);
    // Held away from its right end (which resizes it), the note is dragged onto the factory.
    const QRect box = editor->NoteRect(*note);
    Drag(*editor, box.center() - QPoint(box.width() / 4, 0), *factory, {24, 24});
    WaitUntil([&] { return Notes().size() == 1; });
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0]->GetStart(), 1440u); // only the dragged note went
    EXPECT_EQ(editor->SelectedNote(), nullptr);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

} // namespace
} // namespace jorvo
