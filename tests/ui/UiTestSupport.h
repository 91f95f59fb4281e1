#pragma once
// Helpers for driving skin elements in the user-interface tests.
#include <filesystem>
#include <string>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace jorvo::test {

// Delivers a mouse event of `type` at `point` (widget coordinates) with the left button, as the
// window system would while a pen is on the screen.
inline void SendPen(QWidget& widget, QEvent::Type type, QPoint point)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(point), QPointF(widget.mapToGlobal(point)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// Writes a `width` × `height` PNG filled with `colour` whose left half is `leftColour`.
inline std::string WritePng(const std::filesystem::path& file, int width, int height, QRgb colour, QRgb leftColour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.setPixel(x, y, leftColour);
    image.save(QString::fromStdString(file.string()), "PNG");
    return file.string();
}

} // namespace jorvo::test
