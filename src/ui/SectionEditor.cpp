#include "ui/SectionEditor.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/Instrument.h"
#include "engine/Mixer.h"
#include "engine/MixerBuss.h"
#include "engine/MixerChannel.h"
#include "engine/SoundStudio.h"
#include "platform/TextFormat.h"
#include "sequencer/SeqEventNote.h"
#include "sequencer/SeqEventPattern.h"
#include "sequencer/SequencerMessages.h"
#include "sequencer/Sequencer.h"
#include "ui/SkinView.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {
namespace {

WindowMessage Message(const char* name)
{
    return RegisterWindowMessage(name);
}

} // namespace

SectionEditor::SectionEditor(QWidget* parent) : ArrangementEditor<PatternPlacement>(parent, kInitialBars)
{
    SetName("UISectionEditor");
    titleTextColour_ = QColor(168, 247, 253);
    laneDivisionAttribute_ = "PatternDivisionColour";
    blockTextAttribute_ = "PatternTextColour";
    drawLaneDivisionsAttribute_ = "DrawTargetDivisions";
}

void SectionEditor::SerializeXML(CXMLArchive& archive)
{
    ArrangementEditor<PatternPlacement>::SerializeXML(archive);
    SerializeColour(archive, "InstrumentColour", instrumentColour_);
    SerializeColour(archive, "EffectColour", effectColour_);
    SerializeColour(archive, "ChannelColour", channelColour_);
    SerializeColour(archive, "BussColour", bussColour_);
    SerializeColour(archive, "MasterColour", masterColour_);
}

// Binding and lanes ---------------------------------------------------------------------------------------

void SectionEditor::Rebind()
{
    ForgetEditing();
    setWindowTitle(Section() ? QString::fromStdString(Section()->GetName()) : QString());
    SetVisibleTime(ContainerStart(), VisibleSpan());
}

SeqEventSection* SectionEditor::Section() const
{
    const Sequencer* sequencer = CurrentSequencer();
    const SectionPlacement* placement = sequencer ? sequencer->GetActiveSection() : nullptr;
    return placement ? placement->section : nullptr;
}

SeqEventContainer* SectionEditor::Container() const
{
    return Section();
}

std::uint32_t SectionEditor::ContainerStart() const
{
    const Sequencer* sequencer = CurrentSequencer();
    return sequencer ? sequencer->GetActiveSectionStart() : 0;
}

const SectionEditor::PlacementList* SectionEditor::Placements() const
{
    const SeqEventSection* section = Section();
    return section ? &section->Placements() : nullptr;
}

SeqEventContainer* SectionEditor::ContentOf(const PatternPlacement& placement) const
{
    return placement.pattern;
}

void SectionEditor::RebuildLanes()
{
    std::vector<SeqEventTarget*> lanes;
    if (SoundStudio* studio = SoundStudio::Current()) {
        Mixer& mixer = studio->GetMixer();
        for (const auto& channel : mixer.Channels()) {
            if (channel->GetInstrument())
                lanes.push_back(channel->GetInstrument());
            lanes.push_back(channel.get());
        }
        for (const auto& buss : mixer.Busses()) {
            if (buss->GetEffect())
                lanes.push_back(buss->GetEffect());
            lanes.push_back(buss.get());
        }
        lanes.push_back(&mixer);
    }
    // Placements aimed at nothing listed (no target, or one the studio no longer has) share a
    // last lane, so that they stay visible and editable.
    if (const PlacementList* list = Placements())
        for (const auto& placement : *list)
            if (std::find(lanes.begin(), lanes.end(), placement->target) == lanes.end()) {
                lanes.push_back(nullptr);
                break;
            }
    // The first lane list (built on the first binding) keeps the lanes asked for.
    const bool allVisible = !lanes_.empty() && FirstVisibleLane() == 0 && static_cast<int>(lanes_.size()) <= VisibleLanes();
    const bool countChanged = lanes.size() != lanes_.size();
    lanes_ = std::move(lanes);
    if (countChanged && allVisible && !lanes_.empty())
        SetLaneRange(0, std::max(VisibleLanes(), static_cast<int>(lanes_.size())));
}

void SectionEditor::PrepareRefresh()
{
    RebuildLanes();
}

