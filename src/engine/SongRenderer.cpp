#include "engine/SongRenderer.h"

#include <thread>

#include "audio/AudioMessages.h"
#include "audio/AudioOutputWAV.h"
#include "engine/SoundStudio.h"
#include "platform/ShellServices.h"
#include "platform/TextFormat.h"
#include "sequencer/Sequencer.h"
#include "sequencer/TimeText.h"

namespace jorvo {

std::optional<std::string> RenderFrontEnd::ChooseFile(const std::string& initialPath)
{
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.title = kRenderDialogTitle;
    request.filters.push_back({std::string(kWavFilesFilterName), std::string(kWavFilesFilterPattern)});
    request.initialPath = initialPath;
    return Shell().ChooseFile(request);
}

bool RenderFrontEnd::Confirm(const std::string& question)
{
    // Nobody there to ask (a batch command) means go ahead: the command asked for the render.
    return Shell().MessageBox(question, "Jorvo", MessageButtons::OkCancel, MessageIcon::Question,
                              MessageAnswer::Ok) == MessageAnswer::Ok;
}

void RenderFrontEnd::ShowResult(const std::string& text)
{
    Shell().MessageBox(text);
}

SongRenderer::SongRenderer(SoundStudio& studio, RenderFrontEnd& frontEnd) : studio_(studio), frontEnd_(frontEnd) {}

SongRenderer::~SongRenderer() = default;

RenderOutcome SongRenderer::Run(const std::string& initialFileName)
{
    fileName_ = initialFileName;
    resultText_ = {};
    PrepareRange();
    RenderOutcome outcome = RenderOutcome::NotStarted;
    if (AskUser(initialFileName)) {
        SwapInFileOutput();
        frontEnd_.BeginProgress(rangeStart_, rangeEnd_);
        outcome = RenderRange();
        frontEnd_.EndProgress();
    }
    Restore();
    if (!resultText_.empty())
        frontEnd_.ShowResult(FormatText(resultText_, {fileName_}));
    return outcome;
}

void SongRenderer::PrepareRange()
{
    Sequencer& sequencer = studio_.GetSequencer();
    // The render starts at the range start, so whatever plays now is stopped first.
    if (sequencer.IsPlaying())
        sequencer.Stop();
    // The position is kept before the range is prepared (which moves it to the range start), so
    // that the user finds the song where it was.
    savedPosition_ = sequencer.GetPlayState().position;
    savedLoop_ = sequencer.SetLoop(false);
    sequencer.ResetPosition();
    const Sequencer::PlayState state = sequencer.GetPlayState();
    rangeStart_ = state.rangeStart;
    rangeEnd_ = state.rangeEnd;
    if (savedPosition_ != rangeStart_)
        sequencer.SetPosition(rangeStart_);
}

bool SongRenderer::AskUser(const std::string& initialFileName)
{
    const std::optional<std::string> chosen = frontEnd_.ChooseFile(initialFileName);
    if (!chosen)
        return false;
    fileName_ = *chosen;
    return frontEnd_.Confirm(FormatText(kRenderingFromTo, {PositionToText(rangeStart_), PositionToText(rangeEnd_)}));
}

void SongRenderer::SwapInFileOutput()
{
    AudioOutput& current = studio_.GetOutput();
    if (current.IsRunning())
        current.Stop();
    auto output = std::make_unique<AudioOutputWAV>(&studio_, fileName_);
    Sequencer& sequencer = studio_.GetSequencer();
    output->SetPlayingCheck([&sequencer] { return sequencer.IsPlaying(); });
    fileOutput_ = output.get();
    savedOutput_ = studio_.SwapOutput(std::move(output));
}

RenderOutcome SongRenderer::RenderRange()
{
    if (!fileOutput_->Start()) {
        // Nothing can be written, so the song is not played for nothing.
        resultText_ = kRenderingFileNotCreated;
        return RenderOutcome::Failed;
    }
    rendering_ = true;
    // An empty range holds no frames: playing it would still sound its first pulse.
    if (rangeStart_ != rangeEnd_)
        studio_.GetSequencer().Play();
    WaitForEnd();
    if (!rendering_) {
        resultText_ = kRenderingCancelled;
        return RenderOutcome::Cancelled;
    }
    rendering_ = false;
    fileOutput_->Stop();
    if (!fileOutput_->FileCompleted()) {
        resultText_ = kRenderingFileNotWritten;
        return RenderOutcome::Failed;
    }
    resultText_ = kRenderingSuccessful;
    return RenderOutcome::Rendered;
}

void SongRenderer::WaitForEnd()
{
    Sequencer& sequencer = studio_.GetSequencer();
    while (sequencer.IsPlaying()) {
        if (frontEnd_.CancelRequested()) {
            // The unfinished file is dropped rather than completed and deleted, so a file the
            // user chose to replace survives a cancelled render.
            fileOutput_->Abandon();
            sequencer.Stop();
            rendering_ = false;
            return;
        }
        frontEnd_.SetProgress(sequencer.GetSongPosition());
        std::this_thread::sleep_for(kPollInterval);
    }
}

void SongRenderer::Restore()
{
    if (savedOutput_) {
        studio_.SwapOutput(std::move(savedOutput_)); // the file output is stopped and discarded
        fileOutput_ = nullptr;
    }
    Sequencer& sequencer = studio_.GetSequencer();
    sequencer.SetPosition(savedPosition_);
    sequencer.SetLoop(savedLoop_);
}

} // namespace jorvo
