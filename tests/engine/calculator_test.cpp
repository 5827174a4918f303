// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator.h"
#include "recordingservices.h"
#include "transcript.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tavoro {
namespace {

using Lines = std::vector<std::string>;
const std::string Rule(text::TapeRule);

// A fresh calculator in the state the window leaves it after loading.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() { calc.hideNewNumberBar(); }

    // Presses whitespace-separated keys by name ("1 2 + 3 =", "CA", "CE", "CE2").
    void keys(const std::string& names)
    {
        std::istringstream in(names);
        for (std::string name; in >> name;) {
            const auto key = parseKey(name);
            ASSERT_TRUE(key) << name;
            press(calc, *key);
        }
    }

    const DisplayState& d() const { return calc.display(); }
    const CalculatorState& s() const { return calc.state(); }

    RecordingServices services;
    Calculator calc{services};
};

// What one worked example leaves on screen and on the tape.
struct Example {
    const char* name;
    const char* keys;
    const char* display;
    bool newNumShown;
    const char* newNum;
    bool opShown;
    const char* op;
    Lines tape;
};

const Example Examples[] = {
    {"first number", "1 2", "12", false, "", false, " ", {}},
    {"operator after the first number", "1 2 +", "12", true, "", true, "+", {"   12"}},
    {"number after an operator", "1 2 + 3", "12", true, "3", true, "+", {"   12"}},
    {"12 + 3 =", "1 2 + 3 =", "15", false, "", false, "", {"   12", "+ 3", Rule, "=  15"}},
    {"left to right", "5 X 4 - 6 / 2 =", "7", false, "", false, "",
     {"   5", "X 4", " - 6", " / 2", Rule, "=  7"}},
    {"left to right, after the minus", "5 X 4 -", "20", true, "", true, "-", {"   5", "X 4"}},
    {"left to right, after the divide", "5 X 4 - 6 /", "14", true, "", true, "/",
     {"   5", "X 4", " - 6"}},
    {"two operators in a row", "5 + X", "5", true, "", true, "X", {"   5"}},
    {"the second operator is applied", "5 + X 3 =", "15", false, "", false, "",
     {"   5", "X 3", Rule, "=  15"}},
    {"equals twice", "1 2 + 3 = =", "15", false, "", false, "",
     {"   12", "+ 3", Rule, "=  15", " 0", Rule, "=  15"}},
    {"operator after a result", "1 2 + 3 = X", "15", true, "", true, "X",
     {"   12", "+ 3", Rule, "=  15"}},
    {"continuing from a result", "1 2 + 3 = X 2 =", "30", false, "", false, "",
     {"   12", "+ 3", Rule, "=  15", "X 2", Rule, "=  30"}},
    {"negative result", "3 - 1 0 =", "-7", false, "", false, "", {"   3", " - 10", Rule, "= -7"}},
    {"lone number", "7 =", "7", false, "", false, "", {"   7", Rule, "=  7"}},
    {"divisor of 0 is a replace press", "8 / 0 =", "8", true, "0", true, "=", {"   8"}},
    {"divisor of 0, then a number", "8 / 0 = 5 =", "8", false, "", false, "",
     {"   8", " 5", Rule, "=  8"}},
    {"the tape shows values, not keystrokes", "0 5 + 2 . =", "7", false, "", false, "",
     {"   5", "+ 2", Rule, "=  7"}},
    {"first number 0 at start", "0 +", "0", true, "", true, "+", {"   0"}},
    {"number after a zero total goes to the big display", "5 - 5 = 7", "7", false, "", false, "",
     {"   5", " - 5", Rule, "=  0"}},
    {"zero total after a first number of 0", "0 + 5", "5", true, "", true, "+", {"   0"}},
    // A number typed after a result of exactly 0 starts a new calculation.
    {"zero total, then a new calculation", "5 - 5 = 3 + 4 =", "7", false, "", false, "",
     {"   5", " - 5", Rule, "=  0", "   3", "+ 4", Rule, "=  7"}},
    {"zero total, then a lone number", "5 - 5 = 3 =", "3", false, "", false, "",
     {"   5", " - 5", Rule, "=  0", "   3", Rule, "=  3"}},
    {"zero total, then an operator", "5 - 5 = 3 +", "3", true, "", true, "+",
     {"   5", " - 5", Rule, "=  0", "   3"}},
};

