// SPDX-License-Identifier: MIT
#include "animated_gif.h"

#include "pixel_round.h"
#include "play_order.h"
#include "replacing_save.h"

#include <QCoreApplication>
#include <QHash>

#include <gif_lib.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::AnimatedGif", text);
}

constexpr int kMaxColours = 256;

// The colours of the row's cells, the key first, each with its index in the table.
struct RowColours {
    QList<QRgb> table;
    QHash<QRgb, int> index;

    int add(QRgb pixel)
    {
        if (const auto found = index.constFind(pixel); found != index.constEnd())
            return *found;
        index.insert(pixel, int(table.size()));
        table.append(pixel);
        return int(table.size()) - 1;
    }
};

RowColours rowColours(const Surface& sheet, const QList<QRect>& cells, QRgb key)
{
    RowColours colours;
    colours.add(key);
    for (const QRect& cell : cells)
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            const QRgb* line = sheet.row(y);
            // Runs of one colour are common in sprites: look each run up once.
            QRgb last = key;
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (line[x] != last)
                    colours.add(last = line[x]);
        }
    return colours;
}

// The table giflib writes: a power of two from 2 entries, black after the colours.
std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> colourMap(const QList<QRgb>& table)
{
    const int size = int(std::bit_ceil(unsigned(std::max<qsizetype>(2, table.size()))));
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(size, nullptr), &GifFreeMapObject);
    if (!map)
        return map;
    for (int i = 0; i < size; ++i) {
        const QRgb colour = i < table.size() ? table[i] : 0;
        map->Colors[i]
            = GifColorType{GifByteType(qRed(colour)), GifByteType(qGreen(colour)), GifByteType(qBlue(colour))};
    }
    return map;
}

// giflib hands over the file's bytes as it makes them.
int appendBytes(GifFileType* gif, const GifByteType* bytes, int size)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), size);
    return size;
}

struct CloseGif {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};

// Writes the whole file through `gif`; false where giflib failed, its Error saying why.
bool putAnimation(GifFileType* gif, const Surface& sheet, const AnimatedRow& row, const RowColours& colours)
{
    const auto map = colourMap(colours.table);
    if (!map)
        return false;
    int screenWidth = 0;
    int screenHeight = 0;
    for (const QRect& cell : row.cells) {
        screenWidth = std::max(screenWidth, cell.width());
        screenHeight = std::max(screenHeight, cell.height());
    }
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map.get()) == GIF_ERROR)
        return false;

    // The NETSCAPE2.0 application block: a loop count of 0 plays for ever.
    static const GifByteType kLoopForever[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR
        || EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR
        || EGifPutExtensionBlock(gif, sizeof kLoopForever, kLoopForever) == GIF_ERROR
        || EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return false;

    // Each frame is cleared to the background before the next, so a transparent pixel
    // never shows the frame before it.
    const GraphicsControlBlock control{DISPOSE_BACKGROUND, false, gifFrameDelay(row.framesPerSecond), 0};
    GifByteType controlBytes[4];
    EGifGCBToExtension(&control, controlBytes);

    std::vector<GifPixelType> line(static_cast<size_t>(screenWidth));
    for (const int frame : playOrder(int(row.cells.size()), row.pingPong)) {
        const QRect& cell = row.cells[frame];
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof controlBytes, controlBytes) == GIF_ERROR
            || EGifPutImageDesc(gif, 0, 0, cell.width(), cell.height(), false, nullptr) == GIF_ERROR)
            return false;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            const QRgb* pixels = sheet.row(y) + cell.left();
            for (int x = 0; x < cell.width(); ++x)
                line[size_t(x)] = GifPixelType(colours.index.value(pixels[x]));
            if (EGifPutLine(gif, line.data(), cell.width()) == GIF_ERROR)
                return false;
        }
    }
    return true;
}

} // namespace

int gifFrameDelay(int framesPerSecond)
{
    return roundToPixel(roundHalfToEven(100.0 / framesPerSecond));
}

Result<QByteArray> encodeAnimatedGif(const Surface& sheet, const AnimatedRow& row)
{
    if (row.framesPerSecond < kMinFramesPerSecond || row.framesPerSecond > kMaxFramesPerSecond)
        return Failure{tr("The frames per second must be a whole number from %1 to %2.")
                           .arg(kMinFramesPerSecond)
                           .arg(kMaxFramesPerSecond)};
    if (row.cells.isEmpty())
        return Failure{tr("The row has no cells to animate.")};
    const QRect whole(0, 0, sheet.width(), sheet.height());
    for (const QRect& cell : row.cells)
        if (cell.isEmpty() || !whole.contains(cell))
            return Failure{tr("A cell of the row lies outside the sheet.")};

    const RowColours colours = rowColours(sheet, row.cells, row.key.pixel());
    if (colours.table.size() > kMaxColours)
        return Failure{tr("The row has %1 colours, the key colour counted, too many for a GIF (%2 at most).")
                           .arg(colours.table.size())
                           .arg(kMaxColours)};

    QByteArray bytes;
    int error = 0;
    std::unique_ptr<GifFileType, CloseGif> gif(EGifOpen(&bytes, &appendBytes, &error));
    if (!gif)
        return Failure{tr("The GIF could not be made: %1").arg(QString::fromUtf8(GifErrorString(error)))};
    const bool made = putAnimation(gif.get(), sheet, row, colours);
    error = gif->Error;
    // Closing writes the trailer and frees the file, whatever it returns.
    if (made && EGifCloseFile(gif.release(), &error) != GIF_ERROR)
        return bytes;
    return Failure{tr("The GIF could not be made: %1").arg(QString::fromUtf8(GifErrorString(error)))};
}

Result<void> writeAnimatedGif(const Surface& sheet, const AnimatedRow& row, const QString& path)
{
    const auto encoded = encodeAnimatedGif(sheet, row);
    if (!encoded)
        return Failure{encoded.error()};
    const QByteArray& bytes = *encoded;
    return saveReplacing(path, [&](QFileDevice& file) {
        return writeAll(file, reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    });
}

} // namespace image
