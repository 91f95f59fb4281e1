#include "engine/MixerBuss.h"

#include <algorithm>

#include "document/BinaryArchive.h"
#include "document/XMLArchive.h"
#include "engine/Effect.h"
#include "engine/Mixer.h"

namespace jorvo {

JORVO_IMPLEMENT_PERSISTENT(MixerBuss, SeqEventTarget, 0)

namespace {

constexpr StripLabels kBussLabels{
    "Buss Level", "Buss Pan", "Channel On/Off", " Buss Level", " Buss Pan", " Buss Active",
};

constexpr int kFirstEventCode = 200;
constexpr int kLastEventCode = 255;

} // namespace

MixerBuss::MixerBuss()
    : MixerStrip("Buss", kBussLabels), input_(static_cast<std::size_t>(2 * Effect::kMaxFrames), 0)
{
}

bool MixerBuss::IsValidSendNumber(int number)
{
    const bool eventCode = number >= kFirstEventCode && number <= kLastEventCode;
    return number >= kFirstSendNumber && number <= kLastSendNumber && !eventCode;
}

std::string MixerBuss::GetName() const
{
    return effect_ ? effect_->GetName() : std::string("Buss");
}

bool MixerBuss::SetEffect(SeqEventTarget* target)
{
    Effect* effect = PersistentCast<Effect>(target);
    if (target && (!effect || target->GetTypeName() != "Effect"))
        return false;
    effect_ = effect;
    RebuildNames();
    return true;
}

void MixerBuss::RebuildNames()
{
    RebuildStripNames(effect_ ? effect_->GetName() : std::string(kInactiveLabel));
}

// Rendering -----------------------------------------------------------------------------------

void MixerBuss::Prepare(int frames)
{
    if (!effect_)
        return;
    effect_->PrepareChunk();
    const int count = std::clamp(frames, 0, Effect::kMaxFrames) * effect_->InputChannels();
    std::fill_n(input_.begin(), count, 0);
}

namespace {

// The loop of AddInput with both channel counts fixed, so no test is left inside it.
template <bool StereoSource, bool StereoInput>
void AddGained(std::int32_t* input, const std::int32_t* source, int frames, GainFactor left, GainFactor right)
{
    for (int frame = 0; frame < frames; ++frame) {
        const std::int32_t sourceLeft = source[StereoSource ? 2 * frame : frame];
        const std::int32_t leftPart = ApplyGain(sourceLeft, left);
        if constexpr (StereoInput) {
            const std::int32_t sourceRight = StereoSource ? source[2 * frame + 1] : sourceLeft;
            input[2 * frame] = Add32(input[2 * frame], leftPart);
            input[2 * frame + 1] = Add32(input[2 * frame + 1], ApplyGain(sourceRight, right));
        } else if constexpr (StereoSource) {
            input[frame] = Add32(input[frame], Add32(leftPart, ApplyGain(source[2 * frame + 1], right)));
        } else {
            input[frame] = Add32(input[frame], leftPart);
        }
    }
}

} // namespace

void MixerBuss::AddInput(const std::int32_t* source, int sourceChannels, int frames, GainPair codes)
{
    if (!effect_)
        return;
    const GainFactor left = FactorOf(codes.left);
    const GainFactor right = FactorOf(codes.right);
    std::int32_t* input = input_.data();
    const bool stereoSource = sourceChannels == 2;
    if (effect_->InputChannels() == 2) {
        if (stereoSource)
            AddGained<true, true>(input, source, frames, left, right);
        else
            AddGained<false, true>(input, source, frames, left, right);
    } else if (stereoSource) {
        AddGained<true, false>(input, source, frames, left, right);
    } else {
        AddGained<false, false>(input, source, frames, left, right);
    }
}

void MixerBuss::Render(std::int32_t* block, int frames)
{
    if (!effect_)
        return;
    if (NeedsRendering()) {
        const bool sound = effect_->Process(input_.data(), frames);
        MixOrSnap(block, effect_->Output(), effect_->OutputChannels(), frames, sound);
    }
    StepGains();
}

// Storage -------------------------------------------------------------------------------------

// A stored number goes through the mixer, which moves another buss holding it; one that is not
// valid, or a buss outside a mixer, keeps its number.
void MixerBuss::TakeStoredSendNumber(int number)
{
    if (OwningMixer() && IsValidSendNumber(number))
        OwningMixer()->AssignSendNumber(*this, number);
}

void MixerBuss::Serialize(BinaryArchive& archive)
{
    SeqEventTarget::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteWord(sendParameterType_);
        return;
    }
    TakeStoredSendNumber(archive.ReadWord());
}

void MixerBuss::SerializeXML(CXMLArchive& archive)
{
    SeqEventTarget::SerializeXML(archive);
    if (!archive.IsLoading()) {
        archive.Write("Effect", effect_ ? effect_->GetName() : std::string());
        archive.Write("SendParameterType", sendParameterType_);
        return;
    }
    int number = 0;
    if (archive.Read("SendParameterType", number))
        TakeStoredSendNumber(number);
}

} // namespace jorvo
