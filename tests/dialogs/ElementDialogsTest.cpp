// The dialogs the editors open from their elements: the parameter tree, which closes as soon as
// a parameter is chosen, and the in-place name editor, which hands on a changed name when the
// edit ends and nothing when it is abandoned.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QTreeWidget>

#include "dialogs/DialogTestSupport.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/InstrumentSampler.h"
#include "engine/SampleZone.h"
#include "ui/InPlaceNameEditor.h"
#include "ui/SelectParameterDialog.h"

namespace jorvo {
namespace {

QTreeWidgetItem* ItemNamed(QTreeWidget& tree, const QString& text)
{
    const auto found = tree.findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

// Clicks `item` as the pen would.
void Tap(QTreeWidget& tree, QTreeWidgetItem* item)
{
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
}

TEST(SelectParameterDialogTest, ChoosingAParameterClosesAtOnceWithIt)
{
    InstrumentMonoSynth synth;
    SelectParameterDialog dialog(synth, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Select Parameter");
    QTreeWidget& tree = *dialog.Tree();
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->text(0).toStdString(), synth.GetName());
    EXPECT_EQ(static_cast<std::size_t>(tree.topLevelItem(0)->childCount()), synth.Parameters().size());
    test::SaveScreen(dialog, "select_parameter");

    Tap(tree, tree.topLevelItem(0)); // the target itself is no parameter
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Chosen(), nullptr);
    Tap(tree, ItemNamed(tree, "Octave"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), synth.FindParameter(InstrumentMonoSynth::kOctave));

    test::WhenModal([](QWidget& shown) { EXPECT_TRUE(test::Click(shown, "Cancel")); });
    EXPECT_EQ(SelectParameterDialog::Run(synth, nullptr), nullptr);
}

TEST(SelectParameterDialogTest, ZoneParametersAreChosenFromTheirZonesBranch)
{
    InstrumentSampler sampler;
    SelectParameterDialog empty(sampler, nullptr);
    ASSERT_EQ(empty.Tree()->topLevelItem(0)->childCount(), 1);
    Tap(*empty.Tree(), empty.Tree()->topLevelItem(0)->child(0)); // "No Zones" is no parameter
    EXPECT_EQ(empty.Chosen(), nullptr);

    SampleZone* zone = sampler.CreateZone(60);
    ASSERT_NE(zone, nullptr);
    SelectParameterDialog dialog(sampler, nullptr);
    dialog.show();
    QTreeWidgetItem* zoneItem = dialog.Tree()->topLevelItem(0)->child(0);
    ASSERT_NE(zoneItem, nullptr);
    ASSERT_EQ(zoneItem->childCount(), SampleZone::kParameterCount);
    Tap(*dialog.Tree(), zoneItem);
    EXPECT_TRUE(dialog.isVisible());
    Tap(*dialog.Tree(), zoneItem->child(SampleZone::kPan));
    EXPECT_EQ(dialog.Chosen(), &zone->Record(SampleZone::kPan));
}

// An editor stand-in: a block title painted where the name editor is laid, and a second element
// that takes no focus.
class EditorHost : public QWidget {
public:
    EditorHost()
    {
        resize(240, 120);
        other.setGeometry(0, 80, 240, 40);
        other.setFocusPolicy(Qt::NoFocus);
    }

    const QRect title{20, 20, 140, 18};
    QWidget other{this};
    InPlaceNameEditor editor{this};
    std::vector<std::string> committed;

    void Begin(const std::string& name)
    {
        editor.Begin(title, name, [this](const std::string& text) { committed.push_back(text); });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(40, 60, 90));
        painter.fillRect(title, QColor(200, 170, 60));
    }
};

TEST(InPlaceNameEditorTest, EnterAndFocusLossHandOnAChangedNameEscapeNothing)
{
    EditorHost host;
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    EXPECT_FALSE(host.editor.isVisible());
    host.Begin("Verse");
    EXPECT_TRUE(host.editor.IsEditing());
    EXPECT_TRUE(host.editor.isVisible());
    EXPECT_EQ(host.editor.geometry().topLeft(), host.title.topLeft());
    EXPECT_EQ(host.editor.selectedText(), "Verse");
    test::SaveScreen(host, "in_place_name");

    QTest::keyClicks(&host.editor, "Chorus");
    QTest::keyClick(&host.editor, Qt::Key_Return);
    EXPECT_FALSE(host.editor.IsEditing());
    EXPECT_FALSE(host.editor.isVisible());
    EXPECT_EQ(host.committed, std::vector<std::string>{"Chorus"});

    host.Begin("Chorus");
    QTest::keyClicks(&host.editor, "Bridge");
    QTest::keyClick(&host.editor, Qt::Key_Escape);
    host.Begin("Chorus");
    QTest::keyClick(&host.editor, Qt::Key_Return); // unchanged
    host.Begin("Chorus");
    host.editor.clear();
    host.editor.Finish(); // empty
    EXPECT_EQ(host.committed.size(), 1u);

    host.Begin("Chorus");
    QTest::keyClicks(&host.editor, "Outro");
    EXPECT_TRUE(host.editor.hasFocus());
    host.editor.clearFocus();
    EXPECT_FALSE(host.editor.IsEditing());
    EXPECT_EQ(host.committed.back(), "Outro");
}

TEST(InPlaceNameEditorTest, APenDownElsewhereEndsTheEditButOnTheEditItDoesNot)
{
    EditorHost host;
    host.show();
    host.Begin("Intro");
    QTest::keyClicks(&host.editor, "Start");
    QTest::mouseClick(&host.editor, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(host.editor.IsEditing());
    QTest::mousePress(&host.other, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(host.editor.IsEditing());
    EXPECT_FALSE(host.editor.isVisible());
    EXPECT_EQ(host.committed, std::vector<std::string>{"Start"});
    QTest::mouseRelease(&host.other, Qt::LeftButton, {}, QPoint(10, 10));

    // A second Begin while editing ends the first edit first.
    host.Begin("A");
    QTest::keyClicks(&host.editor, "B");
    host.Begin("C");
    EXPECT_EQ(host.committed.back(), "B");
    EXPECT_TRUE(host.editor.IsEditing());
    host.editor.Cancel();
}

} // namespace
} // namespace jorvo
