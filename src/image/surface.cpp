// SPDX-License-Identifier: MIT
#include "surface.h"

#include "page_prefault.h"
#include "row_loop.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

// AddressSanitizer sees overruns only in memory from its own allocator, so its builds
// take every block from malloc.
#if defined(__SANITIZE_ADDRESS__)
#define PIXMOLD_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PIXMOLD_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(Q_OS_LINUX) && !defined(PIXMOLD_ADDRESS_SANITIZER)
#define PIXMOLD_KERNEL_PAGES 1
#include <sys/mman.h>
#endif

namespace image {

// A block of pixel memory, freed when the last surface and picture using it are gone.
// Large blocks come straight from the kernel, aligned to and marked for 2 MiB pages: on
// the virtual machines Pixmold meets, the first touch of each 4 KiB page costs a fault
// that makes filling fresh memory some 50 times slower than copying warm memory; a
// 2 MiB page takes one fault for 512 of them, and fewer misses of the address cache.
class PixelMemory {
public:
    explicit PixelMemory(size_t bytes) : m_bytes(bytes)
    {
#ifdef PIXMOLD_KERNEL_PAGES
        if (bytes >= kHugePage) {
            // Whole 2 MiB pages, from the first 2 MiB boundary of a mapping one page longer.
            m_bytes = (bytes + kHugePage - 1) & ~(kHugePage - 1);
            const size_t mapped = m_bytes + kHugePage;
            void* start = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (start == MAP_FAILED)
                throw std::bad_alloc();
            const auto address = reinterpret_cast<std::uintptr_t>(start);
            const std::uintptr_t aligned = (address + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
            const size_t head = aligned - address;
            if (head > 0)
                ::munmap(start, head);
            if (const size_t tail = mapped - head - m_bytes; tail > 0)
                ::munmap(reinterpret_cast<void*>(aligned + m_bytes), tail);
            m_data = reinterpret_cast<uchar*>(aligned);
            m_mapped = true;
            ::madvise(m_data, m_bytes, MADV_HUGEPAGE);
            if (m_bytes >= kPrefaultBytes) {
                try {
                    m_prefault = std::make_unique<PagePrefault>(m_data, m_bytes);
                } catch (const std::bad_alloc&) {
                    // Only a help: the block is not given up for it.
                }
            }
            return;
        }
#endif
        m_data = static_cast<uchar*>(std::malloc(bytes));
        if (!m_data)
            throw std::bad_alloc();
    }

    ~PixelMemory()
    {
#ifdef PIXMOLD_KERNEL_PAGES
        if (m_mapped) {
            m_prefault.reset();
            ::munmap(m_data, m_bytes);
            return;
        }
#endif
        std::free(m_data);
    }

    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;

    uchar* data() const
    {
        return m_data;
    }
    size_t bytes() const
    {
        return m_bytes;
    } // at least those asked for

private:
    uchar* m_data = nullptr;
    size_t m_bytes = 0;
#ifdef PIXMOLD_KERNEL_PAGES
    static constexpr size_t kHugePage = size_t(2) << 20;
    // From here on a fresh block costs tens of milliseconds to fault in; a thread to help
    // costs a fraction of one.
    static constexpr size_t kPrefaultBytes = size_t(32) << 20;

    bool m_mapped = false;
    std::unique_ptr<PagePrefault> m_prefault;
#endif
};

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

size_t bytesFor(int width, int height)
{
    return size_t(width) * size_t(height) * sizeof(QRgb);
}

// A picture over `memory` that keeps it alive for as long as the picture lives.
QImage pictureOver(const std::shared_ptr<PixelMemory>& memory, int width, int height)
{
    auto* keep = new std::shared_ptr<PixelMemory>(memory);
    QImage picture(
        memory->data(), width, height, qsizetype(width) * qsizetype(sizeof(QRgb)), QImage::Format_RGB32,
        [](void* kept) { delete static_cast<std::shared_ptr<PixelMemory>*>(kept); }, keep);
    if (picture.isNull()) {
        delete keep;
        throw std::bad_alloc();
    }
    return picture;
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
    makeBlank(width, height);
}

QImage Surface::newPicture(int width, int height)
{
    Q_ASSERT(width > 0 && height > 0);
    Surface surface;
    surface.prepareOverwrite(width, height);
    return surface.picture();
}

void Surface::clear()
{
    makeBlank(m_width, m_height);
}

void Surface::setPixels(QImage pixels, std::shared_ptr<PixelMemory> memory, int width, int height)
{
    m_pixels = std::move(pixels);
    m_memory = std::move(memory);
    m_width = width;
    m_height = height;
}

// Memory for width x height pixels (which must have an area). With `reuse`, the
// surface's own where no one shares it and it is large enough, but not four times larger
// than needed: a surface that shrank for good should not hold on to its old size.
std::shared_ptr<PixelMemory> Surface::memoryFor(int width, int height, bool reuse) const
{
    const size_t bytes = bytesFor(width, height);
    if (reuse && m_memory && m_pixels.isDetached() && m_memory->bytes() >= bytes && m_memory->bytes() / 4 <= bytes)
        return m_memory;
    try {
        return std::make_shared<PixelMemory>(bytes);
    } catch (const std::bad_alloc&) {
        throw SurfaceError(noMemory(width, height));
    }
}

void Surface::prepareOverwrite(int width, int height)
{
    checkSize(width, height);
    if (width == 0 || height == 0) {
        setPixels({}, nullptr, width, height);
        return;
    }
    if (width == m_width && height == m_height && m_pixels.isDetached())
        return;
    std::shared_ptr<PixelMemory> memory = memoryFor(width, height, true);
    QImage pixels = pictureOver(memory, width, height);
    setPixels(std::move(pixels), std::move(memory), width, height);
}

void Surface::makeBlank(int width, int height)
{
    prepareOverwrite(width, height);
    for (int y = 0; y < m_height && m_width > 0; ++y)
        fillRow(row(y), m_width, backgroundPixel());
}

void Surface::resize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    checkSize(width, height);
    Surface resized(m_background);
    resized.prepareOverwrite(width, height);
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

QImage Surface::beginRewrite()
{
    if (m_pixels.isNull() || m_pixels.isDetached())
        return {};
    QImage old = m_pixels;
    std::shared_ptr<PixelMemory> memory = memoryFor(m_width, m_height, false);
    QImage pixels = pictureOver(memory, m_width, m_height);
    setPixels(std::move(pixels), std::move(memory), m_width, m_height);
    return old;
}

void Surface::swapPixels(Surface& other)
{
    std::swap(m_pixels, other.m_pixels);
    std::swap(m_memory, other.m_memory);
    std::swap(m_width, other.m_width);
    std::swap(m_height, other.m_height);
}

// Writing to shared pixels: the surface gets a copy of its own.
void Surface::copyShared()
{
    if (m_pixels.isNull())
        return;
    const QImage shared = beginRewrite();
    for (int y = 0; y < m_height; ++y)
        std::memcpy(m_pixels.scanLine(y), shared.constScanLine(y), size_t(m_width) * sizeof(QRgb));
}

void Surface::assign(const QImage& picture)
{
    checkSize(picture.width(), picture.height());
    // A picture already in the surface's form is shared, not copied: a loaded sheet
    // then needs its memory once, not twice.
    if (picture.format() == QImage::Format_RGB32 && isOpaque(picture)) {
        const bool empty = picture.width() == 0 || picture.height() == 0;
        setPixels(empty ? QImage() : picture, nullptr, picture.width(), picture.height());
        return;
    }
    const QImage converted
        = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    if (converted.isNull() && !picture.isNull())
        throw SurfaceError(noMemory(picture.width(), picture.height()));
    Surface pixels(m_background);
    pixels.prepareOverwrite(picture.width(), picture.height());
    for (int y = 0; y < pixels.height() && pixels.width() > 0; ++y)
        opaqueCopy(pixels.row(y), reinterpret_cast<const QRgb*>(converted.constScanLine(y)), pixels.width());
    swapPixels(pixels);
}

void Surface::restore(const QImage& snapshot)
{
    Q_ASSERT(snapshot.isNull() || snapshot.format() == QImage::Format_RGB32);
    setPixels(snapshot, nullptr, snapshot.width(), snapshot.height());
}

} // namespace image
