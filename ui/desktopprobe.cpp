// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopprobe.h"

#include <QGuiApplication>
#include <QThread>
#include <QWidget>

#if defined(TAVORO_WAYLAND_PROBE)
#include "xdg-shell-client-protocol.h"

#include <wayland-client.h>

#include <cstring>
#endif

#if defined(TAVORO_X11_PROBE)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

#if defined(TAVORO_WAYLAND_PROBE) || defined(TAVORO_X11_PROBE)
#include <QtGui/qguiapplication_platform.h>
#endif

namespace tavoro::desktop {

namespace {

bool platformIs(const char* name)
{
    return QGuiApplication::platformName().startsWith(QLatin1String(name));
}

} // namespace

#if defined(TAVORO_WAYLAND_PROBE)

namespace {

// The ask: a window of our own that is never shown (it gets no buffer, so the compositor never
// maps it) asks for its first configure, which brings the compositor's bounds, and goes. Its
// objects live on an event queue of their own, so that Qt's dispatching never sees them.
struct BoundsProbe {
    wl_compositor* compositor = nullptr;
    xdg_wm_base* wmBase = nullptr;
    std::optional<QSize> bounds;
    bool configured = false;
};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    auto* probe = static_cast<BoundsProbe*>(data);
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && probe->compositor == nullptr) {
        probe->compositor = static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    } else if (std::strcmp(interface, xdg_wm_base_interface.name) == 0 && probe->wmBase == nullptr
        && version >= XDG_TOPLEVEL_CONFIGURE_BOUNDS_SINCE_VERSION) {
        // The bounds came with version 4; the events of later versions are not asked for.
        probe->wmBase = static_cast<xdg_wm_base*>(
            wl_registry_bind(registry, name, &xdg_wm_base_interface, XDG_TOPLEVEL_CONFIGURE_BOUNDS_SINCE_VERSION));
    }
}

void onGlobalRemove(void*, wl_registry*, uint32_t) { }

const wl_registry_listener registryListener{onGlobal, onGlobalRemove};

void onPing(void*, xdg_wm_base* wmBase, uint32_t serial) { xdg_wm_base_pong(wmBase, serial); }

const xdg_wm_base_listener wmBaseListener{onPing};

void onSurfaceConfigure(void* data, xdg_surface*, uint32_t) { static_cast<BoundsProbe*>(data)->configured = true; }

const xdg_surface_listener surfaceListener{onSurfaceConfigure};

void onToplevelConfigure(void*, xdg_toplevel*, int32_t, int32_t, wl_array*) { }
void onClose(void*, xdg_toplevel*) { }

void onBounds(void* data, xdg_toplevel*, int32_t width, int32_t height)
{
    // Zero: the compositor knows no bounds.
    if (width > 0 && height > 0)
        static_cast<BoundsProbe*>(data)->bounds = QSize(width, height);
}

// Version 5's event: never sent to the version bound here, but the listener has room for it.
void onCapabilities(void*, xdg_toplevel*, wl_array*) { }

const xdg_toplevel_listener toplevelListener{onToplevelConfigure, onClose, onBounds, onCapabilities};

