// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The robustness oracle: turns bytes into presses on a fresh calculator window's model, each one
// entry of the window's binding table (the keys, the clear labels, the two text boxes, the Options
// items and a tick of the timer), and checks, after every press, what must hold whatever the user
// clicks: the engine's state stays consistent and finite, every press beeps as it should, a press
// that shows a message changes nothing it may not, the tape only ever gains the lines the press
// writes, and the displays show the numbers the state holds; the tape's visibility, the "CLEAR
// Entries" box and the check marks agree with the last option chosen; and words for the screen
// reader come only after a key or a clear label, and only that press's own.
//
// The libFuzzer target feeds it arbitrary bytes; the regression tests replay the seed corpus and
// every input the fuzzer ever found through the same checks.

#include "calculatordesign.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavoro {
class CalculatorWindowModel;
}

namespace tavoro::fuzz {

// A press of one entry of the window's binding table.
struct Press {
    ControlId control;
    std::string_view name; // as tavoro-keys spells a key; the design name of any other control
};

// What one byte of input stands for: a press, repeated `times` times. The key captions
// "0".."9", ".", "+", "-", "X", "/", "=" and the letters 'A' (clear ALL), 'c' (the "clear"
// label), 'e' (the "ERROR" label), 'T' ("CLEAR Entries", which empties the tape), 'S' ("SHOW
// Entries"), 's' and 'h' (Show Tape, Hide Tape), 'W' and 'I' (show and hide the date and time)
// and 't' (a tick of the timer) stand for one press of their control, so a corpus file can be
// written by hand. The ten bytes 0xF6..0xFF type the digit b - 0xF6 32 times, so that short
// inputs reach numbers near the edges of the double range (ten of them make 320 digits). Any other
// byte picks one of the bound controls by its value. Exit is never pressed: it ends the program.
struct Step {
    Press press;
    int times;
};
Step stepForByte(unsigned char byte);

// Runs the handler the binding table binds to the press's control on `model`.
void pressOn(CalculatorWindowModel& model, const Press& press);

// Presses `bytes` on a fresh window model after its load step. Returns the first broken
// invariant together with the presses that led to it, or nothing when every check held.
std::optional<std::string> checkPresses(std::span<const unsigned char> bytes);

inline std::optional<std::string> checkPresses(std::string_view keys)
{
    return checkPresses(std::span(reinterpret_cast<const unsigned char*>(keys.data()), keys.size()));
}

} // namespace tavoro::fuzz
