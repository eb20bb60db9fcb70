// SPDX-License-Identifier: MIT
#include "raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace image {

namespace {

// One axis of a stretch: for each destination index, the half-open range of source
// indices that land on it, already clipped to the source.
struct Span {
    int from = 0;
    int to = 0; // from == to: nothing lands here
};

// Destination index d of n takes source indices [floor(d*s/n), floor((d+1)*s/n)), or
// the single index floor(d*s/n) when that range is empty (enlarging repeats pixels).
std::vector<Span> stretchSpans(int destStart, int destCount, int destLimit,
                               int srcStart, int srcCount, int srcLimit, int& firstDest)
{
    const qint64 lo = std::max<qint64>(0, -qint64(destStart));
    const qint64 hi = std::min<qint64>(destCount, qint64(destLimit) - destStart);
    firstDest = int(std::max<qint64>(destStart, 0));
    std::vector<Span> spans;
    if (hi <= lo)
        return spans;
    spans.reserve(size_t(hi - lo));
    for (qint64 d = lo; d < hi; ++d) {
        qint64 from = d * srcCount / destCount;
        qint64 to = std::max(from + 1, (d + 1) * srcCount / destCount);
        from = std::clamp<qint64>(srcStart + from, 0, srcLimit);
        to = std::clamp<qint64>(srcStart + to, 0, srcLimit);
        spans.push_back({int(from), int(std::max(from, to))});
    }
    return spans;
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

void StretchBlt(Surface& dest, int x, int y, int w, int h,
                const Surface& src, int sx, int sy, int sw, int sh)
{
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    int firstColumn = 0;
    int firstRow = 0;
    const std::vector<Span> columns = stretchSpans(x, w, dest.width(), sx, sw, src.width(), firstColumn);
    const std::vector<Span> rows = stretchSpans(y, h, dest.height(), sy, sh, src.height(), firstRow);
    if (columns.empty() || rows.empty())
        return;

    // The source columns the destination reads, merged row by row into one line.
    const int readFrom = columns.front().from;
    const int readTo = std::max(readFrom, columns.back().to);
    if (readTo == readFrom)
        return; // every column's source lies outside the source
    std::vector<QRgb> merged(size_t(readTo - readFrom));

    for (size_t r = 0; r < rows.size(); ++r) {
        const Span rowSpan = rows[r];
        if (rowSpan.from == rowSpan.to)
            continue;
        std::memcpy(merged.data(), src.row(rowSpan.from) + readFrom, merged.size() * sizeof(QRgb));
        for (int sourceRow = rowSpan.from + 1; sourceRow < rowSpan.to; ++sourceRow) {
            const QRgb* line = src.row(sourceRow) + readFrom;
            for (size_t i = 0; i < merged.size(); ++i)
                merged[i] &= line[i];
        }
        QRgb* out = dest.row(firstRow + int(r)) + firstColumn;
        for (size_t c = 0; c < columns.size(); ++c) {
            const Span span = columns[c];
            if (span.from == span.to)
                continue;
            QRgb value = merged[size_t(span.from - readFrom)];
            for (int i = span.from + 1; i < span.to; ++i)
                value &= merged[size_t(i - readFrom)];
            out[c] = value;
        }
    }
}

Colour GetPixel(const Surface& surface, int x, int y)
{
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height())
        return kNoColour;
    return fromPixel(surface.row(y)[x]);
}

void SetPixel(Surface& surface, int x, int y, Colour colour)
{
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height())
        return;
    surface.row(y)[x] = toPixel(colour);
}

} // namespace image
