// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcement.h"

#include "calculator.h"

namespace tavoro {

namespace {

std::string operatorPressed(ControlId control, const CalculatorView& before, const CalculatorView& after)
{
    const std::string word(spokenName(controlDesign(control)).value_or(""));
    // A computing press ends the entry, writes to the tape or shows or hides the new-number bar;
    // a replace press only puts the pressed operator in place of the pending one.
    const bool computed = after.entry != before.entry || after.tapeLines != before.tapeLines
        || after.newNumberShown != before.newNumberShown || after.opShown != before.opShown;
    if (!computed) {
        // The pending operator is known by its key's caption.
        const auto replaced = keyOf(before.op);
        return replaced ? word + " instead of " + std::string(spokenName(controlDesign(*replaced)).value_or("")) : word;
    }
    if (control == ControlId::cmdOp5)
        return word + " " + after.total;
    return word + ", " + after.total;
}

} // namespace

std::string announcement(ControlId control, const CalculatorView& before, const CalculatorView& after)
{
    switch (control) {
    case ControlId::lblClearAll:
        return std::string(AllCleared);
    case ControlId::lblClearError:
    case ControlId::lblClearError2:
        return after.newNumber;
    default:
        break;
    }
    if (!isKey(control) || before == after)
        return {};
    // An accepted digit always changes the entry: the number typed so far, where it shows.
    if (isDigitKey(control))
        return after.hasTotal ? after.newNumber : after.total;
    return operatorPressed(control, before, after);
}

CalculatorView viewOf(const Calculator& engine)
{
    const DisplayState& display = engine.display();
    return {
        .total = display.lblDisplay,
        .newNumber = display.lblNewNum,
        .op = display.lblOp,
        .newNumberShown = display.lblNewNumVisible,
        .opShown = display.lblOpVisible,
        .entry = engine.state().strEntry,
        .hasTotal = engine.state().dblTotal != 0.0,
        .tapeLines = display.lstEntered.size(),
    };
}

PressAnnouncement::PressAnnouncement(const Calculator& engine, ControlId control, unsigned& presses)
    : m_engine(engine)
    , m_control(control)
    , m_before(viewOf(engine))
    , m_presses(presses)
    , m_count(++presses)
{
}

std::string PressAnnouncement::words() const
{
    if (m_presses != m_count)
        return {};
    return announcement(m_control, m_before, viewOf(m_engine));
}

} // namespace tavoro
