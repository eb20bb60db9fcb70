// SPDX-License-Identifier: MIT
#include "small_colour_index.h"

#include "row_loop.h"

namespace image {

namespace {

constexpr quint32 kFirstMultiplier = 0x9E3779B1u;

// Odd multipliers one after another, from a full-period sequence.
quint32 nextMultiplier(quint32 multiplier)
{
    return (multiplier * 0x5851F42Du + 0x14057B7Fu) | 1u;
}

constexpr int kShift = 32 - SmallColourIndex::kSlotBits;

// Eight pixels at a time without a branch inside, so that the look-ups overlap.
PIXMOLD_ROW_LOOP int unheldFrom(const QRgb* line, int x, int width, const QRgb* keys, quint32 multiplier)
{
    for (; x + 8 <= width; x += 8) {
        unsigned missing = 0;
        for (int k = 0; k < 8; ++k) {
            const QRgb pixel = line[x + k] | 0xFF000000u;
            missing |= keys[(pixel * multiplier) >> kShift] != pixel;
        }
        if (missing)
            break;
    }
    for (; x < width; ++x) {
        const QRgb pixel = line[x] | 0xFF000000u;
        if (keys[(pixel * multiplier) >> kShift] != pixel)
            return x;
    }
    return width;
}

PIXMOLD_ROW_LOOP void indexesOf(uchar* __restrict out, const QRgb* __restrict line, int width,
                                const quint32* __restrict values, quint32 multiplier)
{
    for (int x = 0; x < width; ++x)
        out[x] = uchar(values[((line[x] | 0xFF000000u) * multiplier) >> kShift]);
}

} // namespace

SmallColourIndex::SmallColourIndex()
    : m_keys(size_t(1) << kSlotBits, 0), m_values(size_t(1) << kSlotBits, 0), m_multiplier(kFirstMultiplier)
{
}

bool SmallColourIndex::place(QRgb pixel, uchar index)
{
    QRgb& key = m_keys[slot(pixel)];
    if (key != 0)
        return false;
    key = pixel;
    m_values[slot(pixel)] = index;
    return true;
}

void SmallColourIndex::add(QRgb pixel, uchar index)
{
    m_held.emplace_back(pixel, index);
    if (place(pixel, index))
        return;
    // Two colours share a slot: another multiplier, until none do (for 256 colours in
    // 65536 slots, about two tries).
    // Clearing the slots of every colour under the multiplier that failed empties them all.
    for (bool placed = false; !placed;) {
        for (const auto& [held, value] : m_held)
            m_keys[slot(held)] = 0;
        m_multiplier = nextMultiplier(m_multiplier);
        placed = true;
        for (size_t i = 0; i < m_held.size() && placed; ++i)
            placed = place(m_held[i].first, m_held[i].second);
    }
}

int SmallColourIndex::firstUnheld(const QRgb* line, int x, int width) const
{
    return unheldFrom(line, x, width, m_keys.data(), m_multiplier);
}

void SmallColourIndex::indexRow(uchar* out, const QRgb* line, int width) const
{
    indexesOf(out, line, width, m_values.data(), m_multiplier);
}

} // namespace image
