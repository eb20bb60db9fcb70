// SPDX-License-Identifier: MIT
#pragma once

#include "image/pixel_round.h"

#include <QRect>
#include <QSize>

namespace shell {

// Twips are the layout unit of the window: 1440 to the inch, 15 to a pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

inline int toPixels(float twips)
{
    return image::roundToPixel(double(twips) / double(kTwipsPerPixel));
}

inline QRect twipsRect(float left, float top, float width, float height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

inline constexpr float kMinWindowWidth = 4350.0f;
inline constexpr float kMinWindowHeight = 4695.0f;

// The window's size at start, menu bar included and frame excluded: a client area of
// 4230 x 3885 twips under the menu bar.
QSize startWindowSize(int menuBarHeight);

// The smallest size of the window, frame excluded, whose outer size is the minimum,
// for a frame (borders and title bar, both sides together) of `frame` pixels.
QSize minimumWindowSize(QSize frame);

// The sizes and positions a resize gives, in twips, as single-precision values.
struct WindowLayout {
    float windowWidth = 0, windowHeight = 0; // after the minimum size is applied
    float viewWidth = 0, viewHeight = 0;
    float vScrollLeft = 0, vScrollHeight = 0;
    float hScrollTop = 0, hScrollWidth = 0;
    float progressTop = 0, progressWidth = 0;
    float panelLeft = 0, panelTop = 0;
};

// Lays the window out for an outer size (frame, title and menu bar included) in twips.
// The viewport takes fixed fractions of the outer size; the scroll bars stand against
// its right and bottom edges, the progress bar under the horizontal bar, the Options
// panel on the viewport's corner.
WindowLayout layoutWindow(float outerWidth, float outerHeight);

} // namespace shell
