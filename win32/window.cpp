// SPDX-License-Identifier: GPL-3.0-or-later
#include "window.h"

#include <exception>

namespace tavoro {

Window::~Window() { destroy(); }

void Window::create(const WindowClass& windowClass, DWORD style, DWORD exStyle, const std::wstring& title,
    HWND parent, HMENU menu)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof registered;
    if (!GetClassInfoExW(instance, windowClass.name, &registered)) {
        registered.lpfnWndProc = windowProc;
        registered.hInstance = instance;
        registered.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        registered.hbrBackground = windowClass.background;
        registered.hIcon = windowClass.icons.large;
        registered.hIconSm = windowClass.icons.small;
        registered.lpszClassName = windowClass.name;
        RegisterClassExW(&registered);
    }
    CreateWindowExW(exStyle, windowClass.name, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, parent, menu, instance, this);
}

void Window::destroy()
{
    // WM_NCDESTROY, the last message, clears m_hwnd.
    if (m_hwnd != nullptr)
        DestroyWindow(m_hwnd);
}

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return defaultHandling(message, wParam, lParam);
}

LRESULT Window::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* object = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        object->m_hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    }
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone: nothing reaches the object any more.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        object->m_hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // An exception must not unwind through Windows' own frames, and no error ends the program
    // unless the user asked to quit: what failed is left as it stands, with the error sound.
    try {
        return object->handleMessage(message, wParam, lParam);
    } catch (const std::exception&) {
        MessageBeep(MB_ICONHAND);
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace tavoro
