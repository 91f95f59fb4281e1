#pragma once
// The mixer's screen. Its skin ("Mixer", root "MixerView") holds, besides the view's own
// elements, a "ChannelStrip" template (the elements of one channel strip with a "Send" group for
// one send row) and a "MasterStrip". The view puts the master strip at the right, as many
// channel strips as fit from the left, and in each strip as many send rows as fit below one
// another; the strips show the channels from the first visible one on, the rows the sends from
// the first visible one on. Strips beyond the last channel, and rows beyond the last send, are
// unbound and hidden. UI thread only.
#include <string>
#include <vector>

#include <QRect>

#include "app/frame/CSeqView.h"

namespace jorvo {

class Mixer;
class MixerChannel;
class UIElement;

// Where the strips go in a view of a given size.
struct MixerLayout {
    int channelStrips = 0; // channel strips that fit (at least 1 when the skin has a strip)
    int sendRows = 0;      // send rows per strip (at least 1 when the strip has a send row)
    int masterLeft = 0;    // x of the master strip's left edge
};

// The layout for a view of `viewSize`: the master strip (`master`, may be empty) at the right
// with a 5-pixel margin, channel strips (`strip`, the template's rectangle with its first send
// row) side by side from x = 5 in the width left of it, and send rows (`sendRow`) in the height
// left below the strip.
MixerLayout ComputeMixerLayout(QSize viewSize, const QRect& strip, const QRect& sendRow, const QRect& master);

// `first` kept within 0 … count − visible (0 when everything is visible).
int ClampFirstVisible(int first, int count, int visible);

class CMixerView : public CSeqView {
    Q_OBJECT
public:
    // The margin around the strips.
    static constexpr int kMargin = 5;

    explicit CMixerView(QWidget* parent = nullptr);
    ~CMixerView() override;

    std::string GetClassKeyword() const override { return "MixerView"; }

    // Binds the mixer and reads its skin (named by its engine name); null unbinds every strip.
    // False when the skin is missing (the view stays empty).
    bool SetMixer(Mixer* mixer);
    Mixer* GetMixer() const { return mixer_; }
    void* ShownTarget() const override { return mixer_; }
    // Channels or busses came or went: every strip is bound again.
    void RefreshFromTarget() override;

    // Loading reads the templates as well and builds the strips that fit the view's size.
    void SerializeXML(CXMLArchive& archive) override;

    // "Add Instrument", "Add Effect".
    void FillContextMenu(QMenu& menu) override;

    // The scroll state.
    int FirstChannel() const { return firstChannel_; }
    int VisibleChannels() const { return static_cast<int>(strips_.size()); }
    int FirstSend() const { return firstSend_; }
    int VisibleSends() const { return sendRows_; }
    // Shows the channels from `first` (clamped) on.
    void SetFirstChannel(int first);
    // Shows the sends from `first` (clamped) on.
    void SetFirstSend(int first);

    // The channel strip `strip` is bound to, or null when unbound.
    MixerChannel* StripChannel(int strip) const;
    // The elements of channel strip `strip` (its send rows included).
    std::vector<UIElement*> StripElements(int strip) const;
    // The event code the send row `row` of every strip is bound to (0: unbound).
    int SendRowEventCode(int row) const;
    // The master strip's elements.
    std::vector<UIElement*> MasterElements() const;

protected:
    bool OnWindowMessage(WindowMessage message, WParam wParam, LParam lParam) override;
    // Left/Right, Home/End scroll the channels; Up/Down, Page Up/Page Down the sends.
    void KeyDown(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One element of a strip, with its place in the skin.
    struct StripElement {
        UIElement* element = nullptr;
        QRect home;
        int sendRow = -1; // -1: the channel part of the strip
    };
    struct Strip {
        std::vector<StripElement> elements;
    };

    void ReadTemplates(const CXMLArchive& archive);
    std::vector<StripElement> LoadGroup(const CXMLArchive& archive, const DomNode& group, int sendRow);
    void BuildStrips(const CXMLArchive& archive);
    void PlaceStrips();
    void PlaceMaster();
    void BindStrips();
    void BindStrip(Strip& strip, MixerChannel* channel);
    int ChannelCount() const;
    int SendCount() const;
    void ScheduleRebuild();
    void Rebuild();
    void AddTarget(bool instrument);

    Mixer* mixer_ = nullptr;
    std::string skinName_;
    // The templates' rectangles in the skin.
    QRect stripRect_;
    QRect sendRect_;
    QRect masterRect_;
    std::vector<StripElement> master_;
    std::vector<Strip> strips_;
    MixerLayout layout_;
    int sendRows_ = 0;
    std::vector<int> rowCodes_;
    int firstChannel_ = 0;
    int firstSend_ = 0;
    bool rebuildPending_ = false;
};

} // namespace jorvo
