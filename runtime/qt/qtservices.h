// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculator's services on a Qt desktop: the desktop's bell sound, a modal message box captioned
// with the program's title, and the local clock in the user's locale.

#include "eventsound.h"
#include "services.h"

namespace tavoro {

class QtServices : public Services {
public:
    // Made once the application is: the sound server lists the program's sounds under its
    // display name.
    QtServices();
    // The sound theme's window-system bell through the sound server, as the desktop plays its own
    // bell (silent where the user switched event sounds off); the toolkit's bell where no sound
    // server plays it. On Wayland, and on an X server whose desktop plays no X bells, the
    // toolkit's bell is silent.
    void beep() override;
    // A modal box with `text` and one OK button, captioned with the program's title
    // (QGuiApplication::applicationDisplayName()); returns once it is dismissed.
    void messageBox(const std::string& text) override;
    // The local date in the locale's short form and the time in its long form, without the
    // time zone: "12/8/26 11:02:03 PM" in an American locale.
    std::string currentDateTime() override;

private:
    EventSound m_eventSound;
};

} // namespace tavoro
