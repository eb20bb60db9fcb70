// SPDX-License-Identifier: MIT
#include "colour_table.h"

#include <QCoreApplication>

#include <memory>
#include <new>

namespace image {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("image::ColourTable", text);
}

// The value a map holds for a colour the table lacks: its entry, marked as moved.
constexpr quint16 kMoved = 0x100;

// Every colour of the sheet and the key, counted once: a bit for each of 2^24.
qint64 countColours(const Surface& sheet, Colour key)
{
    constexpr size_t kWords = (size_t(1) << 24) / 64;
    const auto seen = std::make_unique<quint64[]>(kWords);
    qint64 count = 0;
    const auto see = [&](quint32 rgb) {
        quint64& word = seen[rgb >> 6];
        const quint64 bit = quint64(1) << (rgb & 63);
        count += (word & bit) == 0;
        word |= bit;
    };
    see(key.pixel() & 0xFFFFFFu);
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb* line = sheet.row(y);
        for (int x = 0; x < sheet.width(); ++x)
            see(line[x] & 0xFFFFFFu);
    }
    return count;
}

QString tooManyColours(const Surface& sheet, Colour key)
{
    qint64 colours = 0;
    try {
        colours = countColours(sheet, key);
    } catch (const std::bad_alloc&) {
        return tr("The picture has more than 256 colours, the key colour counted, too many for an 8-bit "
                  "bitmap. Choose a palette to map them onto (--palette in pixmold-batch).");
    }
    return tr("The picture has %1 colours, the key colour counted, too many for an 8-bit bitmap (256 at "
              "most). Choose a palette to map them onto (--palette in pixmold-batch).")
        .arg(colours);
}

} // namespace

Result<IndexedColours> sheetTable(const Surface& sheet, Colour key)
{
    IndexedColours result;
    auto& index = result.indexOf.emplace<SmallColourIndex>();
    result.table[0] = key;
    index.add(key.pixel(), 0);
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb* line = sheet.row(y);
        for (int x = 0; (x = index.firstUnheld(line, x, sheet.width())) < sheet.width(); ++x) {
            const int next = index.size();
            if (next == kTableEntries)
                return Failure{tooManyColours(sheet, key)};
            result.table[next] = Colour::fromPixel(line[x]);
            index.add(line[x] | 0xFF000000u, uchar(next));
        }
    }
    return result;
}

int nearestEntry(const ColourTable& table, Colour colour)
{
    for (int i = 0; i < kTableEntries; ++i)
        if (table[i] == colour)
            return i;
    int best = -1;
    qint64 bestDistance = 0;
    for (int i = 0; i < kTableEntries; ++i) {
        if (table[i] == table[0])
            continue;
        const auto square = [](int d) { return qint64(d) * d; };
        const qint64 distance = square(table[i].red() - colour.red()) + square(table[i].green() - colour.green())
            + square(table[i].blue() - colour.blue());
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

Result<IndexedColours> mapOntoTable(const Surface& sheet, const ColourTable& table)
{
    IndexedColours result;
    result.table = table;
    auto& indexOf = result.indexOf.emplace<ColourIndexMap>();
    // Runs of one colour cost one comparison a pixel.
    QRgb last = 0; // no opaque pixel
    int lastValue = 0;
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb* line = sheet.row(y);
        for (int x = 0; x < sheet.width(); ++x) {
            const QRgb pixel = line[x] | 0xFF000000u;
            if (pixel != last) {
                int value = indexOf.find(pixel);
                if (value < 0) {
                    const Colour colour = Colour::fromPixel(pixel);
                    const int entry = nearestEntry(table, colour);
                    if (entry < 0)
                        return Failure{tr("The palette holds no colour but the key colour, so the picture's "
                                          "other colours have nowhere to go.")};
                    value = table[entry] == colour ? entry : entry | kMoved;
                    indexOf.insert(pixel, quint16(value));
                }
                last = pixel;
                lastValue = value;
            }
            result.moved += lastValue >> 8;
        }
    }
    return result;
}

} // namespace image
