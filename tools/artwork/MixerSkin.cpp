// The mixer: a channel strip template (name, on/off, pan, level) with a send row, the master
// strip at the right, and the scrolling buttons in the header.
#include "Controls.h"
#include "Palette.h"
#include "Skins.h"
#include "engine/MixerStrip.h"

namespace artwork {
namespace {

constexpr int kStripLeft = 5;
constexpr int kStripPitch = 74; // the width of one strip: its name label spans it
constexpr int kStripsShown = 5; // as many as fit beside the master strip
constexpr int kStripTop = 48;
constexpr int kStripBottom = 440;
const QRect kMasterArea(385, 48, 90, 588);
constexpr int kSendTop = 446;
// Short enough that four send rows fit under the strips.
constexpr int kSendHeight = 44;

void PaintFrame(ViewSkin& view)
{
    QPainter painter(&view.Background());
    painter.fillRect(QRect(0, 0, kViewWidth, 44), colour::kHeader);
    painter.fillRect(QRect(0, 43, kViewWidth, 1), colour::kHeaderLine);
    painter.fillRect(QRect(12, 10, 4, 24), colour::kAccent);
    DrawCaption(painter, QRect(24, 0, 100, 44), QStringLiteral("Mixer"), colour::kText, 20, true);
    DrawCaption(painter, QRect(150, 0, 70, 44), QStringLiteral("CHANNELS"), colour::kCaption, 10, true);
    DrawCaption(painter, QRect(306, 0, 62, 44), QStringLiteral("SENDS"), colour::kCaption, 10, true);
    for (int k = 0; k < kStripsShown; ++k) {
        const int left = kStripLeft + k * kStripPitch;
        DrawPlate(painter, QRect(left + 1, kStripTop, kStripPitch - 2, kStripBottom - kStripTop), QString());
        DrawCaption(painter, QRect(left, 162, kStripPitch, 16), QStringLiteral("Pan"), colour::kCaption);
        DrawCaption(painter, QRect(left, 420, kStripPitch, 16), QStringLiteral("Level"), colour::kCaption);
    }
    DrawPlate(painter, kMasterArea, QString());
    DrawCaption(painter, QRect(kMasterArea.left(), 162, kMasterArea.width(), 16), QStringLiteral("Pan"),
                colour::kCaption);
    DrawCaption(painter, QRect(kMasterArea.left(), 420, kMasterArea.width(), 16), QStringLiteral("Level"),
                colour::kCaption);
    DrawNote(painter, QRect(kMasterArea.left() + 8, 560, kMasterArea.width() - 14, 70),
             QStringLiteral("Hold the header to add an instrument or effect."), 10);
}

void AddHeaderButtons(Kit& kit, ViewSkin& view)
{
    struct Nav {
        const char* name;
        const char* message;
        Icon icon;
        int left;
    };
    static const Nav navs[] = {
        {"ChannelPrev", "WM_CHANNEL_PREV", Icon::Left, 222},
        {"ChannelNext", "WM_CHANNEL_NEXT", Icon::Right, 260},
        {"SendUp", "WM_SEND_UP", Icon::Up, 370},
        {"SendDown", "WM_SEND_DOWN", Icon::Down, 408},
    };
    const QSize size(34, 30);
    for (const Nav& nav : navs) {
        const StripImage image = PushImage(kit, kit.common, std::string(nav.name) + ".png", size, QString(), nav.icon,
                                           colour::kHeader);
        AddMsgButton(view, QString::fromLatin1(nav.name), QRect(QPoint(nav.left, 7), size),
                     QString::fromLatin1(nav.message), image, false);
    }
}

void AddChannelStrip(Kit& kit, ViewSkin& view)
{
    const ElementGroup strip = ElementGroup::ChannelStrip;
    const int centre = kStripLeft + kStripPitch / 2;
    AddTextElement(kit, view, QStringLiteral("MixerChannelLabel"), QStringLiteral("ChannelName"),
                   QRect(kStripLeft, 52, kStripPitch, 26), QStringLiteral("mSyn"), colour::kPlate, strip, 3);
    AddSwitch(kit, view, {QStringLiteral("ChannelActive"), QString(), jorvo::kActiveParameter, 0, 1, 1},
              QRect(centre - 30, 86, 60, 22), {QStringLiteral("OFF"), QStringLiteral("ON")}, {0, 1},
              {colour::kRed, colour::kGreen}, strip);
    AddKnob(kit, view, {QStringLiteral("ChannelPan"), QString(), jorvo::kPanParameter, 0, 127, 64},
            QPoint(centre, 140), 40, strip);
    AddFader(kit, view, {QStringLiteral("ChannelLevel"), QString(), jorvo::kLevelParameter, 0, 127, 100},
             QRect(centre - 22, 186, 44, 230), strip);

    // The send row: a plate with its caption, and the level knob the view binds to one send.
    QImage plate(kStripPitch, kSendHeight, QImage::Format_RGB32);
    plate.fill(colour::kBackground);
    {
        QPainter painter(&plate);
        DrawPlate(painter, QRect(1, 2, kStripPitch - 2, kSendHeight - 4), QString());
        DrawCaption(painter, QRect(0, kSendHeight - 16, kStripPitch, 13), QStringLiteral("Send"), colour::kCaption, 10);
    }
    kit.output.AddImage(kit.own.stored + "/SendPlate.png", plate);
    SkinElement image;
    image.name = QStringLiteral("SendPlate");
    image.keyword = QStringLiteral("Image");
    image.rect = QRect(kStripLeft, kSendTop, kStripPitch, kSendHeight);
    image.Set(QStringLiteral("Image"), QStringLiteral("SendPlate.png"));
    image.picture = [plate](QPainter& painter, const QRect& area) { painter.drawImage(area.topLeft(), plate); };
    view.Add(std::move(image), ElementGroup::Send);
    SkinElement& send = AddKnob(kit, view, {QStringLiteral("SendLevel"), QString(), 0, 0, 127, 40},
                                QPoint(centre, kSendTop + 16), 26, ElementGroup::Send);
    // The view sets the send's event code when it binds the row.
    send.attributes.erase(send.attributes.begin());
}

void AddMasterStrip(Kit& kit, ViewSkin& view)
{
    const ElementGroup master = ElementGroup::MasterStrip;
    const std::pair<QString, QString> mixer{QStringLiteral("Mixer"), QStringLiteral("Mixer")};
    const int centre = kMasterArea.center().x() + 1;
    SkinElement& title = AddTextElement(kit, view, QStringLiteral("MsgLabel"), QStringLiteral("MasterName"),
                                        QRect(kMasterArea.left(), 52, kMasterArea.width(), 26),
                                        QStringLiteral("Master"), colour::kPlate, master, 3);
    title.Set(QStringLiteral("TextClr"), SkinColour(colour::kAccent));
    AddKnob(kit, view, {QStringLiteral("MasterPan"), QString(), jorvo::kPanParameter, 0, 127, 64}, QPoint(centre, 140),
            40, master)
        .target = mixer;
    AddFader(kit, view, {QStringLiteral("MasterLevel"), QString(), jorvo::kLevelParameter, 0, 127, 113},
             QRect(centre - 22, 186, 44, 230), master)
        .target = mixer;
}

// Buttons to the editors under the master strip.
void AddViewButtons(Kit& kit, ViewSkin& view)
{
    struct Jump {
        const char* name;
        const char* label;
        const char* message;
    };
    static const Jump jumps[] = {
        {"ShowSong", "Song", "WM_VIEW_SONG_EDITOR"},
        {"ShowSection", "Section", "WM_VIEW_SECTION_EDITOR"},
        {"ShowPattern", "Pattern", "WM_VIEW_PATTERN_EDITOR"},
    };
    const QSize size(74, 30);
    int top = 448;
    for (const Jump& jump : jumps) {
        const StripImage image = PushImage(kit, kit.own, std::string(jump.name) + ".png", size,
                                           QString::fromLatin1(jump.label), Icon::None, colour::kPlate, 12);
        AddMsgButton(view, QString::fromLatin1(jump.name), QRect(QPoint(kMasterArea.left() + 8, top), size),
                     QString::fromLatin1(jump.message), image, true);
        top += size.height() + 6;
    }
}

} // namespace

void BuildMixerSkin(Output& files, Output& mockups)
{
    Kit kit{files, {"skins/Mixer", ""}, CommonImages()};
    ViewSkin view(QStringLiteral("MixerView"), QStringLiteral("Mixer"));
    view.SetAttribute(QStringLiteral("BackgroundColour"), SkinColour(colour::kBackground));
    PaintFrame(view);
    AddHeaderButtons(kit, view);
    AddChannelStrip(kit, view);
    AddMasterStrip(kit, view);
    AddViewButtons(kit, view);
    view.StoreBackground(files, kit.own, "Console.png");
    files.AddText("skins/Mixer/Mixer.skin", view.SkinFileText());
    mockups.AddImage("Mixer.png", view.Mockup());
}

} // namespace artwork
