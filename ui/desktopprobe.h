// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the desktop tells a new window that Qt does not pass on: on Wayland, the room the compositor
// gives a new window; on X11, whether a window manager runs to frame it. Each asks the display
// server the moment it is called, and answers "don't know" on any other platform or failure.

#include <QMargins>
#include <QSize>

#include <optional>

class QWidget;

namespace tavoro::desktop {

// The largest size the Wayland compositor recommends for a new window, frame included, in its
// logical pixels (xdg_toplevel.configure_bounds: GNOME and Plasma give the work area of the
// screen the window would open on). Nothing where the program does not run on Wayland or the
// compositor gives no bounds (weston).
std::optional<QSize> newWindowBounds();

// Whether an X11 window manager runs (it names itself on the root window, as EWMH asks: the
// _NET_SUPPORTING_WM_CHECK window). Nothing where the program does not run on X11.
std::optional<bool> windowManagerRuns();

// The frame the X11 window manager will draw around `window`, which is not shown yet, in its
// native pixels (left, top, right, bottom): asked for with _NET_REQUEST_FRAME_EXTENTS, which makes
// the window manager set _NET_FRAME_EXTENTS on it (openbox gives the frame it will draw; GNOME's
// mutter gives none before the window is shown). Makes the native window. Nothing where the
// program does not run on X11 or the window manager does not answer within a moment.
std::optional<QMargins> frameExtents(QWidget* window);

} // namespace tavoro::desktop
