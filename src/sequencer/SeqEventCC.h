#pragma once
// A controller event: sets parameter `controller` of its target to `value` at its pulse. The
// same code space carries the special codes 200–205 (ControllerNames.h).
#include <cstdint>

#include "sequencer/SeqEvent.h"

namespace jorvo {

class SeqEventCC : public SeqEvent {
    JORVO_DECLARE_PERSISTENT(SeqEventCC)
public:
    // Controller 0 with value 0.
    SeqEventCC() = default;

    // Binary storage: offset, controller WORD, value DWORD.
    void Serialize(BinaryArchive& archive) override;
    // XML storage: element "CC" with "Offset", "Event" (the controller name) and "Value". A
    // missing "Event" reads as code 0, a missing "Value" keeps the value. Raises ArchiveException
    // for another element (a "Note" included).
    void SerializeXML(CXMLArchive& archive) override;
    int GetType() const override { return kSeqEventController; }
    // "CC".
    std::string GetName() const override { return "CC"; }
    // HandleEvent(controller, value, 0, 0, 0) at its pulse. Audio thread.
    void Play(std::uint32_t pulse, SeqEventTarget* target) noexcept override;
    // Appends this event when from ≤ start ≤ to and low ≤ controller ≤ high.
    void CollectControllers(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to,
                            std::uint32_t low, std::uint32_t high) override;

    std::uint16_t GetController() const { return controller_; }
    void SetController(std::uint16_t controller) { controller_ = controller; }
    std::int32_t GetValue() const { return value_; }
    void SetValue(std::int32_t value) { value_ = value; }

private:
    std::uint16_t controller_ = 0;
    std::int32_t value_ = 0;
};

} // namespace jorvo
