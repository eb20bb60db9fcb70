// SPDX-License-Identifier: MIT
#include "surface.h"

#include "row_loop.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace image {

namespace {

std::string noMemory(int width, int height)
{
    return "Not enough memory for a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

void checkSize(int width, int height)
{
    if (width < 0 || height < 0)
        throw SurfaceError("Invalid picture size: " + std::to_string(width) + " x " + std::to_string(height)
                           + " pixels");
    if (qint64(width) * height > Surface::kMaxPixels)
        throw SurfaceError(noMemory(width, height));
}

// Gives `pixels` width x height pixels of their own, unwritten.
void reshape(PixelMemory& pixels, int width, int height)
{
    try {
        pixels.reshape(width, height);
    } catch (const std::bad_alloc&) {
        throw SurfaceError(noMemory(width, height));
    }
}

PIXMOLD_ROW_LOOP bool opaqueRow(const QRgb* line, int count)
{
    QRgb all = 0xFFFFFFFFu;
    for (int x = 0; x < count; ++x)
        all &= line[x];
    return qAlpha(all) == 0xFF;
}

PIXMOLD_ROW_LOOP void opaqueCopy(QRgb* to, const QRgb* from, int count)
{
    for (int x = 0; x < count; ++x)
        to[x] = from[x] | 0xFF000000u;
}

bool isOpaque(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        if (!opaqueRow(reinterpret_cast<const QRgb*>(picture.constScanLine(y)), picture.width()))
            return false;
    }
    return true;
}

} // namespace

PIXMOLD_ROW_LOOP void fillRow(QRgb* line, int count, QRgb pixel)
{
    for (int x = 0; x < count; ++x)
        line[x] = pixel;
}

Surface::Surface(Colour background, int width, int height) : m_background(background)
{
    resizeBlank(width, height);
}

QImage Surface::unfilledPicture(int width, int height)
{
    Q_ASSERT(width > 0 && height > 0);
    Surface surface;
    surface.resizeUnfilled(width, height);
    return surface.picture();
}

void Surface::clear()
{
    resizeBlank(m_width, m_height);
}

void Surface::setPixels(PixelMemory pixels, int width, int height)
{
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
}

void Surface::resizeUnfilled(int width, int height)
{
    checkSize(width, height);
    if (width == 0 || height == 0) {
        setPixels({}, width, height);
        return;
    }
    if (width == m_width && height == m_height && m_pixels.picture().isDetached())
        return;
    reshape(m_pixels, width, height);
    m_width = width;
    m_height = height;
}

void Surface::resizeBlank(int width, int height)
{
    resizeUnfilled(width, height);
    for (int y = 0; y < m_height && m_width > 0; ++y)
        fillRow(row(y), m_width, backgroundPixel());
}

void Surface::resize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    checkSize(width, height);
    Surface resized(m_background);
    resized.resizeUnfilled(width, height);
    const int keepWidth = std::min(width, m_width);
    // A surface without columns has no pixel rows to copy from.
    const int keepHeight = keepWidth > 0 ? std::min(height, m_height) : 0;
    const QRgb background = backgroundPixel();
    const Surface& old = *this; // read only: shared pixels need no copy of their own
    for (int y = 0; y < keepHeight; ++y) {
        QRgb* line = resized.row(y);
        std::memcpy(line, old.row(y), size_t(keepWidth) * sizeof(QRgb));
        fillRow(line + keepWidth, width - keepWidth, background);
    }
    for (int y = keepHeight; y < height && width > 0; ++y)
        fillRow(resized.row(y), width, background);
    swapPixels(resized);
}

QImage Surface::pixelsBeforeRewrite()
{
    if (m_pixels.picture().isNull() || m_pixels.picture().isDetached())
        return {};
    QImage old = m_pixels.picture();
    reshape(m_pixels, m_width, m_height);
    return old;
}

void Surface::swapPixels(Surface& other)
{
    std::swap(m_pixels, other.m_pixels);
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
}

// Writing to shared pixels: the surface gets a copy of its own.
void Surface::copyShared()
{
    if (m_pixels.picture().isNull())
        return;
    const QImage shared = pixelsBeforeRewrite();
    QImage& own = m_pixels.picture();
    for (int y = 0; y < m_height; ++y)
        std::memcpy(own.scanLine(y), shared.constScanLine(y), size_t(m_width) * sizeof(QRgb));
}

void Surface::assign(const QImage& picture)
{
    checkSize(picture.width(), picture.height());
    // A picture already in the surface's form is shared, not copied: a loaded sheet
    // then needs its memory once, not twice.
    if (picture.format() == QImage::Format_RGB32 && isOpaque(picture)) {
        const bool empty = picture.width() == 0 || picture.height() == 0;
        setPixels(PixelMemory(empty ? QImage() : picture), picture.width(), picture.height());
        return;
    }
    const QImage converted
        = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    if (converted.isNull() && !picture.isNull())
        throw SurfaceError(noMemory(picture.width(), picture.height()));
    Surface pixels(m_background);
    pixels.resizeUnfilled(picture.width(), picture.height());
    for (int y = 0; y < pixels.height() && pixels.width() > 0; ++y)
        opaqueCopy(pixels.row(y), reinterpret_cast<const QRgb*>(converted.constScanLine(y)), pixels.width());
    swapPixels(pixels);
}

void Surface::restore(const QImage& snapshot)
{
    Q_ASSERT(snapshot.isNull() || snapshot.format() == QImage::Format_RGB32);
    setPixels(PixelMemory(snapshot), snapshot.width(), snapshot.height());
}

} // namespace image
