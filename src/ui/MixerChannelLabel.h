#pragma once
// `MixerChannelLabel`: the name of the instrument a mixer channel plays. A double tap opens the
// instrument's view and then the parameter editor; the context menu renames or deletes the
// instrument. All of it only while the label is bound to a channel. UI thread only.
#include <string>

#include "ui/SkinImage.h"
#include "ui/UIParamElement.h"

namespace jorvo {

class Instrument;
class MixerChannel;

class MixerChannelLabel : public UIParamElement {
    Q_OBJECT
public:
    // The context menu's entries.
    static constexpr char kRenameEntry[] = "Rename";
    static constexpr char kDeleteEntry[] = "Delete Instrument";

    explicit MixerChannelLabel(QWidget* parent);

    std::string GetClassName() const override { return "MixerChannelLabel"; }
    // After the parameter attributes: "BackgroundImage".
    void SerializeXML(CXMLArchive& archive) override;
    bool Create(int left, int top, int width, int height) override;
    // Repaints when the instrument's name changed since it was drawn.
    void Refresh() override;
    void Draw(QPainter& painter) override;

    // The bound channel, or null when the target is not a channel.
    MixerChannel* Channel() const;
    // The text shown: the channel's instrument name, empty when unbound.
    std::string ShownName() const;

protected:
    void PenDoubleTap(const QPoint& point) override;
    bool ContextMenu(const QPoint& point) override;

private:
    Instrument* BoundInstrument() const;
    void DeleteInstrument(Instrument* instrument);

    SkinImage background_{"BackgroundImage"};
    std::string drawnName_;
};

} // namespace jorvo
