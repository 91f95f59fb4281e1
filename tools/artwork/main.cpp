// jorvo_artwork <repository folder> [<mock-up folder>]
// Draws every shipped skin image and writes every skin file into the repository's skins/ and
// plugins/ folders (the output is committed); with a second folder, also a picture of each
// finished view there. Deterministic: no clock, no randomness.
#include <QGuiApplication>
#include <cstdio>
#include <exception>

#include "Skins.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: jorvo_artwork <repository folder> [<mock-up folder>]\n");
        return 2;
    }
    // Drawing needs no screen; the same platform everywhere keeps the output the same.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    try {
        artwork::Output files;
        artwork::Output mockups;
        artwork::BuildSplash(files);
        artwork::BuildMainSkin(files, mockups);
        artwork::BuildSequencerSkin(files, mockups);
        artwork::BuildMixerSkin(files, mockups);
        artwork::BuildEngineSkins(files, mockups);
        if (!files.WriteAll(argv[1]))
            return 1;
        if (argc == 3 && !mockups.WriteAll(argv[2]))
            return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "jorvo_artwork: %s\n", error.what());
        return 1;
    }
    return 0;
}
