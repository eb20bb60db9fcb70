// SPDX-License-Identifier: MIT
#include "sprite_size.h"

#include "number_text.h"

#include <cmath>
#include <limits>

namespace settings {

namespace {

// Only the space character is trimmed here; the numeric reading skips the other blanks.
QStringView trimSpaces(const QString& text)
{
    QStringView view(text);
    while (!view.isEmpty() && view.front() == u' ')
        view = view.sliced(1);
    while (!view.isEmpty() && view.back() == u' ')
        view.chop(1);
    return view;
}

} // namespace

Result<SpriteSize> readSpriteSize(const QString& widthText, const QString& heightText)
{
    const double width = std::floor(readNumber(trimSpaces(widthText)));
    if (!std::isfinite(width))
        return Failure{QStringLiteral("The sprite width is too large.")};

    const double height = std::floor(readNumber(trimSpaces(heightText)));
    if (!(height >= std::numeric_limits<qint16>::min() && height <= std::numeric_limits<qint16>::max()))
        return Failure{QStringLiteral("The sprite height must be a whole number from -32768 to 32767.")};

    SpriteSize size;
    size.width = width == 0 ? 0.0 : width; // no negative zero from "-0.0"
    size.height = static_cast<qint16>(height);
    return size;
}

} // namespace settings
