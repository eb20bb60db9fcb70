// SPDX-License-Identifier: MIT
#include "file_filters.h"

#include <QHash>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>

namespace shell {

namespace {

const QString kBitmapFilter = QStringLiteral("Windows Bitmap (*.bmp)");

// Qt's format names with the name users know and every suffix the files carry.
struct KnownFormat {
    const char* name;
    const char* filter;
};
constexpr KnownFormat kKnownFormats[] = {
    {"png", "PNG (*.png)"},
    {"jpeg", "JPEG (*.jpg *.jpeg)"},
    {"gif", "GIF (*.gif)"},
    {"ico", "Windows Icon (*.ico)"},
    {"cur", "Windows Cursor (*.cur)"},
    {"pbm", "Portable Bitmap (*.pbm)"},
    {"pgm", "Portable Graymap (*.pgm)"},
    {"ppm", "Portable Pixmap (*.ppm)"},
    {"xbm", "X11 Bitmap (*.xbm)"},
    {"xpm", "X11 Pixmap (*.xpm)"},
    {"svg", "SVG (*.svg)"},
    {"tiff", "TIFF (*.tif *.tiff)"},
    {"webp", "WebP (*.webp)"},
};
// Other names of formats listed above.
const QSet<QByteArray> kAliases{"bmp", "jpg", "tif", "svgz"};

} // namespace

QStringList openFilters()
{
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QStringList formats;
    QSet<QByteArray> named;
    for (const KnownFormat& format : kKnownFormats) {
        if (readable.contains(format.name)) {
            formats.append(QString::fromLatin1(format.filter));
            named.insert(format.name);
        }
    }
    for (const QByteArray& format : readable) {
        if (named.contains(format) || kAliases.contains(format))
            continue;
        const QString suffix = QString::fromLatin1(format);
        formats.append(QStringLiteral("%1 (*.%2)").arg(suffix.toUpper(), suffix));
    }
    // One filter for every picture, so that a sheet of any format is one click away.
    static const QRegularExpression patterns(QStringLiteral("\\((.*)\\)"));
    QStringList everySuffix{QStringLiteral("*.bmp")};
    for (const QString& filter : std::as_const(formats))
        everySuffix.append(patterns.match(filter).captured(1));
    QStringList filters{kBitmapFilter, QStringLiteral("All pictures (%1)").arg(everySuffix.join(QLatin1Char(' ')))};
    filters.append(formats);
    filters.append(QStringLiteral("All files (*)"));
    return filters;
}

QStringList saveFilters()
{
    return {kBitmapFilter, QStringLiteral("PNG (*.png)"), QStringLiteral("8-bit indexed bitmap (*.bmp)")};
}

QStringList paletteFilters()
{
    return {QStringLiteral("Palettes (*.gpl *.pal *.act *.bmp)"), QStringLiteral("All files (*)")};
}

QString filterSuffix(const QString& filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.(\\w+)"));
    return firstPattern.match(filter).captured(1);
}

} // namespace shell
