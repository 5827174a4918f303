// SPDX-License-Identifier: GPL-3.0-or-later
#include "xsession.h"

#include "stats.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <poll.h>
#include <stdexcept>
#include <time.h>
#include <vector>

namespace tavoro::bench {

namespace {

// Windows vanish under the driver (a program ends, Qt destroys a window): a request about one
// then fails. Such errors are expected; Xlib's default handler would end the driver.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

} // namespace

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

XSession::XSession()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        throw std::runtime_error("cannot open the X display (is DISPLAY set?)");
    XSetErrorHandler(ignoreXError);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &event, &error, &major, &minor))
        throw std::runtime_error("the X server has no XTEST extension");
    if (!XDamageQueryExtension(m_display, &m_damageEventBase, &error))
        throw std::runtime_error("the X server has no DAMAGE extension");
    XDamageQueryVersion(m_display, &major, &minor);
    m_root = DefaultRootWindow(m_display);
    m_netWmPid = XInternAtom(m_display, "_NET_WM_PID", False);
    // Creation, mapping and unmapping of every top-level window.
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
    XSync(m_display, False);
}

XSession::~XSession()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool XSession::pump(double timeoutMs, const std::function<bool(const XEvent&, double)>& onEvent)
{
    const double deadline = nowMs() + timeoutMs;
    pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
    for (;;) {
        // Events Xlib has already read (while waiting for a reply) arrived no later than now.
        double arrived = nowMs();
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (onEvent(event, arrived))
                return true;
            arrived = nowMs();
        }
        const double left = deadline - nowMs();
        if (left <= 0)
            return false;
        // Round up so that a wait never spins on a zero timeout.
        const int rc = poll(&connection, 1, static_cast<int>(left) + 1);
        if (rc < 0)
            continue; // interrupted: a child ended
    }
}

std::optional<Drawable> XSession::damagedDrawable(const XEvent& event) const
{
    if (event.type != m_damageEventBase + XDamageNotify)
        return std::nullopt;
    return reinterpret_cast<const XDamageNotifyEvent&>(event).drawable;
}

void XSession::trackDamage(Window window)
{
    // Raw rectangles: one event per rendering, nothing to acknowledge; the damage object goes
    // with the window.
    XDamageCreate(m_display, window, XDamageReportRawRectangles);
    XFlush(m_display);
}

std::optional<pid_t> XSession::windowPid(Window window)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<pid_t> pid;
    if (XGetWindowProperty(m_display, window, m_netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
            &count, &after, &data)
            == Success
        && data && format == 32 && count == 1)
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

std::optional<WindowGeometry> XSession::geometry(Window window)
{
    Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(m_display, window, &root, &x, &y, &width, &height, &border, &depth))
        return std::nullopt;
    if (!XTranslateCoordinates(m_display, window, m_root, 0, 0, &x, &y, &child))
        return std::nullopt;
    return WindowGeometry{x, y, static_cast<int>(width), static_cast<int>(height)};
}

void XSession::movePointer(Point onRoot)
{
    XTestFakeMotionEvent(m_display, -1, onRoot.x, onRoot.y, CurrentTime);
    XFlush(m_display);
}

void XSession::click()
{
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XFlush(m_display);
}

double XSession::damageRoundTripMs(int samples)
{
    // An override-redirect window: nothing treats it as a program's window.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(m_display, DefaultScreen(m_display));
    const Window probe = XCreateWindow(m_display, m_root, 0, 0, 8, 8, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapWindow(m_display, probe);
    const GC gc = XCreateGC(m_display, probe, 0, nullptr);
    XSync(m_display, False);
    trackDamage(probe);
    XSync(m_display, False);
    pump(20, [](const XEvent&, double) { return false; });

    std::vector<double> latencies;
    for (int i = 0; i < samples; ++i) {
        XSetForeground(m_display, gc, (i % 2) ? WhitePixel(m_display, 0) : BlackPixel(m_display, 0));
        const double sent = nowMs();
        XFillRectangle(m_display, probe, gc, 0, 0, 8, 8);
        XFlush(m_display);
        pump(1000, [&](const XEvent& event, double arrived) {
            if (damagedDrawable(event) != probe)
                return false;
            latencies.push_back(arrived - sent);
            return true;
        });
    }
    XFreeGC(m_display, gc);
    XDestroyWindow(m_display, probe);
    XSync(m_display, False);
    pump(20, [](const XEvent&, double) { return false; });
    return latencies.empty() ? 0.0 : median(latencies);
}

} // namespace tavoro::bench
