#pragma once
// The mixer strip of one instrument: lets the instrument render each chunk, adds its output to
// the stereo block with the channel's level and pan, and feeds every buss through a send.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/MixerSend.h"
#include "engine/MixerStrip.h"

namespace jorvo {

class Instrument;
class MixerBuss;

class MixerChannel : public MixerStrip {
    JORVO_DECLARE_PERSISTENT(MixerChannel)
public:
    MixerChannel();
    ~MixerChannel() override;

    // The instrument's name; "Channel" without one.
    std::string GetName() const override;
    std::string GetTypeName() const override { return "Channel"; }
    std::string GetEngineName() const override { return "Channel"; }

    // Plays `target` through this channel (null: none) and rebuilds the names. False, nothing
    // changed, for a target that is not an instrument. UI thread, under the render lock.
    bool SetInstrument(SeqEventTarget* target);
    Instrument* GetInstrument() const { return instrument_; }

    // The send into `buss`, created on first use with `level` as stored and live value and
    // registered under the buss's send number; an existing send takes `level` when it is 0…127.
    // UI thread, under the render lock.
    MixerSend& SetSend(MixerBuss& buss, int level);
    // Removes and destroys the send into `buss`; nothing when there is none.
    void RemoveSend(const MixerBuss& buss);
    // The send into `buss`, or null.
    MixerSend* FindSend(const MixerBuss& buss) const;
    const std::vector<std::unique_ptr<MixerSend>>& Sends() const { return sends_; }
    // Registers the send into `buss` again under the buss's current send number and renames it.
    void RenumberSend(const MixerBuss& buss);
    // Renames the parameters and sends after the instrument and the busses.
    void RebuildNames();
    // Every send's codes from its live level and the channel's pan.
    void RecomputeSendCodes();

    // Lets the instrument clear its buffer for `frames` frames. Audio thread.
    void Prepare(int frames);
    // Lets the instrument render, adds its output to `block` (stereo) and to the busses' inputs,
    // then moves the gains one step. Audio thread.
    void Render(std::int32_t* block, int frames);

    // Base part, then u32 send count and per send the buss's name and the stored level (i32).
    void Serialize(BinaryArchive& archive) override;
    // Base element "Channel", attribute "Instrument", one "Send" child ("Name", "Level") per send.
    void SerializeXML(CXMLArchive& archive) override;

protected:
    // A send number: sets that send's live level and codes.
    void HandleOtherCode(std::int32_t code, std::int32_t value) override;
    void AfterReset() override { RecomputeSendCodes(); }

private:
    bool RenderInstrument(int frames);
    void FeedSends(int frames);
    std::string SourceName() const;
    void LoadSend(const std::string& bussName, std::int32_t level);

    Instrument* instrument_ = nullptr;
    std::vector<std::unique_ptr<MixerSend>> sends_;
};

} // namespace jorvo
