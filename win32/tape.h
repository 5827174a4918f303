// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tape, an owner-drawn list box of the calculator window: each line in the list's font, a
// line wider than the list wrapping onto further rows of its item (wrapAnywhere(), textfit.h), the
// rule line cut at the edge; a selected line in inverse video and the line with the focus wearing
// the keys' focus mark; the newest line always in view, like a paper strip. Screen readers are
// told of each line as it is added, and when the tape is emptied.

#include "calculatordesign.h"
#include "gdi.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace tavoro {

class Tape {
public:
    Tape(HWND list, const ControlDesign& row);

    // The list's font and the design's DPI, after every layout; the lines' heights follow.
    void setFont(HFONT font, UINT dpi);

    // The list shows exactly `lines`: the tape only grows, except when it is emptied.
    void setLines(const std::vector<std::string>& lines);
    void scrollToNewest();

    // The height of item `index` (WM_MEASUREITEM), and the drawing of an item (WM_DRAWITEM).
    int itemHeight(std::size_t index) const;
    void draw(const DRAWITEMSTRUCT& item) const;

private:
    std::vector<std::wstring> rows(std::wstring_view line) const;
    int rowHeight() const;

    HWND m_list;
    const ControlDesign& m_row;
    Brush m_back;
    Brush m_fore;
    HFONT m_font = nullptr;
    int m_dpi = 96;
    std::vector<std::string> m_lines; // the lines the list holds
};

} // namespace tavoro
