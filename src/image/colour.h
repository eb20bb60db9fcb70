// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <cstdint>

namespace image {

// A colour as the program talks about it: 0x00BBGGRR, red in the lowest byte.
using Colour = std::uint32_t;

// What GetPixel answers outside a surface; equal to no colour a pixel can hold.
inline constexpr Colour kNoColour = 0xFFFFFFFFu;

constexpr Colour rgb(int red, int green, int blue)
{
    return Colour(red & 0xFF) | Colour(green & 0xFF) << 8 | Colour(blue & 0xFF) << 16;
}

// The background of a picture box that has been given none: the working image's.
inline constexpr Colour kPictureBoxBackground = rgb(240, 240, 240);

// Surfaces store pixels as opaque QRgb (0xFFRRGGBB); these convert at the boundary.
constexpr QRgb toPixel(Colour c)
{
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

constexpr Colour fromPixel(QRgb p)
{
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}

} // namespace image
