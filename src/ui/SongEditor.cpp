#include "ui/SongEditor.h"

#include <algorithm>

#include <QMenu>
#include <QPainter>

#include "document/XMLArchive.h"
#include "engine/SeqEventTarget.h"
#include "platform/TextFormat.h"
#include "sequencer/SeqEventSection.h"
#include "sequencer/SequencerMessages.h"
#include "sequencer/Sequencer.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

// Rows at most in the sketch of a section's patterns inside its block.
constexpr int kMaxSketchRows = 8;
// A tall lane keeps the sketch compact at the top of the block.
constexpr int kMaxSketchRowHeight = 9;

} // namespace

SongEditor::SongEditor(QWidget* parent) : ArrangementEditor<SectionPlacement>(parent, kInitialBars)
{
    SetName("UISongEditor");
    titleTextColour_ = QColor(168, 247, 253);
    blockTextColour_ = QColor(255, 255, 255);
    laneDivisionAttribute_ = "SectionDivisionColour";
    blockTextAttribute_ = "SectionTextColour";
    drawLaneDivisionsAttribute_ = "DrawSectionDivisions";
    SetLaneRange(0, 1);
}

void SongEditor::SerializeXML(CXMLArchive& archive)
{
    ArrangementEditor<SectionPlacement>::SerializeXML(archive);
    SerializeColour(archive, "Background", background_);
}

SeqEventSong* SongEditor::Song() const
{
    const Sequencer* sequencer = CurrentSequencer();
    return sequencer ? sequencer->GetSong() : nullptr;
}

void SongEditor::Rebind()
{
    ForgetEditing();
    setWindowTitle(Song() ? QString::fromStdString(Song()->GetName()) : QString());
    SetVisibleTime(FirstVisibleTime(), VisibleSpan());
}

SeqEventContainer* SongEditor::Container() const
{
    return Song();
}

const SongEditor::PlacementList* SongEditor::Placements() const
{
    const SeqEventSong* song = Song();
    return song ? &song->Placements() : nullptr;
}

SeqEventContainer* SongEditor::ContentOf(const SectionPlacement& placement) const
{
    return placement.section;
}

// The song's operations ---------------------------------------------------------------------------

bool SongEditor::MovePlacement(SectionPlacement& placement, std::uint32_t offset, std::uint32_t length, int)
{
    SeqEventSong* song = Song();
    return song && song->MovePlacement(&placement, offset, length);
}

SectionPlacement* SongEditor::AddPlacement(SeqEventContainer& content, std::uint32_t offset, int)
{
    SeqEventSong* song = Song();
    auto* section = dynamic_cast<SeqEventSection*>(&content);
    return song && section ? song->AddPlacement(section, offset) : nullptr;
}

bool SongEditor::RemovePlacement(SectionPlacement& placement)
{
    SeqEventSong* song = Song();
    return song && song->RemovePlacement(&placement);
}

SectionPlacement* SongEditor::FindNextOnLane(const SectionPlacement& placement) const
{
    const SeqEventSong* song = Song();
    return song ? song->FindNextPlacement(&placement) : nullptr;
}

SeqEventContainer* SongEditor::Replicate(SeqEventContainer& content) const
{
    Sequencer* sequencer = CurrentSequencer();
    auto* section = dynamic_cast<SeqEventSection*>(&content);
    return sequencer && section ? sequencer->ReplicateSection(section) : nullptr;
}

bool SongEditor::IsAliased(const SeqEventContainer& content) const
{
    const Sequencer* sequencer = CurrentSequencer();
    const auto* section = dynamic_cast<const SeqEventSection*>(&content);
    return sequencer && section && sequencer->IsSectionAliased(section);
}

bool SongEditor::Accepts(const SeqEvent& event) const
{
    return dynamic_cast<const SeqEventSection*>(&event) != nullptr;
}

SeqEventContainer* SongEditor::Adopt(SeqEvent& dropped, WParam kind) const
{
    Sequencer* sequencer = CurrentSequencer();
    auto* section = dynamic_cast<SeqEventSection*>(&dropped);
    if (!sequencer || !section)
        return nullptr;
    SeqEventSection* listed = sequencer->FindSection(section->GetName());
    if (kind == 1 && listed)
        return listed;
    if (kind == 2 && listed)
        return sequencer->ReplicateSection(listed);
    return sequencer->ReplicateSection(section);
}

void SongEditor::UpdatePlayRange()
{
    const SectionPlacement* placement = Selected();
    if (Loops() && placement)
        SetPlayRange(placement->section, placement->offset);
    else
        SetPlayRange(nullptr, 0);
}

// Drawing ------------------------------------------------------------------------------------------------

