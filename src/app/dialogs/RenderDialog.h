#pragma once
// Rendering the song as audio from the studio window: the "Render as Audio" file chooser, the
// "Rendering from … to …" confirmation, the progress dialog with its Cancel button and the
// outcome message. The song renderer runs on a thread of its own while the window keeps
// painting; the progress dialog is modal, so nothing can be edited while the song renders.
// UI thread.
#include <atomic>
#include <cstdint>

#include <QDialog>

class QProgressBar;
class QPushButton;
class QTimer;

namespace jorvo {

class CJorvoDoc;

// The progress display: an icon, "Rendering...", a progress bar over the song range, and
// "Cancel", which asks the render to stop rather than closing the dialog.
class RenderProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit RenderProgressDialog(QWidget* parent);

    // Shows the dialog over the pulses `start` … `end`. UI thread.
    void Begin(std::uint32_t start, std::uint32_t end);
    // The render is over: the display stops moving and Cancel is disabled. UI thread.
    void Finish();
    // The render reached `pulse`; shown at the next display update. Any thread.
    void SetPulse(std::uint32_t pulse) { pulse_.store(pulse, std::memory_order_relaxed); }
    // True once Cancel was pressed (or the dialog was closed). Any thread.
    bool CancelRequested() const { return cancel_.load(std::memory_order_relaxed); }

    // Cancel and closing the window ask the render to stop.
    void reject() override;

private:
    void ShowPulse();

    QProgressBar* bar_;
    QTimer* updates_;
    QPushButton* cancelButton_ = nullptr;
    std::atomic<std::uint32_t> start_{0};
    std::atomic<std::uint32_t> end_{0};
    std::atomic<std::uint32_t> pulse_{0};
    std::atomic<bool> cancel_{false};
};

// Renders `document`'s song to a WAV file the user chooses (offered: the document's path with the
// extension ".wav"). True when a file was rendered completely.
bool RenderSongToAudio(QWidget* parent, CJorvoDoc& document);

} // namespace jorvo
