#pragma once
// The shipped skins, one builder per family. Each adds its skin files and images to `files`
// (paths relative to the repository) and a picture of each finished view to `mockups`.
#include "Skin.h"

namespace artwork {

// skins/skins.dat (the splash picture) and skins/Splash.png (the main view's fallback picture).
void BuildSplash(Output& files);
// skins/Jorvo/Jorvo.skin: the home screen.
void BuildMainSkin(Output& files, Output& mockups);
// skins/Sequencer/Sequencer.skin: the song, section, pattern and parameter editor views.
void BuildSequencerSkin(Output& files, Output& mockups);
// skins/Mixer/Mixer.skin: the mixer with its channel strip, send row and master strip.
void BuildMixerSkin(Output& files, Output& mockups);
// The panels of every built-in instrument and effect, and of the two example plug-ins.
void BuildEngineSkins(Output& files, Output& mockups);

} // namespace artwork
