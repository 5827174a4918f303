// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator's services on a Qt desktop: the system beep, a modal message box captioned with
// the program's title, and the local clock in the user's locale.

#include "services.h"

namespace tavoro {

class QtServices : public Services {
public:
    void beep() override;
    // A modal box with `text` and one OK button, captioned with the program's title
    // (QGuiApplication::applicationDisplayName()); returns once it is dismissed.
    void messageBox(const std::string& text) override;
    // The local date in the locale's short form and the time in its long form, without the
    // time zone: "12/8/26 11:02:03 PM" in an American locale.
    std::string currentDateTime() override;
};

} // namespace tavoro
