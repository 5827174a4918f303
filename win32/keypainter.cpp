// SPDX-License-Identifier: GPL-3.0-or-later
#include "keypainter.h"

#include "calculatordesign.h"
#include "controls.h"
#include "gdi.h"
#include "units.h"

#include <string>

namespace tavoro {

namespace {

RECT inset(RECT r, int by)
{
    InflateRect(&r, -by, -by);
    return r;
}

} // namespace

void paintKey(const DRAWITEMSTRUCT& item, Rgb face, UINT dpi)
{
    const HDC dc = item.hDC;
    const int d = static_cast<int>(dpi);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    // The focus decides alone; ODS_NOFOCUSRECT (keyboard cues hidden after a mouse click) is
    // ignored: the mark must be there whenever the key has the focus.
    const bool focused = (item.itemState & ODS_FOCUS) != 0 || GetFocus() == item.hwndItem;

    const Brush faceBrush = solidBrush(face);
    FillRect(dc, &item.rcItem, faceBrush.get());

    const int edge = scaledPx(design::KeyEdgeWidth, d);
    if (pressed)
        fillFrame(dc, item.rcItem, edge, colour::EdgeShadow, colour::EdgeLight);
    else
        fillFrame(dc, item.rcItem, edge, colour::EdgeLight, colour::EdgeShadow);

    const RECT mark = inset(item.rcItem, edge + scaledPx(design::FocusMarkGap, d));
    const int markWidth = scaledPx(design::FocusMarkWidth, d);
    if (focused)
        fillFrame(dc, mark, markWidth, colour::FocusMark, colour::FocusMark);

    // The caption inside the mark, a pixel down and right while the key is held, as if pushed in.
    RECT caption = inset(mark, markWidth);
    if (pressed)
        OffsetRect(&caption, scaledPx(1, d), scaledPx(1, d));
    const std::wstring text = windowText(item.hwndItem);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorRef(colour::ButtonText));
    constexpr UINT Format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP;
    // Centred vertically as a block of however many lines the caption wraps to.
    RECT block = caption;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &block, Format | DT_CALCRECT);
    const int lift = ((caption.bottom - caption.top) - (block.bottom - block.top)) / 2;
    caption.top += lift;
    caption.bottom = caption.top + (block.bottom - block.top);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, Format);
    SelectObject(dc, previous);
}

} // namespace tavoro
