// SPDX-License-Identifier: GPL-3.0-or-later
#include "announcement.h"

#include "calculator.h"
#include "calculatordesign.h"

namespace tavoro {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The spoken name of the operator key whose caption is `caption` ("+" is "plus"), or nothing.
std::optional<std::string_view> operatorWord(std::string_view caption)
{
    for (const ControlDesign& row : calculatorDesign()) {
        if (startsWith(row.name, "cmdOp(") && caption == row.caption)
            return spokenName(row.name);
    }
    return std::nullopt;
}

std::string operatorPressed(std::string_view control, const CalculatorView& before, const CalculatorView& after)
{
    const std::string word(spokenName(control).value_or(""));
    // A computing press ends the entry, writes to the tape or shows or hides the new-number bar;
    // a replace press only puts the pressed operator in place of the pending one.
    const bool computed = after.entry != before.entry || after.tapeLines != before.tapeLines
        || after.newNumberShown != before.newNumberShown || after.opShown != before.opShown;
    if (!computed) {
        const auto replaced = operatorWord(before.op);
        return replaced ? word + " instead of " + std::string(*replaced) : word;
    }
    if (findControl(control)->caption == std::string_view("="))
        return word + " " + after.total;
    return word + ", " + after.total;
}

// Counts the presses made, so that a press can tell whether another ran while it waited.
unsigned& pressCount()
{
    static unsigned count = 0;
    return count;
}

} // namespace

std::string announcement(std::string_view control, const CalculatorView& before, const CalculatorView& after)
{
    if (control == "lblClearAll")
        return std::string(AllCleared);
    if (control == "lblClearError" || control == "lblClearError2")
        return after.newNumber;
    if (findControl(control) == nullptr || before == after)
        return {};
    // An accepted digit always changes the entry: the number typed so far, where it shows.
    if (startsWith(control, "cmdDigit("))
        return after.hasTotal ? after.newNumber : after.total;
    if (startsWith(control, "cmdOp("))
        return operatorPressed(control, before, after);
    return {};
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

PressAnnouncement::PressAnnouncement(const Calculator& engine, std::string_view control)
    : m_engine(engine)
    , m_control(control)
    , m_before(viewOf(engine))
    , m_count(++pressCount())
{
}

std::string PressAnnouncement::words() const
{
    if (pressCount() != m_count)
        return {};
    return announcement(m_control, m_before, viewOf(m_engine));
}

} // namespace tavoro
