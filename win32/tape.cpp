// SPDX-License-Identifier: GPL-3.0-or-later
#include "tape.h"

#include "calculator.h"
#include "controls.h"
#include "designfont.h"
#include "textfit.h"
#include "widetext.h"

#include <algorithm>

namespace tavoro {

namespace {

constexpr DWORD ObjectCreated = 0x8000;     // EVENT_OBJECT_CREATE
constexpr DWORD ChildrenReordered = 0x8004; // EVENT_OBJECT_REORDER

} // namespace

Tape::Tape(HWND list, const ControlDesign& row)
    : m_list(list)
    , m_row(row)
    , m_back(solidBrush(row.back))
    , m_fore(solidBrush(row.fore))
{
}

void Tape::setFont(HFONT font, UINT dpi)
{
    m_font = font;
    m_dpi = static_cast<int>(dpi);
    for (std::size_t index = 0; index < m_lines.size(); ++index)
        SendMessageW(m_list, LB_SETITEMHEIGHT, static_cast<WPARAM>(index), itemHeight(index));
    scrollToNewest();
}

void Tape::setLines(const std::vector<std::string>& lines)
{
    if (m_lines.size() > lines.size()) {
        m_lines.clear();
        SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
        NotifyWinEvent(ChildrenReordered, m_list, OBJID_CLIENT, CHILDID_SELF);
    }
    if (m_lines.size() == lines.size())
        return;
    // Each line is a new child of the tape's accessible object, numbered from 1.
    while (m_lines.size() < lines.size()) {
        m_lines.push_back(lines[m_lines.size()]);
        SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(m_lines.back()).c_str()));
        NotifyWinEvent(ObjectCreated, m_list, OBJID_CLIENT, static_cast<LONG>(m_lines.size()));
    }
    scrollToNewest();
}

int Tape::rowHeight() const
{
    const MeasuringDc dc(m_list, m_font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight;
}

std::vector<std::wstring> Tape::rows(std::wstring_view line) const
{
    // The rule is decoration: one row, cut at the list's edge.
    if (line == toWide(text::TapeRule))
        return {std::wstring(line)};
    RECT client;
    GetClientRect(m_list, &client);
    const int width = client.right - 2 * scaledPx(2, m_dpi);
    const std::string utf8 = toUtf8(line);
    std::vector<std::wstring> rows;
    for (const std::string_view row : wrapAnywhere(utf8, width,
             [this](std::string_view part) { return textExtent(m_list, m_font, toWide(part)).cx; }))
        rows.push_back(toWide(row));
    return rows;
}

int Tape::itemHeight(std::size_t index) const
{
    const std::wstring line = index < m_lines.size() ? toWide(m_lines[index]) : std::wstring();
    // A list box item is at most 255 pixels high.
    return std::min(255, static_cast<int>(rows(line).size()) * rowHeight());
}

void Tape::draw(const DRAWITEMSTRUCT& item) const
{
    const HDC dc = item.hDC;
    // A selected line in inverse video: plain to see in any theme.
    const bool selected = item.itemID != static_cast<UINT>(-1) && (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, selected ? m_fore.get() : m_back.get());
    if (item.itemID != static_cast<UINT>(-1)) {
        const std::wstring line = listBoxItem(item.hwndItem, static_cast<long>(item.itemID));
        const HGDIOBJ previous = SelectObject(dc, m_font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(selected ? m_row.back : m_row.fore));
        const int height = rowHeight();
        int top = item.rcItem.top;
        for (const std::wstring& part : rows(line)) {
            ExtTextOutW(dc, item.rcItem.left + scaledPx(2, m_dpi), top, ETO_CLIPPED, &item.rcItem, part.c_str(),
                static_cast<UINT>(part.size()), nullptr);
            top += height;
        }
        SelectObject(dc, previous);
    }
    // The line with the list's focus wears the keys' focus mark, whatever the keyboard cues say.
    if ((item.itemState & ODS_FOCUS) != 0 || (GetFocus() == item.hwndItem && item.itemID == static_cast<UINT>(-1))) {
        const Rgb mark = selected ? colour::FocusMarkOnDark : colour::FocusMark;
        fillFrame(dc, item.rcItem, scaledPx(design::FocusMarkWidth, m_dpi), mark, mark);
    }
}

void Tape::scrollToNewest()
{
    const int count = static_cast<int>(SendMessageW(m_list, LB_GETCOUNT, 0, 0));
    if (count <= 0)
        return;
    // The first line from which the rest fits, newest at the bottom, like a paper strip.
    RECT client;
    GetClientRect(m_list, &client);
    int top = count - 1;
    int used = static_cast<int>(SendMessageW(m_list, LB_GETITEMHEIGHT, static_cast<WPARAM>(top), 0));
    while (top > 0) {
        const int above = static_cast<int>(SendMessageW(m_list, LB_GETITEMHEIGHT, static_cast<WPARAM>(top - 1), 0));
        if (used + above > client.bottom)
            break;
        used += above;
        --top;
    }
    SendMessageW(m_list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

} // namespace tavoro
