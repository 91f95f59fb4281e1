#include "ui/TransportButton.h"

#include "engine/SoundStudio.h"

namespace jorvo {

TransportButton::TransportButton(QWidget* parent) : MsgButton(parent) {}

void TransportButton::Submit()
{
    if (SoundStudio* studio = SoundStudio::Current())
        studio->Transport(MessageName());
}

} // namespace jorvo
