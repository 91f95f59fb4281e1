/*
 * FMVoice: an example plug-in instrument.
 *
 * Eight voices of two-operator frequency modulation (a sine carrier whose phase is pushed by a
 * sine modulator), or, with "Source" set to 1, eight voices playing the sample in slot 0 at the
 * pitch of each note. Shows what a plug-in instrument does:
 *   - reports itself through GetInfo;
 *   - hands out its parameter records (GetParameters) and follows parameter events;
 *   - keeps voices, starting them on note start (200) and releasing them on note end (201);
 *   - renders mono frames at the host's scale (16-bit audio x 256);
 *   - receives samples through the optional SetSample entry.
 * The voice code uses single-precision floats for readability; nothing on the render path
 * allocates or blocks.
 */
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "jorvo/Plugin.h"

#define VOICE_COUNT 8
#define SAMPLE_RATE 44100
#define TWO_PI 6.28318530717958647692f
/* Full scale of the host's samples: 32767 x 256. */
#define FULL_SCALE 8388352.0f
/* Each voice at most this share of full scale, so eight voices rarely clip. */
#define VOICE_GAIN 0.25f
/* A level below this counts as silence and frees the voice. */
#define SILENCE 0.0001f

/* Parameter numbers: controller codes. */
enum {
    PARAM_VOLUME = 7,
    PARAM_SOURCE = 30,
    PARAM_RATIO = 31,
    PARAM_DEPTH = 32,
    PARAM_ATTACK = 33,
    PARAM_RELEASE = 34,
    PARAM_COUNT = 6
};

/* Event codes (see the header). */
enum {
    EVENT_NOTE_START = 200,
    EVENT_NOTE_END = 201,
    EVENT_POSITION_JUMPED = 202,
    EVENT_STOP_RESET = 255
};

typedef struct Voice {
    int note;          /* -1 when free */
    int releasing;     /* note end received */
    float velocity;    /* 0...1 */
    float level;       /* envelope, 0...1 */
    float carrierPhase; /* radians */
    float modulatorPhase;
    float increment;   /* carrier radians per sample */
    double position;   /* sample playback: frame position */
    double step;       /* sample playback: frames per output frame */
} Voice;

typedef struct FMVoice {
    JorvoPlugin plugin; /* first member, so the JorvoPlugin pointer is the object's address */
    JorvoParameter parameters[PARAM_COUNT];
    JorvoParameter* parameterList[PARAM_COUNT];
    Voice voices[VOICE_COUNT];
    JorvoSampleDescription sample; /* slot 0; data NULL when empty */
    unsigned age;                  /* for stealing the oldest voice */
    unsigned voiceAge[VOICE_COUNT];
} FMVoice;

static const JorvoPluginInfo info = {
    JORVO_PLUGIN_ABI_VERSION, "FMVoice", SAMPLE_RATE, 1 /* mono */, 0,
};

static JorvoParameter MakeParameter(const char* name, const char* description, uint16_t number, int32_t minimum,
                                    int32_t maximum, int32_t value)
{
    JorvoParameter parameter;
    parameter.name = name;
    parameter.description = description;
    parameter.number = number;
    parameter.minimum = minimum;
    parameter.maximum = maximum;
    parameter.storedValue = value;
    parameter.liveValue = value;
    return parameter;
}

static JorvoParameter* FindParameter(FMVoice* self, int32_t number)
{
    int i;
    for (i = 0; i < PARAM_COUNT; ++i) {
        if (self->parameters[i].number == number)
            return &self->parameters[i];
    }
    return NULL;
}

static int32_t Live(FMVoice* self, int32_t number)
{
    return FindParameter(self, number)->liveValue;
}

/* Per-sample envelope steps from a 0...127 parameter: 0 is about 1 ms, 127 about 2.5 s. */
static float AttackStep(int32_t value)
{
    const float seconds = 0.001f + (float)(value * value) / (127.0f * 127.0f) * 2.5f;
    return 1.0f / (seconds * SAMPLE_RATE);
}

static float ReleaseFactor(int32_t value)
{
    const float seconds = 0.001f + (float)(value * value) / (127.0f * 127.0f) * 2.5f;
    /* Falls to 1/1000 (-60 dB) over `seconds`. */
    return powf(0.001f, 1.0f / (seconds * SAMPLE_RATE));
}

