// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Design units: places and sizes are given in twips (1/1440 inch). 15 twips make one pixel at
// 96 dpi. The Qt front end draws in device-independent pixels (96 dpi) and lets Qt's high-density
// scaling keep the physical size; the Win32 front end converts at the window's own dpi.

namespace tavoro {

struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Twips&) const = default;
};

inline constexpr int TwipsPerPixel = 15;
inline constexpr int TwipsPerInch = 1440;
// The resolution the designs' pixel values are given at, and that of Qt's device-independent
// pixels.
inline constexpr int StandardDpi = TwipsPerInch / TwipsPerPixel;

// Twips in pixels at 96 dpi; every design value is a multiple of 15.
constexpr int px(int twips) { return twips / TwipsPerPixel; }

// Twips in pixels at `dpi` dots per inch, rounded to the nearest pixel.
constexpr int pxAtDpi(int twips, int dpi) { return (twips * dpi + TwipsPerInch / 2) / TwipsPerInch; }

// Pixels at 96 dpi (a width of a line, a margin) in pixels at `dpi`, never less than one.
constexpr int scaledPx(int pixels, int dpi)
{
    const int scaled = (pixels * dpi + 48) / 96;
    return scaled > 0 ? scaled : 1;
}

} // namespace tavoro
