// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include "widetext.h"

namespace tavoro {

HWND createControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, DWORD exStyle, int id)
{
    // WS_CLIPSIBLINGS: where controls overlap, the one above in the stacking order is drawn whole.
    return CreateWindowExW(exStyle, className, toWide(text).c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

namespace {

// Windows' class and styles for a control of the design.
struct NativeControl {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle = 0;
};

DWORD aligned(Align align, DWORD left, DWORD centre, DWORD right)
{
    switch (align) {
    case Align::Left:
        return left;
    case Align::Centre:
        return centre;
    case Align::Right:
        return right;
    }
    return left;
}

NativeControl nativeControl(const ControlDesign& row)
{
    switch (row.kind) {
    case ControlKind::Button:
        return {L"BUTTON", WS_TABSTOP | BS_OWNERDRAW};
    case ControlKind::Label:
    case ControlKind::ClickLabel: {
        // Opaque (WM_CTLCOLORSTATIC), wrapped at blanks and aligned as designed, the text from the
        // top edge; a label that sizes itself to its caption keeps to one line.
        DWORD style = SS_NOPREFIX | (row.autoSize ? SS_LEFTNOWORDWRAP : aligned(row.align, SS_LEFT, SS_CENTER, SS_RIGHT));
        // Only a label that serves as a key reports clicks (and so shows its tool tip).
        if (row.kind == ControlKind::ClickLabel)
            style |= SS_NOTIFY;
        return {L"STATIC", style};
    }
    case ControlKind::TextBox:
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL | aligned(row.align, ES_LEFT, ES_CENTER, ES_RIGHT), WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
        // Owner-drawn rows of their own heights, so that a long line wraps onto further rows of its
        // item; the items keep their texts (LBS_HASSTRINGS). The scroll bar is always there, so the
        // width lines wrap at never changes.
        return {L"LISTBOX",
            WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT
                | LBS_DISABLENOSCROLL,
            WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0};
}

} // namespace

HWND createDesignControl(HWND parent, const ControlDesign& row, int id)
{
    const NativeControl native = nativeControl(row);
    return createControl(parent, native.className, row.caption, native.style | (row.hidden ? 0 : WS_VISIBLE),
        native.exStyle, id);
}

std::wstring windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void setWindowText(HWND window, std::string_view text) { SetWindowTextW(window, toWide(text).c_str()); }

std::wstring listBoxItem(HWND list, long index)
{
    const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) // LB_ERR
        return {};
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
    item.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return item;
}

} // namespace tavoro
