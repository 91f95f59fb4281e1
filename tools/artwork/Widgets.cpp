#include "Widgets.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Palette.h"

namespace artwork {
namespace {

const QRgb kKey = colour::kTransparentKey.rgb();
constexpr double kPi = 3.14159265358979323846;
// Half the opening of a knob's ring at the bottom: the sweep starts and ends on the diagonals.
constexpr double kKnobGapDegrees = 46.0;

QImage Blank(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void Antialiased(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// A raised (or, when `held`, pressed) rounded button body.
void DrawBody(QPainter& painter, const QRectF& area, bool held)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, held ? colour::kPressedTop : colour::kButtonTop);
    gradient.setColorAt(1.0, held ? colour::kPressedBottom : colour::kButtonBottom);
    const QRectF body = area.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colour::kButtonEdge, 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(body, 4.0, 4.0);
    // A light rim along the top edge of a raised button, along the bottom of a held one.
    painter.setPen(QPen(QColor(255, 255, 255, held ? 18 : 40), 1.0));
    painter.setBrush(Qt::NoBrush);
    const QRectF rim = body.adjusted(1.0, 1.0, -1.0, -1.0);
    if (held)
        painter.drawLine(QPointF(rim.left() + 3, rim.bottom()), QPointF(rim.right() - 3, rim.bottom()));
    else
        painter.drawLine(QPointF(rim.left() + 3, rim.top()), QPointF(rim.right() - 3, rim.top()));
}

// The label and icon of a push button inside `area`.
void DrawContent(QPainter& painter, const QRectF& area, const QString& label, Icon icon, const QColor& ink,
                 int fontSize)
{
    painter.setFont(Font(fontSize, true));
    if (icon == Icon::None) {
        painter.setPen(ink);
        painter.drawText(area, Qt::AlignCenter, label);
        return;
    }
    const double side = std::min(area.height() * 0.55, 18.0);
    if (label.isEmpty()) {
        const double iconSide = std::min(area.width(), area.height()) * 0.5;
        DrawIcon(painter, icon, QRectF(area.center().x() - iconSide / 2, area.center().y() - iconSide / 2, iconSide,
                                       iconSide),
                 ink);
        return;
    }
    const QFontMetricsF metrics(painter.font());
    const double textWidth = metrics.horizontalAdvance(label);
    const double total = side + 6 + textWidth;
    const double left = area.center().x() - total / 2;
    DrawIcon(painter, icon, QRectF(left, area.center().y() - side / 2, side, side), ink);
    painter.setPen(ink);
    painter.drawText(QRectF(left + side + 6, area.top(), textWidth + 2, area.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, label);
}

QPainterPath Triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

} // namespace

QImage Keyed(const QImage& image)
{
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (line[x] == kKey)
                line[x] = 0;
    }
    return keyed;
}

QImage KnobStrip(int size, const QColor& behind)
{
    QImage strip = Blank(2 * size, size, behind);
    const double centre = size / 2.0;
    const double outer = size / 2.0 - 1.5;
    const double inner = outer * 0.64;
    QPainter painter(&strip);
    Antialiased(painter);

    // Frame 1: the empty track of the ring.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kWell);
    painter.drawEllipse(QPointF(size + centre, centre), outer, outer);

    // Frame 0: the face. Bezels on both edges of the ring and on the ends of the sweep, the cap.
    painter.setPen(QPen(colour::kButtonEdge, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(centre, centre), outer, outer);
    painter.drawEllipse(QPointF(centre, centre), inner, inner);
    const double gap = kKnobGapDegrees * kPi / 180.0;
    for (double side : {-1.0, 1.0}) {
        const double dx = side * std::sin(gap);
        const double dy = std::cos(gap);
        painter.drawLine(QPointF(centre + dx * inner, centre + dy * inner),
                         QPointF(centre + dx * outer, centre + dy * outer));
    }
    QRadialGradient cap(QPointF(centre - inner * 0.3, centre - inner * 0.4), inner * 1.3);
    cap.setColorAt(0.0, QColor(0x6A, 0x72, 0x7F));
    cap.setColorAt(1.0, colour::kButtonBottom);
    painter.setPen(QPen(colour::kButtonEdge, 1.2));
    painter.setBrush(cap);
    painter.drawEllipse(QPointF(centre, centre), inner - 2.5, inner - 2.5);
    painter.end();

    // The ring, open at the bottom, becomes the transparent key.
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - centre;
            const double dy = y + 0.5 - centre;
            const double distance = std::hypot(dx, dy);
            const double fromDown = std::atan2(std::fabs(dx), dy) * 180.0 / kPi;
            if (distance >= inner + 1.0 && distance <= outer - 1.0 && fromDown > kKnobGapDegrees + 1.5)
                line[x] = kKey;
        }
    }
    return strip;
}

