#pragma once
// The colours, fonts and sizes every piece of shipped artwork shares, so that the main view, the
// editors, the mixer and every instrument and effect panel read as one product: a dark studio
// panel, flat control plates, light text and one warm accent for values.
#include <QColor>
#include <QFont>
#include <QString>

namespace artwork {

// The size of every view.
inline constexpr int kViewWidth = 480;
inline constexpr int kViewHeight = 640;

namespace colour {
// The view background: flat, so that any control image blends wherever it is placed.
inline const QColor kBackground{0x1E, 0x21, 0x26};
inline const QColor kHeader{0x1B, 0x1E, 0x23};
inline const QColor kHeaderLine{0x3A, 0x41, 0x4C};
// Controls sit on plates of this one flat colour, so their images blend into any panel.
inline const QColor kPlate{0x2D, 0x32, 0x3A};
inline const QColor kPlateEdge{0x43, 0x4A, 0x56};
inline const QColor kWell{0x14, 0x16, 0x1A};
inline const QColor kText{0xEC, 0xEF, 0xF3};
inline const QColor kDimText{0x98, 0xA2, 0xAF};
inline const QColor kCaption{0xB4, 0xBE, 0xCB};
inline const QColor kAccent{0xFF, 0xB2, 0x3E};
inline const QColor kAccentDark{0x8A, 0x5A, 0x12};
inline const QColor kTeal{0x3C, 0xC8, 0xB8};
inline const QColor kGreen{0x4C, 0xC8, 0x6E};
inline const QColor kRed{0xE8, 0x4E, 0x52};
inline const QColor kButtonTop{0x4A, 0x51, 0x5D};
inline const QColor kButtonBottom{0x35, 0x3B, 0x45};
inline const QColor kPressedTop{0x24, 0x28, 0x2F};
inline const QColor kPressedBottom{0x30, 0x35, 0x3E};
inline const QColor kButtonEdge{0x11, 0x13, 0x16};
// Pure blue: the skin images' transparent key. Nothing else may use it.
inline const QColor kTransparentKey{0x00, 0x00, 0xFF};
} // namespace colour

// The font every text is drawn in ("Tahoma", falling back to the system's sans-serif), at a pixel
// size and weight.
inline QFont Font(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// "#RRGGBB" as skins write colours.
inline QString SkinColour(const QColor& colour)
{
    return colour.name(QColor::HexRgb).toUpper();
}

} // namespace artwork
