// SPDX-License-Identifier: GPL-3.0-or-later
#include "clickcontrols.h"

#include <commctrl.h>

#include <utility>

namespace tavoro {

namespace {

constexpr UINT_PTR SubclassId = 1;

struct Clickable {
    ClickHandling handling;
    bool pressed = false; // the left button went down in the control
};

// Whether a mouse message's point lies in the control's client area.
bool inside(HWND control, LPARAM lParam)
{
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(control, &client);
    return PtInRect(&client, at) != FALSE;
}

LRESULT keyMessage(HWND key, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The key then goes down as for any press and clicks on release.
    if (message == WM_LBUTTONDBLCLK)
        return DefSubclassProc(key, WM_LBUTTONDOWN, wParam, lParam);
    return DefSubclassProc(key, message, wParam, lParam);
}

LRESULT clickLabelMessage(Clickable& label, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        label.pressed = true;
        SetCapture(hwnd);
        return 0;
    case WM_LBUTTONDBLCLK:
        return 0;
    case WM_LBUTTONUP: {
        const bool clicked = label.pressed && inside(hwnd, lParam);
        label.pressed = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (clicked)
            label.handling.click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        label.pressed = false;
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT textBoxMessage(Clickable& box, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        box.pressed = true;
        break;
    case WM_LBUTTONDBLCLK:
        // Only the click is withheld.
        box.pressed = false;
        break;
    case WM_LBUTTONUP: {
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        const bool clicked = box.pressed && inside(hwnd, lParam);
        box.pressed = false;
        if (clicked)
            box.handling.click();
        return result;
    }
    case WM_SETFOCUS: {
        // The box keeps placing the caret.
        const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
        POINT at{};
        GetCaretPos(&at);
        const SIZE caret = box.handling.caret();
        CreateCaret(hwnd, nullptr, caret.cx, caret.cy);
        SetCaretPos(at.x, at.y);
        ShowCaret(hwnd);
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto* clickable = reinterpret_cast<Clickable*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, controlProc, SubclassId);
        delete clickable;
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    switch (clickable->handling.kind) {
    case ControlKind::Button:
        return keyMessage(hwnd, message, wParam, lParam);
    case ControlKind::ClickLabel:
        return clickLabelMessage(*clickable, hwnd, message, wParam, lParam);
    case ControlKind::TextBox:
        return textBoxMessage(*clickable, hwnd, message, wParam, lParam);
    default:
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

void handleClicks(HWND control, ClickHandling handling)
{
    auto* clickable = new Clickable{std::move(handling)};
    if (!SetWindowSubclass(control, controlProc, SubclassId, reinterpret_cast<DWORD_PTR>(clickable)))
        delete clickable;
}

} // namespace tavoro
