#include "program.h"
#include "programs.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return tavoro::runProgram(tavoro::Tavoro3); }
