/*
 * Jorvo plug-in interface
 * =======================
 *
 * What a plug-in instrument or effect compiles against. A plug-in is a shared library named
 * "<something>.Instrument" or "<something>.Effect" (no "lib" prefix) placed anywhere below the
 * studio's plug-ins folder (the "PluginsDir" setting); the studio searches that folder and its
 * sub-folders when it first needs a plug-in. The library exports plain C functions, looked up by
 * name, and hands out its objects as tables of function pointers, so no C++ type crosses the
 * boundary: a plug-in may be written in C, in C++ (export the entry points with extern "C") or in
 * anything that can produce a C-callable shared library.
 *
 * Life of a plug-in
 * -----------------
 * 1. The studio opens the library and calls GetInfo() to learn its engine name, sample rate and
 *    channel counts. It may do only this (to list the plug-in) and close the library again.
 * 2. To make a target it calls CreateInstrumentPlugin() or CreateEffectPlugin() and receives a
 *    JorvoPlugin, calls its GetParameters once and registers copies of the parameter records,
 *    looks up SetSample, and (instruments) calls SetCurPulseCounter once.
 * 3. It then sends events (HandleEvent) and asks for audio (Render or Process), chunk by chunk.
 * 4. When the target is destroyed it calls Destroy on the object; the library stays loaded until
 *    the last object made from it has been destroyed.
 *
 * Threads
 * -------
 * - User-interface thread: GetInfo, the create entry, GetParameters, SetSample,
 *   SetCurPulseCounter, Destroy, and HandleEvent for edits and note previews.
 * - Audio thread: Render, Process and HandleEvent for the events of the song.
 * The studio never calls one object from both threads at the same moment for a structural change
 * (create, destroy, SetSample happen while the audio thread leaves the object alone), but a
 * parameter change from the editor may arrive on the user-interface thread while the audio
 * thread renders: keep parameter values in single 32-bit words read once per chunk.
 * Render, Process and HandleEvent on the audio thread must not allocate, lock, block or do I/O.
 *
 * Audio format
 * ------------
 * Samples are signed 32-bit integers at the scale of 16-bit audio multiplied by 256 (full scale
 * is -8388608 ... 8388352); stereo is interleaved left, right. A chunk holds at most
 * JORVO_PLUGIN_MAX_FRAMES frames.
 *
 * Events (HandleEvent code, a, b, c, d)
 * -------------------------------------
 *   any other code  set the parameter whose number is `code` to `a`; ignore a value outside
 *                   the parameter's range (never clamp it)
 *   200  note start: a = note 0...127, b = velocity 0...127 (0 means note end), c = length in
 *        pulses
 *   201  note end: a = note
 *   202  the play position jumped: silence the sounding notes
 *   205  activate: a = 0 or 1
 *   252  the tempo changed: a = tempo, b = pulses per quarter note
 *   253  play starts or the position jumped: a = position bits 31...16, b = bits 15...0
 *   255  playback stopped: all notes off, return to the start state; the studio then sends
 *        every parameter's stored value again as parameter events
 * Unknown codes are to be ignored.
 */
#ifndef JORVO_PLUGIN_H
#define JORVO_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The version of this interface. GetInfo reports the version the plug-in was built against; the
 * studio refuses a library built against another version. Raised whenever a record below
 * changes its layout. */
#define JORVO_PLUGIN_ABI_VERSION 1u

/* The most frames the studio asks for in one Render or Process call. */
#define JORVO_PLUGIN_MAX_FRAMES 1024

/* Exported entry point names (what the studio looks up). */
#define JORVO_PLUGIN_GET_INFO "GetInfo"
#define JORVO_PLUGIN_CREATE_INSTRUMENT "CreateInstrumentPlugin"
#define JORVO_PLUGIN_CREATE_EFFECT "CreateEffectPlugin"
#define JORVO_PLUGIN_SET_SAMPLE "SetSample"
#define JORVO_PLUGIN_SET_CUR_PULSE_COUNTER "SetCurPulseCounter"

#if defined(_WIN32)
#define JORVO_PLUGIN_EXPORT __declspec(dllexport)
#else
#define JORVO_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/* What a library reports about itself. Returned by GetInfo; the record and the engine name must
 * stay valid while the library is loaded (a static record is the usual choice). The studio copies
 * what it needs. */
typedef struct JorvoPluginInfo {
    /* JORVO_PLUGIN_ABI_VERSION as the plug-in saw it when it was compiled. */
    uint32_t abiVersion;
    /* The engine name, UTF-8, non-empty: how documents and the studio's lists name this type.
     * Compared exactly (case-sensitive); it must not be one of the built-in engine names. */
    const char* engineName;
    /* The sample rate the plug-in renders at (normally 44100); not 0. */
    uint16_t sampleRate;
    /* Instrument: channels it renders (1 mono, 2 stereo). Effect: channels it reads (1 or 2). */
    uint8_t channels;
    /* Effect: channels it writes (1 or 2). Instruments leave it 0. */
    uint8_t outputChannels;
} JorvoPluginInfo;

/* One parameter of a plug-in object, addressed by its number: a controller event with that code
 * sets it. The plug-in owns the record; it must stay valid and unmoved until the object is
 * destroyed. The studio reads every field once, when the object is created, and keeps its own
 * copy: after that the values reach the plug-in only as parameter events through HandleEvent, and
 * the studio never writes into the record. A plug-in may use `liveValue` to keep its current
 * value. */
