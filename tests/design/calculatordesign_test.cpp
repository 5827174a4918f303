// SPDX-License-Identifier: GPL-3.0-or-later
// The calculator window's table against the engine: a key's caption is what the engine reads when
// it is pressed, so the two must never drift apart.

#include "calculator.h"
#include "calculatordesign.h"

#include <gtest/gtest.h>

namespace tavoro {
namespace {

// Every element of both key arrays, and only those, has a row whose caption is the engine's own.
TEST(CalculatorDesign, KeyCaptionsAreTheEnginesOwn)
{
    int keys = 0;
    for (const ControlDesign& row : calculatorDesign()) {
        SCOPED_TRACE(row.name);
        if (isDigitKey(row.id))
            EXPECT_EQ(digitCaption(row.element), row.caption);
        else if (isOperatorKey(row.id))
            EXPECT_EQ(operatorCaption(row.element), row.caption);
        else
            EXPECT_EQ(row.element, -1);
        keys += isKey(row.id) ? 1 : 0;
    }
    EXPECT_EQ(keys, static_cast<int>(DigitIndices.size() + OperatorIndices.size()));
    for (const int index : DigitIndices)
        EXPECT_EQ(keyOf(*digitCaption(index)), digitKey(index)) << "digit " << index;
    for (const int index : OperatorIndices)
        EXPECT_EQ(keyOf(*operatorCaption(index)), operatorKey(index)) << "operator " << index;
    EXPECT_FALSE(digitKey(10));
    EXPECT_FALSE(operatorKey(4));
}

// A row's identity, its design name and the name found for it agree, menu items and timer too.
TEST(CalculatorDesign, EveryIdentityHasItsOwnName)
{
    for (std::size_t i = 0; i < ControlIdCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        const std::string_view name = nameOf(id);
        SCOPED_TRACE(std::string(name));
        if (i < DesignRowCount) {
            EXPECT_EQ(findControl(name), &controlDesign(id));
        }
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(nameOf(static_cast<ControlId>(j)), name);
    }
    EXPECT_EQ(nameOf(ControlId::cmdDigit11), "cmdDigit(11)");
    EXPECT_EQ(nameOf(ControlId::mnuOptionsDateAndTimeOff), "mnuOptionsDateAndTimeOff");
    EXPECT_EQ(nameOf(ControlId::tmrCalc), "tmrCalc");
}

} // namespace
} // namespace tavoro
