// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>

namespace image {

// Faults in a new block of memory from its end towards its start, on a thread of its
// own, while its user writes it from the start. On the virtual machines Pixmold meets,
// the first touch of memory costs many times a copy of it, and the two threads take those
// faults side by side. Only the page tables change: what is written stays. Does nothing
// where the kernel cannot populate memory on request.
class PagePrefault {
public:
    PagePrefault(void* data, size_t bytes);
    ~PagePrefault(); // stops the helper and waits for the chunk under way

    PagePrefault(const PagePrefault&) = delete;
    PagePrefault& operator=(const PagePrefault&) = delete;

private:
    struct State;
    std::shared_ptr<State> m_state; // shared with the helper, which ends on its own
};

} // namespace image
