// SPDX-License-Identifier: MIT
#include "window_layout.h"

namespace shell {

namespace {

// Used with all their digits; the products are narrowed to single precision.
constexpr double kWidthFraction = 0.83710407239819;
constexpr double kHeightFraction = 0.667731629392971;

// Where the controls stand before any resize, in twips (client coordinates).
constexpr float kViewLeft = 120, kViewTop = 240;
constexpr float kHScrollHeight = 255;

} // namespace

QSize startWindowSize(int menuBarHeight)
{
    return {toPixels(4230), toPixels(3885) + menuBarHeight};
}

QSize minimumWindowSize(QSize frame)
{
    return QSize(toPixels(kMinWindowWidth), toPixels(kMinWindowHeight)) - frame;
}

WindowLayout layoutWindow(float outerWidth, float outerHeight)
{
    WindowLayout layout;
    layout.windowWidth = outerWidth < kMinWindowWidth ? kMinWindowWidth : outerWidth;
    layout.windowHeight = outerHeight < kMinWindowHeight ? kMinWindowHeight : outerHeight;

    layout.viewWidth = float(layout.windowWidth * kWidthFraction);
    layout.viewHeight = float(layout.windowHeight * kHeightFraction);
    layout.vScrollHeight = float(layout.windowHeight * kHeightFraction);
    layout.vScrollLeft = float(layout.viewWidth + kViewLeft);
    layout.hScrollWidth = float(layout.windowWidth * kWidthFraction);
    layout.hScrollTop = float(layout.viewHeight + kViewTop);
    layout.progressWidth = float(layout.windowWidth * kWidthFraction);
    layout.progressTop = float(kHScrollHeight + layout.hScrollTop);
    layout.panelLeft = kViewLeft;
    layout.panelTop = kViewTop;
    return layout;
}

} // namespace shell
