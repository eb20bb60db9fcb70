// SPDX-License-Identifier: MIT
#include "page_prefault.h"

#include <QtGlobal>

#include <algorithm>
#include <system_error>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace image {

PagePrefault::PagePrefault([[maybe_unused]] void* data, [[maybe_unused]] size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    const auto populate = [this, start = static_cast<char*>(data), bytes] {
        // A 2 MiB page at a time, so that a stop is seen soon.
        constexpr size_t kChunk = size_t(2) << 20;
        for (size_t end = bytes; end > 0 && !m_stop.load(std::memory_order_relaxed);) {
            const size_t from = end - std::min(end, kChunk);
            if (::madvise(start + from, end - from, MADV_POPULATE_WRITE) != 0)
                return; // an older kernel, or no memory left: the writer faults them itself
            end = from;
        }
    };
    try {
        m_thread = std::thread(populate);
    } catch (const std::system_error&) {
        // No thread to be had: the writer takes every fault itself, as it would anyway.
    }
#endif
}

PagePrefault::~PagePrefault()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace image
