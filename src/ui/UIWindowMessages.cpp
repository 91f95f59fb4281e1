#include "ui/UIWindowMessages.h"

namespace jorvo::UIWindowMessages {

void RegisterAll()
{
    static constexpr const char* kNames[] = {
        kSetActiveView, kUpdateSeqTime, kChangeActivePattern, kChangeActiveSection, kEditParameter, kSync,
        kEventBeginDrag, kEventDrop, kZoneBeginDrag, kSetEventType, kSetEventTypeHigh, kSetActiveSamplerZone,
        kSetActiveAudioFileIndex, kTreeDlgSelPath, kSetPatternFactoryTemplate, kCut,
        "WM_SEL_SAMPLE_FILENAME", "WM_SEL_SAMPLER_ZONENAME", "WM_SEND_UP", "WM_SEND_DOWN", "WM_CHANNEL_PREV",
        "WM_CHANNEL_NEXT", "WM_INCREMENT_SONG_LENGTH", "WM_DECREMENT_SONG_LENGTH", "WM_INCREMENT_SIGNATURE",
        "WM_DECREMENT_SIGNATURE", "WM_ZOOM_IN_TIME", "WM_ZOOM_OUT_TIME", "WM_ZOOM_IN_VALUE", "WM_ZOOM_OUT_VALUE",
        "WM_ZOOM_IN_PITCH", "WM_ZOOM_OUT_PITCH", "WM_SET_NOTE_VELOCITY", "WM_VIEW_SONG_EDITOR",
        "WM_VIEW_SECTION_EDITOR", "WM_VIEW_PATTERN_EDITOR", "WM_VIEW_PARAMETER_EDITOR", "WM_VIEW_MIXER",
        "WM_FILE_NEW", "WM_FILE_OPEN", "WM_FILE_SAVE", "WM_FILE_QUIT", "WM_FILE_HELP",
    };
    for (const char* name : kNames)
        RegisterWindowMessage(name);
}

} // namespace jorvo::UIWindowMessages
