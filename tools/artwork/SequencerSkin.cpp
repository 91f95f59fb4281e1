// The sequencer skin: the song, section, pattern and controller editor views. They share one
// frame: view tabs across the top, the editor, and a tool plate with the view's factory, zoom,
// song settings and the transport.
#include <QLinearGradient>

#include "Controls.h"
#include "Palette.h"
#include "Skins.h"

namespace artwork {
namespace {

// The editors' own colours, chosen for the dark panel: dark rows, light text, bright blocks.
namespace grid {
const QColor kBar{0x8A, 0x94, 0xA2};
const QColor kBeat{0x55, 0x5D, 0x69};
const QColor kQuarter{0x3B, 0x41, 0x4A};
const QColor kDivision{0x3E, 0x44, 0x4E};
const QColor kNatural{0x2E, 0x33, 0x3B};
const QColor kSharp{0x24, 0x28, 0x2E};
const QColor kNaturalTitle{0xDD, 0xE1, 0xE6};
const QColor kSharpTitle{0x7C, 0x85, 0x91};
const QColor kBarText{0xE4, 0xE8, 0xED};
const QColor kBeatText{0x9A, 0xA4, 0xB0};
const QColor kQuarterText{0x5F, 0x67, 0x73};
const QColor kBlockText{0x14, 0x16, 0x1A};
} // namespace grid

const QRect kEditorArea(4, 48, 472, 440);
const QRect kToolPlate(4, 494, 472, 142);
constexpr int kCaptionTop = 498;
constexpr int kRowOneTop = 516;
constexpr int kRowOneHeight = 34;
constexpr int kRowTwoTop = 560;
constexpr int kRowTwoHeight = 40;

struct Tab {
    const char* editor;  // child of SequencerSkins
    const char* label;
    const char* message; // what the tab posts from the other views
};

const Tab kTabs[] = {
    {"SongEditor", "Song", "WM_VIEW_SONG_EDITOR"},
    {"SectionEditor", "Section", "WM_VIEW_SECTION_EDITOR"},
    {"PatternEditor", "Pattern", "WM_VIEW_PATTERN_EDITOR"},
    {"ParameterEditor", "Controllers", "WM_VIEW_PARAMETER_EDITOR"},
    {nullptr, "Mixer", "WM_VIEW_MIXER"},
};
constexpr int kTabCount = 5;
const QSize kTabSize(88, 32);

QRect TabRect(int k)
{
    return QRect(QPoint(6 + k * 94, 6), kTabSize);
}

// The tab row and the tool plate: the current view's tab is part of the picture, the others are
// buttons.
void AddTabs(Kit& kit, ViewSkin& view, int current)
{
    QPainter painter(&view.Background());
    DrawPlate(painter, kToolPlate, QString());
    painter.fillRect(QRect(0, 0, kViewWidth, 44), colour::kHeader);
    painter.fillRect(QRect(0, 43, kViewWidth, 1), colour::kHeaderLine);
    for (int k = 0; k < kTabCount; ++k) {
        const QString label = QString::fromLatin1(kTabs[k].label);
        if (k == current) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(colour::kPlateEdge, 1.0));
            painter.setBrush(colour::kPlate);
            painter.drawRoundedRect(QRectF(TabRect(k)).adjusted(0.5, 0.5, -0.5, 8), 5, 5);
            painter.fillRect(QRect(TabRect(k).left() + 8, TabRect(k).bottom() - 2, kTabSize.width() - 16, 3),
                             colour::kAccent);
            DrawCaption(painter, TabRect(k).adjusted(0, 0, 0, -2), label, colour::kAccent, 13, true);
            continue;
        }
        const StripImage image = PushImage(kit, kit.own, "Tab" + label.toStdString() + ".png", kTabSize, label,
                                           Icon::None, colour::kHeader, 12);
        AddMsgButton(view, QStringLiteral("Show") + label, TabRect(k), QString::fromLatin1(kTabs[k].message), image,
                     true);
    }
}

void ToolCaption(ViewSkin& view, int left, int width, const QString& text)
{
    QPainter painter(&view.Background());
    DrawCaption(painter, QRect(left, kCaptionTop, width, 16), text.toUpper(), colour::kCaption, 10, true);
}