int SectionEditor::LaneOfTarget(const SeqEventTarget* target) const
{
    const auto found = std::find(lanes_.begin(), lanes_.end(), target);
    return found == lanes_.end() ? -1 : static_cast<int>(found - lanes_.begin());
}

int SectionEditor::LaneOf(const PatternPlacement& placement) const
{
    const int lane = LaneOfTarget(placement.target);
    return lane >= 0 ? lane : LaneOfTarget(nullptr);
}

SeqEventTarget* SectionEditor::TargetOfLane(int lane) const
{
    return lane >= 0 && lane < LaneCount() ? lanes_[static_cast<std::size_t>(lane)] : nullptr;
}

// The section's operations ----------------------------------------------------------------------------

bool SectionEditor::MovePlacement(PatternPlacement& placement, std::uint32_t offset, std::uint32_t length, int lane)
{
    SeqEventSection* section = Section();
    return section && section->MovePlacement(&placement, offset, length, TargetOfLane(lane));
}

PatternPlacement* SectionEditor::AddPlacement(SeqEventContainer& content, std::uint32_t offset, int lane)
{
    SeqEventSection* section = Section();
    auto* pattern = dynamic_cast<SeqEventPattern*>(&content);
    return section && pattern ? section->AddPlacement(pattern, TargetOfLane(lane), offset) : nullptr;
}

bool SectionEditor::RemovePlacement(PatternPlacement& placement)
{
    SeqEventSection* section = Section();
    return section && section->RemovePlacement(&placement);
}

PatternPlacement* SectionEditor::FindNextOnLane(const PatternPlacement& placement) const
{
    const SeqEventSection* section = Section();
    return section ? section->FindNextPlacement(&placement) : nullptr;
}

SeqEventContainer* SectionEditor::Replicate(SeqEventContainer& content) const
{
    Sequencer* sequencer = CurrentSequencer();
    auto* pattern = dynamic_cast<SeqEventPattern*>(&content);
    return sequencer && pattern ? sequencer->ReplicatePattern(pattern) : nullptr;
}

bool SectionEditor::IsAliased(const SeqEventContainer& content) const
{
    const Sequencer* sequencer = CurrentSequencer();
    const auto* pattern = dynamic_cast<const SeqEventPattern*>(&content);
    return sequencer && pattern && sequencer->IsPatternAliased(pattern);
}

bool SectionEditor::Accepts(const SeqEvent& event) const
{
    return dynamic_cast<const SeqEventPattern*>(&event) != nullptr;
}

SeqEventContainer* SectionEditor::Adopt(SeqEvent& dropped, WParam kind) const
{
    Sequencer* sequencer = CurrentSequencer();
    auto* pattern = dynamic_cast<SeqEventPattern*>(&dropped);
    if (!sequencer || !pattern)
        return nullptr;
    SeqEventPattern* listed = sequencer->FindPattern(pattern->GetName());
    if (kind == 1 && listed)
        return listed; // an alias of the template
    if (kind == 2 && listed)
        return sequencer->ReplicatePattern(listed);
    // A new pattern (or a template the song does not know): entered under a free name.
    return sequencer->ReplicatePattern(pattern);
}

void SectionEditor::UpdatePlayRange()
{
    const PatternPlacement* placement = Selected();
    if (loopPattern_ && placement)
        SetPlayRange(placement->pattern, AddPulses(ContainerStart(), placement->offset));
    else if (Loops() && Section())
        SetPlayRange(Section(), ContainerStart());
    else
        SetPlayRange(nullptr, 0);
}

// Drawing ---------------------------------------------------------------------------------------------------

QColor SectionEditor::TargetColour(const SeqEventTarget* target) const
{
    const std::string kind = target ? target->GetTypeName() : std::string();
    if (kind == "Instrument")
        return instrumentColour_;
    if (kind == "Effect")
        return effectColour_;
    if (kind == "Channel")
        return channelColour_;
    if (kind == "Buss")
        return bussColour_;
    if (kind == "Mixer")
        return masterColour_;
    return Qt::white;
}

QColor SectionEditor::BlockColour(const PatternPlacement& placement) const
{
    return TargetColour(placement.target);
}

