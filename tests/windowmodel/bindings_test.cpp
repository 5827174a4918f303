// SPDX-License-Identifier: GPL-3.0-or-later
// The binding table: every control that takes a click, every menu item and the timer run exactly
// one handler of the model, and nothing else runs one; each runs the handler its design name says.

#include "bindings.h"
#include "calculatorwindowmodel.h"
#include "recordingservices.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavoro {
namespace {

TEST(Bindings, EveryControlThatTakesAClickIsBoundAndNothingElse)
{
    const auto table = bindings();
    for (const ControlDesign& row : calculatorDesign()) {
        SCOPED_TRACE(row.name);
        const bool clickable = row.kind != ControlKind::Label && row.kind != ControlKind::ListBox;
        EXPECT_EQ(std::ranges::count(table, row.id, &Binding::control), clickable ? 1 : 0);
    }
    for (const MenuDesign& menu : calculatorMenus()) {
        for (const MenuItemDesign& item : menu.items)
            EXPECT_EQ(std::ranges::count(table, item.id, &Binding::control), 1) << item.name;
    }
    EXPECT_EQ(std::ranges::count(table, ControlId::tmrCalc, &Binding::control), 1);
}

// A key's binding presses that key of the engine; the rest are checked by their effect.
TEST(Bindings, EachBindingRunsItsControlsHandler)
{
    for (const Binding& binding : bindings()) {
        SCOPED_TRACE(std::string(nameOf(binding.control)));
        RecordingServices services;
        CalculatorWindowModel model(services);
        model.Form_Load();
        services.dateTime = "10/12/2026 21:00:00";
        run(binding, model);
        const auto& [display, window] = model.view();
        switch (binding.control) {
        case ControlId::cmdDigit11:
            EXPECT_EQ(model.engine().state().strEntry, ".");
            break;
        case ControlId::cmdOp0:
        case ControlId::cmdOp1:
        case ControlId::cmdOp2:
        case ControlId::cmdOp3:
        case ControlId::cmdOp5:
            // Refused on an empty calculator, with the engine's message.
            EXPECT_EQ(services.messages.size(), 1u);
            break;
        case ControlId::lblClearAll:
            EXPECT_EQ(window.announcement, "all cleared");
            break;
        case ControlId::lblClearError:
        case ControlId::lblClearError2:
            EXPECT_EQ(display.lblNewNum, "Error Cleared");
            break;
        case ControlId::txtShowEntries:
            EXPECT_TRUE(window.tapeShown && window.clearEntriesShown);
            break;
        case ControlId::txtClearEntries:
            EXPECT_FALSE(window.tapeShown);
            break;
        case ControlId::mnuFilesExit:
            EXPECT_TRUE(window.ended);
            break;
        case ControlId::mnuOptionsShowTape:
            EXPECT_TRUE(window.showTapeChecked && window.tapeShown);
            break;
        case ControlId::mnuOptionsHideTape:
            EXPECT_TRUE(window.hideTapeChecked);
            break;
        case ControlId::mnuOptionsDateAndTimeOn:
            EXPECT_TRUE(window.dateAndTimeOnChecked && window.dateAndTimeShown);
            break;
        case ControlId::mnuOptionsDateAndTimeOff:
            EXPECT_TRUE(window.dateAndTimeOffChecked);
            break;
        case ControlId::tmrCalc:
            EXPECT_EQ(window.dateAndTime, services.dateTime);
            break;
        default:
            ASSERT_TRUE(isDigitKey(binding.control));
            EXPECT_EQ(model.engine().state().strEntry, controlDesign(binding.control).caption);
            break;
        }
    }
}

} // namespace
} // namespace tavoro
