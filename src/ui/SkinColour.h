#pragma once
// Skin colours (packed red/green/blue) as Qt colours.
#include <QColor>

#include "document/XMLArchive.h"

namespace jorvo {

inline QColor ToQtColour(Colour colour)
{
    return QColor(colour.Red(), colour.Green(), colour.Blue());
}

} // namespace jorvo
