/*
 * Libraries for the host's tests, built from this one file with one of these definitions:
 *   (none)                  a complete instrument ("Probe") that reports what the host did to it
 *   PROBE_NO_ENTRY_POINTS   exports nothing the host looks for
 *   PROBE_NULL_INFO         GetInfo returns NULL
 *   PROBE_BAD_ABI           GetInfo reports another interface version
 *   PROBE_NULL_OBJECT       CreateInstrumentPlugin returns NULL
 *   PROBE_INSTRUMENT_ONLY   an instrument with effect channel counts, loaded as an effect: its
 *                           information is valid but CreateEffectPlugin is missing
 * They are test fixtures, not examples: see FMVoice.c and Tremolo.c for those.
 *
 * The probe's Render writes its observations into the first frames of the output, left and right:
 *   frame 0: last event code, its `a`      frame 1: live "Gain", the host's current pulse (-1: none)
 *   frame 2: slot 0 frame count, its first sample     frame 3: SetSample calls, frames asked for
 * and 1000 into every later sample. It reports silence while "Gain" is 0.
 */
#include <stdlib.h>

#include "jorvo/Plugin.h"

#ifndef PROBE_NO_ENTRY_POINTS

enum { PARAM_GAIN = 7, PARAM_MODE = 20 };

typedef struct Probe {
    JorvoPlugin plugin;
    JorvoParameter gain;
    JorvoParameter mode;
    JorvoParameter duplicate; /* same number as gain: the host keeps the first */
    JorvoParameter inverted;  /* minimum above maximum: the host skips it */
    JorvoParameter* list[5];
    int32_t lastCode;
    int32_t lastA;
    const volatile uint32_t* pulse;
    JorvoSampleDescription slot0;
    int32_t sampleCalls;
} Probe;

/* Objects alive in this library, for the tests (exported). */
static int32_t liveObjects = 0;

static const JorvoPluginInfo info = {
#ifdef PROBE_BAD_ABI
    JORVO_PLUGIN_ABI_VERSION + 1u,
#else
    JORVO_PLUGIN_ABI_VERSION,
#endif
    "Probe", 22050, 2,
#ifdef PROBE_INSTRUMENT_ONLY
    2, /* valid effect information, so only the missing create entry is wrong */
#else
    0,
#endif
};

static JorvoParameter* FindParameter(Probe* self, int32_t number)
{
    if (number == PARAM_GAIN)
        return &self->gain;
    if (number == PARAM_MODE)
        return &self->mode;
    return NULL;
}

static void HandleEvent(JorvoPlugin* plugin, int32_t code, int32_t a, int32_t b, int32_t c, int32_t d)
{
    Probe* self = (Probe*)plugin;
    JorvoParameter* parameter = FindParameter(self, code);
    (void)b;
    (void)c;
    (void)d;
    self->lastCode = code;
    self->lastA = a;
    if (parameter && a >= parameter->minimum && a <= parameter->maximum)
        parameter->liveValue = a;
}

static int32_t Render(JorvoPlugin* plugin, int32_t* output, int32_t frames)
{
    Probe* self = (Probe*)plugin;
    const int32_t observed[8] = {
        self->lastCode,
        self->lastA,
        self->gain.liveValue,
        self->pulse ? (int32_t)*self->pulse : -1,
        (int32_t)self->slot0.frameCount,
        self->slot0.data ? self->slot0.data[0] : 0,
        self->sampleCalls,
        frames,
    };
    int32_t i;
    for (i = 0; i < 2 * frames; ++i)
        output[i] = i < 8 ? observed[i] : 1000;
    return self->gain.liveValue != 0;
}

static void GetParameters(JorvoPlugin* plugin, JorvoParameter* const** parameters, uint32_t* count)
{
    Probe* self = (Probe*)plugin;
    *parameters = self->list;
    *count = 5;
}

static void Destroy(JorvoPlugin* plugin)
{
    --liveObjects;
    free(plugin);
}

static JorvoParameter MakeParameter(const char* name, uint16_t number, int32_t minimum, int32_t maximum, int32_t value)
{
    JorvoParameter parameter;
    parameter.name = name;
    parameter.description = NULL;
    parameter.number = number;
    parameter.minimum = minimum;
    parameter.maximum = maximum;
    parameter.storedValue = value;
    parameter.liveValue = value;
    return parameter;
}

JORVO_PLUGIN_EXPORT const JorvoPluginInfo* GetInfo(void)
{
#ifdef PROBE_NULL_INFO
    (void)info;
    return NULL;
#else
    return &info;
#endif
}

JORVO_PLUGIN_EXPORT JorvoPlugin* CreateInstrumentPlugin(void)
{
    Probe* self;
#ifdef PROBE_NULL_OBJECT
    return NULL;
#endif
    self = (Probe*)calloc(1, sizeof(Probe));
    if (!self)
        return NULL;
    self->plugin.Destroy = Destroy;
    self->plugin.HandleEvent = HandleEvent;
    self->plugin.Render = Render;
    self->plugin.GetParameters = GetParameters;
    self->gain = MakeParameter("Gain", PARAM_GAIN, 0, 100, 50);
    self->mode = MakeParameter("Mode", PARAM_MODE, -5, 5, -2);
    self->mode.description = "Probe Mode";
    self->duplicate = MakeParameter("Duplicate", PARAM_GAIN, 0, 1, 0);
    self->inverted = MakeParameter("Inverted", 21, 10, 0, 5);
    self->list[0] = &self->gain;
    self->list[1] = NULL;
    self->list[2] = &self->mode;
    self->list[3] = &self->duplicate;
    self->list[4] = &self->inverted;
    self->lastCode = -1;
    ++liveObjects;
    return &self->plugin;
}

JORVO_PLUGIN_EXPORT void SetSample(JorvoPlugin* plugin, int32_t slot, const JorvoSampleDescription* description)
{
    Probe* self = (Probe*)plugin;
    ++self->sampleCalls;
    if (slot == 0)
        self->slot0 = *description;
}

JORVO_PLUGIN_EXPORT void SetCurPulseCounter(JorvoPlugin* plugin, const volatile uint32_t* pulseCounter)
{
    ((Probe*)plugin)->pulse = pulseCounter;
}

JORVO_PLUGIN_EXPORT int32_t ProbeLiveObjects(void)
{
    return liveObjects;
}

#else

/* Something to export, so the library is a valid one without any entry point of the interface. */
JORVO_PLUGIN_EXPORT int32_t NotAPlugin(void)
{
    return 0;
}

#endif
