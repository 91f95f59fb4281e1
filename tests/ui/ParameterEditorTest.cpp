// The parameter editor: choosing the parameter, the value axis, writing strokes into the pattern
// (one event per change of value, the stretch's old events replaced, quantized times), clearing
// and pasting events, and a screen of the demo song's automation.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "document/Configuration.h"
#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "engine/SoundStudio.h"
#include "platform/RecordingShell.h"
#include "sequencer/SeqEventCC.h"
#include "sequencer/Sequencer.h"
#include "sequencer/SequencerSettings.h"
#include "support/DemoSong.h"
#include "ui/EventClipboard.h"
#include "ui/ParameterEditor.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"
#include "ui/UiTestSupport.h"
#include "ui/WindowMessageEvent.h"

namespace jorvo {
namespace {

namespace fs = std::filesystem;

// A synthesiser with "Cutoff" (controller 74) and "Volume" (controller 7), both 0 … 127.
class SynthTarget : public SeqEventTarget {
public:
    SynthTarget()
    {
        AddParameter(&cutoff);
        AddParameter(&volume);
    }
    SeqParameter cutoff{"Cutoff", "Filter cutoff", 74, 0, 127, 64};
    SeqParameter volume{"Volume", "Volume", 7, 0, 127, 100};
};

using Points = std::vector<std::pair<std::uint32_t, std::int32_t>>;

WindowMessage Named(const char* name)
{
    return RegisterWindowMessage(name);
}

class ParameterEditorTest : public ::testing::Test {
protected:
    ParameterEditorTest()
    {
        Configuration().SetTapNHoldDelay(60000);
        bar = SequencerSettings::GetPulsesPerBar();
        pattern = sequencer.CreatePattern("Bass");
        pattern->SetLength(4 * bar);
        SeqEventSection* section = sequencer.CreateSection("Verse");
        section->SetLength(4 * bar);
        PatternPlacement* placed = section->AddPlacement(pattern, &synth, 0);
        SectionPlacement* song = sequencer.GetSong()->AddPlacement(section, 0);
        sequencer.SetActiveSection(song);
        sequencer.SetActivePattern(placed);
        view.resize(480, 640);
        editor = new ParameterEditor(&view);
        editor->Create(0, 0, 480, 300);
        view.AddElement(editor);
        editor->BindActivePattern();
        editor->SetQuantize(0);
    }

    void Add(std::uint16_t controller, std::uint32_t time, std::int32_t value)
    {
        auto event = std::make_unique<SeqEventCC>();
        event->SetController(controller);
        event->SetValue(value);
        event->SetStart(time);
        std::unique_ptr<SeqEvent> owned = std::move(event);
        ASSERT_TRUE(pattern->InsertEvent(owned));
    }

    // The pattern's events of `controller` as (time, value), in time order.
    Points Events(std::uint16_t controller) const
    {
        Points points;
        for (const auto& event : pattern->Events())
            if (event->GetType() == kSeqEventController) {
                const auto* cc = static_cast<const SeqEventCC*>(event.get());
                if (cc->GetController() == controller)
                    points.emplace_back(cc->GetStart(), cc->GetValue());
            }
        return points;
    }

    QPoint At(std::uint32_t time, int y) const { return {editor->TimeToX(time), y}; }

    // Draws through `points` with the pen; with a `screen` name, the editor is saved before the
    // pen goes up.
    void Stroke(const std::vector<QPoint>& points, const char* screen = nullptr)
    {
        test::SendPen(*editor, QEvent::MouseButtonPress, points.front());
        for (std::size_t i = 1; i < points.size(); ++i)
            test::SendPen(*editor, QEvent::MouseMove, points[i]);
        if (screen)
            editor->grab().save(QString(JORVO_TEST_OUTPUT_DIR "/%1.png").arg(screen));
        test::SendPen(*editor, QEvent::MouseButtonRelease, points.back());
    }