// A "−" and a "+" button `gap` apart around a middle of `middle` pixels, posting `less` and `more`.
void AddStepPair(Kit& kit, ViewSkin& view, const QString& name, int left, int middle, const QString& less,
                 const QString& more)
{
    const QSize size(34, kRowOneHeight);
    const StripImage minus = PushImage(kit, kit.common, "Minus34x34.png", size, QString(), Icon::Minus, colour::kPlate);
    const StripImage plus = PushImage(kit, kit.common, "Plus34x34.png", size, QString(), Icon::Plus, colour::kPlate);
    AddMsgButton(view, name + QStringLiteral("Less"), QRect(QPoint(left, kRowOneTop), size), less, minus, false);
    AddMsgButton(view, name + QStringLiteral("More"), QRect(QPoint(left + size.width() + middle, kRowOneTop), size),
                 more, plus, false);
}

// The song-wide controls every editor view carries: transport and tempo.
void AddTransportRow(Kit& kit, ViewSkin& view)
{
    AddTransport(kit, view, QPoint(14, kRowTwoTop), QSize(56, kRowTwoHeight), 6, colour::kPlate);
    {
        QPainter painter(&view.Background());
        DrawCaption(painter, QRect(262, kRowTwoTop, 60, kRowTwoHeight), QStringLiteral("TEMPO"), colour::kCaption, 10,
                    true);
    }
    const QRect area(322, kRowTwoTop, 144, kRowTwoHeight);
    SkinElement& tempo = AddTextElement(kit, view, QStringLiteral("TempoSelector"), QStringLiteral("Tempo"), area,
                                        QStringLiteral("120"), colour::kPlate);
    // The carat marks the tempo's place at the well's edges and leaves the number readable.
    QImage bar(4, kRowTwoHeight, QImage::Format_RGB32);
    bar.fill(colour::kWell);
    {
        QPainter painter(&bar);
        painter.fillRect(QRect(0, 2, 4, 8), colour::kAccent);
        painter.fillRect(QRect(0, kRowTwoHeight - 10, 4, 8), colour::kAccent);
    }
    kit.output.AddImage(kit.common.stored + "/TempoCarat.png", bar);
    tempo.Set(QStringLiteral("CaratImage"), QString::fromStdString(kit.common.referencePrefix + "TempoCarat.png"));
    tempo.Set(QStringLiteral("MinValue"), 40);
    tempo.Set(QStringLiteral("MaxValue"), 240);
    tempo.Set(QStringLiteral("TextClr"), SkinColour(colour::kText));
}

void AddHint(ViewSkin& view, const QString& text)
{
    QPainter painter(&view.Background());
    DrawNote(painter, QRect(14, 606, 452, 28), text, 11);
}

// A preview of an editor for the mock-up: its rows or lanes, its bar lines and its keyword.
std::function<void(QPainter&, const QRect&)> EditorPreview(int rows, bool pianoRows)
{
    return [rows, pianoRows](QPainter& painter, const QRect& area) {
        painter.fillRect(area, grid::kNatural);
        const int title = 16;
        const int rowHeight = (area.height() - title) / rows;
        for (int row = 0; row < rows; ++row) {
            const int note = (rows - 1 - row) % 12;
            const bool sharp = pianoRows && (note == 1 || note == 3 || note == 6 || note == 8 || note == 10);
            const QRect lane(area.left(), area.top() + title + row * rowHeight, area.width(), rowHeight);
            painter.fillRect(lane, sharp ? grid::kSharp : grid::kNatural);
            painter.fillRect(QRect(lane.left(), lane.bottom(), lane.width(), 1), grid::kDivision);
        }
        for (int beat = 0; beat <= 8; ++beat) {
            const int x = area.left() + 40 + (area.width() - 40) * beat / 8;
            painter.fillRect(QRect(x, area.top() + title, 1, area.height() - title), beat % 4 ? grid::kBeat : grid::kBar);
        }
        painter.fillRect(QRect(area.left(), area.top(), area.width(), title), colour::kHeader);
        painter.setPen(grid::kBarText);
        painter.setFont(Font(11, true));
        painter.drawText(area.adjusted(0, 0, 0, -area.height() + title), Qt::AlignCenter,
                         QStringLiteral("(drawn by the program)"));
    };
}

