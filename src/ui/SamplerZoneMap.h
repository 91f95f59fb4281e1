#pragma once
// `SamplerZoneMap`: a piano keyboard that shows and edits the zones of its sampler. A strip above
// the keys shows each zone's run of keys in the zone's colour with a name tag where it starts
// (neighbouring tags take turns in two lanes), and the keys are tinted the same way. Touching a
// key plays it and makes its zone the sampler's active zone (the sampler announces that to the
// labels and controls of its view); dragging a zone's tag to another key moves the zone there
// (dropped on the zone factory, the zone is deleted); a zone dragged from the zone factory is
// placed where it is released. "Load Sample..." and "Rename Zone" work on the active zone. UI
// thread only.
#include <memory>
#include <vector>

#include <QFont>

#include "ui/PianoKeyboard.h"

class QMenu;

namespace jorvo {

class InstrumentSampler;
class SampleZone;

class SamplerZoneMap : public PianoKeyboard {
    Q_OBJECT
public:
    // What a pen gesture does (values as the zone map has always numbered them).
    enum class Mode { None = 0, MovingZone = 2, PlacingZone = 3 };

    explicit SamplerZoneMap(QWidget* parent);
    ~SamplerZoneMap() override;

    std::string GetClassName() const override { return "SamplerZoneMap"; }
    void Draw(QPainter& painter) override;
    // Binds the sampler (a target of any other kind leaves the map without zones).
    void SetTarget(SeqEventTarget* target) override;
    InstrumentSampler* Sampler() const { return sampler_; }

    // The sampler's active zone, or null.
    SampleZone* SelectedZone() const;
    Mode CurrentMode() const { return mode_; }
    // The strip above the keys that shows the zones.
    QRect ZoneStrip() const;

    // Opens the file tree dialog on the active zone's sample, or on the sample folder.
    void ChooseSample();
    // Gives the active zone the sample file `path` (kept relative to the sample folder when it
    // lies inside it). False when there is no active zone or the file cannot be used.
    bool LoadSample(const std::string& path);
    // Asks for a new name of the active zone ("Rename Zone"). False when there is none or the
    // dialog was cancelled.
    bool RenameZone();

protected:
    QRect KeysArea() const override;
    void TintNaturalKey(QPainter& painter, int key, const QRect& rect) override;
    void PenDown(const QPoint& point) override;
    void PenMove(const QPoint& point) override;
    void PenUp(const QPoint& point) override;
    void CaptureLost() override;
    // "Rename Zone", "Load Sample..." for the zone under the pen.
    bool ContextMenu(const QPoint& point) override;
    // WM_ZONE_BEGIN_DRAG, WM_TREE_DLG_SEL_PATH, WM_SEL_SAMPLE_FILENAME, WM_SEL_SAMPLER_ZONENAME,
    // WM_CUT (naming this map: the zone dropped on a factory goes), WM_SET_ACTIVE_SAMPLER_ZONE,
    // then the keyboard's messages.
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    void Select(SampleZone* zone);
    void ShowZonesOnBinding();
    void BeginPlacing(LParam screenPosition);
    void TrackDrop(const QPoint& point);
    void FinishMove(const QPoint& point);
    // A zone dragged out of the map is offered to the widget under the pen (WM_EVENT_DROP).
    void OfferDrop(const QPoint& point, SampleZone* zone);
    void CutDroppedZone();
    void FinishPlacing();
    void EndGesture();
    // A zone's name tag in the strip.
    struct ZoneTag {
        SampleZone* zone;
        QRect rect;
    };
    std::vector<ZoneTag> ZoneTags() const;
    // The zone whose tag is under `point`, else the zone of the key below it.
    SampleZone* ZoneInStrip(const QPoint& point) const;
    static QFont StripFont();
    void DrawZoneStrip(QPainter& painter);
    void DrawTag(QPainter& painter, const QRect& rect, const SampleZone& zone, bool selected);

    InstrumentSampler* sampler_ = nullptr;
    Mode mode_ = Mode::None;
    int dropKey_ = KeyboardLayout::kNoKey;
    std::unique_ptr<SampleZone> placing_;
    // The zone last dragged out of the map, until its drop is answered.
    SampleZone* droppedZone_ = nullptr;
};

} // namespace jorvo