QColor SongEditor::BlockColour(const SectionPlacement& placement) const
{
    return placement.section ? ToQColor(placement.section->GetColour()) : QColor(Qt::white);
}

void SongEditor::SetContentColour(SeqEventContainer& content, Colour colour) const
{
    if (auto* section = dynamic_cast<SeqEventSection*>(&content))
        section->SetColour(colour);
}

QColor SongEditor::ContentColour(const SeqEventContainer& content) const
{
    const auto* section = dynamic_cast<const SeqEventSection*>(&content);
    return section ? ToQColor(section->GetColour()).darker(135) : QColor(Qt::white);
}

QColor SongEditor::LaneColour(int) const
{
    return background_;
}

void SongEditor::DrawBlockBody(QPainter& painter, const SectionPlacement& placement, const QRect& body) const
{
    // A sketch of the section: one thin row per target, a bar wherever a pattern plays.
    const SeqEventSection* section = placement.section;
    if (!section || body.height() < 8)
        return;
    std::vector<const SeqEventTarget*> rows;
    for (const auto& pattern : section->Placements())
        if (std::find(rows.begin(), rows.end(), pattern->target) == rows.end() && rows.size() < kMaxSketchRows)
            rows.push_back(pattern->target);
    if (rows.empty())
        return;
    const int rowHeight = std::clamp((body.height() - 4) / static_cast<int>(rows.size()), 2, kMaxSketchRowHeight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 110));
    for (const auto& pattern : section->Placements()) {
        const auto row = std::find(rows.begin(), rows.end(), pattern->target);
        if (row == rows.end())
            continue;
        const std::uint32_t start = AddPulses(placement.offset, pattern->offset);
        const int left = std::max(body.left() + 2, TimeToX(start));
        const int right = std::min(body.right() - 2, TimeToX(AddPulses(start, pattern->pattern->GetLength())) - 1);
        const int top = body.top() + 2 + static_cast<int>(row - rows.begin()) * rowHeight;
        if (left < right)
            painter.drawRect(QRect(left, top, right - left, std::max(1, rowHeight - 2)));
    }
}

std::string SongEditor::TitleText() const
{
    const SeqEventSong* song = Song();
    return song ? song->GetName() : std::string();
}

int SongEditor::HandleWidth(int width) const
{
    return std::clamp(width / 4, 4, 16);
}

// Menus and commands ------------------------------------------------------------------------------------

void SongEditor::FillBlockMenu(QMenu& menu, const SectionPlacement&)
{
    menu.addAction("Edit");
    AddCheckedEntry(menu, "Loop Active Section", Loops());
    menu.addAction("&Rename..");
}

void SongEditor::FillEmptyMenu(QMenu& menu)
{
    AddCheckedEntry(menu, "Follow", Follows());
    AddCheckedEntry(menu, "Loop Song", !Loops());
    AddCheckedEntry(menu, "Loop Active Section", Loops());
    menu.addAction("Rename");
}

std::string SongEditor::NameInUseQuestion(const std::string& wanted, const std::string& proposed) const
{
    return FormatText(SequencerMessages::kSectionNameInUse, {wanted, proposed});
}

std::string SongEditor::UniqueName(const std::string& base) const
{
    const Sequencer* sequencer = CurrentSequencer();
    return sequencer ? sequencer->UniqueSectionName(base) : base;
}

bool SongEditor::RunCommand(const std::string& text)
{
    if (ArrangementEditor<SectionPlacement>::RunCommand(text))
        return true;
    Sequencer* sequencer = CurrentSequencer();
    SectionPlacement* placement = Selected();
    if (!sequencer)
        return false;
    if (text == "Edit") {
        if (placement && sequencer->SetActiveSection(placement))
            sequencer->ShowSectionEditor();
    } else if (text == "Loop Song") {
        SetLoop(false);
        UpdatePlayRange();
    } else if (text == "Loop Active Section") {
        SetLoop(!Loops());
        UpdatePlayRange();
    } else if (text == "&Rename..") {
        if (placement)
            sequencer->RenameWithDialog(placement->section);
        update();
    } else if (text == "Rename") {
        if (Song() && sequencer->RenameWithDialog(Song()))
            setWindowTitle(QString::fromStdString(Song()->GetName()));
        update();
    } else {
        return false;
    }
    return true;
}

bool SongEditor::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == RegisterWindowMessage(UIWindowMessages::kChangeActiveSection)) {
        Refresh();
        return true;
    }
    return ArrangementEditor<SectionPlacement>::OnWindowMessage(message, wParam, lParam);
}

void SongEditor::showEvent(QShowEvent* event)
{
    ArrangementEditor<SectionPlacement>::showEvent(event);
    Rebind();
}

} // namespace jorvo
