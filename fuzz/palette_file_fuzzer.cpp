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
        text += QByteArray::number(c.red()) + ' ' + QByteArray::number(c.green()) + ' ' + QByteArray::number(c.blue())
            + '\n';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Result<image::ColourTable> read = image::readPalette(bytes);
    if (!read) {
        require(read.error().startsWith(QLatin1String("line ")) || read.error().startsWith(QLatin1String("byte ")));
        return 0;
    }
    const image::ColourTable& table = *read;
    for (const image::Colour c : table)
        require(c.bgr() <= 0xFFFFFFu);
    const Result<image::ColourTable> again = image::readPalette(gimpText(table));
    require(again && *again == table);
    return 0;
}
