#pragma once
// `TransportButton`: a message button whose `Message` names a transport command ("ID_PLAY",
// "ID_STOP", "ID_REWIND", "ID_FFORWARD"), handed to the studio's Transport on a tap instead of
// being posted. A held transport button does not repeat: one tap is one command. UI thread only.
#include "ui/MsgButton.h"

namespace jorvo {

class TransportButton : public MsgButton {
    Q_OBJECT
public:
    explicit TransportButton(QWidget* parent);

    std::string GetClassName() const override { return "TransportButton"; }

protected:
    // Hands the command to the current studio; nothing without one.
    void Submit() override;
    bool Repeats() const override { return false; }
};

} // namespace jorvo
