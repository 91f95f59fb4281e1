#pragma once
// The names of the registered window messages the skinned user interface exchanges. Numbers come
// from RegisterWindowMessage, so every part of the process agrees on them.
#include "platform/WindowMessages.h"

namespace jorvo::UIWindowMessages {

inline constexpr char kSetActiveView[] = "WM_SET_ACTIVE_VIEW";
inline constexpr char kUpdateSeqTime[] = "WM_UPDATE_SEQTIME";
inline constexpr char kChangeActivePattern[] = "WM_CHANGE_ACTIVE_PATTERN";
inline constexpr char kChangeActiveSection[] = "WM_CHANGE_ACTIVE_SECTION";
inline constexpr char kEditParameter[] = "WM__EDIT_PARAMETER";
inline constexpr char kSync[] = "WM_SYNC";
inline constexpr char kEventBeginDrag[] = "WM_EVENT_BEGIN_DRAG";
inline constexpr char kEventDrop[] = "WM_EVENT_DROP";
inline constexpr char kZoneBeginDrag[] = "WM_ZONE_BEGIN_DRAG";
inline constexpr char kSetEventType[] = "WM_SET_EVENT_TYPE";
inline constexpr char kSetEventTypeHigh[] = "WM_SET_EVENT_TYPE_HIGH";
inline constexpr char kSetActiveSamplerZone[] = "WM_SET_ACTIVE_SAMPLER_ZONE";
inline constexpr char kSetActiveAudioFileIndex[] = "WM_SET_ACTIVE_AUDIOFILE_INDEX";
inline constexpr char kTreeDlgSelPath[] = "WM_TREE_DLG_SEL_PATH";
inline constexpr char kSetPatternFactoryTemplate[] = "WM_SET_PATTERN_FACTORY_TEMPLATE";
// Asks the editor in wParam to delete its selected (dragged) object.
inline constexpr char kCut[] = "WM_CUT";

// Every name above plus those only skins name, registered at program start so that numbers do
// not depend on which skin is read first. UI thread.
void RegisterAll();

} // namespace jorvo::UIWindowMessages
