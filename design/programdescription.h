// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between the two programs, Tavoro 3 and Tavoro 2, as plain data. Each program is one
// `ProgramDescription` (see programs.h); the splash window, the calculator window and the start-up
// code of every front end read it and hold no per-program code of their own.

#include "calculatordesign.h"
#include "splashdesign.h"

namespace tavoro {

struct ProgramDescription {
    const char* title; // the program title: the message boxes' caption, the executable's name on Windows
    SplashVariant splash;
    CalculatorVariant calculator;
};

// Both programs carry version 1.00.
inline constexpr const char* ProgramVersion = "1.00";

} // namespace tavoro