TEST_F(EngineTest, WorkedExamples)
{
    for (const Example& e : Examples) {
        SCOPED_TRACE(e.name);
        RecordingServices services;
        Calculator calc(services);
        calc.hideNewNumberBar();
        std::istringstream in(e.keys);
        for (std::string name; in >> name;)
            press(calc, *parseKey(name));
        const DisplayState& d = calc.display();
        EXPECT_EQ(d.lblDisplay, e.display);
        EXPECT_EQ(d.lblNewNumVisible, e.newNumShown);
        EXPECT_EQ(d.lblSpacer1Visible, e.newNumShown);
        EXPECT_EQ(d.lblNewNum, e.newNum);
        EXPECT_EQ(d.lblOpVisible, e.opShown);
        EXPECT_EQ(d.lblOp, e.op);
        EXPECT_EQ(d.lstEntered, e.tape);
        EXPECT_TRUE(services.messages.empty());
    }
}

// ---- Number entry ----------------------------------------------------------------------------

TEST_F(EngineTest, EntryShowsTheValueNotTheKeystrokes)
{
    const struct {
        const char* key;
        const char* shown;
    } steps[] = {{"1", "1"}, {".", "1"}, {".", "1"}, {"0", "1"}, {"5", "1"}};
    for (const auto& step : steps) {
        keys(step.key);
        EXPECT_EQ(d().lblDisplay, step.shown) << "after " << step.key;
    }
    EXPECT_EQ(s().strEntry, "1..05");
    EXPECT_EQ(s().dblNewNum, 1.0);

    calc.lblClearAll_Click();
    keys("0 0 7");
    EXPECT_EQ(d().lblDisplay, "7");
    EXPECT_EQ(s().strEntry, "007");
    keys("CA . 5");
    EXPECT_EQ(d().lblDisplay, "0.5");
    keys("CA 1 . 0 5");
    EXPECT_EQ(d().lblDisplay, "1.05");
}

TEST_F(EngineTest, LonePointShowsZero)
{
    keys(".");
    EXPECT_EQ(d().lblDisplay, "0");
    EXPECT_EQ(s().dblNewNum, 0.0);
    EXPECT_EQ(s().strEntry, ".");
}

