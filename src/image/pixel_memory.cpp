// SPDX-License-Identifier: MIT
#include "pixel_memory.h"

#include "page_prefault.h"

#include <cstdint>
#include <cstdlib>
#include <new>

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

// A block of pixel memory, freed when the last pixel memory and picture using it are gone.
// Large blocks come straight from the kernel, aligned to and marked for 2 MiB pages: on
// the virtual machines Pixmold meets, the first touch of each 4 KiB page costs a fault
// that makes filling fresh memory some 50 times slower than copying warm memory; a
// 2 MiB page takes one fault for 512 of them, and fewer misses of the address cache.
class PixelBlock {
public:
    explicit PixelBlock(size_t bytes) : m_bytes(bytes)
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

    ~PixelBlock()
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

    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;

    uchar* data() const
    {
        return m_data;
    }
    // At least those asked for.
    size_t bytes() const
    {
        return m_bytes;
    }

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

// A picture over `block` that keeps it alive for as long as the picture lives.
QImage pictureOver(const std::shared_ptr<PixelBlock>& block, int width, int height)
{
    auto* keep = new std::shared_ptr<PixelBlock>(block);
    QImage picture(
        block->data(), width, height, qsizetype(width) * qsizetype(sizeof(QRgb)), QImage::Format_RGB32,
        [](void* kept) { delete static_cast<std::shared_ptr<PixelBlock>*>(kept); }, keep);
    if (picture.isNull()) {
        delete keep;
        throw std::bad_alloc();
    }
    return picture;
}

} // namespace

void PixelMemory::reshape(int width, int height)
{
    Q_ASSERT(width > 0 && height > 0);
    const size_t bytes = size_t(width) * size_t(height) * sizeof(QRgb);
    const bool reusable
        = m_block && m_picture.isDetached() && m_block->bytes() >= bytes && m_block->bytes() / 4 <= bytes;
    std::shared_ptr<PixelBlock> block = reusable ? m_block : std::make_shared<PixelBlock>(bytes);
    m_picture = pictureOver(block, width, height);
    m_block = std::move(block);
}

} // namespace image
