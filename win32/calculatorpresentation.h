// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How each control of the calculator window presents itself to assistive tools (accessibility.h):
// the keys and clear labels as push buttons named in words ("divided by", "clear all"), the
// displays as static text read by what they show and described by what they are ("total"), the
// text boxes as editable text named by their tool tips as they stand, the tape as a list whose
// children are its lines. Keys, clear labels and text boxes can be pressed.

#include "accessibility.h"
#include "calculatordesign.h"

#include <functional>
#include <memory>
#include <string>

namespace tavoro {

// The presentation of the control of `row`: `press` runs its click; `tip` is its tool tip as it
// stands.
std::shared_ptr<const Presentation> presentationOf(const ControlDesign& row, std::function<void()> press,
    std::function<std::string()> tip);

} // namespace tavoro
