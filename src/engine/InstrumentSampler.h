#pragma once
// "Sampler": the instrument that plays samples. The 128 keys are divided into zones (each plays
// one sample from its first key up to the next zone's); a note starts one of 32 voices that reads
// the zone's sample with linear interpolation and fades it with a stepwise exponential envelope.
// All per-frame work is integer; nothing on the render path allocates.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Instrument.h"
#include "engine/SampleZone.h"
#include "engine/SamplerVoice.h"

namespace jorvo {

class SampleStore;

class InstrumentSampler final : public Instrument {
    JORVO_DECLARE_PERSISTENT(InstrumentSampler)
public:
    static constexpr int kKeyCount = 128;
    static constexpr int kVoiceCount = 32;
    static constexpr std::int32_t kDefaultPolyphony = 16;
    // The key that stands for "no zone" in announcements and past the last key in CanPlaceZoneAt.
    static constexpr std::int32_t kNoKey = 128;

    // A silent stereo sampler named "Sampler" without zones, playing from the current studio's
    // sample store (none without a studio: zones then get no samples). UI thread.
    InstrumentSampler();
    // Destroys every zone. UI thread.
    ~InstrumentSampler() override;

    // "Sampler".
    std::string GetEngineName() const override { return "Sampler"; }

    // 200 note on (velocity 0: note off), 201 note off, 202 all notes off, 255 reset; any other
    // code is a parameter event for the zone whose key is code >> 8. Audio or UI thread.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;
    // Renders `frames` stereo frames of every live voice into Output() (overwriting it), then
    // frees the voices that fell silent. False, with nothing written, when no voice is live.
    // Audio thread.
    bool Render(int frames) override;
    // Silences every voice and returns the zones' parameters to their stored values; the
    // polyphony is kept.
    void Reset() override;

    // The name, then one item per zone (key order) with its parameters; "No Zones" without zones.
    void FillParameterTree(TreeSink& tree) override;

    // Base storage, then "Polyphony" and one "Zone" per zone in key order. Loading clamps the
    // polyphony to 1…32, resets and rebuilds every zone. UI thread.
    void SerializeXML(CXMLArchive& archive) override;
    // Base storage, then version 4, polyphony, zone count and the zones. UI thread.
    void Serialize(BinaryArchive& archive) override;

    // The most voices started before stealing; false (unchanged) outside 1…32.
    bool SetPolyphony(std::int32_t polyphony);
    std::int32_t Polyphony() const { return polyphony_; }
    std::int32_t ActiveVoices() const { return activeVoices_; }
    const SamplerVoice& Voice(int slot) const { return voices_[static_cast<std::size_t>(slot)]; }

    // The zone map ------------------------------------------------------------------------

    // The zone that plays `key`, or null (also for keys outside 0…127).
    SampleZone* ZoneAt(std::int32_t key) const;
    // The lowest zone, or null; the zone after `zone` in key order, or null after the last.
    SampleZone* FirstZone() const;
    SampleZone* NextZone(const SampleZone& zone) const;
    // The highest key `zone` plays; −1 when it is not placed.
    std::int32_t LastKeyOf(const SampleZone& zone) const;
    // True when a zone may start at `key` (0…128): key 0 only while the first key is free, and
    // only where no zone starts already.
    bool CanPlaceZoneAt(std::int32_t key) const;
    // A new zone of this sampler placed at `key`; null when the key is refused. UI thread.
    SampleZone* CreateZone(std::int32_t key);
    // Takes over `zone` (one of this sampler's, for example pasted) and places it at `key`;
    // false, leaving it with the caller, when the key is refused. UI thread.
    bool AdoptZone(std::unique_ptr<SampleZone>& zone, std::int32_t key);
    // Removes `zone` from the keyboard and destroys it; false when it is not this sampler's.
    // UI thread.
    bool DeleteZone(SampleZone* zone);
    // Destroys every zone. UI thread.
    void DeleteAllZones();

    // Makes `zone` (or none) the active zone and announces its key (128 for none) to the windows
    // of the sampler's editor with "WM_SET_EVENT_TYPE_HIGH" and "WM_SET_ACTIVE_SAMPLER_ZONE".
    // UI thread.
    void SetActiveZone(SampleZone* zone);
    SampleZone* ActiveZone() const { return activeZone_; }

    // The clipboard form ("SampleZoneList") of `zones`: their count, then each zone's binary form.
    static std::vector<std::uint8_t> WriteZoneList(const std::vector<const SampleZone*>& zones);
    // New, unplaced zones of this sampler from a zone list; empty when the bytes are damaged.
    // UI thread.
    std::vector<std::unique_ptr<SampleZone>> ReadZoneList(const std::vector<std::uint8_t>& bytes);

    // The sample store the zones play from; null without a studio.
    SampleStore* GetSampleStore() const { return store_; }

private:
    friend class SampleZone;

    // Called by zones: enter `zone` at its key, or take it off the keyboard.
    void PlaceZone(SampleZone& zone);
    void RemoveZone(SampleZone& zone);
    // Called by a zone being destroyed.
    void ForgetZone(const SampleZone& zone);
    // Every zone in key order.
    std::vector<SampleZone*> ZonesInKeyOrder() const;
    std::int32_t FirstKeyOf(const SampleZone& zone) const;

    void NoteOn(std::int32_t note, std::int32_t velocity);
    void NoteOff(std::int32_t note);
    int ChooseSlot(const SampleZone& zone);
    void RemoveSilentVoices();
    // Builds a zone from storage and places it at its stored key; it is dropped when the key is
    // not 0…127 or is refused.
    void RestoreZone(const StoredZone& stored);

    SampleStore* store_;
    std::array<SampleZone*, kKeyCount> zoneMap_{};
    std::vector<std::unique_ptr<SampleZone>> zones_;
    std::array<SamplerVoice, kVoiceCount> voices_{};
    std::int32_t polyphony_ = kDefaultPolyphony;
    std::int32_t activeVoices_ = 0;
    std::int32_t envelopeCountdown_ = 1;
    std::array<std::int64_t, kMaxFrames> leftSums_{};  // Render's per-frame sums of the voices
    std::array<std::int64_t, kMaxFrames> rightSums_{};
    SampleZone* activeZone_ = nullptr;
};

} // namespace jorvo
