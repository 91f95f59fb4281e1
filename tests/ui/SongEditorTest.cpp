// The section lane of the song: the same arranging as the section editor, with sections: moving,
// resizing, Alias / Replicate / Fill, Make Unique, sections dragged from the factory, the play
// range and "Edit"; and a screen of the demo song.
#include <gtest/gtest.h>

#include "platform/RecordingShell.h"
#include "sequencer/SeqEventSection.h"
#include "ui/EditorTestSupport.h"
#include "ui/EventClipboard.h"
#include "ui/SongEditor.h"
#include "ui/UiTestSupport.h"

namespace jorvo {
namespace {

using test::Bars;
using test::Deliver;
using test::PackScreenPoint;
using test::SendPen;

class SongEditorTest : public ::testing::Test {
protected:
    // A 16-bar song holding the two-bar section "Intro" at its start.
    SongEditorTest()
    {
        song = sequencer.GetSong();
        song->SetLength(Bars(16));
        intro = sequencer.CreateSection("Intro");
        intro->SetLength(Bars(2));
        {
            Sequencer::EditLock lock(sequencer);
            song->AddPlacement(intro, 0);
        }
        view.resize(480, 640);
        editor = new SongEditor(&view);
        editor->Create(0, 0, 480, 200);
        view.AddElement(editor);
        view.show();
        editor->SetVisibleTime(0, Bars(16));
    }

    std::vector<SectionPlacement*> Placements() const
    {
        std::vector<SectionPlacement*> list;
        song->CopyPlacementsTo(list);
        return list;
    }

    std::vector<std::uint32_t> Offsets() const
    {
        std::vector<std::uint32_t> offsets;
        for (const SectionPlacement* placement : Placements())
            offsets.push_back(placement->offset);
        return offsets;
    }

