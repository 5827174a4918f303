// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How large a window's design is drawn on the user's screen, the same way by every front end. The
// designs' twips are drawn at the desktop's resolution, so that a window grows with the display
// scale the user chose. Where the whole window (its frame, title bar and menu bar included) would
// then not fit the available area of its screen (the screen less its panels or taskbar), the whole
// design is drawn at a lower resolution instead: every place, size, font and line by the same
// factor, so that the window looks the same, only smaller, and nothing of it is off the screen.
// The front end measures; this decides. It also decides what room a window is fitted to, and
// where a centred window goes once its frame is known.

#include <optional>

namespace tavoro {

struct PixelSize {
    int width = 0;
    int height = 0;

    bool operator==(const PixelSize&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

// The width of a window manager's frame on each side of the client area, title bar included.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const FrameMargins&) const = default;
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

// What the platform tells of the room a new window has on its screen, in the front end's pixels.
struct ScreenRoom {
    // The screen less its panels, as the platform reports it: the work area where the platform
    // knows one (X11's _NET_WORKAREA, Windows' work area), else the whole screen.
    PixelRect available;
    // Whether `available` is the desktop's work area. Wayland keeps it from its clients.
    bool workAreaKnown = true;
    // The largest size the compositor recommends for a new window, frame included, where it tells
    // one (Wayland's xdg_toplevel.configure_bounds, which GNOME and Plasma make the work area).
    std::optional<PixelSize> bounds;
    // Whether the front end's pixels are a fraction of the screen's (a scale of 1.5): a window's
    // place and its size are each rounded to whole screen pixels, and together may gain one.
    bool fractionalScale = false;
};

// Where a desktop keeps its panels from its windows but does not say so, this much of the screen is
// left free along each axis: GNOME's top bar is 32 pixels high, a Plasma panel 44 (and a floating
// one 8 more from the edge), a dock at the side about as wide. A window fitted to the screen less
// 64 pixels each way stays wholly visible beside any one of them, where a window fitted to the
// whole screen would be pushed below a top bar and run off the bottom.
inline constexpr int UnknownPanelRoom = 64;

// The size a whole window, frame included, is fitted within: the compositor's bounds where it
// gives them (never more than the available area), else the work area where the platform knows
// it, else the screen less UnknownPanelRoom each way; at a fractional scale, a pixel less each way.
PixelSize roomForWindow(const ScreenRoom& room);

// The frame of a window, its client area `client` pixels large, placed with its frame's top-left
// corner at a point: centred on `area` where it fits, and where it does not, with its top-left
// corner inside the area (its title bar in reach). `frame` is the frame around the client area.
PixelPoint centredFramePosition(const PixelRect& area, PixelSize client, const FrameMargins& frame);

// `outer` moved as little as can be to lie inside `area`; its top-left corner stays inside where
// it is larger.
PixelPoint keptInside(const PixelRect& outer, const PixelRect& area);

} // namespace tavoro
