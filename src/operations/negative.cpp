// SPDX-License-Identifier: MIT
#include "negative.h"

#include "colour_bits.h"
#include "result_size.h"
#include "image/pixel_round.h"
#include "image/row_loop.h"
#include "scratch_surface.h"
#include "settings/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace ops {

namespace {

constexpr QRgb kBlack = image::rgb(0, 0, 0).pixel();
constexpr QRgb kWhite = image::rgb(255, 255, 255).pixel();

// One strip and where its block goes. Strip pixels come from the sheet as widened to
// the result's width (new columns in the sheet's background); a strip column that
// cannot be copied keeps the strip buffer's background, and so does the block's rest
// after the strip and its negative.
struct Strip {
    int from = 0;        // first sheet column of the strip
    int width = 0;       // strip width; its negative follows at this offset
    int sheetWidth = 0;  // the sheet's width before widening
    int bufferWidth = 0; // the widened width, also that of the strip buffer
    QRgb sheetBackground = 0;
    QRgb bufferBackground = 0;
};

// White where the strip is exactly black, black elsewhere.
PIXMOLD_ROW_LOOP void writeNegative(QRgb* out, const QRgb* strip, int count)
{
    for (int x = 0; x < count; ++x)
        out[x] = (strip[x] & kColourBits) == 0 ? kWhite : kBlack;
}

// Writes the first `count` columns of the strip buffer's row as it stands once strip
// and negative are made: the strip, its negative, then the buffer's background.
void writeBlockRow(QRgb* out, int count, const QRgb* sheetRow, const Strip& strip)
{
    const int copied = std::max(0, std::min(strip.width, strip.bufferWidth - strip.from));
    const int stripEnd = std::min(count, strip.width);
    const int sheetEnd = std::min(stripEnd, std::max(0, std::min(copied, strip.sheetWidth - strip.from)));
    const int widenedEnd = std::max(sheetEnd, std::min(stripEnd, copied));
    if (sheetEnd > 0)
        std::memcpy(out, sheetRow + strip.from, size_t(sheetEnd) * sizeof(QRgb));
    image::fillRow(out + sheetEnd, widenedEnd - sheetEnd, strip.sheetBackground);
    image::fillRow(out + widenedEnd, stripEnd - widenedEnd, strip.bufferBackground);

    const int negativeEnd = int(std::min<qint64>(count, 2 * qint64(strip.width)));
    if (negativeEnd > strip.width)
        writeNegative(out + strip.width, out, negativeEnd - strip.width);
    const int blockEnd = std::max(stripEnd, negativeEnd);
    image::fillRow(out + blockEnd, count - blockEnd, strip.bufferBackground);
}

// The result's width before rounding: twice n strips of W / n, in single precision.
float negativeWidth(double n, int sheetWidth)
{
    return float(2 * (n * (double(sheetWidth) / n)));
}

} // namespace

Outcome makeNegative(image::Surface& work, image::Surface& scratch, image::Surface& scratch2,
                     const CountAnswer& columns, Progress& progress)
{
    const int sheetWidth = work.width();
    // Below one column there is no strip; past the sheet's width strips are narrower
    // than a pixel.
    if (!(columns.numeric >= 1 && columns.numeric <= sheetWidth))
        return Outcome::refused(
            QStringLiteral("This sheet can be split into 1 to %1 animation columns.").arg(sheetWidth));

    // The wider sheet must fit a surface; refused before anything changes.
    if (columns.strict) {
        if (const auto checked = checkResultSize(negativeWidth(*columns.strict, sheetWidth), work.height()); !checked)
            return Outcome::refused(checked.error());
    }

    progress.reached(0);
    try {
        if (!columns.strict) {
            scratch.clear();
            scratch2.clear();
            return Outcome::failed(settings::typeMismatchText());
        }
        const double n = *columns.strict;
        const double w = double(sheetWidth) / n;
        const int height = work.height();
        const int newWidth = image::roundToPixel(negativeWidth(n, sheetWidth));
        // Both are written whole, row by row, below.
        fitScratch(scratch2, newWidth, height, progress);
        const bool blankStrip = fitScratch(scratch, newWidth, height, progress);
        progress.reached(20);

        Strip strip;
        strip.width = image::roundToPixel(w);
        strip.sheetWidth = sheetWidth;
        strip.bufferWidth = newWidth;
        strip.sheetBackground = work.backgroundPixel();
        strip.bufferBackground = scratch.backgroundPixel();

        // Where each strip is read and its block placed; later blocks cover earlier ones.
        struct Block {
            int from, at, count;
        };
        std::vector<Block> blocks;
        std::vector<bool> covered(size_t(newWidth), false);
        const int blockWidth = image::roundToPixel(2 * w);
        bool hasMiddle = false;
        const double middle = std::floor(columns.numeric - 1) / 2;
        for (double k = 0; k <= n - 1; ++k) {
            const int at = image::roundToPixel(k * (2 * w));
            const int count = std::max(0, std::min(blockWidth, newWidth - at));
            blocks.push_back({image::roundToPixel(k * w), at, count});
            std::fill_n(covered.begin() + std::min(at, newWidth), count, true);
            hasMiddle = hasMiddle || k == middle;
        }
        // Runs of columns that no block reaches: they stay at the background.
        std::vector<std::pair<int, int>> gaps;
        for (int x = 0; x < newWidth; ++x) {
            if (covered[size_t(x)])
                continue;
            if (!gaps.empty() && gaps.back().second == x)
                gaps.back().second = x + 1;
            else
                gaps.emplace_back(x, x + 1);
        }

        // Row by row rather than strip by strip: the same pixels, read and written in
        // order. The sheet is replaced only at the end; until then its rows are read.
        const QRgb resultBackground = scratch2.backgroundPixel();
        const int kept = int(std::min<qint64>(newWidth, 2 * qint64(strip.width)));
        qint64 pending = 0;
        for (int y = 0; y < height && newWidth > 0; ++y) {
            if (hasMiddle && y == height / 2)
                progress.reached(50);
            const QRgb* sheetRow = std::as_const(work).row(y); // shared pixels are only read
            QRgb* line = scratch2.row(y);
            for (const Block& block : blocks) {
                strip.from = block.from;
                writeBlockRow(line + block.at, block.count, sheetRow, strip);
            }
            for (const auto& [from, to] : gaps)
                image::fillRow(line + from, to - from, resultBackground);

            // The strip buffer keeps the last strip and its negative.
            QRgb* buffer = scratch.row(y);
            writeBlockRow(buffer, kept, sheetRow, strip);
            if (!blankStrip)
                image::fillRow(buffer + kept, newWidth - kept, strip.bufferBackground);

            pending += newWidth;
            if (pending >= 65536) {
                progress.tick();
                pending = 0;
            }
        }
        progress.reached(70);

        // The result is the assembled sheet: the working image shares its pixels until
        // either is written.
        image::Surface result = scratch2;
        work.swapPixels(result);
        return Outcome::changed();
    } catch (const image::SurfaceError& error) {
        scratch.clear();
        scratch2.clear();
        return Outcome::failed(QString::fromStdString(error.what()));
    } catch (const std::bad_alloc&) {
        scratch.clear();
        scratch2.clear();
        return Outcome::failed(QStringLiteral("Not enough memory to make the negative."));
    }
}

} // namespace ops
