// SPDX-License-Identifier: MIT
#pragma once

#include <QRgb>
#include <cstdint>

namespace image {

// A colour as the program and its files speak of it: 0x00BBGGRR, red in the lowest
// byte. Surfaces store pixels as opaque QRgb (0xFFRRGGBB); the two forms meet only
// here, so that neither passes for the other.
class Colour {
public:
    constexpr Colour() = default; // black

    static constexpr Colour fromBgr(std::uint32_t bgr) { return Colour(bgr); }

    // A pixel's colour; its alpha is dropped.
    static constexpr Colour fromPixel(QRgb pixel)
    {
        return Colour((pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16);
    }

    constexpr std::uint32_t bgr() const { return m_bgr; }

    // The opaque pixel of this colour; what lies above its three channels is dropped.
    constexpr QRgb pixel() const
    {
        return 0xFF000000u | (m_bgr & 0xFFu) << 16 | (m_bgr & 0xFF00u) | (m_bgr >> 16 & 0xFFu);
    }

    constexpr int red() const { return int(m_bgr & 0xFFu); }
    constexpr int green() const { return int(m_bgr >> 8 & 0xFFu); }
    constexpr int blue() const { return int(m_bgr >> 16 & 0xFFu); }

    constexpr bool operator==(const Colour&) const = default;

private:
    constexpr explicit Colour(std::uint32_t bgr) : m_bgr(bgr) {}

    std::uint32_t m_bgr = 0;
};

// Each channel is taken modulo 256.
constexpr Colour rgb(int red, int green, int blue)
{
    return Colour::fromBgr(std::uint32_t(red & 0xFF) | std::uint32_t(green & 0xFF) << 8
                           | std::uint32_t(blue & 0xFF) << 16);
}

// What GetPixel answers outside a surface; equal to no colour a pixel can hold.
inline constexpr Colour kNoColour = Colour::fromBgr(0xFFFFFFFFu);

// The background of a picture box that has been given none: the working image's.
inline constexpr Colour kPictureBoxBackground = rgb(240, 240, 240);

} // namespace image