    RecordingShell shell;
    ScopedShell scoped{shell};
    Sequencer sequencer;
    SynthTarget synth;
    SynthTarget other;
    SkinView view;
    ParameterEditor* editor = nullptr;
    SeqEventPattern* pattern = nullptr;
    std::uint32_t bar = 0;
};

TEST_F(ParameterEditorTest, AParameterOfAnotherTargetIsRefusedAndTheDisplayStays)
{
    EXPECT_EQ(editor->EditedParameter(), nullptr);
    EXPECT_EQ(editor->VisibleValueRange(), 127);
    EXPECT_EQ(editor->VisibleSpan(), 2 * bar);
    SendWindowMessage(editor, Named(UIWindowMessages::kEditParameter), reinterpret_cast<WParam>(&synth.cutoff), 0);
    EXPECT_EQ(editor->EditedParameter(), &synth.cutoff);

    EXPECT_FALSE(editor->EditParameter(&other.volume));
    SendWindowMessage(editor, Named(UIWindowMessages::kEditParameter), reinterpret_cast<WParam>(&other.volume), 0);
    EXPECT_EQ(editor->EditedParameter(), &synth.cutoff);
    EXPECT_FALSE(editor->EditParameter(&synth.cutoff)); // already edited

    // The value axis follows the parameter's range.
    synth.volume.SetRange(-20, 40);
    EXPECT_TRUE(editor->EditParameter(&synth.volume));
    EXPECT_EQ(editor->FirstVisibleValue(), -20);
    EXPECT_EQ(editor->VisibleValueRange(), 60);
    const QRect content = editor->ContentRect();
    EXPECT_EQ(editor->YToValue(content.bottom()), -20);
    EXPECT_EQ(editor->YToValue(content.top()), 40);
}

TEST_F(ParameterEditorTest, TheValueWindowZoomsAndScrollsWithinTheRange)
{
    editor->EditParameter(&synth.cutoff);
    SendWindowMessage(editor, Named("WM_ZOOM_OUT_VALUE"), 0, 0);
    EXPECT_EQ(editor->VisibleValueRange(), 127);
    for (int i = 0; i < 100; ++i)
        SendWindowMessage(editor, Named("WM_ZOOM_IN_VALUE"), 0, 0);
    EXPECT_EQ(editor->VisibleValueRange(), 27);
    editor->SetVisibleValues(500, 27);
    EXPECT_EQ(editor->FirstVisibleValue(), 127 - 27 + 1);
    editor->SetVisibleValues(-5, 0);
    EXPECT_EQ(editor->FirstVisibleValue(), 0);
    EXPECT_EQ(editor->VisibleValueRange(), 1);
}

TEST_F(ParameterEditorTest, ClearEventsRemovesOnlyTheEditedParametersVisibleEvents)
{
    Add(74, 0, 10);
    Add(74, 480, 20);
    Add(7, 480, 90);
    Add(74, 3 * bar, 30); // outside the two visible bars
    editor->EditParameter(&synth.cutoff);
    EXPECT_EQ(editor->VisibleEvents().size(), 2u);
    EXPECT_TRUE(editor->RunCommand("Clear Events"));
    EXPECT_EQ(Events(74), (Points{{3 * bar, 30}}));
    EXPECT_EQ(Events(7), (Points{{480, 90}}));
    EXPECT_TRUE(editor->VisibleEvents().empty());
}

TEST_F(ParameterEditorTest, AHorizontalStrokeLeavesOneEventAtItsFirstTimeWithItsValue)
{
    Add(74, 0, 5);
    Add(74, 960, 10);
    Add(74, 1200, 20);
    Add(74, 1440, 30);
    Add(74, 3000, 50);
    Add(7, 1200, 77);
    editor->EditParameter(&synth.cutoff);
    const int y = editor->ValueToY(100);
    const QPoint first = At(900, y);
    Stroke({first, At(1100, y), At(1300, y), At(1500, y), At(1700, y)});
    const std::uint32_t start = editor->XToTime(first.x());
    const std::int32_t value = editor->YToValue(y);
    EXPECT_NEAR(value, 100, 1);
    EXPECT_EQ(Events(74), (Points{{0, 5}, {start, value}, {3000, 50}}));
    EXPECT_EQ(Events(7), (Points{{1200, 77}}));

    // Along the top of the grid the stroke writes the parameter's maximum.
    Stroke({At(2000, editor->ContentRect().top()), At(2500, editor->ContentRect().top() - 30)});
    const Points top = Events(74);
    EXPECT_EQ(top[top.size() - 2], (Points::value_type{editor->XToTime(At(2000, 0).x()), 127}));
    EXPECT_EQ(top.back(), (Points::value_type{3000, 50}));
}

TEST_F(ParameterEditorTest, AStrokeWritesOneEventPerChangeOfValueAndKeepsTheEventsAroundIt)
{
    Add(74, 100, 1);
    Add(74, 2000, 2);
    Add(74, 3500, 3);
    editor->EditParameter(&synth.cutoff);
    const QRect content = editor->ContentRect();
    Stroke({At(500, content.bottom()), At(1000, (content.top() + content.bottom()) / 2), At(3000, content.top())},
           "parameter_editor_stroke");
    const Points written = Events(74);
    ASSERT_GE(written.size(), 20u);
    EXPECT_EQ(written.front(), (Points::value_type{100, 1}));
    EXPECT_EQ(written.back(), (Points::value_type{3500, 3}));
    for (std::size_t i = 2; i + 1 < written.size(); ++i) {
        EXPECT_GT(written[i].first, written[i - 1].first);
        EXPECT_GT(written[i].second, written[i - 1].second); // rising: every event a new value
    }
    EXPECT_EQ(written[1].second, 0);
    // The last step before the stroke's end lies within a step of the top of the grid.
    EXPECT_GE(written[written.size() - 2].second, 125);
}

TEST_F(ParameterEditorTest, AQuantizedStrokeWritesOnlyAtGridTimes)
{
    editor->EditParameter(&synth.cutoff);
    editor->SetQuantize(1);
    const std::uint32_t grid = editor->Quantum();
    ASSERT_GT(grid, 1u);
    const QRect content = editor->ContentRect();
    Stroke({At(130, content.bottom() - 10), At(1234, content.top() + 40), At(3333, content.top() + 5)});
    const Points written = Events(74);
    ASSERT_GE(written.size(), 3u);
    for (const auto& [time, value] : written)
        EXPECT_EQ(time % grid, 0u) << time;
}

TEST_F(ParameterEditorTest, PasteAddsTheClipboardsEventsAtTheTimeUnderThePoint)
{
    editor->EditParameter(&synth.cutoff);
    SeqEventCC first, second;
    first.SetController(74);
    first.SetValue(40);
    first.SetStart(100);
    second.SetController(74);
    second.SetValue(80);
    second.SetStart(340);
    ASSERT_TRUE(EventClipboard::PutEvents({&first, &second}));
    const QPoint point = editor->mapToGlobal(At(960, 100));
    SendWindowMessage(editor, Named("WM_PASTE"), 0, LParam(point.x()) * 65536 + point.y());
    const std::uint32_t at = editor->XToTime(At(960, 100).x());
    EXPECT_EQ(Events(74), (Points{{at, 40}, {at + 240, 80}}));
    EXPECT_EQ(editor->VisibleEvents().size(), 2u);
}

TEST_F(ParameterEditorTest, APatternOfATargetWithoutTheParameterShowsNoParameter)
{
    editor->EditParameter(&synth.cutoff);
    SeqEventPattern* lead = sequencer.CreatePattern("Lead");
    lead->SetLength(bar);
    PatternPlacement* placed = sequencer.GetActiveSection()->section->AddPlacement(lead, &other, 2 * bar);
    sequencer.SetActivePattern(placed);
    SendWindowMessage(editor, Named(UIWindowMessages::kChangeActivePattern), 0, 0);
    EXPECT_EQ(editor->EditedParameter(), nullptr);
    EXPECT_EQ(editor->FirstVisibleTime(), 2 * bar);
    EXPECT_EQ(editor->VisibleSpan(), bar);
    EXPECT_EQ(editor->windowTitle(), "Lead");
    editor->grab().save(JORVO_TEST_OUTPUT_DIR "/parameter_editor_no_parameter.png");
    // Drawing without a parameter writes nothing.
    Stroke({At(2 * bar + 10, 100), At(2 * bar + 900, 200)});
    EXPECT_TRUE(lead->Events().empty());
}

// The demo song's automation, for a person to look at.
TEST(ParameterEditorScreen, DemoSongAutomation)
{
    RecordingShell shell;
    ScopedShell scoped{shell};
    const fs::path source(JORVO_SOURCE_DIR);
    Configuration().SetSampleDir((source / "samples").string());
    SoundStudio studio;
    test::LoadDemo(studio);
    Sequencer& sequencer = studio.GetSequencer();

    SkinView view;
    view.resize(480, 640);
    auto* editor = new ParameterEditor(&view);
    editor->Create(0, 0, 480, 320);
    view.AddElement(editor);
    const std::pair<const char*, const char*> shown[] = {{"Intro", "BassIntro"}, {"Outro", "FadeOut"}};
    for (const auto& [sectionName, patternName] : shown) {
        for (const auto& placement : sequencer.GetSong()->Placements())
            if (placement->section->GetName() == sectionName)
                sequencer.SetActiveSection(placement.get());
        for (const auto& placement : sequencer.GetActiveSection()->section->Placements())
            if (placement->pattern->GetName() == patternName)
                sequencer.SetActivePattern(placement.get());
        ASSERT_EQ(sequencer.GetActivePattern()->pattern->GetName(), patternName);
        editor->BindActivePattern();
        SeqEventTarget* target = sequencer.GetActivePattern()->target;
        const auto& events = sequencer.GetActivePattern()->pattern->Events();
        const auto controller = std::find_if(events.begin(), events.end(), [](const auto& event) {
            return event->GetType() == kSeqEventController;
        });
        ASSERT_NE(controller, events.end());
        ASSERT_TRUE(editor->EditParameter(
            target->FindParameter(static_cast<const SeqEventCC&>(**controller).GetController())));
        EXPECT_FALSE(editor->VisibleEvents().empty());
        view.grab().save(QString(JORVO_TEST_OUTPUT_DIR "/parameter_editor_%1.png").arg(patternName));
    }
}

} // namespace
} // namespace jorvo
