// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the calculator asks of its surroundings besides number text: a beep, a modal message
// box and the clock. The window supplies a Qt implementation; tests supply a fake that records.

#include <string>

namespace tavoro {

class Services {
public:
    virtual ~Services() = default;

    // One system beep.
    virtual void beep() = 0;
    // A modal box with `text`, a single OK button and the program's title as its caption.
    // Returns once the user has dismissed it.
    virtual void messageBox(const std::string& text) = 0;
    // The current local date and time as text, for the date-and-time label.
    virtual std::string currentDateTime() = 0;
};

} // namespace tavoro