void SectionEditor::SetContentColour(SeqEventContainer& content, Colour colour) const
{
    if (auto* pattern = dynamic_cast<SeqEventPattern*>(&content))
        pattern->SetColour(colour);
}

QColor SectionEditor::ContentColour(const SeqEventContainer& content) const
{
    const auto* pattern = dynamic_cast<const SeqEventPattern*>(&content);
    return pattern ? ToQColor(pattern->GetColour()) : QColor(Qt::white);
}

void SectionEditor::DrawBlockBody(QPainter& painter, const PatternPlacement& placement, const QRect& body) const
{
    // A sketch of the notes: each note a short stroke at its time, its pitch scaled into the body.
    const SeqEventPattern* pattern = placement.pattern;
    if (!pattern || body.height() < 6)
        return;
    int low = 127, high = 0;
    for (const auto& event : pattern->Events())
        if (const auto* note = PersistentCast<SeqEventNote>(event.get())) {
            low = std::min<int>(low, note->GetPitch());
            high = std::max<int>(high, note->GetPitch());
        }
    if (low > high)
        return;
    const std::uint32_t start = AddPulses(ContainerStart(), placement.offset);
    const int usable = body.height() - 5;
    painter.setPen(QPen(QColor(40, 30, 80, 170), 2));
    for (const auto& event : pattern->Events())
        if (const auto* note = PersistentCast<SeqEventNote>(event.get())) {
            const int left = std::max(body.left() + 1, TimeToX(AddPulses(start, note->GetStart())));
            const int right = std::min(body.right() - 1, std::max(left + 1, TimeToX(AddPulses(start, note->GetEnd()))));
            const int y = body.bottom() - 2 - (high == low ? usable / 2 : (note->GetPitch() - low) * usable / (high - low));
            if (left <= right)
                painter.drawLine(left, y, right, y);
        }
}

void SectionEditor::Draw(QPainter& painter)
{
    ArrangementEditor<PatternPlacement>::Draw(painter);
    DrawLaneNames(painter);
}

void SectionEditor::DrawLaneNames(QPainter& painter) const
{
    const QRect content = ContentRect();
    const QRect column(0, content.top(), kLaneNameWidth, content.height());
    painter.fillRect(QRect(0, RulerRect().top(), kLaneNameWidth, height() - RulerRect().top()), QColor(58, 62, 74));
    if (!Section())
        return;
    QFont font("Tahoma");
    font.setPixelSize(10);
    QFont kindFont = font;
    kindFont.setPixelSize(9);
    for (int lane = FirstVisibleLane(); lane < std::min(LaneCount(), FirstVisibleLane() + VisibleLanes()); ++lane) {
        QRect row = LaneRect(lane);
        row.setLeft(0);
        row.setWidth(kLaneNameWidth);
        const SeqEventTarget* target = TargetOfLane(lane);
        // A chip in the lane's block colour ties the name to the blocks.
        painter.fillRect(QRect(row.left() + 3, row.top() + 3, 4, std::max(1, row.height() - 6)), TargetColour(target));
        const QRect text = row.adjusted(10, 0, -2, 0);
        const QString name = target ? QString::fromStdString(target->GetName()) : QString("No Target");
        // An instrument and its channel share a name: the kind, in a second line, tells them apart.
        const bool twoLines = target && row.height() >= 26;
        const QRect nameLine = twoLines ? QRect(text.left(), row.center().y() - 12, text.width(), 13) : text;
        painter.setFont(font);
        painter.setPen(QColor(235, 235, 240));
        painter.drawText(nameLine, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(name, Qt::ElideRight, text.width()));
        if (twoLines) {
            painter.setFont(kindFont);
            painter.setPen(QColor(160, 166, 184));
            painter.drawText(QRect(text.left(), row.center().y() + 1, text.width(), 12),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             QString::fromStdString(target->GetTypeName() == "Mixer" ? "Master" : target->GetTypeName()));
        }
        painter.setPen(QColor(80, 84, 98));
        painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    }
    painter.setPen(barDivisionColour_);
    painter.drawLine(column.right(), column.top(), column.right(), column.bottom());
}

std::string SectionEditor::TitleText() const
{
    const SeqEventSection* section = Section();
    return section ? section->GetName() : "No Section";
}

