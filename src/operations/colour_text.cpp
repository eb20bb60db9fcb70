// SPDX-License-Identifier: MIT
#include "colour_text.h"

#include <QList>

namespace ops {

namespace {

// A channel of the "r,g,b" form: decimal digits only, 0 to 255.
std::optional<int> readChannel(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > 255)
        return std::nullopt;
    return value;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<image::Colour> readColourText(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'#')) {
        if (text.size() != 7)
            return std::nullopt;
        int value = 0;
        for (const QChar c : text.sliced(1)) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + digit;
        }
        // #rrggbb reads as a pixel holds it, alpha aside.
        return image::Colour::fromPixel(QRgb(value));
    }

    const QList<QStringView> parts = text.split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    const auto red = readChannel(parts[0]);
    const auto green = readChannel(parts[1]);
    const auto blue = readChannel(parts[2]);
    if (!red || !green || !blue)
        return std::nullopt;
    return image::rgb(*red, *green, *blue);
}

QString colourText(image::Colour colour)
{
    return QStringLiteral("#%1").arg(colour.pixel() & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

} // namespace ops
