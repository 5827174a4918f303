// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The designs' twips in a window's pixels. Every place, size and font is converted at the DPI of
// the window it is shown in (the programs are per-monitor DPI aware), so that at 150 % or 200 %
// everything keeps its physical size, drawn sharply in the screen's own pixels.

#include "units.h"

#include <windows.h>

namespace tavoro {

// The DPI the window is shown at: its monitor's, or the system's on a Windows older than 10.
UINT dpiOf(HWND window);

// A design place (twips) as a rectangle in pixels at `dpi`: each of left, top, width and height
// converted on its own, so that keys of one size stay exactly alike.
RECT pixelsOf(const Twips& place, UINT dpi);

// Moves and sizes a child control to its design place.
void placeControl(HWND control, const Twips& place, UINT dpi);

// Gives a top-level window a client area of exactly `width` x `height` twips below its menu bar,
// keeping its top-left corner, or centring it on its monitor's work area when `centre` is set.
void setClientSize(HWND window, int widthTwips, int heightTwips, UINT dpi, bool centre);

} // namespace tavoro