int SectionEditor::HandleWidth(int width) const
{
    return std::min(16, width / 4);
}

// Menus and commands ------------------------------------------------------------------------------------

void SectionEditor::FillBlockMenu(QMenu& menu, const PatternPlacement&)
{
    menu.addAction("Edit Notes");
    menu.addAction("Edit Parameters");
    AddCheckedEntry(menu, "Loop Active Pattern", loopPattern_);
    menu.addAction("&Rename..");
    menu.addAction("Set as Factory Template");
}

void SectionEditor::FillEmptyMenu(QMenu& menu)
{
    AddCheckedEntry(menu, "Follow", Follows());
    menu.addAction("Edit Song");
    AddCheckedEntry(menu, "Loop Active Section", Loops());
    AddCheckedEntry(menu, "Loop Active Pattern", loopPattern_);
    menu.addAction("Rename")->setEnabled(Section() != nullptr);
}

std::string SectionEditor::NameInUseQuestion(const std::string& wanted, const std::string& proposed) const
{
    return FormatText(std::string(SequencerMessages::kPatternNameInUse), {wanted, proposed});
}

std::string SectionEditor::UniqueName(const std::string& base) const
{
    const Sequencer* sequencer = CurrentSequencer();
    return sequencer ? sequencer->UniquePatternName(base) : base;
}

bool SectionEditor::RunCommand(const std::string& text)
{
    if (ArrangementEditor<PatternPlacement>::RunCommand(text))
        return true;
    Sequencer* sequencer = CurrentSequencer();
    PatternPlacement* placement = Selected();
    if (!sequencer)
        return false;
    if (text == "Edit Notes" || text == "Edit Parameters") {
        if (placement && sequencer->SetActivePattern(placement))
            sequencer->ShowPatternEditor(text == "Edit Notes" ? 0 : 2);
    } else if (text == "Edit Song") {
        sequencer->ShowSongEditor();
    } else if (text == "Loop Active Section") {
        SetLoop(!Loops());
        UpdatePlayRange();
    } else if (text == "Loop Active Pattern") {
        loopPattern_ = !loopPattern_;
        UpdatePlayRange();
    } else if (text == "&Rename..") {
        if (placement)
            sequencer->RenameWithDialog(placement->pattern);
        update();
    } else if (text == "Rename") {
        if (Section() && sequencer->RenameWithDialog(Section()))
            setWindowTitle(QString::fromStdString(Section()->GetName()));
        update();
    } else if (text == "Set as Factory Template") {
        if (placement && OwningView())
            OwningView()->Broadcast(Message(UIWindowMessages::kSetPatternFactoryTemplate),
                                    reinterpret_cast<WParam>(placement->pattern), 0);
    } else {
        return false;
    }
    return true;
}

bool SectionEditor::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    if (message == Message(UIWindowMessages::kChangeActiveSection)) {
        Rebind();
        return true;
    }
    if (message == Message("WM_ZOOM_IN_PITCH")) {
        SetLaneRange(FirstVisibleLane(), VisibleLanes() - 1);
        return true;
    }
    if (message == Message("WM_ZOOM_OUT_PITCH")) {
        SetLaneRange(FirstVisibleLane(), VisibleLanes() + 1);
        return true;
    }
    return ArrangementEditor<PatternPlacement>::OnWindowMessage(message, wParam, lParam);
}

void SectionEditor::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int repeat = std::max(1, event->count());
    switch (event->key()) {
    case Qt::Key_Up:
        control ? SetLaneRange(FirstVisibleLane(), VisibleLanes() - 1) : SetLaneRange(FirstVisibleLane() - repeat, VisibleLanes());
        break;
    case Qt::Key_Down:
        control ? SetLaneRange(FirstVisibleLane(), VisibleLanes() + 1) : SetLaneRange(FirstVisibleLane() + repeat, VisibleLanes());
        break;
    default:
        ArrangementEditor<PatternPlacement>::keyPressEvent(event);
        return;
    }
    event->accept();
}

void SectionEditor::showEvent(QShowEvent* event)
{
    ArrangementEditor<PatternPlacement>::showEvent(event);
    Rebind();
}

} // namespace jorvo