QImage KnobPicture(const QImage& strip, int size, int value, int minimum, int maximum, const QColor& indicator)
{
    QImage picture = strip.copy(size, 0, size, size).convertToFormat(QImage::Format_ARGB32);
    const int third = std::max(1, (maximum - minimum) / 3);
    const int v = value - minimum;
    const int w = size;
    const int h = size;
    QPolygon sweep;
    sweep << QPoint(w / 2, h / 2) << QPoint(w / 2, h) << QPoint(0, h);
    if (v < third) {
        sweep << QPoint(0, h - h * v / third);
    } else if (v < 2 * third) {
        sweep << QPoint(0, 0) << QPoint(w * (v - third) / third, 0);
    } else {
        sweep << QPoint(0, 0) << QPoint(w, 0) << QPoint(w, std::min(h, h * (v - 2 * third) / third));
    }
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(indicator);
    painter.drawPolygon(sweep);
    painter.drawImage(0, 0, Keyed(strip.copy(0, 0, size, size)));
    return picture;
}

QImage FaderTrack(int width, int height, int capHeight, const QColor& behind)
{
    QImage image = Blank(width, height, behind);
    QPainter painter(&image);
    Antialiased(painter);
    const double top = capHeight / 2.0;
    const double bottom = height - capHeight / 2.0;
    const double centre = width / 2.0;
    // Scale marks: ten steps, longer at the ends and the middle.
    for (int mark = 0; mark <= 10; ++mark) {
        const double y = std::round(top + (bottom - top) * mark / 10.0) + 0.5;
        const bool major = mark % 5 == 0;
        const double reach = major ? width / 2.0 - 2 : width / 2.0 - 7;
        painter.setPen(QPen(major ? colour::kDimText : QColor(0x5C, 0x65, 0x71), 1.0));
        painter.drawLine(QPointF(centre - reach, y), QPointF(centre - 6, y));
        painter.drawLine(QPointF(centre + 6, y), QPointF(centre + reach, y));
    }
    painter.setPen(QPen(colour::kButtonEdge, 1.0));
    painter.setBrush(colour::kWell);
    painter.drawRoundedRect(QRectF(centre - 3, top - 3, 6, bottom - top + 6), 3, 3);
    return image;
}

QImage SliderTrack(int width, int height, const QColor& behind)
{
    QImage image = Blank(width, height, behind);
    QPainter painter(&image);
    Antialiased(painter);
    const double centre = height / 2.0;
    for (int mark = 0; mark <= 8; ++mark) {
        const double x = std::round(6 + (width - 12) * mark / 8.0) + 0.5;
        painter.setPen(QPen(mark % 4 == 0 ? colour::kDimText : QColor(0x5C, 0x65, 0x71), 1.0));
        painter.drawLine(QPointF(x, 1), QPointF(x, centre - 5));
    }
    painter.setPen(QPen(colour::kButtonEdge, 1.0));
    painter.setBrush(colour::kWell);
    painter.drawRoundedRect(QRectF(3, centre - 2.5, width - 6, 5), 2.5, 2.5);
    return image;
}

QImage FaderCap(int width, int height)
{
    QImage image = Blank(width, height, colour::kButtonEdge);
    QPainter painter(&image);
    Antialiased(painter);
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0.0, QColor(0x7A, 0x82, 0x8E));
    body.setColorAt(0.45, QColor(0x50, 0x57, 0x62));
    body.setColorAt(0.55, QColor(0x3E, 0x44, 0x4E));
    body.setColorAt(1.0, QColor(0x5C, 0x63, 0x6E));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawRect(QRectF(1, 1, width - 2, height - 2));
    painter.setPen(QPen(colour::kAccent, 2.0));
    painter.drawLine(QPointF(3, height / 2.0), QPointF(width - 3, height / 2.0));
    return image;
}

QImage SliderThumb(int width, int height)
{
    QImage image = Blank(width, height, colour::kButtonEdge);
    QPainter painter(&image);
    Antialiased(painter);
    QLinearGradient body(0, 0, width, 0);
    body.setColorAt(0.0, QColor(0x7A, 0x82, 0x8E));
    body.setColorAt(1.0, QColor(0x48, 0x4F, 0x5A));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawRect(QRectF(1, 1, width - 2, height - 2));
    painter.setPen(QPen(colour::kAccent, 2.0));
    painter.drawLine(QPointF(width / 2.0, 3), QPointF(width / 2.0, height - 3));
    return image;
}

