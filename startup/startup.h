// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program entry's one call: set up the application for a program description, show its splash
// window and run until the program ends.

#include "programs.h"

namespace tavoro {

int runProgram(const ProgramDescription& program, int& argc, char* argv[]);

} // namespace tavoro
