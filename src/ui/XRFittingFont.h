#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace xr {

// The font made smaller, a pixel at a time down to the smallest size, until the
// text fits the width, as a phone's labels shrink long names rather than cut them.
inline QFont fittingFont(QFont font, const QString &text, int width, int smallestPixelSize = 11)
{
    if (font.pixelSize() < 0)
        font.setPixelSize(QFontMetrics(font).height());
    while (font.pixelSize() > smallestPixelSize && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

} // namespace xr
