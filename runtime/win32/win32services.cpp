// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32services.h"

#include "widetext.h"

#include <array>
#include <utility>

namespace tavoro {

namespace {

// One of the user's formats of `now`, through GetDateFormatEx or GetTimeFormatEx.
template <typename Format>
std::wstring formatted(Format format, DWORD flags, const SYSTEMTIME& now)
{
    std::array<wchar_t, 128> buffer{};
    const int length = format(LOCALE_NAME_USER_DEFAULT, flags, &now, nullptr, buffer.data(),
        static_cast<int>(buffer.size()));
    return length > 0 ? std::wstring(buffer.data()) : std::wstring();
}

} // namespace

Win32Services::Win32Services(std::string title)
    : m_title(toWide(title))
{
}

void Win32Services::beep() { MessageBeep(MB_OK); }

void Win32Services::messageBox(const std::string& text)
{
    const HWND owner = m_owner != nullptr ? m_owner : GetActiveWindow();
    MessageBoxW(owner, toWide(text).c_str(), m_title.c_str(), MB_OK | MB_APPLMODAL | MB_SETFOREGROUND);
}

std::string Win32Services::currentDateTime()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const auto date = [](LPCWSTR locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR, LPWSTR out, int size) {
        return GetDateFormatEx(locale, flags, time, nullptr, out, size, nullptr);
    };
    return toUtf8(formatted(date, DATE_SHORTDATE, now) + L' ' + formatted(GetTimeFormatEx, 0, now));
}

} // namespace tavoro