QImage SwitchStrip(int width, int height, const QStringList& labels, const std::vector<QColor>& lamps,
                   const QColor& behind)
{
    const int count = static_cast<int>(labels.size());
    QImage strip = Blank(width * count, height, behind);
    QPainter painter(&strip);
    Antialiased(painter);
    for (int k = 0; k < count; ++k) {
        const QRectF frame(k * width, 0, width, height);
        const bool lit = k < static_cast<int>(lamps.size()) && lamps[k].isValid();
        DrawBody(painter, frame, false);
        const double lamp = std::min(8.0, height * 0.34);
        const QPointF lampCentre(frame.left() + 6 + lamp / 2, frame.center().y());
        if (lit) {
            QRadialGradient glow(lampCentre, lamp * 1.2);
            glow.setColorAt(0.0, lamps[k].lighter(140));
            glow.setColorAt(0.6, lamps[k]);
            glow.setColorAt(1.0, lamps[k].darker(160));
            painter.setBrush(glow);
        } else {
            painter.setBrush(QColor(0x22, 0x25, 0x2A));
        }
        painter.setPen(QPen(colour::kButtonEdge, 1.0));
        painter.drawEllipse(lampCentre, lamp / 2, lamp / 2);
        painter.setFont(Font(height >= 26 ? 13 : 11, true));
        painter.setPen(lit ? colour::kText : colour::kDimText);
        painter.drawText(frame.adjusted(lamp + 8, 0, -3, 0), Qt::AlignCenter, labels[k]);
    }
    return strip;
}

QImage PushStrip(int width, int height, const QString& label, Icon icon, const QColor& behind, int fontSize)
{
    QImage strip = Blank(2 * width, height, behind);
    QPainter painter(&strip);
    Antialiased(painter);
    for (int held = 0; held < 2; ++held) {
        const QRectF frame(held * width, 0, width, height);
        DrawBody(painter, frame, held != 0);
        DrawContent(painter, frame.translated(held, held), label, icon, held ? colour::kAccent : colour::kText,
                    fontSize);
    }
    return strip;
}

QImage TextWell(int width, int height, const QColor& behind, int inset)
{
    QImage image = Blank(width, height, behind);
    QPainter painter(&image);
    Antialiased(painter);
    const QRectF well = QRectF(0.5, 0.5, width - 1, height - 1).adjusted(inset, inset, -inset, -inset);
    painter.setPen(QPen(QColor(0x0B, 0x0C, 0x0E), 1.0));
    painter.setBrush(colour::kWell);
    painter.drawRoundedRect(well, 4, 4);
    painter.setPen(QPen(QColor(255, 255, 255, 22), 1.0));
    painter.drawLine(QPointF(well.left() + 4, well.bottom() - 1), QPointF(well.right() - 4, well.bottom() - 1));
    return image;
}

