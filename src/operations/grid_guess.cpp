// SPDX-License-Identifier: MIT
#include "grid_guess.h"

#include "colour_bits.h"
#include "corner_background.h"
#include "image/row_loop.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <span>
#include <utility>
#include <vector>

namespace ops {

namespace {

using Bits = std::uint8_t;
using Count = std::uint32_t;

// Narrower or lower cells hold no sprite worth the name, only noise.
constexpr int kMinCell = 4;
// Background lines a sheet may have to spare past its last cell, at the right or bottom.
constexpr int kMaxSpare = 8;
// An axis that more cell counts than this fit shows too little to choose between them.
constexpr int kMaxFits = 16;
// A cell with fewer pixels than this holds stray specks, not a sprite, and a grid that
// gives them a cell of their own is drawn around noise.
constexpr int kSpecks = 8;

// Which pixels differ from the background: a bit each, eight rows to a byte, and the
// counts along both axes that say where sprites stop.
struct Foreground {
    int width = 0;
    int height = 0;
    int groups = 0;               // of eight rows
    std::unique_ptr<Bits[]> bits; // byte g * width + x: bit k is pixel (x, 8g + k)
    std::vector<Count> rowCount;  // pixels of each row that differ
    std::vector<Count> rowCross;  // those of them below one that differs too
    std::vector<Count> columnCount;
    std::vector<Count> columnCross; // those right of one that differs too

