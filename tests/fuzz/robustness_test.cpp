// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input for the engine: entries and results at the edges of the double range, runs of
// decimal points, the tape emptied mid-calculation, and every input the fuzzer was seeded with or
// ever found, replayed through its invariant checks.
//
// Key strings use the fuzzer's notation (presschecker.h): the captions "0".."9", ".", "+", "-",
// "X", "/", "=", and 'A' clear ALL, 'c' the "clear" label, 'e' the "ERROR" label, 'T' empty the tape.
// The presses go to a window model through its binding table.

#include "presschecker.h"

#include "bindings.h"
#include "calculator.h"
#include "calculatorwindowmodel.h"
#include "numbertext.h"
#include "recordingservices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace tavoro {
namespace {

// 2^1024 - 2^970: halfway between the largest double and the next power of two. A decimal entry
// of this value or more rounds to infinity; anything below it rounds to the largest double.
constexpr std::string_view OverflowTie =
    "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797758"
    "72070963302864166928879109465555478519404026306574886715058206819089020007083836762738548458177"
    "11531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508"
    "093042880177904174497792";

// The keys that type 10^exponent: "1" and zeros, or a point, zeros and "1".
std::string powerOfTen(int exponent)
{
    if (exponent >= 0)
        return "1" + std::string(exponent, '0');
    return "." + std::string(-exponent - 1, '0') + "1";
}

std::string largestDouble() { return std::string(OverflowTie.substr(0, OverflowTie.size() - 1)) + "1"; }

void typeOn(CalculatorWindowModel& model, std::string_view keys)
{
    for (const char key : keys) {
        const fuzz::Step step = fuzz::stepForByte(static_cast<unsigned char>(key));
        for (int n = 0; n < step.times; ++n)
            fuzz::pressOn(model, step.press);
    }
}

class Robustness : public ::testing::Test {
protected:
    void SetUp() override { model.Form_Load(); }

    void type(std::string_view keys) { typeOn(model, keys); }

    // Presses `key` and expects it to be refused with `message`: the beep an operator always
    // gives, and no other change at all.
    void expectRefused(char key, std::string_view message)
    {
        const CalculatorState state = calculator.state();
        const DisplayState display = calculator.display();
        services.reset();
        type(std::string(1, key));
        EXPECT_EQ(services.messages, std::vector<std::string>{std::string(message)});
        const bool isOperator = isOperatorKey(fuzz::stepForByte(static_cast<unsigned char>(key)).press.control);
        EXPECT_EQ(services.beeps, isOperator ? 1 : 0);
        EXPECT_EQ(calculator.state(), state);
        EXPECT_EQ(calculator.display(), display);
    }

