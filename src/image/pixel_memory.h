// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <memory>

namespace image {

class PixelBlock;

// The memory under a surface's pixels: an RGB32 picture and, where the memory was found
// here, the block under it, which can be taken again for another size: fresh memory is
// slow to touch, warm memory is not. Instances share nothing but the blocks under
// pictures that are shared, so that threads working on pixel memories of their own never
// meet.
class PixelMemory {
public:
    PixelMemory() = default;

    // Pixels from elsewhere (Qt's own, or a picture a surface gave out): never reused.
    explicit PixelMemory(QImage picture) : m_picture(std::move(picture)) {}

    // Gives the picture width x height pixels (both positive), their values unspecified,
    // in memory no other picture shares: the block held where no one shares it and it is
    // large enough, but not four times larger than needed (a surface that shrank for good
    // should not hold on to its old size); a new block otherwise. Throws std::bad_alloc,
    // leaving the memory as it was.
    void reshape(int width, int height);

    // Null while there are no pixels.
    const QImage& picture() const { return m_picture; }
    QImage& picture() { return m_picture; }

private:
    QImage m_picture;
    std::shared_ptr<PixelBlock> m_block; // under m_picture; null where it is Qt's own
};

} // namespace image
