#pragma once
// A note: pitch, velocity and a length of at least one pulse. It starts its target's note at its
// first pulse and ends it at its last.
#include <cstdint>

#include "sequencer/SeqEvent.h"

namespace jorvo {

class SeqEventNote : public SeqEvent {
    JORVO_DECLARE_PERSISTENT(SeqEventNote)
public:
    // The pitch a stored pitch above 127 is read as.
    static constexpr std::uint8_t kDefaultPitch = 60;

    // A note with pitch 0, velocity 0 and length 0 until set.
    SeqEventNote() = default;

    // Binary storage: offset, pitch BYTE, velocity BYTE, length DWORD. A stored length of 0 reads
    // as 1, a pitch above 127 as 60 and a velocity above 127 as 127.
    void Serialize(BinaryArchive& archive) override;
    // XML storage: element "Note" with "Offset", "Pitch", "Velocity" and "Length" (length text);
    // loading corrects the values as Serialize does. Raises ArchiveException for another element.
    void SerializeXML(CXMLArchive& archive) override;
    int GetType() const override { return kSeqEventNote; }
    // "Note".
    std::string GetName() const override { return "Note"; }
    // Note start (200) at the first pulse, else note end (201) at the last. Audio thread.
    void Play(std::uint32_t pulse, SeqEventTarget* target) noexcept override;
    // The offset + length − 1 (the offset while the length is 0).
    std::uint32_t GetEnd() const override;
    std::uint32_t GetLength() const override { return length_; }
    // Sets the length; 0 is refused (false, unchanged).
    bool SetLength(std::uint32_t pulses) override;
    // The absolute start + length.
    std::uint32_t GetAbsoluteEnd() const override;
    // Appends this note when it overlaps [from, to] and low ≤ pitch ≤ high.
    void CollectNotes(std::vector<SeqEvent*>& list, std::uint32_t from, std::uint32_t to, std::uint32_t low,
                      std::uint32_t high) override;

    std::uint8_t GetPitch() const { return pitch_; }
    std::uint8_t GetVelocity() const { return velocity_; }
    // Sets the pitch; values of 128 and above are refused (false, unchanged). True otherwise.
    bool SetPitch(std::uint32_t pitch);
    // Sets the velocity; values of 128 and above are refused (false, unchanged). True otherwise.
    bool SetVelocity(std::uint32_t velocity);

private:
    // Takes the pitch and velocity as read, corrected into 0…127, and makes a length of 0 one pulse.
    void CorrectStoredValues(std::uint32_t pitch, std::uint32_t velocity);

    std::uint8_t pitch_ = 0;
    std::uint8_t velocity_ = 0;
    std::uint32_t length_ = 0;
};

} // namespace jorvo