static void SilenceAll(FMVoice* self)
{
    int i;
    for (i = 0; i < VOICE_COUNT; ++i)
        self->voices[i].note = -1;
}

/* A free voice, or else the oldest one. */
static Voice* TakeVoice(FMVoice* self)
{
    int i;
    int oldest = 0;
    for (i = 0; i < VOICE_COUNT; ++i) {
        if (self->voices[i].note < 0) {
            oldest = i;
            break;
        }
        if (self->voiceAge[i] < self->voiceAge[oldest])
            oldest = i;
    }
    self->voiceAge[oldest] = ++self->age;
    return &self->voices[oldest];
}

static void StartNote(FMVoice* self, int32_t note, int32_t velocity)
{
    Voice* voice = TakeVoice(self);
    const float hertz = 440.0f * powf(2.0f, (float)(note - 69) / 12.0f);
    voice->note = note;
    voice->releasing = 0;
    voice->velocity = (float)velocity / 127.0f;
    voice->level = 0.0f;
    voice->carrierPhase = 0.0f;
    voice->modulatorPhase = 0.0f;
    voice->increment = TWO_PI * hertz / SAMPLE_RATE;
    voice->position = 0.0;
    voice->step = 0.0;
    if (self->sample.data) {
        /* The sample sounds at its own pitch at its root note (tuned by its fine tune). */
        const double semitones = (double)(note - self->sample.rootNote) - self->sample.fineTune / 100.0;
        const double rate = self->sample.sampleRate ? self->sample.sampleRate : SAMPLE_RATE;
        voice->step = pow(2.0, semitones / 12.0) * rate / SAMPLE_RATE;
    }
}

static void EndNote(FMVoice* self, int32_t note)
{
    int i;
    for (i = 0; i < VOICE_COUNT; ++i) {
        if (self->voices[i].note == note)
            self->voices[i].releasing = 1;
    }
}

static void HandleEvent(JorvoPlugin* plugin, int32_t code, int32_t a, int32_t b, int32_t c, int32_t d)
{
    FMVoice* self = (FMVoice*)plugin;
    JorvoParameter* parameter;
    (void)c;
    (void)d;
    switch (code) {
    case EVENT_NOTE_START:
        if (a < 0 || a > 127 || b < 0 || b > 127)
            return;
        if (b == 0)
            EndNote(self, a);
        else
            StartNote(self, a, b);
        return;
    case EVENT_NOTE_END:
        EndNote(self, a);
        return;
    case EVENT_POSITION_JUMPED:
    case EVENT_STOP_RESET:
        SilenceAll(self);
        return;
    default:
        /* A parameter event: take the value when it is in range, ignore it otherwise. */
        parameter = FindParameter(self, code);
        if (parameter && a >= parameter->minimum && a <= parameter->maximum)
            parameter->liveValue = a;
        return;
    }
}

/* The next frame of the sample in slot 0, mixed to mono; advances the voice, freeing it at the
 * end of a sample without a loop. */
static float NextSampleFrame(FMVoice* self, Voice* voice)
{
    const JorvoSampleDescription* sample = &self->sample;
    const uint32_t frame = (uint32_t)voice->position;
    const float fraction = (float)(voice->position - frame);
    float value;
    if (!sample->data || frame > sample->endFrame) {
        voice->note = -1;
        return 0.0f;
    }
    /* Reading frame + 1 is safe: the host keeps one guard frame after the last. */
    if (sample->stereo) {
        const int16_t* at = sample->data + 2 * (size_t)frame;
        value = ((at[0] + at[1]) + ((at[2] + at[3]) - (at[0] + at[1])) * fraction) * 0.5f;
    } else {
        const int16_t* at = sample->data + frame;
        value = at[0] + (at[1] - at[0]) * fraction;
    }
    voice->position += voice->step;
    if (voice->position > sample->endFrame) {
        if (sample->loopLength)
            voice->position -= sample->loopLength;
        else
            voice->note = -1;
    }
    return value / 32768.0f;
}

