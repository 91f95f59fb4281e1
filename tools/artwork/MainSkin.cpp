// The splash picture and the home screen.
#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

#include "Controls.h"
#include "Palette.h"
#include "Skins.h"

namespace artwork {
namespace {

// A wide waveform across the lower part of a picture: a decaying chord, drawn as a filled band.
void DrawWave(QPainter& painter, const QRect& area, const QColor& colour)
{
    QPainterPath upper(QPointF(area.left(), area.center().y()));
    QPainterPath lower(QPointF(area.left(), area.center().y()));
    const double half = area.height() / 2.0;
    for (int x = 0; x <= area.width(); ++x) {
        const double t = x / static_cast<double>(area.width());
        const double envelope = std::exp(-2.2 * t) * std::min(1.0, t * 30.0);
        const double wave = std::sin(t * 70.0) * 0.6 + std::sin(t * 105.0) * 0.3 + std::sin(t * 141.0) * 0.1;
        const double reach = half * envelope * (0.55 + 0.45 * std::fabs(wave));
        upper.lineTo(area.left() + x, area.center().y() - reach);
        lower.lineTo(area.left() + x, area.center().y() + reach);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    QColor fill = colour;
    fill.setAlpha(150);
    painter.setBrush(fill);
    painter.drawPath(upper.united(lower.toReversed()));
    painter.setPen(QPen(colour, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(upper);
    painter.drawPath(lower);
}

// Two octaves of piano keys along the bottom of a picture.
void DrawKeys(QPainter& painter, const QRect& area)
{
    const int whites = 14;
    const double keyWidth = area.width() / static_cast<double>(whites);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colour::kButtonEdge, 1.0));
    for (int key = 0; key < whites; ++key) {
        QLinearGradient ivory(0, area.top(), 0, area.bottom());
        ivory.setColorAt(0.0, QColor(0xD8, 0xDC, 0xE2));
        ivory.setColorAt(1.0, QColor(0xF4, 0xF5, 0xF7));
        painter.setBrush(ivory);
        painter.drawRoundedRect(QRectF(area.left() + key * keyWidth, area.top() - 4, keyWidth, area.height() + 4), 3, 3);
    }
    static const bool hasSharp[7] = {true, true, false, true, true, true, false};
    painter.setBrush(QColor(0x16, 0x18, 0x1C));
    for (int key = 0; key < whites - 1; ++key)
        if (hasSharp[key % 7])
            painter.drawRoundedRect(QRectF(area.left() + (key + 0.68) * keyWidth, area.top() - 4, keyWidth * 0.64,
                                           area.height() * 0.6),
                                    2, 2);
}

QImage SplashPicture()
{
    QImage picture(kViewWidth, kViewHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, kViewHeight);
    sky.setColorAt(0.0, QColor(0x2B, 0x30, 0x3A));
    sky.setColorAt(0.6, colour::kBackground);
    sky.setColorAt(1.0, QColor(0x12, 0x14, 0x18));
    painter.fillRect(picture.rect(), sky);
    DrawLogo(painter, QRect(92, 150, 340, 150), true);
    DrawWave(painter, QRect(0, 340, kViewWidth, 150), colour::kTeal);
    DrawKeys(painter, QRect(0, 540, kViewWidth, 100));
    painter.setPen(colour::kDimText);
    painter.setFont(Font(12));
    painter.drawText(QRect(0, 500, kViewWidth, 24), Qt::AlignCenter,
                     QStringLiteral("Songs \u00B7 Sections \u00B7 Patterns \u00B7 Synths \u00B7 Sampler \u00B7 Mixer"));
    return picture;
}

} // namespace

void BuildSplash(Output& files)
{
    const QImage picture = SplashPicture();
    files.AddImage("skins/skins.dat", picture);
    files.AddImage("skins/Splash.png", picture);
}

void BuildMainSkin(Output& files, Output& mockups)
{
    Kit kit{files, {"skins/Jorvo", ""}, CommonImages()};
    ViewSkin view(QStringLiteral("JorvoView"), QStringLiteral("Jorvo"));
    {
        QPainter painter(&view.Background());
        QLinearGradient banner(0, 0, 0, 176);
        banner.setColorAt(0.0, QColor(0x2B, 0x30, 0x3A));
        banner.setColorAt(1.0, colour::kBackground);
        painter.fillRect(QRect(0, 0, kViewWidth, 176), banner);
        DrawWave(painter, QRect(250, 40, 230, 110), colour::kTeal);
        DrawLogo(painter, QRect(24, 28, 260, 110), true);
        DrawPlate(painter, QRect(12, 176, 456, 226), QStringLiteral("Make music"));
        DrawPlate(painter, QRect(12, 410, 456, 82), QStringLiteral("Document"));
        DrawPlate(painter, QRect(12, 500, 456, 96), QStringLiteral("Transport"));
        DrawNote(painter, QRect(16, 604, 448, 32),
                 QStringLiteral("Tap and hold (or right click) on any editor for its menu. "
                                "Enter starts and pauses the song."),
                 11);
    }

    struct Launch {
        const char* name;
        const char* label;
        const char* message;
        Icon icon;
    };
    static const Launch launches[] = {
        {"SongButton", "Song", "WM_VIEW_SONG_EDITOR", Icon::Song},
        {"SectionButton", "Sections", "WM_VIEW_SECTION_EDITOR", Icon::Section},
        {"PatternButton", "Patterns", "WM_VIEW_PATTERN_EDITOR", Icon::Pattern},
        {"ParameterButton", "Controllers", "WM_VIEW_PARAMETER_EDITOR", Icon::Curve},
        {"MixerButton", "Mixer", "WM_VIEW_MIXER", Icon::Mixer},
        {"HelpButton", "Help", "WM_FILE_HELP", Icon::Help},
    };
    const QSize launchSize(212, 54);
    for (int k = 0; k < 6; ++k) {
        const Launch& launch = launches[k];
        const QPoint at(24 + (k % 2) * (launchSize.width() + 8), 202 + (k / 2) * (launchSize.height() + 10));
        const StripImage image = PushImage(kit, kit.own, std::string(launch.name) + ".png", launchSize,
                                           QString::fromLatin1(launch.label), launch.icon, colour::kPlate, 16);
        AddMsgButton(view, QString::fromLatin1(launch.name), QRect(at, launchSize), QString::fromLatin1(launch.message),
                     image, true);
    }

    static const Launch documents[] = {
        {"NewButton", "New", "WM_FILE_NEW", Icon::New},
        {"OpenButton", "Open", "WM_FILE_OPEN", Icon::Open},
        {"SaveButton", "Save", "WM_FILE_SAVE", Icon::Save},
        {"QuitButton", "Exit", "WM_FILE_QUIT", Icon::Quit},
    };
    const QSize documentSize(102, 40);
    for (int k = 0; k < 4; ++k) {
        const Launch& document = documents[k];
        const QPoint at(24 + k * (documentSize.width() + 8), 436);
        const StripImage image = PushImage(kit, kit.own, std::string(document.name) + ".png", documentSize,
                                           QString::fromLatin1(document.label), document.icon, colour::kPlate, 13);
        AddMsgButton(view, QString::fromLatin1(document.name), QRect(at, documentSize),
                     QString::fromLatin1(document.message), image, true);
    }
    AddTransport(kit, view, QPoint(24, 530), QSize(102, 50), 8, colour::kPlate);

    view.StoreBackground(files, kit.own, "Home.png");
    files.AddText("skins/Jorvo/Jorvo.skin", view.SkinFileText());
    mockups.AddImage("Jorvo.png", view.Mockup());
}

} // namespace artwork
