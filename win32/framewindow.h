// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain frame with an empty caption: an etched rectangle that holds other controls as its
// children. Its controls' notifications (clicks, owner drawing, colours) go on to the window that
// holds the frame, so that window handles them as if the controls were its own.

#include "window.h"

namespace tavoro {

class FrameWindow : public Window {
public:
    FrameWindow(HWND parent, int id);
    ~FrameWindow() override;

protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace tavoro
