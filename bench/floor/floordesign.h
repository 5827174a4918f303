// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bare Qt window the benchmark measures the programs against: the calculator's client size with
// 12 big coloured bold push buttons in a 4 x 3 grid. Shared by the floor program and the driver,
// which clicks the first button.

namespace tavoro::bench::floorwindow {

inline constexpr int Width = 647;
inline constexpr int Height = 493;
inline constexpr int Columns = 4;
inline constexpr int Rows = 3;
inline constexpr int ButtonSize = 150;
inline constexpr int Margin = 10;
inline constexpr int Pitch = 158; // ButtonSize plus the gap between two buttons
inline constexpr int PointSize = 28;

inline constexpr int buttonLeft(int index) { return Margin + (index % Columns) * Pitch; }
inline constexpr int buttonTop(int index) { return Margin + (index / Columns) * Pitch; }

// Face colours, #RRGGBB, one per button.
inline constexpr unsigned Faces[Columns * Rows] = {
    0xFFFFC0, 0xFFFFC0, 0xFFFFC0, 0xC0FFC0, //
    0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xFFC0C0, //
    0xFFFF00, 0xC0FFFF, 0xFFFF00, 0xC0FFC0, //
};
inline constexpr const char* Captions[Columns * Rows] = {
    "1", "2", "3", "+", "4", "5", "6", "-", ".", "0", "=", "X",
};

static_assert(buttonLeft(Columns - 1) + ButtonSize <= Width);
static_assert(buttonTop(Columns * Rows - 1) + ButtonSize <= Height);

} // namespace tavoro::bench::floorwindow
