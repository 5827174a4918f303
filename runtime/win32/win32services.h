// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator's services on Windows: the system beep, a modal message box captioned with the
// program's title, and the local clock in the user's formats.

#include "services.h"

#include <windows.h>

#include <string>

namespace tavoro {

class Win32Services : public Services {
public:
    explicit Win32Services(std::string title);

    // The window the message boxes are modal to: the calculator window once it exists.
    void setOwner(HWND owner) { m_owner = owner; }

    // MessageBeep's default sound, the one Windows plays for a simple beep.
    void beep() override;
    // A box with `text` and one OK button, captioned with the program's title, modal to the owner
    // window (or, without one, to the thread's active window); returns once it is dismissed.
    void messageBox(const std::string& text) override;
    // The user's short date and long time: "12/8/2026 11:02:03 PM" in an American locale.
    std::string currentDateTime() override;

private:
    std::wstring m_title;
    HWND m_owner = nullptr;
};

} // namespace tavoro
