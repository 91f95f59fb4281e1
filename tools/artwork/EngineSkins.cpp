// The panels of the instruments and effects: a header naming the engine, plates of labelled
// controls bound to every parameter of the engine, a keyboard on instruments, and a short guide.
// Parameter ranges and defaults are read from the engines themselves, so a panel cannot name a
// parameter its engine lacks.
#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>
#include <stdexcept>

#include "Controls.h"
#include "Palette.h"
#include "Skins.h"
#include "engine/EffectChorus.h"
#include "engine/EffectDelay.h"
#include "engine/EffectDistortion.h"
#include "engine/EffectFlanger.h"
#include "engine/EffectReverb.h"
#include "engine/EffectReverbLite.h"
#include "engine/InstrumentMonoSynth.h"
#include "engine/SampleZone.h"
#include "engine/SeqParameter.h"

namespace artwork {
namespace {

constexpr int kHeaderHeight = 64;
const QString kPresetHint = QStringLiteral("Hold the panel (or right click) to load or save a preset.");

// The parameter `code` of `target` as a control binds it: range and default from the engine.
ParamSpec Param(const jorvo::SeqEventTarget& target, std::uint16_t code, const QString& element,
                const QString& caption)
{
    const jorvo::SeqParameter* parameter = target.FindParameter(code);
    if (!parameter)
        throw std::logic_error(target.GetEngineName() + " has no parameter " + std::to_string(code));
    return {element, caption, code, parameter->Minimum(), parameter->Maximum(), parameter->StoredValue()};
}

ViewSkin StartPanel(const QString& keyword, const QString& title, const QString& subtitle)
{
    ViewSkin view(keyword, QString());
    QPainter painter(&view.Background());
    DrawHeader(painter, kHeaderHeight, title, subtitle);
    return view;
}

void Plate(ViewSkin& view, const QRect& area, const QString& caption)
{
    QPainter painter(&view.Background());
    DrawPlate(painter, area, caption);
}

void Guide(ViewSkin& view, const QRect& area, const QString& text)
{
    QPainter painter(&view.Background());
    DrawNote(painter, area, text, 12);
}

// Piano-key colours for keyboards and the zone map.
SkinElement& KeyColours(SkinElement& keys)
{
    keys.Set(QStringLiteral("NaturalNoteColour"), SkinColour(QColor(0xEC, 0xEE, 0xF1)));
    keys.Set(QStringLiteral("SharpNoteColour"), SkinColour(QColor(0x1A, 0x1C, 0x20)));
    keys.Set(QStringLiteral("NoteDivisionColour"), SkinColour(QColor(0x8A, 0x92, 0x9E)));
    keys.Set(QStringLiteral("NoteTextColour"), SkinColour(QColor(0x30, 0x34, 0x3A)));
    keys.Set(QStringLiteral("DrawNoteDivisions"), QStringLiteral("True"));
    return keys;
}

std::function<void(QPainter&, const QRect&)> KeysPreview()
{
    return [](QPainter& painter, const QRect& area) {
        const int whites = 14;
        painter.fillRect(area, QColor(0xEC, 0xEE, 0xF1));
        for (int key = 0; key <= whites; ++key) {
            const int x = area.left() + area.width() * key / whites;
            painter.fillRect(QRect(x, area.top(), 1, area.height()), QColor(0x8A, 0x92, 0x9E));
        }
        static const bool hasSharp[7] = {true, true, false, true, true, true, false};
        for (int key = 0; key < whites - 1; ++key)
            if (hasSharp[key % 7]) {
                const int x = area.left() + area.width() * key / whites + area.width() * 2 / (3 * whites);
                painter.fillRect(QRect(x, area.top(), area.width() * 2 / (3 * whites), area.height() * 6 / 10),
                                 QColor(0x1A, 0x1C, 0x20));
            }
    };
}

// A keyboard plate with pitch zoom buttons; `keyword` is PianoKeyboard or SamplerZoneMap.
void AddKeyboard(Kit& kit, ViewSkin& view, const QRect& plate, const QString& keyword, const QString& name,
                 const QString& caption)
{
    Plate(view, plate, caption);
    const QSize size(30, 22);
    const StripImage minus = PushImage(kit, kit.common, "KeysMinus.png", size, QString(), Icon::Minus, colour::kPlate);
    const StripImage plus = PushImage(kit, kit.common, "KeysPlus.png", size, QString(), Icon::Plus, colour::kPlate);
    AddMsgButton(view, name + QStringLiteral("Wider"), QRect(QPoint(plate.right() - 74, plate.top() + 4), size),
                 QStringLiteral("WM_ZOOM_OUT_PITCH"), minus, false);
    AddMsgButton(view, name + QStringLiteral("Closer"), QRect(QPoint(plate.right() - 38, plate.top() + 4), size),
                 QStringLiteral("WM_ZOOM_IN_PITCH"), plus, false);
    const QRect keys(plate.left() + 8, plate.top() + 30, plate.width() - 16, plate.height() - 38);
    KeyColours(AddPanelElement(view, keyword, name, keys, KeysPreview()));
}

// Two-state switch whose lamp shows "on".
SkinElement& AddOnOff(Kit& kit, ViewSkin& view, const ParamSpec& param, const QRect& area, const QString& label)
{
    return AddSwitch(kit, view, param, area, {label, label}, {0, 1}, {QColor(), colour::kAccent});
}

void Finish(Output& files, Output& mockups, ViewSkin& view, const Kit& kit, const std::string& skinPath,
            const std::string& backgroundName, const std::string& mockupName)
{
    view.StoreBackground(files, kit.own, backgroundName);
    files.AddText(skinPath, view.SkinFileText());
    mockups.AddImage(mockupName, view.Mockup());
}

Kit SkinKit(Output& files, const std::string& engine)
{
    return Kit{files, {"skins/" + engine, ""}, CommonImages()};
}

void BuildMonoSynth(Output& files, Output& mockups)
{
    Kit kit = SkinKit(files, "mSyn");
    const jorvo::InstrumentMonoSynth synth;
    ViewSkin view = StartPanel(QStringLiteral("InstrumentView"), QStringLiteral("mSyn"),
                               QStringLiteral("Mono synthesizer: two oscillators, resonant filter, glide"));
    Plate(view, QRect(12, 74, 456, 100), QStringLiteral("Oscillators"));
    AddSwitch(kit, view, Param(synth, 30, QStringLiteral("Waveform"), QStringLiteral("Waveform")),
              QRect(28, 113, 84, 26), {QStringLiteral("SAW"), QStringLiteral("PULSE")}, {0, 1},
              {colour::kAccent, colour::kAccent});
    AddScroller(kit, view, Param(synth, 32, QStringLiteral("Octave"), QStringLiteral("Octave")),
                QRect(128, 106, 84, 40));
    AddKnob(kit, view, Param(synth, 31, QStringLiteral("WaveAdjust"), QStringLiteral("Wave Adjust")),
            QPoint(290, 126), 48);
    AddKnob(kit, view, Param(synth, 33, QStringLiteral("Glide"), QStringLiteral("Glide")), QPoint(400, 126), 48);

    Plate(view, QRect(12, 184, 456, 100), QStringLiteral("Filter"));
    const std::pair<std::uint16_t, const char*> filter[] = {
        {71, "Frequency"}, {74, "Resonance"}, {34, "Depth"}, {35, "Decay"}, {72, "Release"}};
    int x = 50;
    for (const auto& [code, caption] : filter) {
        AddKnob(kit, view, Param(synth, code, QStringLiteral("Filter") + QString::fromLatin1(caption),
                                 QString::fromLatin1(caption)),
                QPoint(x, 236), 48);
        x += 76;
    }
    AddOnOff(kit, view, Param(synth, 36, QStringLiteral("FilterVelocity"), QStringLiteral("Velocity")),
             QRect(396, 223, 68, 26), QStringLiteral("VEL"));

    Plate(view, QRect(12, 294, 456, 100), QStringLiteral("Amplifier"));
    AddKnob(kit, view, Param(synth, 37, QStringLiteral("AmpDecay"), QStringLiteral("Decay")), QPoint(50, 346), 48);
    AddKnob(kit, view, Param(synth, 38, QStringLiteral("AmpRelease"), QStringLiteral("Release")), QPoint(126, 346), 48);
    AddOnOff(kit, view, Param(synth, 39, QStringLiteral("AmpVelocity"), QStringLiteral("Velocity")),
             QRect(168, 333, 68, 26), QStringLiteral("VEL"));
    Guide(view, QRect(256, 318, 200, 70),
          QStringLiteral("Decay at full holds the note until it ends. Glide slides between overlapping notes."));

    AddKeyboard(kit, view, QRect(12, 404, 456, 200), QStringLiteral("PianoKeyboard"), QStringLiteral("UIPianoKeyboard"),
                QStringLiteral("Keyboard"));
    Guide(view, QRect(14, 610, 452, 26), kPresetHint);
    Finish(files, mockups, view, kit, "skins/mSyn/mSyn.skin", "Panel.png", "mSyn.png");
}

void BuildDefaultInstrument(Output& files, Output& mockups)
{
    Kit kit = SkinKit(files, "DefaultInstrument");
    ViewSkin view = StartPanel(QStringLiteral("InstrumentView"), QStringLiteral("Default"),
                               QStringLiteral("A plain sawtooth tone for sketching parts"));
    Plate(view, QRect(12, 74, 456, 120), QStringLiteral("About"));
    Guide(view, QRect(26, 98, 428, 90),
          QStringLiteral("This instrument has no settings: it plays a bright sawtooth at the pitch and "
                         "velocity of each note, one note at a time, and stops the moment the note ends. "
                         "Use it to try out a part, then add an mSyn or a Sampler for the real sound."));
    AddKeyboard(kit, view, QRect(12, 204, 456, 400), QStringLiteral("PianoKeyboard"),
                QStringLiteral("UIPianoKeyboard"), QStringLiteral("Keyboard"));
    Guide(view, QRect(14, 610, 452, 26), kPresetHint);
    Finish(files, mockups, view, kit, "skins/DefaultInstrument/DefaultInstrument.skin", "Panel.png",
           "DefaultInstrument.png");
}

void BuildSampler(Output& files, Output& mockups)
{
    using Zone = jorvo::SampleZone;
    Kit kit = SkinKit(files, "Sampler");
    ViewSkin view = StartPanel(QStringLiteral("InstrumentView"), QStringLiteral("Sampler"),
                               QStringLiteral("Samples in zones across the keyboard \u00B7 hold the panel for presets"));
    Plate(view, QRect(12, 72, 456, 92), QStringLiteral("Zone"));
    {
        QPainter painter(&view.Background());
        DrawCaption(painter, QRect(20, 94, 50, 24), QStringLiteral("Name"), colour::kCaption);
        DrawCaption(painter, QRect(20, 126, 50, 24), QStringLiteral("Sample"), colour::kCaption);
    }
    AddTextElement(kit, view, QStringLiteral("SampleZoneNameLabel"), QStringLiteral("ZoneName"),
                   QRect(72, 94, 200, 24), QStringLiteral("Kick"), colour::kPlate);
    AddTextElement(kit, view, QStringLiteral("SampleFileNameLabel"), QStringLiteral("ZoneSample"),
                   QRect(72, 126, 200, 24), QStringLiteral("Drums/Kick.wav"), colour::kPlate);
    const QSize buttonSize(80, 24);
    AddMsgButton(view, QStringLiteral("RenameZone"), QRect(QPoint(278, 94), buttonSize),
                 QStringLiteral("WM_SEL_SAMPLER_ZONENAME"),
                 PushImage(kit, kit.own, "Rename.png", buttonSize, QStringLiteral("Rename"), Icon::None,
                           colour::kPlate, 11),
                 true);
    AddMsgButton(view, QStringLiteral("LoadSample"), QRect(QPoint(278, 126), buttonSize),
                 QStringLiteral("WM_SEL_SAMPLE_FILENAME"),
                 PushImage(kit, kit.own, "LoadSample.png", buttonSize, QStringLiteral("Load..."), Icon::None,
                           colour::kPlate, 11),
                 true);
    AddFactory(kit, view, QStringLiteral("SamplerZoneFactory"), QStringLiteral("ZoneFactory"), QRect(366, 94, 94, 56),
               QStringLiteral("Zone"), Icon::Zone, colour::kPlate);

    AddKeyboard(kit, view, QRect(12, 170, 456, 104), QStringLiteral("SamplerZoneMap"), QStringLiteral("ZoneMap"),
                QStringLiteral("Zones (drag a new zone onto a key)"));

    Plate(view, QRect(12, 280, 456, 140), QStringLiteral("Sound"));
    const std::tuple<int, const char*, const char*, int, int, int> knobs[] = {
        {Zone::kCodeRoot, "Root", "Root", 0, 127, 60},    {Zone::kCodeSemi, "Semi", "Semi", -127, 127, 0},
        {Zone::kCodeCent, "Cent", "Cent", -100, 100, 0},  {Zone::kCodeDecay, "Decay", "Decay", 0, 127, 127},
        {Zone::kCodeRelease, "Release", "Release", 0, 127, 32}, {Zone::kCodeMix, "Mix", "Mix", 0, 127, 90},
        {Zone::kCodePan, "Pan", "Pan", 0, 127, 64},
    };
    int x = 52;
    for (const auto& [code, element, caption, minimum, maximum, value] : knobs) {
        AddKnob(kit, view,
                {QStringLiteral("Zone") + QString::fromLatin1(element), QString::fromLatin1(caption),
                 static_cast<std::uint16_t>(code), minimum, maximum, value},
                QPoint(x, 328), 40);
        x += 64;
    }
    const std::tuple<int, const char*, const char*> switches[] = {
        {Zone::kCodeHiHat, "HiHat", "HI-HAT"},
        {Zone::kCodeMonoPhonic, "MonoPhonic", "MONO"},
        {Zone::kCodeUnpitched, "Unpitched", "FIXED PITCH"},
    };
    x = 24;
    for (const auto& [code, element, label] : switches) {
        AddOnOff(kit, view,
                 {QStringLiteral("Zone") + QString::fromLatin1(element), QString(), static_cast<std::uint16_t>(code),
                  0, 1, 0},
                 QRect(x, 382, 132, 26), QString::fromLatin1(label));
        x += 146;
    }

    Plate(view, QRect(12, 426, 456, 92), QStringLiteral("Sample positions"));
    const std::tuple<int, const char*, int> bars[] = {
        {Zone::kCodeStart, "Start", 0}, {Zone::kCodeEnd, "End", 100}, {Zone::kCodeLoop, "Loop", 60}};
    int top = 448;
    for (const auto& [code, caption, value] : bars) {
        AddDrawBar(kit, view,
                   {QStringLiteral("Zone") + QString::fromLatin1(caption), QString::fromLatin1(caption),
                    static_cast<std::uint16_t>(code), 0, 100, value},
                   QRect(76, top, 384, 18), QRect(24, top, 50, 18));
        top += 22;
    }

    Plate(view, QRect(12, 524, 456, 112), QStringLiteral("Sample browser"));
    SkinElement& browser = AddPanelElement(view, QStringLiteral("SampleBrowser"), QStringLiteral("Browser"),
                                           QRect(20, 544, 440, 86), [](QPainter& painter, const QRect& area) {
                                               painter.fillRect(area, colour::kWell);
                                               painter.setPen(colour::kText);
                                               painter.setFont(Font(12));
                                               painter.drawText(area.adjusted(8, 4, 0, 0), Qt::AlignLeft,
                                                                QStringLiteral("Drums\n   Kick.wav\n   Snare.wav"));
                                           });
    browser.Set(QStringLiteral("Message"), QStringLiteral("WM_TREE_DLG_SEL_PATH"));
    browser.Set(QStringLiteral("MinValue"), 0);
    browser.Set(QStringLiteral("MaxValue"), 0);
    Finish(files, mockups, view, kit, "skins/Sampler/Sampler.skin", "Panel.png", "Sampler.png");
}

// Where an effect sits: channels send into its buss, the buss plays the effect's output into the
// master. Three boxes joined by arrows, a dry wave before and a treated wave after.
void DrawSignalPath(QPainter& painter, const QRect& area, const QString& effect)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QStringList boxes = {QStringLiteral("Channel sends"), effect, QStringLiteral("Master")};
    const int boxWidth = 116;
    const int boxHeight = 44;
    const int gap = (area.width() - 3 * boxWidth) / 2;
    const int top = area.top() + 20;
    for (int k = 0; k < 3; ++k) {
        const QRectF box(area.left() + k * (boxWidth + gap), top, boxWidth, boxHeight);
        painter.setPen(QPen(k == 1 ? colour::kAccent : colour::kPlateEdge, 1.5));
        painter.setBrush(k == 1 ? colour::kAccentDark : colour::kWell);
        painter.drawRoundedRect(box, 6, 6);
        DrawCaption(painter, box.toRect(), boxes[k], colour::kText, 12, k == 1);
        if (k == 2)
            continue;
        const double y = box.center().y();
        const double from = box.right() + 4;
        const double to = box.right() + gap - 4;
        painter.setPen(QPen(colour::kDimText, 2));
        painter.drawLine(QPointF(from, y), QPointF(to - 6, y));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour::kDimText);
        painter.drawPolygon(QPolygonF({QPointF(to, y), QPointF(to - 8, y - 5), QPointF(to - 8, y + 5)}));
    }
    // The dry wave (sharp) and the treated one (its echoes, smeared), side by side.
    const QRect wave(area.left(), top + boxHeight + 24, area.width(), area.bottom() - top - boxHeight - 30);
    for (int side = 0; side < 2; ++side) {
        const QRectF band(wave.left() + side * (wave.width() / 2 + 8), wave.top(), wave.width() / 2 - 8,
                          wave.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour::kWell);
        painter.drawRoundedRect(band, 6, 6);
        QPainterPath path(QPointF(band.left() + 8, band.center().y()));
        for (int x = 0; x <= band.width() - 16; ++x) {
            const double t = x / (band.width() - 16);
            double level = std::sin(t * 44.0) * std::exp(-6.0 * t);
            if (side == 1)
                level = 0.7 * level + 0.35 * std::sin(t * 44.0 + 1.3) * std::exp(-2.2 * t) * std::min(1.0, t * 6.0);
            path.lineTo(band.left() + 8 + x, band.center().y() - level * (band.height() / 2 - 8));
        }
        painter.setPen(QPen(side == 0 ? colour::kDimText : colour::kTeal, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        DrawCaption(painter, QRectF(band.left(), band.bottom() - 18, band.width(), 16).toRect(),
                    side == 0 ? QStringLiteral("in") : QStringLiteral("out"), colour::kDimText, 10);
    }
}

// One knob, switch or fader of an effect panel.
struct EffectControl {
    std::uint16_t code;
    const char* element;
    const char* caption;
    QStringList switchLabels; // a switch when not empty
};

// An effect panel: its controls in one row of large knobs, and a guide.
void BuildEffect(Output& files, Output& mockups, const jorvo::SeqEventTarget& effect, const QString& title,
                 const QString& subtitle, const std::vector<EffectControl>& controls, const QString& guide,
                 const std::string& engine, const ImageFolder& own, const std::string& skinPath,
                 const std::string& backgroundName)
{
    Kit kit{files, own, CommonImages()};
    ViewSkin view = StartPanel(QStringLiteral("EffectView"), title, subtitle);
    Plate(view, QRect(12, 74, 456, 140), QStringLiteral("Controls"));
    const int count = static_cast<int>(controls.size());
    const int pitch = 456 / count;
    for (int k = 0; k < count; ++k) {
        const EffectControl& control = controls[k];
        const int centre = 12 + pitch * k + pitch / 2;
        const ParamSpec param = Param(effect, control.code, QString::fromLatin1(control.element),
                                      QString::fromLatin1(control.caption));
        if (control.switchLabels.isEmpty()) {
            AddKnob(kit, view, param, QPoint(centre, 140), 64);
            continue;
        }
        std::vector<int> values;
        std::vector<QColor> lamps;
        for (int state = 0; state < control.switchLabels.size(); ++state) {
            values.push_back(param.minimum + state);
            lamps.push_back(colour::kAccent);
        }
        AddSwitch(kit, view, param, QRect(centre - 50, 126, 100, 28), control.switchLabels, values, lamps);
    }
    Plate(view, QRect(12, 224, 456, 140), QStringLiteral("How it works"));
    Guide(view, QRect(28, 248, 424, 110), guide);
    Plate(view, QRect(12, 374, 456, 230), QStringLiteral("Signal path"));
    {
        QPainter painter(&view.Background());
        DrawSignalPath(painter, QRect(24, 398, 432, 198), title);
    }
    Guide(view, QRect(14, 610, 452, 26), kPresetHint);
    Finish(files, mockups, view, kit, skinPath, backgroundName, engine + ".png");
}

void BuildBuiltInEffects(Output& files, Output& mockups)
{
    const auto own = [](const std::string& engine) { return ImageFolder{"skins/" + engine, ""}; };
    const auto path = [](const std::string& engine) { return "skins/" + engine + "/" + engine + ".skin"; };
    BuildEffect(files, mockups, jorvo::EffectChorus(), QStringLiteral("Chorus"),
                QStringLiteral("Two swaying delay taps widen and thicken the sound"),
                {{30, "Depth", "Depth", {}}, {31, "Rate", "Rate", {}}, {32, "Delay", "Delay", {}}},
                QStringLiteral("Depth sets how far the taps swing, Rate how fast, and Delay how far behind the "
                               "dry sound they sit.\n\nThe chorus is a send effect: it plays only the processed "
                               "sound. Turn up a channel's send to this effect's buss in the mixer to hear it."),
                "Chorus", own("Chorus"), path("Chorus"), "Panel.png");
    BuildEffect(files, mockups, jorvo::EffectDelay(), QStringLiteral("Delay"),
                QStringLiteral("Stereo echo with feedback"),
                {{72, "Time", "Time", {}}, {100, "MaximumTime", "Max Time", {}}, {10, "Balance", "Balance", {}},
                 {71, "Feedback", "Feedback", {}}},
                QStringLiteral("Time is the echo's distance in samples (44100 make one second); Max Time sets "
                               "the longest echo the line can hold. Balance moves the left and right echoes "
                               "apart, and Feedback decides how many repeats you hear.\n\nTip: double tap the "
                               "Time knob to draw changes of the echo time in the controller editor."),
                "Delay", own("Delay"), path("Delay"), "Panel.png");
    BuildEffect(files, mockups, jorvo::EffectDistortion(), QStringLiteral("Distortion"),
                QStringLiteral("Overdrive or bit-crushing grit"),
                {{30, "Mode", "Mode", {QStringLiteral("DISTORT"), QStringLiteral("DEGRADE")}},
                 {31, "Level", "Distortion", {}},
                 {32, "Bass", "Bass", {}},
                 {33, "Treble", "Treble", {}}},
                QStringLiteral("Distort clips the sound hard; Degrade lowers its sample rate for a gritty, "
                               "lo-fi tone. Distortion sets how far (0 to 4), Bass and Treble shape the tone "
                               "after it."),
                "Distortion", own("Distortion"), path("Distortion"), "Panel.png");
    BuildEffect(files, mockups, jorvo::EffectFlanger(), QStringLiteral("Flanger"),
                QStringLiteral("A short sweeping delay fed back on itself"),
                {{30, "Depth", "Depth", {}}, {31, "Rate", "Rate", {}}, {32, "Delay", "Delay", {}}},
                QStringLiteral("Depth sets the sweep's width, Rate its speed and Delay its centre. Slow rates "
                               "give the classic jet sweep; fast ones a metallic shimmer."),
                "Flanger", own("Flanger"), path("Flanger"), "Panel.png");
    BuildEffect(files, mockups, jorvo::EffectReverb(), QStringLiteral("Reverb"),
                QStringLiteral("A rich room made of four feedback lines"),
                {{72, "Time", "Time", {}}, {71, "Damp", "Damp", {}}},
                QStringLiteral("Time sets how long the room rings; Damp softens its high frequencies (1 is the "
                               "darkest). Send several channels to one reverb to place them in the same room."),
                "Reverb", own("Reverb"), path("Reverb"), "Panel.png");
    BuildEffect(files, mockups, jorvo::EffectReverbLite(), QStringLiteral("Reverb Lite"),
                QStringLiteral("A light reverb for slower devices"),
                {{72, "Time", "Time", {}}, {71, "Damp", "Damp", {}}},
                QStringLiteral("Uses a quarter of the memory of the Reverb. Time sets the ring (52 to 62); Damp "
                               "softens the highs (1 is the darkest)."),
                "Reverb Lite", own("Reverb Lite"), path("Reverb Lite"), "Panel.png");
}

// A target standing in for a plug-in: its parameter records as the plug-in's source declares
// them, so its panel is built like every other.
class PluginParameters : public jorvo::SeqEventTarget {
public:
    explicit PluginParameters(std::vector<jorvo::SeqParameter> parameters) : parameters_(std::move(parameters))
    {
        for (jorvo::SeqParameter& parameter : parameters_)
            AddParameter(&parameter);
    }

private:
    std::vector<jorvo::SeqParameter> parameters_;
};

void BuildPlugins(Output& files, Output& mockups)
{
    {
        const PluginParameters voice({{"Volume", "Voice Volume", 7, 0, 127, 100},
                                      {"Source", "Source FM/Sample", 30, 0, 1, 0},
                                      {"Ratio", "Modulator Frequency Ratio", 31, 1, 8, 2},
                                      {"Depth", "Modulation Depth", 32, 0, 127, 24},
                                      {"Attack", "Envelope Attack", 33, 0, 127, 4},
                                      {"Release", "Envelope Release", 34, 0, 127, 40}});
        Kit kit{files, {"plugins", ""}, CommonImages()};
        ViewSkin view = StartPanel(QStringLiteral("InstrumentView"), QStringLiteral("FMVoice"),
                                   QStringLiteral("Example plug-in: eight voices of FM, or of a sample"));
        Plate(view, QRect(12, 74, 456, 170), QStringLiteral("Voice"));
        AddSwitch(kit, view, Param(voice, 30, QStringLiteral("FMVoiceSource"), QStringLiteral("Source")),
                  QRect(24, 134, 84, 26), {QStringLiteral("FM"), QStringLiteral("SAMPLE")}, {0, 1},
                  {colour::kAccent, colour::kTeal});
        AddScroller(kit, view, Param(voice, 31, QStringLiteral("Ratio"), QStringLiteral("Ratio")),
                    QRect(122, 122, 72, 40));
        const std::pair<std::uint16_t, const char*> knobs[] = {{32, "Depth"}, {33, "Attack"}, {34, "Release"}};
        int x = 234;
        for (const auto& [code, caption] : knobs) {
            AddKnob(kit, view, Param(voice, code, QString::fromLatin1(caption), QString::fromLatin1(caption)),
                    QPoint(x, 146), 48);
            x += 62;
        }
        AddFader(kit, view, Param(voice, 7, QStringLiteral("Volume"), QStringLiteral("Volume")),
                 QRect(416, 96, 44, 122));
        Plate(view, QRect(12, 254, 456, 62), QStringLiteral("Sample (Source: Sample; double tap to choose)"));
        SkinElement& sample = AddTextElement(kit, view, QStringLiteral("AudioFileNameLabel"),
                                             QStringLiteral("SampleFile"), QRect(22, 278, 436, 28),
                                             QStringLiteral("Tonal/Piano C4.wav"), colour::kPlate);
        sample.Set(QStringLiteral("Index"), 0);
        sample.Set(QStringLiteral("VariableIndex"), QStringLiteral("False"));
        AddKeyboard(kit, view, QRect(12, 326, 456, 278), QStringLiteral("PianoKeyboard"),
                    QStringLiteral("UIPianoKeyboard"), QStringLiteral("Keyboard"));
        Guide(view, QRect(14, 610, 452, 26), kPresetHint);
        Finish(files, mockups, view, kit, "plugins/FMVoice.skin", "FMVoicePanel.png", "FMVoice.png");
    }
    const PluginParameters tremolo({{"Rate", "Tremolo Rate", 30, 0, 127, 40},
                                    {"Depth", "Tremolo Depth", 31, 0, 127, 64},
                                    {"Spread", "Left/Right Phase Spread", 32, 0, 127, 0}});
    BuildEffect(files, mockups, tremolo, QStringLiteral("Tremolo"),
                QStringLiteral("Example plug-in: a swelling stereo volume"),
                {{30, "Rate", "Rate", {}}, {31, "Depth", "Depth", {}}, {32, "Spread", "Spread", {}}},
                QStringLiteral("Rate sets how fast the volume swells, Depth how deep. Spread shifts the right "
                               "channel's swell against the left: at 0 both move together, turned up the sound "
                               "circles between the speakers."),
                "Tremolo", {"plugins", ""}, "plugins/Tremolo.skin", "TremoloPanel.png");
}

} // namespace

void BuildEngineSkins(Output& files, Output& mockups)
{
    BuildMonoSynth(files, mockups);
    BuildDefaultInstrument(files, mockups);
    BuildSampler(files, mockups);
    BuildBuiltInEffects(files, mockups);
    BuildPlugins(files, mockups);
}

} // namespace artwork
