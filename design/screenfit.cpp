// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfit.h"

#include "units.h"

#include <algorithm>

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

PixelSize roomForWindow(const ScreenRoom& room)
{
    const PixelSize available{room.available.width, room.available.height};
    PixelSize size = available;
    if (room.bounds && room.bounds->width > 0 && room.bounds->height > 0)
        size = {std::min(room.bounds->width, available.width), std::min(room.bounds->height, available.height)};
    else if (!room.workAreaKnown)
        size = {available.width - UnknownPanelRoom, available.height - UnknownPanelRoom};
    const int rounding = room.fractionalScale ? 1 : 0;
    return {std::max(size.width - rounding, 0), std::max(size.height - rounding, 0)};
}

PixelPoint keptInside(const PixelRect& outer, const PixelRect& area)
{
    return {std::max(area.x, std::min(outer.x, area.x + area.width - outer.width)),
        std::max(area.y, std::min(outer.y, area.y + area.height - outer.height))};
}

PixelPoint centredFramePosition(const PixelRect& area, PixelSize client, const FrameMargins& frame)
{
    const int width = client.width + frame.left + frame.right;
    const int height = client.height + frame.top + frame.bottom;
    // An odd pixel left over goes to the right and bottom, as Windows and Qt centre.
    const PixelRect centred{area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width, height};
    return keptInside(centred, area);
}

} // namespace tavoro
