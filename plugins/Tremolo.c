/*
 * Tremolo: an example plug-in effect.
 *
 * Reads one channel (the buss's send sum) and writes two: the input with its level swung by a
 * sine LFO, the right channel's LFO shifted by "Spread" (0: both channels swing together, a plain
 * tremolo; 127: they swing in opposite phase, an auto-pan). Shows what a plug-in effect does:
 *   - reports one input and two output channels through GetInfo;
 *   - hands out its parameter records and follows parameter events;
 *   - processes a chunk from the input buffer into the output buffer at the host's scale;
 *   - returns to its start state on code 255 (playback stopped).
 * All per-sample work is 32-bit integer with a 64-bit product, as the built-in effects do.
 */
#include <math.h>
#include <stdlib.h>

#include "jorvo/Plugin.h"

#define SAMPLE_RATE 44100
#define TABLE_BITS 10
#define TABLE_SIZE (1 << TABLE_BITS)
/* Gains are 1.15 fixed point: 32768 is unity. */
#define UNITY 32768

enum { PARAM_RATE = 30, PARAM_DEPTH = 31, PARAM_SPREAD = 32, PARAM_COUNT = 3 };
enum { EVENT_STOP_RESET = 255 };

typedef struct Tremolo {
    JorvoPlugin plugin; /* first member, so the JorvoPlugin pointer is the object's address */
    JorvoParameter parameters[PARAM_COUNT];
    JorvoParameter* parameterList[PARAM_COUNT];
    int16_t sine[TABLE_SIZE]; /* one period, -32767...32767 */
    uint32_t phase;           /* LFO phase: the whole 32-bit range is one period */
} Tremolo;

static const JorvoPluginInfo info = {
    JORVO_PLUGIN_ABI_VERSION, "Tremolo", SAMPLE_RATE, 1 /* input: mono */, 2 /* output: stereo */,
};

static JorvoParameter MakeParameter(const char* name, const char* description, uint16_t number, int32_t value)
{
    JorvoParameter parameter;
    parameter.name = name;
    parameter.description = description;
    parameter.number = number;
    parameter.minimum = 0;
    parameter.maximum = 127;
    parameter.storedValue = value;
    parameter.liveValue = value;
    return parameter;
}

static JorvoParameter* FindParameter(Tremolo* self, int32_t number)
{
    int i;
    for (i = 0; i < PARAM_COUNT; ++i) {
        if (self->parameters[i].number == number)
            return &self->parameters[i];
    }
    return NULL;
}

static void HandleEvent(JorvoPlugin* plugin, int32_t code, int32_t a, int32_t b, int32_t c, int32_t d)
{
    Tremolo* self = (Tremolo*)plugin;
    JorvoParameter* parameter;
    (void)b;
    (void)c;
    (void)d;
    if (code == EVENT_STOP_RESET) {
        /* The host sends the stored parameter values right after this. */
        self->phase = 0;
        return;
    }
    parameter = FindParameter(self, code);
    if (parameter && a >= parameter->minimum && a <= parameter->maximum)
        parameter->liveValue = a;
}

/* The gain for LFO phase `phase`: unity at the sine's top, 1 - depth at its bottom. */
static int32_t Gain(const Tremolo* self, uint32_t phase, int32_t depth)
{
    const int32_t lfo = self->sine[phase >> (32 - TABLE_BITS)];   /* -32767...32767 */
    const int32_t dip = (UNITY - (lfo + 32767) / 2) * depth / 127; /* 0...32768 */
    return UNITY - dip;
}

static int32_t Process(JorvoPlugin* plugin, const int32_t* input, int32_t* output, int32_t frames)
{
    Tremolo* self = (Tremolo*)plugin;
    /* Parameters are read once per chunk: the editor may change them from another thread. */
    const int32_t rate = self->parameters[0].liveValue;
    const int32_t depth = self->parameters[1].liveValue;
    const int32_t spread = self->parameters[2].liveValue;
    /* 0.1 Hz ... about 12.9 Hz; the phase increment is the frequency's share of 2^32 per sample. */
    const double hertz = 0.1 + rate * 0.1;
    const uint32_t increment = (uint32_t)(hertz / SAMPLE_RATE * 4294967296.0);
    /* Spread 127 is half a period. */
    const uint32_t offset = (uint32_t)((uint64_t)spread * 0x80000000u / 127u);
    int sound = 0;
    int32_t i;
    for (i = 0; i < frames; ++i) {
        const int64_t x = input[i];
        const int32_t left = (int32_t)((x * Gain(self, self->phase, depth)) >> 15);
        const int32_t right = (int32_t)((x * Gain(self, self->phase + offset, depth)) >> 15);
        output[2 * i] = left;
        output[2 * i + 1] = right;
        sound |= left != 0 || right != 0;
        self->phase += increment;
    }
    return sound;
}

static void GetParameters(JorvoPlugin* plugin, JorvoParameter* const** parameters, uint32_t* count)
{
    Tremolo* self = (Tremolo*)plugin;
    *parameters = self->parameterList;
    *count = PARAM_COUNT;
}

static void Destroy(JorvoPlugin* plugin)
{
    free(plugin);
}

JORVO_PLUGIN_EXPORT const JorvoPluginInfo* GetInfo(void)
{
    return &info;
}

JORVO_PLUGIN_EXPORT JorvoPlugin* CreateEffectPlugin(void)
{
    int i;
    Tremolo* self = (Tremolo*)calloc(1, sizeof(Tremolo));
    if (!self)
        return NULL;
    self->plugin.Destroy = Destroy;
    self->plugin.HandleEvent = HandleEvent;
    self->plugin.Render = NULL;
    self->plugin.Process = Process;
    self->plugin.GetParameters = GetParameters;
    self->parameters[0] = MakeParameter("Rate", "Tremolo Rate", PARAM_RATE, 40);
    self->parameters[1] = MakeParameter("Depth", "Tremolo Depth", PARAM_DEPTH, 64);
    self->parameters[2] = MakeParameter("Spread", "Left/Right Phase Spread", PARAM_SPREAD, 0);
    for (i = 0; i < PARAM_COUNT; ++i)
        self->parameterList[i] = &self->parameters[i];
    /* The table is built once, here: never on the audio thread. */
    for (i = 0; i < TABLE_SIZE; ++i)
        self->sine[i] = (int16_t)lrint(32767.0 * sin(6.283185307179586 * i / TABLE_SIZE));
    return &self->plugin;
}
