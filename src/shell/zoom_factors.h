// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <array>

namespace shell {

// The factors the view zooms by, smallest first; 1 shows one screen pixel a picture pixel.
inline constexpr std::array<int, 8> kZoomFactors{1, 2, 3, 4, 6, 8, 12, 16};

// The next factor up, or the largest.
inline int largerZoom(int factor)
{
    const auto next = std::upper_bound(kZoomFactors.begin(), kZoomFactors.end(), factor);
    return next == kZoomFactors.end() ? kZoomFactors.back() : *next;
}

// The next factor down, or the smallest.
inline int smallerZoom(int factor)
{
    const auto next = std::lower_bound(kZoomFactors.begin(), kZoomFactors.end(), factor);
    return next == kZoomFactors.begin() ? kZoomFactors.front() : *(next - 1);
}

} // namespace shell
