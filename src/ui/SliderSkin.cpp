#include "ui/SliderSkin.h"

#include <QPainter>

#include "document/XMLArchive.h"
#include "ui/ControlLook.h"

namespace jorvo {
namespace {

constexpr int kPlainMargin = 4;

} // namespace

void SliderSkin::SerializeXML(CXMLArchive& archive)
{
    // BackgroundImage="fader_bg.png" CaratImage="fader_carat.png"
    background_.SerializeXML(archive);
    carat_.SerializeXML(archive);
}

void SliderSkin::SetSize(QSize size)
{
    size_ = size;
    background_.SetRect(QRect(QPoint(0, 0), size));
}

bool SliderSkin::HasCarat()
{
    return !carat_.File().empty() && carat_.Load();
}

int SliderSkin::CaratLength(bool vertical, int fallback)
{
    if (!HasCarat())
        return fallback;
    return vertical ? carat_.Height() : carat_.Width();
}

int SliderSkin::CaratBreadth(bool vertical)
{
    if (HasCarat())
        return vertical ? carat_.Width() : carat_.Height();
    return (vertical ? size_.width() : size_.height()) - kPlainMargin;
}

void SliderSkin::Draw(QPainter& painter, const SliderAxis& axis, std::int32_t value, bool enabled, bool fillToCarat)
{
    const QRect area(QPoint(0, 0), size_);
    const bool vertical = axis.IsVertical();
    if (!background_.File().empty()) {
        background_.Draw(painter);
    } else {
        ControlLook::DrawFace(painter, area);
        ControlLook::DrawGroove(painter, area, vertical);
    }
    if (!enabled && !HasCarat())
        return; // a disabled plain fader shows its empty groove only
    const QRect caratArea = axis.CaratRect(value, CaratBreadth(vertical));
    if (fillToCarat && background_.File().empty()) {
        // the groove lit from the minimum end (top or left) up to the carat
        const QPoint centre = caratArea.center();
        const QRect lit = vertical ? QRect(area.center().x() - 2, 2, 4, centre.y() - 2)
                                   : QRect(2, area.center().y() - 2, centre.x() - 2, 4);
        painter.fillRect(lit, ControlLook::Accent());
    }
    if (HasCarat()) {
        carat_.SetRect(caratArea);
        carat_.Draw(painter);
    } else {
        ControlLook::DrawCarat(painter, caratArea, vertical, caratMarked_);
    }
}

} // namespace jorvo
