// SPDX-License-Identifier: MIT
#include "indexed_bitmap_save.h"

#include "bottom_up_rows.h"
#include "indexed_bitmap_layout.h"
#include "replacing_save.h"

#include <QBuffer>
#include <QFileDevice>
#include <QtEndian>

namespace image {

namespace {

Result<IndexedColours> indexColours(const Surface& surface, const IndexedTableChoice& choice)
{
    return choice.palette ? mapOntoTable(surface, *choice.palette) : sheetTable(surface, choice.key);
}

// The headers of the 24-bit layout, with what an 8-bit file says otherwise.
void writeIndexedHeaders(uchar* bytes, const Surface& surface, const ColourTable& table)
{
    using namespace bitmap_field;
    const QImage& picture = surface.picture();
    writePlainBitmapHeader(bytes, surface.width(), surface.height(), picture.dotsPerMeterX(), picture.dotsPerMeterY());
    const quint32 dataSize = quint32(indexedRowBytes(surface.width()) * surface.height());
    qToLittleEndian<quint32>(kIndexedDataOffset + dataSize, bytes + kFileSize);
    qToLittleEndian<quint32>(kIndexedDataOffset, bytes + kDataOffset);
    qToLittleEndian<quint16>(kIndexedBitsPerPixel, bytes + kBitsPerPixel);
    qToLittleEndian<quint32>(dataSize, bytes + kDataSize);
    qToLittleEndian<quint32>(kTableEntries, bytes + kColoursUsed);
    uchar* entry = bytes + kBitmapHeadersSize;
    for (const Colour colour : table) {
        entry[0] = uchar(colour.blue());
        entry[1] = uchar(colour.green());
        entry[2] = uchar(colour.red());
        entry[3] = 0;
        entry += kTableEntryBytes;
    }
}

// The headers, then the rows bottom-up (see writeRowsBottomUp for `saved`). False where
// a write failed; the target's errorString says why.
bool writeIndexedBytes(const Surface& surface, const IndexedColours& colours, QIODevice& target,
                       const QFileDevice* saved)
{
    uchar head[kIndexedDataOffset];
    writeIndexedHeaders(head, surface, colours.table);
    const int width = surface.width();
    return writeAll(target, head, kIndexedDataOffset)
        && writeRowsBottomUp(target, saved, surface.height(), indexedRowBytes(width), [&](uchar* bytes, int y) {
               std::visit([&](const auto& index) { index.indexRow(bytes, surface.row(y), width); }, colours.indexOf);
           });
}

} // namespace

Result<qint64> writeIndexedBitmap(const Surface& surface, const QString& path, const IndexedTableChoice& choice)
{
    if (const auto pixels = checkPixelsToSave(surface); !pixels)
        return Failure{pixels.error()};
    const Result<IndexedColours> colours = indexColours(surface, choice);
    if (!colours)
        return Failure{colours.error()};
    if (const auto saved
        = saveReplacing(path, [&](QFileDevice& file) { return writeIndexedBytes(surface, *colours, file, &file); });
        !saved)
        return Failure{saved.error()};
    return colours->moved;
}

Result<IndexedBytes> encodeIndexedBitmap(const Surface& surface, const IndexedTableChoice& choice)
{
    if (const auto pixels = checkPixelsToSave(surface); !pixels)
        return Failure{pixels.error()};
    const Result<IndexedColours> colours = indexColours(surface, choice);
    if (!colours)
        return Failure{colours.error()};
    IndexedBytes result{QByteArray(), colours->moved};
    QBuffer buffer(&result.bytes);
    buffer.open(QIODevice::WriteOnly);
    writeIndexedBytes(surface, *colours, buffer, nullptr); // a buffer takes every write
    return result;
}

} // namespace image
