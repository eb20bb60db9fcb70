// SPDX-License-Identifier: MIT
// The palette reader on any bytes: a table, or a reason that names its line or byte; and
// a table read once reads the same again from the GIMP text that lists it.
#include "image/palette_file.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QByteArray gimpText(const image::ColourTable& table)
{
    QByteArray text = "GIMP Palette\nName: again\n";
    for (const image::Colour c : table)
        text += QByteArray::number(c & 0xFF) + ' ' + QByteArray::number(c >> 8 & 0xFF) + ' '
            + QByteArray::number(c >> 16 & 0xFF) + '\n';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto read = image::readPalette(bytes);
    if (const QString* reason = std::get_if<QString>(&read)) {
        require(reason->startsWith(QLatin1String("line ")) || reason->startsWith(QLatin1String("byte ")));
        return 0;
    }
    const image::ColourTable& table = std::get<image::ColourTable>(read);
    for (const image::Colour c : table)
        require(c <= 0xFFFFFFu);
    const auto again = image::readPalette(gimpText(table));
    require(std::holds_alternative<image::ColourTable>(again) && std::get<image::ColourTable>(again) == table);
    return 0;
}
