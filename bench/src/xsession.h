// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The driver's X connection: top-level window events from the root window, repaints through the
// DAMAGE extension and synthetic pointer input through XTEST. Events are waited for with poll() on
// the connection, never polled for, and each is stamped with the monotonic time it arrived.

#include "clickpoints.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <functional>
#include <optional>
#include <sys/types.h>

namespace tavoro::bench {

// Milliseconds on CLOCK_MONOTONIC.
double nowMs();

struct WindowGeometry {
    int x = 0; // top-left corner on the root window
    int y = 0;
    int width = 0;
    int height = 0;
};

class XSession {
public:
    // Opens DISPLAY and checks for XTEST and DAMAGE; throws std::runtime_error otherwise.
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    Window root() const { return m_root; }

    // Delivers each event to `onEvent` with the time it arrived, for at most `timeoutMs`; returns
    // true as soon as `onEvent` does, false on timeout.
    bool pump(double timeoutMs, const std::function<bool(const XEvent&, double arrivedMs)>& onEvent);

    // The drawable of a DAMAGE notification, or none if `event` is not one.
    std::optional<Drawable> damagedDrawable(const XEvent& event) const;

    // Reports every rendering into `window` as a DAMAGE event, from now on.
    void trackDamage(Window window);

    // The _NET_WM_PID of a window; none if it has none (or is gone).
    std::optional<pid_t> windowPid(Window window);
    std::optional<WindowGeometry> geometry(Window window);

    void movePointer(Point onRoot);
    // Presses and releases the left button, sent together in one flush.
    void click();

    // The latency of the method: from a drawing request leaving the driver to its DAMAGE event
    // coming back, on a small window of the driver's own, median of `samples`, in ms.
    double damageRoundTripMs(int samples);

private:
    Display* m_display = nullptr;
    Window m_root = 0;
    int m_damageEventBase = 0;
    Atom m_netWmPid = 0;
};

} // namespace tavoro::bench
