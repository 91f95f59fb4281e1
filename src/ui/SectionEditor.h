#pragma once
// The patterns of the sequencer's active section, one lane per target of the studio in mixer
// order (each channel's instrument, then the channel; each buss's effect, then the buss; last
// the master mixer), each pattern a block coloured by the kind of its target. UI thread only.
#include <vector>

#include "sequencer/SeqEventSection.h"
#include "ui/ArrangementEditor.h"

namespace jorvo {

class SeqEventPattern;
class SeqEventTarget;

class SectionEditor : public ArrangementEditor<PatternPlacement> {
public:
    static constexpr int kLaneNameWidth = 64;
    static constexpr std::uint32_t kInitialBars = 16;

    explicit SectionEditor(QWidget* parent);

    std::string GetClassName() const override { return "SectionEditor"; }
    // After the shared attributes: the five target-class colours.
    void SerializeXML(CXMLArchive& archive) override;

    // Binds to the sequencer's active section and rebuilds lanes and visible placements.
    void Rebind();
    // The active section (null without one) and its song start.
    SeqEventSection* Section() const;
    // The targets, one per lane (a last null lane holds placements whose target is not listed).
    const std::vector<SeqEventTarget*>& Lanes() const { return lanes_; }
    // The lane of `target`, or -1.
    int LaneOfTarget(const SeqEventTarget* target) const;
    // The block colour of a pattern aimed at `target`.
    QColor TargetColour(const SeqEventTarget* target) const;
    bool LoopsPattern() const { return loopPattern_; }

    bool RunCommand(const std::string& text) override;

protected:
    SeqEventContainer* Container() const override;
    std::uint32_t ContainerStart() const override;
    const PlacementList* Placements() const override;
    SeqEventContainer* ContentOf(const PatternPlacement& placement) const override;
    int LaneCount() const override { return static_cast<int>(lanes_.size()); }
    int LaneOf(const PatternPlacement& placement) const override;
    bool MovePlacement(PatternPlacement& placement, std::uint32_t offset, std::uint32_t length, int lane) override;
    PatternPlacement* AddPlacement(SeqEventContainer& content, std::uint32_t offset, int lane) override;
    bool RemovePlacement(PatternPlacement& placement) override;
    PatternPlacement* FindNextOnLane(const PatternPlacement& placement) const override;
    SeqEventContainer* Replicate(SeqEventContainer& content) const override;
    bool IsAliased(const SeqEventContainer& content) const override;
    bool Accepts(const SeqEvent& event) const override;
    SeqEventContainer* Adopt(SeqEvent& dropped, WParam kind) const override;
    void UpdatePlayRange() override;
    QColor BlockColour(const PatternPlacement& placement) const override;
    QColor ContentColour(const SeqEventContainer& content) const override;
    void SetContentColour(SeqEventContainer& content, Colour colour) const override;
    void DrawBlockBody(QPainter& painter, const PatternPlacement& placement, const QRect& body) const override;
    void FillBlockMenu(QMenu& menu, const PatternPlacement& placement) override;
    void FillEmptyMenu(QMenu& menu) override;
    QString EmptyText() const override { return "No Section"; }
    std::string NameInUseQuestion(const std::string& wanted, const std::string& proposed) const override;
    std::string UniqueName(const std::string& base) const override;
    int HandleWidth(int width) const override;
    bool HandleBelowTitle() const override { return true; }
    void PrepareRefresh() override;

    int HeaderWidth() const override { return kLaneNameWidth; }
    std::string TitleText() const override;
    void Draw(QPainter& painter) override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RebuildLanes();
    void DrawLaneNames(QPainter& painter) const;
    SeqEventTarget* TargetOfLane(int lane) const;

    std::vector<SeqEventTarget*> lanes_;
    bool loopPattern_ = false;
    QColor instrumentColour_{200, 150, 255};
    QColor effectColour_{150, 200, 255};
    QColor channelColour_{220, 200, 255};
    QColor bussColour_{200, 220, 255};
    QColor masterColour_{220, 220, 255};
};

} // namespace jorvo
