// SPDX-License-Identifier: MIT
#pragma once

#include "image/raster.h"
#include "image/surface.h"
#include "support/colour_text.h"

#include <QString>
#include <QStringList>

// Tiny inline pictures for the image tests: one character a pixel, rows separated by
// '|'. '.' is kDot; any other character stands for a colour of its own.
namespace pixel_text {

inline constexpr image::Colour kDot = image::rgb(0x11, 0x22, 0x33);

inline image::Colour colourOf(QChar c)
{
    if (c == u'.')
        return kDot;
    const int code = c.unicode() & 0xFF;
    return image::rgb(code, code ^ 0x5A, 0xC4);
}

inline QChar charOf(image::Colour colour)
{
    if (colour == kDot)
        return u'.';
    const int red = colour.red();
    if (colour == colourOf(QChar(red)))
        return QChar(red);
    return u'?';
}

inline image::Surface surface(const QString& text, image::Colour background = kDot)
{
    const QStringList rows = text.split(u'|');
    image::Surface result(background, int(rows.front().size()), int(rows.size()));
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x)
            image::SetPixel(result, x, y, colourOf(rows[y][x]));
    return result;
}

inline QString text(const image::Surface& surface)
{
    QStringList rows;
    for (int y = 0; y < surface.height(); ++y) {
        QString row;
        for (int x = 0; x < surface.width(); ++x)
            row += charOf(image::GetPixel(surface, x, y));
        rows << row;
    }
    return rows.join(u'|');
}

} // namespace pixel_text