typedef struct JorvoParameter {
    /* Short name, unique within the plug-in: shown in the parameter tree, key in documents and
     * presets. Must not be NULL. */
    const char* name;
    /* Long name shown by the parameter editor; NULL reads as "". */
    const char* description;
    /* The controller code that addresses it: 0...199 (codes from 200 up are events). Unique
     * within the plug-in. */
    uint16_t number;
    /* Accepted range; minimum <= maximum. */
    int32_t minimum;
    int32_t maximum;
    /* The default: the value a new target stores in documents; within the range. */
    int32_t storedValue;
    /* The value in use now. */
    int32_t liveValue;
} JorvoParameter;

/* What a sample slot hands the plug-in (SetSample): one WAV file from the studio's sample store.
 * The frames belong to the studio and stay valid until the next SetSample for the same slot or
 * until the object is destroyed, whichever comes first. An empty slot is described with every
 * field zero (data NULL). */
typedef struct JorvoSampleDescription {
    /* 16-bit frames, interleaved left/right when stereo. One extra frame (a copy of the last one)
     * follows the `frameCount` frames, so interpolation may read one frame past the end. */
    const int16_t* data;
    /* Number of frames at `data`, the extra frame not counted. */
    uint32_t frameCount;
    /* Channels minus one: 0 mono, 1 stereo. */
    uint16_t stereo;
    /* The file's sample rate in Hz; 0 when the file did not say. */
    uint32_t sampleRate;
    /* MIDI note at which the sample sounds at its own pitch. */
    uint16_t rootNote;
    /* Fine tuning in cents. */
    int16_t fineTune;
    /* Index of the last frame to play (< frameCount when frameCount > 0). */
    uint32_t endFrame;
    /* Frames in the loop that ends at `endFrame`; 0 means no loop. */
    uint32_t loopLength;
} JorvoSampleDescription;

typedef struct JorvoPlugin JorvoPlugin;

/* A plug-in object: the table of operations the studio calls, in this slot order. The plug-in
 * allocates it in its create entry (usually as the first member of its own state) and frees it in
 * Destroy. Every operation receives the object it was called on. */
struct JorvoPlugin {
    /* Frees the object and everything it owns. Required. */
    void (*Destroy)(JorvoPlugin* self);
    /* Receives every event of the target, unchanged (see Events above). Required. */
    void (*HandleEvent)(JorvoPlugin* self, int32_t code, int32_t a, int32_t b, int32_t c, int32_t d);
    /* Instruments (required; effects set NULL): writes `frames` frames into `output`
     * (channels x frames samples, zeroed by the studio before each chunk; the plug-in may write
     * or add). Returns non-zero when the output holds sound, 0 when silent. Audio thread. */
    int32_t (*Render)(JorvoPlugin* self, int32_t* output, int32_t frames);
    /* Effects (required; instruments set NULL): reads `frames` frames from `input` (interleaved
     * by the input channel count) and writes `frames` frames to `output` (interleaved by the
     * output channel count; not zeroed beforehand). Returns non-zero when the output holds
     * sound. Audio thread. */
    int32_t (*Process)(JorvoPlugin* self, const int32_t* input, int32_t* output, int32_t frames);
    /* Hands out the plug-in's parameter records: an array of `*count` pointers that stays valid
     * until Destroy; NULL entries are skipped. NULL when the plug-in has no parameters. */
    void (*GetParameters)(JorvoPlugin* self, JorvoParameter* const** parameters, uint32_t* count);
};

/* Entry points. GetInfo and the create entry of the library's kind are required; SetSample and
 * SetCurPulseCounter are optional. */

/* Reports the library's information; NULL when it cannot (the studio then refuses the library). */
typedef const JorvoPluginInfo* (*JorvoGetInfoFunction)(void);

/* Creates an instrument (CreateInstrumentPlugin) or effect (CreateEffectPlugin) object, or NULL
 * when it cannot. */
typedef JorvoPlugin* (*JorvoCreatePluginFunction)(void);

/* Gives sample slot `slot` (0 upward) a sample, or empties it (every field zero). Called for every
 * slot change of the target; when a document or preset is loaded, every slot the target had is
 * emptied first and then every stored slot is given again. Stop reading a slot's old frames as
 * soon as it changes. User-interface thread, while the audio thread leaves the object alone. */
typedef void (*JorvoSetSampleFunction)(JorvoPlugin* self, int32_t slot, const JorvoSampleDescription* description);

/* Instruments: gives the address of the studio's current song position in pulses, which the
 * sequencer updates on every position change. Called once after creation; the address stays
 * valid while the library is loaded. Read it with one 32-bit load; never write it. */
typedef void (*JorvoSetCurPulseCounterFunction)(JorvoPlugin* self, const volatile uint32_t* pulseCounter);

/* The declarations a plug-in implements (define them with JORVO_PLUGIN_EXPORT). */
JORVO_PLUGIN_EXPORT const JorvoPluginInfo* GetInfo(void);
JORVO_PLUGIN_EXPORT JorvoPlugin* CreateInstrumentPlugin(void);
JORVO_PLUGIN_EXPORT JorvoPlugin* CreateEffectPlugin(void);
JORVO_PLUGIN_EXPORT void SetSample(JorvoPlugin* self, int32_t slot, const JorvoSampleDescription* description);
JORVO_PLUGIN_EXPORT void SetCurPulseCounter(JorvoPlugin* self, const volatile uint32_t* pulseCounter);

#ifdef __cplusplus
}
#endif

#endif /* JORVO_PLUGIN_H */
