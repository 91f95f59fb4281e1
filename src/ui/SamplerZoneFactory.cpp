#include "ui/SamplerZoneFactory.h"

#include "engine/InstrumentSampler.h"
#include "ui/EventClipboard.h"
#include "ui/UIWindowMessages.h"

namespace jorvo {

SamplerZoneFactory::SamplerZoneFactory(QWidget* parent) : FactoryElement(parent) {}

void SamplerZoneFactory::SetTarget(SeqEventTarget* target)
{
    sampler_ = target && target->GetEngineName() == "Sampler" ? static_cast<InstrumentSampler*>(target) : nullptr;
}

const char* SamplerZoneFactory::BeginDragMessage() const
{
    return UIWindowMessages::kZoneBeginDrag;
}

bool SamplerZoneFactory::PutDragObject(WParam& wParam)
{
    wParam = 0;
    // A new zone is only written out: it never joins the keyboard, so it does not sound.
    const auto putNewZone = [](InstrumentSampler& owner) {
        const SampleZone zone(owner);
        return EventClipboard::PutBytes(EventClipboard::kSampleZoneListFormat, InstrumentSampler::WriteZoneList({&zone}));
    };
    if (sampler_)
        return putNewZone(*sampler_);
    InstrumentSampler scratch;
    return putNewZone(scratch);
}

} // namespace jorvo
