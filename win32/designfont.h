// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The designs' fonts as GDI fonts at a window's DPI.

#include "calculatordesign.h"
#include "gdi.h"

#include <windows.h>

#include <string_view>

namespace tavoro {

// `design`'s font at `points` and `dpi`: its family, or the stand-in below where Windows lacks it,
// bold, ANSI character set, underlined where designed.
Font designFont(const FontDesign& design, UINT dpi, double points);
inline Font designFont(const FontDesign& design, UINT dpi) { return designFont(design, dpi, design.points); }

// The size of `text` in `font` as `window` draws it, in pixels.
SIZE textExtent(HWND window, HFONT font, std::wstring_view text);

} // namespace tavoro
