// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A running program: its two windows, each a single program-wide instance. The splash window is
// created with the program; the calculator window on first use, by the splash window's start
// button. Both live until the program ends, the splash window hidden after the start.

#include "programdescription.h"

#include <QIcon>

#include <array>
#include <memory>

namespace tavoro {

class CalculatorWindow;
class Services;
class SplashWindow;

class Program {
public:
    Program(const ProgramDescription& description, Services& services);
    ~Program();

    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const ProgramDescription& description() const { return m_description; }

    SplashWindow& splashWindow() { return *m_splash; }
    // The calculator window, created the first time it is asked for, or then taken over from
    // prepareCalculatorWindow().
    CalculatorWindow& calculatorWindow();
    bool hasCalculatorWindow() const { return m_calculator != nullptr; }

    // Builds the calculator window ahead, hidden, so that the start button only has to show it;
    // its load step still runs when it is first shown. Runs by itself once the splash window has
    // been painted; does nothing once the window is built.
    void prepareCalculatorWindow();

    // Shows the splash window and gives it the keyboard.
    void start();

private:
    const ProgramDescription& m_description;
    Services& m_services;
    // Destroyed in reverse order: the calculator window first, then the splash window.
    std::unique_ptr<SplashWindow> m_splash;
    std::unique_ptr<CalculatorWindow> m_calculator;
    std::unique_ptr<CalculatorWindow> m_prepared; // built ahead, not yet asked for
};

// Sets the program title (application name and display name), the version and the icon that every
// window of the program wears (windowIcon()). Needs the QApplication.
void setUpApplication(const ProgramDescription& description);

// The program icon in every size it is drawn in, in pixels.
inline constexpr std::array<int, 6> ProgramIconSizes{16, 32, 48, 64, 128, 256};
QIcon programIcon();

// The icon the windows wear: the sizes of the classic icon group only. Qt decodes every size of a
// window icon and sends each to the X server with every window; the large ones, made for the
// desktop's menus and installed there, would cost milliseconds and a megabyte at each start.
inline constexpr std::array<int, 2> WindowIconSizes{16, 32};
QIcon windowIcon();

} // namespace tavoro
