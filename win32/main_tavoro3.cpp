// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"
#include "programs.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tavoro::runProgram(tavoro::Tavoro3); }
