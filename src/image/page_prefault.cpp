// SPDX-License-Identifier: MIT
#include "page_prefault.h"

#include <QtGlobal>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <exception>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace image {

struct PagePrefault::State {
    std::mutex mutex;
    std::condition_variable finished;
    bool stop = false;
    bool done = false;
};

PagePrefault::PagePrefault([[maybe_unused]] void* data, [[maybe_unused]] size_t bytes)
{
#if defined(Q_OS_LINUX) && defined(MADV_POPULATE_WRITE)
    // Detached, so that a finished helper leaves nothing behind while the block lives on.
    // No thread or memory to be had for it is no error: the writer takes every fault
    // itself, as it would anyway.
    try {
        auto state = std::make_shared<State>();
        std::thread([state, start = static_cast<char*>(data), bytes] {
            // A 2 MiB page at a time, so that a stop is seen soon.
            constexpr size_t kChunk = size_t(2) << 20;
            for (size_t end = bytes; end > 0;) {
                if (std::lock_guard lock(state->mutex); state->stop)
                    break;
                const size_t from = end - std::min(end, kChunk);
                if (::madvise(start + from, end - from, MADV_POPULATE_WRITE) != 0)
                    break; // an older kernel, or no memory left
                end = from;
            }
            std::lock_guard lock(state->mutex);
            state->done = true;
            state->finished.notify_all();
        }).detach();
        m_state = std::move(state);
    } catch (const std::exception&) {
    }
#endif
}

PagePrefault::~PagePrefault()
{
    if (!m_state)
        return;
    // The block is unmapped next: the helper must be out of it.
    std::unique_lock lock(m_state->mutex);
    m_state->stop = true;
    m_state->finished.wait(lock, [this] { return m_state->done; });
}

} // namespace image
