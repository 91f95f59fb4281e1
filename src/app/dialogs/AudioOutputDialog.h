#pragma once
// The "Audio Output Options" dialog: the device list, "Number of Buffers:" and "Samples per
// Buffer:" with their ranges, and the latency read-out, which follows every keystroke. A field
// is checked when it loses focus; OK hands the values to the request's acceptOk, which may put
// fields back and keep the dialog open. UI thread.
#include <cstdint>

#include <QDialog>

#include "platform/ShellRequests.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace jorvo {

class AudioOutputDialog : public QDialog {
    Q_OBJECT
public:
    AudioOutputDialog(const AudioOutputOptionsRequest& request, QWidget* parent);

    // The values the fields show now.
    AudioOutputChoice Entered() const;

private:
    void Show(const AudioOutputChoice& choice);
    void BuffersLeft();
    void SamplesLeft();
    void UpdateLatency();
    void TryAccept();

    const AudioOutputOptionsRequest& request_;
    QComboBox* devices_;
    QLineEdit* buffers_;
    QLineEdit* samples_;
    QLabel* latency_;
    // The field values last accepted by their checks, put back when a check refuses.
    std::uint32_t goodBuffers_;
    std::uint32_t goodSamples_;
    bool checking_ = false; // a refusal's message box takes the focus; do not check twice
};

} // namespace jorvo
