// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which handler of the model each control's click, each menu item and the timer's tick runs: the
// one table by which every front end binds its controls, in one loop over it. Adding a menu item
// means a row in the design and a row here; the front ends need nothing more.

#include "calculatordesign.h"

#include <span>

namespace tavoro {

class CalculatorWindowModel;

struct Binding {
    ControlId control;
    void (CalculatorWindowModel::*handler)() = nullptr;
    // An element of a key array: the handler is given the element's index (cmdDigit_Click(11)).
    void (CalculatorWindowModel::*elementHandler)(int) = nullptr;
};

// Every binding. The first call checks the table against the design and throws std::logic_error,
// naming the control, when a control that takes a click (a key, a clear label, a text box, a menu
// item) has no binding or more than one, or when a binding names a control that takes no click.
// Front ends call it while they make the window, so a window that would mistake a click is never
// made.
std::span<const Binding> bindings();

// Whether the user's click on this control (or the timer's tick) is one of the window's events.
bool takesClick(ControlId control);

// Runs the bound handler on `model`.
void run(const Binding& binding, CalculatorWindowModel& model);

} // namespace tavoro