SkinElement& AddTimeAxisColours(SkinElement& editor)
{
    editor.Set(QStringLiteral("DrawTimeDivisions"), QStringLiteral("True"));
    editor.Set(QStringLiteral("BarDivisionColour"), SkinColour(grid::kBar));
    editor.Set(QStringLiteral("BeatDivisionColour"), SkinColour(grid::kBeat));
    editor.Set(QStringLiteral("QuarterBeatDivisionColour"), SkinColour(grid::kQuarter));
    editor.Set(QStringLiteral("BarTextColour"), SkinColour(grid::kBarText));
    editor.Set(QStringLiteral("BeatTextColour"), SkinColour(grid::kBeatText));
    editor.Set(QStringLiteral("QuarterBeatTextColour"), SkinColour(grid::kQuarterText));
    editor.Set(QStringLiteral("TitleTextColour"), SkinColour(colour::kAccent));
    editor.Set(QStringLiteral("Quantize"), 1);
    return editor;
}

ViewSkin SongView(Kit& kit)
{
    ViewSkin view(QStringLiteral("SeqEditorView"), QStringLiteral("Song Editor"));
    AddTabs(kit, view, 0);
    SkinElement& editor = AddPanelElement(view, QStringLiteral("SongEditor"), QStringLiteral("UISongEditor"),
                                          kEditorArea, EditorPreview(1, false));
    AddTimeAxisColours(editor);
    editor.Set(QStringLiteral("DrawSectionDivisions"), QStringLiteral("True"));
    editor.Set(QStringLiteral("SectionDivisionColour"), SkinColour(grid::kDivision));
    editor.Set(QStringLiteral("Background"), SkinColour(QColor(0x7E, 0x6F, 0xD0)));
    editor.Set(QStringLiteral("SectionTextColour"), SkinColour(QColor(0xFF, 0xFF, 0xFF)));
    editor.Set(QStringLiteral("FollowCarat"), QStringLiteral("True"));
    editor.Set(QStringLiteral("Loop"), QStringLiteral("True"));

    ToolCaption(view, 14, 96, QStringLiteral("New section"));
    AddFactory(kit, view, QStringLiteral("SectionFactory"), QStringLiteral("SectionFactory"),
               QRect(14, kRowOneTop, 96, kRowOneHeight), QStringLiteral("Section"), Icon::Section, colour::kPlate);
    ToolCaption(view, 122, 126, QStringLiteral("Song bars"));
    AddStepPair(kit, view, QStringLiteral("SongLength"), 122, 58, QStringLiteral("WM_DECREMENT_SONG_LENGTH"),
                QStringLiteral("WM_INCREMENT_SONG_LENGTH"));
    AddTextElement(kit, view, QStringLiteral("SongLengthSelector"), QStringLiteral("SongLength"),
                   QRect(158, kRowOneTop, 54, kRowOneHeight), QStringLiteral("16"), colour::kPlate);
    ToolCaption(view, 258, 112, QStringLiteral("Beats / bar"));
    AddStepPair(kit, view, QStringLiteral("Signature"), 258, 44, QStringLiteral("WM_DECREMENT_SIGNATURE"),
                QStringLiteral("WM_INCREMENT_SIGNATURE"));
    SkinElement& signature = AddTextElement(kit, view, QStringLiteral("TimeSignatureSelector"),
                                            QStringLiteral("Signature"), QRect(294, kRowOneTop, 40, kRowOneHeight),
                                            QStringLiteral("4"), colour::kPlate);
    signature.Set(QStringLiteral("MinValue"), 1);
    signature.Set(QStringLiteral("MaxValue"), 16);
    ToolCaption(view, 384, 82, QStringLiteral("Zoom"));
    AddStepPair(kit, view, QStringLiteral("ZoomTime"), 386, 10, QStringLiteral("WM_ZOOM_OUT_TIME"),
                QStringLiteral("WM_ZOOM_IN_TIME"));
    AddTransportRow(kit, view);
    AddHint(view, QStringLiteral("Drag a section from the factory into the song. Tap and hold a section "
                                 "(or right click) to edit, alias or replicate it."));
    return view;
}

