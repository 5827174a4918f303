// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the calculator window's controls take the mouse: every control that serves as a key clicks
// as a key does, once for a press and a release inside it. A key's second click of a quick pair
// is a click like the first, so that a key pressed twice quickly enters its digit twice. A clear
// label (a static control, which would report a click as soon as the button goes down) clicks on
// release, and the second click of a double click is no click. A text box clicks on release too,
// still selecting the word under the mouse on a double click, and wears a caret as wide as the
// keys' focus mark, easy to find.

#include "calculatordesign.h"

#include <windows.h>

#include <functional>

namespace tavoro {

struct ClickHandling {
    ControlKind kind;
    std::function<void()> click; // runs the control's click
    std::function<SIZE()> caret; // a text box's caret: its width and height
};

// Makes `control` take the mouse as above, until it is destroyed.
void handleClicks(HWND control, ClickHandling handling);

} // namespace tavoro
