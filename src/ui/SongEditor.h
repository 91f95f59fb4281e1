#pragma once
// The sections of the song in one lane along the song's length, each a block in the section's
// own colour. UI thread only.
#include "sequencer/SeqEventSong.h"
#include "ui/ArrangementEditor.h"

namespace jorvo {

class SeqEventSection;

class SongEditor : public ArrangementEditor<SectionPlacement> {
public:
    static constexpr std::uint32_t kInitialBars = 64;

    explicit SongEditor(QWidget* parent);

    std::string GetClassName() const override { return "SongEditor"; }
    // After the shared attributes: "Background", the lane's colour.
    void SerializeXML(CXMLArchive& archive) override;

    // The sequencer's song, or null.
    SeqEventSong* Song() const;
    // Rebuilds the visible placements (the song or its active section changed).
    void Rebind();

    bool RunCommand(const std::string& text) override;

protected:
    SeqEventContainer* Container() const override;
    std::uint32_t ContainerStart() const override { return 0; }
    const PlacementList* Placements() const override;
    SeqEventContainer* ContentOf(const SectionPlacement& placement) const override;
    bool MovePlacement(SectionPlacement& placement, std::uint32_t offset, std::uint32_t length, int lane) override;
    SectionPlacement* AddPlacement(SeqEventContainer& content, std::uint32_t offset, int lane) override;
    bool RemovePlacement(SectionPlacement& placement) override;
    SectionPlacement* FindNextOnLane(const SectionPlacement& placement) const override;
    SeqEventContainer* Replicate(SeqEventContainer& content) const override;
    bool IsAliased(const SeqEventContainer& content) const override;
    bool Accepts(const SeqEvent& event) const override;
    SeqEventContainer* Adopt(SeqEvent& dropped, WParam kind) const override;
    void UpdatePlayRange() override;
    QColor BlockColour(const SectionPlacement& placement) const override;
    QColor ContentColour(const SeqEventContainer& content) const override;
    void SetContentColour(SeqEventContainer& content, Colour colour) const override;
    void DrawBlockBody(QPainter& painter, const SectionPlacement& placement, const QRect& body) const override;
    QColor LaneColour(int lane) const override;
    void FillBlockMenu(QMenu& menu, const SectionPlacement& placement) override;
    void FillEmptyMenu(QMenu& menu) override;
    std::string NameInUseQuestion(const std::string& wanted, const std::string& proposed) const override;
    std::string UniqueName(const std::string& base) const override;
    int HandleWidth(int width) const override;

    std::string TitleText() const override;
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    void showEvent(QShowEvent* event) override;

private:
    QColor background_{200, 150, 255};
};

} // namespace jorvo
