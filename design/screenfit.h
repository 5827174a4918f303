// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How large a window's design is drawn on the user's screen, the same way by every front end. The
// designs' twips are drawn at the desktop's resolution, so that a window grows with the display
// scale the user chose. Where the whole window (its frame, title bar and menu bar included) would
// then not fit the available area of its screen (the screen less its panels or taskbar), the whole
// design is drawn at a lower resolution instead: every place, size, font and line by the same
// factor, so that the window looks the same, only smaller, and nothing of it is off the screen.
// The front end measures; this decides.

namespace tavoro {

struct PixelSize {
    int width = 0;
    int height = 0;

    bool operator==(const PixelSize&) const = default;
};

// A window to be fitted: its client area in twips and what it adds around the client area, in
// pixels at the desktop's resolution.
struct WindowExtent {
    int clientWidth = 0;  // twips
    int clientHeight = 0; // twips
    // What keeps its size whatever the design's scale: the frame and the title bar that the
    // platform draws (and a menu bar in the platform's own font).
    PixelSize fixed;
    // What is drawn with the design and shrinks with it: a menu bar in a font of the design's scale.
    PixelSize scaled;
};

// The lowest resolution a design is drawn at, as a share of the desktop's: below a quarter the
// captions could no longer be read, and a window that big for its screen keeps its title bar in
// reach instead.
inline constexpr int MinimumFitPercent = 25;

// The resolution, in dots per inch, at which the design of `window` is drawn on a desktop of
// `dpi` dots per inch so that the whole window fits within `available` pixels: `dpi` itself where
// it fits, else the highest whole resolution below that fits, at least MinimumFitPercent of `dpi`.
// Twips become pixels at that resolution as pxAtDpi() converts them.
int fittingDpi(const WindowExtent& window, int dpi, PixelSize available);

// The lowest resolution fittingDpi() gives on a desktop of `dpi` dots per inch.
constexpr int lowestFitDpi(int dpi) { return (dpi * MinimumFitPercent + 99) / 100; }

// A font size of the design, in points, drawn at `drawnDpi` on a desktop of `dpi`: the same
// share of it as the places.
constexpr double scaledPoints(double points, int drawnDpi, int dpi) { return points * drawnDpi / dpi; }

} // namespace tavoro