TEST_F(EngineTest, LongEntriesShowFifteenDigits)
{
    for (int i = 0; i < 20; ++i)
        keys("9");
    EXPECT_EQ(s().strEntry, std::string(20, '9'));
    EXPECT_EQ(d().lblDisplay, "1E+20");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(EngineTest, EntryGoesToTheNewNumberLabelOnceATotalExists)
{
    keys("1 2 + 3");
    EXPECT_EQ(d().lblDisplay, "12");
    EXPECT_EQ(d().lblNewNum, "3");

    keys("CA 3 - 1 0 = + 4"); // a negative total counts as a total
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(d().lblDisplay, "-7");
    EXPECT_EQ(d().lblNewNum, "4");
}

TEST_F(EngineTest, DigitAfterAResultNeedsAnOperator)
{
    keys("1 2 + 3 =");
    const CalculatorState state = s();
    const DisplayState display = d();
    for (const char* key : {"4", "."}) {
        services.reset();
        keys(key);
        EXPECT_EQ(services.messages, Lines{std::string(text::OperatorFirst)}) << key;
        EXPECT_EQ(services.beeps, 0);
        EXPECT_EQ(s(), state);
        EXPECT_EQ(d(), display);
    }
    keys("+ 4");
    EXPECT_EQ(d().lblNewNum, "4");
}

TEST_F(EngineTest, EntryWhileTheTotalIsZeroReplacesTheBigDisplay)
{
    keys("0 + 5");
    EXPECT_EQ(d().lblDisplay, "5");
    EXPECT_EQ(d().lblNewNum, "");
    EXPECT_TRUE(services.messages.empty());
}

// ---- Operators ----------------------------------------------------------------------------

TEST_F(EngineTest, EveryOperatorPressBeeps)
{
    const char* sequences[] = {"+", "1 +", "1 + X", "1 + 2 =", "1 + 2 = ="};
    for (const char* sequence : sequences) {
        RecordingServices services;
        Calculator calc(services);
        std::istringstream in(sequence);
        int operators = 0;
        for (std::string name; in >> name;) {
            const Key key = *parseKey(name);
            operators += key.kind == Key::Kind::Operator;
            press(calc, key);
        }
        EXPECT_EQ(services.beeps, operators) << sequence;
    }
}

TEST_F(EngineTest, OperatorWithNothingToWorkOnIsRefused)
{
    for (const char* before : {"", "5 - 5 =", "5 - 5 +", "CA", "1 2 CE"}) {
        SCOPED_TRACE(before);
        RecordingServices services;
        Calculator calc(services);
        calc.hideNewNumberBar();
        std::istringstream in(before);
        for (std::string name; in >> name;)
            press(calc, *parseKey(name));
        const CalculatorState state = calc.state();
        const DisplayState display = calc.display();
        services.reset();
        for (int index : OperatorIndices) {
            calc.cmdOp_Click(index);
            EXPECT_EQ(calc.state(), state);
            EXPECT_EQ(calc.display(), display);
        }
        EXPECT_EQ(services.beeps, 5);
        EXPECT_EQ(services.messages, Lines(5, std::string(text::NumberFirst)));
    }
}

TEST_F(EngineTest, ReplacePressKeepsTheEntry)
{
    keys("CA 0 +"); // after clear ALL both operator texts are empty: a replace press
    EXPECT_EQ(s().strPendingOp, "+");
    EXPECT_EQ(d().lblOp, "+");
    EXPECT_FALSE(d().lblOpVisible);
    EXPECT_EQ(s().strEntry, "0");
    EXPECT_EQ(d().lstEntered, Lines{""});
    keys("5");
    EXPECT_EQ(d().lblDisplay, "5");
    keys("=");
    EXPECT_EQ(d().lblDisplay, "5");
    EXPECT_EQ(d().lstEntered, (Lines{"", "+ 5", Rule, "=  5"}));
}

TEST_F(EngineTest, OverflowIsRefusedAndChangesNothing)
{
    // 1E+200 X 1E+200 is beyond the largest double.
    keys("1");
    for (int i = 0; i < 200; ++i)
        keys("0");
    keys("X");
    for (int i = 0; i < 200; ++i)
        keys(i == 0 ? "1" : "0");
    keys("0");
    const CalculatorState state = s();
    const DisplayState display = d();
    for (const char* key : {"=", "+", "X"}) {
        services.reset();
        keys(key);
        EXPECT_EQ(services.beeps, 1) << key;
        EXPECT_EQ(services.messages, Lines{std::string(text::Overflow)}) << key;
        EXPECT_EQ(s(), state) << key;
        EXPECT_EQ(d(), display) << key;
    }
    // The calculator goes on: clear the entry and carry on from the total.
    keys("CE + 2 =");
    EXPECT_EQ(d().lblDisplay, "1E+200");
}

TEST_F(EngineTest, EntryBeyondTheDoubleRangeIsRefused)
{
    for (int i = 0; i < 308; ++i) // 9.99E+307 still fits in a double
        keys("9");
    EXPECT_TRUE(services.messages.empty());
    const CalculatorState state = s();
    const DisplayState display = d();
    for (const char* key : {"9", "0"}) {
        keys(key);
        EXPECT_EQ(s(), state);
        EXPECT_EQ(d(), display);
    }
    EXPECT_EQ(services.messages, Lines(2, std::string(text::Overflow)));
    keys("."); // a point does not change the value: accepted
    EXPECT_EQ(s().strEntry, std::string(308, '9') + ".");
    EXPECT_EQ(services.beeps, 0);
}

TEST_F(EngineTest, UnderflowIsAValidResult)
{
    keys(". 0 0 0 0 0 0 0 0 0 1 X . 0 0 0 0 0 0 0 0 0 1");
    for (int i = 0; i < 33; ++i)
        keys("X . 0 0 0 0 0 0 0 0 0 1");
    keys("=");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(s().dblTotal, 0.0);
    EXPECT_EQ(d().lblDisplay, "0");
    EXPECT_EQ(d().lstEntered.back(), "=  0");
}

TEST_F(EngineTest, IndicesWithoutAnElementDoNothing)
{
    const CalculatorState state = s();
    const DisplayState display = d();
    for (int index : {-1, 10, 12, 1000})
        calc.cmdDigit_Click(index);
    for (int index : {-1, 4, 6})
        calc.cmdOp_Click(index);
    EXPECT_EQ(s(), state);
    EXPECT_EQ(d(), display);
    EXPECT_EQ(services.beeps, 0);
}

// ---- Clearing ----------------------------------------------------------------------------

TEST_F(EngineTest, ClearAllAppendsTheRuleAsItStands)
{
    keys("CA");
    EXPECT_EQ(d().lstEntered, Lines{""});
    EXPECT_EQ(d().lblDisplay, "");
    EXPECT_FALSE(d().lblNewNumVisible || d().lblOpVisible || d().lblSpacer1Visible);
    keys("CA");
    EXPECT_EQ(d().lstEntered, (Lines{"", ""}));
    keys("4");
    EXPECT_EQ(d().lblDisplay, "4");

    keys("CA");
    calc.clearTape();
    keys("1 2 + 3 CA"); // no "=" yet in this run: the 3 never reaches the tape
    EXPECT_EQ(d().lstEntered, (Lines{"   12", ""}));

    keys("1 2 + 3 = CA CA");
    EXPECT_EQ(d().lstEntered, (Lines{"   12", "", "   12", "+ 3", Rule, "=  15", Rule, Rule}));
    EXPECT_EQ(s().dblTotal, 0.0);
    EXPECT_EQ(s().strPendingOp, "");
    EXPECT_EQ(s().strTapeLine, "+ 3");
    EXPECT_EQ(d().lblOp, "");
}

TEST_F(EngineTest, ClearLastEntryAtStart)
{
    keys("CE");
    EXPECT_EQ(d().lblDisplay, "0");
    EXPECT_EQ(d().lblNewNum, std::string(text::ErrorCleared));
    EXPECT_FALSE(d().lblNewNumVisible);
    EXPECT_EQ(d().lblOp, "");
}

TEST_F(EngineTest, ClearLastEntryDuringACalculation)
{
    for (const char* label : {"CE", "CE2"}) {
        SCOPED_TRACE(label);
        RecordingServices services;
        Calculator calc(services);
        calc.hideNewNumberBar();
        auto run = [&](const char* names) {
            std::istringstream in(names);
            for (std::string name; in >> name;)
                press(calc, *parseKey(name));
        };
        run("1 2 + 3");
        run(label);
        EXPECT_EQ(calc.display().lblNewNum, "Error Cleared");
        EXPECT_TRUE(calc.display().lblOpVisible);
        EXPECT_EQ(calc.display().lblOp, "");
        EXPECT_EQ(calc.display().lblDisplay, "12");
        run("7");
        EXPECT_EQ(services.messages, Lines{std::string(text::OperatorFirst)});
        run("+");
        EXPECT_EQ(calc.display().lstEntered, Lines{"   12"});
        EXPECT_EQ(calc.display().lblNewNum, "Error Cleared");
        run("4");
        EXPECT_EQ(calc.display().lblNewNum, "4");
        run("=");
        EXPECT_EQ(calc.display().lblDisplay, "16");
        EXPECT_EQ(calc.display().lstEntered, (Lines{"   12", "+ 4", Rule, "=  16"}));
    }
}

TEST_F(EngineTest, ClearLastEntryWithoutATotal)
{
    keys("1 2 CE");
    EXPECT_EQ(d().lblDisplay, "12");
    keys("+");
    EXPECT_EQ(services.messages, Lines{std::string(text::NumberFirst)});
    keys("3");
    EXPECT_EQ(d().lblDisplay, "3");
}

TEST_F(EngineTest, ClearLastEntryKeepsTheTotal)
{
    keys("1 2 + 3 = CE");
    EXPECT_EQ(s().dblTotal, 15.0);
    keys("+");
    EXPECT_FALSE(d().lblOpVisible); // the green bar stays hidden after "="
    keys("5 =");
    EXPECT_EQ(d().lblDisplay, "20");
    EXPECT_EQ(d().lstEntered.back(), "=  20");
}

TEST_F(EngineTest, EmptyingTheTapeMidCalculation)
{
    keys("1 2 + 3");
    calc.clearTape();
    EXPECT_TRUE(d().lstEntered.empty());
    keys("=");
    EXPECT_EQ(d().lblDisplay, "15");
    EXPECT_EQ(d().lstEntered, (Lines{"+ 3", Rule, "=  15"}));
}

} // namespace
} // namespace tavoro
