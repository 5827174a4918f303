// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A running program on Windows: its two windows, each a single program-wide instance. The splash
// window is created with the program; the calculator window on first use, by the splash window's
// start button. Both live until the program ends, the splash window hidden after the start.

#include "programdescription.h"
#include "window.h"

#include <windows.h>

#include <memory>

namespace tavoro {

class CalculatorWindow;
class SplashWindow;
class Win32Services;

class Program {
public:
    Program(const ProgramDescription& description, Win32Services& services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the splash window and handles messages until the program ends; returns its exit code.
    int run();

private:
    // The start button's second half: shows the calculator window, created on first use.
    void showCalculatorWindow();

    const ProgramDescription& m_description;
    Win32Services& m_services;
    Icons m_icons;
    // Destroyed in reverse order: the calculator window first, then the splash window.
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<CalculatorWindow> m_calculator;
};

// The whole program: COM and the common controls for this thread, the services and the windows.
int runProgram(const ProgramDescription& description);

} // namespace tavoro