    RecordingServices services;
    CalculatorWindowModel model{services};
    const Calculator& calculator = model.engine();
};

TEST_F(Robustness, FourHundredDigitEntryStopsAtTheDoubleRange)
{
    type(std::string(308, '9'));
    EXPECT_TRUE(services.messages.empty());
    const std::string entry = calculator.state().strEntry;
    const DisplayState display = calculator.display();
    EXPECT_EQ(display.lblDisplay, "1E+308");

    for (int i = 309; i <= 400; ++i)
        type("9");
    EXPECT_EQ(services.messages, std::vector<std::string>(92, std::string(text::Overflow)));
    EXPECT_EQ(calculator.state().strEntry, entry);
    EXPECT_EQ(calculator.state().dblNewNum, valueOfText(entry));
    EXPECT_EQ(calculator.display(), display);

    // A fraction cannot make the value larger, so the point and digits after it are accepted,
    // and the number can still be used.
    services.reset();
    type(".5+1=");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(calculator.display().lblDisplay, "1E+308");
    EXPECT_EQ(calculator.display().lstEntered.back(), "=  1E+308");
}

TEST_F(Robustness, EntryAtTheRoundingEdgeOfTheLargestDouble)
{
    type(largestDouble());
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(calculator.state().dblNewNum, std::numeric_limits<double>::max());
    EXPECT_EQ(calculator.display().lblDisplay, "1.79769313486232E+308");
    expectRefused('0', text::Overflow);

    // The exact halfway value rounds (to even) up to infinity: its last digit is refused.
    model.lblClearAll_Click();
    type(OverflowTie.substr(0, OverflowTie.size() - 1));
    expectRefused(OverflowTie.back(), text::Overflow);
    type("1");
    EXPECT_EQ(calculator.state().dblNewNum, std::numeric_limits<double>::max());
}

struct OverflowCase {
    const char* name;
    std::string keys; // the last key is the operator whose result overflows
};

TEST_F(Robustness, ResultsBeyondTheDoubleRangeAreRefusedAndChangeNothing)
{
    const OverflowCase cases[] = {
        {"product beyond 1.8e308", powerOfTen(200) + "X" + powerOfTen(200) + "="},
        {"product refused by a chained operator", powerOfTen(200) + "X" + powerOfTen(200) + "X"},
        {"sum of two largest doubles", largestDouble() + "+" + largestDouble() + "="},
        {"difference below -1.8e308", "0-" + largestDouble() + "-" + largestDouble() + "="},
        {"quotient by a tiny divisor", powerOfTen(300) + "/" + powerOfTen(-10) + "="},
        {"product after a result", powerOfTen(300) + "X" + powerOfTen(5) + "=X" + powerOfTen(5) + "="},
    };
    for (const OverflowCase& row : cases) {
        SCOPED_TRACE(row.name);
        SetUp();
        model.lblClearAll_Click();
        model.txtClearEntries_Click();
        type(std::string_view(row.keys).substr(0, row.keys.size() - 1));
        expectRefused(row.keys.back(), text::Overflow);
        // The calculator goes on: the refused press can be answered with clear ALL.
        type("A2+2=");
        EXPECT_EQ(calculator.display().lblDisplay, "4");
        EXPECT_EQ(fuzz::checkPresses(row.keys), std::nullopt);
    }
}

struct UnderflowCase {
    const char* name;
    std::string keys;
    const char* display;
    const char* resultLine;
};

TEST_F(Robustness, QuotientsBelowTheNormalRangeAreValidResults)
{
    const UnderflowCase cases[] = {
        // A subnormal keeps fewer digits than a normal double, which shows in the 15 displayed.
        {"subnormal quotient", powerOfTen(-300) + "/" + powerOfTen(10) + "=", "9.99999999999997E-311",
         "=  9.99999999999997E-311"},
        {"smallest subnormal", powerOfTen(-300) + "/2" + std::string(23, '0') + "=", "4.94065645841247E-324",
         "=  4.94065645841247E-324"},
        {"quotient that underflows to 0", "1/" + powerOfTen(300) + "=/" + powerOfTen(300) + "=", "0", "=  0"},
        {"product that underflows to 0", powerOfTen(-200) + "X" + powerOfTen(-200) + "=", "0", "=  0"},
    };
    for (const UnderflowCase& row : cases) {
        SCOPED_TRACE(row.name);
        CalculatorWindowModel fresh(services);
        fresh.Form_Load();
        services.reset();
        typeOn(fresh, row.keys);
        EXPECT_TRUE(services.messages.empty());
        EXPECT_EQ(fresh.view().display.lblDisplay, row.display);
        EXPECT_EQ(fresh.view().display.lstEntered.back(), row.resultLine);
        EXPECT_EQ(fuzz::checkPresses(row.keys), std::nullopt);
    }
}

TEST_F(Robustness, UnderflowToZeroLeavesNoTotal)
{
    type("1/" + powerOfTen(300) + "=/" + powerOfTen(300) + "=");
    ASSERT_EQ(calculator.state().dblTotal, 0.0);
    expectRefused('+', text::NumberFirst);
    type("3+4=");
    EXPECT_EQ(calculator.display().lblDisplay, "7");
}

TEST_F(Robustness, TwentyDecimalPoints)
{
    type("1" + std::string(20, '.') + "5");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(calculator.state().strEntry, "1" + std::string(20, '.') + "5");
    EXPECT_EQ(calculator.state().dblNewNum, 1.0);
    EXPECT_EQ(calculator.display().lblDisplay, "1");
    type("+2=");
    EXPECT_EQ(calculator.display().lblDisplay, "3");

    // On the new-number bar twenty points are worth 0, so "=" only takes the place of "+".
    type("X" + std::string(20, '.'));
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(calculator.display().lblNewNum, "0");
    type("=");
    EXPECT_EQ(calculator.display().lblOp, "=");
    EXPECT_EQ(calculator.state().dblTotal, 3.0);
    const std::string points(20, '.');
    EXPECT_EQ(fuzz::checkPresses("1" + points + "5+2=X" + points + "="), std::nullopt);
}

struct TapeCase {
    const char* name;
    const char* keys;
    std::vector<std::string> tape;
    const char* display;
};

TEST_F(Robustness, TapeEmptiedInTheMiddleOfACalculation)
{
    const std::string rule(text::TapeRule);
    const TapeCase cases[] = {
        {"before the second number", "12+T3=", {"+ 3", rule, "=  15"}, "15"},
        {"while the second number is typed", "12+3T=", {"+ 3", rule, "=  15"}, "15"},
        {"in a chain", "5XT4-6/2=", {"X 4", " - 6", " / 2", rule, "=  7"}, "7"},
        {"after the result, then clear ALL", "12+3=TA", {rule}, ""},
        {"twice, around a replace press", "9T9XTX", {}, "99"},
        {"before clear last entry", "12+3TcX4=", {"X 4", rule, "=  48"}, "48"},
    };
    for (const TapeCase& row : cases) {
        SCOPED_TRACE(row.name);
        CalculatorWindowModel fresh(services);
        fresh.Form_Load();
        services.reset();
        typeOn(fresh, row.keys);
        EXPECT_EQ(fresh.view().display.lstEntered, row.tape);
        EXPECT_EQ(fresh.view().display.lblDisplay, row.display);
        EXPECT_EQ(fuzz::checkPresses(row.keys), std::nullopt);
    }
}

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
    }
    return files;
}

