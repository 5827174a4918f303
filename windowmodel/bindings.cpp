// SPDX-License-Identifier: GPL-3.0-or-later
#include "bindings.h"

#include "calculatorwindowmodel.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace tavoro {

namespace {

using enum ControlId;
using M = CalculatorWindowModel;

constexpr Binding key(ControlId control, void (M::*handler)(int)) { return {control, nullptr, handler}; }

constexpr std::array Bindings{
    key(cmdDigit0, &M::cmdDigit_Click), key(cmdDigit1, &M::cmdDigit_Click), key(cmdDigit2, &M::cmdDigit_Click),
    key(cmdDigit3, &M::cmdDigit_Click), key(cmdDigit4, &M::cmdDigit_Click), key(cmdDigit5, &M::cmdDigit_Click),
    key(cmdDigit6, &M::cmdDigit_Click), key(cmdDigit7, &M::cmdDigit_Click), key(cmdDigit8, &M::cmdDigit_Click),
    key(cmdDigit9, &M::cmdDigit_Click), key(cmdDigit11, &M::cmdDigit_Click),
    key(cmdOp0, &M::cmdOp_Click), key(cmdOp1, &M::cmdOp_Click), key(cmdOp2, &M::cmdOp_Click), key(cmdOp3, &M::cmdOp_Click),
    key(cmdOp5, &M::cmdOp_Click),
    Binding{lblClearError, &M::lblClearError_Click},
    Binding{lblClearError2, &M::lblClearError2_Click},
    Binding{lblClearAll, &M::lblClearAll_Click},
    Binding{txtShowEntries, &M::txtShowEntries_Click},
    Binding{txtClearEntries, &M::txtClearEntries_Click},
    Binding{mnuFilesExit, &M::mnuFilesExit_Click},
    Binding{mnuOptionsShowTape, &M::mnuOptionsShowTape_Click},
    Binding{mnuOptionsHideTape, &M::mnuOptionsHideTape_Click},
    Binding{mnuOptionsDateAndTimeOn, &M::mnuOptionsDateAndTimeOn_Click},
    Binding{mnuOptionsDateAndTimeOff, &M::mnuOptionsDateAndTimeOff_Click},
    Binding{tmrCalc, &M::tmrCalc_Timer},
};

void check()
{
    for (std::size_t i = 0; i < ControlIdCount; ++i) {
        const auto control = static_cast<ControlId>(i);
        const auto bound = std::ranges::count(Bindings, control, &Binding::control);
        if (bound != (takesClick(control) ? 1 : 0))
            throw std::logic_error("the window's binding table has " + std::to_string(bound) + " handlers for "
                + std::string(nameOf(control)));
    }
}

} // namespace

std::span<const Binding> bindings()
{
    static const bool checked = (check(), true);
    (void)checked;
    return Bindings;
}

bool takesClick(ControlId control)
{
    // The menu items and the timer lie beyond the design table's rows.
    if (static_cast<std::size_t>(control) >= DesignRowCount)
        return true;
    const ControlKind kind = controlDesign(control).kind;
    return kind == ControlKind::Button || kind == ControlKind::ClickLabel || kind == ControlKind::TextBox;
}

void run(const Binding& binding, CalculatorWindowModel& model)
{
    if (binding.elementHandler != nullptr)
        (model.*binding.elementHandler)(controlDesign(binding.control).element);
    else
        (model.*binding.handler)();
}

} // namespace tavoro
