// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tests' names for the calculator's keys, the same in every suite: the key captions "0".."9",
// ".", "+", "-", "X", "/", "=" and, as tavoro-keys spells them, "CA" (clear ALL), "CE" (the
// "clear" label) and "CE2" (the "ERROR" label). Sequences written one character a key use the
// letters C, E and R for the three clear labels.

#include "calculatordesign.h"

#include <optional>
#include <string_view>

namespace tavoro::testkeys {

inline std::optional<ControlId> controlOfKey(std::string_view name)
{
    if (name == "CA")
        return ControlId::lblClearAll;
    if (name == "CE")
        return ControlId::lblClearError;
    if (name == "CE2")
        return ControlId::lblClearError2;
    return keyOf(name);
}

inline std::optional<ControlId> controlOfKeyLetter(char key)
{
    switch (key) {
    case 'C':
        return ControlId::lblClearAll;
    case 'E':
        return ControlId::lblClearError;
    case 'R':
        return ControlId::lblClearError2;
    default:
        return keyOf(std::string_view(&key, 1));
    }
}

} // namespace tavoro::testkeys
