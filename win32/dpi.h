// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The designs' twips in a window's pixels. Every place, size and font is converted at the DPI of
// the window it is shown in (the programs are per-monitor DPI aware), so that at 150 % or 200 %
// everything keeps its physical size, drawn sharply in the screen's own pixels; or, where the
// window would not fit its screen at that, at the lower DPI that fits (fitToWorkArea()).

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

// Where a top-level window goes when it is fitted to its screen.
enum class Placement {
    Keep,   // where it is (where the platform put it), moved onto the work area if need be
    Centre, // centred on the work area
};

// Fits a top-level window to its monitor's work area (the screen less the taskbar; screenfit.h):
// gives it a client area below its menu bar of `widthTwips` x `heightTwips` drawn at the
// monitor's `dpi` where the whole window, frame and title bar included, fits the work area at
// that, else at the highest resolution that fits. Places it as `placement` says, wholly inside
// the work area. Returns the resolution the design is now drawn at, for its controls and fonts.
UINT fitToWorkArea(HWND window, int widthTwips, int heightTwips, UINT dpi, Placement placement);

// Whether `message` asks a top-level window to be fitted to its screen again: the window went to
// a monitor of another scale, or its monitor's scale changed (WM_DPICHANGED: the window takes the
// suggested rectangle, and `monitorDpi` the new DPI), or the work area or the display changed.
bool asksForRefit(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT& monitorDpi);

} // namespace tavoro
