// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The robustness oracle: turns bytes into presses on a fresh calculator and checks, after every
// press, what must hold whatever the user clicks: the state stays consistent and finite, every
// press beeps as it should, a press that shows a message changes nothing it may not, the tape
// only ever gains the lines the press writes, and the displays show the numbers the state holds.
//
// The libFuzzer target feeds it arbitrary bytes; the regression tests replay the seed corpus and
// every input the fuzzer ever found through the same checks.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavoro {
class Calculator;
}

namespace tavoro::fuzz {

struct Press {
    enum class Kind { Digit, Operator, ClearAll, ClearError, ClearError2, ClearTape };
    Kind kind;
    int index;             // the element index for digits (0..9, 11) and operators (0..3, 5)
    std::string_view name; // as tavoro-keys spells it; "TAPE" for emptying the tape
};

// What one byte of input stands for: a press, repeated `times` times. The key captions
// "0".."9", ".", "+", "-", "X", "/", "=" and the letters 'A' (clear ALL), 'c' (the "clear"
// label), 'e' (the "ERROR" label) and 'T' (empty the tape) stand for one press of their key, so a
// corpus file can be written by hand. The ten bytes 0xF6..0xFF type the digit b - 0xF6 32 times,
// so that short inputs reach numbers near the edges of the double range (ten of them make 320
// digits). Any other byte picks one of the twenty keys by its value.
struct Step {
    Press press;
    int times;
};
Step stepForByte(unsigned char byte);

// Runs the press's handler on `calculator`.
void pressOn(Calculator& calculator, const Press& press);

// Presses `bytes` on a fresh calculator in the window's loaded state. Returns the first broken
// invariant together with the presses that led to it, or nothing when every check held.
std::optional<std::string> checkPresses(std::span<const unsigned char> bytes);

inline std::optional<std::string> checkPresses(std::string_view keys)
{
    return checkPresses(std::span(reinterpret_cast<const unsigned char*>(keys.data()), keys.size()));
}

} // namespace tavoro::fuzz
