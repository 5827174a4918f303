// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Services that answer at once and remember what was asked of them: every message box is
// "dismissed" immediately, beeps are counted. Used where no person is there to answer: the key
// runner, the fuzzer, and the tests.

#include "services.h"

#include <string>
#include <vector>

namespace tavoro {

class RecordingServices : public Services {
public:
    void beep() override { ++beeps; }
    void messageBox(const std::string& text) override { messages.push_back(text); }
    std::string currentDateTime() override { return dateTime; }

    // Forget what was recorded so far (the clock text stays).
    void reset()
    {
        beeps = 0;
        messages.clear();
    }

    int beeps = 0;
    std::vector<std::string> messages;
    std::string dateTime = "12/8/2026 11:02:03 PM";
};

} // namespace tavoro
