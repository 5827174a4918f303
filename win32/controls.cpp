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
