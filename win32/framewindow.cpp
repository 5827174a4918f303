// SPDX-License-Identifier: GPL-3.0-or-later
#include "framewindow.h"

namespace tavoro {

FrameWindow::FrameWindow(HWND parent, int id)
{
    const WindowClass frameClass{L"TavoroFrame", reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), {}};
    // WS_EX_CONTROLPARENT: keyboard navigation goes on into the frame's controls.
    create(frameClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, L"", parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

FrameWindow::~FrameWindow() { destroy(); }

LRESULT FrameWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd(), &paint);
        RECT edge;
        GetClientRect(hwnd(), &edge);
        DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
        EndPaint(hwnd(), &paint);
        return 0;
    }
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

} // namespace tavoro