    void SelectByPen(const SectionPlacement& placement)
    {
        const QRect block = editor->BlockRect(placement);
        SendPen(*editor, QEvent::MouseButtonPress, {block.left() + block.width() / 3, block.center().y()});
        SendPen(*editor, QEvent::MouseButtonRelease, {block.left() + block.width() / 3, block.center().y()});
        ASSERT_EQ(editor->Selected(), &placement);
    }

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
    SeqEventSong* song = nullptr;
    SeqEventSection* intro = nullptr;
    SkinView view;
    SongEditor* editor = nullptr;
};

TEST_F(SongEditorTest, AliasReplicateAndFillArrangeSections)
{
    SeqEventSection* outro = sequencer.CreateSection("Outro");
    outro->SetLength(Bars(2));
    {
        Sequencer::EditLock lock(sequencer);
        song->AddPlacement(outro, Bars(9));
    }
    editor->SetVisibleTime(0, Bars(16));
    SelectByPen(*Placements().front());
    editor->RunCommand("Alias x 2");
    EXPECT_EQ(Offsets(), (std::vector<std::uint32_t>{0, Bars(2), Bars(4), Bars(9)}));
    EXPECT_TRUE(sequencer.IsSectionAliased(intro));
    // Fill stops before the outro: one more copy fits at bar 6, none at bar 8.
    SelectByPen(*Placements()[2]);
    editor->RunCommand("Replicate Fill");
    ASSERT_EQ(Offsets(), (std::vector<std::uint32_t>{0, Bars(2), Bars(4), Bars(6), Bars(9)}));
    EXPECT_NE(Placements()[3]->section, intro);
    EXPECT_NE(sequencer.FindSection(Placements()[3]->section->GetName()), nullptr);
}

TEST_F(SongEditorTest, MakeUniqueLeavesTheOtherPlacementsOnTheSharedSection)
{
    SelectByPen(*Placements().front());
    editor->RunCommand("Alias x 1");
    ASSERT_EQ(Placements().size(), 2u);
    SelectByPen(*Placements().front());
    editor->RunCommand("Make Unique");
    ASSERT_EQ(Placements().size(), 2u);
    EXPECT_NE(Placements()[0]->section, intro);
    EXPECT_EQ(Placements()[0]->offset, 0u);
    EXPECT_EQ(Placements()[1]->section, intro);
    EXPECT_FALSE(sequencer.IsSectionAliased(intro));
}

TEST_F(SongEditorTest, MovingAndResizingASectionBlock)
{
    SectionPlacement* placement = Placements().front();
    QRect block = editor->BlockRect(*placement);
    SendPen(*editor, QEvent::MouseButtonPress, {block.left() + 6, block.center().y()});
    const QPoint target(XForTime(Bars(5) + 20, Bars(5) + 200) + 6, block.center().y());
    SendPen(*editor, QEvent::MouseMove, target);
    SendPen(*editor, QEvent::MouseButtonRelease, target);
    EXPECT_EQ(placement->offset, Bars(5));

    block = editor->BlockRect(*placement);
    SendPen(*editor, QEvent::MouseButtonPress, {block.right() - 1, block.center().y()});
    ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Resizing);
    const QPoint end(XForTime(Bars(9) - 100, Bars(9) + 100), block.center().y());
    SendPen(*editor, QEvent::MouseMove, end);
    SendPen(*editor, QEvent::MouseButtonRelease, end);
    EXPECT_EQ(intro->GetLength(), Bars(4));
}

TEST_F(SongEditorTest, ASectionFromTheFactoryIsEnteredAndPlaced)
{
    SeqEventSection fresh;
    fresh.SetName("Section");
    fresh.SetLength(Bars(4));
    ASSERT_TRUE(EventClipboard::PutEvents({&fresh}));
    Deliver(*editor, UIWindowMessages::kEventBeginDrag, 0, PackScreenPoint(*editor, {5, 5}));
    ASSERT_EQ(editor->Mode(), TimeAxisEditor::EditMode::Placing);
    const QPoint point(XForTime(Bars(8), Bars(8) + 150) + 1, editor->ContentRect().center().y());
    SendPen(*editor, QEvent::MouseMove, point);
    SendPen(*editor, QEvent::MouseButtonRelease, point);
    ASSERT_EQ(Placements().size(), 2u);
    EXPECT_EQ(Placements()[1]->offset, Bars(8));
    EXPECT_EQ(Placements()[1]->section->GetLength(), Bars(4));
    EXPECT_EQ(sequencer.FindSection("Section"), Placements()[1]->section);
    // A pattern is not something the song can place.
    SeqEventPattern pattern;
    ASSERT_TRUE(EventClipboard::PutEvents({&pattern}));
    Deliver(*editor, UIWindowMessages::kEventBeginDrag, 0, PackScreenPoint(*editor, {5, 5}));
    EXPECT_EQ(editor->Mode(), TimeAxisEditor::EditMode::None);
    EXPECT_EQ(Placements().size(), 2u);
}

TEST_F(SongEditorTest, SelectionChoosesThePlayRangeAndEditShowsTheSection)
{
    SeqEventSection* verse = sequencer.CreateSection("Verse");
    verse->SetLength(Bars(4));
    {
        Sequencer::EditLock lock(sequencer);
        song->AddPlacement(verse, Bars(4));
    }
    editor->SetVisibleTime(0, Bars(16));
    SectionPlacement* placement = Placements()[1];
    SelectByPen(*placement);
    EXPECT_EQ(sequencer.GetPlayState().element, verse);
    EXPECT_EQ(sequencer.GetPlayState().rangeStart, Bars(4));
    editor->RunCommand("Loop Song");
    EXPECT_EQ(sequencer.GetPlayState().element, song);

    shell.broadcasts.clear();
    editor->RunCommand("Edit");
    EXPECT_EQ(sequencer.GetActiveSection(), placement);
    EXPECT_FALSE(shell.broadcasts.empty());
}

TEST(SongEditorScreen, TheDemoSong)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    SoundStudio studio;
    test::LoadDemo(studio);
    SkinView view;
    view.resize(480, 640);
    auto* editor = new SongEditor(&view);
    editor->Create(0, 0, 480, 160);
    view.AddElement(editor);
    view.show();
    editor->SetVisibleTime(0, studio.GetSequencer().GetSong()->GetLength());
    Deliver(*editor, UIWindowMessages::kUpdateSeqTime, 0, Bars(13) + 960);
    EXPECT_FALSE(editor->VisiblePlacements().empty());
    EXPECT_TRUE(editor->grab().save(QString::fromStdString(test::ScreenPath("SongEditorDemo.png"))));
}

} // namespace
} // namespace jorvo
