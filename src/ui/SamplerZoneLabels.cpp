#include "ui/SamplerZoneLabels.h"

#include <filesystem>

#include <QPainter>

#include "audio/SampleStore.h"
#include "engine/InstrumentSampler.h"
#include "ui/ControlLook.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {

SamplerZoneLabel::SamplerZoneLabel(QWidget* parent) : UIElement(parent) {}

void SamplerZoneLabel::SerializeXML(CXMLArchive& archive)
{
    UIElement::SerializeXML(archive);
    // BackgroundImage="zone_label.png"
    background_.SerializeXML(archive);
}

bool SamplerZoneLabel::Create(int left, int top, int width, int height)
{
    background_.SetRect(QRect(0, 0, width, height));
    return UIElement::Create(left, top, width, height);
}

void SamplerZoneLabel::SetTarget(SeqEventTarget* target)
{
    sampler_ = target && target->GetEngineName() == "Sampler" ? static_cast<InstrumentSampler*>(target) : nullptr;
    zoneKey_ = -1;
    update();
}

SampleZone* SamplerZoneLabel::Zone() const
{
    if (!sampler_)
        return nullptr;
    return zoneKey_ < 0 ? sampler_->ActiveZone() : sampler_->ZoneAt(zoneKey_);
}

bool SamplerZoneLabel::OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam)
{
    static const WindowMessage activeZone = RegisterWindowMessage(UIWindowMessages::kSetActiveSamplerZone);
    if (message != activeZone)
        return UIElement::OnWindowMessage(message, wParam, lParam);
    zoneKey_ = wParam <= static_cast<WParam>(InstrumentSampler::kNoKey) ? static_cast<std::int32_t>(wParam)
                                                                      : InstrumentSampler::kNoKey;
    update();
    return true;
}

void SamplerZoneLabel::Draw(QPainter& painter)
{
    if (!background_.File().empty())
        background_.Draw(painter);
    else
        ControlLook::DrawFace(painter, rect());
    const SampleZone* zone = Zone();
    painter.setFont(ControlLook::Font(12));
    ControlLook::DrawCentredText(painter, rect(), QString::fromStdString(zone ? ZoneText(*zone) : std::string()),
                                 ControlLook::Text());
}

std::string SampleFileNameLabel::ZoneText(const SampleZone& zone) const
{
    const SampleStore* store = zone.Owner().GetSampleStore();
    if (!store)
        return {};
    return std::filesystem::path(store->GetSampleName(zone.SampleIndex())).filename().string();
}

std::string SampleZoneNameLabel::ZoneText(const SampleZone& zone) const
{
    return zone.Name();
}

} // namespace jorvo
