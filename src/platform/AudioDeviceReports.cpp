#include "platform/AudioDeviceReports.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string>

#include "platform/AudioDevice.h"
#include "platform/ShellServices.h"

namespace jorvo {
namespace {

// One distinct text. A slot is claimed once for a text and keeps it; `pending` says whether it
// waits to be shown.
struct ReportSlot {
    std::atomic<const std::string_view*> text{nullptr};
    std::atomic<const std::string_view*> caption{nullptr};
    std::atomic<bool> pending{false};
};

// Slots are claimed by address of a string_view constant copied into this table.
constexpr std::size_t kSlots = 32;
std::array<ReportSlot, kSlots> slots;
std::array<std::string_view, kSlots> texts;
std::array<std::string_view, kSlots> captions;
std::atomic<std::size_t> claimed{0};

ReportSlot* FindSlot(std::string_view text, std::string_view caption)
{
    const std::size_t used = std::min(claimed.load(), kSlots);
    for (std::size_t i = 0; i < used; ++i) {
        const std::string_view* slotText = slots[i].text.load();
        const std::string_view* slotCaption = slots[i].caption.load();
        if (slotText && slotCaption && slotText->data() == text.data() && slotText->size() == text.size() &&
            *slotCaption == caption)
            return &slots[i];
    }
    return nullptr;
}

} // namespace

bool PostAudioReport(std::string_view text, std::string_view caption)
{
    ReportSlot* slot = FindSlot(text, caption);
    if (!slot) {
        const std::size_t index = claimed.fetch_add(1);
        if (index >= kSlots)
            return false;
        texts[index] = text;
        captions[index] = caption;
        slot = &slots[index];
        slot->caption.store(&captions[index]);
        slot->text.store(&texts[index]);
    }
    slot->pending.store(true);
    return true;
}

std::size_t ShowAudioReports()
{
    std::size_t shown = 0;
    const std::size_t used = std::min(claimed.load(), kSlots);
    for (std::size_t i = 0; i < used; ++i) {
        const std::string_view* text = slots[i].text.load();
        if (!text || !slots[i].pending.exchange(false))
            continue;
        Shell().MessageBox(std::string(*text), std::string(*slots[i].caption.load()));
        ++shown;
    }
    return shown;
}

void ReportAudioFailure(std::string_view text, std::string_view caption)
{
    if (OnAudioDriverThread())
        PostAudioReport(text, caption);
    else
        Shell().MessageBox(std::string(text), std::string(caption));
}

} // namespace jorvo