ViewSkin SectionView(Kit& kit)
{
    ViewSkin view(QStringLiteral("SeqEditorView"), QStringLiteral("Section Editor"));
    AddTabs(kit, view, 1);
    SkinElement& editor = AddPanelElement(view, QStringLiteral("SectionEditor"), QStringLiteral("UISectionEditor"),
                                          kEditorArea, EditorPreview(6, false));
    AddTimeAxisColours(editor);
    editor.Set(QStringLiteral("DrawTargetDivisions"), QStringLiteral("True"));
    editor.Set(QStringLiteral("PatternDivisionColour"), SkinColour(grid::kDivision));
    editor.Set(QStringLiteral("InstrumentColour"), SkinColour(QColor(0xF0, 0xA8, 0x48)));
    editor.Set(QStringLiteral("EffectColour"), SkinColour(QColor(0x5C, 0xB8, 0xE6)));
    editor.Set(QStringLiteral("ChannelColour"), SkinColour(QColor(0xA8, 0x98, 0xF0)));
    editor.Set(QStringLiteral("BussColour"), SkinColour(QColor(0x5C, 0xD0, 0xAE)));
    editor.Set(QStringLiteral("MasterColour"), SkinColour(QColor(0xD8, 0xDC, 0xE8)));
    editor.Set(QStringLiteral("PatternTextColour"), SkinColour(grid::kBlockText));
    editor.Set(QStringLiteral("FollowCarat"), QStringLiteral("True"));
    editor.Set(QStringLiteral("Loop"), QStringLiteral("True"));

    ToolCaption(view, 14, 96, QStringLiteral("New pattern"));
    AddFactory(kit, view, QStringLiteral("PatternFactory"), QStringLiteral("PatternFactory"),
               QRect(14, kRowOneTop, 96, kRowOneHeight), QStringLiteral("Pattern"), Icon::Pattern, colour::kPlate);
    ToolCaption(view, 254, 90, QStringLiteral("Lane height"));
    AddStepPair(kit, view, QStringLiteral("ZoomLanes"), 260, 10, QStringLiteral("WM_ZOOM_OUT_PITCH"),
                QStringLiteral("WM_ZOOM_IN_PITCH"));
    ToolCaption(view, 384, 82, QStringLiteral("Zoom"));
    AddStepPair(kit, view, QStringLiteral("ZoomTime"), 386, 10, QStringLiteral("WM_ZOOM_OUT_TIME"),
                QStringLiteral("WM_ZOOM_IN_TIME"));
    AddTransportRow(kit, view);
    AddHint(view, QStringLiteral("Drag a pattern from the factory onto an instrument's lane; hold the factory "
                                 "to choose its length or a template. Hold a pattern for its menu."));
    return view;
}

ViewSkin PatternView(Kit& kit)
{
    ViewSkin view(QStringLiteral("SeqEditorView"), QStringLiteral("Pattern Editor"));
    AddTabs(kit, view, 2);
    SkinElement& editor = AddPanelElement(view, QStringLiteral("PatternEditor"), QStringLiteral("UIPatternEditor"),
                                          kEditorArea, EditorPreview(12, true));
    AddTimeAxisColours(editor);
    editor.Set(QStringLiteral("DrawNoteDivisions"), QStringLiteral("True"));
    editor.Set(QStringLiteral("NoteDivisionColour"), SkinColour(grid::kDivision));
    editor.Set(QStringLiteral("NaturalNoteColour"), SkinColour(grid::kNatural));
    editor.Set(QStringLiteral("SharpNoteColour"), SkinColour(grid::kSharp));
    editor.Set(QStringLiteral("NaturalNoteTitleColour"), SkinColour(grid::kNaturalTitle));
    editor.Set(QStringLiteral("SharpNoteTitleColour"), SkinColour(grid::kSharpTitle));
    editor.Set(QStringLiteral("NoteTextColour"), SkinColour(grid::kBlockText));
    editor.Set(QStringLiteral("FollowCarat"), QStringLiteral("False"));
    editor.Set(QStringLiteral("Loop"), QStringLiteral("True"));
    editor.Set(QStringLiteral("PlaySounds"), QStringLiteral("True"));
    // The velocity popup: a message fader the editor shows at the pen.
    SkinElement popup;
    popup.name = QStringLiteral("NotePopup");
    popup.keyword = QStringLiteral("MsgFader");
    popup.rect = QRect(0, 0, 36, 150);
    const auto [track, cap] = FaderImages(kit, popup.rect.size());
    popup.Set(QStringLiteral("BackgroundImage"), track);
    popup.Set(QStringLiteral("CaratImage"), cap);
    popup.Set(QStringLiteral("Message"), QStringLiteral("WM_SET_NOTE_VELOCITY"));
    popup.Set(QStringLiteral("MinValue"), 0);
    popup.Set(QStringLiteral("MaxValue"), 127);
    editor.children.push_back(popup);

    ToolCaption(view, 14, 96, QStringLiteral("New note"));
    AddFactory(kit, view, QStringLiteral("NoteFactory"), QStringLiteral("NoteFactory"),
               QRect(14, kRowOneTop, 96, kRowOneHeight), QStringLiteral("Note"), Icon::Note, colour::kPlate);
    ToolCaption(view, 254, 90, QStringLiteral("Row height"));
    AddStepPair(kit, view, QStringLiteral("ZoomPitch"), 260, 10, QStringLiteral("WM_ZOOM_OUT_PITCH"),
                QStringLiteral("WM_ZOOM_IN_PITCH"));
    ToolCaption(view, 384, 82, QStringLiteral("Zoom"));
    AddStepPair(kit, view, QStringLiteral("ZoomTime"), 386, 10, QStringLiteral("WM_ZOOM_OUT_TIME"),
                QStringLiteral("WM_ZOOM_IN_TIME"));
    AddTransportRow(kit, view);
    AddHint(view, QStringLiteral("Drag notes from the factory into the grid; hold the factory for length and "
                                 "velocity. Drag a note back onto the factory to delete it."));
    return view;
}

