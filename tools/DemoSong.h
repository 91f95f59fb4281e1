#pragma once
// The demo song, built through the engine itself: a drum kit on the sampler, mSyn bass and lead,
// an electric piano and a pad on samplers, the default instrument playing an arpeggio, a reverb
// and a delay on sends, and controller automation (filter sweeps, a pan swing, a master fade).
// Intro, verse, chorus, break, chorus again and outro in A minor at 100 beats per minute.

namespace jorvo {

class SoundStudio;

// Fills the empty `studio` with the demo's instruments, effects, mixer settings, patterns,
// sections and song. False when an instrument, effect or sample cannot be created (the studio
// or the sample store has said why); the studio then holds part of the song. UI thread.
bool BuildDemoSong(SoundStudio& studio);

} // namespace jorvo