static float NextFMFrame(Voice* voice, float ratio, float depth)
{
    const float value = sinf(voice->carrierPhase + depth * sinf(voice->modulatorPhase));
    voice->carrierPhase += voice->increment;
    voice->modulatorPhase += voice->increment * ratio;
    if (voice->carrierPhase > TWO_PI)
        voice->carrierPhase -= TWO_PI;
    if (voice->modulatorPhase > TWO_PI)
        voice->modulatorPhase -= TWO_PI;
    return value;
}

static int32_t Render(JorvoPlugin* plugin, int32_t* output, int32_t frames)
{
    FMVoice* self = (FMVoice*)plugin;
    /* Parameters are read once per chunk: the editor may change them from another thread. */
    const int useSample = Live(self, PARAM_SOURCE) == 1 && self->sample.data != NULL;
    const float ratio = (float)Live(self, PARAM_RATIO);
    const float depth = (float)Live(self, PARAM_DEPTH) / 16.0f;
    const float attack = AttackStep(Live(self, PARAM_ATTACK));
    const float release = ReleaseFactor(Live(self, PARAM_RELEASE));
    const float volume = (float)Live(self, PARAM_VOLUME) / 127.0f * VOICE_GAIN * FULL_SCALE;
    int sounding = 0;
    int v;
    int32_t i;
    for (v = 0; v < VOICE_COUNT; ++v) {
        Voice* voice = &self->voices[v];
        if (voice->note < 0)
            continue;
        sounding = 1;
        for (i = 0; i < frames && voice->note >= 0; ++i) {
            const float value = useSample ? NextSampleFrame(self, voice) : NextFMFrame(voice, ratio, depth);
            float mixed;
            if (voice->releasing) {
                voice->level *= release;
                if (voice->level < SILENCE)
                    voice->note = -1;
            } else if (voice->level < 1.0f) {
                voice->level = voice->level + attack > 1.0f ? 1.0f : voice->level + attack;
            }
            mixed = output[i] + value * voice->level * voice->velocity * volume;
            output[i] = mixed > FULL_SCALE ? (int32_t)FULL_SCALE
                        : mixed < -FULL_SCALE ? (int32_t)-FULL_SCALE : (int32_t)mixed;
        }
    }
    return sounding;
}

static void GetParameters(JorvoPlugin* plugin, JorvoParameter* const** parameters, uint32_t* count)
{
    FMVoice* self = (FMVoice*)plugin;
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

JORVO_PLUGIN_EXPORT JorvoPlugin* CreateInstrumentPlugin(void)
{
    int i;
    FMVoice* self = (FMVoice*)calloc(1, sizeof(FMVoice));
    if (!self)
        return NULL;
    self->plugin.Destroy = Destroy;
    self->plugin.HandleEvent = HandleEvent;
    self->plugin.Render = Render;
    self->plugin.Process = NULL;
    self->plugin.GetParameters = GetParameters;
    self->parameters[0] = MakeParameter("Volume", "Voice Volume", PARAM_VOLUME, 0, 127, 100);
    self->parameters[1] = MakeParameter("Source", "Source FM/Sample", PARAM_SOURCE, 0, 1, 0);
    self->parameters[2] = MakeParameter("Ratio", "Modulator Frequency Ratio", PARAM_RATIO, 1, 8, 2);
    self->parameters[3] = MakeParameter("Depth", "Modulation Depth", PARAM_DEPTH, 0, 127, 24);
    self->parameters[4] = MakeParameter("Attack", "Envelope Attack", PARAM_ATTACK, 0, 127, 4);
    self->parameters[5] = MakeParameter("Release", "Envelope Release", PARAM_RELEASE, 0, 127, 40);
    for (i = 0; i < PARAM_COUNT; ++i)
        self->parameterList[i] = &self->parameters[i];
    SilenceAll(self);
    return &self->plugin;
}

JORVO_PLUGIN_EXPORT void SetSample(JorvoPlugin* plugin, int32_t slot, const JorvoSampleDescription* description)
{
    FMVoice* self = (FMVoice*)plugin;
    if (slot != 0)
        return;
    /* The frames change under the voices: silence them rather than read the old sample. */
    SilenceAll(self);
    if (description->data && description->frameCount > 0)
        self->sample = *description;
    else
        memset(&self->sample, 0, sizeof self->sample);
}