ViewSkin ParameterView(Kit& kit)
{
    ViewSkin view(QStringLiteral("SeqEditorView"), QStringLiteral("Parameter Editor"));
    AddTabs(kit, view, 3);
    SkinElement& editor = AddPanelElement(view, QStringLiteral("ParameterEditor"),
                                          QStringLiteral("UIParameterEditor"), kEditorArea, EditorPreview(8, false));
    AddTimeAxisColours(editor);
    editor.Set(QStringLiteral("DrawValueDivisions"), QStringLiteral("True"));
    editor.Set(QStringLiteral("ValueDivisionColour"), SkinColour(grid::kDivision));
    editor.Set(QStringLiteral("ValueTextColour"), SkinColour(grid::kBeatText));
    editor.Set(QStringLiteral("FollowCarat"), QStringLiteral("False"));
    editor.Set(QStringLiteral("Loop"), QStringLiteral("True"));

    ToolCaption(view, 254, 90, QStringLiteral("Value range"));
    AddStepPair(kit, view, QStringLiteral("ZoomValue"), 260, 10, QStringLiteral("WM_ZOOM_OUT_VALUE"),
                QStringLiteral("WM_ZOOM_IN_VALUE"));
    ToolCaption(view, 384, 82, QStringLiteral("Zoom"));
    AddStepPair(kit, view, QStringLiteral("ZoomTime"), 386, 10, QStringLiteral("WM_ZOOM_OUT_TIME"),
                QStringLiteral("WM_ZOOM_IN_TIME"));
    {
        QPainter painter(&view.Background());
        DrawNote(painter, QRect(14, kCaptionTop + 2, 236, 52),
                 QStringLiteral("Double tap any knob or fader to edit its parameter here, or hold the grid "
                                "and choose Parameter.."),
                 11);
    }
    AddTransportRow(kit, view);
    AddHint(view, QStringLiteral("Draw a line with the pen to write controller values; each change of value "
                                 "becomes one event."));
    return view;
}

} // namespace

void BuildSequencerSkin(Output& files, Output& mockups)
{
    Kit kit{files, {"skins/Sequencer", ""}, CommonImages()};
    const std::pair<const char*, ViewSkin (*)(Kit&)> editors[] = {
        {"SongEditor", &SongView},
        {"SectionEditor", &SectionView},
        {"PatternEditor", &PatternView},
        {"ParameterEditor", &ParameterView},
    };
    QString text;
    QXmlStreamWriter xml(&text);
    BeginDocument(xml);
    xml.writeStartElement(QStringLiteral("SequencerSkins"));
    for (const auto& [editor, build] : editors) {
        ViewSkin view = build(kit);
        view.StoreBackground(files, kit.own, std::string(editor) + ".png");
        xml.writeStartElement(QString::fromLatin1(editor));
        view.Write(xml);
        xml.writeEndElement();
        mockups.AddImage(std::string("Sequencer-") + editor + ".png", view.Mockup());
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    files.AddText("skins/Sequencer/Sequencer.skin", text);
}

} // namespace artwork
