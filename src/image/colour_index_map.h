// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <QtGlobal>
#include <vector>

namespace image {

// From opaque pixels (0xFFRRGGBB) to small numbers, for the few hundred colours of an
// indexed picture: open addressing in a table kept at most a quarter full, and at first
// of 4096 slots, so that a look-up of one of 256 colours is nearly always one
// multiplication and one read of memory that stays in the cache.
class ColourIndexMap {
public:
    ColourIndexMap();

    // The value of `pixel`, or -1 where it has none.
    int find(QRgb pixel) const
    {
        for (quint32 i = slot(pixel);; i = (i + 1) & m_mask) {
            if (m_keys[i] == pixel)
                return m_values[i];
            if (m_keys[i] == kEmpty)
                return -1;
        }
    }

    // The value of a pixel the map is known to hold.
    int at(QRgb pixel) const
    {
        quint32 i = slot(pixel);
        while (m_keys[i] != pixel)
            i = (i + 1) & m_mask;
        return m_values[i];
    }

    // Gives `pixel`, which has none yet, its value.
    void insert(QRgb pixel, quint16 value);

    int size() const { return m_size; }

    // The low bytes of the values of a row's pixels, all held.
    void indexRow(uchar* out, const QRgb* line, int width) const;

private:
    // No opaque pixel is 0.
    static constexpr QRgb kEmpty = 0;

    quint32 slot(QRgb pixel) const { return (pixel * 0x9E3779B1u) >> m_shift; }
    void grow();

    std::vector<QRgb> m_keys;
    std::vector<quint16> m_values;
    quint32 m_mask = 0;
    int m_shift = 0;
    int m_size = 0;
};

} // namespace image
