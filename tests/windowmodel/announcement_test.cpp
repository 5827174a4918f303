// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says after each press, decided from the calculator before and after it. The
// views are the engine's own states in the worked examples (12 + 3 =, 5 + X, 8 / 0 =, clearing).

#include "announcement.h"

#include <gtest/gtest.h>

namespace tavoro {
namespace {

// At start: the big display shows 0, the new-number bar is hidden.
const CalculatorView Start{.total = "0", .op = " "};
// After 1 2.
const CalculatorView Typed12{.total = "12", .op = " ", .entry = "12"};
// After 1 2 +.
const CalculatorView Plus12{.total = "12", .op = "+", .newNumberShown = true, .opShown = true, .hasTotal = true, .tapeLines = 1};
// After 1 2 + 3.
const CalculatorView Plus12Typed3{.total = "12", .newNumber = "3", .op = "+", .newNumberShown = true, .opShown = true,
    .entry = "3", .hasTotal = true, .tapeLines = 1};
// After 1 2 + 3 =.
const CalculatorView Result15{.total = "15", .hasTotal = true, .tapeLines = 4};

CalculatorView with(CalculatorView view, auto change)
{
    change(view);
    return view;
}

TEST(Announcement, EachPressSaysWhatChanged)
{
    struct Row {
        const char* name;
        ControlId control;
        CalculatorView before;
        CalculatorView after;
        std::string said;
    };
    const Row rows[] = {
        {"a first digit: the number typed", ControlId::cmdDigit1, Start, with(Start, [](auto& v) { v.total = "1"; v.entry = "1"; }), "1"},
        {"a second digit", ControlId::cmdDigit2, with(Start, [](auto& v) { v.total = "1"; v.entry = "1"; }), Typed12, "12"},
        {"a point: the number as it shows", ControlId::cmdDigit11, Typed12, with(Typed12, [](auto& v) { v.entry = "12."; }), "12"},
        {"a digit once a total stands: the new number", ControlId::cmdDigit3, Plus12, Plus12Typed3, "3"},
        {"a digit refused with a message: nothing", ControlId::cmdDigit7, Result15, Result15, ""},
        {"an operator: its word and the running total", ControlId::cmdOp0, Typed12, Plus12, "plus, 12"},
        {"equals: the result", ControlId::cmdOp5, Plus12Typed3, Result15, "equals 15"},
        {"equals again: the result again", ControlId::cmdOp5, Result15, with(Result15, [](auto& v) { v.tapeLines = 7; }), "equals 15"},
        {"an operator after a result continues from it", ControlId::cmdOp2, Result15,
            with(Result15, [](auto& v) { v.op = "X"; v.newNumberShown = v.opShown = true; }), "times, 15"},
        {"a negative result", ControlId::cmdOp5, Plus12Typed3, with(Result15, [](auto& v) { v.total = "-7"; }), "equals -7"},
        {"an operator in place of another", ControlId::cmdOp2, Plus12, with(Plus12, [](auto& v) { v.op = "X"; }), "times instead of plus"},
        {"equals in place of divided by (8 / 0 =)", ControlId::cmdOp5,
            with(Plus12Typed3, [](auto& v) { v.op = "/"; v.entry = "0"; v.newNumber = "0"; }),
            with(Plus12Typed3, [](auto& v) { v.op = "="; v.entry = "0"; v.newNumber = "0"; }), "equals instead of divided by"},
        {"an operator after clear last entry: only its word", ControlId::cmdOp0,
            with(Plus12, [](auto& v) { v.newNumber = "Error Cleared"; v.op = ""; }),
            with(Plus12, [](auto& v) { v.newNumber = "Error Cleared"; }), "plus"},
        {"the pending operator again: nothing", ControlId::cmdOp0, Plus12, Plus12, ""},
        {"an operator refused with a message: nothing", ControlId::cmdOp0, Start, Start, ""},
        {"clear last entry", ControlId::lblClearError, Plus12Typed3, with(Plus12, [](auto& v) { v.newNumber = "Error Cleared"; v.op = ""; }), "Error Cleared"},
        {"clear last entry by its ERROR half, nothing visible changing", ControlId::lblClearError2, Start,
            with(Start, [](auto& v) { v.newNumber = "Error Cleared"; v.op = ""; }), "Error Cleared"},
        {"clear ALL", ControlId::lblClearAll, Result15, CalculatorView{.tapeLines = 5}, "all cleared"},
        {"a control that is no key", ControlId::txtClearEntries, Result15, with(Result15, [](auto& v) { v.tapeLines = 0; }), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(announcement(row.control, row.before, row.after), row.said);
    }
}

} // namespace
} // namespace tavoro
