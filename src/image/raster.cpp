// SPDX-License-Identifier: MIT
#include "raster.h"

#include "row_loop.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <limits>

namespace image {

namespace {

// One axis of a stretch: for each destination index, the half-open range of source
// indices that land on it, already clipped to the source.
struct Span {
    int from = 0;
    int to = 0; // from == to: nothing lands here
};

// Room for the spans of a sprite cell without touching the heap.
using Spans = QVarLengthArray<Span, 256>;

// Destination index d of n takes source indices [floor(d*s/n), floor((d+1)*s/n)), or
// the single index floor(d*s/n) when that range is empty (enlarging repeats pixels).
// The floors are stepped along exactly, without a division per index.
void stretchSpans(Spans& spans, int destStart, int destCount, int destLimit, int srcStart, int srcCount, int srcLimit,
                  int& firstDest)
{
    const qint64 lo = std::max<qint64>(0, -qint64(destStart));
    const qint64 hi = std::min<qint64>(destCount, qint64(destLimit) - destStart);
    firstDest = int(std::max<qint64>(destStart, 0));
    spans.clear();
    if (hi <= lo)
        return;
    spans.reserve(qsizetype(hi - lo));
    const qint64 wholeStep = srcCount / destCount;
    const qint64 partStep = srcCount % destCount;
    // floor(d*s/n) = quotient, with d*s = quotient*n + remainder.
    qint64 quotient = lo * srcCount / destCount;
    qint64 remainder = lo * srcCount % destCount;
    for (qint64 d = lo; d < hi; ++d) {
        const qint64 start = quotient;
        quotient += wholeStep;
        remainder += partStep;
        if (remainder >= destCount) {
            remainder -= destCount;
            ++quotient;
        }
        const qint64 from = std::clamp<qint64>(srcStart + start, 0, srcLimit);
        const qint64 to = std::clamp<qint64>(srcStart + std::max(start + 1, quotient), 0, srcLimit);
        spans.push_back({int(from), int(std::max(from, to))});
    }
}

PIXMOLD_ROW_LOOP void andRow(QRgb* merged, const QRgb* line, int count)
{
    for (int i = 0; i < count; ++i)
        merged[i] &= line[i];
}

// Destination columns that merge at most this many source columns take the same
// branch-free steps: each merges exactly kGather, its first one repeated (x & x == x).
constexpr int kGather = 4;

// out[c] is the AND of line[index[k * count + c]] for k below `perColumn`.
PIXMOLD_ROW_LOOP void gatherColumns(QRgb* out, const QRgb* line, const int* index, int count, int perColumn)
{
    for (int c = 0; c < count; ++c)
        out[c] = line[index[c]];
    for (int k = 1; k < perColumn; ++k) {
        const int* next = index + qsizetype(k) * count;
        for (int c = 0; c < count; ++c)
            out[c] &= line[next[c]];
    }
}

} // namespace

void BitBlt(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy)
{
    // Work in 64 bits: callers may pass coordinates near the int limits.
    qint64 dx = x, dy = y, sxx = sx, syy = sy, cw = w, ch = h;
    auto clipStart = [](qint64& a, qint64& b, qint64& n) {
        const qint64 shift = std::max<qint64>({0, -a, -b});
        a += shift;
        b += shift;
        n -= shift;
    };
    clipStart(dx, sxx, cw);
    clipStart(dy, syy, ch);
    cw = std::min({cw, qint64(dest.width()) - dx, qint64(src.width()) - sxx});
    ch = std::min({ch, qint64(dest.height()) - dy, qint64(src.height()) - syy});
    if (cw <= 0 || ch <= 0)
        return;

    const size_t bytes = size_t(cw) * sizeof(QRgb);
    const bool sameSurface = &dest == &src;
    // Copy bottom-up when moving rows down within one surface, so no row is read
    // after it was overwritten.
    const bool bottomUp = sameSurface && dy > syy;
    for (qint64 i = 0; i < ch; ++i) {
        const qint64 row = bottomUp ? ch - 1 - i : i;
        QRgb* to = dest.row(int(dy + row)) + dx;
        const QRgb* from = src.row(int(syy + row)) + sxx;
        if (sameSurface)
            std::memmove(to, from, bytes);
        else
            std::memcpy(to, from, bytes);
    }
}

void StretchBlt(Surface& dest, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh)
{
    stretchCellRow(dest, {&x, 1}, y, w, h, src, {&sx, 1}, sy, sw, sh);
}

void stretchCellRow(Surface& dest, std::span<const int> destX, int y, int w, int h, const Surface& src,
                    std::span<const int> srcX, int sy, int sw, int sh)
{
    Q_ASSERT(destX.size() == srcX.size());
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    int firstRow = 0;
    Spans rows;
    stretchSpans(rows, y, h, dest.height(), sy, sh, src.height(), firstRow);
    if (rows.empty())
        return;

    // Where each cell writes in a destination row and what it merges there.
    struct Cell {
        int firstColumn = 0;
        int count = 0;
        int widest = 0;      // the most source columns one destination column merges
        qsizetype spans = 0; // the first of the cell's entries in `columns` or `index`
    };
    QVarLengthArray<Cell, 64> cells;
    Spans columns;
    QVarLengthArray<int, kGather * 256> index;
    int readFrom = std::numeric_limits<int>::max();
    int readTo = 0;
    Spans cellColumns;
    for (size_t i = 0; i < destX.size(); ++i) {
        Cell cell;
        stretchSpans(cellColumns, destX[i], w, dest.width(), srcX[i], sw, src.width(), cell.firstColumn);
        // Spans lie in order, so the columns that receive something are one run: those
        // whose source lies left or right of the source come first or last.
        qsizetype runFrom = 0;
        qsizetype runTo = cellColumns.size();
        while (runFrom < runTo && cellColumns[runFrom].from == cellColumns[runFrom].to)
            ++runFrom;
        while (runTo > runFrom && cellColumns[runTo - 1].from == cellColumns[runTo - 1].to)
            --runTo;
        if (runFrom == runTo)
            continue; // every column's source lies outside the source
        cell.firstColumn += int(runFrom);
        cell.count = int(runTo - runFrom);
        for (qsizetype c = runFrom; c < runTo; ++c)
            cell.widest = std::max(cell.widest, cellColumns[c].to - cellColumns[c].from);
        readFrom = std::min(readFrom, cellColumns[runFrom].from);
        readTo = std::max(readTo, cellColumns[runTo - 1].to);
        if (cell.widest <= kGather) {
            cell.spans = index.size();
            for (int k = 0; k < cell.widest; ++k) {
                for (qsizetype c = runFrom; c < runTo; ++c) {
                    const Span span = cellColumns[c];
                    index.append(k < span.to - span.from ? span.from + k : span.from);
                }
            }
        } else {
            cell.spans = columns.size();
            columns.append(cellColumns.constData() + runFrom, runTo - runFrom);
        }
        cells.append(cell);
    }
    if (cells.empty())
        return;
    // Offsets into the merged line rather than source columns.
    for (int& i : index)
        i -= readFrom;

    // The source columns the cells read, merged row by row into one line: the source is
    // read across the band, row after row.
    const int readCount = readTo - readFrom;
    QVarLengthArray<QRgb, 1024> merged;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const Span rowSpan = rows[r];
        if (rowSpan.from == rowSpan.to)
            continue;
        // A row enlarged onto several destination rows is merged once: the next ones
        // repeat it. Otherwise few source rows spread over many destination rows would
        // cost their count times the source's width.
        if (r > 0 && rows[r - 1].from == rowSpan.from && rows[r - 1].to == rowSpan.to) {
            const QRgb* const previous = dest.row(firstRow + int(r) - 1);
            QRgb* const out = dest.row(firstRow + int(r));
            for (const Cell& cell : cells)
                std::memcpy(out + cell.firstColumn, previous + cell.firstColumn, size_t(cell.count) * sizeof(QRgb));
            continue;
        }
        // A single source row is read where it lies.
        const QRgb* line = src.row(rowSpan.from) + readFrom;
        if (rowSpan.to - rowSpan.from > 1) {
            merged.resize(readCount);
            std::memcpy(merged.data(), line, size_t(readCount) * sizeof(QRgb));
            for (int sourceRow = rowSpan.from + 1; sourceRow < rowSpan.to; ++sourceRow)
                andRow(merged.data(), src.row(sourceRow) + readFrom, readCount);
            line = merged.data();
        }
        QRgb* const out = dest.row(firstRow + int(r));
        for (const Cell& cell : cells) {
            if (cell.widest <= kGather) {
                gatherColumns(out + cell.firstColumn, line, index.constData() + cell.spans, cell.count, cell.widest);
                continue;
            }
            for (int c = 0; c < cell.count; ++c) {
                const Span span = columns[cell.spans + c];
                QRgb value = line[span.from - readFrom];
                for (int i = span.from + 1; i < span.to; ++i)
                    value &= line[i - readFrom];
                out[cell.firstColumn + c] = value;
            }
        }
    }
}

Colour GetPixel(const Surface& surface, int x, int y)
{
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height())
        return kNoColour;
    return Colour::fromPixel(surface.row(y)[x]);
}

void SetPixel(Surface& surface, int x, int y, Colour colour)
{
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height())
        return;
    surface.row(y)[x] = colour.pixel();
}

} // namespace image
