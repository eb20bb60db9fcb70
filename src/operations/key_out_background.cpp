// SPDX-License-Identifier: MIT
#include "key_out_background.h"

#include "colour_bits.h"
#include "corner_background.h"
#include "image/row_loop.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace ops {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ops::KeyOutBackground", text);
}

// A run of background pixels along a row of a cell, [start, end), and the run it is
// joined to: runs that touch, row above to row below, are one region.
struct Run {
    int start;
    int end;
    int parent;
};

// A cell's runs, row by row. Run 0 stands for the cell's border: a region joined to it
// is keyed.
struct CellRuns {
    int left = 0;
    int right = 0;              // past the last column
    std::vector<Run> runs;      // after run 0, each row's runs left to right
    std::vector<int> rowStarts; // the first run of each row of the band; one more at the end

    int root(int i)
    {
        while (runs[i].parent != i) {
            runs[i].parent = runs[runs[i].parent].parent;
            i = runs[i].parent;
        }
        return i;
    }

    // The lower root stays: the border's region keeps run 0 as its root.
    void join(int a, int b)
    {
        a = root(a);
        b = root(b);
        if (a != b)
            runs[std::max(a, b)].parent = std::min(a, b);
    }
};

// 1 where a pixel is within `tolerance` of the background on every channel, else 0.
PIXMOLD_ROW_LOOP void flagBackground(std::uint8_t* flags, const QRgb* line, int width, QRgb background, int tolerance)
{
    const int red = int(background >> 16 & 0xFF);
    const int green = int(background >> 8 & 0xFF);
    const int blue = int(background & 0xFF);
    const unsigned span = 2u * unsigned(tolerance);
    for (int x = 0; x < width; ++x) {
        const QRgb p = line[x];
        const unsigned r = unsigned(int(p >> 16 & 0xFF) - red + tolerance);
        const unsigned g = unsigned(int(p >> 8 & 0xFF) - green + tolerance);
        const unsigned b = unsigned(int(p & 0xFF) - blue + tolerance);
        flags[x] = std::uint8_t((r <= span) & (g <= span) & (b <= span));
    }
}

std::uint64_t eightAt(const std::uint8_t* from)
{
    std::uint64_t bytes;
    std::memcpy(&bytes, from, sizeof bytes);
    return bytes;
}

// The first x from `x` to `end` whose flag is not `flag`; eight at a time through long runs.
int runEnd(const std::uint8_t* flags, int x, int end, std::uint8_t flag)
{
    const std::uint64_t same = flag ? 0x0101010101010101u : 0;
    while (x + 8 <= end && eightAt(flags + x) == same)
        x += 8;
    while (x < end && flags[x] == flag)
        ++x;
    return x;
}

// Adds the runs of one row of a cell and joins them to the touching runs of the row
// above and, where they lie on its edge, to the border.
void addRow(CellRuns& cell, const std::uint8_t* flags, bool edgeRow)
{
    const size_t rowsSoFar = cell.rowStarts.size() - 1;
    const int aboveEnd = cell.rowStarts.back();
    int a = rowsSoFar > 0 ? cell.rowStarts[rowsSoFar - 1] : aboveEnd;
    for (int x = cell.left; x < cell.right;) {
        x = runEnd(flags, x, cell.right, 0);
        if (x == cell.right)
            break;
        const int start = x;
        x = runEnd(flags, x, cell.right, 1);
        const int self = int(cell.runs.size());
        cell.runs.push_back({start, x, self});
        if (edgeRow || start == cell.left || x == cell.right)
            cell.join(0, self);
        // The runs above that share a column with this one, in order along the row.
        while (a < aboveEnd && cell.runs[a].end <= start)
            ++a;
        for (int b = a; b < aboveEnd && cell.runs[b].start < x; ++b)
            cell.join(b, self);
    }
    cell.rowStarts.push_back(int(cell.runs.size()));
}

// The sanitised edges of one axis: inside (0, extent), each after the one before, with
// 0 and extent around them.
std::vector<int> bounds(std::span<const int> edges, int extent)
{
    std::vector<int> result{0};
    for (const int edge : edges)
        if (edge > result.back() && edge < extent)
            result.push_back(edge);
    result.push_back(extent);
    return result;
}

} // namespace

Outcome keyOutBackground(image::Surface& work, image::Colour key, int tolerance, CellEdges cells, Progress& progress)
{
    if (tolerance < 0 || tolerance > 255)
        return Outcome::refused(tr("The tolerance must be a whole number from 0 to 255."));
    const std::optional<QRgb> background = cornerBackground(work);
    if (!background)
        return Outcome::refused(
            tr("The sheet has no background colour to key out: no three of its four corners share a colour."));
    const QRgb keyPixel = key.pixel();
    if (tolerance == 0 && (keyPixel & kColourBits) == *background)
        return Outcome::unchanged();

    progress.reached(0);
    const int width = work.width();
    const std::vector<int> columns = bounds(cells.columns, width);
    const std::vector<int> rows = bounds(cells.rows, work.height());
    try {
        std::vector<std::uint8_t> flags(size_t(width) + 8);
        std::vector<CellRuns> band(columns.size() - 1);
        for (size_t c = 0; c + 1 < columns.size(); ++c) {
            band[c].left = columns[c];
            band[c].right = columns[c + 1];
        }
        for (size_t r = 0; r + 1 < rows.size(); ++r) {
            const int top = rows[r];
            const int bottom = rows[r + 1];
            for (CellRuns& cell : band) {
                cell.runs.assign(1, Run{0, 0, 0});
                cell.rowStarts.assign(1, 1);
            }
            // The regions, read row by row across the band's cells without writing.
            for (int y = top; y < bottom; ++y) {
                flagBackground(flags.data(), std::as_const(work).row(y), width, *background, tolerance);
                for (CellRuns& cell : band)
                    addRow(cell, flags.data(), y == top || y == bottom - 1);
                progress.tick();
            }
            // The key over every run whose region reaches the border.
            for (int y = top; y < bottom; ++y) {
                QRgb* line = nullptr;
                for (CellRuns& cell : band) {
                    const int row = y - top;
                    for (int i = cell.rowStarts[row]; i < cell.rowStarts[row + 1]; ++i) {
                        if (cell.root(i) != 0)
                            continue;
                        if (!line)
                            line = work.row(y);
                        image::fillRow(line + cell.runs[i].start, cell.runs[i].end - cell.runs[i].start, keyPixel);
                    }
                }
                progress.tick();
            }
        }
    } catch (const std::bad_alloc&) {
        return Outcome::failed(tr("Not enough memory to key out the background of a sheet of %1 x %2 pixels.")
                                   .arg(width)
                                   .arg(work.height()));
    }
    progress.reached(80);
    return Outcome::changed();
}

} // namespace ops