// Every seed and every input the fuzzer ever reported passes the same checks as in the fuzzer.
TEST(FuzzInputs, ReplayWithoutBreakingAnInvariant)
{
    std::vector<std::filesystem::path> files = inputsIn(TAVORO_FUZZ_CORPUS);
    ASSERT_GE(files.size(), 10u) << "the seed corpus is missing";
    const auto findings = inputsIn(TAVORO_FUZZ_REGRESSIONS);
    files.insert(files.end(), findings.begin(), findings.end());
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(fuzz::checkPresses(bytes), std::nullopt);
    }
}

// The window's options between and among the keys, in the fuzzer's letters: 'S' "SHOW Entries",
// 's' Show Tape, 'h' Hide Tape, 'T' "CLEAR Entries", 'W' and 'I' the date and time on and off,
// 't' a tick.
TEST(FuzzInputs, OptionsAmongTheKeysPassTheWindowChecks)
{
    const char* const sequences[] = {
        "S", "SS", "sS", "ShTS", "shsh", "12+S3=sTh=", "WtItW", "tWt1+tI2=", "A12+ce3=SAS", "5+5+5=SsShS",
    };
    for (const char* keys : sequences)
        EXPECT_EQ(fuzz::checkPresses(keys), std::nullopt) << keys;
}

// Each byte presses one entry of the binding table: every one but Exit, which ends the program.
TEST(FuzzerInput, PressesEveryBoundControlButExit)
{
    std::vector<ControlId> pressed;
    for (int byte = 0; byte < 256; ++byte)
        pressed.push_back(fuzz::stepForByte(static_cast<unsigned char>(byte)).press.control);
    for (const Binding& binding : bindings())
        EXPECT_EQ(std::ranges::count(pressed, binding.control) > 0, binding.control != ControlId::mnuFilesExit)
            << nameOf(binding.control);
}

} // namespace
} // namespace tavoro
