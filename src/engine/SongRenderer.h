#pragma once
// Renders the song to a WAV file: the real-time output is swapped for an AudioOutputWAV, the
// sequencer plays its range once with the loop off, and afterwards the output, the position and
// the loop switch are put back. What needs a person (the file chooser, the confirmation, the
// progress display with its Cancel button, the outcome message) goes through a RenderFrontEnd, so
// the Qt dialog and the batch command drive the same procedure.
//
// Threads: Run is called on the thread that drives the render (the user-interface thread, or a
// batch command's) and returns when the render is over. The WAV output's worker renders the song
// meanwhile; Run polls it every 40 ms. The real-time output stays stopped afterwards: the next
// play command starts it.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace jorvo {

class AudioOutput;
class AudioOutputWAV;
class SoundStudio;

// What the render asks of whoever drives it. The defaults go through the installed shell.
class RenderFrontEnd {
public:
    virtual ~RenderFrontEnd() = default;

    // The save-file dialog "Render as Audio" for "Wav Files" ("*.wav"), pre-filled with
    // `initialPath` when it is not empty. The path chosen, or nothing on Cancel.
    virtual std::optional<std::string> ChooseFile(const std::string& initialPath);
    // Asks `question` ("Rendering from … to …") with OK and Cancel; true on OK.
    virtual bool Confirm(const std::string& question);
    // The render begins: shows the progress display over the pulses `start`…`end`.
    virtual void BeginProgress(std::uint32_t start, std::uint32_t end) = 0;
    // The sequencer has reached `pulse`; called at every poll while rendering.
    virtual void SetProgress(std::uint32_t pulse) = 0;
    // True once the user asked to cancel; polled while rendering.
    virtual bool CancelRequested() = 0;
    // The render is over: hides the progress display. Called only after BeginProgress.
    virtual void EndProgress() = 0;
    // Shows the outcome `text` with an OK button.
    virtual void ShowResult(const std::string& text);
};

// How a render ended.
enum class RenderOutcome {
    Rendered,   // the file is complete at its path
    Cancelled,  // the user cancelled while rendering; the unfinished file was dropped
    Failed,     // the file could not be created or written; the path keeps what it held
    NotStarted, // the user declined the file chooser or the confirmation
};

class SongRenderer {
public:
    // How often the progress is updated and the cancel flag polled.
    static constexpr std::chrono::milliseconds kPollInterval{40};

    // A render of `studio`'s song driven by `frontEnd`; neither is owned.
    SongRenderer(SoundStudio& studio, RenderFrontEnd& frontEnd);
    ~SongRenderer();
    SongRenderer(const SongRenderer&) = delete;
    SongRenderer& operator=(const SongRenderer&) = delete;

    // Prepares the play range, asks for the file (offering `initialFileName`) and the go-ahead,
    // renders the range once, restores output, position and loop switch, and shows the outcome
    // (nothing when not started). UI thread, or a batch command's.
    RenderOutcome Run(const std::string& initialFileName);

    // The file chosen for the last Run; empty before.
    const std::string& FileName() const { return fileName_; }

private:
    void PrepareRange();
    bool AskUser(const std::string& initialFileName);
    void SwapInFileOutput();
    RenderOutcome RenderRange();
    void WaitForEnd();
    void Restore();

    SoundStudio& studio_;
    RenderFrontEnd& frontEnd_;
    std::string fileName_;
    std::unique_ptr<AudioOutput> savedOutput_;
    AudioOutputWAV* fileOutput_ = nullptr; // owned by the studio while swapped in
    std::uint32_t savedPosition_ = 0;
    bool savedLoop_ = false;
    std::uint32_t rangeStart_ = 0;
    std::uint32_t rangeEnd_ = 0;
    bool rendering_ = false;         // the file is being rendered; false after a cancel
    std::string_view resultText_;    // the outcome message pattern; empty when nothing is shown
};

} // namespace jorvo
