// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfit.h"

#include "units.h"

namespace tavoro {

namespace {

// The window's outer size with its design drawn at `drawn` dots per inch on a desktop of `dpi`.
PixelSize outerSize(const WindowExtent& window, int drawn, int dpi)
{
    const auto scaled = [drawn, dpi](int pixels) { return (pixels * drawn + dpi - 1) / dpi; };
    return {pxAtDpi(window.clientWidth, drawn) + window.fixed.width + scaled(window.scaled.width),
        pxAtDpi(window.clientHeight, drawn) + window.fixed.height + scaled(window.scaled.height)};
}

bool fits(const PixelSize& size, const PixelSize& available)
{
    return size.width <= available.width && size.height <= available.height;
}

} // namespace

int fittingDpi(const WindowExtent& window, int dpi, PixelSize available)
{
    const int lowest = lowestFitDpi(dpi);
    int drawn = dpi;
    // The size grows with the resolution, so the first one down that fits is the highest.
    while (drawn > lowest && !fits(outerSize(window, drawn, dpi), available))
        --drawn;
    return drawn;
}

} // namespace tavoro
