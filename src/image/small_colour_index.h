// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QtGlobal>
#include <vector>

namespace image {

// The index of each of up to 256 colours (as opaque pixels, 0xFFRRGGBB), found with one
// multiplication and one read: the multiplier is picked so that no two of the colours
// share a slot of the 65536, and picked again where a new colour would. The row loops
// below use that to look up a pixel without a branch.
class SmallColourIndex {
public:
    SmallColourIndex();

    bool holds(QRgb pixel) const { return m_keys[slot(pixel)] == pixel; }
    uchar index(QRgb pixel) const { return uchar(m_values[slot(pixel)]); }

    // Adds a colour it does not hold yet.
    void add(QRgb pixel, uchar index);

    int size() const { return int(m_held.size()); }

    // The first x from `x` on whose pixel the index does not hold; `width` where none.
    int firstUnheld(const QRgb* line, int x, int width) const;

    // The indexes of a row's pixels, all held.
    void indexRow(uchar* out, const QRgb* line, int width) const;

    static constexpr int kSlotBits = 16;

private:
    quint32 slot(QRgb pixel) const { return (pixel * m_multiplier) >> (32 - kSlotBits); }
    bool place(QRgb pixel, uchar index);

    std::vector<QRgb> m_keys;      // 0, which no opaque pixel is, where free
    std::vector<quint32> m_values; // words, which the row loops can gather
    std::vector<std::pair<QRgb, uchar>> m_held;
    quint32 m_multiplier;
};

} // namespace image
