#pragma once
// `SamplerZoneFactory`: the drag source of new sampler zones. The new zone travels as
// "SampleZoneList" and is announced with WM_ZONE_BEGIN_DRAG; the zone map places it. A zone
// dragged from the zone map back onto the factory is cut. The factory is bound to its sampler
// through SetTarget; unbound it still makes a zone with every value at its default.
// UI thread only.
#include "ui/FactoryElement.h"

namespace jorvo {

class InstrumentSampler;

class SamplerZoneFactory : public FactoryElement {
    Q_OBJECT
public:
    explicit SamplerZoneFactory(QWidget* parent);

    std::string GetClassName() const override { return "SamplerZoneFactory"; }
    // Binds the sampler; any other target unbinds.
    void SetTarget(SeqEventTarget* target) override;
    InstrumentSampler* Sampler() const { return sampler_; }

protected:
    bool PutDragObject(WParam& wParam) override;
    const char* BeginDragMessage() const override;
    const char* FedEditorClass() const override { return "SamplerZoneMap"; }
    QString PlainTitle() const override { return QStringLiteral("Zone"); }

private:
    InstrumentSampler* sampler_ = nullptr;
};

} // namespace jorvo
