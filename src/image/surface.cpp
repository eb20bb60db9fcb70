// SPDX-License-Identifier: MIT
#include "surface.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace image {

namespace {

void checkSize(int width, int height)
{
    if (width < 0 || height < 0)
        throw SurfaceError("Invalid picture size: " + std::to_string(width) + " x "
                           + std::to_string(height) + " pixels");
    if (qint64(width) * height > Surface::kMaxPixels)
        throw SurfaceError("Not enough memory for a picture of " + std::to_string(width)
                           + " x " + std::to_string(height) + " pixels");
}

QImage allocate(int width, int height)
{
    checkSize(width, height);
    if (width == 0 || height == 0)
        return {};
    QImage pixels(width, height, QImage::Format_RGB32);
    if (pixels.isNull())
        throw SurfaceError("Not enough memory for a picture of " + std::to_string(width)
                           + " x " + std::to_string(height) + " pixels");
    return pixels;
}

bool isOpaque(const QImage& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(line[x]) != 0xFF)
                return false;
        }
    }
    return true;
}

} // namespace

Surface::Surface(Colour background, int width, int height)
    : m_pixels(allocate(width, height))
    , m_width(width)
    , m_height(height)
    , m_background(background)
{
    clear();
}

void Surface::clear()
{
    if (!m_pixels.isNull())
        m_pixels.fill(backgroundPixel());
}

void Surface::resize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    QImage resized = allocate(width, height);
    if (!resized.isNull()) {
        resized.fill(backgroundPixel());
        const int keepWidth = std::min(width, m_width);
        // A surface without columns has no pixel rows to copy from.
        const int keepHeight = keepWidth > 0 ? std::min(height, m_height) : 0;
        for (int y = 0; y < keepHeight; ++y)
            std::memcpy(resized.scanLine(y), m_pixels.constScanLine(y), size_t(keepWidth) * sizeof(QRgb));
    }
    m_pixels = std::move(resized);
    m_width = width;
    m_height = height;
}

void Surface::assign(const QImage& picture)
{
    // A picture already in the surface's form is shared, not copied: a loaded sheet
    // then needs its memory once, not twice.
    if (picture.format() == QImage::Format_RGB32 && isOpaque(picture)) {
        checkSize(picture.width(), picture.height());
        m_pixels = picture.width() == 0 || picture.height() == 0 ? QImage() : picture;
        m_width = picture.width();
        m_height = picture.height();
        return;
    }
    QImage converted = picture.format() == QImage::Format_RGB32
        ? picture
        : picture.convertToFormat(QImage::Format_ARGB32);
    QImage pixels = allocate(converted.width(), converted.height());
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(converted.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            to[x] = from[x] | 0xFF000000u;
    }
    m_pixels = std::move(pixels);
    m_width = picture.width();
    m_height = picture.height();
}

void Surface::restore(const QImage& snapshot)
{
    Q_ASSERT(snapshot.isNull() || snapshot.format() == QImage::Format_RGB32);
    m_pixels = snapshot;
    m_width = snapshot.width();
    m_height = snapshot.height();
}

} // namespace image