    const Bits* group(int g) const { return bits.get() + std::size_t(g) * width; }
};

// Flags the pixels of a row that differ from the background (0xFF, else 0) and puts them
// into its group as bit `bit`; counts them, and those under a flag of the row above. The
// counts add up in byte lanes, a piece of the row at a time so that none overflows.
PIXMOLD_ROW_LOOP void scanRow(Bits* group, Bits* flags, const Bits* above, const QRgb* line, int width, QRgb background,
                              int bit, Count& count, Count& cross)
{
    const Bits mine = Bits(1u << bit);
    const Bits kept = bit == 0 ? 0 : 0xFF; // the bits of the rows above in the group
    count = 0;
    cross = 0;
    for (int start = 0; start < width; start += 128) {
        const int end = std::min(width, start + 128);
        Bits pieceCount = 0;
        Bits pieceCross = 0;
        for (int x = start; x < end; ++x) {
            const Bits flag = ((line[x] ^ background) & kColourBits) != 0 ? 0xFF : 0;
            flags[x] = flag;
            group[x] = Bits((group[x] & kept) | (flag & mine));
            pieceCount += flag & 1;
            pieceCross += flag & above[x] & 1;
        }
        count += pieceCount;
        cross += pieceCross;
    }
}

// The bits set in a byte, in a form that vectorises.
constexpr Bits bitCount(Bits b)
{
    b = Bits((b & 0x55) + (b >> 1 & 0x55));
    b = Bits((b & 0x33) + (b >> 2 & 0x33));
    return Bits((b & 0x0F) + (b >> 4));
}

PIXMOLD_ROW_LOOP void countGroup(const Bits* group, int width, Count* count, Count* cross)
{
    for (int x = 0; x < width; ++x)
        count[x] += bitCount(group[x]);
    for (int x = 1; x < width; ++x)
        cross[x] += bitCount(group[x - 1] & group[x]);
}

// Spans of bytes a cell wide are read eight bytes at a time.
constexpr std::uint64_t kEveryByte = 0x0101010101010101u;

inline std::uint64_t eightAt(const Bits* from)
{
    std::uint64_t bytes;
    std::memcpy(&bytes, from, sizeof bytes);
    return bytes;
}

// The bits of `keep` that are set in a span, counted.
inline int bitsIn(const Bits* from, int count, Bits keep)
{
    int bits = 0;
    int x = 0;
    for (; x + 8 <= count; x += 8)
        bits += std::popcount(eightAt(from + x) & kEveryByte * keep);
    for (; x < count; ++x)
        bits += std::popcount(unsigned(from[x] & keep));
    return bits;
}

// The bits set in any byte of a span.
inline Bits orAll(const Bits* from, int count)
{
    std::uint64_t any = 0;
    int x = 0;
    for (; x + 8 <= count; x += 8)
        any |= eightAt(from + x);
    for (; x < count; ++x)
        any |= from[x];
    any |= any >> 32;
    any |= any >> 16;
    any |= any >> 8;
    return Bits(any);
}

// The bytes of a span whose bit `a` is set along with bit `b` of the other span's byte.
inline int bothIn(const Bits* first, int a, const Bits* second, int b, int count)
{
    int both = 0;
    int x = 0;
    for (; x + 8 <= count; x += 8)
        both += std::popcount(eightAt(first + x) >> a & eightAt(second + x) >> b & kEveryByte);
    for (; x < count; ++x)
        both += first[x] >> a & second[x] >> b & 1;
    return both;
}

// The one pass over the pixels, a row at a time.
Foreground scan(const image::Surface& sheet, QRgb background)
{
    Foreground f;
    f.width = sheet.width();
    f.height = sheet.height();
    f.groups = (f.height + 7) / 8;
    f.bits = std::make_unique<Bits[]>(std::size_t(f.groups) * f.width);
    f.rowCount.resize(f.height);
    f.rowCross.resize(f.height);
    f.columnCount.resize(f.width);
    f.columnCross.resize(f.width);
    std::vector<Bits> flags(f.width);
    std::vector<Bits> above(f.width, 0);
    for (int y = 0; y < f.height; ++y) {
        Bits* group = f.bits.get() + std::size_t(y / 8) * f.width;
        scanRow(group, flags.data(), above.data(), sheet.row(y), f.width, background, y % 8, f.rowCount[y],
                f.rowCross[y]);
        if (y % 8 == 7 || y == f.height - 1)
            countGroup(group, f.width, f.columnCount.data(), f.columnCross.data());
        std::swap(flags, above);
    }
    return f;
}

// An axis cut into `cells` equal cells of `size` lines, the rest spare.
struct Fit {
    int cells;
    int size;
};

// The ways an axis can be cut into equal cells whose inner edges all fall where sprites
// stop and whose spare lines are background; a count of cells may come with more than
// one size. None where too many counts fit to choose.
std::vector<Fit> fits(std::span<const Count> count, std::span<const Count> cross)
{
    const int length = int(count.size());
    int used = length;
    while (used > 0 && count[used - 1] == 0)
        --used;
    if (used == 0)
        return {};
    // Sprites may touch their cells' edges in places, now and then both sides at once: a
    // line between sprites continues few pixels of the line before, against most where
    // it crosses sprites, or few against the fullest line.
    const std::uint64_t fullest = *std::max_element(count.begin(), count.end());
    const auto between = [&](int line) {
        const std::uint64_t crossing = cross[line];
        return 2 * crossing <= std::min(count[line - 1], count[line]) || 8 * crossing <= fullest;
    };
    std::vector<Fit> found;
    int counts = 0;
    for (int cells = 1; cells <= length / kMinCell; ++cells) {
        const std::size_t earlier = found.size();
        for (int size = length / cells; size >= kMinCell && length - cells * size <= kMaxSpare && cells * size >= used;
             --size) {
            int edge = size;
            while (edge < cells * size && between(edge))
                edge += size;
            if (edge >= cells * size)
                found.push_back({cells, size});
            // One cell has no inner edge, and the spare lines it leaves out are empty.
            if (cells == 1)
                break;
        }
        counts += found.size() > earlier;
        if (counts > kMaxFits)
            return {};
    }
    return found;
}

PIXMOLD_ROW_LOOP void orInto(Bits* to, const Bits* from, int width, Bits keep)
{
    for (int x = 0; x < width; ++x)
        to[x] |= from[x] & keep;
}

// The bits of group g that stand for rows top to bottom (not included).
Bits rowsOfGroup(int g, int top, int bottom)
{
    const int from = std::max(top - g * 8, 0);
    const int to = std::min(bottom - g * 8, 8);
    return Bits((1u << to) - (1u << from));
}

// For the first `bands` bands of rows, the columns that hold foreground in each: a byte
// per column, non-zero where one does.
void columnsOfBands(const Foreground& f, Fit rows, int bands, std::vector<Bits>& columns)
{
    columns.assign(std::size_t(bands) * f.width, 0);
    for (int band = 0; band < bands; ++band) {
        const int top = band * rows.size;
        const int bottom = top + rows.size;
        for (int g = top / 8; g * 8 < bottom; ++g)
            orInto(columns.data() + std::size_t(band) * f.width, f.group(g), f.width, rowsOfGroup(g, top, bottom));
    }
}

// Eight bytes, 1 where the byte's bit is set.
constexpr auto kBytesOfBits = [] {
    std::array<std::uint64_t, 256> bytes{};
    for (unsigned bits = 0; bits < 256; ++bits)
        for (int k = 0; k < 8; ++k)
            bytes[bits] |= std::uint64_t(bits >> k & 1) << 8 * k;
    return bytes;
}();

// For the first `bands` bands of columns, the rows that hold foreground in each: a byte
// per row, 1 where one does, groups * 8 rows to a band.
PIXMOLD_ROW_LOOP void rowsOfBands(const Foreground& f, Fit columns, int bands, std::vector<Bits>& rows)
{
    const std::size_t length = std::size_t(f.groups) * 8;
    rows.resize(bands * length);
    for (int g = 0; g < f.groups; ++g) {
        for (int band = 0; band < bands; ++band) {
            const std::uint64_t bytes = kBytesOfBits[orAll(f.group(g) + band * columns.size, columns.size)];
            std::memcpy(rows.data() + band * length + g * 8, &bytes, sizeof bytes);
        }
    }
}

// Non-zero at the first line of each cell.
std::vector<Bits> cellStarts(Fit cells)
{
    std::vector<Bits> starts(std::size_t(cells.cells) * cells.size, 0);
    for (int cell = 0; cell < cells.cells; ++cell)
        starts[std::size_t(cell) * cells.size] = 1;
    return starts;
}

// The runs of lines that hold foreground along a band, each cell's edge ending one.
PIXMOLD_ROW_LOOP int partsAlong(const Bits* line, const Bits* starts, int length)
{
    int parts = line[0] != 0;
    for (int x = 1; x < length; ++x)
        parts += (line[x] != 0) & ((starts[x] != 0) | (line[x - 1] == 0));
    return parts;
}

// Whether no cell of a band holds foreground in two places with background between them
// along the band: two sprites, where one cell should hold one.
PIXMOLD_ROW_LOOP bool oneInEachCell(const Bits* line, Fit cells, const std::vector<Bits>& starts)
{
    int filled = 0;
    for (int cell = 0; cell < cells.cells; ++cell)
        filled += orAll(line + std::size_t(cell) * cells.size, cells.size) != 0;
    return partsAlong(line, starts.data(), cells.cells * cells.size) == filled;
}

// Whether the grids' cells hold one sprite each: a yes in `stands` (a row fit after
// another, the column fits within) stays where no cell holds two. A first look at a few
// bands of each grid closes most that are wrong; those still open are then seen whole.
void keepOneInACell(const Foreground& f, std::span<const Fit> rowFits, std::span<const Fit> columnFits,
                    std::vector<char>& stands)
{
    constexpr int kFirstLook = 2;
    const auto grid = [&](std::size_t r, std::size_t c) -> char& { return stands[r * columnFits.size() + c]; };
    std::vector<std::vector<Bits>> rowStarts;
    for (const Fit rows : rowFits)
        rowStarts.push_back(cellStarts(rows));
    std::vector<std::vector<Bits>> columnStarts;
    for (const Fit columns : columnFits)
        columnStarts.push_back(cellStarts(columns));
    std::vector<Bits> bands;
    // One direction's pass: the bands across each `along` fit, seen against every
    // `across` fit still open; `at` names the grid by (along, across).
    const auto pass = [&](int look, std::span<const Fit> along, std::span<const Fit> across,
                          const std::vector<std::vector<Bits>>& acrossStarts, const auto& at,
                          void (*makeBands)(const Foreground&, Fit, int, std::vector<Bits>&), std::size_t stride) {
        for (std::size_t a = 0; a < along.size(); ++a) {
            const int seen = std::min(look, along[a].cells);
            bool open = false;
            for (std::size_t b = 0; b < across.size(); ++b)
                open = open || at(a, b);
            if (!open)
                continue;
            makeBands(f, along[a], seen, bands);
            for (std::size_t b = 0; b < across.size(); ++b)
                for (int band = 0; at(a, b) && band < seen; ++band)
                    at(a, b) = oneInEachCell(bands.data() + std::size_t(band) * stride, across[b], acrossStarts[b]);
        }
    };
    const auto byColumn = [&](std::size_t c, std::size_t r) -> char& { return grid(r, c); };
    for (const int look : {kFirstLook, std::numeric_limits<int>::max()}) {
        pass(look, rowFits, columnFits, columnStarts, grid, columnsOfBands, std::size_t(f.width));
        pass(look, columnFits, rowFits, rowStarts, byColumn, rowsOfBands, std::size_t(f.groups) * 8);
    }
}

// Whether the sprites on the two sides of each inner edge of each cell meet along at most
// a third of it: touching in places, where a sprite across the edge meets itself all along.
PIXMOLD_ROW_LOOP bool edgesClear(const Foreground& f, Fit rows, Fit columns)
{
    std::vector<int> met(columns.cells); // along the left edge of each cell of a band
    for (int top = 0; top < rows.cells * rows.size; top += rows.size) {
        std::fill(met.begin(), met.end(), 0);
        for (int g = top / 8; g * 8 < top + rows.size; ++g) {
            const Bits* group = f.group(g);
            const Bits keep = rowsOfGroup(g, top, top + rows.size);
            for (int cell = 1, edge = columns.size; cell < columns.cells; ++cell, edge += columns.size)
                met[cell] += bitCount(Bits(group[edge - 1] & group[edge] & keep));
        }
        if (std::any_of(met.begin(), met.end(), [&](int m) { return 3 * m > rows.size; }))
            return false;
    }
    for (int edge = rows.size; edge < rows.cells * rows.size; edge += rows.size) {
        const Bits* above = f.group((edge - 1) / 8);
        const Bits* below = f.group(edge / 8);
        for (int left = 0; left < columns.cells * columns.size; left += columns.size)
            if (3 * bothIn(above + left, (edge - 1) % 8, below + left, edge % 8, columns.size) > columns.size)
                return false;
    }
    return true;
}

// Whether every cell holds a sprite or nothing.
PIXMOLD_ROW_LOOP bool noSpecks(const Foreground& f, Fit rows, Fit columns)
{
    std::vector<int> pixels(columns.cells);
    for (int top = 0; top < rows.cells * rows.size; top += rows.size) {
        std::fill(pixels.begin(), pixels.end(), 0);
        for (int g = top / 8; g * 8 < top + rows.size; ++g) {
            const auto inRows = rowsOfGroup(g, top, top + rows.size);
            for (int cell = 0; cell < columns.cells; ++cell)
                pixels[cell] += bitsIn(f.group(g) + cell * columns.size, columns.size, inRows);
        }
        if (std::any_of(pixels.begin(), pixels.end(), [](int n) { return n > 0 && n < kSpecks; }))
            return false;
    }
    return true;
}

} // namespace

std::optional<GridGuess> guessGrid(const image::Surface& sheet)
{
    const int width = sheet.width();
    const int height = sheet.height();
    if (width < kMinCell || height < kMinCell)
        return std::nullopt;
    const std::optional<QRgb> background = cornerBackground(sheet);
    if (!background)
        return std::nullopt;

    try {
        const Foreground f = scan(sheet, *background);
        // Sprites stand apart, or at least clear of the sheet's edges, on a line of
        // background somewhere; noise leaves none.
        if (std::find(f.rowCount.begin(), f.rowCount.end(), 0u) == f.rowCount.end()
            && std::find(f.columnCount.begin(), f.columnCount.end(), 0u) == f.columnCount.end())
            return std::nullopt;
        const std::vector<Fit> rowFits = fits(f.rowCount, f.rowCross);
        const std::vector<Fit> columnFits = fits(f.columnCount, f.columnCross);
        // Every pair of fits is a grid; the one that stands gives the guess.
        std::vector<char> stands(rowFits.size() * columnFits.size(), 1);
        keepOneInACell(f, rowFits, columnFits, stands);
        std::optional<GridGuess> guess;
        for (std::size_t i = 0; i < stands.size(); ++i) {
            const Fit rows = rowFits[i / columnFits.size()];
            const Fit columns = columnFits[i % columnFits.size()];
            if (!stands[i] || !edgesClear(f, rows, columns) || !noSpecks(f, rows, columns))
                continue;
            if (guess && *guess != GridGuess{rows.cells, columns.cells})
                return std::nullopt;
            guess = GridGuess{rows.cells, columns.cells};
        }
        return guess;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

} // namespace ops
