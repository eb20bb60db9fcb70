// SPDX-License-Identifier: MIT
#include "window_layout.h"

namespace shell {

namespace {

// Used with all their digits; the products are narrowed to single precision.
constexpr double kWidthFraction = 0.83710407239819;
constexpr double kHeightFraction = 0.667731629392971;

} // namespace

QSize startWindowSize(int menuBarHeight)
{
    return {toPixels(4230), toPixels(3885) + menuBarHeight};
}

QSize minimumWindowSize(QSize frame)
{
    return QSize(toPixels(kMinWindowWidth), toPixels(kMinWindowHeight)) - frame;
}

WindowLayout layoutWindow(float outerWidth, float outerHeight, const DesignPlacement& design)
{
    WindowLayout layout;
    layout.windowWidth = outerWidth < kMinWindowWidth ? kMinWindowWidth : outerWidth;
    layout.windowHeight = outerHeight < kMinWindowHeight ? kMinWindowHeight : outerHeight;

    layout.viewWidth = float(layout.windowWidth * kWidthFraction);
    layout.viewHeight = float(layout.windowHeight * kHeightFraction);
    layout.vScrollHeight = float(layout.windowHeight * kHeightFraction);
    layout.vScrollLeft = float(layout.viewWidth + design.viewLeft);
    layout.hScrollWidth = float(layout.windowWidth * kWidthFraction);
    layout.hScrollTop = float(layout.viewHeight + design.viewTop);
    layout.progressWidth = float(layout.windowWidth * kWidthFraction);
    layout.progressTop = float(design.hScrollHeight + layout.hScrollTop);
    layout.panelLeft = design.viewLeft;
    layout.panelTop = design.viewTop;
    return layout;
}

} // namespace shell
