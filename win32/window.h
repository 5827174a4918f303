// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skeleton every window of the program grows from: one C++ object per window. The window
// procedure finds its object through GWLP_USERDATA, set from the creation parameter in
// WM_NCCREATE, and hands it each message; what the object does not handle goes to DefWindowProc.

#include <windows.h>

#include <string>

namespace tavoro {

// The program's icon in the two sizes a window wears it.
struct Icons {
    HICON large = nullptr;
    HICON small = nullptr;
};

struct WindowClass {
    const wchar_t* name;
    HBRUSH background = nullptr; // nullptr: the window paints its own background
    Icons icons;
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return m_hwnd; }

protected:
    // Registers `windowClass` on its first use in the process, then creates the window, hidden.
    void create(const WindowClass& windowClass, DWORD style, DWORD exStyle, const std::wstring& title,
        HWND parent, HMENU menu = nullptr);
    // Destroys the window while the derived object is still whole. Every derived destructor calls
    // it first, so that no message of the window's end reaches a half-destroyed object.
    void destroy();

    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
};

} // namespace tavoro