// Asks the compositor behind `display`. The round trips wait for the compositor's answer.
std::optional<QSize> askBounds(wl_display* display)
{
    wl_event_queue* queue = wl_display_create_queue(display);
    if (queue == nullptr)
        return std::nullopt;
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    BoundsProbe probe;
    wl_registry_add_listener(registry, &registryListener, &probe);
    if (wl_display_roundtrip_queue(display, queue) >= 0 && probe.compositor != nullptr && probe.wmBase != nullptr) {
        xdg_wm_base_add_listener(probe.wmBase, &wmBaseListener, nullptr);
        wl_surface* surface = wl_compositor_create_surface(probe.compositor);
        xdg_surface* shellSurface = xdg_wm_base_get_xdg_surface(probe.wmBase, surface);
        xdg_surface_add_listener(shellSurface, &surfaceListener, &probe);
        xdg_toplevel* toplevel = xdg_surface_get_toplevel(shellSurface);
        xdg_toplevel_add_listener(toplevel, &toplevelListener, &probe);
        wl_surface_commit(surface);
        // The first configure answers the commit; a compositor may send it a moment later.
        for (int trip = 0; trip < 5 && !probe.configured; ++trip) {
            if (wl_display_roundtrip_queue(display, queue) < 0)
                break;
        }
        xdg_toplevel_destroy(toplevel);
        xdg_surface_destroy(shellSurface);
        wl_surface_destroy(surface);
    }
    if (probe.wmBase != nullptr)
        xdg_wm_base_destroy(probe.wmBase);
    if (probe.compositor != nullptr)
        wl_compositor_destroy(probe.compositor);
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapper);
    wl_display_flush(display);
    wl_event_queue_destroy(queue);
    return probe.configured ? probe.bounds : std::nullopt;
}

} // namespace

std::optional<QSize> newWindowBounds()
{
    if (!platformIs("wayland"))
        return std::nullopt;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0) && defined(QT_FEATURE_wayland) && QT_FEATURE_wayland == 1
    // Qt's own connection, where Qt hands it out: the same compositor, whatever way it was reached.
    if (auto* wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>()) {
        if (wl_display* display = wayland->display())
            return askBounds(display);
    }
#endif
    // A connection of our own to the compositor Qt uses (WAYLAND_DISPLAY).
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr)
        return std::nullopt;
    const std::optional<QSize> bounds = askBounds(display);
    wl_display_disconnect(display);
    return bounds;
}

#else

std::optional<QSize> newWindowBounds() { return std::nullopt; }

#endif

#if defined(TAVORO_X11_PROBE)

namespace {

// The one window a property of `window` names, if it holds one.
std::optional<xcb_window_t> windowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t atom)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, window, atom, XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    std::optional<xcb_window_t> value;
    if (reply != nullptr && reply->type == XCB_ATOM_WINDOW && reply->format == 32
        && xcb_get_property_value_length(reply) >= 4)
        value = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return value;
}

// Qt's own connection to the X server, where the windows are X11 windows.
xcb_connection_t* x11Connection()
{
    if (!platformIs("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace

std::optional<bool> windowManagerRuns()
{
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return std::nullopt;
    constexpr char name[] = "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    if (atom == nullptr)
        return std::nullopt;
    const xcb_atom_t check = atom->atom;
    std::free(atom);
    if (check == XCB_ATOM_NONE)
        return false; // no client ever named the atom: no window manager of the kind
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // A window manager that ended leaves the property behind, naming a window that is gone: the
    // window it names must name itself.
    const std::optional<xcb_window_t> named = windowProperty(connection, root, check);
    return named && windowProperty(connection, *named, check) == named;
}

std::optional<QMargins> frameExtents(QWidget* window)
{
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr)
        return std::nullopt;
    const auto atom = [connection](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return value;
    };
    const xcb_atom_t request = atom("_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = atom("_NET_FRAME_EXTENTS");
    if (request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE)
        return std::nullopt;
    const auto id = xcb_window_t(window->winId());
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    // The window manager answers at once; a busy one within a few of its turns.
    for (int attempt = 0; attempt < 40; ++attempt) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, id, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr);
        std::optional<QMargins> frame;
        if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
            const auto* side = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            // left, right, top, bottom
            frame = QMargins(int(side[0]), int(side[2]), int(side[1]), int(side[3]));
        }
        std::free(reply);
        if (frame)
            return frame;
        QThread::msleep(5);
    }
    return std::nullopt;
}

#else

std::optional<bool> windowManagerRuns() { return std::nullopt; }

std::optional<QMargins> frameExtents(QWidget*) { return std::nullopt; }

#endif

} // namespace tavoro::desktop
