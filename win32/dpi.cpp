// SPDX-License-Identifier: GPL-3.0-or-later
#include "dpi.h"

#include "screenfit.h"

#include <algorithm>

namespace tavoro {

namespace {

// A function of user32 that older Windows lack, or nullptr there.
template <typename Function>
Function user32Function(const char* name)
{
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

} // namespace

UINT dpiOf(HWND window)
{
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0)
            return dpi;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

RECT pixelsOf(const Twips& place, UINT dpi)
{
    const int d = static_cast<int>(dpi);
    const int left = pxAtDpi(place.left, d);
    const int top = pxAtDpi(place.top, d);
    return {left, top, left + pxAtDpi(place.width, d), top + pxAtDpi(place.height, d)};
}

void placeControl(HWND control, const Twips& place, UINT dpi)
{
    const RECT r = pixelsOf(place, dpi);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// The window's outer size for a client area of `width` x `height` pixels below a menu bar of
// one line, at the monitor's `dpi`.
SIZE outerSize(HWND window, int width, int height, UINT dpi)
{
    static const auto adjustForDpi = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;

    RECT frame{0, 0, width, height};
    if (adjustForDpi != nullptr)
        adjustForDpi(&frame, style, menu, exStyle, dpi);
    else
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Gives the window a client area of `width` x `height` pixels below its menu bar at the
// monitor's `dpi`, keeping its top-left corner; returns its outer size.
SIZE resizeForClient(HWND window, int width, int height, UINT dpi)
{
    const SIZE frame = outerSize(window, width, height, dpi);
    RECT now{};
    GetWindowRect(window, &now);
    SetWindowPos(window, nullptr, now.left, now.top, frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    // A menu bar that wraps onto a second line is taller than the frame computed above allows for:
    // measure what came out and make up the difference.
    RECT client{};
    GetClientRect(window, &client);
    GetWindowRect(window, &now);
    const SIZE outer{now.right - now.left + width - (client.right - client.left),
        now.bottom - now.top + height - (client.bottom - client.top)};
    SetWindowPos(window, nullptr, now.left, now.top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return outer;
}

} // namespace

UINT fitToWorkArea(HWND window, int widthTwips, int heightTwips, UINT dpi, Placement placement)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const PixelSize available{work.right - work.left, work.bottom - work.top};

    // The frame, the title bar and the menu bar keep the monitor's size; only the design shrinks.
    const int monitorDpi = static_cast<int>(dpi);
    const SIZE frame = outerSize(window, 0, 0, dpi);
    const WindowExtent extent{widthTwips, heightTwips, {frame.cx, frame.cy}, {}};
    int drawn = fittingDpi(extent, monitorDpi, available);
    SIZE outer = resizeForClient(window, pxAtDpi(widthTwips, drawn), pxAtDpi(heightTwips, drawn), dpi);
    // A menu bar that wraps at the narrower width takes a line more than was reckoned.
    while ((outer.cx > available.width || outer.cy > available.height) && drawn > lowestFitDpi(monitorDpi)) {
        --drawn;
        outer = resizeForClient(window, pxAtDpi(widthTwips, drawn), pxAtDpi(heightTwips, drawn), dpi);
    }

    RECT now{};
    GetWindowRect(window, &now);
    LONG x = now.left;
    LONG y = now.top;
    if (placement == Placement::Centre) {
        x = work.left + (available.width - outer.cx) / 2;
        y = work.top + (available.height - outer.cy) / 2;
    }
    // Inside the work area; on a screen too small for the window, its title bar stays in reach.
    x = std::max(work.left, std::min(x, work.right - outer.cx));
    y = std::max(work.top, std::min(y, work.bottom - outer.cy));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return static_cast<UINT>(drawn);
}

bool asksForRefit(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT& monitorDpi)
{
    switch (message) {
    case WM_DPICHANGED: {
        monitorDpi = HIWORD(wParam);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
            suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    case WM_SETTINGCHANGE:
        return wParam == SPI_SETWORKAREA;
    case WM_DISPLAYCHANGE:
        return true;
    default:
        return false;
    }
}

} // namespace tavoro
