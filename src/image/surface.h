// SPDX-License-Identifier: MIT
#pragma once

#include "colour.h"
#include "pixel_memory.h"

#include <QImage>
#include <stdexcept>

namespace image {

// Raised by a surface that cannot take the size asked of it (negative, or more than
// memory allows). The surface is left as it was.
class SurfaceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fuzzing builds lower the surface limit so that their tries reach the refusals quickly.
#ifdef PIXMOLD_MAX_PIXELS
inline constexpr qint64 kMaxSurfacePixels = PIXMOLD_MAX_PIXELS;
#else
inline constexpr qint64 kMaxSurfacePixels = qint64(1) << 28;
#endif

// A picture box's pixels: width x height, origin top-left, with a background colour.
// What is drawn stays until drawn over. Pixels are held as opaque QRgb (0xFFRRGGBB)
// rows, one after the other, so that whole-row work runs at memory speed; the checked
// per-pixel calls are the free functions in raster.h.
//
// Copies of a surface, and pictures taken from it, share its pixels until one side
// writes. A surface keeps its memory when it changes size where it can (PixelMemory
// says when): fresh memory is slow to touch, warm memory is not.
class Surface {
public:
    // Larger surfaces are refused rather than risk the machine's memory: 16384 x 16384.
    static constexpr qint64 kMaxPixels = kMaxSurfacePixels;

    explicit Surface(Colour background = {}, int width = 0, int height = 0);

    // An RGB32 picture in the memory surfaces use, its pixels unspecified: for a reader
    // that fills it, before a surface takes it. Throws as resize(); width and height
    // must be positive.
    static QImage unfilledPicture(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    Colour background() const { return m_background; }
    QRgb backgroundPixel() const { return m_background.pixel(); }

    // Fills every pixel with the background colour.
    void clear();

    // Keeps the pixels that stay inside in place from the top-left; new area gets the
    // background colour. Throws SurfaceError for a negative or too large size.
    void resize(int width, int height);
    void setHeight(int height) { resize(m_width, height); }

    // Gives the surface the size asked with every pixel's value unspecified, for a
    // caller that writes them all next: nothing is copied or filled. Throws as resize().
    void resizeUnfilled(int width, int height);

    // What clearing and then resizing leaves, in one pass: every pixel the background.
    // Throws as resize().
    void resizeBlank(int width, int height);

    // For a pass that computes every pixel from its old value, row by row: the pixels the
    // pass reads. Where they are shared (an undo step holds them), the surface moves to
    // memory of its own, unwritten, and the old picture is returned; otherwise the result
    // is null and the pass reads the rows it writes. Either way nothing is copied first.
    [[nodiscard]] QImage pixelsBeforeRewrite();

    // Exchanges the pixels, and so the sizes, of two surfaces; each keeps its background.
    void swapPixels(Surface& other);

    // Takes a picture's pixels and size; alpha is dropped, colour channels kept as stored.
    // An opaque RGB32 picture is shared until either side is written. Throws SurfaceError
    // for a picture above kMaxPixels.
    void assign(const QImage& picture);

    // Takes a picture a surface gave out through picture(): shared, not copied.
    void restore(const QImage& snapshot);

    // Unchecked row access; y must lie in [0, height). Writing rows first gives the
    // surface pixels of its own, copying them where they are shared.
    QRgb* row(int y)
    {
        if (!m_pixels.picture().isDetached())
            copyShared();
        return reinterpret_cast<QRgb*>(m_pixels.picture().scanLine(y));
    }
    const QRgb* row(int y) const { return reinterpret_cast<const QRgb*>(m_pixels.picture().constScanLine(y)); }

    // The whole surface as an RGB32 picture (null while the surface has no area).
    // Shares the pixels until either side is written.
    const QImage& picture() const { return m_pixels.picture(); }

private:
    void setPixels(PixelMemory pixels, int width, int height);
    void copyShared();

    PixelMemory m_pixels;
    int m_width = 0;
    int m_height = 0;
    Colour m_background;
};

} // namespace image