void DrawIcon(QPainter& painter, Icon icon, const QRectF& area, const QColor& colour)
{
    painter.save();
    Antialiased(painter);
    const double l = area.left();
    const double t = area.top();
    const double w = area.width();
    const double h = area.height();
    const QPointF c = area.center();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QPen stroke(colour, std::max(1.5, w / 9.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Play:
        painter.drawPath(Triangle({l + w * 0.2, t}, {l + w * 0.95, c.y()}, {l + w * 0.2, t + h}));
        break;
    case Icon::Stop:
        painter.drawRoundedRect(area.adjusted(w * 0.1, h * 0.1, -w * 0.1, -h * 0.1), 1.5, 1.5);
        break;
    case Icon::Rewind:
        painter.drawRect(QRectF(l, t + h * 0.1, w * 0.12, h * 0.8));
        painter.drawPath(Triangle({l + w * 0.55, t + h * 0.1}, {l + w * 0.14, c.y()}, {l + w * 0.55, t + h * 0.9}));
        painter.drawPath(Triangle({l + w, t + h * 0.1}, {l + w * 0.56, c.y()}, {l + w, t + h * 0.9}));
        break;
    case Icon::FastForward:
        painter.drawPath(Triangle({l, t + h * 0.1}, {l + w * 0.45, c.y()}, {l, t + h * 0.9}));
        painter.drawPath(Triangle({l + w * 0.44, t + h * 0.1}, {l + w * 0.88, c.y()}, {l + w * 0.44, t + h * 0.9}));
        painter.drawRect(QRectF(l + w * 0.88, t + h * 0.1, w * 0.12, h * 0.8));
        break;
    case Icon::Plus:
    case Icon::Minus:
        painter.setPen(QPen(colour, std::max(2.0, w / 6.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(l + w * 0.15, c.y()), QPointF(l + w * 0.85, c.y()));
        if (icon == Icon::Plus)
            painter.drawLine(QPointF(c.x(), t + h * 0.15), QPointF(c.x(), t + h * 0.85));
        break;
    case Icon::Left:
        painter.drawPath(Triangle({l + w * 0.75, t + h * 0.1}, {l + w * 0.2, c.y()}, {l + w * 0.75, t + h * 0.9}));
        break;
    case Icon::Right:
        painter.drawPath(Triangle({l + w * 0.25, t + h * 0.1}, {l + w * 0.8, c.y()}, {l + w * 0.25, t + h * 0.9}));
        break;
    case Icon::Up:
        painter.drawPath(Triangle({l + w * 0.1, t + h * 0.75}, {c.x(), t + h * 0.2}, {l + w * 0.9, t + h * 0.75}));
        break;
    case Icon::Down:
        painter.drawPath(Triangle({l + w * 0.1, t + h * 0.25}, {c.x(), t + h * 0.8}, {l + w * 0.9, t + h * 0.25}));
        break;
    case Icon::Note:
        painter.drawEllipse(QPointF(l + w * 0.38, t + h * 0.78), w * 0.22, h * 0.16);
        painter.drawRect(QRectF(l + w * 0.55, t + h * 0.05, w * 0.08, h * 0.75));
        painter.drawPath(Triangle({l + w * 0.6, t + h * 0.05}, {l + w * 0.95, t + h * 0.3}, {l + w * 0.6, t + h * 0.32}));
        break;
    case Icon::Pattern:
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                if ((row + col) % 2 == 0 || row == 1)
                    painter.drawRoundedRect(QRectF(l + col * w / 3 + 1, t + row * h / 3 + 1, w / 3 - 2, h / 3 - 2), 1, 1);
        break;
    case Icon::Section:
        for (int row = 0; row < 3; ++row)
            painter.drawRoundedRect(QRectF(l + (row % 2) * w * 0.25, t + row * h / 3 + 1, w * 0.75, h / 3 - 2), 1, 1);
        break;
    case Icon::Song:
        for (int col = 0; col < 3; ++col)
            painter.drawRoundedRect(QRectF(l + col * w / 3 + 1, t + h * 0.3, w / 3 - 2, h * 0.4), 1, 1);
        break;
    case Icon::Zone:
        painter.setPen(QPen(colour, 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(l + 1, t + h * 0.45, w - 2, h * 0.5));
        for (int key = 1; key < 4; ++key)
            painter.drawLine(QPointF(l + key * w / 4, t + h * 0.45), QPointF(l + key * w / 4, t + h * 0.95));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(l + 1, t, w - 2, h * 0.35), 2, 2);
        break;
    case Icon::Mixer:
        painter.setPen(stroke);
        for (int col = 0; col < 3; ++col) {
            const double x = l + w * (0.2 + 0.3 * col);
            painter.drawLine(QPointF(x, t), QPointF(x, t + h));
        }
        painter.setPen(Qt::NoPen);
        for (int col = 0; col < 3; ++col) {
            const double x = l + w * (0.2 + 0.3 * col);
            const double y = t + h * (0.25 + 0.25 * ((col + 1) % 3));
            painter.drawRect(QRectF(x - w * 0.12, y - h * 0.07, w * 0.24, h * 0.14));
        }
        break;
    case Icon::Help:
        painter.setPen(stroke);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(area.adjusted(1, 1, -1, -1));
        painter.setFont(Font(static_cast<int>(h * 0.7), true));
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("?"));
        break;
    case Icon::Open: {
        QPainterPath folder(QPointF(l, t + h * 0.15));
        folder.lineTo(l + w * 0.38, t + h * 0.15);
        folder.lineTo(l + w * 0.48, t + h * 0.28);
        folder.lineTo(l + w, t + h * 0.28);
        folder.lineTo(l + w, t + h * 0.9);
        folder.lineTo(l, t + h * 0.9);
        folder.closeSubpath();
        painter.drawPath(folder);
        break;
    }
    case Icon::Save:
        painter.drawRoundedRect(QRectF(l + w * 0.05, t + h * 0.05, w * 0.9, h * 0.9), 2, 2);
        painter.setBrush(colour::kButtonBottom);
        painter.drawRect(QRectF(l + w * 0.25, t + h * 0.05, w * 0.5, h * 0.3));
        painter.drawRect(QRectF(l + w * 0.2, t + h * 0.55, w * 0.6, h * 0.3));
        break;
    case Icon::Curve: {
        painter.setPen(stroke);
        painter.setBrush(Qt::NoBrush);
        QPainterPath curve(QPointF(l, t + h * 0.8));
        curve.cubicTo(QPointF(l + w * 0.35, t + h * 0.8), QPointF(l + w * 0.4, t + h * 0.1),
                      QPointF(l + w * 0.7, t + h * 0.2));
        curve.lineTo(QPointF(l + w, t + h * 0.45));
        painter.drawPath(curve);
        break;
    }
    case Icon::Quit:
        painter.setPen(stroke);
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(area.adjusted(w * 0.08, h * 0.12, -w * 0.08, -h * 0.04), 60 * 16, -300 * 16);
        painter.drawLine(QPointF(c.x(), t), QPointF(c.x(), c.y()));
        break;
    case Icon::New: {
        QPainterPath page(QPointF(l + w * 0.15, t));
        page.lineTo(l + w * 0.62, t);
        page.lineTo(l + w * 0.85, t + h * 0.25);
        page.lineTo(l + w * 0.85, t + h);
        page.lineTo(l + w * 0.15, t + h);
        page.closeSubpath();
        painter.drawPath(page);
        break;
    }
    }
    painter.restore();
}

void DrawLogo(QPainter& painter, const QRect& area, bool withTagline)
{
    Antialiased(painter);
    const double h = area.height();
    // A row of level bars rising to the right, the accent colour at the peak.
    const int bars = 9;
    const double barWidth = h * 0.09;
    for (int bar = 0; bar < bars; ++bar) {
        const double level = 0.25 + 0.75 * std::sin((bar + 1) * kPi / (bars + 1.5));
        const double barHeight = h * 0.42 * level;
        QColor fill = bar == 5 ? colour::kAccent : colour::kTeal;
        fill.setAlpha(bar == 5 ? 255 : 120 + bar * 12);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(area.left() + bar * barWidth * 1.6, area.top() + h * 0.45 - barHeight,
                                       barWidth, barHeight),
                                barWidth / 3, barWidth / 3);
    }
    painter.setPen(colour::kText);
    painter.setFont(Font(static_cast<int>(h * 0.46), true));
    painter.drawText(QRectF(area.left(), area.top() + h * 0.42, area.width(), h * 0.46), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Jorvo"));
    if (!withTagline)
        return;
    QFont tagline = Font(static_cast<int>(h * 0.12), false);
    tagline.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.02);
    painter.setFont(tagline);
    painter.setPen(colour::kDimText);
    painter.drawText(QRectF(area.left() + 2, area.top() + h * 0.86, area.width(), h * 0.16), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("POCKET MUSIC STUDIO"));
}

void DrawHeader(QPainter& painter, int height, const QString& title, const QString& subtitle)
{
    Antialiased(painter);
    painter.fillRect(QRect(0, 0, kViewWidth, height), colour::kHeader);
    painter.fillRect(QRect(0, height - 1, kViewWidth, 1), colour::kHeaderLine);
    painter.fillRect(QRect(12, 12, 4, height - 24), colour::kAccent);
    painter.setPen(colour::kText);
    painter.setFont(Font(22, true));
    painter.drawText(QRect(26, 6, 300, 30), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setPen(colour::kDimText);
    painter.setFont(Font(12));
    painter.drawText(QRect(26, 34, 440, height - 38), Qt::AlignLeft | Qt::AlignTop, subtitle);
}

void DrawPlate(QPainter& painter, const QRect& area, const QString& caption)
{
    Antialiased(painter);
    painter.setPen(QPen(colour::kPlateEdge, 1.0));
    painter.setBrush(colour::kPlate);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    if (caption.isEmpty())
        return;
    QFont font = Font(10, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    painter.setFont(font);
    painter.setPen(colour::kAccent);
    painter.drawText(QRect(area.left() + 10, area.top() + 5, area.width() - 20, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     caption.toUpper());
}

void DrawCaption(QPainter& painter, const QRect& area, const QString& text, const QColor& colour, int size, bool bold)
{
    Antialiased(painter);
    painter.setPen(colour);
    painter.setFont(Font(size, bold));
    painter.drawText(area, Qt::AlignCenter, text);
}

void DrawNote(QPainter& painter, const QRect& area, const QString& text, int size)
{
    Antialiased(painter);
    painter.setPen(colour::kDimText);
    painter.setFont(Font(size));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

} // namespace artwork
