// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the benchmark clicks, worked out from the window designs (places in twips, 15 to the
// pixel at 96 dpi, each coordinate converted on its own as the programs do). Every point is
// relative to the top-left corner of the X window the program maps, which without a window manager
// is the program's own top-level window.

#include "calculatordesign.h"

namespace tavoro::bench {

enum class Kind {
    Floor,   // the bare Qt window: one window, no splash
    Tavoro3, // splash frmSplash3, then the calculator window
    Tavoro2, // splash frmSplash, then the calculator window
};

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

constexpr int pixels(int twips) { return px(twips); }

// The calculator window's client area below its menu bar, in pixels.
inline constexpr int CalculatorClientWidth = pixels(design::ClientArea.width);
inline constexpr int CalculatorClientHeight = pixels(design::ClientArea.height);

// Centre of the splash window's start button (cmdStartTavoro inside Frame1). None for the floor.
Point startButtonCentre(Kind kind);

// The height above the calculator's client area (the menu bar), from the mapped window's height.
int clientTop(int windowHeight);

// Centre of the key the benchmark presses: cmdDigit(1) in the calculator window, whose client area
// starts `clientTop(windowHeight)` pixels down; the first button in the floor window.
Point digitKeyCentre(Kind kind, int windowHeight);

// The name of a kind on the command line and in the report: "floor", "tavoro3", "tavoro2".
const char* kindName(Kind kind);

} // namespace tavoro::bench
