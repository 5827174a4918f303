// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours of the window designs, in one place so that a tuning of the look never means hunting
// through a front end's code. Every value is an exact #RRGGBB of the design; nothing is shaded.

#include <cstdint>

namespace tavoro {

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

constexpr int red(Rgb rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
constexpr int green(Rgb rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
constexpr int blue(Rgb rgb) { return static_cast<int>(rgb & 0xFF); }

namespace colour {

// Window background: the light grey against which every coloured key stands out, the black
// "SHOW Entries" box included.
inline constexpr Rgb Window = 0xC0C0C0;

// Key faces.
inline constexpr Rgb LightYellow = 0xFFFFC0; // upper digit row, 1..5
inline constexpr Rgb LightCyan = 0xC0FFFF;   // lower digit row, 6..9 and 0
inline constexpr Rgb Yellow = 0xFFFF00;      // "." and "="
inline constexpr Rgb LightGreen = 0xC0FFC0;  // "+" and "X"; the Tavoro 3 start button
inline constexpr Rgb Pink = 0xFFC0C0;        // "-" and "/"
// Key captions: the classic button-text black, whatever the desktop theme, because the faces
// are always light.
inline constexpr Rgb ButtonText = 0x000000;
// The raised edge of a key: lit from the top left.
inline constexpr Rgb EdgeLight = 0xFFFFFF;
inline constexpr Rgb EdgeShadow = 0x404040;
// The sunken edge of a text box.
inline constexpr Rgb FieldShadow = 0x808080;
// The mark of the control that has the keyboard focus: black on every light face, box and the
// tape (at least 10:1 against each), white on the black "SHOW Entries" box.
inline constexpr Rgb FocusMark = 0x000000;
inline constexpr Rgb FocusMarkOnDark = 0xFFFFFF;

// Display bars: navy for the total, green for the number being typed.
inline constexpr Rgb Navy = 0x000080;
inline constexpr Rgb Green = 0x008000;

// Clear keys.
inline constexpr Rgb DarkRed = 0xC00000;
inline constexpr Rgb PaleYellow = 0xFFFF80;

inline constexpr Rgb White = 0xFFFFFF;
inline constexpr Rgb Black = 0x000000;
// Tape and date-time label; the Tavoro 2 start button.
inline constexpr Rgb LightGrey = 0xE0E0E0;

// The splash window's product name and slogan.
inline constexpr Rgb DarkGreen = 0x008000;
inline constexpr Rgb PaleGreen = 0xC0FFC0;
inline constexpr Rgb DeepGreen = 0x004000;

} // namespace colour

// The focus mark for a control of colour `back`: black on a light colour, white on a dark one.
constexpr Rgb focusMarkOn(Rgb back)
{
    const int brightness = (299 * red(back) + 587 * green(back) + 114 * blue(back)) / 1000;
    return brightness < 128 ? colour::FocusMarkOnDark : colour::FocusMark;
}

} // namespace tavoro
