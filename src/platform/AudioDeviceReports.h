#pragma once
// Reports raised on an audio driver thread wait here for the user-interface thread: a driver
// thread never shows a message box. Posting neither allocates nor locks, so the audio callback
// may post. Texts must be constants that live as long as the program; a text posted again before
// it is shown is shown once.
#include <cstddef>
#include <string_view>

namespace jorvo {

// The caption of every wave-out driver report.
inline constexpr std::string_view kWaveOutDriverCaption = "WaveOut driver";
// The sound card failed while playing; the studio goes on without sound.
inline constexpr std::string_view kAudioDeviceLost =
    "The audio device stopped working. Playback goes on without sound; reset the audio output to try again.";

// Keeps `text` (a constant) with `caption` to be shown later. False when the table of distinct
// pending texts is full (the report is lost). Any thread; never blocks.
bool PostAudioReport(std::string_view text, std::string_view caption = kWaveOutDriverCaption);

// Shows every pending report through Shell().MessageBox, oldest text first, and returns how many
// were shown. UI thread (or a batch command's loop).
std::size_t ShowAudioReports();

// Shows `text` now when called on the UI thread, or posts it when called on a driver thread.
void ReportAudioFailure(std::string_view text, std::string_view caption = kWaveOutDriverCaption);

} // namespace jorvo
