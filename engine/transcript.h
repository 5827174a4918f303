// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys by name and the one-line JSON record of the calculator's state after a press: the
// language of the key runner `tavoro-keys`, of bug reports and of the end-to-end tests.

#include "calculator.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavoro {

// A press on one of the calculator's keys: "0".."9", ".", "+", "-", "X", "/", "=",
// "CA" (clear ALL), "CE" (the "clear" label), "CE2" (the "ERROR" label).
struct Key {
    enum class Kind { Digit, Operator, ClearAll, ClearError, ClearError2 };
    Kind kind;
    int index = 0; // the element index for digits and operators
};

std::optional<Key> parseKey(std::string_view name);
void press(Calculator& calculator, const Key& key);

// One JSON object on one line: the key, whether it beeped, the message shown (or null), every
// calculator variable and display item, and the whole tape.
std::string transcriptLine(std::string_view key, int beeps, const std::string* message,
                           const Calculator& calculator);

} // namespace tavoro
