#pragma once
// The mixer: one channel per instrument, one buss per effect, and the master level and pan. Each
// chunk is rendered in two phases: Prepare clears every instrument buffer and buss input, then
// Mix adds the channels (and their sends into the busses), the busses, and applies the master
// gains to the block.
//
// Structure (channels, busses, sends, send numbers) changes only on the user-interface thread
// with the studio's render lock held; Prepare and Mix run on the audio thread under the same lock.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/GainCode.h"
#include "engine/MixerBuss.h"
#include "engine/MixerChannel.h"
#include "engine/SeqEventTarget.h"
#include "platform/ShellRequests.h"

namespace jorvo {

class Effect;
class Instrument;

class Mixer : public SeqEventTarget {
    JORVO_DECLARE_PERSISTENT(Mixer)
public:
    // Frames in one chunk at the most.
    static constexpr int kMaxFrames = 1024;

    Mixer();
    // Removes the mixer's view, if one was opened.
    ~Mixer() override;

    std::string GetTypeName() const override { return "Mixer"; }
    std::string GetEngineName() const override { return "Mixer"; }

    // 7 master level, 10 master pan, 255 reset to stored values with the master gains jumping to
    // their targets. Audio thread, or UI thread under the render lock.
    void HandleEvent(std::int32_t code, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) override;

    // Asks the shell for the mixer's view ("MixerView"); without a main frame none opens. UI thread.
    void OpenView();
    // Redraws the mixer's view, if open. UI thread.
    void RefreshView() override;
    ViewId View() const { return view_; }

    // A channel for `instrument`: true at once when one holds it; false (nothing added) when
    // another channel has the instrument's name. The new channel gets a send of level 0 to every
    // buss. UI thread, under the render lock.
    bool AddChannel(Instrument& instrument);
    // Unlinks and destroys the channel of `instrument`, after the sequencer dropped its
    // references to it. False when there is none. UI thread, under the render lock.
    bool RemoveChannel(const Instrument& instrument);
    // A buss for `effect`: true at once when one holds it; false (nothing added) when another
    // buss has the effect's name. The new buss gets the lowest free send number and every
    // channel a send of level 0 to it. UI thread, under the render lock.
    bool AddBuss(Effect& effect);
    // Removes every channel's send to the buss of `effect`, then unlinks and destroys the buss.
    // False when there is none. UI thread, under the render lock.
    bool RemoveBuss(const Effect& effect);

    // The first channel or buss whose name is `name`, or null.
    MixerChannel* FindChannel(const std::string& name) const;
    MixerBuss* FindBuss(const std::string& name) const;
    // The channel playing `instrument`, or the buss running `effect`; null when none.
    MixerChannel* ChannelOf(const SeqEventTarget& instrument) const;
    MixerBuss* BussOf(const SeqEventTarget& effect) const;

    // `target` was renamed: its channel or buss (and, for a buss, every channel's send names)
    // follows, and the view is redrawn. UI thread.
    void NameChanged(const SeqEventTarget& target);

    // Gives `buss` the send number `wanted`, first moving any other buss holding it to a fresh
    // number; when `wanted` is not a valid send number, the lowest free one. False, nothing
    // changed, when no number is free. Every channel's send follows. UI thread, under the lock.
    bool AssignSendNumber(MixerBuss& buss, int wanted);

    // The preparation phase of a chunk of `frames` frames (at most 1024). Audio thread.
    void Prepare(int frames);
    // The mix phase: adds `frames` frames into the stereo block `block`. Audio thread.
    void Mix(std::int32_t* block, int frames);

    const std::vector<std::unique_ptr<MixerChannel>>& Channels() const { return channels_; }
    const std::vector<std::unique_ptr<MixerBuss>>& Busses() const { return busses_; }
    const FadingGains& MasterGains() const { return master_; }

    // Base part, version byte 1, u32 buss count and per buss the effect's name and the buss's
    // record, u32 channel count and per channel the instrument's name and the channel's record.
    // Records of targets that do not exist are read and dropped. UI thread.
    void Serialize(BinaryArchive& archive) override;
    // Base element "Mixer", then "BussList" and "ChannelList" (each only when not empty). Loading
    // matches busses by "Effect" and channels by "Instrument" to the existing ones. UI thread.
    void SerializeXML(CXMLArchive& archive) override;

private:
    void Retarget();
    bool IsSendNumberTaken(int number, const MixerBuss* except) const;
    int LowestFreeSendNumber() const;
    void DropReferences(SeqEventTarget& target);
    void SerializeBusses(BinaryArchive& archive);
    void SerializeChannels(BinaryArchive& archive);
    void StoreXMLLists(CXMLArchive& archive);
    void LoadXMLBusses(CXMLArchive& archive);
    void LoadXMLChannels(CXMLArchive& archive);

    std::vector<std::unique_ptr<MixerChannel>> channels_;
    std::vector<std::unique_ptr<MixerBuss>> busses_;
    FadingGains master_;
    SeqParameter level_;
    SeqParameter pan_;
    ViewId view_ = kNoView;
};

} // namespace jorvo
