// SPDX-License-Identifier: MIT
#include "colour_index_map.h"

#include <utility>

namespace image {

namespace {

// 4096 slots: a full 8-bit table's 256 colours fill a sixteenth of them.
constexpr int kFirstBits = 12;

} // namespace

ColourIndexMap::ColourIndexMap()
    : m_keys(size_t(1) << kFirstBits, kEmpty), m_values(size_t(1) << kFirstBits, 0),
      m_mask((quint32(1) << kFirstBits) - 1), m_shift(32 - kFirstBits)
{
}

void ColourIndexMap::insert(QRgb pixel, quint16 value)
{
    if (4 * qint64(m_size + 1) > qint64(m_mask) + 1)
        grow();
    quint32 at = slot(pixel);
    while (m_keys[at] != kEmpty)
        at = (at + 1) & m_mask;
    m_keys[at] = pixel;
    m_values[at] = value;
    ++m_size;
}

void ColourIndexMap::indexRow(uchar* out, const QRgb* line, int width) const
{
    // Sprite sheets hold long runs of one colour: a run costs one look-up.
    QRgb last = 0; // no opaque pixel
    uchar index = 0;
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = line[x] | 0xFF000000u;
        if (pixel != last) {
            last = pixel;
            index = uchar(at(pixel));
        }
        out[x] = index;
    }
}

void ColourIndexMap::grow()
{
    std::vector<QRgb> keys(m_keys.size() * 2, kEmpty);
    std::vector<quint16> values(m_values.size() * 2, 0);
    std::swap(keys, m_keys);
    std::swap(values, m_values);
    m_mask = m_mask * 2 + 1;
    --m_shift;
    m_size = 0;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] != kEmpty)
            insert(keys[i], values[i]);
}

} // namespace image
