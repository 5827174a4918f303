// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Owners of the GDI objects the windows create (fonts, brushes, bitmaps): each is deleted with its
// owner, so that no handle outlives the window that made it, whatever the number of DPI changes.

#include "colours.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace tavoro {

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

constexpr COLORREF colorRef(Rgb rgb)
{
    return RGB(static_cast<BYTE>(red(rgb)), static_cast<BYTE>(green(rgb)), static_cast<BYTE>(blue(rgb)));
}

inline Brush solidBrush(Rgb rgb) { return Brush(CreateSolidBrush(colorRef(rgb))); }

// A frame `width` pixels wide along the inside of `r`: `topLeft` on the top and left sides,
// `bottomRight` on the others (a raised or sunken edge, or a mark in one colour).
inline void fillFrame(HDC dc, const RECT& r, int width, Rgb topLeft, Rgb bottomRight)
{
    const Brush light = solidBrush(topLeft);
    const Brush dark = solidBrush(bottomRight);
    const RECT top{r.left, r.top, r.right, r.top + width};
    const RECT left{r.left, r.top, r.left + width, r.bottom};
    const RECT bottom{r.left, r.bottom - width, r.right, r.bottom};
    const RECT right{r.right - width, r.top, r.right, r.bottom};
    FillRect(dc, &bottom, dark.get());
    FillRect(dc, &right, dark.get());
    FillRect(dc, &top, light.get());
    FillRect(dc, &left, light.get());
}

// A window's device context for measuring text, with a font selected; both are put back when it
// goes.
class MeasuringDc {
public:
    MeasuringDc(HWND window, HFONT font)
        : m_window(window)
        , m_dc(GetDC(window))
        , m_previous(SelectObject(m_dc, font))
    {
    }
    ~MeasuringDc()
    {
        SelectObject(m_dc, m_previous);
        ReleaseDC(m_window, m_dc);
    }
    MeasuringDc(const MeasuringDc&) = delete;
    MeasuringDc& operator=(const MeasuringDc&) = delete;

    HDC get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace tavoro
