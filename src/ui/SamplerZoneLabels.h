#pragma once
// `SampleFileNameLabel` and `SampleZoneNameLabel`: the sample file and the name of the sampler's
// active zone. The sampler announces its active zone with WM_SET_ACTIVE_SAMPLER_ZONE (wParam the
// zone's key, 128 for none); the labels are bound to the sampler through SetTarget. They send
// nothing. UI thread only.
#include <cstdint>
#include <string>

#include "ui/SkinImage.h"
#include "ui/UIElement.h"

namespace jorvo {

class InstrumentSampler;
class SampleZone;

class SamplerZoneLabel : public UIElement {
    Q_OBJECT
public:
    // After the common attributes: "BackgroundImage".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    // Binds the sampler (another kind of target unbinds) and shows its active zone.
    void SetTarget(SeqEventTarget* target) override;
    void Draw(QPainter& painter) override;

    // The zone shown, or null.
    SampleZone* Zone() const;
    // The text shown for the zone (empty without one).
    virtual std::string ZoneText(const SampleZone& zone) const = 0;

protected:
    explicit SamplerZoneLabel(QWidget* parent);
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;

private:
    SkinImage background_{"BackgroundImage"};
    InstrumentSampler* sampler_ = nullptr;
    std::int32_t zoneKey_ = -1; // -1: follow the sampler's active zone
};

class SampleFileNameLabel : public SamplerZoneLabel {
    Q_OBJECT
public:
    explicit SampleFileNameLabel(QWidget* parent) : SamplerZoneLabel(parent) {}
    std::string GetClassName() const override { return "SampleFileNameLabel"; }
    // The file name (without folders) of the zone's sample.
    std::string ZoneText(const SampleZone& zone) const override;
};

class SampleZoneNameLabel : public SamplerZoneLabel {
    Q_OBJECT
public:
    explicit SampleZoneNameLabel(QWidget* parent) : SamplerZoneLabel(parent) {}
    std::string GetClassName() const override { return "SampleZoneNameLabel"; }
    std::string ZoneText(const SampleZone& zone) const override;
};

} // namespace jorvo
