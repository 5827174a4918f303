// SPDX-License-Identifier: GPL-3.0-or-later
#include "dpi.h"

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

void setClientSize(HWND window, int widthTwips, int heightTwips, UINT dpi, bool centre)
{
    static const auto adjustForDpi = user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const int width = pxAtDpi(widthTwips, static_cast<int>(dpi));
    const int height = pxAtDpi(heightTwips, static_cast<int>(dpi));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const BOOL menu = GetMenu(window) != nullptr;

    RECT frame{0, 0, width, height};
    if (adjustForDpi != nullptr)
        adjustForDpi(&frame, style, menu, exStyle, dpi);
    else
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    RECT now{};
    GetWindowRect(window, &now);
    SetWindowPos(window, nullptr, now.left, now.top, frame.right - frame.left, frame.bottom - frame.top,
        SWP_NOZORDER | SWP_NOACTIVATE);

    // A menu bar that wraps onto a second line is taller than the frame computed above allows for:
    // measure what came out and make up the difference.
    RECT client{};
    GetClientRect(window, &client);
    const int extraWidth = width - (client.right - client.left);
    const int extraHeight = height - (client.bottom - client.top);
    GetWindowRect(window, &now);
    int outerWidth = now.right - now.left + extraWidth;
    int outerHeight = now.bottom - now.top + extraHeight;
    int x = now.left;
    int y = now.top;
    if (centre) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        // On a screen too small for the window its title bar stays in reach.
        x = std::max(work.left, work.left + (work.right - work.left - outerWidth) / 2);
        y = std::max(work.top, work.top + (work.bottom - work.top - outerHeight) / 2);
    }
    SetWindowPos(window, nullptr, x, y, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace tavoro
